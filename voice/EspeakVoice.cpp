#include "EspeakVoice.h"

#include "SpeechWorker.h"

EspeakVoice::EspeakVoice(QObject *parent)
    : Voice(parent)
{
    connect(&SpeechWorker::instance(), &SpeechWorker::synthesized, this,
            [this](quint64 ticket, const Clip &clip) {
                // The worker serves every voice in the process; keep only ours.
                if (m_waiting.remove(ticket))
                    emit ready(ticket, clip);
            });
}

quint64 EspeakVoice::synthesize(const QString &text)
{
    const quint64 ticket = SpeechWorker::instance().request(text);
    m_waiting.insert(ticket);
    return ticket;
}
