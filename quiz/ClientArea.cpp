#include "ClientArea.h"

#include "Colours.h"
#include "Twips.h"

#include <QApplication>
#include <QPainter>

namespace {

struct Shape
{
    bool circle;
    QRect twips;
    QColor fill;
};

// Bottom to top: a cyan panel in a teal frame behind the counters, a cyan disc
// in a teal ring behind the clock, and a cyan band around the answer box.
const Shape shapes[] = {
    {false, {0, 0, 3375, 4455}, Colours::teal},      // Shape4
    {false, {120, 120, 3135, 4215}, Colours::cyan},  // Shape2
    {true, {8400, 0, 3495, 2055}, Colours::teal},    // Shape5
    {true, {8510, 50, 3300, 1965}, Colours::cyan},   // Shape3
    {false, {2880, 4920, 7335, 1335}, Colours::cyan}, // Shape1
};

enum { counters = 0, answer = 4 };

QRectF centredSquare(const QRectF &box)
{
    const qreal side = qMin(box.width(), box.height());
    QRectF square(0, 0, side, side);
    square.moveCenter(box.center());
    return square;
}

} // namespace

QRect ClientArea::answerBand()
{
    return fromTwips(shapes[answer].twips).toRect();
}

QRect ClientArea::countersPanel()
{
    return fromTwips(shapes[counters].twips).toRect();
}

ClientArea::ClientArea(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintBands(int green)
{
    m_green = green;
    update();
}

void ClientArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (hasBands()) {
        for (int i = 0; i < bandCount; ++i) {
            const int top = i * height() / bandCount;
            const int bottom = (i + 1) * height() / bandCount;
            painter.fillRect(0, top, width(), bottom - top, QColor(200, m_green, i));
        }
    } else {
        // Before the first question the window wears the system's scroll-bar
        // colour, which themes set apart from the window colour. Qt has no
        // palette role for it, only the palette it keeps for scroll bars.
        painter.fillRect(rect(), QApplication::palette("QScrollBar").color(QPalette::Window));
    }

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    for (const Shape &shape : shapes) {
        painter.setBrush(shape.fill);
        // Inset by half the pen, so the one-pixel outline stays inside the box.
        const QRectF box = fromTwips(shape.twips).adjusted(0.5, 0.5, -0.5, -0.5);
        if (shape.circle)
            painter.drawEllipse(centredSquare(box));
        else
            painter.drawRect(box);
    }
}
