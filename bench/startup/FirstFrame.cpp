// The environment's start as qxworks makes it, up to the main window's first presented frame:
// the same libraries, the same application object, the same message loop, ended once the first
// frame is on the screen. It tells the process start-up benchmark so by writing one byte to the
// file descriptor named by its argument, the moment SDL has taken the frame: this program puts
// its own SDL_UpdateWindowSurface in front of SDL's, so the environment's code is not touched.
// Unlike qxworks it also runs without a real display (SDL's offscreen driver), so the start can
// be measured there too. "startup_first_frame -1 --end-at-frame" ends the process at the frame,
// for profiling the start alone.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string_view>

#include <SDL.h>

#include "core/App.h"
#include "ide/App1.h"
#include "platform/Messages.h"
#include "platform/Screen.h"

namespace {

int presentedFd = -1;
bool endAtFrame = false;
bool presented = false;
// The frame must show the configuration: a frame before it was loaded does not count.
bool showedTree = false;

}  // namespace

// The main window is the first window the environment opens, so the first frame is its.
extern "C" int SDL_UpdateWindowSurface(SDL_Window* window) {
  using Update = int (*)(SDL_Window*);
  static const auto sdl = reinterpret_cast<Update>(dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface"));
  const int result = sdl(window);
  if (result == 0 && !presented) {
    presented = true;
    showedTree = CoreApp && CoreApp->InfoMan.Root.ChildCount().Value > 0;
    if (presentedFd >= 0 && write(presentedFd, "F", 1) != 1) std::_Exit(1);
    if (endAtFrame) std::_Exit(showedTree ? 0 : 1);
  }
  return result;
}

int main(int argc, char** argv) {
  presentedFd = argc > 1 ? std::atoi(argv[1]) : -1;
  // For a profile of the start alone: nothing after the frame, not even the ending.
  endAtFrame = argc > 2 && std::string_view(argv[2]) == "--end-at-frame";
  // qxworks asks first, and so starts the display connection here; it refuses to go on without
  // a display, and so does this unless the offscreen driver was asked for.
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (!platform::RealDisplay() && !(driver && std::string_view(driver) == "offscreen")) {
    std::fputs("first frame: no display\n", stderr);
    return 1;
  }
  try {
    auto app = std::make_unique<CApp1>();
    CtrlApp = app.get();
    platform::Message message;
    while (!presented && platform::GetMessage(message)) {
      platform::TranslateMessage(message);
      platform::DispatchMessage(message);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "first frame: %s\n", e.what());
    return 1;
  }
  if (!presented || !showedTree) {
    std::fputs(presented ? "first frame: it did not show the configuration\n"
                         : "first frame: nothing was presented\n",
               stderr);
    return 1;
  }
  return 0;
}
