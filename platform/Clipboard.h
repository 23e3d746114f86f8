// The desktop's clipboard, in the system's cp1251 text. Lines travel as "\r\n" inside the system;
// other programs get and give whatever line ends they use.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Puts the text on the clipboard, for this and every other program.
void SetClipboardText(std::string_view cp1251);

// The clipboard's text as cp1251: a character without a cp1251 byte becomes '?', so a paste loses
// neither lines nor the places of what it cannot show. "" when the clipboard holds no text.
std::string ClipboardText();

}  // namespace platform
