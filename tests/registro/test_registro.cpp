#include "ClassModel.h"
#include "ContestFile.h"
#include "Csv.h"
#include "FactLevel.h"
#include "FakeRegisterDialogs.h"
#include "FileBytes.h"
#include "PupilPage.h"
#include "PupilSheet.h"
#include "RegisterWindow.h"
#include "ResultsFolder.h"
#include "SafeText.h"
#include "SchoolYear.h"
#include "StatusLine.h"
#include "Trend.h"

#include <QAbstractItemModel>
#include <QDialog>
#include <QDir>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

namespace {

const QDate today(2026, 12, 9);

// A contest of `right` right and `wrong` wrong answers, all on 10 × factor
// and each taking `ms`.
Contest contest(const QString &pupil, const QDateTime &start, int factor, int right, int wrong, qint64 ms = 1500)
{
    Contest c;
    c.pupil = pupil;
    c.computer = QStringLiteral("aula-3");
    c.start = start;
    c.id = ResultsFolder::newId(start, c.computer);
    c.durationMs = 420000;
    c.ending = Ending::TimeUp;
    for (int i = 0; i < right + wrong; ++i)
        c.answers.append({i + 1, factor, i < right ? QString::number(10 * factor) : QStringLiteral("7"), i < right, ms});
    return c;
}

QDateTime at(int month, int day, int hour = 9)
{
    return QDateTime(QDate(2026, month, day), QTime(hour, 0), QTimeZone(3600));
}

QString cell(const QAbstractItemModel *model, int row, int column)
{
    return model->index(row, column).data().toString();
}

} // namespace

class TestRegistro : public QObject
{
    Q_OBJECT

    QTemporaryDir home;
    QString root, folder;

    void write(const Contest &c) { ContestFile::write(folder, c); }

private slots:
    void init()
    {
        root = home.filePath(QStringLiteral("%1 %2").arg(QTest::currentTestFunction(), QTest::currentDataTag()));
        folder = root + QStringLiteral("/decalumo/risultati");
        QVERIFY(QDir().mkpath(folder));
    }

