#include "PictureButton.h"
#include "TavolaHarness.h"

class TestAnswer : public QObject
{
    Q_OBJECT

private slots:
    void anAnswerIsRightOnlyWhenItIsExactlyTheProduct_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("typedAgain"); // after the verdict, back in the box; null: nothing
        QTest::newRow("70") << "70" << true << QString();
        QTest::newRow("leading zero") << "070" << false << QString();
        QTest::newRow("leading blank") << " 70" << false << QString();
        QTest::newRow("trailing blank") << "70 " << false << QString();
        QTest::newRow("empty") << "" << false << QString();
        QTest::newRow("in words") << "settanta" << false << QString();
        QTest::newRow("another number") << "71" << false << QString();
        // A question counts once.
        QTest::newRow("right, then Enter again") << "70" << true << "70";
        QTest::newRow("wrong, then the product read off the verdict") << "71" << false << "70";
    }
    void anAnswerIsRightOnlyWhenItIsExactlyTheProduct()
    {
        QFETCH(QString, typed);
        QFETCH(bool, right);
        QFETCH(QString, typedAgain);
        TavolaHarness h;
        Tavola &t = h.tavola;
        h.question(7);
        // Typing shows the written question; the checks below find it judged once.
        QTest::keyClicks(t.Text3, QStringLiteral("7"));
        QVERIFY(!t.lblNum1->isHidden() && !t.lblNum2->isHidden() && !t.Label10->isHidden());
        h.answer(typed);
        if (!typedAgain.isNull())
            h.answer(typedAgain);

        QCOMPARE(t.lblMessage->caption(), right ? QStringLiteral("Esatto. Sei forte!!!") : QStringLiteral("Sbagliato!! 70"));
        QCOMPARE(t.lblMessage->palette().color(QPalette::WindowText), right ? QColor(0, 0, 255) : QColor(255, 0, 0));
        QCOMPARE(t.lblScore->caption(), right ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(t.lblScore1->caption(), right ? QStringLiteral("0") : QStringLiteral("1"));
        QCOMPARE(t.lblScore2->caption(), QStringLiteral("1"));
        QVERIFY(t.cmdNext->isEnabled());
        QCOMPARE(t.focusWidget(), typedAgain.isNull() ? static_cast<QWidget *>(t.cmdNext) : t.Text3);
        QVERIFY(t.lblNum1->isHidden() && t.lblNum2->isHidden() && t.Label10->isHidden());
        QCOMPARE(t.Text3->text(), typedAgain.isNull() ? typed : typedAgain);
        const QStringList expected = right
            ? QStringList{"Show", "MoveTo 250 175", "Height 205", "Speak Esatto", "Speak 70"}
            : QStringList{"Show", "MoveTo 250 175", "Play Greet", "Height 205", "Speak Sbagliato", "Speak 70"};
        QCOMPARE(h.agent.take(), expected);
    }

    void theCharacterPraisesByTheCountOfEarlierRightAnswers_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QStringList>("heard");
        const QString knight = "Speak Ti nomino cavaliere della tabellina, il massimo ordine per un eroe";
        const QString champion = "Speak Hai lavorato bene mio leale campione: sei invincibile";
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
        QTest::newRow("k=23") << 23 << QStringList{"Speak Giusto", "Speak 40", "Play congratulate", knight};
        QTest::newRow("k=26") << 26 << QStringList{"Speak Giusto", "Speak Niccolò", "Speak 40"};
        QTest::newRow("k=27") << 27 << QStringList{"Speak Giusto", "Speak 40", "Play congratulate", champion};
        QTest::newRow("k=28") << 28 << QStringList{"Speak Giusto", "Speak 40"};
        QTest::newRow("k=40") << 40 << QStringList{"Speak Giusto", "Speak 40"};
    }
    void theCharacterPraisesByTheCountOfEarlierRightAnswers()
    {
        QFETCH(int, k);
        QFETCH(QStringList, heard);
        TavolaHarness h;
        h.tavola.Txtnome1->setText(QStringLiteral("Niccolò"));
        for (int i = 0; i < k; ++i) {
            h.question(4);
            h.answer(QStringLiteral("40"));
        }
        h.question(4);
        h.answer(QStringLiteral("4 0"));
        h.question(4);

        h.answer(QStringLiteral("40"));

        QCOMPARE(h.agent.take(), QStringList({"Show", "MoveTo 250 175", "Height 205"}) + heard);
        QCOMPARE(h.tavola.lblScore->caption(), QString::number(k + 1));
    }
};

QTEST_MAIN(TestAnswer)
#include "test_answer.moc"
