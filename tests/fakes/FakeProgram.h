#pragma once

#include "Program.h"

#include <QList>

struct FakeProgram : Program
{
    QList<int> endings;
    void End(int status) override { endings << status; }
};
