#pragma once

#include "Contest.h"

#include <QList>
#include <QString>

#include <optional>

// What the teacher reads off a pupil's contests.
namespace Measures {

// The contests of one pupil, the oldest first. Names that differ only in case
// or in blanks at either end are one pupil, shown under the latest spelling.
struct Pupil
{
    QString name;
    QList<Contest> contests;
};
QList<Pupil> pupils(const QList<Contest> &contests);
// What the names of one pupil have in common.
QString pupilKey(const QString &name);

struct Summary
{
    int played = 0;
    QDateTime last;
    int best = 0;
    int lastScore = 0;
    double shareRight = 0;            // of all answers, 0..1
    std::optional<qint64> medianMs;   // of all answer times
    // Mean score of the last five contests and of the five before them.
    std::optional<double> recentMean, earlierMean;
};
Summary summary(const Pupil &pupil);

// One fact, 10 × factor.
struct Fact
{
    int factor = 0;
    int tries = 0;
    int right = 0;
    std::optional<double> shareRight;
    std::optional<qint64> medianMs;
    // Right within 3 s in at least 2 of its last 3 tries.
    bool sure = false;
};
inline constexpr qint64 sureWithinMs = 3000;
// Ten facts, 10 × 1 first.
QList<Fact> facts(const QList<Contest> &contests);

} // namespace Measures
