#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// One judged answer of a contest.
struct Answer
{
    int n = 0;          // its place in the contest, from 1
    int factor = 0;     // the question was 10 × factor
    QString typed;      // the text as it was judged
    bool right = false;
    // From when the pupil had heard (or, without sound, seen) the question to
    // the Enter that was judged; 0 for an Enter before the question ended.
    qint64 timeMs = 0;
};

// How a contest ended. A contest that was cut short without a word (a crash,
// kill -9, a power cut) has none.
enum class Ending {
    TimeUp,     // "tempo scaduto"
    Exit,       // "uscita"
    CloseBox,   // "finestra chiusa"
    Interrupted // "interrotta": the session ended or the program was told to stop
};

// Every contest that was played, answer by answer, as it is kept for the
// teacher. `id` is unique among all the computers that share a home and
// names the contest's file; the same contest read from two copies of a
// folder has the same id.
struct Contest
{
    QString id;
    QString pupil;       // as the record would store it: "Amico" for no name
    QString computer;    // the host name
    QDateTime start;     // local time with its UTC offset
    qint64 durationMs = 0;
    std::optional<Ending> ending;
    QList<Answer> answers;

    int right() const;
    int wrong() const;
};

// The Italian word for an ending, as the register and its exports show it;
// a contest with no ending reads as interrupted.
QString endingName(const std::optional<Ending> &ending);

// ISO 8601 to the second, always with the UTC offset ("+01:00", never "Z"),
// as files and exports write a contest's start.
QString isoWithOffset(const QDateTime &time);
