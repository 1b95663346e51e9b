#pragma once

#include "CharacterSet.h"
#include "CharacterWindow.h"
#include "ManualClock.h"
#include "SoundOutput.h"
#include "Voice.h"

#include <QCoreApplication>
#include <QStringList>
#include <functional>

// A voice that answers on the next turn of the event loop with a clip of
// 100 ms per character, each word starting where its first character is,
// so tests know every clip's true length and word times.
class FakeVoice : public Voice
{
public:
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
        QMetaObject::invokeMethod(this, [this, ticket = ++tickets, clip] { emit ready(ticket, clip); },
                                  Qt::QueuedConnection);
        return tickets;
    }
};

// Reports what `heard` says of the clip playing, by default that nothing
// will be heard, and counts the samples handed over.
class FakeSound : public SoundOutput
{
public:
    qint64 samples = 0;
    int stops = 0;
    std::function<Progress()> heard = [] { return Progress{State::Silent, 0}; };

    void prepare() override {}
    void play(std::vector<std::int16_t> clip, int) override { samples += qint64(clip.size()); }
    void stop() override { ++stops; }
    Progress progress() const override { return heard(); }
};

// One wizard on a manual clock; `log` reads "start X" and "end X" in order,
// and `at` holds the clock's time of each.
struct CharacterHarness
{
    ManualClock clock;
    FakeSound sound;
    FakeVoice voice;
    CharacterSet set{clock, sound, voice};
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
