#include "ClientArea.h"

#include <QApplication>
#include <QPainter>

namespace {

struct Shape
{
    bool circle;
    QRect twips;
    QColor fill;
};

constexpr int twipsPerPixel = 15;

// Bottom to top: a cyan panel in a teal frame behind the counters, a cyan disc
// in a teal ring behind the clock, and a cyan band around the answer box.
const Shape shapes[] = {
    {false, {0, 0, 3375, 4455}, QColor(0, 192, 192)},      // Shape4
    {false, {120, 120, 3135, 4215}, QColor(0, 255, 255)},  // Shape2
    {true, {8400, 0, 3495, 2055}, QColor(0, 192, 192)},    // Shape5
    {true, {8510, 50, 3300, 1965}, QColor(0, 255, 255)},   // Shape3
    {false, {2880, 4920, 7335, 1335}, QColor(0, 255, 255)}, // Shape1
};

QRectF pixels(const QRect &twips)
{
    const qreal k = twipsPerPixel;
    return QRectF(twips.x() / k, twips.y() / k, twips.width() / k, twips.height() / k);
}

QRectF centredSquare(const QRectF &box)
{
    const qreal side = qMin(box.width(), box.height());
    QRectF square(0, 0, side, side);
    square.moveCenter(box.center());
    return square;
}

} // namespace

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
        painter.fillRect(rect(), QApplication::palette("QScrollBar").color(QPalette::Window));
    }

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    for (const Shape &shape : shapes) {
        painter.setBrush(shape.fill);
        // Inset by half the pen, so the one-pixel outline stays inside the box.
        const QRectF box = pixels(shape.twips).adjusted(0.5, 0.5, -0.5, -0.5);
        if (shape.circle)
            painter.drawEllipse(centredSquare(box));
        else
            painter.drawRect(box);
    }
}
