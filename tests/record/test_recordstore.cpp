#include "Failure.h"
#include "FileBytes.h"
#include "RecordStore.h"

#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace RecordStore;

namespace {

// Every entry below root, hidden ones too, with what it holds or points to.
// Only regular files are opened: opening a named pipe would block.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> entries;
    for (QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();) {
        const QFileInfo info(it.next());
        const QByteArray kind = info.isSymLink() ? "-> " + QFile::encodeName(info.symLinkTarget()) : QByteArray(info.isDir() ? "<folder>" : "<other>");
        entries[info.filePath().mid(root.size())] = info.isFile() && !info.isSymLink() ? bytesOf(info.filePath()) : kind;
    }
    // The lock file means nothing on its own, whoever made it.
    entries.remove(QStringLiteral("/decalumo/quorvanti.lock"));
    return entries;
}

// The record folder as an operation finds it. Tests may run as root, who may
// write anywhere, so most of these break paths, not permissions.
enum State { Intact, FolderIsAFile, ScoreIsAFolder, ScoreIsAPipe, NameIsALink, NameTooBig, NoWriteAccess, Leftovers };
enum Operation { Reading, Creating, Storing, Starting };

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

class TestRecordStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;
    QString dir; // the record folder, inside root, holding Anna's name

private slots:
    void init()
    {
        root = std::make_unique<QTemporaryDir>();
        dir = root->filePath(QStringLiteral("decalumo/"));
        // Root open to all, so that nobody can reach the record.
        QVERIFY(root->isValid() && QDir().mkpath(dir) && ::chmod(QFile::encodeName(root->path()).constData(), 0755) == 0);
        writeBytes(dir + nameFile, "Anna\r\n");
        // The pupil's own file beside the record, which nothing may touch.
        writeBytes(dir + scoreFile + ".bak", "3\r\n");
    }

    // Nothing here changes the folder, the lock file aside, but a start removing
    // what earlier versions left behind: a failure leaves the old pair intact.
    void eachOperationGivesTheRecordExactlyOrFailsLeavingItAsItWas_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QByteArray>("score"); // what the score file holds
        QTest::addColumn<int>("failingSync"); // which call to sync fails, from 1
        QTest::addColumn<QString>("outcome"); // the text read, score|name for a start, or the failure with paths relative to root
        const QByteArray seven("7\r\n");
        const QString theScore = " il file decalumo/" + scoreFile, theName = " il file decalumo/" + nameFile, started = "7\r\n|Anna\r\n";
        const QString notRegular = ": non è un file regolare", notAFolder = ": non è una cartella", diskError = ": errore di lettura o scrittura sul disco";
        const char *doing[] = {"reading", "creating", "storing", "starting"};
        const QString cannot[] = {"Impossibile leggere", "Impossibile aprire", "Impossibile scrivere", "Impossibile aprire"};
        for (const Operation op : {Reading, Creating, Storing, Starting}) {
            // Storing and starting meet a missing folder first, when they take the lock.
            const QString noFolder = op >= Storing ? "Impossibile creare il file decalumo/quorvanti.lock" + notAFolder : cannot[op] + theScore + notAFolder;
            QTest::addRow("%s, a file where the folder should be", doing[op]) << FolderIsAFile << op << seven << 0 << noFolder;
            QTest::addRow("%s, score file is a folder", doing[op]) << ScoreIsAFolder << op << seven << 0 << cannot[op] + theScore + notRegular;
            // A hang here is turned into a failure by the test's TIMEOUT.
            QTest::addRow("%s, score file is a named pipe", doing[op]) << ScoreIsAPipe << op << seven << 0 << cannot[op] + theScore + notRegular;
            QTest::addRow("%s, name file is a link", doing[op]) << NameIsALink << op << seven << 0 << cannot[op] + theName + notRegular;
        }
        QTest::newRow("storing a score only as good as the record") << Intact << Storing << QByteArray("8\r\n") << 0 << "";
        QTest::newRow("storing, name outgrows the file size limit") << NameTooBig << Storing << seven << 0 << cannot[Storing] + theName + ": file troppo grande";
        QTest::newRow("storing, the new score does not reach the disk") << Intact << Storing << seven << 1 << cannot[Storing] + theScore + diskError;
        QTest::newRow("storing, the new name does not reach the disk") << Intact << Storing << seven << 2 << cannot[Storing] + theName + diskError;
        QTest::newRow("storing, the new files' names do not reach the disk") << Intact << Storing << seven << 3 << cannot[Storing] + " la cartella decalumo" + diskError;
        QTest::newRow("storing, the decision to switch does not reach the disk") << Intact << Storing << seven << 4 << cannot[Storing] + " la cartella decalumo" + diskError;
        // Only creating a missing file or storing a record needs write access.
        QTest::newRow("starting without write access") << NoWriteAccess << Starting << seven << 0 << started;
        QTest::newRow("storing without write access") << NoWriteAccess << Storing << seven << 0 << "Impossibile creare il file decalumo/quorvanti.lock: permesso negato";
        QTest::newRow("starting removes only the temporary files of earlier versions") << Leftovers << Starting << seven << 0 << started;
        QTest::newRow("reading an accented name") << Intact << Reading << QByteArray("Niccol\xc3\xb2\r\n") << 0 << QString::fromUtf8("Niccolò\r\n");
        QTest::newRow("reading a NUL") << Intact << Reading << QByteArray("1\0" "2", 3) << 0 << QString::fromUtf16(u"1\u00002", 3);
        QTest::newRow("reading only the first 64 KiB of a huge file") << Intact << Reading << QByteArray("7\r\n").leftJustified(1 << 20, '\0') << 0 << "7\r\n" + QString(64 * 1024 - 3, QChar());
    }
    void eachOperationGivesTheRecordExactlyOrFailsLeavingItAsItWas()
    {
        QFETCH(State, state);
        QFETCH(Operation, operation);
        QFETCH(QByteArray, score);
        QFETCH(int, failingSync);
        QFETCH(QString, outcome);
        const QString path = dir + (state == NameIsALink ? nameFile : scoreFile), elsewhere = root->filePath("elsewhere");
        writeBytes(dir + scoreFile, score);
        QVERIFY(state != FolderIsAFile || (QDir(dir).removeRecursively() && QFile(root->filePath("decalumo")).open(QIODevice::WriteOnly)));
        QVERIFY(state != ScoreIsAFolder || (QFile::remove(path) && QDir().mkdir(path)));
        QVERIFY(state != ScoreIsAPipe || (QFile::remove(path) && ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0));
        QVERIFY(state != NameIsALink || (QFile::rename(path, elsewhere) && QFile::link(elsewhere, path)));
        for (const QString &entry : {dir + scoreFile, dir + nameFile, dir})
            QVERIFY(state != NoWriteAccess || ::chmod(QFile::encodeName(entry).constData(), entry == dir ? 0555 : 0444) == 0);
        const auto expected = snapshot(root->path());
        QVERIFY(state != Leftovers || (QFile(dir + scoreFile + ".Ab12Cd").open(QIODevice::WriteOnly) && QFile(dir + nameFile + ".xY34zW").open(QIODevice::WriteOnly)));
        const auto sync = [syncs = 0, failingSync](int fd) mutable { return ++syncs == failingSync ? (errno = EIO, -1) : ::fsync(fd); };
        // Low enough for the name, not for the score; only the soft limit, as
        // without privileges the hard one never comes back.
        rlimit limit;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit small{64, limit.rlim_max};
        QVERIFY(std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && (state != NameTooBig || setrlimit(RLIMIT_FSIZE, &small) == 0));
        // Root writes anywhere, so then a pupil without write access is played by nobody.
        QVERIFY(state != NoWriteAccess || geteuid() != 0 || ::seteuid(65534) == 0);

        QString got;
        try {
            if (operation == Reading)
                got = Leggifiletxt(path);
            else if (operation == Starting)
                got = [](const Record &record) { return record.score + u'|' + record.name; }(read(dir));
            else
                operation == Creating ? ensureExists(path) : (void)store(dir, "8", QString(200, u'x'), {sync, {}});
        } catch (const Failure &failure) {
            got = QString(failure.message()).remove(root->path() + u'/');
        }

        QCOMPARE(::seteuid(getuid()), 0);
        setrlimit(RLIMIT_FSIZE, &limit);
        ::chmod(QFile::encodeName(dir).constData(), 0755);
        QCOMPARE(got, outcome);
        QCOMPARE(snapshot(root->path()), expected);
    }

    void withoutAnAbsoluteDataFolderTheRecordGoesUnderHome_data()
    {
        QTest::addColumn<QByteArray>("xdgDataHome"); // null unsets it
        QTest::newRow("XDG_DATA_HOME unset") << QByteArray();
        QTest::newRow("XDG_DATA_HOME relative") << QByteArray("xdg");
    }
    void withoutAnAbsoluteDataFolderTheRecordGoesUnderHome()
    {
        QFETCH(QByteArray, xdgDataHome);
        qputenv("HOME", QFile::encodeName(root->filePath("home")));
        xdgDataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdgDataHome);
        QCOMPARE(GetSystemDir(), root->filePath("home/.local/share/decalumo/"));
        QVERIFY(QFileInfo(root->filePath("home/.local/share/decalumo")).isDir());
    }

    void copiesStoringAtOnceKeepTheHighestScoreWithItsOwnName()
    {
        constexpr int copies = 20, storesEach = 50;
        QTemporaryDir folder;
        QStringList scores;
        for (int score = 1; score <= copies * storesEach; ++score)
            scores << QString::number(score);
        std::shuffle(scores.begin(), scores.end(), QRandomGenerator(20261207));
        QProcess running[copies];
        for (int copy = 0; copy < copies; ++copy)
            startStorer(running[copy], folder.path(), QStringLiteral("Copia%1-").arg(copy), scores.mid(copy * storesEach, storesEach));
        // A copy that failed has said why on its standard error. The best score is copies * storesEach.
        for (QProcess &process : running)
            QVERIFY(process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0);
        QCOMPARE(bytesOf(folder.filePath(scoreFile)) + bytesOf(folder.filePath(nameFile)), QStringLiteral("1000\r\nCopia%1-1000\r\n").arg(scores.indexOf("1000") / storesEach).toUtf8());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), settledFolder);
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
            QTemporaryDir folder;
            writeBytes(folder.filePath(scoreFile), old[0].toUtf8());
            writeBytes(folder.filePath(nameFile), old[1].toUtf8());
            QProcess storer;
            startStorer(storer, folder.path(), QStringLiteral("Luca"), {QStringLiteral("6")}, step);
            QVERIFY(storer.waitForFinished(10000));
            killed = storer.exitStatus() == QProcess::CrashExit;
            QVERIFY(killed || storer.exitCode() == 0);

            const QStringList pair = [](const Record &next) { return QStringList{next.score, next.name}; }(read(folder.path()));

            QVERIFY2(pair == QStringList({"6\r\n", "Luca6\r\n"}) || (killed && pair == old), qPrintable(QStringLiteral("killed after step %1: ").arg(step) + pair.join(u'|')));
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), settledFolder);
        }
        // A storer that was never killed proves nothing about being killed.
        QVERIFY(step > 2);
    }
};

QTEST_GUILESS_MAIN(TestRecordStore)
#include "test_recordstore.moc"
