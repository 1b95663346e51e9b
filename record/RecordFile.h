#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The few file operations the record needs, on plain system calls so that
// nothing is followed or ignored behind our back: links and anything but
// regular files are refused, nothing blocks on a pipe or a device, and every
// failure, a failed sync included, throws Failure naming the path and the
// system's reason in Italian.
namespace RecordFile {

// Makes an open file's data durable; returns -1 and sets errno on failure,
// as fsync does. Tests put a failing one here.
using Sync = std::function<int(int fd)>;

[[noreturn]] void fail(const char *operation, const QString &path, const QString &reason);

// Whether something is at path; a link or anything but a regular file there
// fails `operation`.
bool exists(const QString &path, const char *operation);

// At most limit bytes from the start of the regular file at path.
QByteArray read(const QString &path, qsizetype limit);

// Creates the file empty when nothing is at path; an existing file is left untouched.
void create(const QString &path);

// Writes bytes, synced, into a new file at path, which must not exist yet.
// The file takes the permissions of `replacing` when that exists, and
// failures name `replacing`, the file the pupil knows of.
void write(const QString &path, const QString &replacing, const QByteArray &bytes, const Sync &sync);

void rename(const QString &from, const QString &to);

// Removes the file at path, if there is one.
void remove(const QString &path);

// Makes the folder's entries durable: renames, new and removed files.
void syncFolder(const QString &dir, const Sync &sync);

} // namespace RecordFile
