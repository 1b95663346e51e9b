#pragma once

#include "Characters.h"

#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class SoundOutput;
class CharacterWindow;
class Clock;
class Voice;
class QWidget;

// The characters of the program, each in its own window. By default they
// keep real time, speak with espeak-ng's Italian voice and play on the
// default output of the sound server; tests hand in a clock, an output
// and a voice.
class CharacterSet : public Characters
{
public:
    CharacterSet();
    // The three must outlive the set.
    CharacterSet(Clock &clock, SoundOutput &sound, Voice &voice);
    ~CharacterSet() override;

    void Load(const QString &id, const QString &file) override;
    Character &Item(const QString &id) override;
    // The same character as Item(), as the window it lives in.
    CharacterWindow &window(const QString &id);

    // The characters belong to this window: they stay above it but below
    // everything else, and are minimised with it.
    void setOwner(QWidget *owner);
    // Screen areas that the characters' balloons must leave visible, the
    // most important first.
    void setKeepClear(const QList<QRect> &areas);
    // Silences or restores the characters' own voices.
    void setMuted(bool muted);
    // Called with each text a character says, when he says it.
    void onSaying(std::function<void(const QString &)> handler);
    // Where the characters' screen position (0, 0) lies: the owner's window
    // cannot always stand where their places expect it.
    void setOrigin(const QPoint &origin);

private:
    std::unique_ptr<Clock> m_ownClock;
    std::unique_ptr<SoundOutput> m_ownSound;
    std::unique_ptr<Voice> m_ownVoice;
    Clock *m_clock;
    SoundOutput *m_sound;
    Voice *m_voice;
    bool m_composited;
    QPointer<QWidget> m_owner;
    QList<QRect> m_keepClear;
    bool m_muted = false;
    std::function<void(const QString &)> m_onSaying;
    QPoint m_origin;
    std::map<QString, std::unique_ptr<CharacterWindow>> m_characters;
};
