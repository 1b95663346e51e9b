#include "ContestFile.h"
#include "ContestWriter.h"
#include "Csv.h"
#include "FileBytes.h"
#include "Measures.h"
#include "ResultsFolder.h"

#include <QProcess>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <sys/stat.h>

namespace {

QDateTime at(int day, int offsetMinutes = 60) { return QDateTime(QDate(2026, 3, 1).addDays(day), QTime(9, 30, 15), QTimeZone(offsetMinutes * 60)); }

// "R2500 W800 E0": one answer each, right, wrong or empty, with its time; all of 10 x 4.
Contest contest(const QString &id, const QString &pupil, const QDateTime &start, const QString &answers = {})
{
    Contest c{id, pupil, QStringLiteral("pc-1"), start, 61500, Ending::Exit, {}};
    for (const QString &a : answers.split(u' ', Qt::SkipEmptyParts))
        c.answers.append(Answer{int(c.answers.size()) + 1, 4, a.front() == u'R' ? "40" : a.front() == u'W' ? "41" : "", a.front() == u'R', a.mid(1).toLongLong()});
    return c;
}

QString described(const Contest &c)
{
    QString s = QStringList{c.id, c.pupil, c.computer, isoWithOffset(c.start), QString::number(c.durationMs), c.ending ? endingName(c.ending) : "-"}.join('|');
    for (const Answer &a : c.answers)
        s += QStringLiteral("|%1 %2 %3 %4 %5").arg(a.n).arg(a.factor).arg(a.typed).arg(a.right).arg(a.timeMs);
    return s;
}

QString folderIn(const QTemporaryDir &dir) { return dir.path() + "/decalumo/risultati"; }

// Each contest found, with its answers and how many copies of it, then each file skipped and why.
QStringList gathered(const QString &root)
{
    const ResultsFolder::Found found = ResultsFolder::gather({root});
    QStringList seen;
    for (const Contest &c : found.contests)
        seen << QStringLiteral("%1 %2 x%3").arg(c.id).arg(c.answers.size()).arg(found.files.value(c.id).size());
    for (const ResultsFolder::Skipped &s : found.skipped)
        seen << s.path.mid(root.size()) + ": " + s.reason;
    return seen;
}

} // namespace

class TestResults : public QObject
{
    Q_OBJECT

private slots:
    void aContestWrittenIsReadBackAsItWas_data()
    {
        QTest::addColumn<QString>("pupil");
        QTest::addColumn<int>("ending"); // -1: cut short without one
        QTest::addColumn<int>("offsetMinutes");
        QTest::newRow("time up") << "Amico" << int(Ending::TimeUp) << 60;
        QTest::newRow("Exit, west of Greenwich") << "Luca" << int(Ending::Exit) << -330;
        QTest::newRow("close box, at Greenwich") << "Luca" << int(Ending::CloseBox) << 0;
        QTest::newRow("interrupted") << "Luca" << int(Ending::Interrupted) << 120;
        QTest::newRow("cut short") << "Luca" << -1 << 60;
        QTest::newRow("quotes, controls, a letter beyond 16 bits, a thousand more") << "Nic\"col\tò\x01 😀" + QString(1000, u'a') << int(Ending::Exit) << 60;
    }
    void aContestWrittenIsReadBackAsItWas()
    {
        QFETCH(QString, pupil);
        QFETCH(int, ending);
        QFETCH(int, offsetMinutes);
        QTemporaryDir dir;
        Contest c = contest(ResultsFolder::newId(at(0), "pc-1"), pupil, at(0, offsetMinutes), "R2500 W0 R3001 E7");
        c.ending = ending < 0 ? std::nullopt : std::optional(Ending(ending));
        ContestFile::write(folderIn(dir), c);
        const ContestFile::Read read = ContestFile::read(folderIn(dir) + '/' + ContestFile::fileName(c.id));
        QCOMPARE(read.contest ? described(*read.contest) : read.problem, described(c));
    }

