#include "platform/Video.h"

#include <cstdio>
#include <cstring>
#include <thread>

#include <SDL.h>

#include "platform/X11.h"
#include "platform/draw/Font.h"

namespace platform::detail {
namespace {

enum class State { Untried, Running, Failed };
State state = State::Untried;
std::thread::id videoThread;

}  // namespace

bool EnsureVideo() {
  if (state == State::Running) return true;
  if (state == State::Failed) return false;
  // SIGINT and SIGTERM keep their usual meaning, and closing the last window is an ordinary
  // window event, not a request to end the program.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // A click that activates a window is a click too.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // Window images go to the screen through the driver's own framebuffer (X11 shared memory);
  // a GPU renderer behind it would load GL drivers for no gain in a picture this small.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // X, through Xwayland on a Wayland desktop, unless SDL_VIDEODRIVER says otherwise (it wins
  // over this hint). SDL 2.26 would otherwise fall back to its own Wayland driver where no X
  // server answers, and that driver writes through a missing seat during its start on a
  // compositor that offers none (a headless one): the process dies before a window opens.
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "qxworks: no display available: %s\n", SDL_GetError());
    state = State::Failed;
    return false;
  }
  GuardXErrors();
  SDL_StartTextInput();
  // The fonts get ready while the first window is built. Not earlier: while any second thread
  // exists, glibc locks every getc, and Xlib reads its 500 KB compose table during SDL's start a
  // byte at a time (5 ms more, measured with fontconfig starting after SDL's D-Bus helper).
  StartFonts();
  videoThread = std::this_thread::get_id();
  state = State::Running;
  return true;
}

bool VideoReadyHere() {
  return state == State::Running && std::this_thread::get_id() == videoThread;
}

bool VideoIsHeadless() {
  if (!EnsureVideo()) return true;
  const char* driver = SDL_GetCurrentVideoDriver();
  return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

}  // namespace platform::detail
