#include "ContestFile.h"
#include "ContestWriter.h"
#include "Csv.h"
#include "Failure.h"
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

QDateTime at(int day, int offsetMinutes = 60)
{
    return QDateTime(QDate(2026, 3, 1).addDays(day), QTime(9, 30, 15), QTimeZone(offsetMinutes * 60));
}

// "R2500 W800": one answer each, right or wrong, with its time; all of factor 4.
Contest contest(const QString &id, const QString &pupil, const QDateTime &start, const QString &answers = {})
{
    Contest c{id, pupil, QStringLiteral("pc-1"), start, 61500, Ending::Exit, {}};
    for (const QString &a : answers.split(u' ', Qt::SkipEmptyParts))
        c.answers.append(Answer{int(c.answers.size()) + 1, 4, a.front() == u'R' ? "40" : "41", a.front() == u'R', a.mid(1).toLongLong()});
    return c;
}

QString described(const Contest &c)
{
    QString s = c.id + '|' + c.pupil + '|' + c.computer + '|' + isoWithOffset(c.start) + '|' + QString::number(c.durationMs) + '|'
        + (c.ending ? endingName(c.ending) : "none");
    for (const Answer &a : c.answers)
        s += QStringLiteral("|%1 %2 %3 %4 %5").arg(a.n).arg(a.factor).arg(a.typed).arg(a.right).arg(a.timeMs);
    return s;
}

