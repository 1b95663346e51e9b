#include "Balloon.h"
#include "CharacterHarness.h"
#include "Failure.h"

#include <QTest>

class TestQueue : public QObject
{
    Q_OBJECT

private slots:
    void speechLastsItsClipsTrueLengthAndWhatFollowsWaitsForIt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("soundDevice");
        QTest::newRow("short") << "sette" << true;
        QTest::newRow("no sound device") << "sette" << false;
        QTest::newRow("still speaking when the next requests come") << QString(60, QLatin1Char('a')) << true;
    }
    void speechLastsItsClipsTrueLengthAndWhatFollowsWaitsForIt()
    {
        QFETCH(QString, text);
        QFETCH(bool, soundDevice);
        CharacterHarness h;
        h.audio.opens = soundDevice;
        h.wizard->Show();
        h.wizard->Speak(text);
        h.advance(2000);
        h.wizard->Play(QStringLiteral("Greet"));
        h.wizard->Speak(QStringLiteral("dopo"));
        h.runQueue();
        QCOMPARE(h.log, h.ranInTurn({"Show", "Speak " + text, "Play Greet", "Speak dopo"}));
        const qint64 spoken = h.at["end Speak " + text] - h.at["start Speak " + text];
        QVERIFY2(qAbs(spoken - 100 * text.size() - 10) <= 10, qPrintable(QString::number(spoken)));
        QCOMPARE(h.audio.bytes, soundDevice ? 22050 / 5 * (text.size() + 4) : 0);
        QCOMPARE(h.wizard->balloon().text(), QStringLiteral("dopo"));
        QCOMPARE(h.wizard->accessibleName(), QStringLiteral("dopo"));
    }

    void aBurstOf200RequestsRunsLaterOneAtATimeInOrderWhileTheHeightChangesAtOnce()
    {
        CharacterHarness h;
        QStringList issued;
        for (int i = 0; i < 200; ++i) {
            const QString animation = i % 8 == 2 ? QStringLiteral("Greet") : QStringLiteral("domagic1");
            switch (i % 4) {
            case 0: h.wizard->Show(); issued << "Show"; break;
            case 1: h.wizard->MoveTo(100 + i, 100); issued << QStringLiteral("MoveTo %1 100").arg(100 + i); break;
            case 2: h.wizard->Play(animation); issued << "Play " + animation; break;
            default: h.wizard->Speak(QString::number(i)); issued << "Speak " + QString::number(i); break;
            }
        }
        // Every call returned before anything was carried out.
        QVERIFY(h.log.isEmpty() && !h.wizard->isVisible());
        const QSize natural = h.wizard->size();
        h.wizard->setHeight(natural.height() / 2);
        // The art keeps its proportions.
        QCOMPARE(h.wizard->size(), natural / 2);
        h.runQueue();
        QCOMPARE(h.log, h.ranInTurn(issued));
        QCOMPARE(h.wizard->pos(), QPoint(297, 100));
    }

    void anAnimationTheFileLacksFailsNamingIt()
    {
        CharacterHarness h;
        try {
            h.wizard->Play(QStringLiteral("volare"));
            QFAIL("no failure");
        } catch (const Failure &failure) {
            QVERIFY(failure.message().contains("volare"));
        }
        QCOMPARE(h.wizard->pending(), 0);
    }
};

QTEST_MAIN(TestQueue)
#include "test_queue.moc"
