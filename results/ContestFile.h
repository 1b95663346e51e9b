#pragma once

#include "Contest.h"

#include <QByteArray>
#include <QString>

#include <optional>

// One contest as one file. The writer replaces the file whole (a temporary
// file renamed into place), so a reader only ever sees a complete contest.
namespace ContestFile {

inline constexpr qint64 maxBytes = 1 << 20;

QByteArray encode(const Contest &contest);

struct Read
{
    std::optional<Contest> contest;
    // Why the file was skipped, in Italian, when it holds no contest.
    QString problem;
};

// Never follows a link; a folder, a file over maxBytes, a damaged, cut short
// or foreign file is skipped with its reason.
Read read(const QString &path);

// Writes folder/<contest.id>.json in place of any earlier version. Throws
// Failure with an Italian message naming the folder and the system's reason.
void write(const QString &folder, const Contest &contest);

} // namespace ContestFile
