#include "Balloon.h"
#include "CharacterSet.h"
#include "CharacterWindow.h"
#include "HungSoundServer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

const QString words = QStringLiteral("10 per sette");

// The wizard says a few words with the real sound path, then the process
// ends. Prints the longest call, the longest wait between two turns of the
// event loop, how long the words took, and whether the balloon showed them.
int speakInChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    qint64 longestCall = 0;
    const auto timed = [&](const auto &call) {
        QElapsedTimer t;
        t.start();
        call();
        longestCall = qMax(longestCall, t.elapsed());
    };
    QElapsedTimer since;
    since.start();
    std::unique_ptr<CharacterSet> set;
    timed([&] { set = std::make_unique<CharacterSet>(); });
    timed([&] { set->Load(QStringLiteral("Merlin"), QStringLiteral(":/characters/merlin/merlin.json")); });
    CharacterWindow &wizard = set->window(QStringLiteral("Merlin"));
    timed([&] { wizard.Speak(words); });

    qint64 longestStall = 0;
    qint64 last = since.elapsed();
    bool captioned = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &app, [&] {
        longestStall = qMax(longestStall, since.elapsed() - last);
        last = since.elapsed();
        captioned = captioned || wizard.balloon().text() == words;
        if (wizard.pending() == 0 || since.elapsed() > 8000)
            app.quit();
    });
    look.start(5);
    app.exec();
    std::printf("%lld %lld %lld %d\n", longestCall, longestStall, wizard.pending() == 0 ? since.elapsed() : -1,
                int(captioned));
    std::fflush(stdout);
    return 0;
}

} // namespace

// The sound system as it fails on school PCs. Each case runs in a process of
// its own, since a process picks its sound server and voice data only once.
class TestSoundTrouble : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Every file the Italian voice needs is there, and none holds what it should.
        for (const char *file : {"phontab", "phonindex", "phondata", "intonations", "it_dict", "lang/roa/it"}) {
            const QString path = m_broken.filePath(QLatin1String(file));
            QDir().mkpath(QFileInfo(path).path());
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not what espeak-ng wrote\n");
        }
    }

    void theWizardGoesOnAndTheProgramNeverWaitsOnSound_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("teacherLines");
        QTest::newRow("no sound server") << QByteArray("PULSE_SERVER")
                                         << "unix:" + m_empty.filePath(QStringLiteral("nobody-here")) << 0;
        QTest::newRow("a hung sound server") << QByteArray("PULSE_SERVER") << QString::fromLocal8Bit(m_hung.address())
                                             << 0;
        QTest::newRow("missing voice data") << QByteArray("ESPEAK_DATA_PATH") << m_empty.path() << 1;
        QTest::newRow("broken voice data") << QByteArray("ESPEAK_DATA_PATH") << m_broken.path() << 1;
    }
    void theWizardGoesOnAndTheProgramNeverWaitsOnSound()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QString, value);
        QFETCH(int, teacherLines);
        QVERIFY(!value.isEmpty());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DECALUMO_SOUND_CHILD"), QStringLiteral("1"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_empty.path());
        env.remove(QStringLiteral("PULSE_SERVER"));
        env.insert(QString::fromLatin1(variable), value);
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForReadyRead(15000));
        QElapsedTimer sinceFigures;
        sinceFigures.start();
        const QList<QByteArray> figures = child.readLine().trimmed().split(' ');
        // The faults held the program for half a minute; two seconds leave room for a busy machine.
        const bool ended = child.waitForFinished(2000);
        const qint64 endMs = sinceFigures.elapsed();
        if (!ended) {
            child.kill();
            child.waitForFinished();
        }
        QVERIFY2(ended, "the program lingers after its last words");
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QVERIFY2(endMs < 2000, qPrintable(QString::number(endMs)));

        QCOMPARE(figures.size(), 4);
        QVERIFY2(figures[0].toLongLong() < 2000, ("a call waited: " + figures[0]).constData());
        QVERIFY2(figures[1].toLongLong() < 2000, ("the event loop stalled: " + figures[1]).constData());
        const qint64 speechMs = figures[2].toLongLong();
        QVERIFY2(speechMs >= 600 && speechMs < 5000, ("the words took " + figures[2]).constData());
        QCOMPARE(figures[3], QByteArray("1"));

        const QStringList teacher = QString::fromLocal8Bit(child.readAllStandardError())
                                        .split(QLatin1Char('\n'))
                                        .filter(QStringLiteral("espeak-ng-data"));
        QCOMPARE(teacher.size(), teacherLines);
        for (const QString &line : teacher)
            QVERIFY2(line.contains(QStringLiteral("voce italiana")), qPrintable(line));
    }

private:
    HungSoundServer m_hung;
    QTemporaryDir m_empty;
    QTemporaryDir m_broken;
};

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("DECALUMO_SOUND_CHILD"))
        return speakInChild(argc, argv);
    QCoreApplication app(argc, argv);
    TestSoundTrouble test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_sound_trouble.moc"
