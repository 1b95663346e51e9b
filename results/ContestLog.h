#pragma once

#include "Contest.h"

#include <QString>

// Where the contest keeps itself as it goes. Keeping must never hold up the
// pupil, so it only hands the contest over; writing happens elsewhere.
class ContestLog
{
public:
    virtual ~ContestLog() = default;

    // Returns at once. A newer contest replaces one not yet written.
    virtual void keep(const Contest &contest) = 0;
    // Waits, for waitMs at most, until what was kept is written, then tells
    // in Italian why it could not be kept: empty when it was.
    virtual QString problem(int waitMs) = 0;
};
