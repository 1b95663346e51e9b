#include "CharacterHarness.h"
#include "Failure.h"

#include <QTest>

class TestQueue : public QObject
{
    Q_OBJECT

private slots:
    void speechLastsItsClipsTrueDurationAndShowsInTheBalloon()
    {
        CharacterHarness h;
        h.wizard->Show();
        h.wizard->Speak(QStringLiteral("sette"));
        h.runQueue();
        const qint64 spoken = h.times.at(3) - h.times.at(2);
        QVERIFY2(spoken >= 500 && spoken <= 520, qPrintable(QString::number(spoken)));
        QVERIFY(h.audio.bytes > 0);
        QCOMPARE(h.wizard->balloon().text(), QStringLiteral("sette"));
        QCOMPARE(h.wizard->accessibleName(), QStringLiteral("sette"));
    }

    void speechWithoutASoundDeviceKeepsItsTime()
    {
        CharacterHarness h;
        h.audio.opens = false;
        h.wizard->Speak(QStringLiteral("dieci"));
        h.wizard->Speak(QStringLiteral("per"));
        h.runQueue();
        QCOMPARE(h.finishedRequests(), (QStringList{"Speak dieci", "Speak per"}));
        QVERIFY(h.times.last() - h.times.first() >= 800);
    }

    void heightTakesEffectAtOnceEvenBehindQueuedRequests()
    {
        CharacterHarness h;
        h.wizard->Speak(QStringLiteral("una frase molto lunga"));
        h.wizard->setHeight(205);
        QCOMPARE(h.wizard->height(), 205);
        const int width = h.wizard->width();
        QVERIFY(width > 0);
        h.wizard->setHeight(410);
        QCOMPARE(h.wizard->height(), 410);
        // The art keeps its proportions.
        QVERIFY(qAbs(h.wizard->width() - 2 * width) <= 1);
        QCOMPARE(h.wizard->pending(), 1);
    }

    void requestsIssuedDuringALongSpeechRunAfterIt()
    {
        CharacterHarness h;
        const QString announcement = QString(60, QLatin1Char('a'));
        h.wizard->Speak(announcement);
        for (int i = 0; i < 100; ++i) {
            QCoreApplication::processEvents();
            h.clock.advance(20);
        }
        QCOMPARE(h.log, QStringList{"start Speak " + announcement});
        h.wizard->Play(QStringLiteral("Greet"));
        h.wizard->Speak(QStringLiteral("dopo"));
        h.runQueue();
        QCOMPARE(h.finishedRequests(), (QStringList{"Speak " + announcement, "Play Greet", "Speak dopo"}));
        QVERIFY(h.times.at(1) >= 6000);
    }

    void aBurstOf200RequestsRunsLaterOneAtATimeInOrder()
    {
        CharacterHarness h;
        QStringList issued;
        for (int i = 0; i < 200; ++i) {
            switch (i % 4) {
            case 0: h.wizard->Show(); issued << "Show"; break;
            case 1: h.wizard->MoveTo(100 + i, 100); issued << QStringLiteral("MoveTo %1 100").arg(100 + i); break;
            case 2: h.wizard->Play(i % 8 == 2 ? QStringLiteral("Greet") : QStringLiteral("domagic1"));
                    issued << (i % 8 == 2 ? "Play Greet" : "Play domagic1"); break;
            default: h.wizard->Speak(QString::number(i)); issued << "Speak " + QString::number(i); break;
            }
        }
        // Every call returned before anything was carried out.
        QVERIFY(h.log.isEmpty());
        QCOMPARE(h.wizard->pending(), 200);
        QVERIFY(!h.wizard->isVisible());

        h.runQueue(3'600'000);

        QStringList expected;
        for (const QString &r : issued)
            expected << "start " + r << "end " + r;
        QCOMPARE(h.log, expected);
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
