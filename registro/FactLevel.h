#pragma once

#include "Measures.h"

#include <QColor>
#include <QString>

// How well a fact is known, as one of four levels with a colour and a word,
// so that the grid reads the same without colour. "Sicuro" is the latest
// state and wins over a share dragged down by early mistakes.
namespace FactLevel {
enum class Level { Untried, Weak, Nearly, Sure };
inline constexpr double nearlyFrom = 0.75;
Level of(const Measures::Fact &fact);
QColor colour(Level level);
QString word(Level level);
// What the colours mean, in one line under a grid.
QString legend();
}
