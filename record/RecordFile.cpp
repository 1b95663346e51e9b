#include "RecordFile.h"

#include "Failure.h"
#include "systemReason.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RecordFile {

namespace {

QString notRegular()
{
    return QStringLiteral("non è un file regolare");
}

// O_NOFOLLOW reports a link at the last step of the path as ELOOP.
QString reasonOf(int errnum)
{
    return errnum == ELOOP ? notRegular() : systemReason(errnum);
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

void fail(const char *operation, const QString &path, const QString &reason)
{
    throw Failure(QStringLiteral("Impossibile %1 %2: %3").arg(QLatin1String(operation), path, reason));
}

bool exists(const QString &path, const char *operation)
{
    struct stat st;
    if (::lstat(native(path).constData(), &st) != 0) {
        if (errno == ENOENT)
            return false;
        fail(operation, path, systemReason(errno));
    }
    if (!S_ISREG(st.st_mode))
        fail(operation, path, notRegular());
    return true;
}

QByteArray read(const QString &path, qsizetype limit)
{
    // Checked before opening: opening a device can have effects of its own.
    if (!exists(path, "leggere il file"))
        fail("leggere il file", path, systemReason(ENOENT));
    // O_NONBLOCK and the second check: something else may have taken the
    // file's place since, and a named pipe would block the read.
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        fail("leggere il file", path, reasonOf(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fail("leggere il file", path, notRegular());
    }
    QByteArray bytes(limit, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(limit - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            fail("leggere il file", path, systemReason(err));
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    return bytes;
}

void create(const QString &path)
{
    // An existing file is only read later, so a read-only one is enough.
    if (exists(path, "aprire il file"))
        return;
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        // Another copy of the program may have created it meanwhile.
        if (errno == EEXIST && exists(path, "aprire il file"))
            return;
        fail("creare il file", path, reasonOf(errno));
    }
    ::close(fd);
}

void write(const QString &path, const QString &replacing, const QByteArray &bytes, const Sync &sync)
{
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        fail("scrivere il file", replacing, reasonOf(errno));
    // A teacher may have opened the record to a group; the new file keeps that.
    struct stat old;
    bool ok = ::lstat(native(replacing).constData(), &old) != 0 || !S_ISREG(old.st_mode)
        || ::fchmod(fd, old.st_mode & 07777) == 0;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += n;
    }
    ok = ok && sync(fd) == 0;
    const int err = errno;
    if (::close(fd) != 0 && ok)
        fail("scrivere il file", replacing, systemReason(errno));
    if (!ok)
        fail("scrivere il file", replacing, systemReason(err));
}

void rename(const QString &from, const QString &to)
{
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        fail("scrivere il file", to, systemReason(errno));
}

void remove(const QString &path)
{
    if (::unlink(native(path).constData()) != 0 && errno != ENOENT)
        fail("eliminare il file", path, systemReason(errno));
}

void syncFolder(const QString &dir, const Sync &sync)
{
    const QString shown = QDir::cleanPath(dir);
    const int fd = ::open(native(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        fail("scrivere la cartella", shown, systemReason(errno));
    const bool ok = sync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok)
        fail("scrivere la cartella", shown, systemReason(err));
}

} // namespace RecordFile
