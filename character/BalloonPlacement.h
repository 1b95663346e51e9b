#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// Where a speech balloon goes beside its character: on a side of the head,
// slid up or down as needed, so that it covers none of the areas the program
// asked to keep clear. Only rectangles in, one rectangle out.
class BalloonPlacement
{
public:
    enum Side { Right, Left };
    struct Choice
    {
        QRect rect;
        int size = 0; // index into the sizes offered
        Side side = Right;
    };

    // `sizes` are the balloon's sizes at each wrapping width it can take,
    // widest first; `keepClear` lists the areas not to cover, the most
    // important first. When every place covers something, the choice is the
    // one whose most important covered area matters least.
    static Choice choose(const QRect &character, const QList<QSize> &sizes, const QRect &screen,
                         const QList<QRect> &keepClear);
};
