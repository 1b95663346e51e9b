#include "CharacterSet.h"
#include "CharacterWindow.h"
#include "EspeakSynthesis.h"
#include "EspeakVoice.h"
#include "MonitorRecorder.h"
#include "PulseOutput.h"
#include "SpeechWorker.h"
#include "SoundServer.h"
#include "SteadyClock.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <algorithm>

// The real wizard, with the real voice, on real sound servers and on none:
// what reaches the server's output, recorded from its monitor, against the
// clips the wizard was asked to say. Each row runs in a process of its own,
// as ctest starts them, since a process takes its voice data only once.
namespace {

enum class Event { None, Headset, Restart, LateServer, Hung, NoServer, DamagedVoiceData };

// The announcement, then short words after pauses of every length, in ms;
// events happen during the long pause.
const QList<std::pair<QString, int>> sequence = {
    {QStringLiteral("Allora attenzione, iniziamo la nostra avventura con la tabellina del 10. Io detto e tu scrivi il "
                    "risultato nello spazio sotto di me."),
     0},
    {QStringLiteral("uno"), 0},     {QStringLiteral("Esatto"), 1000}, {QStringLiteral("70"), 5000},
    {QStringLiteral("10"), 20000},  {QStringLiteral("per"), 0},       {QStringLiteral("sette"), 0},
};
constexpr int longPause = 4;
constexpr int eventAfterMs = 2000;
constexpr int serverAwayMs = 3000;
constexpr int lateServerMs = 3000;

// Sound louder than this counts, in the clip and on the monitor alike.
constexpr double level = 0.01;
// Monitor time stamps come from the server's latency reports, and wander this much.
constexpr double jitterMs = 30;
// A stuck server once held the program for half a minute.
constexpr double waitLimitMs = 1000;

// Where the clip itself is louder than `level`, in ms from its start.
MonitorRecorder::Span soundOf(const Clip &clip)
{
    const auto *s = reinterpret_cast<const qint16 *>(clip.samples.constData());
    MonitorRecorder::Span span{double(clip.durationMs()), 0};
    for (qint64 i = 0; i < clip.sampleCount(); ++i) {
        if (std::abs(s[i]) > level * 32768) {
            span.fromMs = std::min(span.fromMs, i * 1000.0 / clip.sampleRate);
            span.toMs = std::max(span.toMs, i * 1000.0 / clip.sampleRate);
        }
    }
    return span;
}

// The wizard as the program makes him, and what he did when: each Speak's
// start and end, his clips, and the longest time the event loop did not turn.
struct Session
{
    SteadyClock clock;
    std::unique_ptr<PulseOutput> sound = std::make_unique<PulseOutput>();
    EspeakVoice voice;
    std::unique_ptr<CharacterSet> set = std::make_unique<CharacterSet>(clock, *sound, voice);
    CharacterWindow *wizard = nullptr;
    QList<Clip> clips;
    QList<double> begunMs, endedMs;
    double lastTurnMs = steadyMs(), stallMs = 0;
    QTimer turn;

    Session()
    {
        SpeechWorker::useSynthesis(&EspeakSynthesis::make);
        set->Load(QStringLiteral("Merlin"), QStringLiteral(":/characters/merlin/merlin.json"));
        wizard = &set->window(QStringLiteral("Merlin"));
        QObject::connect(&voice, &Voice::ready, &turn, [this](quint64, const Clip &clip) { clips << clip; });
        QObject::connect(&turn, &QTimer::timeout, &turn, [this] {
            stallMs = std::max(stallMs, steadyMs() - lastTurnMs);
            lastTurnMs = steadyMs();
        });
        const auto note = [](QList<double> &times) {
            return [&times](const QString &request) {
                if (request.startsWith(QLatin1String("Speak ")))
                    times << steadyMs();
            };
        };
        QObject::connect(wizard, &CharacterWindow::started, &turn, note(begunMs));
        QObject::connect(wizard, &CharacterWindow::finished, &turn, note(endedMs));
        turn.start(10);
    }
};

} // namespace

