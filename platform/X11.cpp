#include "platform/X11.h"

#include <cstdio>
#include <cstring>

#include <SDL.h>
#include <SDL_syswm.h>

namespace platform::detail {

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

using ErrorHandler = int (*)(Display*, XErrorEvent*);
using SetErrorHandler = ErrorHandler (*)(ErrorHandler);
using GetErrorText = int (*)(Display*, int, char*, int);
GetErrorText errorText = nullptr;

// Xlib's own handler ends the process, and the user's unsaved work with it, for a request that
// failed, say, on a window gone a moment early. None of those is worth that.
int LogXError(Display* display, XErrorEvent* error) {
  char text[160] = "";
  if (errorText) errorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "qxworks: X error ignored: %s (request %d, resource 0x%lx)\n", text,
               int(error->request_code), static_cast<unsigned long>(error->resourceid));
  return 0;
}

}  // namespace

void GuardXErrors() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0) return;
  // SDL opened Xlib itself; this only finds it (and keeps it, as SDL does).
  void* xlib = SDL_LoadObject("libX11.so.6");
  if (!xlib) return;
  const auto set = reinterpret_cast<SetErrorHandler>(SDL_LoadFunction(xlib, "XSetErrorHandler"));
  errorText = reinterpret_cast<GetErrorText>(SDL_LoadFunction(xlib, "XGetErrorText"));
  if (set) set(&LogXError);
}

int DisplayConnection(SDL_Window* window) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!window || !driver || std::strcmp(driver, "x11") != 0) return -1;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return -1;
  return ConnectionNumber(info.info.x11.display);
}

#else

void GuardXErrors() {}
int DisplayConnection(SDL_Window*) { return -1; }

#endif

}  // namespace platform::detail
