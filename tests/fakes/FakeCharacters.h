#pragma once

#include "Character.h"
#include "Characters.h"

#include <QSet>
#include <QStringList>

// Records every request as one line ("Show", "MoveTo 250 175", "Play Greet",
// "Height 205", "Speak per") in the order the program issued them.
class FakeCharacters : public Characters, public Character
{
public:
    QStringList calls;
    QSet<QString> failingAnimations;
    bool failLoad = false;

    void Load(const QString &id, const QString &file) override;
    Character &Item(const QString &id) override;

    void Show() override { calls << QStringLiteral("Show"); }
    void MoveTo(int x, int y) override { calls << QStringLiteral("MoveTo %1 %2").arg(x).arg(y); }
    void Play(const QString &animation) override;
    void setHeight(int height) override { calls << QStringLiteral("Height %1").arg(height); }
    void Speak(const QString &text) override { calls << QStringLiteral("Speak ") + text; }

    // The requests since the last call, so each step of a test sees only its own.
    QStringList take();

private:
    QString m_loadedId;
};
