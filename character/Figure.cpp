#include "Figure.h"

#include <QPainter>
#include <QVarLengthArray>
#include <QtMath>
#include <cmath>

namespace {

// Eases in and out between keys, so a wave slows at each end of its swing.
double valueAt(const QList<QPointF> &keys, double t)
{
    if (t <= keys.first().x())
        return keys.first().y();
    for (int i = 1; i < keys.size(); ++i) {
        if (t <= keys[i].x()) {
            const double span = keys[i].x() - keys[i - 1].x();
            const double u = span > 0 ? (t - keys[i - 1].x()) / span : 1;
            const double eased = u * u * (3 - 2 * u);
            return keys[i - 1].y() + (keys[i].y() - keys[i - 1].y()) * eased;
        }
    }
    return keys.last().y();
}

QTransform transformFor(const PartPose &pose, const QPointF &pivot)
{
    QTransform t;
    t.translate(pivot.x() + pose.dx, pivot.y() + pose.dy);
    t.rotate(pose.rotate);
    t.scale(pose.scale, pose.scale * pose.stretch);
    t.translate(-pivot.x(), -pivot.y());
    return t;
}

} // namespace

Figure::~Figure() = default;

const Figure::Animation *Figure::animation(const QString &name) const
{
    const auto it = m_animations.constFind(name);
    return it == m_animations.cend() ? nullptr : &*it;
}

void Figure::animate(Pose &pose, const Animation &animation, qint64 ms) const
{
    for (const Track &track : animation.tracks) {
        PartPose &part = track.part < 0 ? pose.figure : pose.parts[track.part];
        part.*track.property = valueAt(track.keys, double(ms));
    }
}

void Figure::setBlink(Pose &pose, bool shut) const
{
    pose.parts[m_eyelids].opacity = shut ? 1 : 0;
}

void Figure::setMouth(Pose &pose, double opening) const
{
    const bool open = opening > 0.04;
    pose.parts[m_mouthOpen].opacity = open ? 1 : 0;
    pose.parts[m_mouthOpen].stretch = 0.35 + 0.65 * qBound(0.0, opening, 1.0);
    pose.parts[m_mouthClosed].opacity = open ? 0 : 1;
}

void Figure::paint(QPainter &painter, const QRectF &target, const Pose &pose) const
{
    if (pose.figure.opacity <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / m_viewBox.width(), target.height() / m_viewBox.height());
    painter.translate(-m_viewBox.topLeft());
    const QTransform art = painter.deviceTransform();
    const qreal scale = std::sqrt(std::abs(art.determinant()));
    const QTransform base = transformFor(pose.figure, m_figurePivot) * painter.transform();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    // Parents come before their children in the list, so one pass suffices.
    QVarLengthArray<QTransform, 32> placed(m_parts.size());
    for (int i = 0; i < m_parts.size(); ++i) {
        const Part &part = m_parts[i];
        const PartPose &p = pose.parts[i];
        placed[i] = transformFor(p, part.pivot) * (part.parent < 0 ? base : placed[part.parent]);
        if (p.opacity <= 0.01 || p.scale <= 0)
            continue;
        painter.setTransform(placed[i]);
        painter.setOpacity(pose.figure.opacity * qMin(1.0, p.opacity));
        const QImage &image = sprite(part, scale);
        painter.drawImage(QRectF(part.bounds.topLeft() - QPointF(1, 1) / scale, QSizeF(image.size()) / scale), image);
    }
    painter.restore();
}

const QImage &Figure::sprite(const Part &part, qreal scale)
{
    auto &cached = part.sprites;
    for (const Sprite &s : cached) {
        if (qFuzzyCompare(s.scale, scale))
            return s.image;
    }
    // Replace the older of the two.
    std::swap(cached[0], cached[1]);
    Sprite &s = cached[0];
    const QRectF &bounds = part.bounds;
    // A pixel of margin all round, so the antialiased edge is not cut.
    s.scale = scale;
    s.image = QImage(qCeil(bounds.width() * scale) + 2, qCeil(bounds.height() * scale) + 2,
                     QImage::Format_ARGB32_Premultiplied);
    s.image.fill(Qt::transparent);
    QPainter p(&s.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(1, 1);
    p.scale(scale, scale);
    p.translate(-bounds.topLeft());
    p.drawPicture(0, 0, part.picture);
    return s.image;
}

