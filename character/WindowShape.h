#pragma once

class Figure;
class QWidget;
struct Pose;

// How the desktop shows around the figure. With a compositor the window is
// translucent; without one it would stand in a black box, so it takes the
// figure's outline as its mask instead.
class WindowShape
{
public:
    WindowShape(QWidget &window, bool composited);

    // Called whenever the pose or the window's size changes.
    void follow(const Figure &figure, const Pose &pose);

private:
    QWidget &m_window;
    bool m_composited;
};
