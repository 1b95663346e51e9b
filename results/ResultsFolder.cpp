#include "ResultsFolder.h"

#include "ContestFile.h"
#include "Measures.h"
#include "systemReason.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ResultsFolder {

namespace {

constexpr int maxDepth = 6;

bool isResultsFolder(const QString &path)
{
    return path.endsWith(QLatin1String("/decalumo/risultati")) || path == QLatin1String("decalumo/risultati");
}

struct Entry
{
    QString path;
    bool folder;
};

// Every entry of a folder with whether it is a real folder: a link to one is not.
QList<Entry> entries(const QString &dir)
{
    QList<Entry> found;
    DIR *d = ::opendir(QFile::encodeName(dir).constData());
    if (!d)
        return found;
    while (const dirent *e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        const QString path = dir + QLatin1Char('/') + QFile::decodeName(name);
        bool folder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st;
            folder = ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        found.append({path, folder});
    }
    ::closedir(d);
    return found;
}

void findFolders(const QString &dir, int depth, QStringList &folders)
{
    if (isResultsFolder(dir)) {
        folders.append(dir);
        return;
    }
    if (depth == maxDepth)
        return;
    for (const Entry &e : entries(dir))
        if (e.folder)
            findFolders(e.path, depth + 1, folders);
}

} // namespace

QString own()
{
    // Not QStandardPaths, for the reason the record gives: a relative
    // XDG_DATA_HOME must be ignored.
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/decalumo/risultati")) + QLatin1Char('/');
}

QString newId(const QDateTime &start, const QString &computer)
{
    QString host;
    for (QChar c : computer.left(32))
        host += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'-' ? c : QChar(u'_');
    const quint64 random = QRandomGenerator::system()->generate64();
    return start.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QLatin1Char('-') + host + QLatin1Char('-')
        + QStringLiteral("%1").arg(random, 16, 16, QLatin1Char('0'));
}

Found gather(const QStringList &roots)
{
    Found found;
    QStringList folders;
    for (const QString &root : roots) {
        const QString dir = QDir::cleanPath(root);
        struct stat st;
        if (::lstat(QFile::encodeName(dir).constData(), &st) != 0)
            found.skipped.append({dir, systemReason(errno)});
        else if (S_ISLNK(st.st_mode))
            found.skipped.append({dir, QStringLiteral("è un collegamento, non seguito")});
        else if (!S_ISDIR(st.st_mode))
            found.skipped.append({dir, QStringLiteral("non è una cartella")});
        else
            findFolders(dir, 0, folders);
    }
    // Two roots may hold the same folder.
    folders.removeDuplicates();

    QStringList files;
    for (const QString &folder : std::as_const(folders))
        for (const Entry &e : entries(folder))
            if (!ContestFile::isTemporary(e.path.mid(e.path.lastIndexOf(QLatin1Char('/')) + 1)))
                files.append(e.path);
    std::sort(files.begin(), files.end());

    // Parsing is most of the time; the disk's cache serves both cores.
    const QList<ContestFile::Read> read = QtConcurrent::blockingMapped(files, &ContestFile::read);
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!read[i].contest) {
            found.skipped.append({files[i], read[i].problem});
            continue;
        }
        QStringList &paths = found.files[read[i].contest->id];
        if (paths.isEmpty())
            found.contests.append(*read[i].contest);
        paths.append(files[i]);
    }
    std::sort(found.contests.begin(), found.contests.end(), [](const Contest &a, const Contest &b) {
        return a.start != b.start ? a.start < b.start : a.id < b.id;
    });
    return found;
}

QList<Skipped> remove(const Found &found, const std::function<bool(const Contest &)> &chosen)
{
    QList<Skipped> failed;
    for (const Contest &c : found.contests) {
        if (!chosen(c))
            continue;
        for (const QString &path : found.files.value(c.id))
            if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
                failed.append({path, systemReason(errno)});
    }
    return failed;
}

QList<Skipped> removePupil(const Found &found, const QString &name)
{
    const QString key = Measures::pupilKey(name);
    return remove(found, [&key](const Contest &c) { return Measures::pupilKey(c.pupil) == key; });
}

QList<Skipped> removeBefore(const Found &found, const QDate &day)
{
    return remove(found, [&day](const Contest &c) { return c.start.date() < day; });
}

} // namespace ResultsFolder
