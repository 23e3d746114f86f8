// What the frame benchmarks share: the floor every frame pays (one fill of the window buffer and
// one copy of it to the window), medians, the thread's processor time, and plausible C++ text.
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <cstring>
#include <string>
#include <vector>

#include "controls/View.h"
#include "core/App.h"
#include "core/Cp1251.h"
#include "graphics/GDI.h"
#include "platform/Messages.h"
#include "platform/Window.h"

namespace qxbench {

using Clock = std::chrono::steady_clock;

inline double ThreadNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

inline double Median(std::vector<double>& samples) {
  if (samples.empty()) return 0;
  std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
  return samples[samples.size() / 2];
}

// Classes, members, bodies with statements and comments, of mixed lengths; lines end in LF.
inline std::string CppText(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    const int n = i / 12;
    switch (i % 12) {
      case 0:
        text += "// Class " + std::to_string(n) + ": keeps the figures of one report";
        break;
      case 1:
        text += "class CReport" + std::to_string(n) + " : public CObject {";
        break;
      case 2:
        text += " public:";
        break;
      case 3:
        text += "  CInt Count" + std::to_string(n) + " = 0;";
        break;
      case 4:
        text += std::string("  CStr Title = \"") + "Отчёт"_cp + "\";  // shown in the caption";
        break;
      case 5:
        text += "  void Add(const CStr& name, CFloat value) {";
        break;
      case 6:
        text += "    if (value < CFloat(0)) return;";
        break;
      case 7:
        text += "    Items.Add(new CItem(name, value * Scale));";
        break;
      case 8:
        text += "    Count" + std::to_string(n) + " = Count" + std::to_string(n) + " + 1;";
        break;
      case 9:
        text += "  }";
        break;
      case 10:
        text += "};";
        break;
      case 11:
        text += "";
        break;
    }
    text += "\n";
  }
  return text;
}

struct Floor {
  double wall = 1e300, cpu = 1e300;
};

// Nanoseconds of one fill of the view's buffer and one copy of it to its window, best of a few.
inline Floor FillCopyNanoseconds(CView& view) {
  platform::Surface& buffer = const_cast<platform::Surface&>(view.Canvas->Buffer());
  platform::Surface* shown = platform::WindowImage(view.Canvas->Window);
  const size_t bytes = buffer.pixels.size() * sizeof(platform::Pixel);
  Floor best;
  for (int round = 0; round < 50; ++round) {
    const auto start = Clock::now();
    const double cpuStart = ThreadNanoseconds();
    std::memset(buffer.pixels.data(), 0x7F, bytes);
    benchmark::ClobberMemory();
    std::memcpy(shown->pixels.data(), buffer.pixels.data(),
                std::min(bytes, shown->pixels.size() * sizeof(platform::Pixel)));
    benchmark::ClobberMemory();
    best.cpu = std::min(best.cpu, ThreadNanoseconds() - cpuStart);
    best.wall =
        std::min(best.wall, std::chrono::duration<double, std::nano>(Clock::now() - start).count());
  }
  return best;
}

// Frame times, wall and processor, in nanoseconds.
struct FrameSamples {
  std::vector<double> wall, cpu;

  // Times one frame made by step, and hands its wall time to the benchmark.
  template <class Step>
  void Time(benchmark::State& state, Step&& step) {
    const auto start = Clock::now();
    const double cpuStart = ThreadNanoseconds();
    step();
    cpu.push_back(ThreadNanoseconds() - cpuStart);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(elapsed);
    wall.push_back(elapsed * 1e9);
  }

  // The medians, and their ratios to the fill + copy floor of the view measured now.
  void Report(benchmark::State& state, CView& view) {
    const double median = Median(wall), cpuMedian = Median(cpu);
    const Floor floor = FillCopyNanoseconds(view);
    state.counters["median_ms"] = median / 1e6;
    state.counters["fill_copy_ms"] = floor.wall / 1e6;
    state.counters["x_fill_copy"] = median / floor.wall;
    state.counters["cpu_median_ms"] = cpuMedian / 1e6;
    state.counters["cpu_fill_copy_ms"] = floor.cpu / 1e6;
    state.counters["cpu_x_fill_copy"] = cpuMedian / floor.cpu;
  }
};

// Handles every message waiting, with the application's idle work after each, as its loop does.
inline void Settle(CApp& app) {
  platform::Message m;
  while (platform::PeekMessage(m)) {
    platform::TranslateMessage(m);
    platform::DispatchMessage(m);
    app.Idle();
  }
}

// The benchmarks' main: the window's pictures come from a drive of the run's own, as the
// environment finds them.
inline int RunOnOwnDrive(int argc, char** argv) {
  const auto drive = std::filesystem::temp_directory_path() /
                     ("qxbench-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(drive / "Qxe");
  std::filesystem::copy(std::filesystem::path(QX_BINARY_DIR) / "pics", drive / "Qxe" / "Pics",
                        std::filesystem::copy_options::recursive);
  setenv("QXWORKS_DRIVE_C", drive.c_str(), 1);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(drive);
  return 0;
}

}  // namespace qxbench
