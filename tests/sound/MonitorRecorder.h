#pragma once

#include <QByteArray>
#include <QList>
#include <atomic>
#include <mutex>
#include <thread>

struct pa_stream;

// Records what a sink of a sound server really played, from its monitor, on
// a thread of its own, with the time each sample sounded on the steady
// clock. It keeps trying while the server or the sink is away.
class MonitorRecorder
{
public:
    // Where sound was louder than `level` (0 to 1) between the two times,
    // in steady-clock ms; empty when it was quiet.
    struct Span
    {
        double fromMs = 0;
        double toMs = 0;
        bool empty() const { return toMs <= fromMs; }
    };

    MonitorRecorder(const QByteArray &server, const QByteArray &sink);
    ~MonitorRecorder();

    Span sounded(double fromMs, double toMs, double level) const;

private:
    void run();
    static void onReadable(pa_stream *stream, std::size_t bytes, void *self);

    QByteArray m_server;
    QByteArray m_source;
    std::atomic<bool> m_quit{false};
    mutable std::mutex m_mutex;
    QList<std::pair<double, qint16>> m_samples; // when each sounded, and what
    std::thread m_thread;
};

qint64 steadyUs();
