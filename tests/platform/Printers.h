// Readable failure output for the platform's message type.
#pragma once

#include <ostream>

#include "platform/Messages.h"

namespace platform {

inline void PrintTo(const Message& m, std::ostream* out) {
  static const char* const kKinds[] = {
      "None",  "LeftButtonDown", "LeftButtonUp", "MouseMove", "KeyDown",         "KeyUp", "Char",
      "Size",  "Paint",          "Destroy",      "Timer",     "MinimizeCommand", "Quit",  "User",
      "Wheel"};
  const auto kind = static_cast<unsigned>(m.kind);
  *out << "{window " << m.window << ", "
       << (kind < std::size(kKinds) ? kKinds[kind] : "?") << ", " << m.a << ", " << m.b << "}";
}

}  // namespace platform
