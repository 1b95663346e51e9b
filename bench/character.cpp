// Measures the wizard against its budgets on this machine:
//   synthesis speed, Speak to first audio, frame render time, idle wake-ups.
// Run: ./build/bench/bench_character   (add QT_QPA_PLATFORM=offscreen without a display)
#include "CharacterSet.h"
#include "CharacterWindow.h"
#include "EspeakSynthesis.h"
#include "EspeakVoice.h"
#include "Figure.h"
#include "PulseOutput.h"
#include "SpeechWorker.h"
#include "SteadyClock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QString announcement = QStringLiteral(
    "Allora attenzione, iniziamo la nostra avventura con la tabellina del 10. Io detto e tu scrivi "
    "il risultato nello spazio sotto di me. Mi raccomando inserisci il risultato e premi invio e poi "
    "aspetta che io finisca di parlare e premi ancora invio per avere la domanda successiva");

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * v.size()))];
}

double median(const std::vector<double> &v)
{
    return percentile(v, 0.5);
}

// Plays on the real sound server when there is one, and notes when the clip
// was handed over and when the server first said it was playing it.
class TimingSound : public SoundOutput
{
public:
    QElapsedTimer since;
    qint64 handedNs = -1;
    mutable qint64 soundingNs = -1;

    void prepare() override { m_real.prepare(); }
    void play(std::vector<std::int16_t> samples, int sampleRate) override
    {
        if (handedNs < 0)
            handedNs = since.nsecsElapsed();
        m_real.play(std::move(samples), sampleRate);
    }
    void stop() override { m_real.stop(); }
    Progress progress() const override
    {
        const Progress p = m_real.progress();
        if (soundingNs < 0 && p.state == State::Playing)
            soundingNs = since.nsecsElapsed();
        return p;
    }

private:
    PulseOutput m_real;
};

// Counts how often the character's clock wakes the program.
class CountingClock : public Clock
{
public:
    int rings = 0;

    qint64 now() const override { return m_clock.now(); }
    std::unique_ptr<Alarm> alarm(std::function<void()> ring) override
    {
        return m_clock.alarm([this, ring = std::move(ring)] {
            ++rings;
            ring();
        });
    }

private:
    SteadyClock m_clock;
};

