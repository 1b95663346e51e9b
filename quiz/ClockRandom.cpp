#include "ClockRandom.h"

#include <chrono>

ClockRandom::ClockRandom(SeedClock seedClock)
    : m_seedClock(std::move(seedClock))
{
}

void ClockRandom::reseed()
{
    const quint64 seed = m_seedClock();
    const quint32 parts[2] = {quint32(seed), quint32(seed >> 32)};
    m_generator = QRandomGenerator(parts);
}

double ClockRandom::next()
{
    return m_generator.generateDouble();
}

quint64 ClockRandom::highResolutionNow()
{
    return quint64(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}
