// Compact tool bars: picture buttons with a narrow frame and no gap between them, so that the
// window's tool bars share one row of a window 60 % of a 1280-pixel screen wide.
#pragma once

class QToolBar;

namespace vesk {

// The bar's buttons take their picture's width and a few pixels of frame; call it after the
// buttons were added.
void MakeCompact(QToolBar* bar);

}  // namespace vesk
