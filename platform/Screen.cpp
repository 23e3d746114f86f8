#include "platform/Screen.h"

#include <array>

#include <SDL.h>

#include "platform/Scale.h"
#include "platform/Video.h"

namespace platform {
namespace {

constexpr int kHeadlessWidth = 1024;
constexpr int kHeadlessHeight = 768;

bool DisplaySize(int& width, int& height) {
  SDL_DisplayMode mode;
  if (!detail::EnsureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
  // In units: windows placed by it are enlarged on their way to the screen.
  width = mode.w / DisplayScale();
  height = mode.h / DisplayScale();
  return true;
}

struct ShapeRow {
  int shape;
  SDL_SystemCursor cursor;
};

constexpr ShapeRow kShapes[] = {
    {-6, SDL_SYSTEM_CURSOR_SIZENESW},
    {-7, SDL_SYSTEM_CURSOR_SIZENS},
    {-8, SDL_SYSTEM_CURSOR_SIZENWSE},
    {-9, SDL_SYSTEM_CURSOR_SIZEWE},
};

// Made once each, kept to the end of the process.
std::array<SDL_Cursor*, SDL_NUM_SYSTEM_CURSORS> cursors{};

}  // namespace

bool RealDisplay() { return !detail::VideoIsHeadless(); }

int ScreenWidth() {
  int width = kHeadlessWidth;
  int height = kHeadlessHeight;
  DisplaySize(width, height);
  return width;
}

int ScreenHeight() {
  int width = kHeadlessWidth;
  int height = kHeadlessHeight;
  DisplaySize(width, height);
  return height;
}

bool SetPointerShape(int shape) {
  if (!detail::EnsureVideo()) return false;
  SDL_SystemCursor wanted = SDL_SYSTEM_CURSOR_ARROW;
  for (const ShapeRow& row : kShapes)
    if (row.shape == shape) wanted = row.cursor;
  SDL_Cursor*& cursor = cursors[wanted];
  if (!cursor) cursor = SDL_CreateSystemCursor(wanted);
  if (!cursor) return false;
  SDL_SetCursor(cursor);
  return true;
}

}  // namespace platform
