#include "PairSwitch.h"

#include "Failure.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace PairSwitch {

namespace {

const QString switchName = QStringLiteral("quorvanti.switch");

struct Paths
{
    Paths(const QString &dir, const QString &scoreFile, const QString &nameFile)
        : score(QDir(dir).filePath(scoreFile))
        , name(QDir(dir).filePath(nameFile))
        , scoreNew(score + QStringLiteral(".new"))
        , nameNew(name + QStringLiteral(".new"))
        , switchFile(QDir(dir).filePath(switchName))
    {
    }

    QString score, name, scoreNew, nameNew, switchFile;
};

} // namespace

void replace(const QString &dir, const QString &scoreFile, const QByteArray &score, const QString &nameFile,
             const QByteArray &name, const Hooks &hooks)
{
    const Paths p(dir, scoreFile, nameFile);
    int step = 0;
    const auto done = [&] {
        if (hooks.afterStep)
            hooks.afterStep(++step);
    };
    try {
        RecordFile::write(p.scoreNew, p.score, score, hooks.sync);
        done();
        RecordFile::write(p.nameNew, p.name, name, hooks.sync);
        done();
        // The new files must be on the disk before the switch can be.
        RecordFile::syncFolder(dir, hooks.sync);
        done();
        RecordFile::create(p.switchFile);
        RecordFile::syncFolder(dir, hooks.sync);
        done();
    } catch (const Failure &) {
        // Nothing is replaced yet. The switch goes first: without it, settle()
        // takes whatever is left for an unfinished write and removes it.
        for (const QString &path : {p.switchFile, p.nameNew, p.scoreNew})
            QFile::remove(path);
        throw;
    }
    // One rename reaches the disk before the next, so that settle() can tell
    // from what is left which of them happened.
    RecordFile::rename(p.scoreNew, p.score);
    done();
    RecordFile::syncFolder(dir, hooks.sync);
    done();
    RecordFile::rename(p.nameNew, p.name);
    done();
    RecordFile::syncFolder(dir, hooks.sync);
    done();
    RecordFile::remove(p.switchFile);
    RecordFile::syncFolder(dir, hooks.sync);
    done();
}

void settle(const QString &dir, const QString &scoreFile, const QString &nameFile, const RecordFile::Sync &sync)
{
    const Paths p(dir, scoreFile, nameFile);
    QDir folder(dir);
    const QStringList found = folder.entryList({scoreFile + QStringLiteral(".*"), nameFile + QStringLiteral(".*"), switchName},
                                               QDir::Files | QDir::System | QDir::Hidden);
    if (found.isEmpty())
        return;

    const bool switching = found.contains(switchName);
    bool changed = switching;
    // The score is renamed first: a new name still waiting means both renames
    // are due, or only the name's.
    if (switching && found.contains(QFileInfo(p.nameNew).fileName())) {
        if (found.contains(QFileInfo(p.scoreNew).fileName()))
            RecordFile::rename(p.scoreNew, p.score);
        RecordFile::rename(p.nameNew, p.name);
    }
    // Temporary files of ours, and the six-character ones of earlier versions.
    const QRegularExpression leftover(QStringLiteral("^(%1|%2)\\.(new|[A-Za-z0-9]{6})$")
                                          .arg(QRegularExpression::escape(scoreFile), QRegularExpression::escape(nameFile)));
    for (const QString &entry : found) {
        if (leftover.match(entry).hasMatch()) {
            RecordFile::remove(folder.filePath(entry));
            changed = true;
        }
    }
    if (!changed)
        return;
    // The renames must be on the disk before the switch is gone.
    RecordFile::syncFolder(dir, sync);
    if (switching) {
        RecordFile::remove(p.switchFile);
        RecordFile::syncFolder(dir, sync);
    }
}

} // namespace PairSwitch
