#include "MonitorRecorder.h"

#include <pulse/pulseaudio.h>

#include <chrono>
#include <cmath>

namespace {
constexpr int rate = 16000;
}

double steadyMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

MonitorRecorder::MonitorRecorder(const QByteArray &server, const QByteArray &sink, double level)
    : m_source(sink + ".monitor")
    , m_level(int(level * 32768))
    , m_loop(pa_threaded_mainloop_new())
    , m_context(pa_context_new(pa_threaded_mainloop_get_api(m_loop), "monitor recorder"))
{
    pa_context_set_state_callback(m_context, &MonitorRecorder::onContextState, this);
    pa_context_connect(m_context, server.constData(), PA_CONTEXT_NOAUTOSPAWN, nullptr);
    pa_threaded_mainloop_start(m_loop);
}

MonitorRecorder::~MonitorRecorder()
{
    pa_threaded_mainloop_stop(m_loop);
    if (m_stream)
        pa_stream_unref(m_stream);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    pa_threaded_mainloop_free(m_loop);
}

MonitorRecorder::Span MonitorRecorder::sounded(double fromMs, double toMs) const
{
    std::lock_guard lock(m_mutex);
    Span span{toMs, fromMs};
    for (const double at : m_loud) {
        if (at >= fromMs && at < toMs) {
            span.fromMs = std::min(span.fromMs, at);
            span.toMs = std::max(span.toMs, at);
        }
    }
    return span;
}

void MonitorRecorder::onContextState(pa_context *context, void *self)
{
    auto *recorder = static_cast<MonitorRecorder *>(self);
    if (pa_context_get_state(context) != PA_CONTEXT_READY)
        return;
    const pa_sample_spec format{PA_SAMPLE_S16LE, rate, 1};
    const pa_buffer_attr attr{.maxlength = std::uint32_t(-1), .tlength = 0, .prebuf = 0, .minreq = 0, .fragsize = rate / 100 * 2};
    recorder->m_stream = pa_stream_new(context, "record", &format, nullptr);
    pa_stream_set_read_callback(recorder->m_stream, &MonitorRecorder::onReadable, recorder);
    // The servers move streams that may move when the default output changes.
    pa_stream_connect_record(recorder->m_stream, recorder->m_source.constData(), &attr,
                             pa_stream_flags_t(PA_STREAM_DONT_MOVE | PA_STREAM_ADJUST_LATENCY
                                               | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE));
}

void MonitorRecorder::onReadable(pa_stream *stream, std::size_t, void *self)
{
    auto *recorder = static_cast<MonitorRecorder *>(self);
    const void *data = nullptr;
    std::size_t bytes = 0;
    while (pa_stream_peek(stream, &data, &bytes) == 0 && bytes > 0) {
        // The chunk's last sample sounded `behind` ago.
        pa_usec_t behind = 0;
        int negative = 0;
        if (pa_stream_get_latency(stream, &behind, &negative) != 0 || negative)
            behind = 0;
        const auto *samples = static_cast<const std::int16_t *>(data);
        const std::size_t count = bytes / 2;
        const double end = steadyMs() - double(behind) / 1000;
        std::lock_guard lock(recorder->m_mutex);
        for (std::size_t i = 0; samples && i < count; ++i)
            if (std::abs(samples[i]) > recorder->m_level)
                recorder->m_loud.append(end - double(count - i) * 1000 / rate);
        pa_stream_drop(stream);
    }
}
