// A program started beside us whose output we read: the compiler a build runs, the program Run
// starts. Its standard output and error are read line by line by a thread of its own, so whoever
// started it takes the lines when it likes (between messages, in a timer's tick) and never waits
// for the program.
//
//   std::string error;
//   auto compiler = platform::Process::Start({"c++", "-c", "Main.cpp"}, "/tmp/work", error);
//   ... later, in a tick:
//   for (const auto& line : compiler->TakeLines()) Show(line.Text);
//   if (compiler->Finished()) Done(compiler->ExitCode());
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace platform {

struct OutputLine {
  std::string Text;  // as the program wrote it, without the line's end
  bool Error = false;  // from its standard error

  bool operator==(const OutputLine&) const = default;
};

class Process {
 public:
  // Starts arguments[0] with the rest as its arguments, as a list, never through a shell: a name
  // without a slash is looked up on PATH, any other is a path (relative ones from our working
  // folder). It runs in folder (a Linux path; empty: ours) in a session of its own, reading
  // nothing (its input is /dev/null). Null with a Russian reason in error when it could not be
  // started: no such program, a folder that cannot be entered, a file that is no program.
  static std::unique_ptr<Process> Start(const std::vector<std::string>& arguments,
                                        const std::string& folder, std::string& error);

  // Stops the program when it still runs (Stop) and waits for it.
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // The lines that came since the last call, in the order they came (the two streams as they
  // were read). A last line without its end counts once the program has ended; a line longer
  // than kLongestLine comes in pieces of that length.
  std::vector<OutputLine> TakeLines();
  static constexpr std::size_t kLongestLine = 16384;

  // The program has ended and every line of it has been read (some may wait in TakeLines).
  bool Finished() const;
  // Blocks until Finished, for at most timeoutMs (negative: no limit). True when it finished.
  bool Wait(int timeoutMs = -1);
  // Once Finished: its exit code, or -1 when a signal ended it (Signal then names it).
  int ExitCode() const;
  int Signal() const;

  // Asks the program and whatever it started to end (SIGTERM to its session's group); what still
  // runs a second later is killed. Returns at once; Finished follows.
  void Stop();

  int Id() const { return id_; }

 private:
  Process() = default;
  void Read(int out, int err);
  bool Reap(int& status, bool block);
  void KillLocked(int signal) const;
  void KillWhenOverdue();

  int id_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable done_;
  std::vector<OutputLine> lines_;
  bool finished_ = false;
  bool stopping_ = false;
  bool reaped_ = false;
  std::chrono::steady_clock::time_point killAt_;
  int exitCode_ = 0;
  int signal_ = 0;
  std::thread reader_;
};

// The path of a program name as a start would find it on PATH; "" when there is none. A name
// with a slash is answered as it is when that file is an executable.
std::string FindProgram(std::string_view name);

namespace detail {

// A relative path taken from our working folder: a child changes its folder before it starts.
std::string AbsolutePath(const std::string& path);

// Starts a program with our standard streams (or, when the descriptors are not -1, its output
// and error into them and its input from /dev/null), in a session of its own with default
// signal handling. The child's id, or 0 with errno's value in error.
int SpawnProgram(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& folder, bool searchPath, int out, int err, int& error);

}  // namespace detail
}  // namespace platform
