#include "FileBytes.h"
#include "RecordStore.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace RecordStore;

namespace {

// The record folder holds the pair and the lock, and nothing half-done.
const QStringList settledFolder = {scoreFile, nameFile, QStringLiteral("quorvanti.lock")};

// A copy of the program leaving with each score in turn; it stores a score
// under the name prefix followed by the score.
void startStorer(QProcess &process, const QString &dir, const QString &prefix, const QStringList &scores, int killAt = 0)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DECALUMO_TEST_KILL_AT_STEP"), QString::number(killAt));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(STORER), QStringList{dir, prefix} + scores);
}

} // namespace

class TestRecordPair : public QObject
{
    Q_OBJECT

private slots:
    void copiesStoringAtOnceKeepTheHighestScoreWithItsOwnName()
    {
        constexpr int copies = 20;
        constexpr int storesEach = 50;
        QTemporaryDir root;
        const QString dir = root.path() + u'/';
        QStringList scores;
        for (int score = 1; score <= copies * storesEach; ++score)
            scores << QString::number(score);
        QRandomGenerator random(20261207);
        std::shuffle(scores.begin(), scores.end(), random);

        std::vector<std::unique_ptr<QProcess>> running;
        for (int copy = 0; copy < copies; ++copy) {
            running.push_back(std::make_unique<QProcess>());
            startStorer(*running.back(), dir, QStringLiteral("Copia%1-").arg(copy), scores.mid(copy * storesEach, storesEach));
        }
        for (const auto &process : running) {
            QVERIFY(process->waitForFinished(30000));
            QCOMPARE(process->exitStatus(), QProcess::NormalExit);
            QCOMPARE(process->exitCode(), 0);
        }

        const qsizetype best = scores.indexOf(QString::number(copies * storesEach));
        QCOMPARE(bytesOf(dir + scoreFile), QByteArray::number(copies * storesEach) + "\r\n");
        QCOMPARE(bytesOf(dir + nameFile), QStringLiteral("Copia%1-%2\r\n").arg(best / storesEach).arg(copies * storesEach).toUtf8());
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), settledFolder);
    }

    void aStoreKilledAtAnyStepLeavesAWholePairAfterTheNextStart_data()
    {
        QTest::addColumn<QByteArray>("oldScore"); // null: no files yet
        QTest::addColumn<QByteArray>("oldName");
        QTest::newRow("over a record") << QByteArray("5\r\n") << QByteArray("Anna\r\n");
        QTest::newRow("on a first run") << QByteArray() << QByteArray();
    }
    void aStoreKilledAtAnyStepLeavesAWholePairAfterTheNextStart()
    {
        QFETCH(QByteArray, oldScore);
        QFETCH(QByteArray, oldName);
        int step = 1;
        for (bool killed = true; killed; ++step) {
            QTemporaryDir root;
            const QString dir = root.path() + u'/';
            if (!oldScore.isNull()) {
                writeBytes(dir + scoreFile, oldScore);
                writeBytes(dir + nameFile, oldName);
            }
            QProcess storer;
            startStorer(storer, dir, QStringLiteral("Luca"), {QStringLiteral("6")}, step);
            QVERIFY(storer.waitForFinished(10000));
            killed = storer.exitStatus() == QProcess::CrashExit;
            QVERIFY(killed || storer.exitCode() == 0);

            const Record next = read(dir);

            const bool wholeOld = next.score.toUtf8() == oldScore && next.name.toUtf8() == oldName;
            const bool wholeNew = next.score == "6\r\n" && next.name == "Luca6\r\n";
            QVERIFY2(wholeOld || wholeNew, qPrintable(QStringLiteral("killed after step %1: %2 / %3").arg(step).arg(next.score, next.name)));
            QVERIFY(killed || wholeNew);
            QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), settledFolder);
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordPair)
#include "test_recordpair.moc"