    void namesShowSafely_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Luca" << "Luca";
        QTest::newRow("line break and tab") << "Lu\nca\t" << "Lu\uFFFDca\uFFFD";
        QTest::newRow("right-to-left override") << "\u202Eacul" << "\uFFFDacul";
        QTest::newRow("forty letters fit") << QString(40, 'a') << QString(40, 'a');
        QTest::newRow("a thousand letters") << QString(1000, 'a') << QString(39, 'a') + "…";
        QTest::newRow("emoji at the cut") << QString(38, 'a') + "😀😀😀" << QString(38, 'a') + "😀…";
    }
    void namesShowSafely()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QCOMPARE(SafeText::shown(name), shown);
    }

    void trendComparesTheLastFiveWithTheFiveBefore_data()
    {
        QTest::addColumn<std::optional<double>>("recent");
        QTest::addColumn<std::optional<double>>("earlier");
        QTest::addColumn<int>("way");
        QTest::newRow("no earlier five") << std::optional(20.0) << std::optional<double>() << int(Trend::Way::Unknown);
        QTest::newRow("one answer better") << std::optional(21.0) << std::optional(20.0) << int(Trend::Way::Up);
        QTest::newRow("less than one") << std::optional(20.8) << std::optional(20.0) << int(Trend::Way::Steady);
        QTest::newRow("one answer worse") << std::optional(19.0) << std::optional(20.0) << int(Trend::Way::Down);
    }
    void trendComparesTheLastFiveWithTheFiveBefore()
    {
        QFETCH(std::optional<double>, recent);
        QFETCH(std::optional<double>, earlier);
        QFETCH(int, way);
        QCOMPARE(int(Trend::way(recent, earlier)), way);
    }

    void factsAreColouredByHowWellTheyAreKnown_data()
    {
        QTest::addColumn<int>("tries");
        QTest::addColumn<double>("share");
        QTest::addColumn<bool>("sure");
        QTest::addColumn<int>("level");
        QTest::newRow("never asked") << 0 << 0.0 << false << int(FactLevel::Level::Untried);
        QTest::newRow("sure after early mistakes") << 10 << 0.3 << true << int(FactLevel::Level::Sure);
        QTest::newRow("three in four right") << 4 << 0.75 << false << int(FactLevel::Level::Nearly);
        QTest::newRow("just under") << 100 << 0.74 << false << int(FactLevel::Level::Weak);
    }
    void factsAreColouredByHowWellTheyAreKnown()
    {
        QFETCH(int, tries);
        QFETCH(double, share);
        QFETCH(bool, sure);
        QFETCH(int, level);
        Measures::Fact fact{3, tries, int(tries * share), tries ? std::optional(share) : std::nullopt, 1000, sure};
        QCOMPARE(int(FactLevel::of(fact)), level);
    }

    void schoolYearStartsOnTheFirstOfSeptember_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QDate>("start");
        QTest::newRow("31 August") << QDate(2026, 8, 31) << QDate(2025, 9, 1);
        QTest::newRow("1 September") << QDate(2026, 9, 1) << QDate(2026, 9, 1);
        QTest::newRow("January") << QDate(2027, 1, 15) << QDate(2026, 9, 1);
    }
    void schoolYearStartsOnTheFirstOfSeptember()
    {
        QFETCH(QDate, day);
        QFETCH(QDate, start);
        QCOMPARE(SchoolYear::start(day), start);
    }

    void classTableGroupsPupilsAndCountsADamagedFile()
    {
        write(contest(QStringLiteral("luca "), at(10, 1), 3, 5, 5));
        write(contest(QStringLiteral("Luca"), at(11, 2), 3, 30, 2));
        write(contest(QStringLiteral("Anna"), at(11, 3), 7, 12, 0));
        const QString damaged = folder + QStringLiteral("/rotta.json");
        writeBytes(damaged, "{\"alunno\": \"Lu");
        FakeRegisterDialogs dialogs;
        RegisterWindow window(dialogs, {root}, today);

        const QAbstractItemModel *table = window.classTable()->model();
        QCOMPARE(table->rowCount(), 2);
        const QStringList anna{"Anna", "1", "03/11/2026 09:00", "12", "12", "100%", "1,5 s", "poche sfide"};
        const QStringList luca{"Luca", "2", "02/11/2026 09:00", "30", "30", "83%", "1,5 s", "poche sfide"};
        for (int c = 0; c < ClassModel::Columns; ++c) {
            QCOMPARE(cell(table, 0, c), anna.at(c));
            QCOMPARE(cell(table, 1, c), luca.at(c));
        }
        QVERIFY(window.statusLine()->text().endsWith(QStringLiteral("3 sfide di 2 alunni, da 1 cartella · 1 file saltato")));
        QVERIFY(window.statusLine()->details().contains(damaged));

        window.classTable()->selectRow(1);
        const QAbstractItemModel *grid = window.pupilPage()->factGrid()->model();
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(cell(grid, 0, 2), QStringLiteral("83%\n1,5 s"));
        QCOMPARE(cell(grid, 0, 6), QStringLiteral("non provato"));
        QCOMPARE(window.pupilPage()->contestList()->item(0, 3)->text(), QStringLiteral("30"));

        const QAbstractItemModel *classFacts = window.classFacts()->model();
        QCOMPARE(classFacts->index(0, 6).data(Qt::BackgroundRole).value<QBrush>().color(),
                 FactLevel::colour(FactLevel::Level::Sure));
        QCOMPARE(classFacts->headerData(1, Qt::Vertical).toString(), QStringLiteral("Luca"));
    }

    void classTableSortsByValueAndShowsHostileNamesSafely_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("contests, most first") << int(ClassModel::Played) << QStringList{"10", "9", "1"};
        QTest::newRow("median time, slowest first") << int(ClassModel::Median) << QStringList{"12,0 s", "2,0 s", "1,0 s"};
    }
    void classTableSortsByValueAndShowsHostileNamesSafely()
    {
        QFETCH(int, column);
        QFETCH(QStringList, order);
        for (int i = 0; i < 10; ++i)
            write(contest(QStringLiteral("Anna"), at(10, 1 + i), 2, 1, 0, 2000));
        for (int i = 0; i < 9; ++i)
            write(contest(QStringLiteral("Bruno"), at(10, 1 + i), 2, 1, 0, 1000));
        write(contest(QString(1000, u'Z') + "\n\u202E", at(10, 1), 2, 1, 0, 12000));
        FakeRegisterDialogs dialogs;
        RegisterWindow window(dialogs, {folder}, today);
        window.classTable()->sortByColumn(column, Qt::DescendingOrder);

        const QAbstractItemModel *table = window.classTable()->model();
        for (int r = 0; r < order.size(); ++r)
            QCOMPARE(cell(table, r, column), order.at(r));
        const QString hostile = cell(table, column == ClassModel::Played ? 2 : 0, ClassModel::Name);
        QCOMPARE(hostile, QString(SafeText::defaultMax - 1, u'Z') + "…");
    }

    void enterOpensAPupilAndThenTheAnswersOfTheNewestContest()
    {
        write(contest(QStringLiteral("Anna"), at(10, 1), 4, 1, 0));
        write(contest(QStringLiteral("Anna"), at(10, 2), 9, 0, 1));
        FakeRegisterDialogs dialogs;
        RegisterWindow window(dialogs, {folder}, today);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(window.classTable(), Qt::Key_Return);
        QVERIFY(window.pupilPage()->isVisible());

        QTest::keyClick(window.pupilPage()->contestList(), Qt::Key_Return);
        auto *answers = window.pupilPage()->findChild<QDialog *>();
        QVERIFY(answers);
        const auto *list = answers->findChild<QTableWidget *>();
        QCOMPARE(list->item(0, 1)->text(), QStringLiteral("10 × 9"));
        QCOMPARE(list->item(0, 3)->text(), QStringLiteral("errata"));
    }

    void exportsAreTheBytesOfTheCommandLine_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("risposte") << "risposte";
        QTest::newRow("sfide") << "sfide";
    }
    void exportsAreTheBytesOfTheCommandLine()
    {
        QFETCH(QString, kind);
        write(contest(QStringLiteral("=Luca"), at(10, 1), 3, 2, 1));
        write(contest(QStringLiteral("Anna"), at(9, 1), 5, 1, 1));
        FakeRegisterDialogs dialogs;
        dialogs.path = home.filePath(kind + ".csv");
        RegisterWindow window(dialogs, {folder}, today);
        kind == "risposte" ? window.exportAnswers() : window.exportContests();

        const QList<Contest> contests = ResultsFolder::gather({folder}).contests;
        QCOMPARE(bytesOf(dialogs.path), kind == "risposte" ? Csv::risposte(contests) : Csv::sfide(contests));
    }

    void deletesOnlyAfterAsking_data()
    {
        QTest::addColumn<bool>("pupil");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("contestsLeft");
        QTest::addColumn<int>("pupilsLeft");
        QTest::newRow("pupil, refused") << true << false << 3 << 2;
        QTest::newRow("pupil, confirmed") << true << true << 2 << 1;
        QTest::newRow("before 1 September, refused") << false << false << 3 << 2;
        QTest::newRow("before 1 September, confirmed") << false << true << 2 << 2;
    }
    void deletesOnlyAfterAsking()
    {
        QFETCH(bool, pupil);
        QFETCH(bool, yes);
        QFETCH(int, contestsLeft);
        QFETCH(int, pupilsLeft);
        write(contest(QStringLiteral("Anna"), at(9, 2), 5, 1, 1));
        write(contest(QStringLiteral("Luca"), at(8, 31, 23), 3, 2, 1));
        write(contest(QStringLiteral("luca"), at(10, 1), 3, 2, 1));
        FakeRegisterDialogs dialogs;
        dialogs.yes = yes;
        dialogs.date = SchoolYear::start(today);
        RegisterWindow window(dialogs, {folder}, today);
        window.classTable()->selectRow(0);
        pupil ? window.deletePupil() : window.deleteBefore();

        QVERIFY(dialogs.shown.last().startsWith(pupil ? "confirm Eliminare tutti i risultati di «Anna»" : "confirm Eliminare 1 sfide"));
        if (!pupil)
            QCOMPARE(dialogs.proposedDate, QDate(2026, 9, 1));
        QCOMPARE(ResultsFolder::gather({folder}).contests.size(), contestsLeft);
        QCOMPARE(window.classTable()->model()->rowCount(), pupilsLeft);
    }

    void thePrintedPageKeepsEveryPartOnThePage_data()
    {
        QTest::addColumn<QRect>("page");
        QTest::addColumn<int>("line");
        QTest::newRow("A4 at 300 dpi") << QRect(0, 0, 2126, 3154) << 50;
        QTest::newRow("A4 at 72 dpi, small type") << QRect(0, 0, 523, 770) << 12;
        QTest::newRow("printer margins off the corner") << QRect(75, 90, 4700, 6800) << 100;
    }
    void thePrintedPageKeepsEveryPartOnThePage()
    {
        QFETCH(QRect, page);
        QFETCH(int, line);
        const PupilSheet::Layout l = PupilSheet::layout(page, line);
        const QRect bands[] = {l.title, l.chart, l.grid, l.legend, l.contests};
        for (int i = 0; i < 5; ++i) {
            QVERIFY(page.contains(bands[i]));
            QVERIFY(bands[i].height() >= line);
            if (i > 0)
                QVERIFY(bands[i].top() > bands[i - 1].bottom());
        }
        QVERIFY(l.contestRows >= 10);
        QVERIFY((l.contestRows + 1) * line <= l.contests.height());
    }

    void aYearOfContestsPrintsOnAnA4Page_data()
    {
        QTest::addColumn<bool>("printer");
        QTest::newRow("saved as PDF") << false;
        QTest::newRow("printed to a file") << true;
    }
    void aYearOfContestsPrintsOnAnA4Page()
    {
        QFETCH(bool, printer);
        for (int i = 0; i < 400; ++i)
            write(contest(QString(1000, u'M') + "\n", at(9, 1).addSecs(i * 3600 * 13), 1 + i % 10, i % 41, 40 - i % 41));
        FakeRegisterDialogs dialogs;
        dialogs.path = home.filePath(QStringLiteral("pagina%1.pdf").arg(printer));
        RegisterWindow window(dialogs, {folder}, today);
        printer ? window.printPupil() : window.savePupilPdf();

        QVERIFY(bytesOf(dialogs.path).contains("/MediaBox [0 0 595.000000 842.000000]"));
    }
};

QTEST_MAIN(TestRegistro)
#include "test_registro.moc"
