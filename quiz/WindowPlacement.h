#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>

// Where the window goes so that its client area lands where it is wanted,
// with the whole frame inside the screen's free area. When the frame does
// not fit there, the frame wins: the client area moves by `offset`, and
// whatever was meant to line up with it has to move by as much.
struct WindowPlacement
{
    QRect geometry; // the window without its frame, in screen coordinates
    QPoint offset;  // where the client area ends up, less where it was wanted

    // `client` is the client area inside the window (below the menu bar).
    static WindowPlacement place(const QRect &available, const QMargins &frame, QSize window, const QPoint &client,
                                 const QPoint &wantedClient);
};
