#include "SteadyClock.h"

#include <QTimer>

namespace {

class TimerAlarm : public Alarm
{
public:
    TimerAlarm(const SteadyClock &clock, std::function<void()> ring)
        : m_clock(clock)
    {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, std::move(ring));
    }

    void ringAt(qint64 ms) override
    {
        m_timer.start(int(qBound<qint64>(0, ms - m_clock.now(), 24LL * 3600 * 1000)));
    }
    void cancel() override { m_timer.stop(); }

private:
    const SteadyClock &m_clock;
    QTimer m_timer;
};

} // namespace

SteadyClock::SteadyClock()
{
    m_elapsed.start();
}

qint64 SteadyClock::now() const
{
    return m_elapsed.elapsed();
}

std::unique_ptr<Alarm> SteadyClock::alarm(std::function<void()> ring)
{
    return std::make_unique<TimerAlarm>(*this, std::move(ring));
}
