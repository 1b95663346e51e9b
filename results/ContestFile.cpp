#include "ContestFile.h"

#include "ContestJson.h"
#include "Failure.h"
#include "makePrivatePath.h"
#include "systemReason.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ContestFile {

namespace {

QString kindProblem(mode_t mode)
{
    if (S_ISLNK(mode))
        return QStringLiteral("è un collegamento, non seguito");
    if (S_ISDIR(mode))
        return QStringLiteral("è una cartella");
    return QStringLiteral("non è un file regolare");
}

Read skipped(const QString &problem)
{
    return Read{std::nullopt, problem};
}

bool writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

QByteArray encode(const Contest &contest)
{
    return ContestJson::encode(contest);
}

QString fileName(const QString &id)
{
    return id + QStringLiteral(".json");
}

bool isTemporary(const QString &name)
{
    return name.startsWith(QLatin1Char('.')) && name.endsWith(QLatin1String(".part"));
}

void removeLeftovers(const QString &folder)
{
    const QDateTime dayAgo = QDateTime::currentDateTimeUtc().addDays(-1);
    QDirIterator it(folder, {QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (isTemporary(info.fileName()) && info.lastModified().toUTC() < dayAgo)
            QFile::remove(info.filePath());
    }
}

Read read(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::lstat(native.constData(), &st) != 0)
        return skipped(systemReason(errno));
    if (!S_ISREG(st.st_mode))
        return skipped(kindProblem(st.st_mode));
    if (st.st_size > maxBytes)
        return skipped(QStringLiteral("più grande di 1 MiB"));
    // Something else may take the file's place after the check: O_NOFOLLOW
    // refuses a link, O_NONBLOCK a pipe that would block, fstat the rest.
    const int fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return skipped(errno == ELOOP ? kindProblem(S_IFLNK) : systemReason(errno));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return skipped(kindProblem(st.st_mode));
    }
    // One byte more than allowed tells a file that grew since.
    QByteArray bytes(maxBytes + 1, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return skipped(systemReason(err));
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    if (got > maxBytes)
        return skipped(QStringLiteral("più grande di 1 MiB"));
    bytes.truncate(got);
    Read result;
    result.contest = ContestJson::decode(bytes, &result.problem);
    return result;
}

void write(const QString &folder, const Contest &contest)
{
    write(folder, contest, Hooks{[](int fd) { return ::fsync(fd); }, {}});
}

void write(const QString &folder, const Contest &contest, const Hooks &hooks)
{
    const QString shown = QDir::cleanPath(folder);
    const auto fail = [&shown](int err) {
        throw Failure(QStringLiteral("Impossibile conservare la sfida nella cartella %1: %2").arg(shown, systemReason(err)));
    };
    const auto step = [&hooks](int n) {
        if (hooks.afterStep)
            hooks.afterStep(n);
    };
    const QByteArray dir = QFile::encodeName(shown);
    if (!makePrivatePath(dir))
        fail(errno);
    // The id is this contest's alone, so is the temporary name: no other
    // writer, here or on another computer, ever opens it.
    const QByteArray part = dir + '/' + QFile::encodeName(QLatin1Char('.') + fileName(contest.id) + QStringLiteral(".part"));
    const QByteArray target = dir + '/' + QFile::encodeName(fileName(contest.id));
    const int fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0)
        fail(errno);
    bool ok = writeAll(fd, encode(contest));
    int err = ok ? 0 : errno;
    if (ok)
        step(1);
    if (ok && hooks.sync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (ok)
        step(2);
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(part.constData());
        fail(err);
    }
    if (::rename(part.constData(), target.constData()) != 0) {
        err = errno;
        ::unlink(part.constData());
        fail(err);
    }
    step(3);
    // Without it a power cut could bring back the previous version, or none.
    const int dirFd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        hooks.sync(dirFd);
        ::close(dirFd);
    }
    step(4);
}

} // namespace ContestFile
