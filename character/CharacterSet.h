#pragma once

#include "Character.h"
#include "Characters.h"

#include <QString>

// Plain stand-in until the animated wizard lands: accepts every request.
class CharacterSet : public Characters, public Character
{
public:
    void Load(const QString &id, const QString &) override { m_id = id; }
    Character &Item(const QString &) override { return *this; }
    void Show() override {}
    void MoveTo(int, int) override {}
    void Play(const QString &) override {}
    void setHeight(int) override {}
    void Speak(const QString &) override {}

private:
    QString m_id;
};
