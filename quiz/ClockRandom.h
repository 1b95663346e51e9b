#pragma once

#include "Random.h"

#include <QRandomGenerator>
#include <functional>

// Reseeds from a high-resolution clock, so two questions within the same
// second still get independent draws.
class ClockRandom : public Random
{
public:
    using SeedClock = std::function<quint64()>;

    explicit ClockRandom(SeedClock seedClock = highResolutionNow);

    void reseed() override;
    double next() override;

    static quint64 highResolutionNow();

private:
    SeedClock m_seedClock;
    QRandomGenerator m_generator;
};
