// Starting another program, as the Run command does.
#pragma once

#include <string_view>

namespace platform {

// Starts the file at a system path in the given working directory (a system path too; empty:
// ours). An executable file is run directly, never through a shell; any other file (or folder)
// is handed to xdg-open the same way. The program runs on its own; it is not waited for.
// False when nothing could be started: no such file, no xdg-open, a folder that cannot be
// entered, or the program cannot be executed.
bool StartProgram(std::string_view file, std::string_view directory);

}  // namespace platform
