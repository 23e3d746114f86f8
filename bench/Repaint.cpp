// How a full repaint of a screen-sized buffer compares with the memory traffic it cannot avoid.
//
// BM_Repaint: one cycle as the views do it on a 1600 x 1200 buffer: fill the background, draw
// 1,000 text lines and 1,000 outlined, filled rectangles, then copy the buffer to the window's
// surface. Its counter x_baseline is the cycle's time over one memset plus one memcpy of the
// same buffer, measured in the same run. BM_RepaintNewText draws texts never drawn before each
// time (the rendering cost a cached repaint avoids). BM_Memset and BM_Memcpy are the baseline
// on their own.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/draw/DrawContext.h"
#include "platform/draw/Font.h"

namespace {

using namespace platform;

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr int kItems = 1000;
constexpr size_t kBytes = size_t(kWidth) * kHeight * sizeof(Pixel);

struct Scene {
  Surface buffer{kWidth, kHeight};
  Surface window{kWidth, kHeight};
  DrawContext dc{&buffer};
  DrawContext windowDc{&window};
  const Font* font = nullptr;
  std::vector<std::string> lines;

  Scene() {
    LogicalFont request;
    request.height = 13;
    request.face = "MS Sans Serif";
    font = OpenFont(request);
    const std::string russian = Utf8ToCp1251("Класс - элемент проекта");
    for (int i = 0; i < kItems; ++i)
      lines.push_back("Item " + std::to_string(i) + ": " +
                      (i % 2 ? russian : "CTunerTreeBox::CPropData"));
  }

  void Repaint(const std::vector<std::string>& texts) {
    dc.SelectPen(Pen{Pen::kNull, 1, 0});
    dc.SelectBrush(Brush::Solid(0xC0C0C0));
    dc.FillRect({0, 0, kWidth, kHeight});

    dc.SelectFont(font);
    dc.SetBackgroundMode(BackgroundMode::Transparent);
    dc.SetTextColor(0x000000);
    for (int i = 0; i < kItems; ++i) dc.TextOut((i % 5) * 320 + 4, (i / 5) * 6, texts[size_t(i)]);

    dc.SelectPen(Pen{Pen::kSolid, 1, 0x404040});
    dc.SelectBrush(Brush::Solid(0xFFFFFF));
    for (int i = 0; i < kItems; ++i) {
      const int x = (i * 97) % (kWidth - 130), y = (i * 61) % (kHeight - 90);
      dc.Rectangle(x, y, x + 20 + i % 110, y + 16 + i % 70);
    }

    windowDc.BitBlt(0, 0, kWidth, kHeight, buffer, 0, 0);
    benchmark::DoNotOptimize(window.pixels.data());
    benchmark::ClobberMemory();
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

// Nanoseconds of one memset and one memcpy of the buffer, best of a few tries.
double BaselineNanoseconds(Scene& scene) {
  using Clock = std::chrono::steady_clock;
  double best = 1e300;
  for (int round = 0; round < 20; ++round) {
    const auto start = Clock::now();
    std::memset(scene.buffer.pixels.data(), 0x7F, kBytes);
    benchmark::ClobberMemory();
    std::memcpy(scene.window.pixels.data(), scene.buffer.pixels.data(), kBytes);
    benchmark::ClobberMemory();
    best = std::min(best, std::chrono::duration<double, std::nano>(Clock::now() - start).count());
  }
  return best;
}

void BM_Repaint(benchmark::State& state) {
  Scene& scene = TheScene();
  scene.Repaint(scene.lines);  // texts rendered once, as after the first paint
  using Clock = std::chrono::steady_clock;
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    scene.Repaint(scene.lines);
    total += std::chrono::duration<double, std::nano>(Clock::now() - start).count();
  }
  const double baseline = BaselineNanoseconds(scene);
  state.counters["x_baseline"] = total / double(state.iterations()) / baseline;
  state.counters["baseline_ms"] = baseline / 1e6;
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kBytes));
}
BENCHMARK(BM_Repaint)->Unit(benchmark::kMillisecond);

void BM_RepaintNewText(benchmark::State& state) {
  Scene& scene = TheScene();
  std::vector<std::string> texts = scene.lines;
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++round;
    for (int i = 0; i < kItems; ++i)
      texts[size_t(i)] = scene.lines[size_t(i)] + " #" + std::to_string(round);
    state.ResumeTiming();
    scene.Repaint(texts);
  }
}
BENCHMARK(BM_RepaintNewText)->Unit(benchmark::kMillisecond);

void BM_Memset(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) {
    std::memset(scene.buffer.pixels.data(), 0x7F, kBytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kBytes));
}
BENCHMARK(BM_Memset)->Unit(benchmark::kMillisecond);

void BM_Memcpy(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) {
    std::memcpy(scene.window.pixels.data(), scene.buffer.pixels.data(), kBytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kBytes));
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
