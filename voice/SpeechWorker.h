#pragma once

#include "Clip.h"

#include <QObject>
#include <QThread>
#include <atomic>

// The one thread that talks to espeak-ng. The library keeps global state, so
// every character set in the process shares this worker; it lives until
// the application object goes away.
class SpeechWorker : public QObject
{
    Q_OBJECT

public:
    static SpeechWorker &instance();

    // Thread-safe: queues the text and returns its ticket at once.
    quint64 request(const QString &text);

signals:
    void synthesized(quint64 ticket, const Clip &clip);

private:
    SpeechWorker();
    void synthesize(quint64 ticket, const QString &text);
    bool initialize();
    // Returns what keeps the Italian voice from speaking, as one line for the teacher.
    QString loadItalian();

    QThread m_thread;
    std::atomic<quint64> m_nextTicket{1};
    int m_sampleRate = 0;
    QString m_initError;
};
