#include "WindowShape.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QWidget>

Qt::WindowFlags WindowShape::flags()
{
    return Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
}

WindowShape::WindowShape(QWidget &window, bool composited)
    : m_window(window)
    , m_composited(composited)
{
    m_window.setAttribute(Qt::WA_ShowWithoutActivating);
    m_window.setAttribute(Qt::WA_TranslucentBackground, composited);
    m_window.setFocusPolicy(Qt::NoFocus);
}

void WindowShape::follow(const std::function<void(QPainter &)> &draw)
{
    if (m_composited)
        return;
    // Half-transparent parts, such as the wizard's shadow, fall under the
    // threshold and stay outside, so no grey patch shows.
    QImage shape(m_window.size(), QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter p(&shape);
        draw(p);
    }
    m_window.setMask(QBitmap::fromImage(shape.createAlphaMask(Qt::ThresholdAlphaDither)));
}
