#include "Balloon.h"
#include "CharacterSet.h"
#include "CharacterWindow.h"
#include "EspeakVoice.h"
#include "MonitorRecorder.h"
#include "PulseOutput.h"
#include "SoundServer.h"
#include "SteadyClock.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <algorithm>

// The real wizard on real sound servers: what reaches the server's output,
// recorded from its monitor, against the clips the wizard was asked to say.
namespace {

enum class Event { None, Headset, Restart, LateServer };

// The announcement, then short words after pauses of every length; events
// happen during the long pause.
struct Utterance
{
    QString text;
    int pauseBeforeMs;
};
const QList<Utterance> sequence = {
    {QStringLiteral("Allora attenzione, iniziamo la nostra avventura con la tabellina del 10. Io detto e tu scrivi il "
                    "risultato nello spazio sotto di me."),
     0},
    {QStringLiteral("uno"), 0},
    {QStringLiteral("Esatto"), 1000},
    {QStringLiteral("70"), 5000},
    {QStringLiteral("10"), 20000},
    {QStringLiteral("per"), 0},
    {QStringLiteral("sette"), 0},
};
constexpr int longPause = 4;
constexpr int eventAfterMs = 2000;
constexpr int serverAwayMs = 3000;
constexpr int lateServerMs = 3000;

// Sound louder than this counts, in the clip and on the monitor alike.
constexpr double level = 0.01;
constexpr double heardShare = 0.95;
constexpr double startWithinMs = 150;
// Monitor time stamps come from the server's latency reports, and wander this much.
constexpr double jitterMs = 30;
// Marks taken from what was handed over would run a whole buffer (100 ms)
// ahead of the voice; marks from what was played come on the first frame
// after it, and frames come every 25 ms.
constexpr double markEarliestMs = -60;
constexpr double markLatestMs = 100;

// Where the clip itself is louder than `level`, in ms from its start.
MonitorRecorder::Span soundOf(const Clip &clip)
{
    const auto *s = reinterpret_cast<const qint16 *>(clip.samples.constData());
    MonitorRecorder::Span span{double(clip.durationMs()), 0};
    for (qint64 i = 0; i < clip.sampleCount(); ++i) {
        if (std::abs(s[i]) > level * 32768) {
            const double at = i * 1000.0 / clip.sampleRate;
            span.fromMs = std::min(span.fromMs, at);
            span.toMs = std::max(span.toMs, at);
        }
    }
    return span;
}

} // namespace

Q_DECLARE_METATYPE(SoundServer::Kind)
Q_DECLARE_METATYPE(Event)

