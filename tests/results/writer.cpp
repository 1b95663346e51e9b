// Test helper, a contest keeping itself as the quiz does, run as:
//   results_writer DIR ID-PREFIX CONTESTS ANSWERS KILL-AT-STEP
// Each contest is rewritten after each of its answers. Above 0, KILL-AT-STEP
// kills the process right after that step of the last write, as a crash would.
#include "ContestFile.h"

#include <QTimeZone>

#include <csignal>
#include <unistd.h>

int main(int, char *argv[])
{
    const int contests = atoi(argv[3]), answers = atoi(argv[4]), killAt = atoi(argv[5]);
    Contest c{{}, QStringLiteral("Luca"), QStringLiteral("pc"), QDateTime(QDate(2026, 3, 2), QTime(9, 0), QTimeZone(3600)), 1000, {}, {}};
    for (int i = 0; i < contests; ++i) {
        c.id = QString::fromLocal8Bit(argv[2]) + QString::number(i);
        c.answers.clear();
        for (int n = 1; n <= answers; ++n) {
            c.answers.append(Answer{n, n % 10 + 1, QStringLiteral("70"), n % 2 == 0, 1500});
            const bool last = i == contests - 1 && n == answers;
            ContestFile::write(QString::fromLocal8Bit(argv[1]), c, {::fsync, [=](int step) { if (last && step == killAt) ::raise(SIGKILL); }});
        }
    }
}
