#include "SpeechWorker.h"

#include <QCoreApplication>
#include <espeak-ng/speak_lib.h>

namespace {

struct Collector
{
    QByteArray samples;
    QList<SpokenWord> words;
    QList<int> utf16Of; // code point index -> UTF-16 index
};

int onSynth(short *wav, int count, espeak_EVENT *events)
{
    auto *c = static_cast<Collector *>(events->user_data);
    if (wav && count > 0)
        c->samples.append(reinterpret_cast<const char *>(wav), count * 2);
    for (espeak_EVENT *e = events; e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        // After a long message espeak may report an empty word at the end of the next one.
        if (e->type != espeakEVENT_WORD || e->length <= 0)
            continue;
        // espeak counts code points from 1; the balloon works in UTF-16.
        const int first = qBound(0, e->text_position - 1, int(c->utf16Of.size()) - 1);
        const int end = qBound(first, e->text_position - 1 + e->length, int(c->utf16Of.size()) - 1);
        c->words.append({c->utf16Of[first], c->utf16Of[end] - c->utf16Of[first], e->audio_position});
    }
    return 0;
}

SpeechWorker *s_instance = nullptr;

void stopWorker()
{
    // Runs while the application object is destroyed: the thread must not
    // outlive it, and a synthesis in progress is allowed to finish.
    s_instance->thread()->quit();
    s_instance->thread()->wait();
    delete s_instance;
    s_instance = nullptr;
}

} // namespace

SpeechWorker &SpeechWorker::instance()
{
    if (!s_instance) {
        qRegisterMetaType<Clip>();
        s_instance = new SpeechWorker;
        qAddPostRoutine(stopWorker);
    }
    return *s_instance;
}

SpeechWorker::SpeechWorker()
{
    m_thread.setObjectName(QStringLiteral("espeak-ng"));
    moveToThread(&m_thread);
    m_thread.start();
}

quint64 SpeechWorker::request(const QString &text)
{
    const quint64 ticket = m_nextTicket++;
    QMetaObject::invokeMethod(this, [this, ticket, text] { synthesize(ticket, text); },
                              Qt::QueuedConnection);
    return ticket;
}

bool SpeechWorker::initialize()
{
    if (m_sampleRate > 0 || !m_initError.isEmpty())
        return m_sampleRate > 0;
    m_sampleRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 100, nullptr,
                                     espeakINITIALIZE_DONT_EXIT);
    if (m_sampleRate <= 0) {
        m_initError = QStringLiteral("la sintesi vocale espeak-ng non si avvia");
        return false;
    }
    if (espeak_SetVoiceByName("it") != EE_OK) {
        m_sampleRate = 0;
        m_initError = QStringLiteral("manca la voce italiana di espeak-ng");
        return false;
    }
    espeak_SetSynthCallback(onSynth);
    return true;
}

void SpeechWorker::synthesize(quint64 ticket, const QString &text)
{
    Clip clip;
    if (!initialize()) {
        clip.error = m_initError;
        emit synthesized(ticket, clip);
        return;
    }
    Collector c;
    for (int i = 0; i < text.size(); ++i) {
        c.utf16Of.append(i);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            ++i;
    }
    c.utf16Of.append(text.size());
    const QByteArray utf8 = text.toUtf8();
    const espeak_ERROR e = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER,
                                        0, espeakCHARS_UTF8, nullptr, &c);
    if (e != EE_OK)
        clip.error = QStringLiteral("espeak-ng non ha potuto leggere il testo");
    clip.sampleRate = m_sampleRate;
    clip.samples = std::move(c.samples);
    clip.words = std::move(c.words);
    emit synthesized(ticket, clip);
}
