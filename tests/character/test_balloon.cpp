#include "Balloon.h"
#include "BalloonPlacement.h"

#include <QTest>

using Side = BalloonPlacement::Side;

// Where the speech balloon goes when parts of the screen must stay visible.
class TestBalloon : public QObject
{
    Q_OBJECT

private slots:
    void theBalloonTakesTheNearestPlaceThatCoversNothingElseTheLeastImportant_data()
    {
        QTest::addColumn<QList<QSize>>("sizes");
        QTest::addColumn<QList<QRect>>("keepClear");
        QTest::addColumn<QRect>("expected");
        QTest::addColumn<int>("size");
        QTest::addColumn<Side>("side");
        // The character is at (300, 100), 100 by 200: the mouth is at y 175,
        // the face runs from x 330 to 370.
        const QList<QSize> one{{200, 80}};
        const QRect rightOfFace(360, 0, 600, 400);
        QTest::newRow("nothing to avoid: right of the face, point at the mouth")
            << one << QList<QRect>{} << QRect(370, 96, 200, 80) << 0 << BalloonPlacement::Right;
        QTest::newRow("the right side taken: left of the face")
            << one << QList<QRect>{rightOfFace} << QRect(130, 96, 200, 80) << 0 << BalloonPlacement::Left;
        QTest::newRow("a line beside the mouth: just above it")
            << one << QList<QRect>{{360, 120, 600, 40}} << QRect(370, 40, 200, 80) << 0 << BalloonPlacement::Right;
        QTest::newRow("too wide for either side: wrapped narrower")
            << QList<QSize>{{400, 80}, {200, 160}} << QList<QRect>{rightOfFace, {0, 0, 100, 400}}
            << QRect(130, 16, 200, 160) << 1 << BalloonPlacement::Left;
        QTest::newRow("no side free: covers the less important area")
            << one << QList<QRect>{rightOfFace, {0, 0, 360, 400}} << QRect(130, 96, 200, 80) << 0
            << BalloonPlacement::Left;
    }
    void theBalloonTakesTheNearestPlaceThatCoversNothingElseTheLeastImportant()
    {
        QFETCH(QList<QSize>, sizes);
        QFETCH(QList<QRect>, keepClear);
        QFETCH(QRect, expected);
        QFETCH(int, size);
        QFETCH(Side, side);
        const auto choice = BalloonPlacement::choose(QRect(300, 100, 100, 200), sizes, QRect(0, 0, 1000, 1000), keepClear);
        QCOMPARE(choice.rect, expected);
        QCOMPARE(choice.size, size);
        QCOMPARE(choice.side, side);
    }

    void whatTheWizardSaysLeavesTheClockTheQuestionTheVerdictAndTheAnswerVisible_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("the announcement")
            << "Allora attenzione, iniziamo la nostra avventura con la tabellina del 10. Io detto e tu scrivi il "
               "risultato nello spazio sotto di me. Mi raccomando inserisci il risultato e premi invio e poi aspetta "
               "che io finisca di parlare e premi ancora invio per avere la domanda successiva";
        QTest::newRow("a two-line praise") << "Esatto Luca 30 Sei sulla buona strada per diventare cavaliere";
        QTest::newRow("a verdict") << "Sbagliato 70";
    }
    void whatTheWizardSaysLeavesTheClockTheQuestionTheVerdictAndTheAnswerVisible()
    {
        QFETCH(QString, text);
        // The window as it stands on screen, its client area at (4, 46).
        const QRect clock(622, 94, 121, 57);
        const QRect verdict(428, 182, 361, 39);
        const QRect question(260, 46, 330, 85);
        const QRect answer(196, 374, 489, 89);
        const QRect counters(4, 46, 225, 297);
        const QRect wizard(250, 175, 164, 205);
        Balloon balloon(false, nullptr);
        balloon.setKeepClear({clock, verdict, question, answer, counters});
        balloon.say(text, false);
        balloon.placeBeside(wizard);
        const QRect at = balloon.geometry();
        for (const QRect &area : {clock, verdict, question, answer})
            QVERIFY2(!at.intersects(area), qPrintable(QStringLiteral("balloon %1,%2 %3x%4")
                                                          .arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height())));
        QVERIFY(at.intersects(wizard.adjusted(-40, 0, 40, 0))); // still beside him
    }
};

QTEST_MAIN(TestBalloon)
#include "test_balloon.moc"
