#pragma once

#include "ClipPlayer.h"
#include "Pose.h"
#include "WindowShape.h"

#include <QPoint>
#include <QString>

class SoundOutput;
class Balloon;
class Figure;
class QWidget;

// What the requests act on: the window and the figure drawn in it, the
// eyes, the voice and the balloon beside it. Requests use it one at a time.
class Stage
{
public:
    Stage(QWidget &window, const Figure &figure, Balloon &balloon, SoundOutput &sound, bool composited);

    const Figure &figure() const { return m_figure; }
    const Pose &pose() const { return m_pose; }
    ClipPlayer &sound() { return m_sound; }
    const ClipPlayer &sound() const { return m_sound; }
    bool visible() const;

    // Shows the window on the first pose; from then on the eyes blink.
    void appear(const Pose &first, qint64 now);
    // Draws the pose with the mouth and eyes as they are at `now`.
    void present(Pose pose, qint64 now);
    // Between requests the figure stands at rest, and lingering words go
    // once their time is up.
    void idle(qint64 now);

    // Places are screen positions measured from the origin.
    QPoint place() const;
    // The balloon goes with the window.
    void moveTo(const QPoint &to);
    // The figure keeps its place, and so moves on screen by as much as the
    // origin does.
    void setOrigin(const QPoint &origin);
    void resized();

    // A turn of speech grows in the balloon while the words follow each
    // other; after the last they linger a while, unless something other
    // than speech comes first.
    void say(const QString &text);
    void mark(int position, int length);
    void linger(qint64 from);
    void dismissWords();

    // Moves the eyes on to their next blink once the last one is over.
    void blink(qint64 now);
    // When the eyes or the balloon next change, or -1 for never.
    qint64 nextChange(qint64 now) const;

private:
    void show(const Pose &pose);
    void followShape();
    bool eyesShut(qint64 now) const;

    QWidget &m_window;
    const Figure &m_figure;
    Balloon &m_balloon;
    ClipPlayer m_sound;
    WindowShape m_shape;
    Pose m_pose;
    qint64 m_blinkAt = 0;
    int m_blinks = 0;
    qint64 m_wordsGoAt = -1;
    QPoint m_origin;
};
