#include "Failure.h"
#include "FileBytes.h"
#include "RecordStore.h"

#include <QDirIterator>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace RecordStore;

namespace {

// Every entry below root, hidden ones too, with its bytes: a failed store
// must leave this unchanged, stray temporary files included.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries[path.mid(root.size())] = it.fileInfo().isDir() ? "<folder>" : bytesOf(path);
    }
    return entries;
}

QString failureOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const Failure &failure) {
        return failure.message();
    }
    return QStringLiteral("<no failure>");
}

enum Breakage { FolderIsAFile, ScoreIsAFolder, NameIsALink, NameTooBig, SyncFails };

} // namespace

class TestRecordStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;
    QString dir; // the record folder, inside root

    void writePair(const QByteArray &score, const QByteArray &name)
    {
        writeBytes(dir + scoreFile, score);
        writeBytes(dir + nameFile, name);
    }

private slots:
    void init()
    {
        root = std::make_unique<QTemporaryDir>();
        QVERIFY(root->isValid());
        dir = root->filePath(QStringLiteral("decalumo/"));
        QVERIFY(QDir().mkpath(dir));
    }
    void cleanup() { root.reset(); }

    void failingStoreLeavesTheOldPairIntact_data()
    {
        QTest::addColumn<int>("breakage");
        QTest::addColumn<int>("failingSync"); // which call to sync fails, from 1
        QTest::addColumn<QString>("failure"); // with the path relative to root
        const QString notRegular = QStringLiteral("non è un file regolare");
        const QString diskError = QStringLiteral("errore di lettura o scrittura sul disco");
        QTest::newRow("a file where the folder should be")
            << int(FolderIsAFile) << 0 << "creare il file decalumo/quorvanti.lock: non è una cartella";
        QTest::newRow("score file is a folder") << int(ScoreIsAFolder) << 0 << "scrivere il file decalumo/" + scoreFile + ": " + notRegular;
        QTest::newRow("name file is a link") << int(NameIsALink) << 0 << "scrivere il file decalumo/" + nameFile + ": " + notRegular;
        QTest::newRow("name outgrows the file size limit") << int(NameTooBig) << 0 << "scrivere il file decalumo/" + nameFile + ": file troppo grande";
        QTest::newRow("the new score does not reach the disk") << int(SyncFails) << 1 << "scrivere il file decalumo/" + scoreFile + ": " + diskError;
        QTest::newRow("the new files' names do not reach the disk") << int(SyncFails) << 3 << "scrivere la cartella decalumo: " + diskError;
        QTest::newRow("the decision to switch does not reach the disk") << int(SyncFails) << 4 << "scrivere la cartella decalumo: " + diskError;
    }
    void failingStoreLeavesTheOldPairIntact()
    {
        QFETCH(int, breakage);
        QFETCH(int, failingSync);
        QFETCH(QString, failure);
        writePair("5\r\n", "Anna\r\n");
        // Tests may run as root, who may write anywhere: break paths, not permissions.
        if (breakage == FolderIsAFile) {
            QVERIFY(QDir(dir).removeRecursively());
            writeBytes(root->filePath("decalumo"), "not a folder");
        }
        if (breakage == ScoreIsAFolder)
            QVERIFY(QFile::remove(dir + scoreFile) && QDir().mkdir(dir + scoreFile));
        if (breakage == NameIsALink) {
            writeBytes(root->filePath("elsewhere"), "Bruno\r\n");
            QVERIFY(QFile::remove(dir + nameFile) && QFile::link(root->filePath("elsewhere"), dir + nameFile));
        }
        auto expected = snapshot(root->path());
        if (breakage != FolderIsAFile)
            expected[QStringLiteral("/decalumo/quorvanti.lock")] = "";
        int syncs = 0;
        const auto sync = [&](int fd) {
            if (++syncs != failingSync)
                return ::fsync(fd);
            errno = EIO;
            return -1;
        };
        // The name outgrows the limit, while the score and the old pair fit.
        rlimit oldLimit;
        getrlimit(RLIMIT_FSIZE, &oldLimit);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (breakage == NameTooBig) {
            // Only the soft limit: without privileges the hard one never comes back.
            const rlimit small{64, oldLimit.rlim_max};
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        }

        const QString message = failureOf([&] { store(dir, "6", QString(200, u'x'), {sync, {}}); });

        setrlimit(RLIMIT_FSIZE, &oldLimit);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(snapshot(root->path()), expected);
        QCOMPARE(message, "Impossibile " + failure.replace(QStringLiteral(" decalumo"), " " + root->path() + "/decalumo"));
    }

    void readsTheTextBackExactly_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size"); // grown to, with zeros
        QTest::addColumn<QString>("text");
        QTest::newRow("accented") << QByteArray("Niccol\xc3\xb2\r\n") << 0ll << QString::fromUtf8("Niccolò\r\n");
        QTest::newRow("NUL kept") << QByteArray("1\0" "2", 3) << 0ll << QString::fromUtf16(u"1\u00002", 3);
        QTest::newRow("stray continuation byte") << QByteArray("a\x80z") << 0ll << QString::fromUtf16(u"a\uFFFDz");
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << 0ll << QString::fromUtf16(u"\uFFFD\uFFFD\uFFFD");
        QTest::newRow("only the first 64 KiB of a huge file") << QByteArray("7\r\n") << 100ll * 1024 * 1024 << "7\r\n" + QString(64 * 1024 - 3, QChar());
    }
    void readsTheTextBackExactly()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(QString, text);
        writeBytes(dir + scoreFile, bytes);
        QVERIFY(size == 0 || QFile::resize(dir + scoreFile, size));
        QCOMPARE(Leggifiletxt(dir + scoreFile), text);
    }

    // The test's TIMEOUT turns a hang on the pipe into a failure.
    void refusesAnythingButARegularFile_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::addColumn<QString>("kind");
        for (const bool reading : {true, false})
            for (const char *kind : {"folder", "named pipe", "link to a file elsewhere"})
                QTest::addRow("%s a %s", reading ? "reading" : "creating", kind) << reading << QString::fromLatin1(kind);
    }
    void refusesAnythingButARegularFile()
    {
        QFETCH(bool, reading);
        QFETCH(QString, kind);
        const QString path = dir + scoreFile;
        if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (kind == "named pipe")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else {
            writeBytes(root->filePath("elsewhere"), "7\r\n");
            QVERIFY(QFile::link(root->filePath("elsewhere"), path));
        }

        const QString message = failureOf([&] { reading ? (void)Leggifiletxt(path) : ensureExists(path); });

        QCOMPARE(message, QStringLiteral("Impossibile %1 il file %2: non è un file regolare")
                              .arg(reading ? "leggere" : "aprire", path));
    }

    // Only creating a missing file or storing a record needs write access.
    void aReadOnlyPairIsEnoughToPlay()
    {
        writePair("7\r\n", "Anna\r\n");
        for (const QString &file : {scoreFile, nameFile})
            QCOMPARE(::chmod(QFile::encodeName(dir + file).constData(), 0444), 0);
        QCOMPARE(::chmod(QFile::encodeName(dir).constData(), 0555), 0);
        QCOMPARE(::chmod(QFile::encodeName(root->path()).constData(), 0755), 0);
        const auto expected = snapshot(root->path());

        // Root writes anywhere: the pair is read by a child that gives up its privileges.
        const pid_t child = fork();
        if (child == 0) {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                _exit(3);
            try {
                const Record record = read(dir);
                _exit(record.score == "7\r\n" && record.name == "Anna\r\n" ? 0 : 2);
            } catch (const Failure &failure) {
                std::fprintf(stderr, "%s\n", failure.what());
            }
            _exit(1);
        }
        int status = -1;
        QCOMPARE(waitpid(child, &status, 0), child);
        ::chmod(QFile::encodeName(dir).constData(), 0755);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(snapshot(root->path()), expected);
    }

    void startUpRemovesOnlyTheTemporaryFilesOfEarlierVersions()
    {
        writePair("7\r\n", "Anna\r\n");
        writeBytes(dir + scoreFile + ".Ab12Cd", "9\r\n");
        writeBytes(dir + nameFile + ".xY34zW", "Bruno\r\n");
        writeBytes(dir + scoreFile + ".bak", "3\r\n");

        const Record record = read(dir);

        QVERIFY(record.score == "7\r\n" && record.name == "Anna\r\n");
        QCOMPARE(QDir(dir).entryList(QDir::Files, QDir::Name),
                 (QStringList{scoreFile, scoreFile + ".bak", nameFile, "quorvanti.lock"}));
    }

    void findsTheRecordFolderAndCreatesIt_data()
    {
        QTest::addColumn<QByteArray>("xdgDataHome"); // null unsets it; "/…" lies in root
        QTest::addColumn<QString>("expected");       // relative to root
        QTest::newRow("XDG_DATA_HOME set") << QByteArray("/xdg") << "/xdg/decalumo/";
        QTest::newRow("XDG_DATA_HOME unset") << QByteArray() << "/home/.local/share/decalumo/";
        QTest::newRow("XDG_DATA_HOME relative") << QByteArray("xdg") << "/home/.local/share/decalumo/";
    }
    void findsTheRecordFolderAndCreatesIt()
    {
        QFETCH(QByteArray, xdgDataHome);
        QFETCH(QString, expected);
        const auto restore = qScopeGuard([home = qgetenv("HOME"), xdg = qgetenv("XDG_DATA_HOME")] {
            qputenv("HOME", home);
            xdg.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdg);
        });
        qputenv("HOME", QFile::encodeName(root->filePath("home")));
        xdgDataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdgDataHome.startsWith('/') ? QFile::encodeName(root->path()) + xdgDataHome : xdgDataHome);

        const QString found = GetSystemDir();

        QCOMPARE(found, root->path() + expected);
        QVERIFY(QFileInfo(found).isDir());
    }
};

QTEST_APPLESS_MAIN(TestRecordStore)
#include "test_recordstore.moc"
