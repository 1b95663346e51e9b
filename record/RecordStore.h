#pragma once

#include "PairSwitch.h"

#include <QString>

// The best score and its holder, kept between runs as two one-line text files
// in the program's data folder, and changed only as a pair. Every failure
// throws Failure with an Italian message naming the operation, the path and
// the system's reason.
namespace RecordStore {

inline const QString scoreFile = QStringLiteral("aquorvanti.txt");
inline const QString nameFile = QStringLiteral("nquorvanti.txt");

struct Record
{
    QString score;
    QString name;
};

// $XDG_DATA_HOME/decalumo/ (or ~/.local/share/decalumo/), created when
// missing, always ending with '/'.
QString GetSystemDir();

// Creates the file empty when it is missing; an existing file is left untouched.
void ensureExists(const QString &path);

// The whole text of a regular file, line ends included, read as UTF-8.
// Reads at most 64 KiB; a link or anything but a regular file is a failure.
QString Leggifiletxt(const QString &nomefile);

// The pair in dir as start-up shows it: a store that a crash cut short is
// finished or undone first, and missing files are created empty. A pair that
// can be read is enough; nothing is written unless something is missing.
Record read(const QString &dir);

// Stores score and name in dir, each as one line ended by CR LF, when score
// beats the record stored there now, whatever this copy read at its start.
// Returns whether it stored. A failure before the switch leaves the old pair;
// one after it (a rename, a sync of the folder) leaves the new pair for the
// next start to complete.
bool store(const QString &dir, const QString &score, const QString &name, const PairSwitch::Hooks &hooks);
bool store(const QString &dir, const QString &score, const QString &name);

} // namespace RecordStore
