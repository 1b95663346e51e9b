#pragma once

#include <QString>

// A name typed by a pupil, made fit to show: controls and invisible format
// characters (line breaks, bidi overrides) become U+FFFD, and a name longer
// than maxChars is cut, never inside a surrogate pair, and ends with "…".
namespace SafeText {
inline constexpr int defaultMax = 40;
QString shown(const QString &text, int maxChars = defaultMax);
}
