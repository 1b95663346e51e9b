#pragma once

#include <QtGlobal>

// Where the character's voice goes: 16-bit signed mono samples, pushed.
// The character keeps time on its own clock, so an output that takes
// nothing only makes the speech silent, never slower.
class AudioOutput
{
public:
    virtual ~AudioOutput() = default;

    // Gets ready to play at the rate; false when sound cannot play now.
    virtual bool open(int sampleRate) = 0;
    // Hands over as much as the output takes now; returns the bytes taken.
    virtual qint64 push(const char *data, qint64 size) = 0;
};
