#include "PulseLine.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <utility>

namespace {

// How often the played position is read while a clip sounds; the balloon
// marks its words from it.
constexpr std::int64_t pollMs = 10;
// Enough ahead to ride over a busy moment on an old PC, little enough that
// the first sound follows the request at once.
constexpr pa_usec_t aheadUs = 100'000;
// A server that has not answered by then is stuck; the connection is given
// up and the next clip looks again.
constexpr std::int64_t connectLimitMs = 5000;
// A clip that comes while the server has been silent this long is not kept
// waiting for it.
constexpr std::int64_t hungAfterMs = 1000;

std::int64_t nowMs()
{
    return std::int64_t(pa_rtclock_now() / 1000);
}

} // namespace

PulseLine::PulseLine(PulseMailbox &mailbox)
    : m_mailbox(mailbox)
    , m_loop(pa_mainloop_new())
    , m_api(pa_mainloop_get_api(m_loop))
{
    m_poll = m_api->time_new(m_api, nullptr, &PulseLine::onPoll, this);
    m_connectLimit = m_api->time_new(m_api, nullptr, &PulseLine::onConnectLimit, this);
}

PulseLine::~PulseLine()
{
    dropContext();
    m_api->time_free(m_poll);
    m_api->time_free(m_connectLimit);
    pa_mainloop_free(m_loop);
}

void PulseLine::wake()
{
    pa_mainloop_wakeup(m_loop);
}

void PulseLine::run()
{
    // A wake-up that comes before the poll makes the poll return at once.
    while (takeMail()) {
        if (pa_mainloop_iterate(m_loop, 1, nullptr) < 0)
            break;
        tidy();
    }
    dropContext();
}

bool PulseLine::takeMail()
{
    bool connectAsked = false;
    bool changed = false;
    {
        std::lock_guard lock(m_mailbox.mutex);
        if (m_mailbox.quit)
            return false;
        connectAsked = std::exchange(m_mailbox.connect, false);
        if (m_mailbox.serial != m_serial) {
            m_serial = m_mailbox.serial;
            m_hasClip = m_mailbox.playing;
            m_samples = std::move(m_mailbox.samples);
            m_mailbox.samples = {};
            m_sampleRate = m_mailbox.sampleRate;
            changed = true;
        }
    }
    if (connectAsked)
        connect();
    if (changed) {
        dropStream();
        if (m_hasClip)
            start();
    }
    return true;
}

void PulseLine::tidy()
{
    // Dropped here rather than in their own callbacks, which the library
    // may run from inside one of our calls.
    bool lost = false;
    if (m_stream && !PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream))) {
        dropStream();
        lost = true;
    }
    // The next clip looks for a server again.
    if (m_context && !PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context))) {
        dropContext();
        lost = true;
    }
    if (lost && m_hasClip)
        report(SoundOutput::State::Silent);
}

void PulseLine::connect()
{
    tidy();
    if (m_context)
        return;
    m_context = pa_context_new(m_api, "Decalumo");
    if (!m_context)
        return;
    pa_context_set_state_callback(m_context, &PulseLine::onContextState, this);
    // No autospawn: a session without a sound server stays without one.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        dropContext();
        return;
    }
    m_connectingSince = nowMs();
    restart(m_connectLimit, connectLimitMs);
}

void PulseLine::start()
{
    connect();
    tidy();
    if (m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY)
        openStream();
    else if (!m_context || nowMs() - m_connectingSince > hungAfterMs)
        report(SoundOutput::State::Silent);
    // Otherwise the clip starts when the connection is ready.
}

void PulseLine::openStream()
{
    const pa_sample_spec format{PA_SAMPLE_S16LE, std::uint32_t(m_sampleRate), 1};
    if (!pa_sample_spec_valid(&format) || m_samples.empty()) {
        report(SoundOutput::State::Silent);
        return;
    }
    m_stream = pa_stream_new(m_context, "Voce del mago", &format, nullptr);
    if (!m_stream) {
        report(SoundOutput::State::Silent);
        return;
    }
    m_written = 0;
    m_drained = false;
    m_timingAsked = false;
    pa_stream_set_write_callback(m_stream, &PulseLine::onWritable, this);
    pa_buffer_attr attr;
    attr.maxlength = std::uint32_t(-1);
    attr.tlength = std::uint32_t(pa_usec_to_bytes(aheadUs, &format));
    attr.prebuf = std::uint32_t(-1);
    attr.minreq = std::uint32_t(-1);
    attr.fragsize = std::uint32_t(-1);
    // No device named: the clip goes to the default output of this moment.
    const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING
                                         | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(m_stream, nullptr, &attr, flags, nullptr, nullptr) < 0) {
        dropStream();
        report(SoundOutput::State::Silent);
        return;
    }
    restart(m_poll, pollMs);
}

