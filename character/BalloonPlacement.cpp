#include "BalloonPlacement.h"

#include <algorithm>

namespace {

// How much a place is worth: the index of the most important area it
// covers, or the number of areas when it covers none.
int worth(const QRect &place, const QList<QRect> &keepClear)
{
    for (int i = 0; i < keepClear.size(); ++i) {
        if (place.intersects(keepClear[i]))
            return i;
    }
    return int(keepClear.size());
}

QRect inside(QRect r, const QRect &screen)
{
    r.moveLeft(qBound(screen.left(), r.left(), qMax(screen.left(), screen.right() - r.width() + 1)));
    r.moveTop(qBound(screen.top(), r.top(), qMax(screen.top(), screen.bottom() - r.height() + 1)));
    return r;
}

} // namespace

BalloonPlacement::Choice BalloonPlacement::choose(const QRect &character, const QList<QSize> &sizes,
                                                  const QRect &screen, const QList<QRect> &keepClear)
{
    // The point of the balloon sits at the mouth's height, just beyond the face.
    const int mouth = character.y() + character.height() * 3 / 8;
    const int rightOfFace = character.x() + character.width() * 7 / 10;
    const int leftOfFace = character.x() + character.width() * 3 / 10;

    Choice best;
    int bestWorth = -1;
    for (int i = 0; i < sizes.size(); ++i) {
        const QSize size = sizes[i];
        // Where the balloon's bottom may go: at the mouth, or just clear of an
        // area above or below; always somewhere beside the character.
        QList<int> bottoms{mouth};
        for (const QRect &area : keepClear) {
            bottoms.append(area.top() - 1);
            bottoms.append(area.bottom() + size.height());
        }
        bottoms.erase(std::remove_if(bottoms.begin(), bottoms.end(),
                                     [&](int b) { return b < character.top() || b > character.bottom(); }),
                      bottoms.end());
        std::stable_sort(bottoms.begin(), bottoms.end(),
                         [mouth](int a, int b) { return qAbs(a - mouth) < qAbs(b - mouth); });

        for (Side side : {Right, Left}) {
            const int left = side == Right ? rightOfFace : leftOfFace - size.width();
            for (int bottom : bottoms) {
                const QRect place = inside(QRect(QPoint(left, bottom - size.height() + 1), size), screen);
                const int w = worth(place, keepClear);
                if (w > bestWorth) {
                    best = {place, i, side};
                    bestWorth = w;
                    if (w == keepClear.size())
                        return best;
                }
            }
        }
    }
    return best;
}
