#include "WindowShape.h"

#include "Figure.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QWidget>

WindowShape::WindowShape(QWidget &window, bool composited)
    : m_window(window)
    , m_composited(composited)
{
    m_window.setAttribute(Qt::WA_TranslucentBackground, composited);
}

void WindowShape::follow(const Figure &figure, const Pose &pose)
{
    if (m_composited || !m_window.isVisible())
        return;
    // The half-transparent shadow falls under the mask's threshold and stays
    // outside, so no grey patch shows under the wizard.
    QImage shape(m_window.size(), QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter p(&shape);
        figure.paint(p, shape.rect(), pose);
    }
    m_window.setMask(QBitmap::fromImage(shape.createAlphaMask(Qt::ThresholdAlphaDither)));
}
