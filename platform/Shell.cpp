#include "platform/Shell.h"

#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Files.h"

extern char** environ;

namespace platform {
namespace {

// The child changes its folder before it starts, so a relative program path must not depend on
// the folder it changes to.
std::string Absolute(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  char* here = getcwd(nullptr, 0);
  if (!here) return path;
  std::string absolute = std::string(here) + "/" + path;
  std::free(here);
  return absolute;
}

// The started program belongs to the user, not to us: a fresh session and the default signal
// handling, whatever this process changed.
bool Spawn(const std::string& program, char* const argv[], const std::string& folder,
           bool searchPath) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
  pid_t child = 0;
  const int result = searchPath
                         ? posix_spawnp(&child, program.c_str(), &actions, &attributes, argv, environ)
                         : posix_spawn(&child, program.c_str(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0) return false;
  // Collect the child's exit status when it ends, so it does not linger as a zombie.
  std::thread([child] {
    int status = 0;
    waitpid(child, &status, 0);
  }).detach();
  return true;
}

}  // namespace

bool StartProgram(std::string_view file, std::string_view directory) {
  const std::string path = Absolute(LinuxPath(file));
  const std::string folder = directory.empty() ? std::string() : LinuxPath(directory);
  if (path.empty() || (!directory.empty() && folder.empty())) return false;
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  std::string program = path;
  std::string opener = "xdg-open";
  char* runDirectly[] = {program.data(), nullptr};
  char* runThroughOpener[] = {opener.data(), program.data(), nullptr};
  if (S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0)
    return Spawn(path, runDirectly, folder, false);
  return Spawn(opener, runThroughOpener, folder, true);
}

}  // namespace platform
