// Where the toolkit for the user's own programs is: a toolkit root holds include/qxworks (the
// headers, compiled with -I <root>/include/qxworks), lib/libqxtoolkit.a and the flag files
// lib/qxworks/cxxflags.txt and lib/qxworks/link.txt (one argument a line).
#pragma once

#include <string>

namespace platform {

// The toolkit root as a Linux path: $QXWORKS_TOOLKIT when set, else toolkit/ beside the running
// program (a build folder stages it there), else the folder above the program's (an install
// prefix, the program in its bin/); "" when none of them holds include/qxworks.
std::string ToolkitRoot();

// The same choice for a given variable's value (null: unset) and program folder.
std::string ToolkitRootFor(const char* variable, const std::string& programFolder);

}  // namespace platform
