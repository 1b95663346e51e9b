#include "CharacterWindow.h"

#include "Balloon.h"
#include "Clock.h"
#include "Failure.h"
#include "Voice.h"

#include <QPainter>
#include <cmath>

namespace {

// 40 frames a second keep a glide smooth; nothing ticks between requests.
constexpr qint64 frameMs = 25;

} // namespace

CharacterWindow::CharacterWindow(const QString &id, std::shared_ptr<const Figure> figure,
                                 Clock &clock, SoundOutput &sound, Voice &voice, bool composited)
    : QWidget(nullptr, WindowShape::flags())
    , m_id(id)
    , m_figure(std::move(figure))
    , m_clock(clock)
    , m_voice(voice)
    , m_alarm(clock.alarm([this] { step(); }))
    , m_balloon(new Balloon(composited, this))
    , m_stage(*this, *m_figure, *m_balloon, sound, composited)
{
    setWindowTitle(id);
    setAccessibleName(id);
    setHeight(int(m_figure->size().height()));
    connect(&m_voice, &Voice::ready, this, &CharacterWindow::onVoiced);
}

CharacterWindow::~CharacterWindow() = default;

void CharacterWindow::Show()
{
    enqueue(ShowRequest{});
}

void CharacterWindow::MoveTo(int x, int y)
{
    enqueue(MoveRequest(QPoint(x, y)));
}

void CharacterWindow::Play(const QString &animation)
{
    const Figure::Animation *a = m_figure->animation(animation);
    if (!a)
        throw Failure(QStringLiteral("Il personaggio \"%1\" non ha l'animazione \"%2\" (file \"%3\").")
                          .arg(m_id, animation, m_figure->file()));
    enqueue(PlayRequest(*a));
}

void CharacterWindow::setHeight(int height)
{
    const QSizeF art = m_figure->size();
    const int h = qMax(1, height);
    resize(qMax(1, int(std::lround(h * art.width() / art.height()))), h);
    m_stage.resized();
}

void CharacterWindow::setKeepClear(const QList<QRect> &areas)
{
    m_balloon->setKeepClear(areas);
}

void CharacterWindow::setMuted(bool muted)
{
    m_stage.sound().setMuted(muted);
}

void CharacterWindow::setOrigin(const QPoint &origin)
{
    m_stage.setOrigin(origin);
}

void CharacterWindow::Speak(const QString &text)
{
    // Synthesis starts now, so the words are ready by the time the queue
    // reaches them.
    enqueue(SpeakRequest(text, m_voice.synthesize(text)));
}

void CharacterWindow::whenDone(std::function<void()> done)
{
    m_whenDone.emplace_back(m_issued, std::move(done));
    if (!m_running && !m_stepping)
        m_alarm->ringAt(m_clock.now());
}

void CharacterWindow::enqueue(Request::Kind request)
{
    m_queue.emplace_back(std::move(request));
    ++m_issued;
    // Nothing runs inside the call: the queue moves on the next turn of the
    // clock, even when it was empty.
    if (!m_running && !m_stepping)
        m_alarm->ringAt(m_clock.now());
}

void CharacterWindow::onVoiced(quint64 ticket, const Clip &clip)
{
    for (Request &r : m_queue) {
        SpeakRequest *speak = r.as<SpeakRequest>();
        if (speak && speak->ticket == ticket && !speak->voiced) {
            speak->voiced = true;
            speak->clip = clip;
            m_stage.sound().prepare(clip);
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
    m_stage.blink(now);

    while (!m_queue.empty()) {
        Request &r = m_queue.front();
        if (!m_running) {
            if (!r.ready())
                break;
            r.begin(m_stage, now);
            m_running = true;
            emit started(r.description());
            if (const SpeakRequest *speak = r.as<SpeakRequest>())
                emit saying(speak->text);
        }
        if (!r.over(m_stage, now)) {
            r.advance(m_stage, now);
            break;
        }
        r.end(m_stage);
        const QString done = r.description();
        m_queue.pop_front();
        m_running = false;
        ++m_finished;
        emit finished(done);
    }
    while (!m_whenDone.empty() && m_whenDone.front().first <= m_finished) {
        const std::function<void()> done = std::move(m_whenDone.front().second);
        m_whenDone.pop_front();
        done();
    }

    if (!m_running)
        m_stage.idle(now);
    schedule(now);
    m_stepping = false;
}

void CharacterWindow::schedule(qint64 now)
{
    qint64 next = m_stage.nextChange(now);
    if (m_running) {
        // Speech can outlast its length by as much as the sound lags behind.
        const qint64 endsAt = m_queue.front().endsAt();
        const qint64 frame = endsAt > now ? qMin(now + frameMs, endsAt) : now + frameMs;
        if (next < 0 || frame < next)
            next = frame;
    }
    if (next < 0)
        m_alarm->cancel();
    else
        m_alarm->ringAt(next);
}

void CharacterWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    m_figure->paint(p, rect(), m_stage.pose());
}