    void aFileThatIsNoContestIsSkippedWithItsReasonAndTheRestIsRead_data()
    {
        QTest::addColumn<QString>("kind"); // "bytes", or what else takes the file's place
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray good = ContestFile::encode(contest("bad", "Luca", at(1), "R2500 W800"));
        const auto changed = [&good](const char *from, const char *to) { return QByteArray(good).replace(from, to); };
        QTest::newRow("damaged") << "bytes" << changed("\"alunno\":", "\"alunno\"!") << "file danneggiato";
        QTest::newRow("cut short") << "bytes" << good.left(good.size() / 2) << "file troncato";
        QTest::newRow("empty") << "bytes" << QByteArray() << "file vuoto";
        QTest::newRow("over 1 MiB") << "bytes" << good.trimmed() + QByteArray(ContestFile::maxBytes, ' ') << "più grande di 1 MiB";
        QTest::newRow("another program's JSON") << "bytes" << changed("decalumo/sfida", "altro") << "non è un file di Decalumo";
        QTest::newRow("a newer version") << "bytes" << changed("\"versione\":1", "\"versione\":2") << "scritto da una versione più recente di Decalumo";
        QTest::newRow("answers out of order") << "bytes" << changed("[2,4,", "[3,4,") << "file danneggiato: risposta non valida";
        QTest::newRow("a factor beyond 10") << "bytes" << changed("[1,4,", "[1,11,") << "file danneggiato: risposta non valida";
        QTest::newRow("a negative time") << "bytes" << changed(",800]", ",-800]") << "file danneggiato: risposta non valida";
        QTest::newRow("a start without its offset") << "bytes" << changed(":15+01:00", ":15") << "file danneggiato: data d'inizio non valida";
        QTest::newRow("an unknown ending") << "bytes" << changed("uscita", "fuga") << "file danneggiato: fine non valida";
        QTest::newRow("a link to a contest") << "link" << good << "è un collegamento, non seguito";
        QTest::newRow("a folder") << "folder" << good << "è una cartella";
        QTest::newRow("a named pipe") << "fifo" << good << "non è un file regolare";
    }
    void aFileThatIsNoContestIsSkippedWithItsReasonAndTheRestIsRead()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        ContestFile::write(folderIn(dir), contest("good", "Anna", at(0), "R1"));
        const QString bad = folderIn(dir) + "/bad.json";
        if (kind == "bytes")
            writeBytes(bad, bytes);
        else if (kind == "link")
            QVERIFY(QFile::link(folderIn(dir) + "/good.json", bad));
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(bad));
        else
            QCOMPARE(::mkfifo(QFile::encodeName(bad).constData(), 0600), 0);
        QCOMPARE(gathered(dir.path()), (QStringList{"good 1 x1", "/decalumo/risultati/bad.json: " + reason}));
    }

    void gatheringFindsResultsFoldersSixLevelsDownFollowsNoLinkAndCountsACopyOnce_data()
    {
        QTest::addColumn<QString>("place"); // where a copy of the root's own contest is
        QTest::addColumn<bool>("found");
        QTest::newRow("six levels down") << "a/b/c/d/decalumo/risultati" << true;
        QTest::newRow("seven levels down") << "a/b/c/d/e/decalumo/risultati" << false;
        QTest::newRow("a home's hidden data folder") << "luca/.local/share/decalumo/risultati" << true;
        QTest::newRow("through a link") << "link/decalumo/risultati" << false;
        QTest::newRow("not named risultati") << "decalumo/altro" << false;
    }
    void gatheringFindsResultsFoldersSixLevelsDownFollowsNoLinkAndCountsACopyOnce()
    {
        QFETCH(QString, place);
        QFETCH(bool, found);
        QTemporaryDir root, elsewhere;
        QVERIFY(QFile::link(elsewhere.path(), root.path() + "/link"));
        const Contest c = contest("id-1", "Anna", at(0), "R1");
        ContestFile::write(place.startsWith("link/") ? elsewhere.path() + place.mid(4) : root.path() + '/' + place, c);
        ContestFile::write(folderIn(root), c);
        // A write cut short leaves its temporary file, which is no one's business.
        writeBytes(folderIn(root) + "/.id-2.json.part", "{");
        QCOMPARE(gathered(root.path()), QStringList{found ? "id-1 1 x2" : "id-1 1 x1"});
        // Deleting the pupil deletes every copy found, and nothing else.
        QVERIFY(ResultsFolder::removePupil(ResultsFolder::gather({root.path()}), " anna").isEmpty());
        QCOMPARE(gathered(root.path()) + gathered(elsewhere.path()), QStringList(found ? 0 : place.startsWith("link/"), "id-1 1 x1"));
    }

    void theFactGridCountsEveryTryAndCallsAFactSureWhenTwoOfItsLastThreeWereRightWithin3s_data()
    {
        QTest::addColumn<QString>("tries"); // of 10 x 4, the oldest first, one contest each
        QTest::addColumn<QString>("fact");  // tries, right, share right, median time, sure
        QTest::newRow("never asked") << "" << "0 0 - - no";
        QTest::newRow("one quick try is not enough") << "R100" << "1 1 1 100 no";
        QTest::newRow("two right in exactly 3 s") << "R3000 R3000" << "2 2 1 3000 sure";
        QTest::newRow("3001 ms is too slow") << "R3001 R100" << "2 2 1 1550 no";
        QTest::newRow("two of the last three") << "W100 R100 R2999" << "3 2 0.67 100 sure";
        QTest::newRow("older quick tries do not count") << "R100 R100 W100 R100 W100" << "5 3 0.6 100 no";
        QTest::newRow("quick wrong tries do not count") << "W100 W100 R100" << "3 1 0.33 100 no";
        QTest::newRow("the median of an even count") << "R1000 W2000 R3000 W10000" << "4 2 0.5 2500 no";
    }
    void theFactGridCountsEveryTryAndCallsAFactSureWhenTwoOfItsLastThreeWereRightWithin3s()
    {
        QFETCH(QString, tries);
        QFETCH(QString, fact);
        const QStringList each = tries.split(u' ', Qt::SkipEmptyParts);
        // Handed over the newest first: the grid goes by the start.
        QList<Contest> contests;
        for (qsizetype i = each.size() - 1; i >= 0; --i)
            contests << contest(QString::number(i), "Anna", at(int(i)), each[i]);
        const Measures::Fact f = Measures::facts(contests).at(3);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5").arg(f.tries).arg(f.right)
                     .arg(f.shareRight ? QString::number(*f.shareRight, 'g', 2) : "-", f.medianMs ? QString::number(*f.medianMs) : "-", f.sure ? "sure" : "no"),
                 fact);
    }

    void aCsvFieldIsQuotedAsRfc4180SaysAndNeverRunsAsAFormula_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("separator") << "a;b" << "\"a;b\"";
        QTest::newRow("quote") << "il \"mago\"" << "\"il \"\"mago\"\"\"";
        QTest::newRow("=") << "=1+1" << "'=1+1";
        QTest::newRow("carriage return") << "\rx" << "\"'\rx\"";
    }
    void aCsvFieldIsQuotedAsRfc4180SaysAndNeverRunsAsAFormula()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(Csv::field(text), field);
    }

    void theExportsHaveOneRowPerAnswerAndOnePerContest()
    {
        Contest c = contest("x", "=Anna; B", at(0, -300), "R2500 W800");
        c.durationMs = 419500;
        c.answers[1].typed = "-41";
        Contest cut = contest("y", "Luca", at(1), "");
        cut.ending.reset();
        QCOMPARE(QString::fromUtf8(Csv::risposte({c, cut})),
                 "alunno;inizio;computer;n;fattore;risposta;esatta;tempo_ms\r\n"
                 "\"'=Anna; B\";2026-03-01T09:30:15-05:00;pc-1;1;4;40;1;2500\r\n"
                 "\"'=Anna; B\";2026-03-01T09:30:15-05:00;pc-1;2;4;'-41;0;800\r\n");
        QCOMPARE(QString::fromUtf8(Csv::sfide({c, cut})),
                 "alunno;inizio;computer;durata_s;esatte;errate;totali;fine\r\n"
                 "\"'=Anna; B\";2026-03-01T09:30:15-05:00;pc-1;420;1;1;2;uscita\r\n"
                 "Luca;2026-03-02T09:30:15+01:00;pc-1;62;0;0;0;interrotta\r\n");
    }

    void writersKilledAtAnyStepOrSideBySideLeaveOnlyWholeContests_data()
    {
        QTest::addColumn<int>("writers");
        QTest::addColumn<int>("contests"); // each
        QTest::addColumn<int>("answers");  // versions of each contest, the last one killed
        QTest::addColumn<int>("killAt");
        QTest::addColumn<QStringList>("left");
        for (int step = 1; step <= 4; ++step) {
            // Steps 3 and 4 come after the rename, which decides.
            QTest::addRow("first write, killed after step %d", step) << 1 << 1 << 1 << step << (step < 3 ? QStringList() : QStringList{"w0-0 1 x1"});
            QTest::addRow("rewrite, killed after step %d", step) << 1 << 1 << 5 << step << QStringList{step < 3 ? "w0-0 4 x1" : "w0-0 5 x1"};
        }
        QStringList all;
        for (int i = 0; i < 80; ++i)
            all << QStringLiteral("w%1-%2 5 x1").arg(i % 2).arg(i / 2);
        QTest::newRow("two copies in one home keep all their contests") << 2 << 40 << 5 << 0 << all;
    }
    void writersKilledAtAnyStepOrSideBySideLeaveOnlyWholeContests()
    {
        QFETCH(int, writers);
        QFETCH(int, contests);
        QFETCH(int, answers);
        QFETCH(int, killAt);
        QFETCH(QStringList, left);
        QTemporaryDir dir;
        QProcess running[2];
        for (int i = 0; i < writers; ++i)
            running[i].start(WRITER, {folderIn(dir), QStringLiteral("w%1-").arg(i), QString::number(contests), QString::number(answers), QString::number(killAt)});
        for (int i = 0; i < writers; ++i)
            QVERIFY(running[i].waitForFinished(60000) && running[i].exitStatus() == (killAt ? QProcess::CrashExit : QProcess::NormalExit));
        QStringList seen = gathered(dir.path());
        seen.sort();
        left.sort();
        QCOMPARE(seen, left);
    }

    void theWriterWritesOnlyTheLatestContestAndTellsWhyItCouldNotKeepIt_data()
    {
        QTest::addColumn<bool>("hangs");
        QTest::addColumn<QString>("folder"); // below a temporary folder
        QTest::addColumn<QString>("problem");
        QTest::newRow("written") << false << "/decalumo/risultati" << QString();
        QTest::newRow("the folder is a file") << false << "/file/risultati" << "Impossibile conservare la sfida nella cartella DIR/file/risultati: non è una cartella";
        QTest::newRow("the folder hangs") << true << "/decalumo/risultati" << "Impossibile conservare la sfida nella cartella DIR/decalumo/risultati: la cartella non risponde";
    }
    void theWriterWritesOnlyTheLatestContestAndTellsWhyItCouldNotKeepIt()
    {
        QFETCH(bool, hangs);
        QFETCH(QString, folder);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        writeBytes(dir.path() + "/file", "a file");
        QSemaphore started, release;
        {
            ContestWriter writer(dir.path() + folder, [&](const QString &f, const Contest &c) {
                started.release();
                release.acquire();
                ContestFile::write(f, c);
            });
            writer.keep(contest("1", "Anna", at(0)));
            started.acquire();
            // Kept while the first is being written: only the last is written next.
            writer.keep(contest("2", "Anna", at(0)));
            writer.keep(contest("3", "Anna", at(0)));
            release.release(hangs ? 0 : 2);
            QCOMPARE(writer.problem(hangs ? 50 : 30000), problem.replace("DIR", dir.path()));
            release.release(2);
        }
        QCOMPARE(gathered(dir.path()), folder.startsWith("/file") ? QStringList() : (QStringList{"1 0 x1", "3 0 x1"}));
    }
};

QTEST_MAIN(TestResults)
#include "test_results.moc"
