#include "platform/Shell.h"

#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Files.h"
#include "platform/Process.h"

namespace platform {
namespace {

// Collects the child's exit status when it ends, so it does not linger as a zombie.
bool Spawn(const std::string& program, const std::vector<std::string>& arguments,
           const std::string& folder, bool searchPath) {
  int error = 0;
  const int child = detail::SpawnProgram(program, arguments, folder, searchPath, -1, -1, error);
  if (child == 0) return false;
  std::thread([child] {
    int status = 0;
    waitpid(child, &status, 0);
  }).detach();
  return true;
}

}  // namespace

bool StartProgram(std::string_view file, std::string_view directory) {
  const std::string path = detail::AbsolutePath(LinuxPath(file));
  const std::string folder = directory.empty() ? std::string() : LinuxPath(directory);
  if (path.empty() || (!directory.empty() && folder.empty())) return false;
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  if (S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0)
    return Spawn(path, {path}, folder, false);
  return Spawn("xdg-open", {"xdg-open", path}, folder, true);
}

}  // namespace platform
