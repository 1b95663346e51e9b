#pragma once

#include "Random.h"

#include <QList>

// Hands out the scripted numbers in order, then zeros.
struct FakeRandom : Random
{
    QList<double> numbers;
    void reseed() override {}
    double next() override { return numbers.isEmpty() ? 0.0 : numbers.takeFirst(); }
    // The two draws of a question: the tint first, then the factor.
    void script(int tintFactor, int factor) { numbers << (tintFactor - 1) / 10.0 + 0.05 << (factor - 1) / 10.0 + 0.05; }
};
