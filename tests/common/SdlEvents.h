// Input as SDL delivers it, for tests of the layers that turn SDL events into messages.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include <SDL.h>

#include "platform/Messages.h"

namespace qxtest {

inline void PushEvent(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }

// A button press or release, or (SDL_MOUSEMOTION) a move, at window coordinates.
inline void PushMouse(Uint32 type, platform::WindowId window, int x, int y,
                      Uint8 button = SDL_BUTTON_LEFT) {
  SDL_Event e{};
  e.type = type;
  if (type == SDL_MOUSEMOTION) {
    e.motion.windowID = window;
    e.motion.x = x;
    e.motion.y = y;
  } else {
    e.button.windowID = window;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
  }
  PushEvent(e);
}

// The wheel turned by (dx, dy) notches with the pointer at window coordinates (x, y).
inline void PushWheel(platform::WindowId window, int x, int y, int dx, int dy,
                      bool flipped = false) {
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = window;
  e.wheel.x = dx;
  e.wheel.y = dy;
  e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
  e.wheel.mouseX = x;
  e.wheel.mouseY = y;
  PushEvent(e);
}

inline void PushKey(Uint32 type, platform::WindowId window, SDL_Scancode code,
                    Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = type;
  e.key.windowID = window;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = code;
  e.key.keysym.mod = mod;
  PushEvent(e);
}

inline void PushText(platform::WindowId window, const char* utf8) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = window;
  std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
  PushEvent(e);
}

}  // namespace qxtest
