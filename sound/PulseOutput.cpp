#include "PulseOutput.h"

#include "PulseLine.h"

#include <chrono>

struct PulseShared
{
    PulseMailbox mailbox;
    PulseLine line{mailbox};
};

namespace {
// The sound thread never waits on the server, so it ends at once when asked.
// Should it ever not, the program does not wait with it.
constexpr auto endWait = std::chrono::milliseconds(100);
}

PulseOutput::PulseOutput()
    : m_shared(std::make_shared<PulseShared>())
{
    std::promise<void> ended;
    m_ended = ended.get_future();
    // The thread holds the shared part too, so a thread left behind at the
    // end still has what it works on.
    m_thread = std::thread([shared = m_shared, ended = std::move(ended)]() mutable {
        shared->line.run();
        ended.set_value();
    });
    // Finding the server is the slow part; it is done before the first words.
    prepare();
}

PulseOutput::~PulseOutput()
{
    {
        std::lock_guard lock(m_shared->mailbox.mutex);
        m_shared->mailbox.quit = true;
    }
    m_shared->line.wake();
    if (m_ended.wait_for(endWait) == std::future_status::ready)
        m_thread.join();
    else
        m_thread.detach();
}

void PulseOutput::prepare()
{
    {
        std::lock_guard lock(m_shared->mailbox.mutex);
        m_shared->mailbox.connect = true;
    }
    m_shared->line.wake();
}

void PulseOutput::play(std::vector<std::int16_t> samples, int sampleRate)
{
    {
        PulseMailbox &m = m_shared->mailbox;
        std::lock_guard lock(m.mutex);
        ++m.serial;
        m.playing = true;
        m.samples = std::move(samples);
        m.sampleRate = sampleRate;
        m.progress = {State::Starting, 0};
    }
    m_shared->line.wake();
}

void PulseOutput::stop()
{
    {
        PulseMailbox &m = m_shared->mailbox;
        std::lock_guard lock(m.mutex);
        ++m.serial;
        m.playing = false;
        m.samples = {};
        m.progress = {State::Silent, 0};
    }
    m_shared->line.wake();
}

SoundOutput::Progress PulseOutput::progress() const
{
    std::lock_guard lock(m_shared->mailbox.mutex);
    return m_shared->mailbox.progress;
}
