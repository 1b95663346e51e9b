#pragma once

#include "Program.h"

#include <QList>

class FakeProgram : public Program
{
public:
    QList<int> endings;

    void End(int status) override { endings << status; }
};
