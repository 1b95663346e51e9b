#include "ClientArea.h"
#include "ClockRandom.h"
#include "PictureButton.h"
#include "TavolaHarness.h"

#include <QSet>

class TestQuestion : public QObject
{
    Q_OBJECT

private slots:
    void theKeyboardReachesNewQuestionOnlyOnceItIsEnabledAndExitAlways()
    {
        TavolaHarness h;
        Tavola &t = h.tavola;
        t.show();
        QVERIFY(QTest::qWaitForWindowActive(&t));
        h.agent.Load(Wizard::id, Wizard::file);
        t.cmdExit1->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(t.Text3));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(t.cmdExit1));
        t.Text3->setFocus();
        t.Text3->setText(QStringLiteral("70"));
        // A mnemonic presses the button at once and clicks it a moment later.
        QTest::keyClick(t.Text3, Qt::Key_N, Qt::AltModifier);
        QVERIFY(!t.cmdNext->isDown());
        QCOMPARE(t.Text3->text(), QStringLiteral("70"));

        t.cmdNext->setEnabled(true);
        QTest::keyClick(t.Text3, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(t.cmdNext));
        h.random.script(1, 4);
        QTest::keyClick(t.Text3, Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(t.factor, qint16(4));

        QTest::keyClick(t.Text3, Qt::Key_X, Qt::AltModifier);
        QTRY_COMPARE(h.dialogs.shown, QStringList{"MsgBox Ciao. Ti aspetto per la prossima sfida "});
    }

    void aQuestionFillsItsBoxesAndIsReadAloud_data()
    {
        QTest::addColumn<int>("factor");
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("word");
        QTest::newRow("1") << 1 << "10" << "uno";
        QTest::newRow("7") << 7 << "70" << "sette";
        QTest::newRow("10") << 10 << "100" << "dieci";
    }
    void aQuestionFillsItsBoxesAndIsReadAloud()
    {
        QFETCH(int, factor);
        QFETCH(QString, product);
        QFETCH(QString, word);
        TavolaHarness h;
        Tavola &t = h.tavola;
        t.lblMessage->setCaption(QStringLiteral("Sbagliato!! 30"));
        t.lblNum1->show();
        t.Text3->setText(QStringLiteral("30"));

        const QStringList heard = h.question(factor, 4);

        QCOMPARE(h.random.reseeds, 1);
        QCOMPARE(t.lblNum1->caption(), QStringLiteral("10"));
        QCOMPARE(t.lblNum2->caption(), QString::number(factor));
        QCOMPARE(t.Text7->text(), product);
        QCOMPARE(t.lblMessage->caption(), QString());
        QVERIFY(t.lblNum1->isHidden() && t.lblNum2->isHidden() && t.Label10->isHidden());
        QCOMPARE(t.Text3->text(), QString());
        QCOMPARE(t.focusWidget(), static_cast<QWidget *>(t.Text3));
        QCOMPARE(heard, (QStringList{"Show", "MoveTo 250 175", "Play Greet", "Height 205", "Speak 10", "Speak per", "Speak " + word}));
    }

    void everyFactorComesUpOverManyQuestionsAsFastAsTheyCome()
    {
        // Seeds a nanosecond apart, as two questions in the same instant would get.
        quint64 now = 1'700'000'000'000'000'000ULL;
        ClockRandom random([&now] { return now++; });
        QSet<int> factors;
        QSet<int> tints;
        for (int i = 0; i < 500; ++i) {
            random.reseed();
            tints << int(random.next() * 10) + 1;
            factors << int(random.next() * 10) + 1;
        }
        QCOMPARE(factors, (QSet<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        QCOMPARE(tints.size(), 10);
    }

    void theBackgroundIsBandsOfTheQuestionsTintAndSurvivesARepaint_data()
    {
        QTest::addColumn<int>("tintFactor");
        QTest::newRow("tint 1") << 1;
        QTest::newRow("tint 10") << 10;
    }
    void theBackgroundIsBandsOfTheQuestionsTintAndSurvivesARepaint()
    {
        QFETCH(int, tintFactor);
        TavolaHarness h;
        h.question(6, tintFactor);
        h.tavola.client->repaint();
        const QImage image = h.tavola.client->grab().toImage();
        const int green = 20 * tintFactor;
        // Points where no shape or control covers the background.
        QCOMPARE(image.pixelColor(450, 1), QColor(200, green, 0));
        QCOMPARE(image.pixelColor(720, 278), QColor(200, green, 128));
        QCOMPARE(image.pixelColor(720, 555), QColor(200, green, 255));
        // The shapes stay on top of the bands.
        QCOMPARE(image.pixelColor(12, 150), QColor(0, 255, 255));
    }
};

QTEST_MAIN(TestQuestion)
#include "test_question.moc"
