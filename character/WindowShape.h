#pragma once

#include <qnamespace.h>
#include <functional>

class QPainter;
class QWidget;

// The character and its balloon float over the desktop in windows of their
// own: no frame, no task-bar entry, and they never take the keys from the
// answer box. With a compositor they are translucent; without one they would
// stand in black boxes, so each takes the outline of what it draws as its
// mask instead.
class WindowShape
{
public:
    static Qt::WindowFlags flags();

    // The window is made with flags() and is still hidden.
    WindowShape(QWidget &window, bool composited);

    // Called whenever what the window draws, or its size, changes; `draw`
    // paints it whole.
    void follow(const std::function<void(QPainter &)> &draw);

private:
    QWidget &m_window;
    bool m_composited;
};
