// Top-level windows: one borderless SDL window each, at screen coordinates, whose client area is
// the whole window. Each window keeps its own image, the picture it shows, which drawing code
// writes to directly and PresentWindow puts on the screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Messages.h"
#include "platform/draw/Surface.h"

struct SDL_Window;

namespace platform {

struct WindowRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The largest width or height a window takes: beyond every display, and it keeps a window's
// image (and the canvas buffer that follows it) within 256 MB.
constexpr int kMaxWindowSide = 8192;

// A hidden window with a white image of its size; 0 when there is no display. Sizes are cut to
// 1 .. kMaxWindowSide pixels, here and in MoveWindow. The display learns of the window only when
// messages are next fetched or a frame of it is presented, and then where it was last placed and
// whether it was last shown (every call before answers from what it was told): a window placed
// several times while it is built costs the display one window made in place, not a round of
// waiting for the server for each placement. A window the display then cannot make says so on
// stderr, never shows, and its frames fail to present.
WindowId CreateWindow(int x, int y, int width, int height);

// Sends Destroy to the window's procedure at once (the window still exists while it runs), then
// closes the window; its timers stop and its procedure is detached. Unknown ids are ignored.
void DestroyWindow(WindowId window);

// Showing also asks for a Paint.
bool ShowWindow(WindowId window);
bool HideWindow(WindowId window);
bool IsWindowVisible(WindowId window);

// When the size changes, the window's image takes the new size (keeping what fits), the
// window's procedure gets Size (a = width, b = height) at once, as the native platform sends
// it, and a Paint follows later.
bool MoveWindow(WindowId window, int x, int y, int width, int height);

bool MinimizeWindow(WindowId window);
bool MaximizeWindow(WindowId window);
bool RestoreWindow(WindowId window);

std::optional<WindowRect> WindowBounds(WindowId window);

// The title the desktop shows for the window (in the task bar); cp1251.
void SetWindowTitle(WindowId window, std::string_view title);
std::string WindowTitle(WindowId window);  // "" for an unknown window

// What the window shows, client-sized; nullptr for an unknown window. The pointer stays valid
// until the window is destroyed; the pixels move when the window's size changes. A picture
// presented straight to the screen reaches the image on this call: ask again after a present.
Surface* WindowImage(WindowId window);
// The same image for its size and address only: its pixels may lag behind the screen, and after
// a change of size they are not there at all until WindowImage is asked.
const Surface* PeekWindowImage(WindowId window);

// Puts the window's image on the screen.
bool PresentWindow(WindowId window);
// Copies the top-left block of picture that fits into the window's image and puts the image on
// the screen: what a copy into WindowImage and PresentWindow do. A picture that covers the whole
// image is copied once, to the screen, and from there into the image only when it is asked for.
bool PresentWindowFrom(WindowId window, const Surface& picture);

// While a window holds the capture, every mouse message goes to it, in its client coordinates
// (negative left of or above it), wherever the pointer is.
void CaptureMouse(WindowId window);
void ReleaseMouseCapture();
WindowId MouseCaptureWindow();

namespace detail {

// For the event pump, before it asks for events: windows made, placed and shown since the last
// time reach the screen where and as they were last asked to be.
void PutWindowsOnScreen();
// The window an SDL event names: SDL's id of one of the windows, or a window's own id.
WindowId WindowOfSdl(std::uint32_t sdlId);
// SDL's window of a window, null until the window has reached the screen.
SDL_Window* SdlWindowOf(WindowId window);
// Any window that has reached the screen; null when none has.
SDL_Window* AnySdlWindow();
// For the event pump. A mouse event reported for eventWindow at (x, y): answers the window that
// receives it and turns (x, y) into that window's client coordinates.
WindowId RouteMouse(WindowId eventWindow, int& x, int& y);
// The desktop shows the window again, or part of it: what it showed may be gone, so the whole
// window is sent with its next frame, which this asks for.
void WindowExposed(WindowId window);
// The desktop changed the window's size; Size and Paint follow when it really changed.
void WindowResized(WindowId window, int width, int height);
// The desktop asks to close the window: it is hidden and its procedure gets Destroy in turn.
void WindowCloseRequested(WindowId window);

}  // namespace detail
}  // namespace platform
