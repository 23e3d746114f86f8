// Key codes of key-down and key-up messages are PC keyboard scan codes (set 1, without the
// extended-key prefix), as the system expects: A 30, Tab 15, Enter 28, Left 75...
#pragma once

namespace platform {

// The PC scan code of an SDL scancode; 0 for a key the PC keyboard does not have.
int ScanCodeFromSdl(int sdlScancode);

}  // namespace platform
