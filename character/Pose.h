#pragma once

#include <QList>

// Where one part of the figure is, relative to its place in the art: turned
// about its pivot, moved, scaled (stretch scales only the height) and faded.
struct PartPose
{
    double rotate = 0;
    double dx = 0;
    double dy = 0;
    double scale = 1;
    double stretch = 1;
    double opacity = 1;

    bool operator==(const PartPose &) const = default;
};

// The whole figure at one moment: the figure itself, then each part in the
// order the manifest lists them.
struct Pose
{
    PartPose figure;
    QList<PartPose> parts;

    bool operator==(const Pose &) const = default;
};
