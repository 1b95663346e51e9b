#include "MonitorRecorder.h"

#include <pulse/pulseaudio.h>

#include <chrono>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
constexpr int rate = 16000;
constexpr int frameSamples = rate / 100;
}

qint64 steadyUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

MonitorRecorder::MonitorRecorder(const QByteArray &server, const QByteArray &sink)
    : m_server(server)
    , m_source(sink + ".monitor")
    , m_thread([this] { run(); })
{
}

MonitorRecorder::~MonitorRecorder()
{
    m_quit = true;
    m_thread.join();
}

MonitorRecorder::Span MonitorRecorder::sounded(double fromMs, double toMs, double level) const
{
    Span span{toMs, fromMs};
    std::lock_guard lock(m_mutex);
    for (const auto &[at, sample] : m_samples) {
        if (at >= fromMs && at < toMs && std::abs(sample) > level * 32768) {
            span.fromMs = std::min(span.fromMs, at);
            span.toMs = std::max(span.toMs, at);
        }
    }
    return span;
}

void MonitorRecorder::run()
{
    // Its own stream, which must not follow the default output about: the
    // sound servers move streams that may move when the default changes.
    const pa_sample_spec format{PA_SAMPLE_S16LE, rate, 1};
    pa_buffer_attr attr{};
    attr.maxlength = std::uint32_t(-1);
    attr.fragsize = std::uint32_t(frameSamples * sizeof(std::int16_t));
    while (!m_quit) {
        pa_mainloop *loop = pa_mainloop_new();
        pa_context *context = pa_context_new(pa_mainloop_get_api(loop), "monitor recorder");
        pa_stream *stream = nullptr;
        if (pa_context_connect(context, m_server.constData(), PA_CONTEXT_NOAUTOSPAWN, nullptr) == 0) {
            while (!m_quit && PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) {
                if (!stream && pa_context_get_state(context) == PA_CONTEXT_READY) {
                    stream = pa_stream_new(context, "record", &format, nullptr);
                    pa_stream_set_read_callback(stream, &MonitorRecorder::onReadable, this);
                    pa_stream_connect_record(stream, m_source.constData(), &attr,
                                             pa_stream_flags_t(PA_STREAM_DONT_MOVE | PA_STREAM_ADJUST_LATENCY
                                                               | PA_STREAM_INTERPOLATE_TIMING
                                                               | PA_STREAM_AUTO_TIMING_UPDATE));
                }
                if (stream && !PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
                    break;
                // A server that has not made the sink yet may put the stream
                // elsewhere for good; only the sink's own monitor counts.
                if (stream && pa_stream_get_state(stream) == PA_STREAM_READY
                    && m_source != pa_stream_get_device_name(stream))
                    break;
                // Data comes every few ms while the stream lives; the time-out
                // keeps an eye on m_quit until then.
                pa_mainloop_prepare(loop, 50'000);
                pa_mainloop_poll(loop);
                pa_mainloop_dispatch(loop);
            }
        }
        if (stream) {
            pa_stream_disconnect(stream);
            pa_stream_unref(stream);
        }
        pa_context_disconnect(context);
        pa_context_unref(context);
        pa_mainloop_free(loop);
        if (!m_quit)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
}

void MonitorRecorder::onReadable(pa_stream *stream, std::size_t, void *self)
{
    auto *recorder = static_cast<MonitorRecorder *>(self);
    const void *data = nullptr;
    std::size_t bytes = 0;
    while (pa_stream_peek(stream, &data, &bytes) == 0 && bytes > 0) {
        // The last sample of the chunk was recorded `behind` ago.
        pa_usec_t behind = 0;
        int negative = 0;
        if (pa_stream_get_latency(stream, &behind, &negative) != 0 || negative)
            behind = 0;
        const qsizetype count = qsizetype(bytes / sizeof(std::int16_t));
        const double end = double(steadyUs() - qint64(behind)) / 1000.0;
        const auto *samples = static_cast<const qint16 *>(data);
        std::lock_guard lock(recorder->m_mutex);
        for (qsizetype i = 0; i < count; ++i)
            recorder->m_samples.append({end - double(count - i) * 1000 / rate, samples ? samples[i] : qint16(0)});
        pa_stream_drop(stream);
    }
}
