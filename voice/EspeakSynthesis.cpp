#include "EspeakSynthesis.h"

#include <QFileInfo>
#include <espeak-ng/espeak_ng.h>

// espeak-ng 1.51 (Debian 12) asks its sound library for the default device
// even when it only synthesises into memory, and that library connects to
// the sound server to see if it answers: a hung server holds synthesis for
// half a minute. Answering that request here with "no device" keeps espeak-ng
// away from the sound system; this program plays the samples itself.
extern "C" {
struct audio_object;
struct audio_object *create_audio_device_object(const char *, const char *, const char *)
{
    return nullptr;
}
}

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

} // namespace

QString EspeakSynthesis::start()
{
    espeak_ng_InitializePath(nullptr);
    const char *path = nullptr;
    espeak_Info(&path);
    const QString folder = QString::fromLocal8Bit(path);
    // espeak-ng reports a missing file in English, or not at all, so look first.
    for (const char *file : {"phontab", "phonindex", "phondata", "intonations", "it_dict", "lang/roa/it"}) {
        const QString needed = folder + QLatin1Char('/') + QLatin1String(file);
        if (!QFileInfo(needed).isReadable())
            return QStringLiteral("Decalumo: il mago parlerà solo per scritto, perché manca la voce italiana di "
                                  "espeak-ng (%1). Installare il pacchetto Debian espeak-ng-data.")
                .arg(needed);
    }
    const QString broken = QStringLiteral("Decalumo: il mago parlerà solo per scritto, perché la voce italiana di "
                                          "espeak-ng in %1 è danneggiata. Reinstallare il pacchetto Debian "
                                          "espeak-ng-data.")
                               .arg(folder);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    // Synchronous, and without ENOUTPUT_MODE_SPEAK_AUDIO: the samples only come back here.
    if (status != ENS_OK || espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 100, nullptr) != ENS_OK)
        return broken;
    m_sampleRate = espeak_ng_GetSampleRate();
    if (m_sampleRate <= 0 || espeak_ng_SetVoiceByName("it") != ENS_OK) {
        m_sampleRate = 0;
        return broken;
    }
    espeak_SetSynthCallback(onSynth);
    return {};
}

Clip EspeakSynthesis::say(const QString &text)
{
    Collector c;
    for (int i = 0; i < text.size(); ++i) {
        c.utf16Of.append(i);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            ++i;
    }
    c.utf16Of.append(text.size());
    const QByteArray utf8 = text.toUtf8();
    Clip clip;
    const espeak_ERROR e = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER,
                                        0, espeakCHARS_UTF8, nullptr, &c);
    if (e != EE_OK)
        clip.error = QStringLiteral("espeak-ng non ha potuto leggere il testo");
    clip.sampleRate = m_sampleRate;
    clip.samples = std::move(c.samples);
    clip.words = std::move(c.words);
    return clip;
}
