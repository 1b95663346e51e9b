#include "Request.h"

#include "Stage.h"

#include <cmath>

namespace {

qint64 silentReadingMs(const QString &text)
{
    return qMax<qint64>(1000, 70 * text.size());
}

} // namespace

QString ShowRequest::description() const
{
    return QStringLiteral("Show");
}

qint64 ShowRequest::begin(Stage &stage, qint64 now)
{
    stage.dismissWords();
    if (stage.visible())
        return 0;
    // The first frame shown is the first of the appearing.
    Pose first = stage.figure().rest();
    advance(stage, 0, first);
    stage.appear(first, now);
    return stage.figure().appearing().durationMs;
}

void ShowRequest::advance(Stage &stage, qint64 elapsed, Pose &pose) const
{
    stage.figure().animate(pose, stage.figure().appearing(), elapsed);
}

QString MoveRequest::description() const
{
    return QStringLiteral("MoveTo %1 %2").arg(to.x()).arg(to.y());
}

qint64 MoveRequest::begin(Stage &stage, qint64)
{
    stage.dismissWords();
    from = stage.place();
    // From hidden there is nothing to watch, so the figure is just put there.
    const QPoint d = to - from;
    durationMs = stage.visible() ? qint64(std::hypot(d.x(), d.y()) * 1000 / glideSpeed) : 0;
    if (durationMs == 0)
        stage.moveTo(to);
    return durationMs;
}

void MoveRequest::advance(Stage &stage, qint64 elapsed, Pose &pose) const
{
    const Figure &figure = stage.figure();
    stage.moveTo(from + (to - from) * (double(elapsed) / double(durationMs)));
    figure.animate(pose, figure.gliding(), elapsed % figure.gliding().durationMs);
}

void MoveRequest::end(Stage &stage, qint64)
{
    stage.moveTo(to);
}

QString PlayRequest::description() const
{
    return QStringLiteral("Play ") + animation->name;
}

qint64 PlayRequest::begin(Stage &stage, qint64)
{
    stage.dismissWords();
    return animation->durationMs;
}

void PlayRequest::advance(Stage &stage, qint64 elapsed, Pose &pose) const
{
    stage.figure().animate(pose, *animation, elapsed);
}

QString SpeakRequest::description() const
{
    return QStringLiteral("Speak ") + text;
}

qint64 SpeakRequest::begin(Stage &stage, qint64)
{
    stage.say(text);
    stage.sound().start(clip);
    return clip.error.isEmpty() ? clip.durationMs() : silentReadingMs(text);
}

qint64 SpeakRequest::reached(Stage &stage, qint64 elapsed) const
{
    return stage.sound().follow(elapsed);
}

void SpeakRequest::advance(Stage &stage, qint64 elapsed, Pose &) const
{
    const int word = clip.wordAt(elapsed);
    if (word >= 0)
        stage.mark(clip.words[word].position, clip.words[word].length);
}

void SpeakRequest::end(Stage &stage, qint64 endsAt)
{
    stage.sound().finish();
    stage.linger(endsAt);
}

Request::Request(Kind kind)
    : m_kind(std::move(kind))
{
}

QString Request::description() const
{
    return std::visit([](const auto &r) { return r.description(); }, m_kind);
}

bool Request::ready() const
{
    return std::visit([](const auto &r) { return r.ready(); }, m_kind);
}

void Request::begin(Stage &stage, qint64 now)
{
    m_startedAt = now;
    m_durationMs = std::visit([&](auto &r) { return r.begin(stage, now); }, m_kind);
}

bool Request::over(Stage &stage, qint64 now)
{
    m_reached = std::visit([&](const auto &r) { return r.reached(stage, now - m_startedAt); }, m_kind);
    return m_reached >= m_durationMs;
}

void Request::advance(Stage &stage, qint64 now)
{
    Pose pose = stage.figure().rest();
    std::visit([&](const auto &r) { r.advance(stage, m_reached, pose); }, m_kind);
    stage.present(pose, now);
}

void Request::end(Stage &stage)
{
    std::visit([&](auto &r) { r.end(stage, endsAt()); }, m_kind);
}
