#include "SpeechWorker.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

SpeechWorker *s_instance = nullptr;
std::atomic<SynthesisMaker> s_maker{nullptr};

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

void SpeechWorker::useSynthesis(SynthesisMaker maker)
{
    s_maker = maker;
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
    if (m_started)
        return m_initError.isEmpty();
    m_started = true;
    const SynthesisMaker maker = s_maker;
    m_synthesis = maker ? maker() : nullptr;
    // Without a synthesis, whatever was to make it has said why.
    const QString problem = m_synthesis ? m_synthesis->start() : QString();
    if (!m_synthesis || !problem.isEmpty()) {
        m_synthesis.reset();
        m_initError = QStringLiteral("manca la voce italiana di espeak-ng");
        // Said once: the teacher needs to know why the wizard only writes.
        if (!problem.isEmpty())
            std::fputs(qPrintable(problem + QLatin1Char('\n')), stderr);
    }
    return m_initError.isEmpty();
}

void SpeechWorker::synthesize(quint64 ticket, const QString &text)
{
    Clip clip;
    if (!initialize())
        clip.error = m_initError;
    else
        clip = m_synthesis->say(text);
    emit synthesized(ticket, clip);
}
