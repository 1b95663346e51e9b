#pragma once

#include "SoundOutput.h"

#include <cstdint>
#include <mutex>
#include <vector>

struct pa_context;
struct pa_mainloop;
struct pa_mainloop_api;
struct pa_stream;
struct pa_time_event;

// What the caller's thread and the sound thread share, under the mutex.
struct PulseMailbox
{
    std::mutex mutex;
    bool quit = false;
    bool connect = false; // the caller wants the server found
    std::uint64_t serial = 0; // of the caller's last play() or stop()
    bool playing = false; // whether that call was a play()
    std::vector<std::int16_t> samples; // of a play() the sound thread has not taken yet
    int sampleRate = 0;
    SoundOutput::Progress progress;
};

// The connection to the sound server and the stream of the clip in hand, on
// the sound thread. Every call into the sound library happens here, and none
// of them waits: a server that is missing, hung or gone only makes the clip
// silent. Each clip gets a stream of its own, so it goes to the output that
// is the default when it starts.
class PulseLine
{
public:
    explicit PulseLine(PulseMailbox &mailbox);
    ~PulseLine();
    PulseLine(const PulseLine &) = delete;
    PulseLine &operator=(const PulseLine &) = delete;

    // Until the mailbox says quit.
    void run();
    // Any thread: run() looks at the mailbox again.
    void wake();

private:
    bool takeMail();
    void tidy();
    void connect();
    void start();
    void openStream();
    void dropStream();
    void dropContext();
    void report(SoundOutput::State state, std::int64_t playedMs = 0);
    void restart(pa_time_event *event, std::int64_t inMs);
    std::int64_t durationMs() const;

    static void onContextState(pa_context *context, void *self);
    static void onWritable(pa_stream *stream, std::size_t bytes, void *self);
    static void onDrained(pa_stream *stream, int success, void *self);
    static void onTiming(pa_stream *stream, int success, void *self);
    static void onPoll(pa_mainloop_api *, pa_time_event *, const struct timeval *, void *self);
    static void onConnectLimit(pa_mainloop_api *, pa_time_event *, const struct timeval *, void *self);

    PulseMailbox &m_mailbox;
    pa_mainloop *m_loop;
    pa_mainloop_api *m_api;
    pa_time_event *m_poll;
    pa_time_event *m_connectLimit;
    pa_context *m_context = nullptr;
    std::int64_t m_connectingSince = 0;
    pa_stream *m_stream = nullptr;

    std::uint64_t m_serial = 0;
    bool m_hasClip = false; // a clip is to be played or is playing
    std::vector<std::int16_t> m_samples;
    int m_sampleRate = 0;
    std::size_t m_written = 0; // samples handed to the server
    bool m_drained = false;
    bool m_timingAsked = false;
};
