#pragma once

#include "AudioOutput.h"
#include "CharacterSet.h"
#include "CharacterWindow.h"
#include "ManualClock.h"
#include "Voice.h"

#include <QCoreApplication>
#include <QStringList>

// A voice that answers on the next turn of the event loop with a clip of
// 100 ms per character, so tests know every clip's true length.
class FakeVoice : public Voice
{
public:
    quint64 tickets = 0;

    quint64 synthesize(const QString &text) override
    {
        Clip clip;
        clip.samples = QByteArray(text.size() * clip.sampleRate / 5, 0);
        QMetaObject::invokeMethod(this, [this, ticket = ++tickets, clip] { emit ready(ticket, clip); },
                                  Qt::QueuedConnection);
        return tickets;
    }
};

class FakeAudio : public AudioOutput
{
public:
    qint64 bytes = 0;
    bool opens = true;

    bool open(int) override { return opens; }
    // Takes whatever it is handed, so a push to a device that did not open shows.
    qint64 push(const char *, qint64 size) override { bytes += size; return size; }
};

// One wizard on a manual clock; `log` reads "start X" and "end X" in order,
// and `at` holds the clock's time of each.
struct CharacterHarness
{
    ManualClock clock;
    FakeAudio audio;
    FakeVoice voice;
    CharacterSet set{clock, audio, voice};
    CharacterWindow *wizard = nullptr;
    QStringList log;
    QHash<QString, qint64> at;

    CharacterHarness()
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

    // The log of requests that each ran whole, one after the other.
    static QStringList ranInTurn(const QStringList &requests)
    {
        QStringList entries;
        for (const QString &r : requests)
            entries << "start " + r << "end " + r;
        return entries;
    }
};
