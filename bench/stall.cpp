// Longest stall of the window's event loop, from start to the first question
// and while answering, with a working sound server, with none, and with one
// that takes connections and never answers, and with a results folder that
// never answers; and how long the program takes to end, after a whole contest
// and when left at once (target: stalls under 50 ms, ends under 1000 ms).
// Run: QT_QPA_PLATFORM=offscreen ./build/bench/bench_stall
#include "CharacterSet.h"
#include "CharacterWindow.h"
#include "ContestFile.h"
#include "ContestWriter.h"
#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeRandom.h"
#include "HungSoundServer.h"
#include "ItalianToolkit.h"
#include "ResultsFolder.h"
#include "SteadyClock.h"
#include "Tavola.h"
#include "Wizard.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

constexpr int answers = 3;
constexpr int actionGapMs = 600;
constexpr int capMs = 120000;

// The longest time between two turns of the event loop, watched by a timer
// that wants to run every millisecond.
class StallMeter : public QObject
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = qMax(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_timer.start(1);
    }
    // Returns the longest stall since the last call, in milliseconds, the
    // one running now included.
    double take()
    {
        const qint64 now = m_clock.nsecsElapsed();
        const double ms = qMax(m_longest, now - m_last) / 1e6;
        m_longest = 0;
        m_last = now;
        return ms;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

// Plays a contest with the real wizard and scripted answers, or, when
// `leaveEarly`, leaves a second after the first question.
int contest(int &argc, char **argv, bool leaveEarly)
{
    QApplication app(argc, argv);
    ItalianToolkit::install(app);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());

    StallMeter meter;
    QElapsedTimer wall;
    wall.start();
    std::unique_ptr<CharacterSet> agent;
    FakeDialogs dialogs;
    dialogs.name = QStringLiteral("Luca");
    FakeProgram program;
    FakeRandom random;
    // Every answer kept as the program keeps it; a dead network home takes
    // each write and never returns it.
    const bool hungResults = qEnvironmentVariableIsSet("BENCH_HUNG_RESULTS");
    ContestWriter contests(ResultsFolder::own(), [hungResults](const QString &folder, const Contest &c) {
        if (hungResults)
            std::this_thread::sleep_for(std::chrono::hours(1));
        ContestFile::write(folder, c);
    });
    SteadyClock clock;
    std::unique_ptr<Tavola> tavola;
    double startStall = 0;
    int actions = 0;
    QEventLoop loop;
    QTimer act;

    QTimer::singleShot(0, &loop, [&] {
        agent = std::make_unique<CharacterSet>();
        tavola = std::make_unique<Tavola>(*agent, dialogs, program, random);
        tavola->keepContests(contests, clock);
        for (int i = 0; i <= answers; ++i)
            random.script(1 + i % 10, 1 + (3 * i) % 10);
        tavola->start();
        // The next turn of the loop closes the start: its stall includes start().
        QTimer::singleShot(0, &loop, [&] {
            startStall = meter.take();
            if (leaveEarly)
                QTimer::singleShot(1000, &loop, &QEventLoop::quit);
            else
                act.start(actionGapMs);
        });
    });
    QObject::connect(&act, &QTimer::timeout, &loop, [&] {
        if (actions < 2 * answers) {
            if (actions++ % 2 == 0) {
                tavola->Text3->setText(QString::number(10 * tavola->factor));
                QTest::keyClick(tavola->Text3, Qt::Key_Return);
            } else {
                tavola->cmdNext_Click();
            }
        } else if (agent->window(Wizard::id).pending() == 0) {
            loop.quit();
        }
    });
    QTimer::singleShot(capMs, &loop, &QEventLoop::quit);
    loop.exec();
    const double laterStall = meter.take();
    if (leaveEarly) {
        std::printf("start to first question: longest stall %.1f ms; the next second: %.1f ms; left",
                    startStall, laterStall);
    } else {
        const bool done = actions == 2 * answers && agent->window(Wizard::id).pending() == 0;
        std::printf("start to first question: longest stall %.1f ms; answering: %.1f ms (%d answers, wizard %s "
                    "after %.1f s)",
                    startStall, laterStall, answers, done ? "done" : "STILL BUSY", wall.elapsed() / 1000.0);
    }
    std::printf("\n");
    std::fflush(stdout);
    return 0;
}

