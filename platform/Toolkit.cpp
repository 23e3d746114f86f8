#include "platform/Toolkit.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/Install.h"

namespace platform {
namespace fs = std::filesystem;

std::string ToolkitRootFor(const char* variable, const std::string& programFolder) {
  // The variable is the user's word: taken as it stands, even where nothing is staged yet.
  if (variable && *variable) return variable;
  if (programFolder.empty()) return "";
  std::error_code ec;
  fs::path folder = fs::path(programFolder).lexically_normal();
  if (!folder.has_filename()) folder = folder.parent_path();  // "bin/" is "bin"
  for (const fs::path& candidate : {folder / "toolkit", folder.parent_path()})
    if (fs::is_directory(candidate / "include" / "qxworks", ec)) return candidate.string();
  return "";
}

std::string ToolkitRoot() {
  return ToolkitRootFor(std::getenv("QXWORKS_TOOLKIT"), ProgramFolder());
}

}  // namespace platform
