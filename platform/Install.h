// Where the program was installed, and the files it brings to the user's drive C:.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The folder the running program's file is in; "" when the kernel does not say.
std::string ProgramFolder();

// The pictures that came with the program: PREFIX/share/qxworks/Pics beside an installed
// PREFIX/bin, else the build tree's pics/ beside a program run from its build folder; "" when
// neither is there.
std::string BundledPicturesFolder(const std::string& programFolder);

// Copies every file below the host folder `from` that is missing below the system folder `to`
// (drive C: paths), making folders as needed. Files already there, whatever they hold, stay as
// they are; each copy reaches its name whole or not at all. Returns how many were copied; a
// failure is named on stderr and the rest go on.
int CopyMissingFiles(const std::string& from, std::string_view to);

}  // namespace platform
