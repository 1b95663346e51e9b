#pragma once

#include "RecordFile.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Replaces the two record files as one unit, so that a crash at any instant
// leaves the old pair or the new pair, never a mix. Both new files are written
// and synced beside the old ones; creating the switch file is the one step
// that decides; the renames that follow are repeated by settle() after a crash.
// Callers hold the FolderLock for writing, or for reading when only settling.
namespace PairSwitch {

struct Hooks
{
    RecordFile::Sync sync;
    // Called after each step of replace(), numbered from 1; tests stop the
    // process there.
    std::function<void(int step)> afterStep;
};

// The new contents of the files named scoreFile and nameFile in dir.
void replace(const QString &dir, const QString &scoreFile, const QByteArray &score, const QString &nameFile,
             const QByteArray &name, const Hooks &hooks);

// Finishes or undoes whatever replace() a crash cut short, and removes the
// temporary files of earlier versions of the program. Does nothing, and
// writes nothing, when there is nothing to put right.
void settle(const QString &dir, const QString &scoreFile, const QString &nameFile, const RecordFile::Sync &sync);

} // namespace PairSwitch
