#pragma once

#include <QMargins>
#include <optional>

class QWidget;

namespace FrameExtents {
// The frame that the window manager will draw around a top-level window
// that is not shown yet, in device-independent pixels, as the manager
// itself reports it when asked. Nothing when no manager answers (no X11,
// no window manager, or one that does not tell).
std::optional<QMargins> ask(QWidget &window);
}
