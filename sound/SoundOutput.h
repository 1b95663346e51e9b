#pragma once

#include <cstdint>
#include <vector>

// Where the character's voice goes: one whole clip of 16-bit signed mono
// samples at a time. Every call returns at once; the output tells, when
// asked, how far the sound server says it has played the clip.
class SoundOutput
{
public:
    enum class State {
        Starting, // handed over, not sounding yet
        Playing,  // sounding; `playedMs` is what the server has played
        Played,   // played out to the end
        Silent,   // it will not be heard: no server, or the server went away
    };
    struct Progress
    {
        State state = State::Silent;
        std::int64_t playedMs = 0;
    };

    virtual ~SoundOutput() = default;

    // Gets the way to the sound server ready, before anything is due.
    virtual void prepare() = 0;
    // Plays the clip from its start, in place of whatever was playing.
    virtual void play(std::vector<std::int16_t> samples, int sampleRate) = 0;
    // Silences the clip of the last play().
    virtual void stop() = 0;
    // Of the clip of the last play().
    virtual Progress progress() const = 0;
};
