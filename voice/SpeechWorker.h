#pragma once

#include "Clip.h"
#include "Synthesis.h"

#include <QObject>
#include <QThread>
#include <atomic>

// The one thread that speaks. The synthesis keeps global state, so every
// character set in the process shares this worker; it lives until the
// application object goes away.
class SpeechWorker : public QObject
{
    Q_OBJECT

public:
    static SpeechWorker &instance();
    // What the worker speaks with, made on its own thread before the first
    // words. Set before the first request; with none, the wizard only writes.
    static void useSynthesis(SynthesisMaker maker);

    // Thread-safe: queues the text and returns its ticket at once.
    quint64 request(const QString &text);

signals:
    void synthesized(quint64 ticket, const Clip &clip);

private:
    SpeechWorker();
    void synthesize(quint64 ticket, const QString &text);
    bool initialize();

    QThread m_thread;
    std::atomic<quint64> m_nextTicket{1};
    std::unique_ptr<Synthesis> m_synthesis;
    bool m_started = false;
    QString m_initError;
};
