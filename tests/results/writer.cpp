// Test helper, a contest keeping itself as the quiz does, run as:
//   results_writer once DIR ID ANSWERS KILL-AT-STEP
//     one version with that many answers; it kills itself right after that
//     step of the write (0: never), as a crash would
//   results_writer many DIR PREFIX COUNT
//     COUNT contests, each rewritten after every one of its five answers
#include "ContestFile.h"
#include "Failure.h"

#include <QTimeZone>

#include <csignal>
#include <unistd.h>

static Contest contest(const QString &id, int answers)
{
    Contest c{id, QStringLiteral("Luca"), QStringLiteral("pc"), QDateTime(QDate(2026, 3, 2), QTime(9, 0), QTimeZone(3600)), 1000, {}, {}};
    for (int n = 1; n <= answers; ++n)
        c.answers.append(Answer{n, n % 10 + 1, QStringLiteral("70"), n % 2 == 0, 1500});
    return c;
}

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? argv[1] : "";
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    try {
        if (mode == "once" && argc == 6) {
            const ContestFile::Hooks hooks{::fsync, [killAt = atoi(argv[5])](int step) { if (step == killAt) ::raise(SIGKILL); }};
            ContestFile::write(dir, contest(QString::fromLocal8Bit(argv[3]), atoi(argv[4])), hooks);
        } else if (mode == "many" && argc == 5) {
            for (int i = 0; i < atoi(argv[4]); ++i)
                for (int answers = 1; answers <= 5; ++answers)
                    ContestFile::write(dir, contest(QString::fromLocal8Bit(argv[3]) + QString::number(i), answers));
        } else {
            return 2;
        }
    } catch (const Failure &failure) {
        qWarning("%s", failure.what());
        return 1;
    }
}
