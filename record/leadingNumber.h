#pragma once

#include <QString>

// The number the text begins with: blanks, tabs and line feeds are skipped,
// then an optional sign, digits, an optional decimal part and exponent.
// A text without a number gives 0; huge values saturate instead of overflowing.
double leadingNumber(const QString &text);
