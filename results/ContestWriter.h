#pragma once

#include "ContestLog.h"

#include <functional>
#include <memory>

// Writes the contests kept into one folder, on a thread of its own, so that a
// full disk or a slow network home never reaches the contest's window. Only
// the latest contest handed over is written: each holds every earlier answer.
class ContestWriter : public ContestLog
{
public:
    using Write = std::function<void(const QString &folder, const Contest &contest)>;

    explicit ContestWriter(const QString &folder);
    ContestWriter(const QString &folder, Write write);
    // Gives the last write a moment to finish; one stuck on a dead network
    // home is left to the end of the process.
    ~ContestWriter() override;

    void keep(const Contest &contest) override;
    QString problem(int waitMs) override;

    static constexpr int lastWriteMs = 3000;

private:
    struct State;
    std::shared_ptr<State> m_state;
};
