#pragma once

#include "Clip.h"

class AudioOutput;

// Plays one clip on the output a frame at a time, and says how far the
// mouth opens to the sound being played.
class ClipPlayer
{
public:
    explicit ClipPlayer(AudioOutput &audio);

    // Opening a sound device can take a while, so it is done as soon as a
    // clip is ready rather than when its words are due.
    void prepare(const Clip &clip);
    void start(const Clip &clip);
    // Hands the output what it has room for and follows the loudness at
    // `elapsed` from the start.
    void play(qint64 elapsed);
    // Hands over the tail the output had no room for while it played.
    void finish();
    // 0 is closed, 1 wide open.
    double mouth() const { return m_mouth; }

private:
    void push();

    AudioOutput &m_audio;
    Clip m_clip;
    qint64 m_pushed = 0;
    bool m_open = false;
    double m_mouth = 0;
};
