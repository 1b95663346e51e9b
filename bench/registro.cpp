// The register's window opening a folder, as the teacher sees it: from the
// start of the reading to the class table painted on the screen.
//   bench_registro DIR    (DIR as bench_classyear make writes it)
// Run it twice and take the second, warm-cache figures.
#include "QtRegisterDialogs.h"
#include "RegisterWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>

#include <cstdio>
#include <sys/resource.h>

namespace {
long maxRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}
}

int main(int argc, char *argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: bench_registro DIR\n", stderr);
        return 2;
    }
    const long before = maxRssMb();
    QElapsedTimer timer;
    timer.start();
    QtRegisterDialogs dialogs;
    RegisterWindow window(dialogs, {args[1]}, QDate::currentDate());
    window.show();
    window.classTable()->repaint();
    QCoreApplication::processEvents();
    const qint64 ms = timer.elapsed();
    std::printf("window open: %lld contests, %lld pupils, %lld ms (budget 1000)\n",
                qlonglong(window.classroom().found().contests.size()), qlonglong(window.classroom().rows().size()),
                qlonglong(ms));
    std::printf("from main() to the table painted, Qt's own start included: %lld ms\n", qlonglong(sinceMain.elapsed()));
    std::printf("peak memory: %ld MB, of which %ld MB before the window (budget 150)\n", maxRssMb(), before);
    return 0;
}
