#include "Balloon.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QScreen>
#include <QWindow>

namespace {

// Widest first: a narrower balloon is taller, but may fit where a wide one
// would cover something.
constexpr int textWidths[] = {300, 230, 170};
constexpr int padding = 12;
constexpr int tail = 16; // room on the character's side for the point towards the mouth
constexpr int radius = 14;

QFont balloonFont()
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(18);
    f.setBold(true);
    return f;
}

} // namespace

Balloon::Balloon(bool composited, QWidget *owner)
    : QWidget(owner, WindowShape::flags())
    , m_shape(*this, composited)
{
    setFont(balloonFont());
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this] {
        if (QGuiApplication::modalWindow())
            hide();
    });
}

void Balloon::setVisible(bool visible)
{
    QWidget::setVisible(visible && !QGuiApplication::modalWindow());
}

void Balloon::say(const QString &text, bool more)
{
    if (more && !m_text.isEmpty()) {
        m_text += QLatin1Char(' ');
        m_sayOffset = int(m_text.size());
        m_text += text;
    } else {
        m_text = text;
        m_sayOffset = 0;
    }
    m_marked = -1;
    setAccessibleName(m_text);
    m_sizes.clear();
    for (int width : textWidths)
        m_sizes.append(wrap(width, nullptr));
    m_wrap = 0;
    layOut();
    if (!m_character.isNull())
        placeBeside(m_character);
    update();
}

void Balloon::mark(int position, int length)
{
    const int from = m_sayOffset + position;
    int found = -1;
    for (int i = 0; i < m_words.size(); ++i) {
        const Word &w = m_words[i];
        if (w.position < from + qMax(1, length) && from < w.position + w.length) {
            found = i;
            break;
        }
    }
    if (found != m_marked) {
        m_marked = found;
        update();
    }
}

QString Balloon::markedWord() const
{
    return m_marked < 0 ? QString() : m_text.mid(m_words[m_marked].position, m_words[m_marked].length);
}

void Balloon::placeBeside(const QRect &character)
{
    m_character = character;
    if (m_sizes.isEmpty())
        return; // nothing said yet
    const QScreen *s = screen();
    const QRect room = s ? s->availableGeometry() : QRect(character.topLeft() - QPoint(4000, 4000), QSize(8000, 8000));
    const BalloonPlacement::Choice choice = BalloonPlacement::choose(character, m_sizes, room, m_keepClear);
    if (choice.size != m_wrap || choice.side != m_side) {
        m_wrap = choice.size;
        m_side = choice.side;
        layOut();
    }
    move(choice.rect.topLeft());
}

void Balloon::setKeepClear(const QList<QRect> &areas)
{
    m_keepClear = areas;
    if (!m_character.isNull())
        placeBeside(m_character);
}

QSize Balloon::wrap(int textWidth, QList<Word> *words) const
{
    const QFontMetrics fm(font());
    static const QRegularExpression word(QStringLiteral("\\S+"));
    int x = 0;
    int y = 0;
    int widest = 0;
    const int space = fm.horizontalAdvance(QLatin1Char(' '));
    for (auto it = word.globalMatch(m_text); it.hasNext();) {
        const auto m = it.next();
        const int w = fm.horizontalAdvance(m.captured());
        if (x > 0 && x + w > textWidth) {
            x = 0;
            y += fm.lineSpacing();
        }
        if (words)
            words->append({int(m.capturedStart()), int(m.capturedLength()), QRect(x, y, w, fm.height())});
        widest = qMax(widest, x + w);
        x += w + space;
    }
    return QSize(tail + widest + 2 * padding, y + fm.height() + 2 * padding);
}

void Balloon::layOut()
{
    m_words.clear();
    const int wrapAt = textWidths[qBound(0, m_wrap, int(std::size(textWidths)) - 1)];
    resize(wrap(wrapAt, &m_words));
    const int left = m_side == BalloonPlacement::Right ? tail : 0;
    for (Word &w : m_words)
        w.box.translate(left + padding, padding);
    m_shape.follow([this](QPainter &p) { p.fillPath(outline(), Qt::black); });
}

QPainterPath Balloon::outline() const
{
    const bool right = m_side == BalloonPlacement::Right;
    const QRectF body = QRectF(rect()).adjusted(right ? tail + 1 : 1, 1, right ? -1 : -tail - 1, -1);
    QPainterPath path;
    path.addRoundedRect(body, radius, radius);
    // The point reaches out towards the mouth, on the character's side.
    const double edge = right ? body.left() + 2 : body.right() - 2;
    const double y = body.bottom() - radius - 4;
    QPainterPath point;
    point.moveTo(edge, y - 12);
    point.lineTo(right ? 1 : width() - 1, body.bottom() - 2);
    point.lineTo(edge, y);
    return path.united(point);
}

void Balloon::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x2d, 0x23, 0x77), 2));
    p.setBrush(QColor(0xff, 0xfd, 0xf2));
    p.drawPath(outline());
    for (int i = 0; i < m_words.size(); ++i) {
        const Word &w = m_words[i];
        if (i == m_marked) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xff, 0xd8, 0x4a));
            p.drawRoundedRect(QRectF(w.box).adjusted(-3, -1, 3, 1), 5, 5);
        }
        p.setPen(i == m_marked ? QColor(0x6a, 0x1b, 0x9a) : QColor(0x20, 0x20, 0x40));
        p.drawText(w.box, Qt::AlignLeft | Qt::AlignVCenter, m_text.mid(w.position, w.length));
    }
}
