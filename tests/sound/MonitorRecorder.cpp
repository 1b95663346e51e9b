#include "MonitorRecorder.h"

#include <pulse/simple.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

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
    const pa_sample_spec format{PA_SAMPLE_S16LE, rate, 1};
    pa_buffer_attr attr{};
    attr.maxlength = std::uint32_t(-1);
    attr.fragsize = std::uint32_t(frameSamples * sizeof(std::int16_t));
    while (!m_quit) {
        pa_simple *monitor = pa_simple_new(m_server.constData(), "monitor recorder", PA_STREAM_RECORD,
                                           m_source.constData(), "record", &format, nullptr, &attr, nullptr);
        qint16 frame[frameSamples];
        while (monitor && !m_quit && pa_simple_read(monitor, frame, sizeof frame, nullptr) == 0) {
            // The frame's last sample was recorded `behind` ago.
            const pa_usec_t behind = pa_simple_get_latency(monitor, nullptr);
            const double end = double(steadyUs() - qint64(behind == pa_usec_t(-1) ? 0 : behind)) / 1000.0;
            std::lock_guard lock(m_mutex);
            for (int i = 0; i < frameSamples; ++i)
                m_samples.append({end - double(frameSamples - i) * 1000 / rate, frame[i]});
        }
        if (monitor)
            pa_simple_free(monitor);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
}
