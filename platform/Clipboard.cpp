#include "platform/Clipboard.h"

#include <SDL.h>

#include "platform/Text.h"

namespace platform {

void SetClipboardText(std::string_view cp1251) {
  SDL_SetClipboardText(Cp1251ToUtf8(cp1251).c_str());
}

std::string ClipboardText() {
  if (!SDL_HasClipboardText()) return {};
  char* utf8 = SDL_GetClipboardText();
  if (!utf8) return {};
  std::string text = Utf8ToCp1251(utf8, '?');
  SDL_free(utf8);
  return text;
}

}  // namespace platform
