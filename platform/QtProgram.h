#pragma once

#include "Program.h"

class QtProgram : public Program
{
public:
    void End(int status) override;
};
