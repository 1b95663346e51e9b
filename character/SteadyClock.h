#pragma once

#include "Clock.h"

#include <QElapsedTimer>

// Monotonic time from the moment of construction; alarms are precise timers
// on the thread that creates them.
class SteadyClock : public Clock
{
public:
    SteadyClock();

    qint64 now() const override;
    std::unique_ptr<Alarm> alarm(std::function<void()> ring) override;

private:
    QElapsedTimer m_elapsed;
};
