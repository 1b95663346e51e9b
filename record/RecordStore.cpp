#include "RecordStore.h"

#include "Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <locale.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace RecordStore {

namespace {

// A record file is a handful of bytes; more than this is not a record, and
// reading it all could exhaust memory.
constexpr qsizetype readLimit = 64 * 1024;

[[noreturn]] void fail(const char *operation, const QString &path, const QString &reason)
{
    throw Failure(QStringLiteral("Impossibile %1 %2: %3").arg(QLatin1String(operation), path, reason));
}

QString notRegular()
{
    return QStringLiteral("non è un file regolare");
}

// Qt reports its own failures in English, or not at all; errno, taken right
// after the failing call, gives the reason in words the pupil can read.
QString reasonOf(const QFileDevice &file, int errnum)
{
    return errnum != 0 ? systemReason(errnum) : file.errorString();
}

// mkdir -p that keeps the system's reason when it fails; errno tells why.
bool makePath(const QByteArray &path)
{
    struct stat st;
    if (::stat(path.constData(), &st) == 0) {
        errno = S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
        return errno == 0;
    }
    if (errno != ENOENT)
        return false;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0 && !makePath(path.left(slash)))
        return false;
    // Private data, as for any XDG data folder we create ourselves.
    return ::mkdir(path.constData(), 0700) == 0 || (errno == EEXIST && makePath(path));
}

QByteArray readAtMost(const QString &path, qsizetype limit)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0)
        fail("leggere il file", path, systemReason(errno));
    // Checked before opening: a named pipe would block the open, a device
    // could stream forever.
    if (!S_ISREG(st.st_mode))
        fail("leggere il file", path, notRegular());
    // O_NONBLOCK still, in case something else took the file's place since.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        fail("leggere il file", path, systemReason(errno));
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

// The temporary file holds the whole line before anything is replaced, so a
// full disk shows up here and not halfway through the pair.
void prepare(QSaveFile &file, const QString &line)
{
    const QByteArray bytes = line.toUtf8() + "\r\n";
    errno = 0;
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        const int err = errno;
        fail("scrivere il file", file.fileName(), reasonOf(file, err));
    }
}

// Puts the score file back as it was; an empty result means it worked.
QString putBack(const QString &path, bool existed, const QByteArray &bytes)
{
    errno = 0;
    if (!existed)
        return QFile::remove(path) ? QString() : systemReason(errno);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return reasonOf(file, errno);
}

// The renames are only durable once the folder itself reaches the disk.
void syncFolder(const QString &dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

QString systemReason(int errnum)
{
    switch (errnum) {
    case ENOSPC: return QStringLiteral("spazio esaurito");
    case EDQUOT: return QStringLiteral("quota del disco esaurita");
    case EACCES:
    case EPERM: return QStringLiteral("permesso negato");
    case ENOENT: return QStringLiteral("file o cartella inesistente");
    case ENOTDIR: return QStringLiteral("non è una cartella");
    case EISDIR: return QStringLiteral("è una cartella");
    case EROFS: return QStringLiteral("file system di sola lettura");
    case EFBIG: return QStringLiteral("file troppo grande");
    case ENAMETOOLONG: return QStringLiteral("nome troppo lungo");
    case EIO: return QStringLiteral("errore di lettura o scrittura sul disco");
    }
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return QString::fromLocal8Bit(strerror_l(errnum, cLocale));
}

QString GetSystemDir()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // Relative values are invalid for XDG variables and must be ignored.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString dir = QDir::cleanPath(base + QStringLiteral("/decalumo"));
    if (!makePath(QFile::encodeName(dir)))
        fail("creare la cartella", dir, systemReason(errno));
    return dir + u'/';
}

