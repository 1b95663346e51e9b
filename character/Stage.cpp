#include "Stage.h"

#include "Balloon.h"
#include "Figure.h"

#include <QPainter>
#include <QWidget>
#include <iterator>

namespace {

constexpr qint64 blinkMs = 160;
// Uneven gaps, so the blinking does not look mechanical.
constexpr qint64 blinkGaps[] = {3700, 5200, 4300, 6100, 4800};
// Long enough to read the last word once the voice has stopped.
constexpr qint64 wordsLingerMs = 2500;
// Past this the balloon would cover the window, so a new turn starts.
constexpr int turnLimit = 120;

} // namespace

Stage::Stage(QWidget &window, const Figure &figure, Balloon &balloon, SoundOutput &sound, bool composited)
    : m_window(window)
    , m_figure(figure)
    , m_balloon(balloon)
    , m_sound(sound)
    , m_shape(window, composited)
    , m_pose(figure.rest())
{
    m_figure.setMouth(m_pose, 0);
}

bool Stage::visible() const
{
    return m_window.isVisible();
}

void Stage::appear(const Pose &first, qint64 now)
{
    present(first, now);
    m_window.show();
    m_blinkAt = now + blinkGaps[m_blinks++ % std::size(blinkGaps)];
}

void Stage::present(Pose pose, qint64 now)
{
    m_figure.setMouth(pose, m_sound.mouth());
    m_figure.setBlink(pose, eyesShut(now));
    show(pose);
}

void Stage::idle(qint64 now)
{
    if (m_wordsGoAt >= 0 && now >= m_wordsGoAt) {
        m_balloon.hide();
        m_wordsGoAt = -1;
    }
    Pose pose = m_figure.rest();
    m_figure.setMouth(pose, 0);
    m_figure.setBlink(pose, eyesShut(now));
    show(pose);
}

void Stage::show(const Pose &pose)
{
    if (pose == m_pose)
        return;
    m_pose = pose;
    followShape();
    m_window.update();
}

void Stage::followShape()
{
    m_shape.follow([this](QPainter &p) { m_figure.paint(p, m_window.rect(), m_pose); });
}

QPoint Stage::place() const
{
    return m_window.pos() - m_origin;
}

void Stage::moveTo(const QPoint &to)
{
    m_window.move(to + m_origin);
    m_balloon.placeBeside(m_window.geometry());
}

void Stage::setOrigin(const QPoint &origin)
{
    const QPoint at = place();
    m_origin = origin;
    moveTo(at);
}

void Stage::resized()
{
    followShape();
    m_balloon.placeBeside(m_window.geometry());
}

void Stage::say(const QString &text)
{
    const bool more = m_wordsGoAt >= 0 && m_balloon.text().size() + text.size() < turnLimit;
    m_balloon.say(text, more);
    m_wordsGoAt = -1;
    m_window.setAccessibleName(text);
    if (visible()) {
        m_balloon.placeBeside(m_window.geometry());
        m_balloon.show();
    }
}

void Stage::mark(int position, int length)
{
    m_balloon.mark(position, length);
}

void Stage::linger(qint64 from)
{
    m_wordsGoAt = from + wordsLingerMs;
}

void Stage::dismissWords()
{
    if (m_wordsGoAt < 0)
        return;
    m_balloon.hide();
    m_wordsGoAt = -1;
}

void Stage::blink(qint64 now)
{
    if (visible() && now >= m_blinkAt + blinkMs)
        m_blinkAt = now + blinkGaps[m_blinks++ % std::size(blinkGaps)];
}

bool Stage::eyesShut(qint64 now) const
{
    return visible() && now >= m_blinkAt && now < m_blinkAt + blinkMs;
}

qint64 Stage::nextChange(qint64 now) const
{
    qint64 next = m_wordsGoAt;
    if (visible()) {
        const qint64 eyes = now < m_blinkAt ? m_blinkAt : m_blinkAt + blinkMs;
        if (next < 0 || eyes < next)
            next = eyes;
    }
    return next;
}
