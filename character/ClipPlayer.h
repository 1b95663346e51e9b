#pragma once

#include "Clip.h"

class SoundOutput;

// Plays one clip on the sound output and follows how far the listener has
// got into it: the position the sound server says it has played while the
// clip sounds, kept from lagging by the clock since its first sound; the
// clock alone when it will not be heard. The words and the mouth
// go by that position, so they show what is heard.
class ClipPlayer
{
public:
    explicit ClipPlayer(SoundOutput &output);

    // The way to the sound server can take a while to find, so it is looked
    // for as soon as a clip is ready rather than when its words are due.
    void prepare(const Clip &clip);
    void start(const Clip &clip);
    // Where the listener is at `elapsed` ms from the start; it never goes back.
    qint64 follow(qint64 elapsed);
    void finish();
    // A muted player plays nothing and goes by the clock, as with no server;
    // a clip sounding when it is muted stops there.
    void setMuted(bool muted) { m_muted = muted; }
    // 0 is closed, 1 wide open.
    double mouth() const { return m_mouth; }

private:
    void keepUp(qint64 playedMs, qint64 elapsed);
    void goByTheClock(qint64 elapsed);

    SoundOutput &m_output;
    Clip m_clip;
    bool m_muted = false;
    bool m_sounding = false;
    qint64 m_heard = 0;
    // While nothing sounds, the position is the clock's less this.
    qint64 m_clockBehind = 0;
    // While it sounds: when, by the clock, the clip's start was heard, and
    // when the server's position last moved on.
    qint64 m_firstSoundAt = -1;
    qint64 m_played = 0;
    qint64 m_playedSince = -1;
    double m_mouth = 0;
};
