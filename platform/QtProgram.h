#pragma once

#include "Program.h"

#include <optional>

class QtProgram : public Program
{
public:
    void End(int status) override;

    // The status of the first End, once there was one. An end asked for
    // before the event loop runs must be honoured by whoever starts the loop:
    // a nested loop may already have taken the queued exit.
    std::optional<int> endedWith() const { return m_status; }

private:
    std::optional<int> m_status;
};