void ensureExists(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::stat(native.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        fail("aprire il file", path, notRegular());
    // O_NONBLOCK: should a named pipe appear here after all, waiting for a
    // reader would hang the start.
    const int fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        fail("creare il file", path, systemReason(errno));
    ::close(fd);
}

QString Leggifiletxt(const QString &nomefile)
{
    const QByteArray bytes = readAtMost(nomefile, readLimit);
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

void store(const QString &dir, const QString &score, const QString &name)
{
    store(dir, score, name, {});
}

void store(const QString &dir, const QString &score, const QString &name,
           const std::function<void()> &betweenFiles)
{
    const QString scorePath = QDir(dir).filePath(scoreFile);
    const QString namePath = QDir(dir).filePath(nameFile);
    for (const QString &path : {scorePath, namePath}) {
        const QFileInfo info(path);
        if (info.exists() && !info.isFile())
            fail("scrivere il file", path, notRegular());
    }
    const bool hadScore = QFileInfo::exists(scorePath);
    const QByteArray oldScore = hadScore ? readAtMost(scorePath, readLimit) : QByteArray();

    QSaveFile scoreOut(scorePath);
    QSaveFile nameOut(namePath);
    prepare(scoreOut, score);
    prepare(nameOut, name);

    errno = 0;
    if (!scoreOut.commit()) {
        const int err = errno;
        fail("scrivere il file", scorePath, reasonOf(scoreOut, err));
    }
    if (betweenFiles)
        betweenFiles();
    errno = 0;
    if (!nameOut.commit()) {
        QString reason = reasonOf(nameOut, errno);
        const QString putBackReason = putBack(scorePath, hadScore, oldScore);
        if (!putBackReason.isEmpty())
            reason += QStringLiteral(" (e impossibile ripristinare il file %1: %2)").arg(scorePath, putBackReason);
        fail("scrivere il file", namePath, reason);
    }
    syncFolder(dir);
}

double leadingNumber(const QString &text)
{
    // Past this many significant digits a double cannot tell the difference.
    constexpr std::size_t maxDigits = 800;
    // Far beyond any double; stops the exponent arithmetic from overflowing.
    constexpr long long maxExponent = 1'000'000;

    auto it = text.cbegin();
    const auto end = text.cend();
    // Blanks, tabs and line feeds are skipped anywhere in the number: "1 2" is 12.
    const auto peek = [&] {
        while (it != end && isBlank(*it))
            ++it;
        return it == end ? QChar() : *it;
    };

    bool negative = false;
    if (const QChar c = peek(); c == u'+' || c == u'-') {
        negative = c == u'-';
        ++it;
    }
    std::string digits;    // significant digits, without leading zeros
    long long exponent = 0; // power of ten applied to digits read as a whole number
    for (; isDigit(peek()); ++it) {
        if (digits.size() < maxDigits) {
            if (!digits.empty() || *it != u'0')
                digits += char(it->unicode());
        } else if (exponent < maxExponent) {
            ++exponent;
        }
    }
    if (peek() == u'.') {
        for (++it; isDigit(peek()); ++it) {
            if (digits.size() >= maxDigits)
                continue;
            if (!digits.empty() || *it != u'0')
                digits += char(it->unicode());
            if (exponent > -maxExponent)
                --exponent;
        }
    }
    if (digits.empty())
        return 0;
    if (const QChar c = peek(); c == u'E' || c == u'e' || c == u'D' || c == u'd') {
        ++it;
        bool negativeExponent = false;
        if (const QChar s = peek(); s == u'+' || s == u'-') {
            negativeExponent = s == u'-';
            ++it;
        }
        long long written = 0;
        for (; isDigit(peek()); ++it)
            written = std::min(written * 10 + (it->unicode() - u'0'), maxExponent);
        exponent += negativeExponent ? -written : written;
    }

    const std::string number = digits + 'e' + std::to_string(exponent);
    double value = 0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec == std::errc::result_out_of_range)
        value = exponent + qsizetype(digits.size()) > 0 ? DBL_MAX : 0;
    return negative ? -value : value;
}

} // namespace RecordStore
