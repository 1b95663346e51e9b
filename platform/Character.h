#pragma once

#include <QString>

#include <functional>

// A talking character on screen. Every request returns at once; the
// character carries them out one after the other, in the order issued,
// and never drops or interrupts one. Setting the height is the exception:
// it takes effect immediately.
class Character
{
public:
    virtual ~Character() = default;

    virtual void Show() = 0;
    // Screen position in device-independent pixels.
    virtual void MoveTo(int x, int y) = 0;
    // Throws Failure when the character has no animation of that name.
    virtual void Play(const QString &animation) = 0;
    virtual void setHeight(int height) = 0;
    virtual void Speak(const QString &text) = 0;
    // Calls done once every request issued before it has been carried out:
    // the last word heard as the sound server played it, or read in the
    // balloon without sound. Never from inside this call.
    virtual void whenDone(std::function<void()> done) = 0;
};
