#pragma once

#include "Clip.h"

#include <QString>
#include <memory>

// What turns text into speech. It is used from one thread only, and may
// keep the state of a library that knows no other thread.
class Synthesis
{
public:
    virtual ~Synthesis() = default;

    // Gets the voice ready; returns what keeps it from speaking, as one
    // line for the teacher, or nothing.
    virtual QString start() = 0;
    // Only after a start() that returned nothing.
    virtual Clip say(const QString &text) = 0;
};

using SynthesisMaker = std::unique_ptr<Synthesis> (*)();
