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

// Real processes, so that the lock and the kills are the system's own. The
// copy stores each score in turn under the name prefix followed by the score,
// and kills itself right after step killAt of its first store, if above 0.
void startStorer(QProcess &process, const QString &dir, const QString &prefix, const QStringList &scores, int killAt = 0)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(STORER), QStringList{QString::number(killAt), dir, prefix} + scores);
}

} // namespace

class TestRecordPair : public QObject
{
    Q_OBJECT

private slots:
    void copiesStoringAtOnceKeepTheHighestScoreWithItsOwnName()
    {
        constexpr int copies = 20, storesEach = 50;
        QTemporaryDir dir;
        QStringList scores;
        for (int score = 1; score <= copies * storesEach; ++score)
            scores << QString::number(score);
        std::shuffle(scores.begin(), scores.end(), QRandomGenerator(20261207));
        QProcess running[copies];
        for (int copy = 0; copy < copies; ++copy)
            startStorer(running[copy], dir.path(), QStringLiteral("Copia%1-").arg(copy), scores.mid(copy * storesEach, storesEach));
        // A copy that failed has said why on its standard error. The best score is copies * storesEach.
        for (QProcess &process : running)
            QVERIFY(process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0);
        QCOMPARE(bytesOf(dir.filePath(scoreFile)) + bytesOf(dir.filePath(nameFile)), QStringLiteral("1000\r\nCopia%1-1000\r\n").arg(scores.indexOf("1000") / storesEach).toUtf8());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), settledFolder);
    }

    void aStoreKilledAtAnyStepLeavesAWholePairAfterTheNextStart_data()
    {
        QTest::addColumn<QStringList>("old"); // score and name
        QTest::newRow("over a record") << QStringList{"5\r\n", "Anna\r\n"};
        QTest::newRow("over the empty pair of a first run") << QStringList{"", ""};
    }
    void aStoreKilledAtAnyStepLeavesAWholePairAfterTheNextStart()
    {
        QFETCH(QStringList, old);
        int step = 1;
        for (bool killed = true; killed; ++step) {
            QTemporaryDir dir;
            writeBytes(dir.filePath(scoreFile), old[0].toUtf8());
            writeBytes(dir.filePath(nameFile), old[1].toUtf8());
            QProcess storer;
            startStorer(storer, dir.path(), QStringLiteral("Luca"), {QStringLiteral("6")}, step);
            QVERIFY(storer.waitForFinished(10000));
            killed = storer.exitStatus() == QProcess::CrashExit;
            QVERIFY(killed || storer.exitCode() == 0);

            const QStringList pair = [](const Record &next) { return QStringList{next.score, next.name}; }(read(dir.path()));

            QVERIFY2(pair == QStringList({"6\r\n", "Luca6\r\n"}) || (killed && pair == old), qPrintable(QStringLiteral("killed after step %1: ").arg(step) + pair.join(u'|')));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), settledFolder);
        }
        // A storer that was never killed proves nothing about being killed.
        QVERIFY(step > 2);
    }
};

QTEST_GUILESS_MAIN(TestRecordPair)
#include "test_recordpair.moc"
