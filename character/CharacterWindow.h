#pragma once

#include "Character.h"
#include "Figure.h"
#include "Request.h"
#include "Stage.h"

#include <QWidget>
#include <deque>
#include <memory>

class Alarm;
class SoundOutput;
class Balloon;
class Clock;
class Voice;

// One character on screen, in its own frameless window that never takes
// the focus. Requests wait in a queue and run one after the other on the
// clock; the window only draws the pose the queue has reached.
class CharacterWindow : public QWidget, public Character
{
    Q_OBJECT

public:
    CharacterWindow(const QString &id, std::shared_ptr<const Figure> figure, Clock &clock,
                    SoundOutput &sound, Voice &voice, bool composited);
    ~CharacterWindow() override;

    void Show() override;
    void MoveTo(int x, int y) override;
    void Play(const QString &animation) override;
    void setHeight(int height) override;
    void Speak(const QString &text) override;
    void whenDone(std::function<void()> done) override;

    // Screen areas the speech balloon must leave visible, the most important first.
    void setKeepClear(const QList<QRect> &areas);
    // While muted his own voice is silent; words, balloon and gestures keep
    // the pace they have without sound, even for words already sounding.
    void setMuted(bool muted);
    // Where MoveTo's (0, 0) lies on the screen. The character follows at
    // once, wherever he stands or is going.
    void setOrigin(const QPoint &origin);

    // Requests issued and not yet finished, the running one included.
    int pending() const { return int(m_queue.size()); }
    const Balloon &balloon() const { return *m_balloon; }
    static constexpr int glideSpeed = MoveRequest::glideSpeed;

signals:
    // Each request, as "Show", "MoveTo 250 175", "Play Greet" or "Speak per".
    void started(const QString &request);
    void finished(const QString &request);
    // The words of a Speak request, when they begin: heard, or not.
    void saying(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void enqueue(Request::Kind request);
    void onVoiced(quint64 ticket, const Clip &clip);
    void step();
    void schedule(qint64 now);

    QString m_id;
    std::shared_ptr<const Figure> m_figure;
    Clock &m_clock;
    Voice &m_voice;
    std::unique_ptr<Alarm> m_alarm;
    Balloon *m_balloon;
    Stage m_stage;

    std::deque<Request> m_queue;
    // Each waits for the requests issued before it: the count finished by then.
    std::deque<std::pair<quint64, std::function<void()>>> m_whenDone;
    quint64 m_issued = 0;
    quint64 m_finished = 0;
    bool m_running = false;
    bool m_stepping = false;
};
