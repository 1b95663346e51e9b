#pragma once

#include "Contest.h"

#include <QByteArray>
#include <QString>

#include <functional>
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

// The steps of write(): 1 the temporary file written, 2 synced, 3 renamed
// into place, 4 the folder synced. Tests stop the process after one of them.
struct Hooks
{
    std::function<int(int fd)> sync;
    std::function<void(int step)> afterStep;
};
void write(const QString &folder, const Contest &contest, const Hooks &hooks);

// The name write() gives a contest's file, and whether a name is one of the
// temporary files it writes first (which readers pass over in silence).
QString fileName(const QString &id);
bool isTemporary(const QString &name);

// Deletes the temporary files that writes killed halfway left in folder more
// than a day ago; a younger one may be another computer's write under way.
void removeLeftovers(const QString &folder);

} // namespace ContestFile
