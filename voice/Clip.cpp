#include "Clip.h"

#include <cmath>

qint64 Clip::durationMs() const
{
    return sampleRate > 0 ? sampleCount() * 1000 / sampleRate : 0;
}

double Clip::loudness(qint64 fromMs, qint64 spanMs) const
{
    const auto *s = reinterpret_cast<const qint16 *>(samples.constData());
    const qint64 first = qBound<qint64>(0, fromMs * sampleRate / 1000, sampleCount());
    const qint64 last = qBound<qint64>(first, (fromMs + spanMs) * sampleRate / 1000, sampleCount());
    if (last == first)
        return 0;
    double sum = 0;
    for (qint64 i = first; i < last; ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(last - first)) / 32768.0;
}

int Clip::wordAt(qint64 ms) const
{
    int found = -1;
    for (int i = 0; i < words.size() && words[i].atMs <= ms; ++i)
        found = i;
    return found;
}
