#pragma once

// Whether a compositing manager runs on the display, so that translucent
// windows blend with what is behind them. Without one the character is
// shaped with a mask instead, or it would stand in a black box.
bool compositorRunning();
