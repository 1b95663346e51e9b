#pragma once

#include <QString>

// Where and how the program wants its talking character.
namespace Wizard {
inline const QString id = QStringLiteral("Merlin");
inline const QString file = QStringLiteral(":/characters/merlin/merlin.json");
// Screen pixels: with the window at the screen's top-left corner this is
// just above the answer box, where the announcement says the pupil writes.
constexpr int x = 250;
constexpr int y = 175;
constexpr int height = 205;
}
