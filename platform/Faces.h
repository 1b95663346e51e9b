#pragma once

#include <QString>

// The window names its faces after fonts that a Debian machine seldom has.
// Asking the toolkit for a missing face makes it match that name, and then
// each of its fallbacks, against every family installed, once for every
// size and style the window uses: on a desktop with thousands of fonts that
// is most of the start-up.
namespace Faces {
// Maps the named faces onto the metric-compatible ones that Debian ships.
void install();
// The family the toolkit draws `face` with: the face itself where it is
// installed, else its first installed substitute, else the toolkit's own
// fallback for it. A font asked for by this family is found at once.
QString resolve(const QString &face);
}
