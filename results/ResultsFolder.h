#pragma once

#include "Contest.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Where contests are kept, and finding them again below a teacher's folders.
namespace ResultsFolder {

// $XDG_DATA_HOME/decalumo/risultati/ (or ~/.local/share/decalumo/risultati/),
// ending with '/'. Not created here.
QString own();

// A contest id that no other run, on this computer or another sharing the
// home, can pick: it holds the start, the host and a random part.
QString newId(const QDateTime &start, const QString &computer);

struct Skipped
{
    QString path;
    QString reason;
};

struct Found
{
    QList<Contest> contests; // each id once, whatever folder it came from; the oldest first
    QList<Skipped> skipped;
    QHash<QString, QStringList> files; // every file each id was read from
};

// Every decalumo/risultati folder at most 6 levels below each root, and a root
// that is such a folder itself. Links are never followed.
Found gather(const QStringList &roots);

// Deletes every file found of each chosen contest. What could not be deleted
// comes back with the system's reason.
QList<Skipped> remove(const Found &found, const std::function<bool(const Contest &)> &chosen);
// One pupil's contests, under any spelling that groups with the name.
QList<Skipped> removePupil(const Found &found, const QString &name);
// Every contest that started before the day began, such as 1 September.
QList<Skipped> removeBefore(const Found &found, const QDate &day);

} // namespace ResultsFolder
