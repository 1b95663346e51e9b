#pragma once

#include "Character.h"
#include "Clip.h"
#include "Figure.h"
#include "Pose.h"

#include <QPoint>
#include <QWidget>
#include <deque>
#include <memory>

class Alarm;
class AudioOutput;
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
                    AudioOutput &audio, Voice &voice, bool composited);
    ~CharacterWindow() override;

    void Show() override;
    void MoveTo(int x, int y) override;
    void Play(const QString &animation) override;
    void setHeight(int height) override;
    void Speak(const QString &text) override;

    // Requests issued and not yet finished, the running one included.
    int pending() const { return int(m_queue.size()); }
    double mouthOpening() const { return m_mouth; }
    const Balloon &balloon() const { return *m_balloon; }
    static constexpr int glideSpeed = 500; // screen pixels per second

signals:
    // Each request, as "Show", "MoveTo 250 175", "Play Greet" or "Speak per".
    void started(const QString &request);
    void finished(const QString &request);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Request
    {
        enum Kind { Show, Move, Play, Speak };
        Request(Kind kind, QString description) : kind(kind), description(std::move(description)) {}

        Kind kind;
        QString description;
        QPoint to;
        const Figure::Animation *animation = nullptr;
        QString text;
        quint64 ticket = 0;
        bool voiced = false;
        Clip clip;
        QPoint from;
        qint64 startedAt = 0;
        qint64 durationMs = 0;
    };

    void enqueue(Request request);
    void onVoiced(quint64 ticket, const Clip &clip);
    void step();
    bool begin(Request &request, qint64 now);
    void end(Request &request);
    void advance(Request &request, qint64 elapsed);
    void pushAudio(Request &request);
    void schedule(qint64 now);
    void showPose(const Pose &pose);
    void reshape();

    QString m_id;
    std::shared_ptr<const Figure> m_figure;
    Clock &m_clock;
    AudioOutput &m_audio;
    Voice &m_voice;
    bool m_composited;
    std::unique_ptr<Alarm> m_alarm;
    Balloon *m_balloon;

    std::deque<Request> m_queue;
    bool m_running = false;
    bool m_stepping = false;
    qint64 m_pushed = 0;
    bool m_soundOpen = false;

    Pose m_pose;
    double m_mouth = 0;
    qint64 m_blinkAt = 0;
    int m_blinks = 0;
    qint64 m_balloonHideAt = -1;
};
