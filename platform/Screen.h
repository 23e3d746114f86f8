// The display and the mouse pointer.
#pragma once

namespace platform {

// The size of display 0 in units (its pixels over the display's scale factor), asked of the
// desktop each time. SDL's offscreen driver reports
// 1024 x 768; so does this layer when no display can be opened at all.
// Whether windows reach a person: SDL video runs on a real display, not on its offscreen or
// dummy driver (which SDL also falls back to when no display can be opened).
bool RealDisplay();

int ScreenWidth();
int ScreenHeight();

// Pointer shapes by the system's numbers: 0 arrow, -6 NE-SW, -7 N-S, -8 NW-SE, -9 W-E sizing
// arrows; any other number is the arrow. False when the desktop cannot show it (headless).
bool SetPointerShape(int shape);

}  // namespace platform
