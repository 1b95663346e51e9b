#include "PictureButton.h"
#include "TavolaHarness.h"

#include <QTimer>

namespace {

const QString goodbye = QStringLiteral("MsgBox Ciao. Ti aspetto per la prossima sfida ");
const QString recordStored = QStringLiteral("MsgBox Ok ho registrato il tuo record, C A M P I O N E\"");

} // namespace

class TestContest : public QObject
{
    Q_OBJECT

private slots:
    void startUpGreetsThePupilByTheNameGiven_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("greeting");
        QTest::addColumn<QString>("shownName");
        QTest::newRow("a name") << "Luca" << " Luca vediamo se sei un vero campione  " << "Luca";
        QTest::newRow("no name") << "" << "  vediamo se sei un vero campione  " << "Amico";
        QTest::newRow("blanks") << "   " << "     vediamo se sei un vero campione  " << "   ";
        const int fits = Tavola::nameLength;
        QTest::newRow("a long paste is cut to fit") << QString(100000, u'W') << " " + QString(fits, u'W') + " vediamo se sei un vero campione  " << QString(fits, u'W');
        QTest::newRow("a letter cut in half is dropped") << QString(fits - 1, u'x') + QString::fromUtf8("😀") << " " + QString(fits - 1, u'x') + " vediamo se sei un vero campione  " << QString(fits - 1, u'x');
    }
    void startUpGreetsThePupilByTheNameGiven()
    {
        QFETCH(QString, name);
        QFETCH(QString, greeting);
        QFETCH(QString, shownName);
        TavolaHarness h;
        h.dialogs.name = name;
        h.tavola.Form_Load();
        QCOMPARE(h.dialogs.shown, (QStringList{"InputBox Come ti chiami?", "MsgBox " + greeting}));
        QCOMPARE(h.tavola.lblnome1->caption(), shownName);
        QCOMPARE(h.tavola.Txtnome1->text(), shownName);
    }

    void startUpAnnouncesThenPutsTheFirstQuestion()
    {
        TavolaHarness h;
        h.dialogs.name = QStringLiteral("Luca");
        h.random.script(2, 9);
        h.tavola.Form_Load();
        QCOMPARE(h.tavola.lblconto->caption(), QStringLiteral("00:00:00"));
        QVERIFY(h.tavola.Timer1->isActive());
        h.tavola.Form_Activate();

        QCOMPARE(h.tavola.lblconto->caption(), QStringLiteral("00.07.00"));
        const QStringList calls = h.agent.take();
        QCOMPARE(calls.mid(0, 5), (QStringList{"Load Merlin :/characters/merlin/merlin.json", "Show", "MoveTo 250 175",
                                              "Play Announce", "Height 205"}));
        QVERIFY(calls.at(5).startsWith("Speak Allora attenzione, iniziamo"));
        QCOMPARE(calls.mid(6), (QStringList{"Show", "MoveTo 250 175", "Play Greet", "Height 205", "Speak 10",
                                           "Speak per", "Speak nove"}));
        QCOMPARE(h.tavola.lblScore->caption(), QStringLiteral("0"));
    }

    void theClockCountsDownAndTheContestEndsWhenItReadsZero_data()
    {
        QTest::addColumn<QString>("preset"); // a caption set before the ticks; empty leaves the clock's own
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("ends");
        QTest::newRow("1") << "" << 1 << "00:06:59" << false;
        QTest::newRow("60") << "" << 60 << "00:06:00" << false;
        QTest::newRow("61") << "" << 61 << "00:05:59" << false;
        QTest::newRow("419") << "" << 419 << "00:00:01" << false;
        QTest::newRow("420") << "" << 420 << "00:00:00" << false;
        QTest::newRow("421 ends") << "" << 421 << "00:00:00" << true;
        QTest::newRow("a caption of zero, whatever ticks are left") << "00:00:00" << 1 << "00:00:00" << true;
    }
    void theClockCountsDownAndTheContestEndsWhenItReadsZero()
    {
        QFETCH(QString, preset);
        QFETCH(int, ticks);
        QFETCH(QString, caption);
        QFETCH(bool, ends);
        TavolaHarness h;
        h.startAs(QStringLiteral("Luca"));
        if (!preset.isEmpty())
            h.tavola.lblconto->setCaption(preset);
        for (int i = 0; i < ticks; ++i)
            h.tavola.Timer1_Timer();
        QCOMPARE(h.tavola.lblconto->caption(), caption);
        QCOMPARE(h.dialogs.shown, ends ? QStringList{goodbye} : QStringList());
        QCOMPARE(h.program.endings, ends ? QList<int>{0} : QList<int>());
    }

    void theRecordIsShownAtStartAndStoredOnlyWhenBeaten_data()
    {
        QTest::addColumn<QString>("pupil");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("rightAnswers");
        QTest::addColumn<QByteArray>("storedName"); // empty: the record stays as it was
        QTest::addColumn<QByteArray>("meanwhile");  // stored by Bruno's contest after this one started
        const QString niccolo = QStringLiteral("Niccolò");
        const QByteArray niccoloBytes("Niccol\xc3\xb2\r\n");
        const QByteArray none;
        QTest::newRow("first run, no right answer") << niccolo << none << 0 << none << none;
        QTest::newRow("first run, three right") << niccolo << none << 3 << niccoloBytes << none;
        QTest::newRow("equal score") << niccolo << QByteArray("2\r\n") << 2 << none << none;
        QTest::newRow("one more, a shorter name") << niccolo << QByteArray("2\r\n") << 3 << niccoloBytes << none;
        QTest::newRow("one less") << niccolo << QByteArray("4\r\n") << 3 << none << none;
        QTest::newRow("letters only count as 0") << niccolo << QByteArray("tanti\r\n") << 1 << niccoloBytes << none;
        QTest::newRow("no name is stored as Amico") << QString() << none << 1 << QByteArray("Amico\r\n") << none;
        QTest::newRow("a name on one line") << "Anna\nMaria\r" << none << 1 << QByteArray("Anna Maria \r\n") << none;
        QTest::newRow("another contest stored as much meanwhile") << niccolo << none << 3 << none << QByteArray("3\r\n");
        QTest::newRow("another contest stored less meanwhile") << niccolo << none << 3 << niccoloBytes << QByteArray("2\r\n");
    }
    void theRecordIsShownAtStartAndStoredOnlyWhenBeaten()
    {
        QFETCH(QString, pupil);
        QFETCH(QByteArray, stored);
        QFETCH(int, rightAnswers);
        QFETCH(QByteArray, storedName);
        QFETCH(QByteArray, meanwhile);
        const bool beaten = !storedName.isEmpty();
        // A longer old name, so a new one must replace it whole.
        QByteArray oldName = stored.isEmpty() ? QByteArray() : QByteArray("Massimiliano\r\n");
        TavolaHarness h;
        if (!stored.isNull())
            h.writeRecord(stored, oldName);
        h.startAs(pupil);
        // Start-up shows the files as they stand, line ends and all.
        QCOMPARE(h.tavola.lblpunti->caption() + h.tavola.lblnome->caption(), QString::fromUtf8(stored + oldName));
        for (int i = 0; i < rightAnswers; ++i) {
            h.question(7);
            h.answer(QStringLiteral("70"));
        }
        h.question(7);
        h.answer(QStringLiteral("7"));
        if (!meanwhile.isNull())
            h.writeRecord(stored = meanwhile, oldName = "Bruno\r\n");
        // A session that ends while the goodbye box waits must find the record stored.
        // Ticks and clicks that a real box lets through must not start leaving again.
        QByteArray onDiskAtGoodbye;
        bool clockRuns = true;
        const QString clock = h.tavola.lblconto->caption();
        h.dialogs.whileWaiting = [&] {
            if (onDiskAtGoodbye.isNull())
                onDiskAtGoodbye = bytesOf(h.recordPath("aquorvanti.txt")) + bytesOf(h.recordPath("nquorvanti.txt"));
            clockRuns = clockRuns && h.tavola.Timer1->isActive();
            h.tavola.Timer1_Timer();
            h.tavola.cmdExit1_Click();
        };

        h.tavola.cmdExit1_Click();

        const QByteArray score = beaten ? QByteArray::number(rightAnswers) + "\r\n" : stored;
        const QByteArray name = beaten ? storedName : oldName;
        QCOMPARE(h.program.endings, QList<int>{0});
        QCOMPARE(h.dialogs.shown, beaten ? (QStringList{goodbye, recordStored}) : QStringList{goodbye});
        QCOMPARE(bytesOf(h.recordPath("aquorvanti.txt")) + bytesOf(h.recordPath("nquorvanti.txt")), score + name);
        QCOMPARE(onDiskAtGoodbye, score + name);
        QVERIFY(clockRuns);
        QCOMPARE(h.tavola.lblconto->caption(), clock);
    }

    void nothingRunsOnceTheProgramHasEnded_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("leaving: goodbye, then the record") << false;
        QTest::newRow("the close box: no goodbye, nothing stored") << true;
    }
    void nothingRunsOnceTheProgramHasEnded()
    {
        QFETCH(bool, closeBox);
        TavolaHarness h;
        h.startAs(QStringLiteral("Luca"));
        h.answer(QStringLiteral("70"));
        closeBox ? (void)h.tavola.close() : h.tavola.cmdExit1_Click();
        QCOMPARE(h.dialogs.shown, closeBox ? QStringList() : (QStringList{goodbye, recordStored}));
        QCOMPARE(bytesOf(h.recordPath("aquorvanti.txt")), closeBox ? QByteArray() : QByteArray("1\r\n"));
        h.agent.take();
        h.dialogs.shown.clear();
        h.tavola.cmdNext_Click();
        h.answer(QStringLiteral("70"));
        h.tavola.Timer1_Timer();
        h.tavola.cmdExit1_Click();
        QVERIFY(h.agent.calls.isEmpty() && h.dialogs.shown.isEmpty());
        QCOMPARE(h.program.endings, QList<int>{0});
    }

    void aFailureIsToldAndEndsTheProgramWithAnError_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QString>("message"); // DATA stands for the data folder
        QTest::addColumn<QStringList>("before"); // the boxes before the failure's
        const QStringList startUp = {"InputBox Come ti chiami?", "MsgBox  Luca vediamo se sei un vero campione  "};
        QTest::newRow("character file") << "load" << "Il file del personaggio :/characters/merlin/merlin.json manca" << startUp;
        QTest::newRow("animation") << "Announce" << "Animazione Announce mancante" << startUp;
        QTest::newRow("record folder") << "folder" << "Impossibile creare la cartella DATA/decalumo: non è una cartella" << startUp;
        QTest::newRow("storing a record") << "store" << "Impossibile scrivere il file DATA/decalumo/nquorvanti.txt: non è un file regolare" << startUp + QStringList{goodbye};
    }
    void aFailureIsToldAndEndsTheProgramWithAnError()
    {
        QFETCH(QString, failing);
        QFETCH(QString, message);
        QFETCH(QStringList, before);
        TavolaHarness h;
        h.agent.failLoad = failing == "load";
        h.agent.failingAnimations << failing;
        if (failing == "folder")
            writeBytes(h.data.path() + "/decalumo", "not a folder");

        h.dialogs.name = QStringLiteral("Luca");
        h.random.script(3, 7);
        h.tavola.start();
        if (failing == "store") {
            h.answer(QStringLiteral("70"));
            QVERIFY(QFile::remove(h.recordPath("nquorvanti.txt")) && QDir().mkdir(h.recordPath("nquorvanti.txt")));
            h.tavola.cmdExit1_Click();
        }
        // Ticks during the error box must not start leaving.
        h.tavola.Timer1_Timer();

        QCOMPARE(h.program.endings, QList<int>{1});
        // A start that fails never shows the window.
        QCOMPARE(h.tavola.isVisible(), failing == "store");
        QCOMPARE(h.dialogs.shown, before + QStringList{"MsgBox " + message.replace(QStringLiteral("DATA"), h.data.path())});
    }
};

QTEST_MAIN(TestContest)
#include "test_contest.moc"
