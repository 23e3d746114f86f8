// Start-up as the user waits for it: whole processes, from the start of the program to its first
// presented frame. The environment (startup_first_frame: qxworks's own start, ended at the main
// window's first frame) opens a configuration of 10,000 elements from a drive C: of its own with
// the pictures on it; the baseline (startup_one_frame) is the least SDL program that opens one
// window of the same size and presents one frame. Each reports its frame through a pipe the
// moment it is presented; the time is taken from just before the process is started to that
// moment, so dynamic loading, the display connection, fontconfig and the fonts are all in it.
// The programs take turns at going first, round by round, and medians are reported:
//   frame_ms / one_frame_ms   the environment's and the baseline's time to the frame
//   x_one_frame               their ratio
//   cpu_ms / one_frame_cpu_ms, cpu_x   processor time of the whole process (to its end)
// With QX_STARTUP_BEFORE naming another build's startup_first_frame, that one runs in the same
// alternation too (before_ms, x_before_one_frame, before_cpu_ms): a change is judged against what
// it replaced under the same load. The offscreen driver is measured always, a real display when
// DISPLAY names one (SDL's X11 driver):
//   Xvfb :93 -screen 0 1024x768x24 &
//   DISPLAY=:93 build-rel/bench/bench_StartupProcess
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bench/Frame.h"
#include "bench/StartupTree.h"
#include "core/App.h"
#include "storage/Config.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using qxbench::Clock;

fs::path ProgramDir() {
  return fs::read_symlink("/proc/self/exe").parent_path();
}

struct RunResult {
  bool ok = false;
  double frameSeconds = 0;  // start to the presented frame
  double cpuSeconds = 0;    // user + system of the whole process
};

// Starts the program with the environment given, the pipe's writing end as its one argument,
// and waits for its frame and its end.
RunResult RunOnce(const fs::path& program, const std::vector<std::string>& environment) {
  RunResult result;
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return result;
  // The child's copy of the writing end must survive exec.
  const int writeEnd = dup(ends[1]);
  close(ends[1]);
  const std::string fd = std::to_string(writeEnd);
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(fd.c_str()),
                          nullptr};
  std::vector<char*> envp;
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);

  const auto start = Clock::now();
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data());
  close(writeEnd);
  // A program that shows nothing for this long never will: it is ended and the run fails.
  pollfd waiting{ends[0], POLLIN, 0};
  char byte = 0;
  const bool framed = spawned == 0 && poll(&waiting, 1, 20000) == 1 && read(ends[0], &byte, 1) == 1;
  const auto framedAt = Clock::now();
  close(ends[0]);
  if (spawned != 0) return result;
  if (!framed) kill(pid, SIGKILL);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
  result.ok = framed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  result.frameSeconds = std::chrono::duration<double>(framedAt - start).count();
  result.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  return result;
}

// The process environment of the children: this one's, with the video driver and drive C: set.
std::vector<std::string> ChildEnvironment(const std::string& driver, const fs::path& drive) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    if (text.starts_with("SDL_VIDEODRIVER=") || text.starts_with("QXWORKS_DRIVE_C=")) continue;
    environment.push_back(text);
  }
  environment.push_back("SDL_VIDEODRIVER=" + driver);
  environment.push_back("QXWORKS_DRIVE_C=" + drive.string());
  return environment;
}

fs::path drive;

