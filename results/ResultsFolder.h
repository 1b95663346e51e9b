#pragma once

#include "Contest.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

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
    QList<Contest> contests; // each id once, whatever folder it came from
    QList<Skipped> skipped;
};

// Every decalumo/risultati folder at most 6 levels below each root, and a root
// that is such a folder itself. Links are never followed.
Found gather(const QStringList &roots);

} // namespace ResultsFolder
