#include "platform/Events.h"

#include <SDL.h>

#include "platform/Keyboard.h"
#include "platform/Messages.h"
#include "platform/Text.h"
#include "platform/Window.h"

namespace platform::detail {
namespace {

std::uint8_t ModifiersOf(SDL_Keymod mod) {
  std::uint8_t bits = 0;
  if (mod & KMOD_SHIFT) bits |= kShift;
  if (mod & KMOD_CTRL) bits |= kCtrl;
  if (mod & KMOD_ALT) bits |= kAlt;
  return bits;
}

// A mouse event carries no modifiers of its own: they are the keyboard's state as it stands.
void PostMouse(MessageKind kind, WindowId window, int x, int y) {
  const WindowId target = RouteMouse(window, x, y);
  PostMessage(Message{target, kind, x, y, ModifiersOf(SDL_GetModState())});
}

void PostWindowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      WindowResized(WindowOfSdl(event.windowID), event.data1, event.data2);
      break;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED:
      InvalidateWindow(WindowOfSdl(event.windowID));
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
                            code, 0, ModifiersOf(SDL_Keymod(event.key.keysym.mod))});
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

}  // namespace

void PumpEvents(int waitMs) {
  SDL_Event event;
  if (waitMs != 0) {
    const int got = waitMs < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, waitMs);
    if (got) Convert(event);
  }
  while (SDL_PollEvent(&event)) Convert(event);
}

}  // namespace platform::detail
