#include "Balloon.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QScreen>

namespace {

constexpr int maxTextWidth = 300;
constexpr int padding = 12;
constexpr int tail = 16; // room on the left for the point towards the mouth
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
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                         | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint)
    , m_composited(composited)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground, composited);
    setFocusPolicy(Qt::NoFocus);
    setFont(balloonFont());
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
    layOut();
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
    QPoint at(character.x() + character.width() * 7 / 10, character.y() + character.height() * 3 / 8 - height());
    if (const QScreen *s = screen()) {
        const QRect room = s->availableGeometry();
        at.setX(qBound(room.left(), at.x(), qMax(room.left(), room.right() - width())));
        at.setY(qBound(room.top(), at.y(), qMax(room.top(), room.bottom() - height())));
    }
    move(at);
}

void Balloon::layOut()
{
    const QFontMetrics fm(font());
    m_words.clear();
    static const QRegularExpression word(QStringLiteral("\\S+"));
    int x = 0;
    int y = 0;
    int widest = 0;
    const int space = fm.horizontalAdvance(QLatin1Char(' '));
    for (auto it = word.globalMatch(m_text); it.hasNext();) {
        const auto m = it.next();
        const int w = fm.horizontalAdvance(m.captured());
        if (x > 0 && x + w > maxTextWidth) {
            x = 0;
            y += fm.lineSpacing();
        }
        m_words.append({int(m.capturedStart()), int(m.capturedLength()), QRect(x, y, w, fm.height())});
        widest = qMax(widest, x + w);
        x += w + space;
    }
    const QSize text(widest, y + fm.height());
    resize(tail + text.width() + 2 * padding, text.height() + 2 * padding);
    for (Word &w : m_words)
        w.box.translate(tail + padding, padding);
    if (!m_composited)
        setMask(QRegion(outline().toFillPolygon().toPolygon()));
    if (!m_character.isNull())
        placeBeside(m_character);
}

QPainterPath Balloon::outline() const
{
    const QRectF body = QRectF(rect()).adjusted(tail + 1, 1, -1, -1);
    QPainterPath path;
    path.addRoundedRect(body, radius, radius);
    QPainterPath point;
    const double y = body.bottom() - radius - 4;
    point.moveTo(body.left() + 2, y - 12);
    point.lineTo(1, body.bottom() - 2);
    point.lineTo(body.left() + 2, y);
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
