#pragma once

#include <QtGlobal>

// A single wake-up on a Clock. Setting it again moves it; it rings once.
class Alarm
{
public:
    virtual ~Alarm() = default;

    virtual void ringAt(qint64 ms) = 0;
    virtual void cancel() = 0;
};
