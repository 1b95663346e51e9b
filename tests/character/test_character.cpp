#include "Balloon.h"
#include "CharacterSet.h"
#include "CharacterWindow.h"
#include "Figure.h"
#include "ManualClock.h"
#include "SoundOutput.h"
#include "Voice.h"

#include <QTest>

namespace {

// A voice that answers on the next turn of the event loop with a clip of
// 100 ms per character, each word starting where its first character is,
// so tests know every clip's true length and word times.
struct FakeVoice : Voice
{
    quint64 tickets = 0;
    quint64 synthesize(const QString &text) override
    {
        Clip clip;
        clip.samples = QByteArray(text.size() * clip.sampleRate / 5, 0);
        qsizetype at = 0;
        for (const QString &word : text.split(QLatin1Char(' '))) {
            clip.words.append({int(at), int(word.size()), 100 * at});
            at += word.size() + 1;
        }
        QMetaObject::invokeMethod(this, [this, ticket = ++tickets, clip] { emit ready(ticket, clip); }, Qt::QueuedConnection);
        return tickets;
    }
};

// Reports what `heard` says of the clip playing, by default that nothing
// will be heard, and counts the samples handed over.
struct FakeSound : SoundOutput
{
    qint64 samples = 0;
    int stops = 0;
    std::function<Progress()> heard = [] { return Progress{}; };
    void prepare() override {}
    void play(std::vector<std::int16_t> clip, int) override { samples += qint64(clip.size()); }
    void stop() override { ++stops; }
    Progress progress() const override { return heard(); }
};

// One wizard on a manual clock; `log` reads "start X" and "end X" in order,
// and `at` holds the clock's time of each.
struct Harness
{
    ManualClock clock;
    FakeSound sound;
    FakeVoice voice;
    CharacterSet set{clock, sound, voice};
    CharacterWindow *wizard = nullptr;
    QStringList log;
    QHash<QString, qint64> at;

    Harness()
    {
        set.Load(QStringLiteral("Merlin"), QStringLiteral(":/characters/merlin/merlin.json"));
        wizard = &set.window(QStringLiteral("Merlin"));
        const auto note = [this](const QString &entry) { log << entry; at[entry] = clock.now(); };
        QObject::connect(wizard, &CharacterWindow::started, [note](const QString &r) { note("start " + r); });
        QObject::connect(wizard, &CharacterWindow::finished, [note](const QString &r) { note("end " + r); });
    }
    // Lets time pass in frame-sized steps.
    void advance(qint64 ms)
    {
        for (qint64 spent = 0; spent < ms; spent += 20) {
            QCoreApplication::processEvents();
            clock.advance(20);
        }
    }
    void runQueue()
    {
        for (int i = 0; i < 180'000 && wizard->pending() > 0; ++i)
            advance(20);
    }
};

} // namespace

// The wizard's requests, and what the pupil hears and sees of them.
class TestCharacter : public QObject
{
    Q_OBJECT

private slots:
    void requestsRunInTurnAndSpeechGoesAsFarAsItIsHeard_data()
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
    void requestsRunInTurnAndSpeechGoesAsFarAsItIsHeard()
    {
        QFETCH(QString, text);
        QFETCH(std::function<SoundOutput::Progress(qint64)>, heard);
        QFETCH(QString, markedAt800);
        QFETCH(qint64, spokenMs);
        QFETCH(int, stops);
        Harness h;
        const QString speak = "Speak " + text;
        h.sound.heard = [&] {
            return h.at.contains("end " + speak) ? SoundOutput::Progress{} : heard(h.clock.now() - h.at["start " + speak]);
        };
        h.wizard->Show();
        h.wizard->Speak(text);
        // The calls return before anything is carried out, but the height
        // changes at once, and the art keeps its proportions.
        QVERIFY(h.log.isEmpty() && !h.wizard->isVisible());
        const QSize natural = h.wizard->size();
        h.wizard->setHeight(natural.height() / 2);
        QCOMPARE(h.wizard->size(), natural / 2);
        while (!h.at.contains("start " + speak))
            h.advance(20);
        h.advance(800);
        QCOMPARE(h.wizard->balloon().markedWord(), markedAt800);
        h.wizard->Play(QStringLiteral("Greet"));
        h.wizard->Speak(QStringLiteral("dopo"));
        h.runQueue();
        // Each ran whole, one after the other.
        QCOMPARE(h.log, QStringList({"start Show", "end Show", "start " + speak, "end " + speak, "start Play Greet",
                                     "end Play Greet", "start Speak dopo", "end Speak dopo"}));
        const qint64 spoken = h.at["end " + speak] - h.at["start " + speak];
        QVERIFY2(qAbs(spoken - spokenMs) <= 40, qPrintable(QString::number(spoken)));
        QCOMPARE(h.sound.samples, 22050 / 10 * (text.size() + 4));
        QCOMPARE(h.sound.stops, stops);
        QCOMPARE(h.wizard->balloon().text(), QStringLiteral("dopo"));
        QCOMPARE(h.wizard->accessibleName(), QStringLiteral("dopo"));
    }

    void theWizardIsOpaqueOnATransparentWindowBlinksAndEachAnimationLooksItsOwn()
    {
        const QStringList animations = {"", "Announce", "Greet", "congratulate", "domagic1", "domagic2"};
        QList<QImage> frames;
        for (const QString &animation : animations) {
            Harness h;
            h.wizard->setHeight(205);
            h.wizard->Show();
            h.runQueue();
            if (!animation.isEmpty())
                h.wizard->Play(animation);
            h.advance(600);
            frames << h.wizard->grab().toImage();
            // Waiting longer than any gap between blinks.
            for (int i = 0; animation.isEmpty() && i < 400 && h.wizard->grab().toImage() == frames.first(); ++i)
                h.advance(20);
            QVERIFY2(!animation.isEmpty() || h.wizard->grab().toImage() != frames.first(), "no blink");
        }
        const QImage &rest = frames.first();
        QCOMPARE(rest.height(), qRound(205 * qApp->devicePixelRatio()));
        // Clear corners, and the middle of the robe solid.
        QCOMPARE(qAlpha(rest.pixel(0, 0)) + qAlpha(rest.pixel(rest.width() - 1, rest.height() - 1)), 0);
        QCOMPARE(qAlpha(rest.pixel(rest.width() / 2, rest.height() * 2 / 3)), 255);
        for (int i = 0; i < frames.size(); ++i)
            for (int j = i + 1; j < frames.size(); ++j)
                QVERIFY2(frames[i] != frames[j], qPrintable(animations[i] + " = " + animations[j]));
    }

    void withoutACompositorTheWindowTakesTheWizardsOutline()
    {
        Harness h;
        CharacterWindow outlined(QStringLiteral("Merlin"), Figure::load(":/characters/merlin/merlin.json"), h.clock,
                                 h.sound, h.voice, false);
        h.wizard = &outlined; // at the art's own size, one pixel per unit
        h.wizard->Show();
        h.runQueue();
        const QRegion standing = outlined.mask();
        // The art's units start 20 to the left of the window.
        QVERIFY(standing.contains(QPoint(120, 200))); // the robe
        QVERIFY(!standing.contains(QPoint(65, 292))); // the faint shadow
        h.wizard->Play(QStringLiteral("Greet"));
        h.advance(500);
        QVERIFY(outlined.mask() != standing); // the raised arm
        h.runQueue();
        QCOMPARE(outlined.mask(), standing);
    }
};

QTEST_MAIN(TestCharacter)
#include "test_character.moc"
