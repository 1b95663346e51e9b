// Time from Enter in the answer box to the verdict painted on the window, with
// the real wizard taking the praise and a scripted draw of the questions.
// Run: QT_QPA_PLATFORM=offscreen ./build/bench/bench_verdict
#include "CharacterSet.h"
#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeRandom.h"
#include "FormLabel.h"
#include "ItalianToolkit.h"
#include "Tavola.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ItalianToolkit::install(app);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());

    CharacterSet agent;
    FakeDialogs dialogs;
    dialogs.name = QStringLiteral("Luca");
    FakeProgram program;
    FakeRandom random;
    Tavola tavola(agent, dialogs, program, random);
    constexpr int answers = 200;
    for (int i = 0; i <= answers; ++i)
        random.script(1 + i % 10, 1 + i % 10);
    tavola.start();
    tavola.repaint();

    std::vector<double> handled, painted;
    for (int i = 0; i < answers; ++i) {
        const int product = 10 * tavola.factor;
        tavola.Text3->setFocus();
        tavola.Text3->setText(QString::number(i % 3 ? product : product + 1));
        QElapsedTimer t;
        t.start();
        QTest::keyClick(tavola.Text3, Qt::Key_Return);
        handled.push_back(t.nsecsElapsed() / 1e6);
        tavola.repaint();
        painted.push_back(t.nsecsElapsed() / 1e6);
        if (tavola.lblMessage->text().isEmpty())
            std::fprintf(stderr, "no verdict after answer %d\n", i);
        tavola.cmdNext_Click();
        QCoreApplication::processEvents();
    }
    const auto report = [](const char *what, std::vector<double> v) {
        std::sort(v.begin(), v.end());
        std::printf("Enter to verdict %s: median %.3f ms, 99th percentile %.3f ms, worst %.3f ms over %zu answers "
                    "(target < 2 ms)\n",
                    what, v[v.size() / 2], v[v.size() * 99 / 100], v.back(), v.size());
    };
    report("judged", handled);
    report("judged and painted", painted);
    return 0;
}
