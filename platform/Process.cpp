#include "platform/Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>


extern char** environ;

namespace platform {
namespace detail {

std::string AbsolutePath(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  char* here = getcwd(nullptr, 0);
  if (!here) return path;
  std::string absolute = std::string(here) + "/" + path;
  std::free(here);
  return absolute;
}

// The started program belongs to the user, not to us: a fresh session (so that stopping it
// reaches whatever it starts in turn) and the default signal handling, whatever this process
// changed.
int SpawnProgram(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& folder, bool searchPath, int out, int err, int& error) {
  std::vector<std::string> owned = arguments;
  std::vector<char*> argv;
  for (std::string& argument : owned) argv.push_back(argument.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  if (out >= 0 && err >= 0) {
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out, 1);
    posix_spawn_file_actions_adddup2(&actions, err, 2);
  }
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
  const int result =
      searchPath ? posix_spawnp(&child, program.c_str(), &actions, &attributes, argv.data(), environ)
                 : posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  error = result;
  return result == 0 ? child : 0;
}

}  // namespace detail

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

std::string ReasonText(int error) {
  switch (error) {
    case ENOENT: return "нет такой программы или папки";
    case EACCES: return "нет права запуска";
    case ENOEXEC: return "файл не является программой";
    case ENOTDIR: return "путь к папке проходит через файл";
    default: return std::strerror(error);
  }
}

// Splits what was read into lines; the unfinished rest stays in pending.
void TakeWholeLines(std::string& pending, bool error, std::vector<OutputLine>& into) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = pending.find('\n', start);
    if (end == std::string::npos) break;
    std::size_t length = end - start;
    if (length > 0 && pending[end - 1] == '\r') --length;
    into.push_back({pending.substr(start, length), error});
    start = end + 1;
  }
  pending.erase(0, start);
  while (pending.size() >= Process::kLongestLine) {
    into.push_back({pending.substr(0, Process::kLongestLine), error});
    pending.erase(0, Process::kLongestLine);
  }
}

}  // namespace

std::string FindProgram(std::string_view name) {
  if (name.empty()) return "";
  const std::string given(name);
  if (given.find('/') != std::string::npos) return IsExecutableFile(given) ? given : "";
  const char* path = std::getenv("PATH");
  std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const std::size_t colon = folders.find(':');
    std::string folder(folders.substr(0, colon));
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + given;
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return "";
    folders.remove_prefix(colon + 1);
  }
}

std::unique_ptr<Process> Process::Start(const std::vector<std::string>& arguments,
                                        const std::string& folder, std::string& error) {
  error.clear();
  if (arguments.empty() || arguments[0].empty()) {
    error = "не указана программа";
    return nullptr;
  }
  const bool searchPath = arguments[0].find('/') == std::string::npos;
  const std::string program = searchPath ? arguments[0] : detail::AbsolutePath(arguments[0]);
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    error = ReasonText(errno);
    return nullptr;
  }
  if (pipe2(err, O_CLOEXEC) != 0) {
    error = ReasonText(errno);
    close(out[0]);
    close(out[1]);
    return nullptr;
  }
  int failure = 0;
  const int child = detail::SpawnProgram(program, arguments, folder, searchPath, out[1], err[1],
                                         failure);
  close(out[1]);
  close(err[1]);
  if (child == 0) {
    close(out[0]);
    close(err[0]);
    error = ReasonText(failure);
    return nullptr;
  }
  std::unique_ptr<Process> process(new Process);
  process->id_ = child;
  process->reader_ = std::thread(&Process::Read, process.get(), out[0], err[0]);
  return process;
}

// Reads both streams until both end, then collects the exit status. A program that ended while
// something it started still holds the streams open is not waited for past a short grace.
void Process::Read(int out, int err) {
  std::string pending[2];
  pollfd watched[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
  int open = 2;
  bool ended = false;
  int status = 0;
  auto deliver = [&](std::vector<OutputLine>&& lines) {
    if (lines.empty()) return;
    std::lock_guard lock(mutex_);
    for (OutputLine& line : lines) lines_.push_back(std::move(line));
  };
  int quietPolls = 0;
  while (open > 0) {
    const int ready = poll(watched, 2, 100);
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) {
      if (!ended) ended = Reap(status, false);
      if (ended && ++quietPolls >= 3) break;
      if (!ended) KillWhenOverdue();
      continue;
    }
    quietPolls = 0;
    std::vector<OutputLine> lines;
    for (int i = 0; i < 2; ++i) {
      if (watched[i].fd < 0 || !(watched[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[8192];
      const ssize_t got = read(watched[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        pending[i].append(buffer, static_cast<std::size_t>(got));
        TakeWholeLines(pending[i], i == 1, lines);
      } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
        close(watched[i].fd);
        watched[i].fd = -1;
        --open;
      }
    }
    deliver(std::move(lines));
  }
  for (pollfd& w : watched)
    if (w.fd >= 0) close(w.fd);
  std::vector<OutputLine> rest;
  for (int i = 0; i < 2; ++i)
    if (!pending[i].empty()) rest.push_back({pending[i], i == 1});
  deliver(std::move(rest));
  while (!ended) {
    ended = Reap(status, true);
    if (!ended) KillWhenOverdue();
  }
  std::lock_guard lock(mutex_);
  if (WIFEXITED(status)) {
    exitCode_ = WEXITSTATUS(status);
  } else {
    exitCode_ = -1;
    signal_ = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  }
  finished_ = true;
  done_.notify_all();
}

Process::~Process() {
  if (!Finished()) {
    Stop();
    Wait();
  }
  if (reader_.joinable()) reader_.join();
}

std::vector<OutputLine> Process::TakeLines() {
  std::lock_guard lock(mutex_);
  std::vector<OutputLine> taken;
  taken.swap(lines_);
  return taken;
}

bool Process::Finished() const {
  std::lock_guard lock(mutex_);
  return finished_;
}

bool Process::Wait(int timeoutMs) {
  std::unique_lock lock(mutex_);
  if (timeoutMs < 0) {
    done_.wait(lock, [this] { return finished_; });
    return true;
  }
  return done_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return finished_; });
}

int Process::ExitCode() const {
  std::lock_guard lock(mutex_);
  return exitCode_;
}

int Process::Signal() const {
  std::lock_guard lock(mutex_);
  return signal_;
}

// Once reaped, the id may belong to another program: signals go only before that, under the lock
// that Reap takes.
bool Process::Reap(int& status, bool block) {
  {
    std::lock_guard lock(mutex_);
    if (waitpid(id_, &status, WNOHANG) == id_) {
      reaped_ = true;
      return true;
    }
  }
  // A blocking wait would hold the lock that Stop needs: a short sleep between looks instead.
  if (block) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return false;
}

void Process::KillLocked(int signal) const {
  if (reaped_) return;
  // The whole session's group; the program itself too, should it have left the group.
  kill(-id_, signal);
  kill(id_, signal);
}

// What ignored the request to end is killed a second after it.
void Process::KillWhenOverdue() {
  std::lock_guard lock(mutex_);
  if (stopping_ && std::chrono::steady_clock::now() >= killAt_) KillLocked(SIGKILL);
}

void Process::Stop() {
  std::lock_guard lock(mutex_);
  if (finished_ || stopping_) return;
  stopping_ = true;
  killAt_ = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  KillLocked(SIGTERM);
}

}  // namespace platform