void PulseLine::dropStream()
{
    m_api->time_restart(m_poll, nullptr);
    if (!m_stream)
        return;
    pa_stream *stream = std::exchange(m_stream, nullptr);
    pa_stream_set_write_callback(stream, nullptr, nullptr);
    pa_stream_disconnect(stream);
    pa_stream_unref(stream);
}

void PulseLine::dropContext()
{
    dropStream();
    m_api->time_restart(m_connectLimit, nullptr);
    if (!m_context)
        return;
    pa_context *context = std::exchange(m_context, nullptr);
    pa_context_set_state_callback(context, nullptr, nullptr);
    pa_context_disconnect(context);
    pa_context_unref(context);
}

void PulseLine::report(SoundOutput::State state, std::int64_t playedMs)
{
    if (state == SoundOutput::State::Silent || state == SoundOutput::State::Played)
        m_hasClip = false;
    std::lock_guard lock(m_mailbox.mutex);
    // A report about a clip the caller has moved on from is of no use.
    if (m_mailbox.serial == m_serial)
        m_mailbox.progress = {state, playedMs};
}

void PulseLine::restart(pa_time_event *event, std::int64_t inMs)
{
    // On the monotonic clock, which a change of the wall clock leaves alone.
    if (m_context)
        pa_context_rttime_restart(m_context, event, pa_rtclock_now() + pa_usec_t(inMs) * 1000);
}

std::int64_t PulseLine::durationMs() const
{
    return m_sampleRate > 0 ? std::int64_t(m_samples.size()) * 1000 / m_sampleRate : 0;
}

void PulseLine::onContextState(pa_context *context, void *self)
{
    auto *line = static_cast<PulseLine *>(self);
    // A failed connection is left to tidy().
    if (pa_context_get_state(context) == PA_CONTEXT_READY) {
        line->m_api->time_restart(line->m_connectLimit, nullptr);
        if (line->m_hasClip && !line->m_stream)
            line->openStream();
    }
}

void PulseLine::onWritable(pa_stream *stream, std::size_t bytes, void *self)
{
    auto *line = static_cast<PulseLine *>(self);
    const std::size_t count = std::min(bytes / sizeof(std::int16_t), line->m_samples.size() - line->m_written);
    if (count > 0) {
        pa_stream_write(stream, line->m_samples.data() + line->m_written, count * sizeof(std::int16_t), nullptr,
                        0, PA_SEEK_RELATIVE);
        line->m_written += count;
    }
    if (line->m_written == line->m_samples.size()) {
        // Plays out what is left, prebuffered or not.
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        if (pa_operation *o = pa_stream_drain(stream, &PulseLine::onDrained, self))
            pa_operation_unref(o);
    }
}

void PulseLine::onDrained(pa_stream *stream, int success, void *self)
{
    auto *line = static_cast<PulseLine *>(self);
    if (success && stream == line->m_stream)
        line->m_drained = true;
}

void PulseLine::onPoll(pa_mainloop_api *, pa_time_event *, const struct timeval *, void *self)
{
    auto *line = static_cast<PulseLine *>(self);
    if (!line->m_stream)
        return;
    pa_usec_t played = 0;
    if (pa_stream_get_state(line->m_stream) == PA_STREAM_READY && pa_stream_get_time(line->m_stream, &played) == 0
        && played > 0) {
        const std::int64_t ms = std::min(std::int64_t(played / 1000), line->durationMs());
        // The drain's answer can come long after the last sample was heard.
        line->m_drained = line->m_drained || ms == line->durationMs();
        if (!line->m_drained)
            line->report(SoundOutput::State::Playing, ms);
    }
    if (line->m_drained) {
        line->report(SoundOutput::State::Played, line->durationMs());
        line->dropStream();
        return;
    }
    // The server's own timing updates come ten times a second; a fresher one
    // keeps the marked word in step when the machine is busy.
    if (!line->m_timingAsked) {
        if (pa_operation *o = pa_stream_update_timing_info(line->m_stream, &PulseLine::onTiming, self)) {
            line->m_timingAsked = true;
            pa_operation_unref(o);
        }
    }
    line->restart(line->m_poll, pollMs);
}

void PulseLine::onTiming(pa_stream *stream, int, void *self)
{
    auto *line = static_cast<PulseLine *>(self);
    if (stream == line->m_stream)
        line->m_timingAsked = false;
}

void PulseLine::onConnectLimit(pa_mainloop_api *, pa_time_event *, const struct timeval *, void *self)
{
    auto *line = static_cast<PulseLine *>(self);
    if (line->m_context && pa_context_get_state(line->m_context) != PA_CONTEXT_READY) {
        // Disconnecting is safe here: this is the main loop's own callback.
        line->dropContext();
        if (line->m_hasClip)
            line->report(SoundOutput::State::Silent);
    }
}
