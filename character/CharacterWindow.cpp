#include "CharacterWindow.h"

#include "AudioOutput.h"
#include "Balloon.h"
#include "Clock.h"
#include "Failure.h"
#include "Voice.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <cmath>

namespace {

// 40 frames a second keep a glide smooth; nothing ticks between requests.
constexpr qint64 frameMs = 25;
constexpr qint64 blinkMs = 160;
// Uneven gaps, so the blinking does not look mechanical.
constexpr qint64 blinkGaps[] = {3700, 5200, 4300, 6100, 4800};
// Long enough to read the last word once the voice has stopped.
constexpr qint64 balloonLingerMs = 2500;
// A turn of speech grows while requests follow each other; past this the
// balloon would cover the window, so a new turn starts.
constexpr int balloonTurnLimit = 120;
constexpr qint64 loudnessSpanMs = 40;
// espeak's speech sits well below full scale; this makes a loud vowel open
// the mouth fully.
constexpr double mouthGain = 5.0;

qint64 silentReadingMs(const QString &text)
{
    return qMax<qint64>(1000, 70 * text.size());
}

} // namespace

CharacterWindow::CharacterWindow(const QString &id, std::shared_ptr<const Figure> figure,
                                 Clock &clock, AudioOutput &audio, Voice &voice, bool composited)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint)
    , m_id(id)
    , m_figure(std::move(figure))
    , m_clock(clock)
    , m_audio(audio)
    , m_voice(voice)
    , m_composited(composited)
    , m_alarm(clock.alarm([this] { step(); }))
    , m_balloon(new Balloon(composited, this))
{
    // The answer box must keep the keys while the character moves and talks.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TranslucentBackground, composited);
    setWindowTitle(id);
    setAccessibleName(id);
    m_pose = m_figure->rest();
    m_figure->setMouth(m_pose, 0);
    setHeight(int(m_figure->size().height()));
    connect(&m_voice, &Voice::ready, this, &CharacterWindow::onVoiced);
}

CharacterWindow::~CharacterWindow() = default;

void CharacterWindow::Show()
{
    enqueue(Request(Request::Show, QStringLiteral("Show")));
}

void CharacterWindow::MoveTo(int x, int y)
{
    Request r(Request::Move, QStringLiteral("MoveTo %1 %2").arg(x).arg(y));
    r.to = QPoint(x, y);
    enqueue(std::move(r));
}

void CharacterWindow::Play(const QString &animation)
{
    const Figure::Animation *a = m_figure->animation(animation);
    if (!a)
        throw Failure(QStringLiteral("Il personaggio \"%1\" non ha l'animazione \"%2\" (file \"%3\").")
                          .arg(m_id, animation, m_figure->file()));
    Request r(Request::Play, QStringLiteral("Play ") + animation);
    r.animation = a;
    enqueue(std::move(r));
}

void CharacterWindow::setHeight(int height)
{
    const QSizeF art = m_figure->size();
    const int h = qMax(1, height);
    resize(qMax(1, int(std::lround(h * art.width() / art.height()))), h);
    if (!m_composited && isVisible())
        reshape();
    m_balloon->placeBeside(geometry());
}

void CharacterWindow::Speak(const QString &text)
{
    Request r(Request::Speak, QStringLiteral("Speak ") + text);
    r.text = text;
    // Synthesis starts now, so the words are ready by the time the queue
    // reaches them.
    r.ticket = m_voice.synthesize(text);
    enqueue(std::move(r));
}

void CharacterWindow::enqueue(Request request)
{
    m_queue.push_back(std::move(request));
    // Nothing runs inside the call: the queue moves on the next turn of the
    // clock, even when it was empty.
    if (!m_running && !m_stepping)
        m_alarm->ringAt(m_clock.now());
}

void CharacterWindow::onVoiced(quint64 ticket, const Clip &clip)
{
    for (Request &r : m_queue) {
        if (r.kind == Request::Speak && r.ticket == ticket && !r.voiced) {
            r.voiced = true;
            r.clip = clip;
            // Opening a sound device can take a while; do it before the
            // words are due.
            if (clip.error.isEmpty())
                m_audio.open(clip.sampleRate);
            if (&r == &m_queue.front() && !m_running && !m_stepping)
                m_alarm->ringAt(m_clock.now());
            return;
        }
    }
}

void CharacterWindow::step()
{
    m_stepping = true;
    const qint64 now = m_clock.now();
    if (isVisible() && now >= m_blinkAt + blinkMs)
        m_blinkAt = now + blinkGaps[m_blinks++ % std::size(blinkGaps)];

    while (!m_queue.empty()) {
        Request &r = m_queue.front();
        if (!m_running) {
            if (!begin(r, now))
                break;
            m_running = true;
            emit started(r.description);
        }
        const qint64 elapsed = now - r.startedAt;
        if (elapsed < r.durationMs) {
            advance(r, elapsed);
            break;
        }
        end(r);
        const QString done = r.description;
        m_queue.pop_front();
        m_running = false;
        emit finished(done);
    }

    if (!m_running) {
        if (m_balloonHideAt >= 0 && now >= m_balloonHideAt) {
            m_balloon->hide();
            m_balloonHideAt = -1;
        }
        Pose pose = m_figure->rest();
        m_mouth = 0;
        m_figure->setMouth(pose, 0);
        showPose(pose);
    }
    schedule(now);
    m_stepping = false;
}

