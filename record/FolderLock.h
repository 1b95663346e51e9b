#pragma once

#include <QString>

// A hold on the record folder shared by every copy of the program, on this
// computer or on others sharing the folder: flock on a lock file beside the
// record. The system drops the hold when its process ends, however it ends,
// so a crash never leaves a stale lock behind; the lock file itself stays and
// means nothing on its own.
class FolderLock
{
public:
    enum Purpose {
        // An exclusive hold; failing to get it is a Failure.
        Writing,
        // Exclusive where the folder can be written, shared where only the
        // lock file can be read, and none where there is no lock file and the
        // folder cannot be written: then no copy can be writing there either.
        Reading,
    };

    static inline const QString fileName = QStringLiteral("quorvanti.lock");

    FolderLock(const QString &dir, Purpose purpose);
    ~FolderLock();

    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    int m_fd = -1;
};
