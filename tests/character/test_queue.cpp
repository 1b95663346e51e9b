#include "Balloon.h"
#include "CharacterHarness.h"

#include <QTest>

class TestQueue : public QObject
{
    Q_OBJECT

private slots:
    void speechGoesAsFarAsItIsHeardAndWhatFollowsWaitsForIt_data()
    {
        using State = SoundOutput::State;
        using Progress = SoundOutput::Progress;
        using Heard = std::function<Progress(qint64)>;
        // The clip of "dieci per sette ecco" is 2000 ms long; "per" starts at 600 ms.
        QTest::addColumn<QString>("text");
        // What the output says `ms` into the clip.
        QTest::addColumn<Heard>("heard");
        QTest::addColumn<QString>("markedAt800");
        QTest::addColumn<qint64>("spokenMs");
        QTest::addColumn<int>("stops");
        const QString words = QStringLiteral("dieci per sette ecco");
        QTest::newRow("no sound: by the clock") << words << Heard([](qint64) { return Progress{}; }) << "per"
                                               << qint64(2000) << 0;
        QTest::newRow("sound heard 300 ms late") << words << Heard([](qint64 ms) {
            return ms < 300 ? Progress{State::Starting, 0} : Progress{State::Playing, qMin<qint64>(ms - 300, 2000)};
        }) << "dieci" << qint64(2300) << 0;
        QTest::newRow("played out before the clock's end") << words << Heard([](qint64 ms) {
            return ms < 1500 ? Progress{State::Playing, ms} : Progress{State::Played, 2000};
        }) << "per" << qint64(1500) << 0;
        QTest::newRow("sound that never starts is given up") << words << Heard([](qint64) {
            return Progress{State::Starting, 0};
        }) << "dieci" << qint64(2000 + 500) << 1;
        QTest::newRow("a server's position trailing the sound: the clock keeps up") << words << Heard([](qint64 ms) {
            return ms < 2857 ? Progress{State::Playing, ms * 7 / 10} : Progress{State::Played, 2000};
        }) << "per" << qint64(2500) << 0;
        QTest::newRow("server lost halfway: the clock goes on from there") << words << Heard([](qint64 ms) {
            return ms < 1000 ? Progress{State::Playing, ms / 2} : Progress{State::Silent, 0};
        }) << "per" << qint64(1000 + 1250) << 0;
        QTest::newRow("a server stuck halfway is given up") << words << Heard([](qint64 ms) {
            return Progress{State::Playing, qMin<qint64>(ms, 400)};
        }) << "per" << qint64(900 + 1350) << 1;
        QTest::newRow("a long turn") << QString(60, QLatin1Char('a')) << Heard([](qint64) { return Progress{}; })
                                     << QString(60, QLatin1Char('a')) << qint64(6000) << 0;
    }
    void speechGoesAsFarAsItIsHeardAndWhatFollowsWaitsForIt()
    {
        QFETCH(QString, text);
        QFETCH(std::function<SoundOutput::Progress(qint64)>, heard);
        QFETCH(QString, markedAt800);
        QFETCH(qint64, spokenMs);
        QFETCH(int, stops);
        CharacterHarness h;
        const QString speak = "Speak " + text;
        h.sound.heard = [&] {
            return h.at.contains("end " + speak) ? SoundOutput::Progress{} : heard(h.clock.now() - h.at["start " + speak]);
        };
        h.wizard->Show();
        h.wizard->Speak(text);
        while (!h.at.contains("start " + speak))
            h.advance(20);
        h.advance(800);
        QCOMPARE(h.wizard->balloon().markedWord(), markedAt800);
        h.wizard->Play(QStringLiteral("Greet"));
        h.wizard->Speak(QStringLiteral("dopo"));
        h.runQueue();
        QCOMPARE(h.log, h.ranInTurn({"Show", speak, "Play Greet", "Speak dopo"}));
        const qint64 spoken = h.at["end " + speak] - h.at["start " + speak];
        QVERIFY2(qAbs(spoken - spokenMs) <= 40, qPrintable(QString::number(spoken)));
        QCOMPARE(h.sound.samples, 22050 / 10 * (text.size() + 4));
        QCOMPARE(h.sound.stops, stops);
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
};

QTEST_MAIN(TestQueue)
#include "test_queue.moc"
