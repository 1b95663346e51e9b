#include "WindowPlacement.h"

WindowPlacement WindowPlacement::place(const QRect &available, const QMargins &frame, QSize window,
                                       const QPoint &client, const QPoint &wantedClient)
{
    const QPoint wanted = wantedClient - client;
    QRect framed(wanted - QPoint(frame.left(), frame.top()), window.grownBy(frame));
    // The title bar and its buttons matter most: the top-left corner is kept
    // on screen last, so it wins when the screen is too small for the frame.
    framed.moveRight(qMin(framed.right(), available.right()));
    framed.moveBottom(qMin(framed.bottom(), available.bottom()));
    framed.moveLeft(qMax(framed.left(), available.left()));
    framed.moveTop(qMax(framed.top(), available.top()));
    const QPoint at = framed.topLeft() + QPoint(frame.left(), frame.top());
    return {QRect(at, window), at - wanted};
}
