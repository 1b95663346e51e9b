#pragma once

#include "Character.h"
#include "Characters.h"
#include "Failure.h"

#include <QStringList>

// Logs every request as one line ("Load Merlin <file>", "Show", "MoveTo 250 175",
// "Play Greet", "Speak per") in the order issued. The height takes effect at
// once, so it has no place in that order: it is kept as it stands.
struct FakeCharacters : Characters, Character
{
    QStringList calls;
    int height = 0;
    QString loaded;
    QStringList failing; // character files and animations, which then fail with "<name> manca"

    void Load(const QString &id, const QString &file) override { request("Load " + id + ' ' + file, file); loaded = id; }
    Character &Item(const QString &id) override { return id == loaded ? *this : throw Failure(id + " non è caricato"); }
    void Show() override { calls << "Show"; }
    void MoveTo(int x, int y) override { calls << QStringLiteral("MoveTo %1 %2").arg(x).arg(y); }
    void Play(const QString &animation) override { request("Play " + animation, animation); }
    void setHeight(int h) override { height = h; }
    void Speak(const QString &text) override { calls << "Speak " + text; }
    // Not logged: the order of requests stays as it was. finishAll() carries
    // everything out, as a character does once it has said it all.
    void whenDone(std::function<void()> done) override { waiting.append(std::move(done)); }
    QList<std::function<void()>> waiting;
    void finishAll() { for (const auto &done : std::exchange(waiting, {})) done(); }
    void request(const QString &call, const QString &name) { calls << call; if (failing.contains(name)) throw Failure(name + " manca"); }
    // The requests since the last call, so each step of a test sees only its own.
    QStringList take() { return std::exchange(calls, {}); }
};
