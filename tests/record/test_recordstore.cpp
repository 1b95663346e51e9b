#include "Failure.h"
#include "FileBytes.h"
#include "RecordStore.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cfloat>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

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

// Sets an environment variable, or unsets it for a null value, until the end
// of the scope, however the test leaves it.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name), m_old(qgetenv(name)), m_wasSet(qEnvironmentVariableIsSet(name))
    {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~ScopedEnv() { m_wasSet ? qputenv(m_name, m_old) : qunsetenv(m_name); }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_wasSet;
};

enum Breakage { FolderIsAFile, ScoreIsAFolder, NameIsAFolder, NameTooBig, NameBecomesAFolder };

} // namespace

class TestRecordStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;
    QString dir; // the record folder, inside root

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
        QTest::addColumn<bool>("oldPair");
        QTest::addColumn<QString>("failingPath");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a file where the folder should be") << int(FolderIsAFile) << false
                                                           << "decalumo/" + scoreFile << "non è una cartella";
        QTest::newRow("score file is a folder") << int(ScoreIsAFolder) << true << "decalumo/" + scoreFile
                                                << "non è un file regolare";
        QTest::newRow("name file is a folder") << int(NameIsAFolder) << true << "decalumo/" + nameFile
                                               << "non è un file regolare";
        QTest::newRow("name outgrows the file size limit") << int(NameTooBig) << true << "decalumo/" + nameFile
                                                           << "file troppo grande";
        QTest::newRow("name file becomes a folder after the score is in")
            << int(NameBecomesAFolder) << true << "decalumo/" + nameFile << "è una cartella";
        QTest::newRow("same, on a first run") << int(NameBecomesAFolder) << false << "decalumo/" + nameFile
                                              << "è una cartella";
    }
    void failingStoreLeavesTheOldPairIntact()
    {
        QFETCH(int, breakage);
        QFETCH(bool, oldPair);
        QFETCH(QString, failingPath);
        QFETCH(QString, reason);
        if (oldPair) {
            writeBytes(dir + scoreFile, "5\r\n");
            writeBytes(dir + nameFile, "Anna\r\n");
        }
        // Tests may run as root, who may write anywhere: break paths, not permissions.
        if (breakage == FolderIsAFile) {
            QVERIFY(QDir(dir).removeRecursively());
            writeBytes(root->filePath("decalumo"), "not a folder");
        }
        if (breakage == ScoreIsAFolder)
            QVERIFY(QFile::remove(dir + scoreFile) && QDir().mkdir(dir + scoreFile));
        if (breakage == NameIsAFolder)
            QVERIFY(QFile::remove(dir + nameFile) && QDir().mkdir(dir + nameFile));
        auto expected = snapshot(root->path());
        std::function<void()> betweenFiles;
        if (breakage == NameBecomesAFolder) {
            betweenFiles = [&] {
                QFile::remove(dir + nameFile);
                QDir().mkdir(dir + nameFile);
            };
            expected[QStringLiteral("/decalumo/") + nameFile] = "<folder>";
        }
        // The name outgrows the limit, while the score and the old pair fit.
        rlimit oldLimit;
        getrlimit(RLIMIT_FSIZE, &oldLimit);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (breakage == NameTooBig) {
            // Only the soft limit: without privileges the hard one never comes back.
            const rlimit small{64, oldLimit.rlim_max};
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        }

        const QString message = failureOf([&] { store(dir, "6", QString(200, u'x'), betweenFiles); });

        setrlimit(RLIMIT_FSIZE, &oldLimit);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(snapshot(root->path()), expected);
        QCOMPARE(message, "Impossibile scrivere il file " + root->filePath(failingPath) + ": " + reason);
    }

    void readsTheNumberTheTextBeginsWith_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("stored score") << "7\r\n" << 7.0;
        QTest::newRow("empty first run") << "" << 0.0;
        QTest::newRow("letters only") << "abc" << 0.0;
        QTest::newRow("leading blanks, trailing letters") << "  12abc" << 12.0;
        QTest::newRow("negative") << "-3" << -3.0;
        QTest::newRow("exponent") << "1.5e2" << 150.0;
        QTest::newRow("D exponent, negative") << "25D-1" << 2.5;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("blanks, tabs, line feeds inside") << "\t1 2\n3" << 123.0;
        QTest::newRow("CR stops") << "1\r2" << 1.0;
        QTest::newRow("two signs") << "+-3" << 0.0;
        QTest::newRow("non-ASCII digits are not digits") << QString::fromUtf8("٣") << 0.0;
        QTest::newRow("long run of digits") << QString(100000, u'9') << DBL_MAX;
        QTest::newRow("huge exponent") << "1e99999999999999999999" << DBL_MAX;
        QTest::newRow("many zeros after the point") << "0." + QString(5000, u'0') + "1" << 0.0;
    }
    void readsTheNumberTheTextBeginsWith()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(leadingNumber(text), value);
    }

    void readsTheTextBackExactly_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("accented") << QByteArray("Niccol\xc3\xb2\r\n") << QString::fromUtf8("Niccolò\r\n");
        QTest::newRow("NUL kept") << QByteArray("1\0" "2", 3) << QString::fromUtf16(u"1\u00002", 3);
        QTest::newRow("stray continuation byte") << QByteArray("a\x80z") << QString::fromUtf16(u"a\uFFFDz");
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << QString::fromUtf16(u"\uFFFD\uFFFD\uFFFD");
    }
    void readsTheTextBackExactly()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        writeBytes(dir + scoreFile, bytes);
        QCOMPARE(Leggifiletxt(dir + scoreFile), text);
    }

    void readsOnlyTheFirst64KiBOfAHugeFile()
    {
        const QString path = dir + scoreFile;
        writeBytes(path, "7\r\n");
        QFile file(path);
        QVERIFY(file.resize(100 * 1024 * 1024));

        const QString text = Leggifiletxt(path);

        QCOMPARE(text.size(), 64 * 1024);
        QVERIFY(text.startsWith(QStringLiteral("7\r\n")));
    }

    // The test's TIMEOUT turns a hang on the pipe into a failure.
    void refusesAnythingButARegularFile_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::addColumn<QString>("kind");
        for (const bool reading : {true, false}) {
            const char *operation = reading ? "reading" : "creating";
            for (const char *kind : {"folder", "named pipe", "device"})
                QTest::addRow("%s a %s", operation, kind) << reading << QString::fromLatin1(kind);
        }
    }
    void refusesAnythingButARegularFile()
    {
        QFETCH(bool, reading);
        QFETCH(QString, kind);
        QString path = dir + scoreFile;
        if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (kind == "named pipe")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            path = QStringLiteral("/dev/zero");

        const QString message = failureOf([&] { reading ? (void)Leggifiletxt(path) : ensureExists(path); });

        QCOMPARE(message, QStringLiteral("Impossibile %1 il file %2: non è un file regolare")
                              .arg(reading ? "leggere" : "aprire", path));
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
        const ScopedEnv home("HOME", QFile::encodeName(root->filePath("home")));
        const ScopedEnv xdg("XDG_DATA_HOME", xdgDataHome.startsWith('/')
                                                 ? QFile::encodeName(root->path()) + xdgDataHome
                                                 : xdgDataHome);

        const QString found = GetSystemDir();

        QCOMPARE(found, root->path() + expected);
        QVERIFY(QFileInfo(found).isDir());
    }
};

QTEST_APPLESS_MAIN(TestRecordStore)
#include "test_recordstore.moc"
