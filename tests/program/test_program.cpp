#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// The real program, started as a session or a terminal would start it.
class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void theProgramEndsCleanlyWhereItCannotGoOn_data()
    {
        QTest::addColumn<QString>("platform"); // empty: none chosen
        QTest::addColumn<QString>("display");  // empty: none
        QTest::addColumn<int>("signal");       // sent at once; 0: none
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("error");
        const QByteArray noScreen = "Decalumo ha bisogno di uno schermo grafico: avvialo dal desktop, in una sessione grafica.\n";
        QTest::newRow("no display") << "" << "" << 0 << 1 << noScreen;
        QTest::newRow("a display nobody answers") << "" << ":4711" << 0 << 1 << noScreen;
        QTest::newRow("SIGTERM while the name is asked") << "offscreen" << "" << SIGTERM << 128 + SIGTERM << QByteArray();
        QTest::newRow("SIGHUP while the name is asked") << "offscreen" << "" << SIGHUP << 128 + SIGHUP << QByteArray();
    }
    void theProgramEndsCleanlyWhereItCannotGoOn()
    {
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QFETCH(int, signal);
        QFETCH(int, status);
        QFETCH(QByteArray, error);
        QTemporaryDir data;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        platform.isEmpty() ? env.remove(QStringLiteral("QT_QPA_PLATFORM")) : env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        display.isEmpty() ? env.remove(QStringLiteral("DISPLAY")) : env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
        QProcess program;
        program.setProcessEnvironment(env);
        // Held back until the program is ready for it, as if it came at its very start.
        program.setChildProcessModifier([] {
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, SIGTERM);
            sigaddset(&set, SIGHUP);
            sigprocmask(SIG_BLOCK, &set, nullptr);
        });
        program.start(QStringLiteral(DECALUMO_PROGRAM), QStringList());
        QVERIFY(program.waitForStarted());
        if (signal != 0)
            ::kill(program.processId(), signal);

        QVERIFY(program.waitForFinished(20000));

        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        if (!error.isEmpty())
            QCOMPARE(program.readAllStandardError(), error);
    }
};

QTEST_GUILESS_MAIN(TestProgram)
#include "test_program.moc"
