#pragma once

// The draws of a question. Reseeding comes first, at every question, so a
// fake can script exactly which tint and factor come out.
class Random
{
public:
    virtual ~Random() = default;

    virtual void reseed() = 0;
    // The next number in [0, 1).
    virtual double next() = 0;
};