Q_DECLARE_METATYPE(SoundServer::Kind)
Q_DECLARE_METATYPE(Event)

class TestHeard : public QObject
{
    Q_OBJECT

private slots:
    void eachUtteranceIsHeardInFullOnTimeOrShownForAsLong_data()
    {
        QTest::addColumn<SoundServer::Kind>("kind");
        QTest::addColumn<Event>("event");
        const std::pair<const char *, Event> events[] = {{"steady", Event::None}, {"headset plugged in", Event::Headset},
                                                         {"restarted", Event::Restart}, {"late", Event::LateServer},
                                                         {"hung", Event::Hung}};
        for (const auto &[server, kind] : {std::pair("PulseAudio", SoundServer::Kind::PulseAudio),
                                           std::pair("PipeWire", SoundServer::Kind::PipeWire)})
            for (const auto &[name, event] : events)
                QTest::addRow("%s, %s", server, name) << kind << event;
        QTest::newRow("no sound server") << SoundServer::Kind::PulseAudio << Event::NoServer;
        QTest::newRow("damaged voice data") << SoundServer::Kind::PulseAudio << Event::DamagedVoiceData;
    }
    void eachUtteranceIsHeardInFullOnTimeOrShownForAsLong()
    {
        QFETCH(SoundServer::Kind, kind);
        QFETCH(Event, event);
        const bool heard = event <= Event::LateServer;
        const bool voiced = event != Event::DamagedVoiceData;
        SoundServer server(kind);
        // What each sink played while the server was there; nothing is heard in the other rows.
        std::vector<std::pair<QByteArray, std::unique_ptr<MonitorRecorder>>> recorders;
        const auto started = [&](const QString &error, const QByteArray &sink) {
            if (error.isEmpty() && heard)
                recorders.emplace_back(sink, std::make_unique<MonitorRecorder>(server.address(), sink, level));
            return error;
        };
        const auto heardOn = [&](const QByteArray &sink, double fromMs, double toMs) {
            MonitorRecorder::Span span{toMs, fromMs};
            for (const auto &[name, recorder] : recorders) {
                if (const auto part = recorder->sounded(fromMs, toMs); name == sink && !part.empty())
                    span = {std::min(span.fromMs, part.fromMs), std::max(span.toMs, part.toMs)};
            }
            return span;
        };
        if ((heard && event != Event::LateServer) || event == Event::Hung)
            QCOMPARE(started(server.start(), "nulla"), QString());
        if (event == Event::Hung)
            server.freeze();
        qputenv("PULSE_SERVER", server.address());
        QTemporaryDir voiceData;
        if (!voiced)
            qputenv("ESPEAK_DATA_PATH", QFile::encodeName(voiceData.path()));
        // Every file the Italian voice needs is there, and none can be read as one.
        for (const char *file : {"phontab", "phonindex", "phondata", "intonations", "it_dict", "lang/roa/it"})
            QVERIFY(voiced || QDir().mkpath(voiceData.filePath(file)));
        Session s;
        const auto idle = [&s] { return QTest::qWaitFor([&s] { return s.wizard->pending() == 0; }, 60000); };

        // Without sound only the time each utterance takes is judged: the short ones do.
        const auto utterances = heard ? sequence : sequence.mid(1);
        s.wizard->Show();
        double switchedMs = -1;
        for (int i = 0; i < utterances.size(); ++i) {
            QVERIFY(idle());
            const QDeadlineTimer due(heard ? utterances[i].second : 0);
            if (i == longPause && (event == Event::Headset || event == Event::Restart)) {
                QTest::qWait(eventAfterMs);
                if (event == Event::Restart) {
                    server.stop();
                    QTest::qWait(serverAwayMs);
                }
                QCOMPARE(event == Event::Headset ? started(server.plugIn("nullb"), "nullb") : started(server.start(), "nulla"),
                         QString());
                switchedMs = steadyMs();
            }
            QTest::qWait(int(due.remainingTime()));
            s.wizard->Speak(utterances[i].first);
            if (i == 0 && event == Event::LateServer) {
                QTest::qWait(lateServerMs);
                QCOMPARE(started(server.start(), "nulla"), QString());
            }
        }
        QVERIFY(idle());
        QTest::qWait(500);
        QCOMPARE(s.clips.size(), utterances.size());
        QCOMPARE(s.endedMs.size(), utterances.size());

        // The announcement of a late server began before there was one.
        QStringList faults;
        const int first = event == Event::LateServer ? 1 : 0;
        for (int i = first; i < utterances.size(); ++i) {
            const Clip &clip = s.clips[i];
            const QString &text = utterances[i].first;
            const double begun = s.begunMs[i], took = s.endedMs[i] - begun;
            QVERIFY2(voiced == clip.error.isEmpty(), qPrintable(clip.error));
            // Without a voice the words stay long enough to read; with one,
            // as long as they take to say, and no server holds them up.
            if (voiced ? took < clip.durationMs() - 50 || took > clip.durationMs() + waitLimitMs : took < 500)
                faults << QStringLiteral("\"%1\" took %2 ms").arg(text.left(20)).arg(took);
            if (!heard)
                continue;
            // Every word has its time, up to the text's last.
            QCOMPARE(clip.words.size(), text.split(QLatin1Char(' ')).size());
            QCOMPARE(text.mid(clip.words.last().position, clip.words.last().length),
                     text.section(QLatin1Char(' '), -1).remove(QLatin1Char('.')));
            // When the sound starts, how much of it the monitor catches and how
            // the words keep step with it depend on how busy the machine is:
            // bench/start-delay.sh reads these lines, idle and busy.
            const double until = i + 1 < s.begunMs.size() ? s.begunMs[i + 1] + soundOf(s.clips[i + 1]).fromMs - jitterMs
                                                          : begun + clip.durationMs() + 2000;
            const bool onHeadset = event == Event::Headset && begun > switchedMs;
            const MonitorRecorder::Span said = soundOf(clip);
            const MonitorRecorder::Span sounded = heardOn(onHeadset ? "nullb" : "nulla", begun, until);
            const double share = sounded.empty() ? 0 : (sounded.toMs - sounded.fromMs) / (said.toMs - said.fromMs);
            qInfo("start delay %.0f ms, heard %.0f%%, ended %.0f ms after the sound", sounded.fromMs - (begun + said.fromMs),
                  100 * share, s.endedMs[i] - (sounded.toMs + clip.durationMs() - said.toMs));
        }
        // What the program decides: the voice goes to the output that is the
        // default when it speaks, and only there.
        if (heard) {
            const double end = s.endedMs.last() + 2000;
            const double from = event == Event::Headset ? switchedMs : s.begunMs[first];
            if (heardOn(event == Event::Headset ? "nullb" : "nulla", from, end).empty())
                faults << QStringLiteral("nothing heard on the default output");
            // The words under way when the headset came in may still finish on the old one.
            if (event == Event::Headset && !heardOn("nulla", s.begunMs[longPause] + waitLimitMs, end).empty())
                faults << QStringLiteral("still heard on the old output");
        }
        // The test's own calls to the servers hold the loop up in the other rows.
        if (!heard && s.stallMs > waitLimitMs)
            faults << QStringLiteral("the event loop stalled %1 ms").arg(s.stallMs);
        // How long the program takes to let the wizard and his sound go.
        QElapsedTimer ending;
        ending.start();
        s.set.reset();
        s.sound.reset();
        if (!heard && ending.elapsed() > waitLimitMs)
            faults << QStringLiteral("the program took %1 ms to end").arg(ending.elapsed());
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
