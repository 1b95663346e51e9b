#pragma once

#include "SoundOutput.h"

#include <future>
#include <memory>
#include <thread>

struct PulseShared;

// The default output of the sound server, PulseAudio or PipeWire's pulse
// server alike, fed from a thread of its own. Whatever the server does,
// no call here waits on it, and a server that comes late, goes away or
// comes back is looked for again at the next clip.
class PulseOutput : public SoundOutput
{
public:
    PulseOutput();
    ~PulseOutput() override;
    PulseOutput(const PulseOutput &) = delete;
    PulseOutput &operator=(const PulseOutput &) = delete;

    void prepare() override;
    void play(std::vector<std::int16_t> samples, int sampleRate) override;
    void stop() override;
    Progress progress() const override;

private:
    std::shared_ptr<PulseShared> m_shared;
    std::thread m_thread;
    std::future<void> m_ended;
};
