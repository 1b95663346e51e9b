#pragma once

#include "Clock.h"

#include <QList>

// Time that moves only when told to. Advancing rings every alarm that falls
// due on the way, each at its own moment, so what the character does while
// time passes is the same as on a real clock, only without waiting.
class ManualClock : public Clock
{
public:
    ~ManualClock() override;

    qint64 now() const override { return m_now; }
    std::unique_ptr<Alarm> alarm(std::function<void()> ring) override;

    void advance(qint64 ms);
    // How many alarms have rung since construction.
    int rings() const { return m_rings; }

private:
    class Pending;
    friend class Pending;

    qint64 m_now = 0;
    int m_rings = 0;
    QList<Pending *> m_alarms;
};
