// A school year of one class as contest files, and the time and memory the
// register needs to read it and to export it.
//   bench_classyear make DIR    writes 25 pupils × 400 contests × 40 answers
//   bench_classyear read DIR    gathers DIR, then exports both tables
// Run "read" twice and take the second, warm-cache figures.
#include "ContestFile.h"
#include "Csv.h"
#include "ResultsFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimeZone>

#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int pupils = 25, contestsEach = 400, answersEach = 40;

const char *const names[pupils] = {
    "Luca", "Giulia", "Marco", "Sofia", "Matteo", "Aurora", "Leonardo", "Alice", "Francesco", "Ginevra",
    "Alessandro", "Emma", "Lorenzo", "Giorgia", "Andrea", "Beatrice", "Tommaso", "Vittoria", "Gabriele", "Chiara",
    "Riccardo", "Ludovica", "Edoardo", "Anna", "Amico"};

int make(const QString &dir)
{
    QRandomGenerator random(10);
    const QDateTime yearStart(QDate(2025, 9, 15), QTime(8, 30), QTimeZone(7200));
    const ContestFile::Hooks noSync{[](int) { return 0; }, {}};
    for (int p = 0; p < pupils; ++p) {
        for (int k = 0; k < contestsEach; ++k) {
            Contest c;
            // Most of a year's days, two contests a school day.
            c.start = yearStart.addDays(k / 2 * 270 / (contestsEach / 2)).addSecs(p * 600 + (k % 2) * 3 * 3600);
            c.computer = QStringLiteral("pc-aula-%1").arg(p % 5 + 1);
            c.id = ResultsFolder::newId(c.start, c.computer);
            // A few pupils type their name in capitals some days.
            c.pupil = QString::fromLatin1(names[p]);
            if (k % 17 == 0)
                c.pupil = c.pupil.toUpper();
            c.durationMs = 420000;
            c.ending = Ending::TimeUp;
            for (int n = 1; n <= answersEach; ++n) {
                const int factor = random.bounded(1, 11);
                const bool right = random.bounded(100) < 60 + p + k / 20;
                c.answers.append(Answer{n, factor, QString::number(right ? factor * 10 : factor * 10 + 1), right,
                                        qint64(random.bounded(600, 7000))});
            }
            ContestFile::write(dir, c, noSync);
        }
    }
    std::printf("%d file scritti in %s\n", pupils * contestsEach, qUtf8Printable(dir));
    return 0;
}

long maxRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

int read(const QString &dir)
{
    QElapsedTimer timer;
    timer.start();
    const ResultsFolder::Found found = ResultsFolder::gather({dir});
    const qint64 gatherMs = timer.restart();
    const QByteArray risposte = Csv::risposte(found.contests);
    const qint64 risposteMs = timer.restart();
    const QByteArray sfide = Csv::sfide(found.contests);
    const qint64 sfideMs = timer.elapsed();
    std::printf("gather: %lld contests, %lld skipped, %lld ms (budget 1000)\n", qlonglong(found.contests.size()),
                qlonglong(found.skipped.size()), qlonglong(gatherMs));
    std::printf("csv risposte: %lld bytes, %lld ms (budget 1000)\n", qlonglong(risposte.size()), qlonglong(risposteMs));
    std::printf("csv sfide: %lld bytes, %lld ms (budget 1000)\n", qlonglong(sfide.size()), qlonglong(sfideMs));
    std::printf("peak memory: %ld MB (budget 150)\n", maxRssMb());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("make"))
        return make(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("read"))
        return read(args[2]);
    std::fputs("usage: bench_classyear make|read DIR\n", stderr);
    return 2;
}