class TestHeard : public QObject
{
    Q_OBJECT

private slots:
    void everyUtteranceIsHeardInFullOnTime_data()
    {
        QTest::addColumn<SoundServer::Kind>("kind");
        QTest::addColumn<Event>("event");
        const QList<std::pair<const char *, SoundServer::Kind>> servers = {
            {"PulseAudio", SoundServer::Kind::PulseAudio}, {"PipeWire", SoundServer::Kind::PipeWire}};
        for (const auto &[server, kind] : servers) {
            QTest::addRow("%s, steady", server) << kind << Event::None;
            QTest::addRow("%s, headset plugged in", server) << kind << Event::Headset;
            QTest::addRow("%s, restarted", server) << kind << Event::Restart;
            QTest::addRow("%s, late", server) << kind << Event::LateServer;
        }
    }
    void everyUtteranceIsHeardInFullOnTime()
    {
        QFETCH(SoundServer::Kind, kind);
        QFETCH(Event, event);
        SoundServer server(kind);
        if (event != Event::LateServer)
            QCOMPARE(server.start(), QString());
        qputenv("PULSE_SERVER", server.address());
        MonitorRecorder first(server.address(), "nulla");
        MonitorRecorder headset(server.address(), "nullb");

        SteadyClock clock;
        PulseOutput sound;
        EspeakVoice voice;
        CharacterSet set(clock, sound, voice);
        set.Load(QStringLiteral("Merlin"), QStringLiteral(":/characters/merlin/merlin.json"));
        CharacterWindow &wizard = set.window(QStringLiteral("Merlin"));
        QList<Clip> clips;
        QList<double> begunMs;
        connect(&voice, &Voice::ready, this, [&](quint64, const Clip &clip) { clips << clip; });
        // When the balloon marked each word, by utterance.
        QList<QList<std::pair<double, QString>>> marks;
        QTimer look;
        look.setTimerType(Qt::PreciseTimer);
        connect(&look, &QTimer::timeout, this, [&] {
            const QString word = wizard.balloon().markedWord();
            if (!marks.isEmpty() && !word.isEmpty() && (marks.last().isEmpty() || marks.last().last().second != word))
                marks.last().append(std::pair<double, QString>(steadyUs() / 1000.0, word));
        });
        connect(&wizard, &CharacterWindow::started, this, [&](const QString &request) {
            if (request.startsWith(QLatin1String("Speak "))) {
                begunMs << steadyUs() / 1000.0;
                marks.append(QList<std::pair<double, QString>>());
            }
        });
        look.start(2);
        const auto idle = [&] { return QTest::qWaitFor([&] { return wizard.pending() == 0; }, 60000); };

        wizard.Show();
        QVERIFY(idle());
        double switchedMs = -1;
        for (int i = 0; i < sequence.size(); ++i) {
            QVERIFY(idle());
            int pause = sequence[i].pauseBeforeMs;
            if (i == longPause && (event == Event::Headset || event == Event::Restart)) {
                QTest::qWait(eventAfterMs);
                if (event == Event::Headset) {
                    QCOMPARE(server.plugIn("nullb"), QString());
                    switchedMs = steadyUs() / 1000.0;
                    QTest::qWait(pause - eventAfterMs);
                } else {
                    server.stop();
                    QTest::qWait(serverAwayMs);
                    QCOMPARE(server.start(), QString());
                    QTest::qWait(pause - eventAfterMs - serverAwayMs);
                }
                pause = 0;
            }
            QTest::qWait(pause);
            wizard.Speak(sequence[i].text);
            if (i == 0 && event == Event::LateServer) {
                QTest::qWait(lateServerMs);
                QCOMPARE(server.start(), QString());
            }
        }
        QVERIFY(idle());
        QTest::qWait(500);
        QCOMPARE(clips.size(), sequence.size());
        QCOMPARE(begunMs.size(), sequence.size());

        // The announcement of a late server began before there was one.
        QStringList faults;
        QList<double> markLate;
        for (int i = event == Event::LateServer ? 1 : 0; i < sequence.size(); ++i) {
            const Clip &clip = clips[i];
            QVERIFY2(clip.error.isEmpty(), qPrintable(clip.error));
            const double begun = begunMs[i];
            // The next utterance cannot sound before its request and its own leading
            // silence, give or take the recording's jitter.
            const double until = i + 1 < begunMs.size() ? begunMs[i + 1] + soundOf(clips[i + 1]).fromMs - jitterMs
                                                        : begun + clip.durationMs() + 2000;
            const bool onHeadset = switchedMs >= 0 && begun > switchedMs;
            const MonitorRecorder::Span said = soundOf(clip);
            const MonitorRecorder::Span heard = (onHeadset ? headset : first).sounded(begun, until, level);
            const double share = heard.empty() ? 0 : (heard.toMs - heard.fromMs) / (said.toMs - said.fromMs);
            const double delay = heard.fromMs - (begun + said.fromMs);
            qInfo("%-10s clip %5.0f ms after %3.0f ms of silence, heard %5.0f ms (%5.1f%%), began %4.0f ms and ended %4.0f ms late, %5.0f ms "
                  "before the next request",
                  qPrintable(sequence[i].text.left(10)), said.toMs - said.fromMs, said.fromMs, heard.toMs - heard.fromMs,
                  100 * share, delay, heard.toMs - (begun + said.toMs),
                  (i + 1 < begunMs.size() ? begunMs[i + 1] : until) - heard.toMs);
            // Clip time 0 sounded here; each word is marked where it is heard.
            const double origin = heard.fromMs - said.fromMs;
            qsizetype next = 0;
            for (const auto &[at, word] : marks.value(i)) {
                for (qsizetype k = next; k < clip.words.size(); ++k) {
                    if (sequence[i].text.mid(clip.words[k].position, clip.words[k].length) == word) {
                        markLate << at - (origin + clip.words[k].atMs);
                        next = k + 1;
                        break;
                    }
                }
            }
            if (share < heardShare || delay > startWithinMs)
                faults << QStringLiteral("\"%1\" not heard in full on time").arg(sequence[i].text.left(20));
            if (onHeadset && !first.sounded(begun, until, level).empty())
                faults << QStringLiteral("\"%1\" still heard on the old output").arg(sequence[i].text.left(20));
        }
        if (!markLate.isEmpty()) {
            std::sort(markLate.begin(), markLate.end());
            qInfo("%lld words marked from %.0f to %.0f ms after they sounded, median %.0f ms", qint64(markLate.size()),
                  markLate.first(), markLate.last(), markLate[markLate.size() / 2]);
            if (markLate.first() < markEarliestMs || markLate.last() > markLatestMs)
                faults << QStringLiteral("the balloon's words are out of step with the voice");
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String("; "))));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestHeard test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_heard.moc"