void Process(benchmark::State& state, const std::string& driver) {
  if (driver == "x11" && !std::getenv("DISPLAY")) {
    state.SkipWithError("no DISPLAY: start an X server (Xvfb) and name it to measure x11");
    return;
  }
  const fs::path dir = ProgramDir();
  const std::vector<std::string> environment = ChildEnvironment(driver, drive);
  const char* before = std::getenv("QX_STARTUP_BEFORE");
  std::vector<double> frame, baseline, cpu, baselineCpu, beforeFrame, beforeCpu;
  int failed = 0;
  RunResult env, one, old;
  std::vector<std::pair<std::string, RunResult*>> programs{
      {(dir / "startup_first_frame").string(), &env}, {(dir / "startup_one_frame").string(), &one}};
  if (before) programs.emplace_back(before, &old);
  // The rounds go through every order of the programs in turn, so each program goes first and
  // follows each other one equally often: a program run just after another finds the libraries
  // and the display server warmed by it.
  std::vector<size_t> order(programs.size());
  std::iota(order.begin(), order.end(), size_t(0));
  for (auto _ : state) {
    for (const size_t i : order) *programs[i].second = RunOnce(programs[i].first, environment);
    std::next_permutation(order.begin(), order.end());
    // On a busy machine a display connection now and then fails; such a round is left out and
    // counted, and a measurement that fails more often than not is no measurement.
    if (!env.ok || !one.ok || (before && !old.ok)) {
      std::fprintf(stderr, "a round failed: %s\n",
                   !env.ok  ? "the environment"
                   : one.ok ? "the earlier build"
                            : "the one-frame program");
      ++failed;
      state.SetIterationTime(0);
      continue;
    }
    if (before) {
      beforeFrame.push_back(old.frameSeconds);
      beforeCpu.push_back(old.cpuSeconds);
    }
    state.SetIterationTime(env.frameSeconds);
    frame.push_back(env.frameSeconds);
    baseline.push_back(one.frameSeconds);
    cpu.push_back(env.cpuSeconds);
    baselineCpu.push_back(one.cpuSeconds);
  }
  if (failed > std::int64_t(state.iterations()) / 2) {
    state.SkipWithError("most rounds failed");
    return;
  }
  state.counters["failed_rounds"] = failed;
  const double frameMs = qxbench::Median(frame) * 1e3, oneMs = qxbench::Median(baseline) * 1e3;
  const double cpuMs = qxbench::Median(cpu) * 1e3, oneCpuMs = qxbench::Median(baselineCpu) * 1e3;
  state.counters["frame_ms"] = frameMs;
  state.counters["one_frame_ms"] = oneMs;
  state.counters["x_one_frame"] = frameMs / oneMs;
  state.counters["cpu_ms"] = cpuMs;
  state.counters["one_frame_cpu_ms"] = oneCpuMs;
  state.counters["cpu_x"] = cpuMs / oneCpuMs;
  if (before) {
    state.counters["before_ms"] = qxbench::Median(beforeFrame) * 1e3;
    state.counters["x_before_one_frame"] = qxbench::Median(beforeFrame) * 1e3 / oneMs;
    state.counters["before_cpu_ms"] = qxbench::Median(beforeCpu) * 1e3;
  }
}

int Runs() {
  const char* text = std::getenv("QX_STARTUP_RUNS");
  const int runs = text ? std::atoi(text) : 0;
  return runs > 0 ? runs : 30;
}

// Drive C: with the pictures and the configuration of 10,000 elements; the number of elements
// written, 0 when the file could not be.
std::int64_t LayOutDrive(const fs::path& where) {
  fs::create_directories(where / "Qxe");
  fs::copy(fs::path(QX_BINARY_DIR) / "pics", where / "Qxe" / "Pics",
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  setenv("QXWORKS_DRIVE_C", where.c_str(), 1);
  // Written by the model alone.
  CApp writer;
  const std::int64_t count = qxbench::BuildStartupTree(writer.InfoMan.Root);
  return SaveConfig(writer).Length().Value == 0 ? count : 0;
}

}  // namespace

// With "--drive DIR" it only lays out such a drive in DIR, for profiling a start by hand:
//   QXWORKS_DRIVE_C=DIR perf record -g build-rel/bench/startup_first_frame
int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--drive") return LayOutDrive(argv[2]) ? 0 : 1;
  drive = fs::temp_directory_path() / ("qxbench-" + std::to_string(std::random_device{}()));
  const std::int64_t count = LayOutDrive(drive);
  if (!count) return 1;
  std::printf("configuration: %lld elements; %d runs of each program per driver\n",
              static_cast<long long>(count), Runs());
  for (const char* driver : {"offscreen", "x11"})
    benchmark::RegisterBenchmark((std::string("StartupProcess/") + driver).c_str(), &Process,
                                 std::string(driver))
        ->Iterations(Runs())
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(drive);
  return 0;
}
