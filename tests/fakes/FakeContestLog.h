#pragma once

#include "ContestLog.h"

// Keeps every version of the contest handed over, in order; problem() answers
// with `failure`.
struct FakeContestLog : ContestLog
{
    QList<Contest> kept;
    QString failure;

    void keep(const Contest &contest) override { kept << contest; }
    QString problem(int) override { return failure; }
};
