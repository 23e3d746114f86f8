// Start-up of the environment with a configuration of 10,000 elements: building the application
// object (registry, fonts, the main window with its toolbar, tree and tuner, loading the file) and
// handling messages until the main window's first frame is presented; what the loop does after
// that frame is not counted. The baseline, measured in the same run, is the least a window program
// does: one window of the same size opened, filled and presented once. "x_window" is the
// start-up's time over the baseline's. Both are measured inside one process, so the libraries'
// own start (the display connection, fontconfig's caches, SDL2_ttf) is paid once before either
// and is in neither.
//
// Runs under SDL's offscreen driver by default; with SDL_VIDEODRIVER=x11 and a DISPLAY it
// measures a real display (Xvfb).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

#include "bench/StartupTree.h"
#include "controls/View.h"
#include "ide/App1.h"
#include "ide/Form1.h"
#include "platform/Messages.h"
#include "platform/Window.h"
#include "storage/Config.h"

namespace {

using Clock = std::chrono::steady_clock;

// Handles every waiting message: the first paint of the main window is among them.
void Settle() {
  platform::Message m;
  while (platform::PeekMessage(m)) {
    platform::TranslateMessage(m);
    platform::DispatchMessage(m);
  }
}

double OneWindowSeconds() {
  const auto start = Clock::now();
  const platform::WindowId window = platform::CreateWindow(100, 100, 800, 600);
  platform::ShowWindow(window);
  if (platform::Surface* image = platform::WindowImage(window))
    std::fill(image->pixels.begin(), image->pixels.end(), 0xC0C0C0);
  platform::PresentWindow(window);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  platform::DestroyWindow(window);
  Settle();
  return seconds;
}

// The mean of many openings, as the start-up's time is a mean of its iterations.
double BaselineSeconds() {
  static double mean = 0;
  if (mean > 0) return mean;
  constexpr int kRuns = 200;
  for (int run = 0; run < kRuns; ++run) mean += OneWindowSeconds() / kRuns;
  return mean;
}

void OneWindow(benchmark::State& state) {
  double seconds = 0;
  for (auto _ : state) seconds += OneWindowSeconds();
  state.counters["x_window"] = seconds / double(state.iterations()) / BaselineSeconds();
}

void StartUp(benchmark::State& state) {
  double seconds = 0;
  std::int64_t elements = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    auto app = std::make_unique<CApp1>();
    CtrlApp = app.get();
    // The main window may have shown its first frame while it was built, or a message brings it.
    const CView* view = app->IdeForm->View;
    platform::Message m;
    while (view->Redraws == 0 && platform::PeekMessage(m)) {
      platform::TranslateMessage(m);
      platform::DispatchMessage(m);
    }
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
    if (view->Redraws == 0) state.SkipWithError("the main window presented no frame");
    elements = CoreApp->InfoMan.Root.ChildCount().Value ? 1 : 0;
    state.PauseTiming();
    Settle();
    app.reset();
    Settle();
    state.ResumeTiming();
  }
  if (!elements) state.SkipWithError("the configuration was not loaded");
  state.counters["x_window"] = seconds / double(state.iterations()) / BaselineSeconds();
}

}  // namespace

BENCHMARK(OneWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUp)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  const auto drive = std::filesystem::temp_directory_path() /
                     ("qxbench-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(drive / "Qxe");
  setenv("QXWORKS_DRIVE_C", drive.c_str(), 1);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  {
    // The configuration the start-up reads, written by the model alone.
    CApp writer;
    const std::int64_t count = qxbench::BuildStartupTree(writer.InfoMan.Root);
    if (SaveConfig(writer).Length().Value) return 1;
    std::printf("configuration: %lld elements\n", static_cast<long long>(count));
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(drive);
  return 0;
}
