#include "platform/Window.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <SDL.h>

#include "platform/Scale.h"
#include "platform/Text.h"
#include "platform/Timers.h"
#include "platform/Video.h"

namespace platform {
namespace {

struct WindowRecord {
  SDL_Window* sdl = nullptr;  // made as the window first reaches the screen
  Uint32 sdlId = 0;
  Surface image;            // client-sized: what the window shows
  bool destroying = false;  // Destroy is being sent; the window goes right after
  // SDL's framebuffer of the window when a picture went straight to it and the image has not
  // taken it yet: most frames are never read back, so they are copied once, not twice.
  SDL_Surface* ahead = nullptr;
  // Set while the image's pixels are owed after a change of size: the image then holds this
  // picture's pixels within kept (its top-left block that lasted through every change since) and
  // white elsewhere. A window is sized while it is built, and its first frame covers it whole, so
  // the white is most often never needed and never written.
  std::unique_ptr<Surface> before;
  int keptWidth = 0, keptHeight = 0;
  // Until the window is first wanted on the screen (the message loop runs, a frame is shown),
  // where it goes, whether it shows and its title are only noted here, and SDL's window is made
  // then, at its place. A window is placed several times while it is built, and under X each
  // placement, each showing and the making itself wait for the server.
  bool staged = true;
  bool shownStaged = false;
  bool unmade = false;  // SDL could not make it: it stays staged, answering from its notes
  WindowRect stagedBounds;
  std::string title = "QX Class Window";  // cp1251
  int scale = 1;  // screen pixels per unit; everything above this file counts units
  // Above factor 1: what the screen shows, at unit size, while `mirrored` is the screen surface
  // still holding it enlarged (not lost to a new surface, a showing or an exposure). A frame
  // then enlarges and sends only the rows it changes. The image takes the mirror when asked
  // (imageOwed): most frames are never read back.
  Surface mirror;
  SDL_Surface* mirrored = nullptr;
  bool imageOwed = false;
};

// Node-based, so a Surface* handed out stays put while other windows come and go.
std::unordered_map<WindowId, WindowRecord> windows;
// Window ids are the platform's own, above any SDL gives its windows, so an event naming either
// finds its window.
constexpr WindowId kFirstWindowId = 0x10000;
WindowId nextWindowId = kFirstWindowId;
std::unordered_map<Uint32, WindowId> bySdlId;
int stagedWindows = 0;  // how many records wait to reach the screen
WindowId captureWindow = 0;
// Shown windows, the last shown last: where the keyboard goes back to when the window that has
// it is hidden or destroyed (a box answered, a dialog closed).
std::vector<WindowId> shownOrder;

WindowRecord* Find(WindowId id) {
  const auto found = windows.find(id);
  return found == windows.end() ? nullptr : &found->second;
}

// The image takes what the last enlarged frame showed.
void TakeMirror(WindowRecord& window) {
  if (!window.imageOwed) return;
  window.imageOwed = false;
  const int width = std::min(window.mirror.width, window.image.width);
  for (int y = 0; y < std::min(window.mirror.height, window.image.height); ++y)
    std::memcpy(window.image.Row(y), window.mirror.Row(y), size_t(width) * sizeof(Pixel));
}

// The image gets the pixels a change of size left owed.
void Settle(WindowRecord& window) {
  if (!window.before) return;
  const std::unique_ptr<Surface> before = std::move(window.before);
  Surface& image = window.image;
  for (int y = 0; y < image.height; ++y) {
    Pixel* row = image.Row(y);
    const int kept = y < window.keptHeight ? window.keptWidth : 0;
    std::copy_n(before->Row(y), kept, row);
    std::fill(row + kept, row + image.width, Pixel(0xFFFFFF));
  }
}

// The image takes what the framebuffer got ahead of it, and what a change of size left owed
// before it. SDL frees a framebuffer only when the window surface is asked for again (a resize
// just marks it stale), and Present catches up before it asks, so this holds after a resize too.
void CatchUp(WindowRecord& window) {
  TakeMirror(window);
  SDL_Surface* ahead = window.ahead;
  if (ahead && ahead->w >= window.image.width && ahead->h >= window.image.height)
    window.before.reset();  // the framebuffer covers every owed pixel
  Settle(window);
  if (!ahead) return;
  window.ahead = nullptr;
  const int width = std::min(ahead->w, window.image.width);
  for (int y = 0; y < std::min(ahead->h, window.image.height); ++y)
    std::memcpy(window.image.Row(y),
                static_cast<const std::uint8_t*>(ahead->pixels) + size_t(y) * ahead->pitch,
                size_t(width) * sizeof(Pixel));
}

// A new picture of the new size: the old one's pixels where they fit, white elsewhere (the
// background the system's window class paints). Both are owed until the image is asked for: the
// new picture is black, which costs nothing until it is written.
void ResizeImage(WindowRecord& window, int width, int height) {
  TakeMirror(window);
  window.mirrored = nullptr;
  if (!window.before) {
    window.keptWidth = window.image.width;
    window.keptHeight = window.image.height;
    window.before = std::make_unique<Surface>(std::move(window.image));
  }
  window.keptWidth = std::min(window.keptWidth, width);
  window.keptHeight = std::min(window.keptHeight, height);
  window.image = Surface(width, height, 0);
}

// Takes the size SDL reports for the window; true when it differs from the image's.
bool TakeNewSize(WindowId id, WindowRecord& window, int width, int height) {
  if (width == window.image.width && height == window.image.height) return false;
  // Only what the framebuffer holds must be taken now: it may go with the change.
  if (window.ahead) CatchUp(window);
  ResizeImage(window, width, height);
  InvalidateWindow(id);
  return true;
}

// SDL's own word that a window was shown or uncovered. Once a Paint has been asked for, such an
// event still waiting would only ask again, after that Paint has drawn the window.
int DropShownEvents(void* sdlId, SDL_Event* event) {
  if (event->type != SDL_WINDOWEVENT || event->window.windowID != *static_cast<Uint32*>(sdlId))
    return 1;
  const Uint8 kind = event->window.event;
  return kind == SDL_WINDOWEVENT_SHOWN || kind == SDL_WINDOWEVENT_EXPOSED ? 0 : 1;
}

bool Shown(const WindowRecord& window) {
  return window.staged ? window.shownStaged
                       : (SDL_GetWindowFlags(window.sdl) & SDL_WINDOW_SHOWN) != 0;
}

void ScreenPosition(const WindowRecord& window, int& x, int& y) {
  if (window.staged) {
    x = window.stagedBounds.x;
    y = window.stagedBounds.y;
  } else {
    SDL_GetWindowPosition(window.sdl, &x, &y);
    x = ToUnits(x, window.scale);
    y = ToUnits(y, window.scale);
  }
}

// The window's size on the screen, in units.
void SizeInUnits(const WindowRecord& window, int& width, int& height) {
  SDL_GetWindowSize(window.sdl, &width, &height);
  width = std::max(1, width / window.scale);
  height = std::max(1, height / window.scale);
}

// Showing activates, as users expect of a new form; SDL's own word of it asks for no paint.
void Activate(WindowRecord& window) {
  window.mirrored = nullptr;  // a window shown again may have lost its pixels on the screen
  SDL_RaiseWindow(window.sdl);
  SDL_FilterEvents(&DropShownEvents, &window.sdlId);
}

void ShowOnScreen(WindowRecord& window) {
  SDL_ShowWindow(window.sdl);
  Activate(window);
}

// SDL's window is made with what was noted while the window was staged: at its last place,
// shown when it was last shown.
void PutOnScreen(WindowId id, WindowRecord& window) {
  if (!window.staged || window.unmade) return;
  --stagedWindows;
  const WindowRect& at = window.stagedBounds;
  const Uint32 flags = SDL_WINDOW_BORDERLESS | (window.shownStaged ? 0 : SDL_WINDOW_HIDDEN);
  const int s = window.scale;
  SDL_Window* sdl = SDL_CreateWindow(Cp1251ToUtf8(window.title).c_str(), at.x * s, at.y * s,
                                     at.width * s, at.height * s, flags);
  if (!sdl) {
    std::fprintf(stderr, "qxworks: cannot create a window: %s\n", SDL_GetError());
    window.unmade = true;
    return;
  }
  window.sdl = sdl;
  window.sdlId = SDL_GetWindowID(sdl);
  window.staged = false;
  bySdlId[window.sdlId] = id;
  // A desktop may not give the size asked for: the procedure learns the one it got.
  int width = 0, height = 0;
  SizeInUnits(window, width, height);
  if (TakeNewSize(id, window, width, height))
    PostMessage(Message{id, MessageKind::Size, width, height});
  if (window.shownStaged) Activate(window);
}

}  // namespace

WindowId CreateWindow(int x, int y, int width, int height) {
  if (!detail::EnsureVideo()) return 0;
  width = std::clamp(width, 1, kMaxWindowSide);
  height = std::clamp(height, 1, kMaxWindowSide);
  const WindowId id = nextWindowId++;
  WindowRecord& window = windows[id];
  window.scale = DisplayScale();
  window.stagedBounds = WindowRect{x, y, width, height};
  ++stagedWindows;
  ResizeImage(window, width, height);  // all white, once asked for
  return id;
}

namespace {

// The window going away or out of sight no longer takes keys. Without a window manager the
// display then gives them to no window at all, and the user's typing would be lost: the window
// shown before it gets them back, as a desktop gives them to the window under a closed dialog.
void PassKeyboardOn(WindowId id, bool hadKeyboard) {
  std::erase(shownOrder, id);
  if (!hadKeyboard) return;
  for (auto it = shownOrder.rbegin(); it != shownOrder.rend(); ++it) {
    const WindowRecord* next = Find(*it);
    if (!next || next->destroying || !Shown(*next)) continue;
    if (next->staged) return;  // it takes the keyboard as it reaches the screen
    SDL_RaiseWindow(next->sdl);
    SDL_SetWindowInputFocus(next->sdl);
    return;
  }
}

}  // namespace

void DestroyWindow(WindowId id) {
  WindowRecord* window = Find(id);
  if (!window || window->destroying) return;
  window->destroying = true;
  DispatchMessage(Message{id, MessageKind::Destroy, 0, 0});
  if (captureWindow == id) ReleaseMouseCapture();
  const bool hadKeyboard = !window->staged && SDL_GetKeyboardFocus() == window->sdl;
  if (window->staged && !window->unmade) --stagedWindows;
  if (!window->staged) {
    bySdlId.erase(window->sdlId);
    SDL_DestroyWindow(window->sdl);  // records never move, whatever the procedure did meanwhile
  }
  windows.erase(id);
  detail::ForgetWindow(id);
  detail::KillWindowTimers(id);
  PassKeyboardOn(id, hadKeyboard);
}

bool ShowWindow(WindowId id) {
  WindowRecord* window = Find(id);
  if (!window) return false;
  std::erase(shownOrder, id);
  shownOrder.push_back(id);
  InvalidateWindow(id);
  if (window->staged)
    window->shownStaged = true;
  else
    ShowOnScreen(*window);
  return true;
}

bool HideWindow(WindowId id) {
  WindowRecord* window = Find(id);
  if (!window) return false;
  const bool hadKeyboard = !window->staged && SDL_GetKeyboardFocus() == window->sdl;
  if (window->staged)
    window->shownStaged = false;
  else
    SDL_HideWindow(window->sdl);
  PassKeyboardOn(id, hadKeyboard);
  return true;
}

bool IsWindowVisible(WindowId id) {
  const WindowRecord* window = Find(id);
  return window && Shown(*window);
}

bool MoveWindow(WindowId id, int x, int y, int width, int height) {
  WindowRecord* window = Find(id);
  if (!window) return false;
  width = std::clamp(width, 1, kMaxWindowSide);
  height = std::clamp(height, 1, kMaxWindowSide);
  if (window->staged) {
    window->stagedBounds = WindowRect{x, y, width, height};
  } else {
    const int s = window->scale;
    SDL_SetWindowPosition(window->sdl, x * s, y * s);
    if (window->ahead) CatchUp(*window);  // the framebuffer may go with the change of size
    SDL_SetWindowSize(window->sdl, width * s, height * s);
    SizeInUnits(*window, width, height);
  }
  if (TakeNewSize(id, *window, width, height))
    DispatchMessage(Message{id, MessageKind::Size, width, height});
  return true;
}

bool MinimizeWindow(WindowId id) {
  WindowRecord* window = Find(id);
  if (!window) return false;
  PutOnScreen(id, *window);
  if (!window->staged) SDL_MinimizeWindow(window->sdl);
  return true;
}

bool MaximizeWindow(WindowId id) {
  WindowRecord* window = Find(id);
  if (!window) return false;
  PutOnScreen(id, *window);
  if (!window->staged) SDL_MaximizeWindow(window->sdl);
  window->mirrored = nullptr;
  return true;
}

bool RestoreWindow(WindowId id) {
  WindowRecord* window = Find(id);
  if (!window) return false;
  PutOnScreen(id, *window);
  if (!window->staged) SDL_RestoreWindow(window->sdl);
  window->mirrored = nullptr;
  return true;
}

std::optional<WindowRect> WindowBounds(WindowId id) {
  const WindowRecord* window = Find(id);
  if (!window) return std::nullopt;
  if (window->staged) return window->stagedBounds;
  WindowRect rect;
  ScreenPosition(*window, rect.x, rect.y);
  SizeInUnits(*window, rect.width, rect.height);
  return rect;
}

void SetWindowTitle(WindowId id, std::string_view title) {
  WindowRecord* window = Find(id);
  if (!window) return;
  window->title = title;
  if (!window->staged) SDL_SetWindowTitle(window->sdl, Cp1251ToUtf8(title).c_str());
}

std::string WindowTitle(WindowId id) {
  const WindowRecord* window = Find(id);
  return window ? window->title : std::string();
}

Surface* WindowImage(WindowId id) {
  WindowRecord* window = Find(id);
  if (!window) return nullptr;
  CatchUp(*window);
  return &window->image;
}

const Surface* PeekWindowImage(WindowId id) {
  const WindowRecord* window = Find(id);
  return window ? &window->image : nullptr;
}

namespace {

// Above factor 1: the rows of the frame (a picture that covers the window, or the image itself)
// that differ from what the screen shows are enlarged and sent, in bands; all of them when the
// screen may hold anything else. Enlarging is most of a frame's cost there, and most frames
// change a few rows.
bool PresentChanges(WindowRecord& window, const Surface& picture) {
  const int width = window.image.width, height = window.image.height, s = window.scale;
  const bool fromImage = &picture == &window.image;
  SDL_Surface* screen = SDL_GetWindowSurface(window.sdl);
  if (!screen) {
    window.mirrored = nullptr;
    if (fromImage) return false;
    window.imageOwed = false;
    for (int y = 0; y < height; ++y)
      std::memcpy(window.image.Row(y), picture.Row(y), size_t(width) * sizeof(Pixel));
    return false;
  }
  const bool partial = window.mirrored == screen && window.mirror.width == width &&
                       window.mirror.height == height && screen->w == width * s &&
                       screen->h == height * s;
  if (!partial && (window.mirror.width != width || window.mirror.height != height))
    window.mirror = Surface(width, height, 0);
  window.mirrored = nullptr;  // until the screen holds the mirror again
  window.imageOwed = !fromImage;
  const size_t rowBytes = size_t(width) * sizeof(Pixel);
  std::vector<SDL_Rect> bands;
  for (int y = 0; y < height;) {
    const auto differs = [&](int row) {
      return !partial || std::memcmp(window.mirror.Row(row), picture.Row(row), rowBytes) != 0;
    };
    if (!differs(y)) {
      ++y;
      continue;
    }
    const int first = y;
    for (; y < height && differs(y); ++y)
      std::memcpy(window.mirror.Row(y), picture.Row(y), rowBytes);
    if (!detail::EnlargeRows(window.mirror, screen, s, first, y)) return false;
    bands.push_back(SDL_Rect{0, first * s, width * s, (y - first) * s});
  }
  window.mirrored = screen;
  if (bands.empty()) return true;
  if (!partial) return SDL_UpdateWindowSurface(window.sdl) == 0;
  return SDL_UpdateWindowSurfaceRects(window.sdl, bands.data(), int(bands.size())) == 0;
}

// The image goes to the screen a row at a time; a picture given is first copied into the image,
// row by row as well. A picture that covers the whole image goes straight to the screen when the
// framebuffer is laid out as the image is, and the image takes it from there when asked.
bool Present(WindowRecord& window, const Surface* picture) {
  Surface& image = window.image;
  const bool whole = picture && picture->Whole();
  const int copyWidth = whole ? std::min(picture->width, image.width) : 0;
  const int copyHeight = whole ? std::min(picture->height, image.height) : 0;
  const bool covers = copyWidth == image.width && copyHeight == image.height;
  // Asking for the window surface may remake the framebuffer and free the old one: an image that
  // keeps part of what it shows takes the framebuffer's pixels before. A picture that covers the
  // image leaves nothing owed.
  if (!covers)
    CatchUp(window);
  else
    window.before.reset();
  if (window.scale > 1) {
    window.ahead = nullptr;
    if (covers) return PresentChanges(window, *picture);
    for (int y = 0; y < copyHeight; ++y)
      std::memcpy(image.Row(y), picture->Row(y), size_t(copyWidth) * sizeof(Pixel));
    return PresentChanges(window, image);
  }
  // The window surface is SDL's own framebuffer of the window: it works under X11 and under the
  // offscreen driver alike, where a renderer may not.
  SDL_Surface* screen = SDL_GetWindowSurface(window.sdl);
  if (screen && covers && screen->w == image.width && screen->h == image.height &&
      screen->format->format == SDL_PIXELFORMAT_RGB888 && !SDL_MUSTLOCK(screen)) {
    for (int y = 0; y < copyHeight; ++y)
      std::memcpy(static_cast<std::uint8_t*>(screen->pixels) + size_t(y) * screen->pitch,
                  picture->Row(y), size_t(copyWidth) * sizeof(Pixel));
    window.ahead = screen;
    return SDL_UpdateWindowSurface(window.sdl) == 0;
  }
  window.ahead = nullptr;  // the picture replaces the whole image below
  if (!screen) {
    for (int y = 0; y < copyHeight; ++y)
      std::memcpy(image.Row(y), picture->Row(y), size_t(copyWidth) * sizeof(Pixel));
    return false;
  }
  const int width = std::min(screen->w, image.width);
  const int height = std::min(screen->h, image.height);
  const bool locked = width > 0 && height > 0 && SDL_MUSTLOCK(screen);
  if (locked && SDL_LockSurface(screen) != 0) return false;
  const bool same = screen->format->format == SDL_PIXELFORMAT_RGB888;
  for (int y = 0; y < std::max(copyHeight, height); ++y) {
    if (y < copyHeight)
      std::memcpy(image.Row(y), picture->Row(y), size_t(copyWidth) * sizeof(Pixel));
    if (y >= height || width <= 0) continue;
    auto* to = static_cast<std::uint8_t*>(screen->pixels) + size_t(y) * screen->pitch;
    if (same)
      std::memcpy(to, image.Row(y), size_t(width) * sizeof(Pixel));
    else
      SDL_ConvertPixels(width, 1, SDL_PIXELFORMAT_RGB888, image.Row(y), image.Stride() * 4,
                        screen->format->format, to, screen->pitch);
  }
  if (locked) SDL_UnlockSurface(screen);
  return SDL_UpdateWindowSurface(window.sdl) == 0;
}

}  // namespace

bool PresentWindow(WindowId id) {
  WindowRecord* window = Find(id);
  if (!window) return false;
  PutOnScreen(id, *window);
  return !window->staged && Present(*window, nullptr);
}

bool PresentWindowFrom(WindowId id, const Surface& picture) {
  WindowRecord* window = Find(id);
  if (!window) return false;
  PutOnScreen(id, *window);
  return !window->staged && Present(*window, &picture);
}

void CaptureMouse(WindowId id) {
  if (!Find(id)) return;
  captureWindow = id;
  // Lets the desktop keep reporting the pointer outside our windows; drivers without it (the
  // offscreen one) still get the routing below.
  SDL_CaptureMouse(SDL_TRUE);
}

void ReleaseMouseCapture() {
  if (captureWindow == 0) return;
  captureWindow = 0;
  SDL_CaptureMouse(SDL_FALSE);
}

WindowId MouseCaptureWindow() {
  return captureWindow;
}

namespace detail {

void PutWindowsOnScreen() {
  if (stagedWindows == 0) return;
  // The shown ones in the order they were shown: the last shown is made last, so it is on top
  // and has the keyboard, as it would have had if each had reached the screen as it was shown.
  for (auto& [id, window] : windows)
    if (!window.shownStaged) PutOnScreen(id, window);
  for (const WindowId id : shownOrder)
    if (WindowRecord* window = Find(id)) PutOnScreen(id, *window);
}

WindowId WindowOfSdl(Uint32 sdlId) {
  const auto found = bySdlId.find(sdlId);
  return found == bySdlId.end() ? WindowId(sdlId) : found->second;
}

SDL_Window* SdlWindowOf(WindowId id) {
  const WindowRecord* window = Find(id);
  return window ? window->sdl : nullptr;
}

SDL_Window* AnySdlWindow() {
  for (const auto& [id, window] : windows)
    if (window.sdl) return window.sdl;
  return nullptr;
}

WindowId RouteMouse(WindowId eventWindow, int& x, int& y) {
  const WindowRecord* source = Find(eventWindow);
  const int scale = source ? source->scale : DisplayScale();
  x = ToUnits(x, scale);
  y = ToUnits(y, scale);
  const WindowRecord* capture = Find(captureWindow);
  if (!capture || eventWindow == captureWindow) return eventWindow;
  // The event belongs to another window or to none: go through screen coordinates.
  int screenX = 0;
  int screenY = 0;
  if (source) {
    ScreenPosition(*source, screenX, screenY);
    screenX += x;
    screenY += y;
  } else {
    SDL_GetGlobalMouseState(&screenX, &screenY);
    screenX = ToUnits(screenX, scale);
    screenY = ToUnits(screenY, scale);
  }
  int left = 0;
  int top = 0;
  ScreenPosition(*capture, left, top);
  x = screenX - left;
  y = screenY - top;
  return captureWindow;
}

void WindowExposed(WindowId id) {
  if (WindowRecord* window = Find(id)) window->mirrored = nullptr;
  InvalidateWindow(id);
}

void WindowResized(WindowId id, int width, int height) {
  WindowRecord* window = Find(id);
  if (window) {
    width /= window->scale;
    height /= window->scale;
  }
  width = std::clamp(width, 1, kMaxWindowSide);
  height = std::clamp(height, 1, kMaxWindowSide);
  if (window && TakeNewSize(id, *window, width, height))
    PostMessage(Message{id, MessageKind::Size, width, height});
}

void WindowCloseRequested(WindowId id) {
  if (!HideWindow(id)) return;
  PostMessage(Message{id, MessageKind::Destroy, 0, 0});
}

}  // namespace detail
}  // namespace platform
