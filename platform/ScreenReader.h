#pragma once

#include <QString>

// The pupil's screen reader. While one runs it is the only voice: texts given
// to it are read in the voice and at the rate the pupil chose there.
class ScreenReader
{
public:
    virtual ~ScreenReader() = default;

    virtual bool running() const = 0;
    // Said in the order given; dropped when no reader runs.
    virtual void say(const QString &text) = 0;
};
