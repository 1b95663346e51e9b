#pragma once

#include "Alarm.h"

#include <QtGlobal>
#include <functional>
#include <memory>

// The character's sense of time, in milliseconds. Everything the character
// does is scheduled on it, so a test can step through a long speech at once.
class Clock
{
public:
    virtual ~Clock() = default;

    virtual qint64 now() const = 0;
    virtual std::unique_ptr<Alarm> alarm(std::function<void()> ring) = 0;
};