// Runs a contest in a child process with the environment of one case, and
// times the child's end from the moment it printed its figures.
void runCase(const char *name, const QProcessEnvironment &env, const char *mode)
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setStandardErrorFile(QProcess::nullDevice());
    QByteArray out;
    QElapsedTimer sinceFigures;
    QEventLoop loop;
    QObject::connect(&child, &QProcess::readyReadStandardOutput, &loop, [&] {
        out += child.readAllStandardOutput();
        if (!sinceFigures.isValid() && out.contains('\n'))
            sinceFigures.start();
    });
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode)});
    QTimer::singleShot(capMs + 60000, &loop, &QEventLoop::quit);
    loop.exec();
    out += child.readAllStandardOutput();
    const double endMs = sinceFigures.isValid() ? sinceFigures.nsecsElapsed() / 1e6 : -1;
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished();
    }
    std::printf("%-22s %s; ended %.0f ms after its figures\n", name, out.trimmed().constData(), endMs);
    std::fflush(stdout);
}

void runCase(const char *name, const QProcessEnvironment &env)
{
    runCase(name, env, "--contest");
    runCase(name, env, "--leave-early");
}

// A private sound server with a sink that plays nowhere.
class NullSinkServer
{
public:
    explicit NullSinkServer(const QString &runtime)
    {
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("HOME"), runtime);
        m_server.setProcessEnvironment(env);
        m_server.setStandardOutputFile(QProcess::nullDevice());
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.start(QStringLiteral("pulseaudio"),
                       {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                        QStringLiteral("--disable-shm=yes"), QStringLiteral("--load=module-null-sink sink_name=nulla"),
                        QStringLiteral("--load=module-native-protocol-unix")});
        QElapsedTimer t;
        t.start();
        while (m_server.state() != QProcess::NotRunning && !QFile::exists(runtime + QStringLiteral("/pulse/native"))
               && t.elapsed() < 10000)
            m_server.waitForFinished(20);
        m_ready = QFile::exists(runtime + QStringLiteral("/pulse/native"));
    }
    ~NullSinkServer()
    {
        m_server.terminate();
        m_server.waitForFinished(3000);
    }
    bool ready() const { return m_ready; }

private:
    QProcess m_server;
    bool m_ready = false;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--contest") == 0)
        return contest(argc, argv, false);
    if (argc > 1 && qstrcmp(argv[1], "--leave-early") == 0)
        return contest(argc, argv, true);

    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    QProcessEnvironment base = QProcessEnvironment::systemEnvironment();
    base.remove(QStringLiteral("PULSE_SERVER"));
    if (!base.contains(QStringLiteral("QT_QPA_PLATFORM")))
        base.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    {
        NullSinkServer server(work.filePath(QStringLiteral("pulse")));
        QProcessEnvironment env = base;
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.filePath(QStringLiteral("pulse")));
        if (server.ready())
            runCase("working sound server:", env);
        else
            std::printf("working sound server: skipped, pulseaudio does not start here\n");
    }
    {
        QDir().mkpath(work.filePath(QStringLiteral("empty")));
        QProcessEnvironment env = base;
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.filePath(QStringLiteral("empty")));
        runCase("no sound server:", env);
    }
    {
        HungSoundServer hung;
        QProcessEnvironment env = base;
        env.insert(QStringLiteral("PULSE_SERVER"), QString::fromLocal8Bit(hung.address()));
        runCase("hung sound server:", env);
    }
    {
        QDir().mkpath(work.filePath(QStringLiteral("empty")));
        QProcessEnvironment env = base;
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.filePath(QStringLiteral("empty")));
        env.insert(QStringLiteral("BENCH_HUNG_RESULTS"), QStringLiteral("1"));
        runCase("hung results folder:", env);
    }
    return 0;
}
