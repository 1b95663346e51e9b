#include "CharacterSet.h"
#include "CharacterWindow.h"
#include "EspeakVoice.h"
#include "QtAudioOutput.h"
#include "SteadyClock.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>

// The real sound path, on the real clock. Which sound server there is, if
// any, comes from the environment this program is started in.
class TestSound : public QObject
{
    Q_OBJECT

private slots:
    void theWizardSpeaksOnTimeWhateverTheSoundServer()
    {
        SteadyClock clock;
        QtAudioOutput audio;
        EspeakVoice voice;
        CharacterSet set(clock, audio, voice);
        set.Load(QStringLiteral("Merlin"), QStringLiteral(":/characters/merlin/merlin.json"));
        CharacterWindow &wizard = set.window(QStringLiteral("Merlin"));
        QSignalSpy voiced(&voice, &Voice::ready);
        qint64 finishedAt = -1;
        connect(&wizard, &CharacterWindow::finished, this, [&] { finishedAt = clock.now(); });
        const qint64 askedAt = clock.now();
        wizard.Speak(QStringLiteral("10 per sette"));
        QTRY_VERIFY_WITH_TIMEOUT(wizard.pending() == 0, 10000);
        // A failed synthesis would still take its time, read in silence.
        QCOMPARE(voiced.size(), 1);
        const Clip clip = voiced.at(0).at(1).value<Clip>();
        QVERIFY2(clip.error.isEmpty(), qPrintable(clip.error));
        QVERIFY2(finishedAt - askedAt >= clip.durationMs(),
                 qPrintable(QStringLiteral("%1 of %2 ms").arg(finishedAt - askedAt).arg(clip.durationMs())));
    }

    void aClipPlaysToTheEndOnARealSink()
    {
        if (qEnvironmentVariableIsEmpty("DECALUMO_EXPECT_SINK"))
            QSKIP("no sound server for this run");
        QtAudioOutput out;
        // The sound thread opens the device while the caller goes on.
        QTRY_VERIFY_WITH_TIMEOUT(out.open(22050), 5000);
        QByteArray tone(22050, 0); // half a second of 16-bit mono
        auto *samples = reinterpret_cast<qint16 *>(tone.data());
        for (int i = 0; i < tone.size() / 2; ++i)
            samples[i] = qint16(6000 * std::sin(i * 0.1));
        qint64 sent = 0;
        QTRY_VERIFY_WITH_TIMEOUT((sent += out.push(tone.constData() + sent, tone.size() - sent)) == tone.size(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(out.playedUs() >= 450000, 5000);
        QCOMPARE(out.bytesTaken(), qint64(tone.size()));
    }
};

int main(int argc, char *argv[])
{
    // The null sink of the test run lives in its own runtime folder.
    const QByteArray pulse = qgetenv("DECALUMO_TEST_PULSE_RUNTIME");
    if (!qEnvironmentVariableIsEmpty("DECALUMO_EXPECT_SINK")) {
        if (pulse.isEmpty()) {
            qputenv("DECALUMO_EXPECT_SINK", "");
        } else {
            qputenv("XDG_RUNTIME_DIR", pulse);
        }
    }
    QApplication app(argc, argv);
    TestSound test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_sound.moc"