QString folderIn(const QTemporaryDir &dir)
{
    return dir.path() + "/decalumo/risultati";
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
        QTest::addColumn<QString>("answers");
        QTest::newRow("time up") << "Amico" << int(Ending::TimeUp) << 60 << "R2500 W0 R3001";
        QTest::newRow("Exit") << "Luca" << int(Ending::Exit) << 120 << "W800";
        QTest::newRow("close box") << "Luca" << int(Ending::CloseBox) << 0 << "";
        QTest::newRow("interrupted") << "Luca" << int(Ending::Interrupted) << -330 << "R1";
        QTest::newRow("cut short") << "Luca" << -1 << 60 << "R1 R2";
        QTest::newRow("quotes, controls and a letter beyond 16 bits") << "Nic\"col\tò\x01 😀" << int(Ending::Exit) << 60 << "R5";
        QTest::newRow("a thousand letters") << QString(1000, u'a') << int(Ending::Exit) << 60 << "R5";
    }
    void aContestWrittenIsReadBackAsItWas()
    {
        QFETCH(QString, pupil);
        QFETCH(int, ending);
        QFETCH(int, offsetMinutes);
        QFETCH(QString, answers);
        QTemporaryDir dir;
        Contest c = contest(ResultsFolder::newId(at(0), "pc-1"), pupil, at(0, offsetMinutes), answers);
        c.answers.append(Answer{int(c.answers.size()) + 1, 10, QString(), false, 0});
        c.ending = ending < 0 ? std::nullopt : std::optional(Ending(ending));
        ContestFile::write(folderIn(dir), c);
        const ContestFile::Read read = ContestFile::read(folderIn(dir) + '/' + ContestFile::fileName(c.id));
        QVERIFY2(read.contest, qPrintable(read.problem));
        QCOMPARE(described(*read.contest), described(c));
        QCOMPARE(read.contest->start, c.start);
        QCOMPARE(read.contest->start.offsetFromUtc(), offsetMinutes * 60);
    }

    void aFileThatIsNoContestIsSkippedWithItsReasonAndTheRestIsRead_data()
    {
        QTest::addColumn<QString>("kind"); // what takes the file's place
        QTest::addColumn<QByteArray>("from"); // the good file's bytes ...
        QTest::addColumn<QByteArray>("to");   // ... with this replaced
        QTest::addColumn<QString>("reason");
        const QByteArray none;
        QTest::newRow("damaged") << "bytes" << QByteArray("\"alunno\":") << QByteArray("\"alunno\"!") << "file danneggiato";
        QTest::newRow("cut short") << "half" << none << none << "file troncato";
        QTest::newRow("empty") << "empty" << none << none << "file vuoto";
        QTest::newRow("over 1 MiB") << "huge" << none << none << "più grande di 1 MiB";
        QTest::newRow("a link to a contest") << "link" << none << none << "è un collegamento, non seguito";
        QTest::newRow("a folder") << "folder" << none << none << "è una cartella";
        QTest::newRow("a named pipe") << "fifo" << none << none << "non è un file regolare";
        QTest::newRow("another program's JSON") << "bytes" << QByteArray("decalumo/sfida") << QByteArray("altro") << "non è un file di Decalumo";
        QTest::newRow("a newer version") << "bytes" << QByteArray("\"versione\":1") << QByteArray("\"versione\":2") << "scritto da una versione più recente di Decalumo";
        QTest::newRow("answers out of order") << "bytes" << QByteArray("[2,4,") << QByteArray("[3,4,") << "file danneggiato: risposta non valida";
        QTest::newRow("a factor beyond 10") << "bytes" << QByteArray("[1,4,") << QByteArray("[1,11,") << "file danneggiato: risposta non valida";
        QTest::newRow("a negative time") << "bytes" << QByteArray(",800]") << QByteArray(",-800]") << "file danneggiato: risposta non valida";
        QTest::newRow("a start without its offset") << "bytes" << QByteArray(":15+01:00") << QByteArray(":15") << "file danneggiato: data d'inizio non valida";
        QTest::newRow("an unknown ending") << "bytes" << QByteArray("uscita") << QByteArray("fuga") << "file danneggiato: fine non valida";
    }
    void aFileThatIsNoContestIsSkippedWithItsReasonAndTheRestIsRead()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString folder = folderIn(dir);
        ContestFile::write(folder, contest("good", "Anna", at(0), "R1"));
        const QByteArray good = ContestFile::encode(contest("bad", "Luca", at(1), "R2500 W800"));
        const QString bad = folder + "/bad.json";
        if (kind == "bytes") {
            QVERIFY(good.contains(from));
            writeBytes(bad, QByteArray(good).replace(from, to));
        } else if (kind == "half") {
            writeBytes(bad, good.left(good.size() / 2));
        } else if (kind == "empty") {
            writeBytes(bad, {});
        } else if (kind == "huge") {
            writeBytes(bad, good.trimmed() + QByteArray(ContestFile::maxBytes, ' '));
        } else if (kind == "link") {
            QVERIFY(QFile::link(folder + "/good.json", bad));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(bad));
            writeBytes(bad + "/inside.json", good);
        } else {
            QCOMPARE(::mkfifo(QFile::encodeName(bad).constData(), 0600), 0);
        }
        const ResultsFolder::Found found = ResultsFolder::gather({dir.path()});
        QCOMPARE(found.contests.size(), 1);
        QCOMPARE(found.contests.first().id, QStringLiteral("good"));
        QCOMPARE(found.skipped.size(), 1);
        QCOMPARE(found.skipped.first().path + ": " + found.skipped.first().reason, bad + ": " + reason);
    }

    void gatheringFindsResultsFoldersSixLevelsDownFollowsNoLinkAndCountsACopyOnce_data()
    {
        QTest::addColumn<QString>("place"); // the folder written, below the root
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
        const QString folder = (place.startsWith("link/") ? elsewhere.path() + place.mid(4) : root.path() + '/' + place);
        const Contest c = contest("id-1", "Anna", at(0), "R1");
        ContestFile::write(folder, c);
        // The same contest copied to the root's own folder, a write cut short beside it.
        ContestFile::write(folderIn(root), c);
        writeBytes(folderIn(root) + "/.id-2.json.part", "{");
        const ResultsFolder::Found all = ResultsFolder::gather({root.path(), folderIn(root)});
        QCOMPARE(all.contests.size(), 1);
        QVERIFY(all.skipped.isEmpty());
        QStringList copies = all.files.value("id-1");
        copies.sort();
        QStringList expected{folderIn(root) + "/id-1.json"};
        if (found)
            expected << folder + "/id-1.json";
        expected.sort();
        QCOMPARE(copies, expected);
    }

    void removingAPupilOrAnOldYearDeletesEveryCopyOfItsContests_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("one pupil, under any spelling") << "pupil" << QStringList{"anna"};
        QTest::newRow("before the school year") << "year" << QStringList{"luca-new", "anna"};
    }
    void removingAPupilOrAnOldYearDeletesEveryCopyOfItsContests()
    {
        QFETCH(QString, what);
        QFETCH(QStringList, left);
        QTemporaryDir dir;
        for (const char *copy : {"/a/decalumo/risultati", "/b/decalumo/risultati"}) {
            ContestFile::write(dir.path() + copy, contest("luca-old", "Luca", QDateTime(QDate(2025, 8, 31), QTime(23, 59), QTimeZone(7200))));
            ContestFile::write(dir.path() + copy, contest("luca-new", " LUCA", QDateTime(QDate(2025, 9, 1), QTime(0, 0), QTimeZone(7200))));
            ContestFile::write(dir.path() + copy, contest("anna", "Anna", at(0)));
        }
        const ResultsFolder::Found found = ResultsFolder::gather({dir.path()});
        const QList<ResultsFolder::Skipped> failed = what == "pupil" ? ResultsFolder::removePupil(found, "luca ")
                                                                     : ResultsFolder::removeBefore(found, QDate(2025, 9, 1));
        QVERIFY(failed.isEmpty());
        const ResultsFolder::Found after = ResultsFolder::gather({dir.path()});
        QStringList ids;
        for (const Contest &c : after.contests)
            ids << c.id + QString::number(after.files.value(c.id).size());
        for (QString &id : left)
            id += '2';
        QCOMPARE(ids, left);
    }

    void theFactGridCountsEveryTryAndCallsAFactSureWhenTwoOfItsLastThreeWereRightWithin3s_data()
    {
        QTest::addColumn<QString>("tries"); // of 10 x 4, the oldest first, one contest each
        QTest::addColumn<int>("right");
        QTest::addColumn<qint64>("medianMs"); // -1: none
        QTest::addColumn<bool>("sure");
        QTest::newRow("never asked") << "" << 0 << qint64(-1) << false;
        QTest::newRow("one quick try is not enough") << "R100" << 1 << qint64(100) << false;
        QTest::newRow("two right in exactly 3 s") << "R3000 R3000" << 2 << qint64(3000) << true;
        QTest::newRow("3001 ms is too slow") << "R3001 R100" << 2 << qint64(1550) << false;
        QTest::newRow("two of the last three") << "W100 R100 R2999" << 2 << qint64(100) << true;
        QTest::newRow("older quick tries do not count") << "R100 R100 W100 R100 W100" << 3 << qint64(100) << false;
        QTest::newRow("quick wrong tries do not count") << "W100 W100 R100" << 1 << qint64(100) << false;
        QTest::newRow("the median of an even count") << "R1000 W2000 R3000 W10000" << 2 << qint64(2500) << false;
    }
    void theFactGridCountsEveryTryAndCallsAFactSureWhenTwoOfItsLastThreeWereRightWithin3s()
    {
        QFETCH(QString, tries);
        QFETCH(int, right);
        QFETCH(qint64, medianMs);
        QFETCH(bool, sure);
        const QStringList each = tries.split(u' ', Qt::SkipEmptyParts);
        QList<Contest> contests;
        // Handed over the newest first: the grid goes by the start.
        for (qsizetype i = each.size() - 1; i >= 0; --i)
            contests << contest(QString::number(i), "Anna", at(int(i)), each[i]);
        Contest other = contest("other", "Anna", at(40), "W1");
        other.answers.first().factor = 9;
        contests << other;
        const QList<Measures::Fact> grid = Measures::facts(contests);
        QCOMPARE(grid.size(), 10);
        const Measures::Fact &f = grid[3];
        QCOMPARE(f.factor, 4);
        QCOMPARE(f.tries, int(each.size()));
        QCOMPARE(f.right, right);
        QCOMPARE(f.shareRight.value_or(-1), each.isEmpty() ? -1 : double(right) / each.size());
        QCOMPARE(f.medianMs.value_or(-1), medianMs);
        QCOMPARE(f.sure, sure);
        QCOMPARE(grid[8].tries, 1);
    }

    void pupilsAreGroupedByNameIgnoringCaseAndBlanksAndShownUnderTheLatestSpelling()
    {
        QList<Contest> contests{contest("b", "Bruno", at(0), "R900")};
        // Twelve contests of one pupil, scoring 1 to 12, under three spellings.
        const QStringList spellings{" LUCA ", "luca", "Luca"};
        for (int score = 12; score >= 1; --score)
            contests << contest(QString::number(score), spellings[score % 3], at(score), QStringList(score, "R1000").join(' ') + " W5000");
        const QList<Measures::Pupil> pupils = Measures::pupils(contests);
        QCOMPARE(pupils.size(), 2);
        QCOMPARE(pupils[0].name + '|' + pupils[1].name, QStringLiteral("Bruno|LUCA"));
        QCOMPARE(pupils[1].contests.first().id + '|' + pupils[1].contests.last().id, QStringLiteral("1|12"));
        const Measures::Summary s = Measures::summary(pupils[1]);
        QCOMPARE(s.played, 12);
        QCOMPARE(s.last, at(12));
        QCOMPARE(s.best + s.lastScore, 24);
        QCOMPARE(s.shareRight, 78.0 / 90.0);
        QCOMPARE(s.medianMs.value_or(-1), 1000);
        QCOMPARE(s.recentMean.value_or(-1), 10.0);
        QCOMPARE(s.earlierMean.value_or(-1), 5.0);
    }

    void aCsvFieldIsQuotedAsRfc4180SaysAndNeverRunsAsAFormula_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "Luca Rossi" << "Luca Rossi";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("separator") << "a;b" << "\"a;b\"";
        QTest::newRow("quote") << "il \"mago\"" << "\"il \"\"mago\"\"\"";
        QTest::newRow("line break") << "a\nb" << "\"a\nb\"";
        QTest::newRow("=") << "=1+1" << "'=1+1";
        QTest::newRow("+") << "+39" << "'+39";
        QTest::newRow("-") << "-5" << "'-5";
        QTest::newRow("@") << "@SUM(A1)" << "'@SUM(A1)";
        QTest::newRow("tab") << "\tx" << "'\tx";
        QTest::newRow("carriage return") << "\rx" << "\"'\rx\"";
        QTest::newRow("a formula with a separator") << "=A1;B1" << "\"'=A1;B1\"";
        QTest::newRow("only at the start") << "Anna-Maria" << "Anna-Maria";
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

    void aKilledWriteLeavesTheWholeOldContestOrTheWholeNewOne_data()
    {
        QTest::addColumn<int>("killAt");
        QTest::addColumn<bool>("rewrite");
        QTest::addColumn<int>("answersRead"); // 0: no contest yet
        for (int step = 1; step <= 4; ++step) {
            const bool renamed = step >= 3;
            QTest::addRow("first write, killed after step %d", step) << step << false << (renamed ? 5 : 0);
            QTest::addRow("rewrite, killed after step %d", step) << step << true << (renamed ? 5 : 4);
        }
    }
    void aKilledWriteLeavesTheWholeOldContestOrTheWholeNewOne()
    {
        QFETCH(int, killAt);
        QFETCH(bool, rewrite);
        QFETCH(int, answersRead);
        QTemporaryDir dir;
        const auto run = [&dir](int answers, int kill) {
            QProcess writer;
            writer.setProcessChannelMode(QProcess::ForwardedChannels);
            writer.start(WRITER, {"once", folderIn(dir), "c", QString::number(answers), QString::number(kill)});
            QVERIFY(writer.waitForFinished(30000));
            QCOMPARE(writer.exitStatus(), kill ? QProcess::CrashExit : QProcess::NormalExit);
        };
        if (rewrite)
            run(4, 0);
        run(5, killAt);
        const ResultsFolder::Found found = ResultsFolder::gather({dir.path()});
        QVERIFY(found.skipped.isEmpty());
        QCOMPARE(found.contests.isEmpty() ? 0 : found.contests.first().answers.size(), answersRead);
    }

    void twoCopiesWritingIntoOneFolderKeepAllTheirContests()
    {
        QTemporaryDir dir;
        QProcess writers[2];
        for (int i = 0; i < 2; ++i) {
            writers[i].setProcessChannelMode(QProcess::ForwardedChannels);
            writers[i].start(WRITER, {"many", folderIn(dir), QStringLiteral("pc%1-").arg(i), "40"});
        }
        for (QProcess &w : writers)
            QVERIFY(w.waitForFinished(60000) && w.exitStatus() == QProcess::NormalExit && w.exitCode() == 0);
        const ResultsFolder::Found found = ResultsFolder::gather({dir.path()});
        QCOMPARE(found.contests.size(), 80);
        QVERIFY(found.skipped.isEmpty());
        for (const Contest &c : found.contests)
            QCOMPARE(c.answers.size(), 5);
    }

    void theWriterWritesOnlyTheLatestContestAndTellsWhyItCouldNotKeepIt_data()
    {
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("problem");
        QTest::newRow("written") << "ok" << QString();
        QTest::newRow("the folder fails") << "fail" << "Impossibile conservare la sfida nella cartella F: spazio esaurito";
        QTest::newRow("the folder hangs") << "hang" << "Impossibile conservare la sfida nella cartella F: la cartella non risponde";
    }
    void theWriterWritesOnlyTheLatestContestAndTellsWhyItCouldNotKeepIt()
    {
        QFETCH(QString, outcome);
        QFETCH(QString, problem);
        QSemaphore started, release;
        QStringList written;
        {
            ContestWriter writer("F", [&](const QString &, const Contest &c) {
                written << c.id;
                started.release();
                release.acquire();
                if (outcome == "fail")
                    throw Failure("Impossibile conservare la sfida nella cartella F: spazio esaurito");
            });
            writer.keep(contest("1", "Anna", at(0)));
            started.acquire();
            // Kept while the first is being written: only the last is written next.
            writer.keep(contest("2", "Anna", at(0)));
            writer.keep(contest("3", "Anna", at(0)));
            release.release(outcome == "hang" ? 0 : 2);
            QCOMPARE(writer.problem(outcome == "hang" ? 50 : 30000), problem);
            release.release(2);
        }
        QCOMPARE(written, (QStringList{"1", "3"}));
    }

    void anUnwritableFolderFailsNamingTheFolderAndTheReason()
    {
        QTemporaryDir dir;
        writeBytes(dir.path() + "/decalumo", "a file");
        try {
            ContestFile::write(folderIn(dir), contest("x", "Anna", at(0)));
            QFAIL("written");
        } catch (const Failure &f) {
            QCOMPARE(f.message(), "Impossibile conservare la sfida nella cartella " + folderIn(dir) + ": non è una cartella");
        }
    }
};

QTEST_MAIN(TestResults)
#include "test_results.moc"
