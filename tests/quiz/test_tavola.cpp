#include "ClockRandom.h"
#include "Faces.h"
#include "FakeCharacters.h"
#include "FakeContestLog.h"
#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeRandom.h"
#include "FakeScreenReader.h"
#include "FileBytes.h"
#include "FormLabel.h"
#include "ManualClock.h"
#include "PictureButton.h"
#include "Tavola.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTimer>

const QString goodbye = QStringLiteral("MsgBox Ciao. Ti aspetto per la prossima sfida ");
const QString recordStored = QStringLiteral("MsgBox Ok ho registrato il tuo record, C A M P I O N E\"");

// A window wired to fakes, with its record folder in a fresh temporary directory.
struct Harness
{
    QTemporaryDir data;
    FakeCharacters agent;
    FakeDialogs dialogs;
    FakeProgram program;
    FakeRandom random;
    Tavola t{agent, dialogs, program, random};

    // The wizard counts as loaded for the steps that skip start-up.
    Harness() { qputenv("XDG_DATA_HOME", data.path().toUtf8()); agent.loaded = "Merlin"; }
    QString path(const QString &file) const { return data.path() + "/decalumo/" + file; }
    QByteArray record() const { return bytesOf(path("aquorvanti.txt")) + bytesOf(path("nquorvanti.txt")); }
    void writeRecord(const QByteArray &score, const QByteArray &name)
    {
        QVERIFY(QDir().mkpath(path({})));
        writeBytes(path("aquorvanti.txt"), score);
        writeBytes(path("nquorvanti.txt"), name);
    }
    // Start-up as the program runs it, boxes included.
    void start(const QString &name, int factor = 7) { dialogs.name = name; random.script(3, factor); t.start(); }
    // A question of 10 x factor without start-up, forgetting what the character was asked for it.
    void question(int factor) { random.script(5, factor); t.cmdNext_Click(); agent.take(); }
    void answer(const QString &text) { t.Text3->setText(text); QTest::keyClick(t.Text3, Qt::Key_Return); }
    void answer(int factor, const QString &text) { question(factor); answer(text); }
};

using Control = std::function<QWidget *(Tavola &)>;
Q_DECLARE_METATYPE(Control)

QString drawn(const QFont &font)
{
    const QFontInfo i(font);
    return QStringLiteral("%1 %2 %3px").arg(i.family(), i.styleName()).arg(i.pixelSize());
}

