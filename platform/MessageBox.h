// The platform's own modal message box with an OK button.
#pragma once

#include <string_view>

namespace platform {

// Writes "caption: text" to stderr (UTF-8), then shows the box and runs a nested message loop
// until OK is clicked or Enter, Escape or Space is pressed; other windows keep working meanwhile.
// Headless (no display, or SDL's offscreen or dummy driver) it returns right after writing.
// A quit request during the wait ends the box and stays queued for the outer loop. cp1251 text.
void MessageBox(std::string_view text, std::string_view caption);

}  // namespace platform
