#pragma once

// Ending the whole program: every window disappears and the process exits
// with the given status as soon as control is back in the event loop.
class Program
{
public:
    virtual ~Program() = default;

    virtual void End(int status) = 0;
};
