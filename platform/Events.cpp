#include "platform/Events.h"

#include <poll.h>

#include <SDL.h>

#include "platform/Keyboard.h"
#include "platform/Messages.h"
#include "platform/Text.h"
#include "platform/Video.h"
#include "platform/Window.h"
#include "platform/X11.h"

namespace platform::detail {
namespace {

std::uint8_t ShiftOf(unsigned modifiers) {
  return std::uint8_t(((modifiers & KMOD_SHIFT) ? kShiftHeld : 0) |
                      ((modifiers & KMOD_ALT) ? kAltHeld : 0) |
                      ((modifiers & KMOD_CTRL) ? kCtrlHeld : 0));
}

void PostMouse(MessageKind kind, WindowId window, int x, int y) {
  const WindowId target = RouteMouse(window, x, y);
  PostMessage(Message{target, kind, x, y, ShiftOf(SDL_GetModState())});
}

// The display may never report a release: let go over no window of the program after crossing
// another of them, the button's release went nowhere, and the drag would then follow the pointer
// with no button held. So while a window holds the capture each move asks the display whether the
// button is still down, and if not, the capture's window gets the release the display lost.
void EndLostDrag(WindowId window, int x, int y) {
  if (MouseCaptureWindow() == 0 || VideoIsHeadless()) return;
  if (SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) return;
  PostMouse(MessageKind::LeftButtonUp, window, x, y);
  ReleaseMouseCapture();  // once: the moves still queued are no drag any more
}

void PostWindowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      WindowResized(WindowOfSdl(event.windowID), event.data1, event.data2);
      break;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED:
      WindowExposed(WindowOfSdl(event.windowID));
      break;
    case SDL_WINDOWEVENT_CLOSE:
      WindowCloseRequested(WindowOfSdl(event.windowID));
      break;
    default:
      break;
  }
}

void Convert(const SDL_Event& event) {
  switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      // Only the left button makes button messages; the others have no meaning here.
      if (event.button.button != SDL_BUTTON_LEFT) return;
      PostMouse(event.type == SDL_MOUSEBUTTONDOWN ? MessageKind::LeftButtonDown
                                                  : MessageKind::LeftButtonUp,
                WindowOfSdl(event.button.windowID), event.button.x, event.button.y);
      return;
    case SDL_MOUSEMOTION:
      EndLostDrag(WindowOfSdl(event.motion.windowID), event.motion.x, event.motion.y);
      PostMouse(MessageKind::MouseMove, WindowOfSdl(event.motion.windowID), event.motion.x,
                event.motion.y);
      return;
    case SDL_MOUSEWHEEL: {
      const SDL_MouseWheelEvent& wheel = event.wheel;
      const int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
      if (notches == 0) return;  // a sideways turn: nothing scrolls sideways by the wheel
      int x = wheel.mouseX;
      int y = wheel.mouseY;
      const WindowId target = RouteMouse(WindowOfSdl(wheel.windowID), x, y);
      PostMessage(Message{target, MessageKind::Wheel, notches, PackPoint(x, y)});
      return;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (const int code = ScanCodeFromSdl(event.key.keysym.scancode))
        PostMessage(Message{WindowOfSdl(event.key.windowID),
                            event.type == SDL_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp,
                            code, 0, ShiftOf(event.key.keysym.mod)});
      return;
    case SDL_TEXTINPUT:
      for (const char byte : Utf8ToCp1251(event.text.text))
        PostMessage(Message{WindowOfSdl(event.text.windowID), MessageKind::Char,
                            static_cast<unsigned char>(byte), 0});
      return;
    case SDL_WINDOWEVENT:
      PostWindowEvent(event.window);
      return;
    default:
      return;
  }
}

// SDL's own wait under X11 reads the events that come while it waits and, for each one it queues,
// wakes itself with a message sent over a second connection to the newest window. When that key
// answered a box, the box's window is destroyed at once, and the server, taking the destroy
// first, refuses the message with BadWindow. So under X11 the wait is on the display's connection
// itself: nothing is sent, and SDL reads what came once the wait is over.
bool WaitOnDisplay(int waitMs) {
  static int connection = -1;
  if (connection < 0) connection = DisplayConnection(AnySdlWindow());
  if (connection < 0) return false;
  SDL_PumpEvents();  // reads what the connection already holds, and sends what is buffered
  if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return true;
  pollfd display{connection, POLLIN, 0};
  poll(&display, 1, waitMs);  // a signal ends it early, as SDL's wait does
  return true;
}

}  // namespace

void PumpEvents(int waitMs) {
  SDL_Event event;
  if (waitMs != 0 && !WaitOnDisplay(waitMs)) {
    const int got = waitMs < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, waitMs);
    if (got) Convert(event);
  }
  while (SDL_PollEvent(&event)) Convert(event);
}

}  // namespace platform::detail
