#include "CharacterHarness.h"
#include "Failure.h"

#include <QTemporaryDir>
#include <QTest>

class TestQueue : public QObject
{
    Q_OBJECT

private slots:
    void callsReturnBeforeAnythingIsCarriedOut()
    {
        CharacterHarness h;
        h.wizard->Show();
        h.wizard->MoveTo(250, 175);
        h.wizard->Play(QStringLiteral("Greet"));
        h.wizard->Speak(QStringLiteral("10"));
        QVERIFY(h.log.isEmpty());
        QCOMPARE(h.wizard->pending(), 4);
        QVERIFY(!h.wizard->isVisible());
    }

    void requestsRunOneAtATimeInTheOrderIssued()
    {
        CharacterHarness h;
        const QStringList issued = {"Show", "MoveTo 250 175", "Play Greet", "Speak 10", "Speak per",
                                    "Play congratulate", "MoveTo 40 60", "Speak sette", "Play domagic1"};
        h.wizard->Show();
        h.wizard->MoveTo(250, 175);
        h.wizard->Play(QStringLiteral("Greet"));
        h.wizard->Speak(QStringLiteral("10"));
        h.wizard->Speak(QStringLiteral("per"));
        h.wizard->Play(QStringLiteral("congratulate"));
        h.wizard->MoveTo(40, 60);
        h.wizard->Speak(QStringLiteral("sette"));
        h.wizard->Play(QStringLiteral("domagic1"));
        h.runQueue();

        QStringList expected;
        for (const QString &r : issued)
            expected << "start " + r << "end " + r;
        QCOMPARE(h.log, expected);
        QCOMPARE(h.wizard->pos(), QPoint(40, 60));
    }

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

    void aBurstOf200RequestsAllCompletesInOrder()
    {
        CharacterHarness h;
        QStringList issued;
        for (int i = 0; i < 200; ++i) {
            switch (i % 4) {
            case 0: h.wizard->Show(); issued << "Show"; break;
            case 1: h.wizard->MoveTo(100 + i, 100); issued << QStringLiteral("MoveTo %1 100").arg(100 + i); break;
            case 2: h.wizard->Play(QStringLiteral("Greet")); issued << "Play Greet"; break;
            default: h.wizard->Speak(QString::number(i)); issued << "Speak " + QString::number(i); break;
            }
        }
        h.runQueue(3'600'000);
        QCOMPARE(h.finishedRequests(), issued);
        QCOMPARE(h.wizard->pending(), 0);
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

    void aBrokenCharacterFileFailsNamingTheFile_data()
    {
        QTest::addColumn<QByteArray>("manifest");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not json") << QByteArray("{ \"art\": ");
        QTest::newRow("no art") << QByteArray("{ \"art\": \"assente.svg\", \"animations\": {} }");
        QTest::newRow("an array") << QByteArray("[1, 2, 3]");
    }
    void aBrokenCharacterFileFailsNamingTheFile()
    {
        QFETCH(QByteArray, manifest);
        QTemporaryDir dir;
        const QString path = dir.filePath("mago.json");
        if (!manifest.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(manifest);
        }
        ManualClock clock;
        FakeAudio audio;
        FakeVoice voice;
        CharacterSet set(clock, audio, voice);
        try {
            set.Load(QStringLiteral("Merlin"), path);
            QFAIL("no failure");
        } catch (const Failure &failure) {
            QVERIFY2(failure.message().contains(path), qPrintable(failure.message()));
        }
        QVERIFY_THROWS_EXCEPTION(Failure, set.Item(QStringLiteral("Merlin")));
    }
};

QTEST_MAIN(TestQueue)
#include "test_queue.moc"
