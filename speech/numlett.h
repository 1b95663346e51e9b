#pragma once

#include <QString>

// The Italian name of the whole part of n, as one word ("ventuno",
// "duemilionicinquecentomila"). Zero, negatives and numbers below 1 give
// the empty string. Meant for numbers below 10^12.
QString numlett(double n);
