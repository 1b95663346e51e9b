#pragma once

#include <QColor>

// The window's colours, by name, so the controls and the verdict agree.
namespace Colours {
inline const QColor red(255, 0, 0);
inline const QColor blue(0, 0, 255);
inline const QColor yellow(255, 255, 0);
inline const QColor lightYellow(255, 255, 128);
inline const QColor purple(192, 0, 192);
inline const QColor pink(255, 128, 255);
inline const QColor lavender(128, 128, 255);
inline const QColor cyan(0, 255, 255);
inline const QColor paleCyan(128, 255, 255);
inline const QColor teal(0, 192, 192);
}