class TestTavola : public QObject
{
    Q_OBJECT

private slots:
    void startUpGreetsThePupilByNameThenAnnouncesAndReadsTheFirstQuestion_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shownName");
        // Each start-up draws another first question.
        QTest::addColumn<int>("factor");
        QTest::addColumn<QString>("word");
        const int fits = Tavola::nameLength;
        QTest::newRow("a name") << "Luca" << "Luca" << 1 << "uno";
        QTest::newRow("no name") << "" << "Amico" << 7 << "sette";
        QTest::newRow("blanks") << "   " << "   " << 10 << "dieci";
        QTest::newRow("a name on one line") << "Anna\nMaria\r" << "Anna Maria " << 2 << "due";
        QTest::newRow("a long paste is cut to fit") << QString(100000, u'W') << QString(fits, u'W') << 9 << "nove";
        QTest::newRow("a letter cut in half is dropped") << QString(fits - 1, u'x') + "😀" << QString(fits - 1, u'x') << 4 << "quattro";
    }
    void startUpGreetsThePupilByNameThenAnnouncesAndReadsTheFirstQuestion()
    {
        QFETCH(QString, name);
        QFETCH(QString, shownName);
        QFETCH(int, factor);
        QFETCH(QString, word);
        Harness h;
        h.start(name, factor);
        // The greeting takes the name as it will be shown, but none for none.
        const QString greeting = QString("MsgBox  %1 vediamo se sei un vero campione  ").arg(name.isEmpty() ? "" : shownName);
        QCOMPARE(h.dialogs.shown, (QStringList{"InputBox Come ti chiami?", greeting}));
        QCOMPARE(h.t.lblnome1->caption() + '|' + h.t.Txtnome1->text(), shownName + '|' + shownName);
        QCOMPARE(h.t.lblconto->caption(), QStringLiteral("00.07.00"));
        QVERIFY(h.t.Timer1->isActive());

        const QStringList calls = h.agent.take();
        QCOMPARE(calls.first(4), (QStringList{"Load Merlin :/characters/merlin/merlin.json", "Show", "MoveTo 250 175", "Play Announce"}));
        QVERIFY(calls.at(4).startsWith("Speak Allora attenzione, iniziamo"));
        QCOMPARE(calls.mid(5), (QStringList{"Show", "MoveTo 250 175", "Play Greet", "Speak 10", "Speak per", "Speak " + word}));
        QCOMPARE(h.agent.height, 205);
        QCOMPARE(h.t.lblNum1->caption() + " x " + h.t.lblNum2->caption(), "10 x " + QString::number(factor));
        // The question clears the verdict and the answer box, and waits there.
        QCOMPARE(h.t.lblMessage->caption() + h.t.Text3->text(), QString());
        QCOMPARE(h.t.focusWidget(), h.t.Text3);
        // The bands behind take their green from the tint drawn, 3, not from the factor.
        QCOMPARE(h.t.centralWidget()->grab().toImage().pixelColor(450, 1).green(), 60);
    }

    void questionsDrawnInTheSameInstantStillDrawAfresh()
    {
        // Seeds a nanosecond apart, as two questions in the same instant would get.
        quint64 now = 1'700'000'000'000'000'000ULL;
        ClockRandom random([&now] { return now++; });
        QSet<double> draws;
        for (int i = 0; i < 10; ++i) {
            random.reseed();
            draws << random.next();
        }
        QCOMPARE(draws.size(), 10);
    }

    void anAnswerIsRightOnlyWhenItIsExactlyTheProduct_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("right");
        // Enter again after the verdict, with this in the box; null: the same.
        QTest::addColumn<QString>("typedAgain");
        QTest::newRow("70") << "70" << true << QString();
        QTest::newRow("leading zero") << "070" << false << QString();
        QTest::newRow("leading blank") << " 70" << false << QString();
        QTest::newRow("trailing blank") << "70 " << false << QString();
        QTest::newRow("empty") << "" << false << QString();
        QTest::newRow("in words") << "settanta" << false << QString();
        QTest::newRow("another number") << "71" << false << QString();
        QTest::newRow("wrong, then the product read off the verdict") << "71" << false << "70";
    }
    void anAnswerIsRightOnlyWhenItIsExactlyTheProduct()
    {
        QFETCH(QString, typed);
        QFETCH(bool, right);
        QFETCH(QString, typedAgain);
        Harness h;
        h.question(7);
        // The question is written up only once the pupil types, and gives way to the verdict.
        const auto written = [&h] { return !h.t.lblNum1->isHidden() && !h.t.Label10->isHidden() && !h.t.lblNum2->isHidden(); };
        QTest::keyClicks(h.t.Text3, QStringLiteral("7"));
        // A shortcut's letter is not typed into the answer.
        QTest::keyClick(h.t.Text3, Qt::Key_N, Qt::AltModifier);
        QVERIFY(written() && h.t.Text3->text() == QLatin1String("7"));
        h.answer(typed);
        // A question counts once.
        h.answer(typedAgain.isNull() ? typed : typedAgain);

        QCOMPARE(h.t.lblMessage->caption(), right ? QStringLiteral("Esatto. Sei forte!!!") : QStringLiteral("Sbagliato!! 70"));
        // Right, wrong and total, side by side.
        QCOMPARE(h.t.lblScore->caption() + h.t.lblScore1->caption() + h.t.lblScore2->caption(), right ? "101" : "011");
        QCOMPARE(h.t.focusWidget(), h.t.cmdNext);
        QVERIFY(!written());
        QCOMPARE(h.t.Text3->text(), typedAgain.isNull() ? typed : typedAgain);
        QCOMPARE(h.agent.take(), right ? QStringList({"Show", "MoveTo 250 175", "Speak Esatto", "Speak 70"})
                                       : QStringList({"Show", "MoveTo 250 175", "Play Greet", "Speak Sbagliato", "Speak 70"}));
    }

    void theCharacterPraisesByTheCountOfEarlierRightAnswers_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("k=0") << 0 << QStringList{"Speak Esatto", "Speak 40"};
        QTest::newRow("k=1") << 1 << QStringList{"Speak Esatto", "Speak 40"};
        QTest::newRow("k=2") << 2 << QStringList{"Speak Esatto", "Speak 40", "Play congratulate", "Speak Sei grande"};
        QTest::newRow("k=3") << 3 << QStringList{"Speak Esatto", "Speak Niccolò", "Speak 40"};
        QTest::newRow("k=4") << 4 << QStringList{"Speak Esatto", "Speak 40"};
        QTest::newRow("k=5") << 5 << QStringList{"Speak Esatto", "Speak 40", "Play domagic1", "Speak Sei forte"};
        QTest::newRow("k=7") << 7 << QStringList{"Speak Esatto", "Speak Niccolò", "Speak 40"};
        QTest::newRow("k=9") << 9 << QStringList{"Speak Esatto", "Speak 40"};
        QTest::newRow("k=10") << 10 << QStringList{"Speak 40", "Play congratulate", "Speak Sei sulla buona strada per diventare cavaliere"};
        QTest::newRow("k=11") << 11 << QStringList{"Speak Giusto", "Speak 40"};
        QTest::newRow("k=12") << 12 << QStringList{"Speak Giusto", "Speak Niccolò", "Speak 40"};
        QTest::newRow("k=13") << 13 << QStringList{"Speak Giusto", "Speak 40", "Play domagic2", "Speak Sei in gamba"};
        QTest::newRow("k=14") << 14 << QStringList{"Speak Giusto", "Speak 40", "Play congratulate", "Speak Sei eccezionale"};
        QTest::newRow("k=17") << 17 << QStringList{"Speak Giusto", "Speak 40"};
        QTest::newRow("k=18") << 18 << QStringList{"Speak Giusto", "Speak 40", "Play congratulate", "Speak Sei insuperabile"};
        QTest::newRow("k=21") << 21 << QStringList{"Speak Giusto", "Speak Niccolò", "Speak 40"};
        QTest::newRow("k=23") << 23 << QStringList{"Speak Giusto", "Speak 40", "Play congratulate", "Speak Ti nomino cavaliere della tabellina, il massimo ordine per un eroe"};
        QTest::newRow("k=26") << 26 << QStringList{"Speak Giusto", "Speak Niccolò", "Speak 40"};
        QTest::newRow("k=27") << 27 << QStringList{"Speak Giusto", "Speak 40", "Play congratulate", "Speak Hai lavorato bene mio leale campione: sei invincibile"};
        QTest::newRow("k=28") << 28 << QStringList{"Speak Giusto", "Speak 40"};
        QTest::newRow("k=40") << 40 << QStringList{"Speak Giusto", "Speak 40"};
    }
    void theCharacterPraisesByTheCountOfEarlierRightAnswers()
    {
        QFETCH(int, k);
        QFETCH(QStringList, heard);
        Harness h;
        h.t.Txtnome1->setText(QStringLiteral("Niccolò"));
        // k right answers, then a wrong one, which does not count, then the one praised.
        for (int i = 0; i <= k + 1; ++i)
            h.answer(4, i == k ? "4 0" : "40");
        QCOMPARE(h.agent.take(), QStringList({"Show", "MoveTo 250 175"}) + heard);
    }

    void theClockCountsDownAndTheContestEndsWhenItReadsZero_data()
    {
        QTest::addColumn<QString>("preset"); // the caption before the ticks
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("ends");
        QTest::newRow("1") << "00.07.00" << 1 << "00:06:59" << false;
        QTest::newRow("60") << "00.07.00" << 60 << "00:06:00" << false;
        QTest::newRow("61") << "00.07.00" << 61 << "00:05:59" << false;
        QTest::newRow("419") << "00.07.00" << 419 << "00:00:01" << false;
        QTest::newRow("420") << "00.07.00" << 420 << "00:00:00" << false;
        QTest::newRow("421 ends") << "00.07.00" << 421 << "00:00:00" << true;
        QTest::newRow("a caption of zero, whatever ticks are left") << "00:00:00" << 1 << "00:00:00" << true;
    }
    void theClockCountsDownAndTheContestEndsWhenItReadsZero()
    {
        QFETCH(QString, preset);
        QFETCH(int, ticks);
        QFETCH(QString, caption);
        QFETCH(bool, ends);
        Harness h;
        h.start(QStringLiteral("Luca"));
        h.t.lblconto->setCaption(preset);
        for (int i = 0; i < ticks; ++i)
            h.t.Timer1_Timer();
        QCOMPARE(h.t.lblconto->caption(), caption);
        QCOMPARE(h.dialogs.shown.mid(2), ends ? QStringList{goodbye} : QStringList());
    }

    void readingKeysSayTheContestWithoutTouchingTheAnswer_data()
    {
        QTest::addColumn<QByteArray>("score");
        QTest::addColumn<QByteArray>("holder");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("said"); // empty: the key is no reading key
        const QByteArray none;
        QTest::newRow("F2, the question") << none << none << 0 << int(Qt::Key_F2) << "10 per sette";
        QTest::newRow("F3, the counters") << none << none << 0 << int(Qt::Key_F3) << "Risposte esatte 1, errate 1, totali 2";
        QTest::newRow("F4, the time before the first tick") << none << none << 0 << int(Qt::Key_F4)
                                                            << "Tempo restante 7 minuti e 0 secondi";
        QTest::newRow("F4, one minute and one second") << none << none << 359 << int(Qt::Key_F4)
                                                       << "Tempo restante 1 minuto e 1 secondo";
        QTest::newRow("F5, the record without its line ends") << QByteArray("12\r\n") << QByteArray("Anna\r\n") << 0
                                                             << int(Qt::Key_F5) << "Il record è di Anna con punti 12";
        QTest::newRow("F5, no record yet") << none << none << 0 << int(Qt::Key_F5) << "Non c'è ancora un record";
        QTest::newRow("another function key") << none << none << 0 << int(Qt::Key_F6) << QString();
    }
    void readingKeysSayTheContestWithoutTouchingTheAnswer()
    {
        QFETCH(QByteArray, score);
        QFETCH(QByteArray, holder);
        QFETCH(int, ticks);
        QFETCH(int, key);
        QFETCH(QString, said);
        Harness h;
        FakeScreenReader reader;
        h.t.setScreenReader(&reader);
        if (!score.isEmpty())
            h.writeRecord(score, holder);
        h.start(QStringLiteral("Luca"));
        h.answer(7, QStringLiteral("70"));
        h.answer(3, QStringLiteral("31"));
        h.question(7);
        for (int i = 0; i < ticks; ++i)
            h.t.Timer1_Timer();
        QTest::keyClicks(h.t.Text3, QStringLiteral("4"));
        QTest::keyClick(h.t.Text3, Qt::Key(key));
        QCOMPARE(reader.said, said.isEmpty() ? QStringList() : QStringList{said});
        QCOMPARE(h.t.Text3->text(), QStringLiteral("4"));
        QCOMPARE(h.t.lblScore2->caption(), QStringLiteral("2"));
    }

    void theRecordIsShownAtStartAndStoredOnlyWhenBeaten_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("rightAnswers");
        QTest::addColumn<QByteArray>("storedName"); // empty: the record stays as it was
        QTest::addColumn<QByteArray>("meanwhile");  // stored by Bruno's contest after this one started
        QTest::addColumn<bool>("closeBox");         // the window closed instead of left
        const QByteArray niccoloBytes("Niccol\xc3\xb2\r\n");
        const QByteArray none;
        QTest::newRow("first run, no right answer") << none << 0 << none << none << false;
        QTest::newRow("first run, three right") << none << 3 << niccoloBytes << none << false;
        QTest::newRow("equal score") << QByteArray("2\r\n") << 2 << none << none << false;
        QTest::newRow("one more, a shorter name") << QByteArray("2\r\n") << 3 << niccoloBytes << none << false;
        QTest::newRow("one less") << QByteArray("4\r\n") << 3 << none << none << false;
        QTest::newRow("letters only count as 0") << QByteArray("tanti\r\n") << 1 << niccoloBytes << none << false;
        QTest::newRow("blanks inside the digits are skipped") << QByteArray("1 2\r\n") << 3 << none << none << false;
        QTest::newRow("a D exponent counts") << QByteArray("25D-1\r\n") << 3 << niccoloBytes << none << false;
        QTest::newRow("digits beyond any number count as the most") << QByteArray(400, '9') + "\r\n" << 3 << none << none << false;
        QTest::newRow("another contest stored as much meanwhile") << none << 3 << none << QByteArray("3\r\n") << false;
        QTest::newRow("another contest stored less meanwhile") << none << 3 << niccoloBytes << QByteArray("2\r\n") << false;
        QTest::newRow("the close box says no goodbye and stores nothing") << none << 3 << none << none << true;
    }
    void theRecordIsShownAtStartAndStoredOnlyWhenBeaten()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, rightAnswers);
        QFETCH(QByteArray, storedName);
        QFETCH(QByteArray, meanwhile);
        QFETCH(bool, closeBox);
        // A longer old name, so a new one must replace it whole.
        QByteArray oldName = stored.isEmpty() ? QByteArray() : QByteArray("Massimiliano\r\n");
        Harness h;
        if (!stored.isNull())
            h.writeRecord(stored, oldName);
        h.start(QStringLiteral("Niccolò"));
        // Start-up shows the files as they stand, line ends and all.
        QCOMPARE(h.t.lblpunti->caption() + h.t.lblnome->caption(), QString::fromUtf8(stored + oldName));
        for (int i = 0; i <= rightAnswers; ++i)
            h.answer(7, i < rightAnswers ? "70" : "7");
        if (!meanwhile.isNull())
            h.writeRecord(stored = meanwhile, oldName = "Bruno\r\n");
        // A session that ends while the goodbye box waits must find the record
        // stored; the ticks and clicks a real box lets through must not leave again.
        QByteArray onDiskAtGoodbye = stored + oldName;
        h.dialogs.whileWaiting = [&] {
            if (h.dialogs.shown.last() == goodbye)
                onDiskAtGoodbye = h.record();
            h.t.Timer1_Timer();
            h.t.cmdExit1_Click();
        };
        closeBox ? (void)h.t.close() : h.t.cmdExit1_Click();
        // Once the program has ended, nothing runs.
        h.agent.take();
        h.t.cmdNext_Click();
        h.answer(QStringLiteral("70"));
        h.t.cmdExit1_Click();

        const bool beaten = !storedName.isEmpty();
        const QByteArray expected = beaten ? QByteArray::number(rightAnswers) + "\r\n" + storedName : stored + oldName;
        QCOMPARE(h.record(), expected);
        QCOMPARE(onDiskAtGoodbye, expected);
        QCOMPARE(h.dialogs.shown.mid(2), closeBox ? QStringList() : beaten ? QStringList({goodbye, recordStored}) : QStringList{goodbye});
        QCOMPARE(h.program.endings, QList<int>{0});
        QVERIFY(h.agent.calls.isEmpty());
    }

    void everyContestIsKeptAnswerByAnswerWithTheTimeFromTheQuestionHeard_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("ending");
        QTest::addColumn<QString>("problem"); // why keeping failed, told after the other boxes
        QTest::newRow("time up") << "tick" << "tempo scaduto" << QString();
        QTest::newRow("Exit") << "exit" << "uscita" << QString();
        QTest::newRow("close box") << "close" << "finestra chiusa" << QString();
        QTest::newRow("session ended") << "endNow" << "interrotta" << QString();
        QTest::newRow("keeping failed") << "exit" << "uscita" << "Impossibile conservare la sfida nella cartella X: spazio esaurito";
    }
    void everyContestIsKeptAnswerByAnswerWithTheTimeFromTheQuestionHeard()
    {
        QFETCH(QString, end);
        QFETCH(QString, ending);
        QFETCH(QString, problem);
        Harness h;
        FakeContestLog log;
        ManualClock clock;
        log.failure = problem;
        h.t.keepContests(log, clock);
        h.start(QString(), 7);
        // Heard after 1 s, answered 2.5 s later; an Enter while the wizard still reads;
        // the late end of that question must not start the next one's time.
        for (const auto &[factor, heard, typed] : {std::tuple{7, true, "70"}, {3, false, ""}, {5, true, "51"}}) {
            if (factor != 7)
                h.question(factor);
            clock.advance(factor == 5 ? 100 : 1000);
            if (heard)
                h.agent.finishAll();
            clock.advance(factor == 7 ? 2500 : 800);
            h.answer(QString::fromLatin1(typed));
        }
        const QHash<QString, std::function<void()>> ends{{"tick", [&h] { h.t.lblconto->setCaption("00:00:00"); h.t.Timer1_Timer(); }},
            {"exit", [&h] { h.t.cmdExit1_Click(); }}, {"close", [&h] { h.t.close(); }}, {"endNow", [&h] { h.t.endNow(143); }}};
        ends[end]();
        // Nothing after the end is kept.
        ends["close"]();
        ends["endNow"]();

        QCOMPARE(log.kept.size(), 4);
        const Contest &c = log.kept.last();
        QStringList answers;
        for (const Answer &a : c.answers)
            answers << QStringLiteral("%1 %2 %3 %4 %5").arg(a.n).arg(a.factor).arg(a.typed, a.right ? "right" : "wrong").arg(a.timeMs);
        QCOMPARE(answers, (QStringList{"1 7 70 right 2500", "2 3  wrong 0", "3 5 51 wrong 800"}));
        QCOMPARE(c.pupil + '|' + c.computer + '|' + endingName(c.ending) + '|' + QString::number(c.durationMs), "Amico|" + QSysInfo::machineHostName() + '|' + ending + "|6200");
        QVERIFY(c.start.isValid() && c.start.timeSpec() != Qt::LocalTime && log.kept.first().id == c.id);
        QCOMPARE(h.dialogs.shown.mid(2), (end == "tick" || end == "exit" ? QStringList{goodbye, recordStored} : QStringList())
                                              + (problem.isEmpty() ? QStringList() : QStringList{"MsgBox " + problem}));
    }

    void aFailureIsToldAndEndsTheProgramWithAnError_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QString>("message"); // DATA stands for the data folder
        QTest::newRow("character file") << ":/characters/merlin/merlin.json" << ":/characters/merlin/merlin.json manca";
        QTest::newRow("animation") << "Announce" << "Announce manca";
        QTest::newRow("record folder") << "folder" << "Impossibile creare la cartella DATA/decalumo: non è una cartella";
        QTest::newRow("storing a record") << "store" << "Impossibile scrivere il file DATA/decalumo/nquorvanti.txt: non è un file regolare";
    }
    void aFailureIsToldAndEndsTheProgramWithAnError()
    {
        QFETCH(QString, failing);
        QFETCH(QString, message);
        Harness h;
        h.agent.failing << failing;
        if (failing == "folder")
            writeBytes(h.data.path() + "/decalumo", "not a folder");
        h.start(QStringLiteral("Luca"));
        if (failing == "store") {
            h.answer(QStringLiteral("70"));
            QVERIFY(QFile::remove(h.path("nquorvanti.txt")) && QDir().mkdir(h.path("nquorvanti.txt")));
            h.t.cmdExit1_Click();
        }
        // Ticks during the error box must not start leaving.
        h.t.Timer1_Timer();

        QCOMPARE(h.program.endings, QList<int>{1});
        // A start that fails never shows the window.
        QCOMPARE(h.t.isVisible(), failing == "store");
        // After the start-up boxes, and after the goodbye when storing.
        QCOMPARE(h.dialogs.shown.mid(failing == "store" ? 3 : 2), QStringList{"MsgBox " + message.replace("DATA", h.data.path())});
    }

    // The window finds its faces its own quick way; it must draw with the very
    // faces the toolkit picks for the names they are known by, and with Debian's
    // metric-compatible ones where those names are not installed.
    void eachControlIsDrawnWithTheFaceItsNameStandsFor_data()
    {
        QTest::addColumn<Control>("control");
        QTest::addColumn<QString>("named");
        QTest::newRow("a counter's heading") << Control([](Tavola &t) { return t.Label6; }) << "Times New Roman";
        QTest::newRow("a counter, bold") << Control([](Tavola &t) { return t.lblScore; }) << "Times New Roman";
        QTest::newRow("the clock's heading") << Control([](Tavola &t) { return t.Label11; }) << "Times New Roman";
        QTest::newRow("an operand, large and bold") << Control([](Tavola &t) { return t.lblNum1; }) << "Arial";
        QTest::newRow("the answer box") << Control([](Tavola &t) { return t.Text3; }) << "Arial";
        QTest::newRow("the clock") << Control([](Tavola &t) { return t.lblconto; }) << "Arial Black";
        QTest::newRow("the verdict, bold italic") << Control([](Tavola &t) { return t.lblMessage; }) << "MS Sans Serif";
        QTest::newRow("a button, small and bold") << Control([](Tavola &t) { return t.cmdNext; }) << "MS Sans Serif";
        QTest::newRow("the record's holder") << Control([](Tavola &t) { return t.lblnome; }) << "MS Sans Serif";
    }
    void eachControlIsDrawnWithTheFaceItsNameStandsFor()
    {
        QFETCH(Control, control);
        QFETCH(QString, named);
        Faces::install();
        Harness h;
        const QFont used = control(h.t)->font();
        QFont asked(named);
        asked.setPointSizeF(used.pointSizeF());
        asked.setWeight(used.weight());
        asked.setItalic(used.italic());
        QCOMPARE(drawn(used), drawn(asked));
        const QString standIn = named == "Times New Roman" ? "Liberation Serif" : "Liberation Sans";
        if (!QFontDatabase::hasFamily(named) && QFontDatabase::hasFamily(standIn))
            QCOMPARE(QFontInfo(used).family(), standIn);
    }
};

QTEST_MAIN(TestTavola)
#include "test_tavola.moc"
