#pragma once

#include <QPixmap>
#include <QString>

// Our pictures are SVG, rendered at the screen's pixel density so they stay
// crisp at any scale.
namespace Pictures {
QPixmap render(const QString &resource, QSize size, qreal devicePixelRatio);
}
