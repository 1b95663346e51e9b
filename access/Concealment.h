#pragma once

class QWidget;

// A control that carries a secret, such as the answer key, while it is hidden:
// accessibility clients see an object with no text, and hear nothing of the
// text's changes.
namespace Concealment {
void conceal(QWidget &widget);
}
