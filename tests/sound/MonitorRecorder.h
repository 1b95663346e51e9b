#pragma once

#include <QByteArray>
#include <QList>
#include <mutex>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

// Records when a sink of a running sound server really played sound louder
// than a level, from its monitor, in steady-clock ms, until the server goes.
class MonitorRecorder
{
public:
    struct Span
    {
        double fromMs = 0;
        double toMs = 0;
        bool empty() const { return toMs <= fromMs; }
    };

    MonitorRecorder(const QByteArray &server, const QByteArray &sink, double level);
    ~MonitorRecorder();

    // The first and last loud moment between the two times.
    Span sounded(double fromMs, double toMs) const;

private:
    static void onContextState(pa_context *context, void *self);
    static void onReadable(pa_stream *stream, std::size_t bytes, void *self);

    QByteArray m_source;
    int m_level;
    pa_threaded_mainloop *m_loop;
    pa_context *m_context;
    pa_stream *m_stream = nullptr;
    mutable std::mutex m_mutex;
    QList<double> m_loud;
};

double steadyMs();
