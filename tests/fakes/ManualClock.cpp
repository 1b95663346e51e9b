#include "ManualClock.h"

class ManualClock::Pending : public Alarm
{
public:
    Pending(ManualClock &owner, std::function<void()> onRing)
        : clock(owner), ring(std::move(onRing))
    {
        clock.m_alarms.append(this);
    }
    ~Pending() override { clock.m_alarms.removeOne(this); }

    void ringAt(qint64 ms) override { due = qMax(ms, clock.m_now); armed = true; }
    void cancel() override { armed = false; }

    ManualClock &clock;
    std::function<void()> ring;
    qint64 due = 0;
    bool armed = false;
};

ManualClock::~ManualClock()
{
    // Alarms that outlive the clock must not reach back into it.
    Q_ASSERT(m_alarms.isEmpty());
}

std::unique_ptr<Alarm> ManualClock::alarm(std::function<void()> ring)
{
    return std::make_unique<Pending>(*this, std::move(ring));
}

void ManualClock::advance(qint64 ms)
{
    const qint64 end = m_now + ms;
    for (;;) {
        Pending *next = nullptr;
        for (Pending *p : std::as_const(m_alarms)) {
            if (p->armed && p->due <= end && (!next || p->due < next->due))
                next = p;
        }
        if (!next)
            break;
        m_now = next->due;
        next->armed = false;
        ++m_rings;
        next->ring();
    }
    m_now = end;
}
