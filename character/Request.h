#pragma once

#include "Clip.h"
#include "Figure.h"

#include <QPoint>
#include <QString>
#include <variant>

class Stage;
struct Pose;

// The kinds of request. Each says how it begins (returning how long it
// lasts), how far it has got `elapsed` ms in, how it looks there, and how it
// ends; `advance` lays its movement over the rest pose.

struct ShowRequest
{
    QString description() const;
    bool ready() const { return true; }
    qint64 begin(Stage &stage, qint64 now);
    qint64 reached(Stage &, qint64 elapsed) const { return elapsed; }
    void advance(Stage &stage, qint64 elapsed, Pose &pose) const;
    void end(Stage &, qint64) {}
};

struct MoveRequest
{
    static constexpr int glideSpeed = 500; // screen pixels per second

    explicit MoveRequest(const QPoint &target) : to(target) {}

    QPoint to;
    QPoint from;
    qint64 durationMs = 0;

    QString description() const;
    bool ready() const { return true; }
    qint64 begin(Stage &stage, qint64 now);
    qint64 reached(Stage &, qint64 elapsed) const { return elapsed; }
    void advance(Stage &stage, qint64 elapsed, Pose &pose) const;
    void end(Stage &stage, qint64 endsAt);
};

struct PlayRequest
{
    explicit PlayRequest(const Figure::Animation &played) : animation(&played) {}

    const Figure::Animation *animation;

    QString description() const;
    bool ready() const { return true; }
    qint64 begin(Stage &stage, qint64 now);
    qint64 reached(Stage &, qint64 elapsed) const { return elapsed; }
    void advance(Stage &stage, qint64 elapsed, Pose &pose) const;
    void end(Stage &, qint64) {}
};

struct SpeakRequest
{
    SpeakRequest(const QString &words, quint64 voiceTicket) : text(words), ticket(voiceTicket) {}

    QString text;
    quint64 ticket;
    bool voiced = false;
    Clip clip;

    QString description() const;
    // The words wait for their voice.
    bool ready() const { return voiced; }
    qint64 begin(Stage &stage, qint64 now);
    // Speech goes as far as it has been heard.
    qint64 reached(Stage &stage, qint64 elapsed) const;
    void advance(Stage &stage, qint64 elapsed, Pose &pose) const;
    void end(Stage &stage, qint64 endsAt);
};

// One request in the queue, from when it begins to when it ends.
class Request
{
public:
    using Kind = std::variant<ShowRequest, MoveRequest, PlayRequest, SpeakRequest>;

    explicit Request(Kind kind);

    // As "Show", "MoveTo 250 175", "Play Greet" or "Speak per".
    QString description() const;
    bool ready() const;
    void begin(Stage &stage, qint64 now);
    // The earliest it can end.
    qint64 endsAt() const { return m_startedAt + m_durationMs; }
    // Whether it has run its course by `now`.
    bool over(Stage &stage, qint64 now);
    // Shows the request as it is at `now`, where over() found it.
    void advance(Stage &stage, qint64 now);
    void end(Stage &stage);

    template<typename K>
    K *as() { return std::get_if<K>(&m_kind); }

private:
    Kind m_kind;
    qint64 m_startedAt = 0;
    qint64 m_durationMs = 0;
    qint64 m_reached = 0;
};