bool CharacterWindow::begin(Request &r, qint64 now)
{
    if (r.kind == Request::Speak && !r.voiced)
        return false;
    r.startedAt = now;
    if (r.kind != Request::Speak && m_balloonHideAt >= 0) {
        m_balloon->hide();
        m_balloonHideAt = -1;
    }
    switch (r.kind) {
    case Request::Show:
        if (isVisible()) {
            r.durationMs = 0;
        } else {
            r.durationMs = m_figure->appearing().durationMs;
            advance(r, 0); // so the first frame shown is the first of the appearing
            show();
            m_blinkAt = now + blinkGaps[m_blinks++ % std::size(blinkGaps)];
        }
        break;
    case Request::Move: {
        r.from = pos();
        const QPoint d = r.to - r.from;
        // From hidden there is nothing to watch, so the character is just put there.
        r.durationMs = isVisible() ? qint64(std::hypot(d.x(), d.y()) * 1000 / glideSpeed) : 0;
        if (r.durationMs == 0)
            move(r.to);
        break;
    }
    case Request::Play:
        r.durationMs = r.animation->durationMs;
        break;
    case Request::Speak: {
        r.durationMs = r.clip.error.isEmpty() ? r.clip.durationMs() : silentReadingMs(r.text);
        const bool more = m_balloonHideAt >= 0 && m_balloon->text().size() + r.text.size() < balloonTurnLimit;
        m_balloon->say(r.text, more);
        m_balloonHideAt = -1;
        setAccessibleName(r.text);
        if (isVisible()) {
            m_balloon->placeBeside(geometry());
            m_balloon->show();
        }
        m_pushed = 0;
        m_soundOpen = r.clip.error.isEmpty() && m_audio.open(r.clip.sampleRate);
        break;
    }
    }
    return true;
}

void CharacterWindow::advance(Request &r, qint64 elapsed)
{
    Pose pose = m_figure->rest();
    switch (r.kind) {
    case Request::Show:
        m_figure->animate(pose, m_figure->appearing(), elapsed);
        break;
    case Request::Move: {
        const double t = double(elapsed) / double(r.durationMs);
        move(r.from + (r.to - r.from) * t);
        m_balloon->placeBeside(geometry());
        m_figure->animate(pose, m_figure->gliding(), elapsed % m_figure->gliding().durationMs);
        break;
    }
    case Request::Play:
        m_figure->animate(pose, *r.animation, elapsed);
        break;
    case Request::Speak: {
        pushAudio(r);
        m_mouth = qMin(1.0, mouthGain * r.clip.loudness(elapsed, loudnessSpanMs));
        const int word = r.clip.wordAt(elapsed);
        if (word >= 0)
            m_balloon->mark(r.clip.words[word].position, r.clip.words[word].length);
        break;
    }
    }
    m_figure->setMouth(pose, r.kind == Request::Speak ? m_mouth : 0);
    const qint64 now = r.startedAt + elapsed;
    m_figure->setBlink(pose, isVisible() && now >= m_blinkAt && now < m_blinkAt + blinkMs);
    showPose(pose);
}

void CharacterWindow::end(Request &r)
{
    switch (r.kind) {
    case Request::Move:
        move(r.to);
        m_balloon->placeBeside(geometry());
        break;
    case Request::Speak:
        // Hand over the tail the output had no room for while it played.
        pushAudio(r);
        m_mouth = 0;
        m_balloonHideAt = r.startedAt + r.durationMs + balloonLingerMs;
        break;
    case Request::Show:
    case Request::Play:
        break;
    }
}

void CharacterWindow::pushAudio(Request &r)
{
    if (!m_soundOpen || m_pushed >= r.clip.samples.size())
        return;
    // The output takes only what it has room for; the rest goes on the
    // following frames, so the voice stays a fraction of a second ahead.
    m_pushed += m_audio.push(r.clip.samples.constData() + m_pushed, r.clip.samples.size() - m_pushed);
}

void CharacterWindow::schedule(qint64 now)
{
    qint64 next = -1;
    const auto consider = [&](qint64 t) {
        if (t >= 0 && (next < 0 || t < next))
            next = t;
    };
    if (m_running) {
        const Request &r = m_queue.front();
        consider(qMin(now + frameMs, r.startedAt + r.durationMs));
    }
    if (isVisible())
        consider(now < m_blinkAt ? m_blinkAt : m_blinkAt + blinkMs);
    consider(m_balloonHideAt);
    if (next < 0)
        m_alarm->cancel();
    else
        m_alarm->ringAt(next);
}

void CharacterWindow::showPose(const Pose &pose)
{
    if (pose == m_pose)
        return;
    m_pose = pose;
    if (!m_composited && isVisible())
        reshape();
    update();
}

void CharacterWindow::reshape()
{
    // Without a compositor the window keeps the wizard's outline, so no
    // box shows around him; the half-transparent shadow stays outside.
    QImage shape(size(), QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter p(&shape);
        m_figure->paint(p, shape.rect(), m_pose);
    }
    setMask(QBitmap::fromImage(shape.createAlphaMask(Qt::ThresholdAlphaDither)));
}

void CharacterWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    m_figure->paint(p, rect(), m_pose);
}
