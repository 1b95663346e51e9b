#pragma once

#include "Pose.h"

#include <QHash>
#include <QImage>
#include <QPicture>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <memory>

class QJsonObject;
class QPainter;
class QSvgRenderer;

// A character as its file describes it: SVG art cut into named parts, and
// animations as tracks of key values over those parts.
class Figure
{
public:
    struct Track
    {
        int part = -1; // -1 moves the whole figure
        double PartPose::*property = nullptr;
        QList<QPointF> keys; // (ms, value), in time order
    };
    struct Animation
    {
        QString name;
        qint64 durationMs = 0;
        QList<Track> tracks;
    };

    // Throws Failure naming the file and what is wrong with it.
    static std::shared_ptr<const Figure> load(const QString &file);
    ~Figure();

    const QString &file() const { return m_file; }
    // The art's size in its own units; the window keeps these proportions.
    QSizeF size() const { return m_viewBox.size(); }

    const Animation *animation(const QString &name) const;
    const Animation &appearing() const { return m_appear; }
    // Played over and over while the figure glides to a new place.
    const Animation &gliding() const { return m_glide; }

    Pose rest() const { return m_rest; }
    // Lays the animation at `ms` from its start over the pose.
    void animate(Pose &pose, const Animation &animation, qint64 ms) const;
    void setBlink(Pose &pose, bool shut) const;
    // 0 is a closed smile, 1 the mouth wide open.
    void setMouth(Pose &pose, double opening) const;

    void paint(QPainter &painter, const QRectF &target, const Pose &pose) const;

private:
    // A part drawn once at a given number of device pixels per art unit.
    struct Sprite
    {
        qreal scale = 0;
        QImage image;
    };
    struct Part
    {
        QString id;
        QPointF pivot;
        int parent = -1;
        QRectF bounds;
        // Recorded once from the SVG, so a sprite at a new scale is drawn
        // without walking the document again.
        QPicture picture;
        // Each frame blends these instead of replaying the vectors, which
        // costs several times more. Two scales, as the window without a
        // compositor draws its mask at one and its pixels at another.
        mutable std::array<Sprite, 2> sprites;
    };

    static const QImage &sprite(const Part &part, qreal scale);

    Figure() = default;
    void readParts(const QJsonObject &json);
    void readPart(const QJsonObject &json, QSvgRenderer &svg);
    void readAnimations(const QJsonObject &json);
    Animation readAnimation(const QString &name, const QJsonObject &json) const;
    int partIndex(const QString &id) const;

    QString m_file;
    QRectF m_viewBox;
    QPointF m_figurePivot;
    QList<Part> m_parts;
    Pose m_rest;
    int m_eyelids = -1;
    int m_mouthOpen = -1;
    int m_mouthClosed = -1;
    Animation m_appear;
    Animation m_glide;
    QHash<QString, Animation> m_animations;
};
