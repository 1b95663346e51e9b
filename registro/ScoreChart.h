#pragma once

#include "Contest.h"

class QChart;

// The score and the wrong answers of each contest, over time, as one chart
// that the pupil's page shows and the printed page draws.
namespace ScoreChart {
QChart *make(const QList<Contest> &contests);
}