// Runs the event loop until `done` holds, looking every few milliseconds;
// the figures are taken inside the program, so the looking does not blur them.
void runUntil(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    look.start(5);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The wizard on screen as start-up leaves him, with the real voice.
struct Stage
{
    EspeakVoice voice;
    CharacterSet set;
    CharacterWindow &wizard;

    Stage(Clock &clock, SoundOutput &sound)
        : set(clock, sound, voice)
        , wizard(loaded(set))
    {
        wizard.setHeight(205);
        wizard.Show();
        runUntil([this] { return wizard.pending() == 0; }, 10000);
    }
    ~Stage() { wizard.hide(); }

    static CharacterWindow &loaded(CharacterSet &set)
    {
        set.Load(QStringLiteral("Merlin"), QStringLiteral(":/characters/merlin/merlin.json"));
        return set.window(QStringLiteral("Merlin"));
    }
};

void synthesis()
{
    EspeakVoice voice;
    qint64 audioMs = 0;
    bool ready = false;
    QObject::connect(&voice, &Voice::ready, [&](quint64, const Clip &clip) {
        audioMs += clip.durationMs();
        ready = true;
    });
    const QStringList texts = {QStringLiteral("10 per sette"), announcement,
                               QStringLiteral("Esatto. Sei forte!!!"), QStringLiteral("Ciao Luca")};
    QElapsedTimer t;
    t.start();
    for (const QString &text : texts) {
        ready = false;
        voice.synthesize(text);
        runUntil([&] { return ready; }, 30000);
    }
    const double wallMs = t.nsecsElapsed() / 1e6;
    std::printf("synthesis: %.1f ms for %.1f s of speech = %.1f ms per second, %.0fx real time (target >= 100x)\n",
                wallMs, audioMs / 1000.0, wallMs / (audioMs / 1000.0), audioMs / wallMs);
}

void speakLatency()
{
    SteadyClock clock;
    TimingSound sound;
    Stage stage(clock, sound);
    CharacterWindow &wizard = stage.wizard;

    std::vector<double> handed;
    std::vector<double> sounding;
    const QStringList factors = {QStringLiteral("sette"), QStringLiteral("tre"), QStringLiteral("dieci"),
                                 QStringLiteral("quattro"), QStringLiteral("nove")};
    for (const QString &factor : factors) {
        sound.handedNs = -1;
        sound.soundingNs = -1;
        sound.since.start();
        wizard.Speak(factor);
        runUntil([&] { return wizard.pending() == 0; }, 10000);
        handed.push_back(sound.handedNs / 1e6);
        if (sound.soundingNs >= 0)
            sounding.push_back(sound.soundingNs / 1e6);
    }
    std::printf("Speak to clip handed over: median %.1f ms, worst %.1f ms over %zu calls (target <= 50 ms)\n",
                median(handed), *std::max_element(handed.begin(), handed.end()), handed.size());
    if (sounding.empty())
        std::printf("Speak to first sound: no sound server\n");
    else
        std::printf("Speak to first sound, as the server reports it: median %.1f ms, worst %.1f ms (target <= 150 ms)\n",
                    median(sounding), *std::max_element(sounding.begin(), sounding.end()));
}

void frames()
{
    const auto figure = Figure::load(QStringLiteral(":/characters/merlin/merlin.json"));
    const QSizeF art = figure->size();
    for (const int scale : {1, 2}) {
        const int h = 205;
        const int w = int(h * art.width() / art.height());
        QImage image(QSize(w, h) * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        const auto paint = [&](const Pose &pose) {
            QElapsedTimer t;
            t.start();
            image.fill(Qt::transparent);
            QPainter p(&image);
            figure->paint(p, QRectF(0, 0, w, h), pose);
            p.end();
            return t.nsecsElapsed() / 1e6;
        };
        // The first frame at a scale also draws each part once into the cache.
        const double first = paint(figure->rest());
        std::vector<double> times;
        for (const char *name : {"Greet", "Announce", "congratulate", "domagic1", "domagic2"}) {
            const Figure::Animation *animation = figure->animation(QString::fromLatin1(name));
            for (qint64 ms = 0; ms < animation->durationMs; ms += 25) {
                Pose pose = figure->rest();
                figure->animate(pose, *animation, ms);
                figure->setMouth(pose, double(ms % 200) / 200);
                times.push_back(paint(pose));
            }
        }
        std::printf("frame at %d px, scale %d: median %.2f ms, 99th percentile %.2f ms, worst %.2f ms over %zu "
                    "frames, first %.2f ms (target <= 4 ms)\n",
                    h, scale, median(times), percentile(times, 0.99), *std::max_element(times.begin(), times.end()),
                    times.size(), first);
    }
}

void idle()
{
    CountingClock clock;
    TimingSound sound;
    Stage stage(clock, sound);
    CharacterWindow &wizard = stage.wizard;
    wizard.Speak(QStringLiteral("10 per sette"));
    runUntil([&] { return wizard.pending() == 0; }, 10000);
    // Let the balloon's linger run out, so only the resting wizard is left.
    runFor(3000);

    constexpr int spanMs = 20000;
    clock.rings = 0;
    runFor(spanMs);
    std::printf("idle: %d wake-ups in %d s with the queue empty = %.0f per minute (blinks only)\n",
                clock.rings, spanMs / 1000, clock.rings * 60000.0 / spanMs);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    SpeechWorker::useSynthesis(&EspeakSynthesis::make);
    synthesis();
    speakLatency();
    frames();
    idle();
    return 0;
}
