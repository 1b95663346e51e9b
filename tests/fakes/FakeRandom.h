#pragma once

#include "Random.h"

#include <QList>

// Hands out the scripted numbers in order, then zeros.
class FakeRandom : public Random
{
public:
    QList<double> numbers;
    int reseeds = 0;

    void reseed() override { ++reseeds; }
    double next() override { return numbers.isEmpty() ? 0.0 : numbers.takeFirst(); }

    // The two draws of a question: the tint first, then the factor.
    void script(int tintFactor, int factor) { numbers << (tintFactor - 1) / 10.0 + 0.05 << (factor - 1) / 10.0 + 0.05; }
};
