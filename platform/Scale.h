// High-density screens. Every window shows a whole number of times larger on the screen than
// the toolkit draws it: the toolkit keeps drawing at its own unit size, and the platform layer
// enlarges each window's image by whole pixels as it presents it (no blur), places and sizes
// windows on the screen in screen pixels, and gives every position it reports (pointer, window
// bounds, screen size) in units. At factor 1 nothing changes.
#pragma once

#include "platform/draw/Surface.h"

struct SDL_Surface;
struct SDL_Window;

namespace platform {

constexpr int kMaxScale = 3;

// The factor for windows made from now on, 1 .. kMaxScale. Settled when video starts, from
// QXWORKS_SCALE (1, 2 or 3; anything else is named on stderr and ignored), else the X
// resources' Xft.dpi, else GDK_SCALE, else the density the display reports (from the screen's
// size in millimetres); 1 when none says more, and under a headless driver unless
// QXWORKS_SCALE says.
int DisplayScale();
// Tests and benchmarks try other factors: windows already made keep theirs.
void SetDisplayScale(int factor);

// What the settings above come to, apart from where they are read. Null or empty texts are
// unset; a density <= 0 is unknown. A density goes to the next factor three quarters of the way
// there (from 168 dpi on for 2, from 264 for 3), so a screen of 1.5 times the usual 96 stays
// at 1.
int ChooseScale(const char* qxworksScale, float xftDpi, const char* gdkScale, float dpi);
// Xft.dpi in the text of the X resources ("Xft.dpi:\t192\n..."); 0 when it is not there.
float XftDpiOf(const char* resources);

// A screen position or length in units: divided by the factor, rounding towards minus
// infinity, so a pointer left of or above a window stays left of or above it.
inline int ToUnits(int pixels, int factor) {
  return pixels >= 0 ? pixels / factor : -((-pixels + factor - 1) / factor);
}

namespace detail {

// Writes a row enlarged twice into two rows of the screen, bypassing the caches; false (nothing
// written) where the processor or the rows' alignment does not allow it.
bool DoubleRowPastCaches(const Pixel* from, int width, Pixel* top, Pixel* bottom);

// Puts the image's rows first to last (exclusive) on a window's screen surface, each pixel a
// factor x factor block, without showing them. False when the surface cannot be written.
bool EnlargeRows(const Surface& image, SDL_Surface* screen, int factor, int first, int last);

// Puts the image on the window's screen surface, each pixel a factor x factor block, and shows
// it. False when the window has no surface or it cannot be written.
bool PresentEnlarged(const Surface& image, SDL_Window* window, int factor);

}  // namespace detail
}  // namespace platform
