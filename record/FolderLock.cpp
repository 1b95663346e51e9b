#include "FolderLock.h"

#include "RecordFile.h"
#include "systemReason.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

// Other copies hold the lock for a few milliseconds; one holding it this long
// is stuck, and waiting on would freeze the window for good.
constexpr auto patience = std::chrono::seconds(10);
constexpr auto retryAfter = std::chrono::milliseconds(10);

bool noWriteAccess(int errnum)
{
    return errnum == EACCES || errnum == EPERM || errnum == EROFS;
}

} // namespace

FolderLock::FolderLock(const QString &dir, Purpose purpose)
{
    const QString path = QDir(dir).filePath(fileName);
    const QByteArray native = QFile::encodeName(path);
    const int flags = O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    m_fd = ::open(native.constData(), O_RDWR | O_CREAT | flags, 0666);
    int operation = LOCK_EX;
    if (m_fd < 0 && purpose == Reading && noWriteAccess(errno)) {
        m_fd = ::open(native.constData(), O_RDONLY | flags);
        if (m_fd < 0 && (errno == ENOENT || noWriteAccess(errno)))
            return;
        // Over NFS an exclusive hold needs a file open for writing.
        operation = LOCK_SH;
    }
    if (m_fd < 0)
        RecordFile::fail("creare il file", path, errno == ELOOP ? QStringLiteral("non è un file regolare") : systemReason(errno));

    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (::flock(m_fd, operation | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EINTR)
            continue;
        if (purpose == Reading && err == ENOLCK) {
            // A file system that cannot lock still lets the pupil play.
            ::close(m_fd);
            m_fd = -1;
            return;
        }
        if (err != EWOULDBLOCK || std::chrono::steady_clock::now() > giveUp) {
            ::close(m_fd);
            m_fd = -1;
            RecordFile::fail("bloccare il file", path,
                             err == EWOULDBLOCK ? QStringLiteral("è tenuto da un'altra copia di Decalumo") : systemReason(err));
        }
        std::this_thread::sleep_for(retryAfter);
    }
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}
