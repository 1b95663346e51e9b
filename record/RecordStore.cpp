#include "RecordStore.h"

#include "FolderLock.h"
#include "RecordFile.h"
#include "leadingNumber.h"
#include "makePrivatePath.h"
#include "systemReason.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <unistd.h>

namespace RecordStore {

namespace {

// A record file is a handful of bytes; more than this is not a record, and
// reading it all could exhaust memory.
constexpr qsizetype readLimit = 64 * 1024;

} // namespace

QString GetSystemDir()
{
    // Not QStandardPaths: Qt 6.4 returns a relative XDG_DATA_HOME as it is,
    // which would put the record wherever the program happens to be started.
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // Relative values are invalid for XDG variables and must be ignored.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString dir = QDir::cleanPath(base + QStringLiteral("/decalumo"));
    if (!makePrivatePath(QFile::encodeName(dir)))
        RecordFile::fail("creare la cartella", dir, systemReason(errno));
    return dir + u'/';
}

void ensureExists(const QString &path)
{
    RecordFile::create(path);
}

QString Leggifiletxt(const QString &nomefile)
{
    const QByteArray bytes = RecordFile::read(nomefile, readLimit);
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

Record read(const QString &dir)
{
    const FolderLock lock(dir, FolderLock::Reading);
    PairSwitch::settle(dir, scoreFile, nameFile, ::fsync);
    const QString scorePath = QDir(dir).filePath(scoreFile);
    const QString namePath = QDir(dir).filePath(nameFile);
    ensureExists(scorePath);
    ensureExists(namePath);
    return {Leggifiletxt(scorePath), Leggifiletxt(namePath)};
}

bool store(const QString &dir, const QString &score, const QString &name)
{
    return store(dir, score, name, {::fsync, {}});
}

bool store(const QString &dir, const QString &score, const QString &name, const PairSwitch::Hooks &hooks)
{
    const FolderLock lock(dir, FolderLock::Writing);
    PairSwitch::settle(dir, scoreFile, nameFile, hooks.sync);
    const QString scorePath = QDir(dir).filePath(scoreFile);
    const bool hasScore = RecordFile::exists(scorePath, "scrivere il file");
    RecordFile::exists(QDir(dir).filePath(nameFile), "scrivere il file");
    // Another copy may have stored a record since this one started.
    const QString stored = hasScore ? Leggifiletxt(scorePath) : QString();
    if (leadingNumber(stored) >= leadingNumber(score))
        return false;
    PairSwitch::replace(dir, scoreFile, score.toUtf8() + "\r\n", nameFile, name.toUtf8() + "\r\n", hooks);
    return true;
}

} // namespace RecordStore
