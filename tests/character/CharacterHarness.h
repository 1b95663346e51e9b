#pragma once

#include "AudioOutput.h"
#include "Balloon.h"
#include "CharacterSet.h"
#include "CharacterWindow.h"
#include "ManualClock.h"
#include "Voice.h"

#include <QCoreApplication>
#include <QStringList>
#include <cmath>

// A voice that answers on the next turn of the event loop with a tone that
// lasts 100 ms per character, so tests know every clip's true length.
class FakeVoice : public Voice
{
public:
    quint64 synthesize(const QString &text) override
    {
        const quint64 ticket = ++m_tickets;
        Clip clip;
        clip.sampleRate = 8000;
        const int samples = int(text.size()) * 800;
        clip.samples.resize(samples * 2);
        auto *data = reinterpret_cast<qint16 *>(clip.samples.data());
        for (int i = 0; i < samples; ++i)
            data[i] = qint16(8000 * std::sin(i * 0.3));
        clip.words.append({0, int(text.size()), 0});
        QMetaObject::invokeMethod(this, [this, ticket, clip] { emit ready(ticket, clip); }, Qt::QueuedConnection);
        return ticket;
    }

private:
    quint64 m_tickets = 0;
};

class FakeAudio : public AudioOutput
{
public:
    qint64 bytes = 0;
    bool opens = true;

    bool open(int) override { return opens; }
    qint64 push(const char *, qint64 size) override
    {
        if (!opens)
            return 0;
        bytes += size;
        return size;
    }
};

// One wizard on a manual clock; `log` reads "start X" and "end X" in order,
// each with the clock's time in `times`.
struct CharacterHarness
{
    ManualClock clock;
    FakeAudio audio;
    FakeVoice voice;
    CharacterSet set{clock, audio, voice};
    CharacterWindow *wizard = nullptr;
    QStringList log;
    QList<qint64> times;

    CharacterHarness()
    {
        set.Load(QStringLiteral("Merlin"), QStringLiteral(":/characters/merlin/merlin.json"));
        wizard = &set.window(QStringLiteral("Merlin"));
        QObject::connect(wizard, &CharacterWindow::started, [this](const QString &r) { note("start " + r); });
        QObject::connect(wizard, &CharacterWindow::finished, [this](const QString &r) { note("end " + r); });
    }
    ~CharacterHarness() { wizard->hide(); }

    void note(const QString &entry)
    {
        log << entry;
        times << clock.now();
    }

    // Lets time pass in frame-sized steps until the queue is empty.
    void runQueue(qint64 limitMs = 600'000)
    {
        for (qint64 spent = 0; wizard->pending() > 0 && spent < limitMs; spent += 20) {
            QCoreApplication::processEvents();
            clock.advance(20);
        }
    }

    QStringList finishedRequests() const
    {
        QStringList done;
        for (const QString &entry : log)
            if (entry.startsWith("end "))
                done << entry.mid(4);
        return done;
    }
};
