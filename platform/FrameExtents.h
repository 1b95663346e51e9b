#pragma once

#include <QMargins>
#include <QPoint>
#include <optional>

class QWidget;

namespace FrameExtents {
// The frame that the window manager will draw around a top-level window
// that is not shown yet, in device-independent pixels, as the manager
// itself reports it when asked. Nothing when no manager answers (no X11,
// no window manager, or one that does not tell).
std::optional<QMargins> ask(QWidget &window);
// Where a shown top-level window is on screen without its frame, in
// device-independent pixels, as the X server has it: Qt takes a move as
// done when asked, and a manager that declines one may not say so.
std::optional<QPoint> placedAt(QWidget &window);
}
