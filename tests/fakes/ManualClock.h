#pragma once

#include "Clock.h"

#include <QList>

// Time that moves only when told to. Advancing rings every alarm that falls
// due on the way, each at its own moment, so what the character does while
// time passes is the same as on a real clock, only without waiting.
class ManualClock : public Clock
{
public:
    qint64 now() const override { return m_now; }
    std::unique_ptr<Alarm> alarm(std::function<void()> ring) override
    {
        return std::make_unique<Pending>(*this, std::move(ring));
    }

    void advance(qint64 ms)
    {
        const qint64 end = m_now + ms;
        for (Pending *next = nullptr;; next = nullptr) {
            for (Pending *p : std::as_const(m_alarms))
                if (p->armed && p->due <= end && (!next || p->due < next->due))
                    next = p;
            if (!next)
                break;
            m_now = next->due;
            next->armed = false;
            next->ring();
        }
        m_now = end;
    }

private:
    struct Pending : Alarm
    {
        Pending(ManualClock &owner, std::function<void()> onRing) : clock(owner), ring(std::move(onRing))
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

    qint64 m_now = 0;
    QList<Pending *> m_alarms;
};
