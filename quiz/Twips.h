#pragma once

#include <QRect>

// The window was laid out in twips, fifteen to a pixel at 96 dots per inch;
// keeping the numbers as drawn lets each control be checked against the design.
inline QRectF fromTwips(const QRect &twips)
{
    constexpr qreal twipsPerPixel = 15;
    return QRectF(twips.x() / twipsPerPixel, twips.y() / twipsPerPixel, twips.width() / twipsPerPixel,
                  twips.height() / twipsPerPixel);
}
