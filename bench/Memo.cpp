// A key typed into the text editor, from the posted key to the presented frame, next to the
// memory traffic every frame pays anyway.
//
// BM_MemoKey/N: a memo of N lines of C++ fills an 800 x 600 window; the caret stands in the
// middle of the text, the view scrolled to it. Each iteration posts a key down, its character
// and the key up, as a real display delivers them, and handles the messages as the run loop does
// until none is left: the memo repaints the whole window and presents it for the key down and
// again for the character. Before each key, untimed, the caret's line gets a text never drawn
// before, so every typed key paints a line that has to be rendered anew, as real typing does.
// Counters: median_ms, the median of the keys; x_fill_copy, that median over one fill of the
// window buffer plus one copy of it to the window (the floor of any frame), measured in the same
// run; fill_copy_ms, that floor. The same three in the thread's processor time (cpu_*), which
// other programs on a busy machine do not inflate. The cost must not grow with N.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "controls/CtrlApp.h"
#include "controls/View.h"
#include "core/Cp1251.h"
#include "graphics/Font.h"
#include "graphics/GDI.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/Window.h"
#include "widgets/Memo.h"
#include "widgets/WidgetClasses.h"

namespace {

using Clock = std::chrono::steady_clock;

double ThreadNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

double Median(std::vector<double>& samples) {
  if (samples.empty()) return 0;
  std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
  return samples[samples.size() / 2];
}

constexpr int kKeyX = 45;  // the scan code of x

// Plausible C++: classes, members, bodies with statements and comments, of mixed lengths.
std::string CppText(int lines) {
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

struct Editor {
  std::unique_ptr<CCtrlApp> app;
  std::unique_ptr<CControl> root;
  CMemo* memo = nullptr;
  platform::WindowId window = 0;

  explicit Editor(int lines) {
    platform::UseVirtualClock();  // no blink or focus tick lands inside a measurement
    app = std::make_unique<CCtrlApp>(WidgetClassRows());
    CtrlApp = app.get();
    root = std::make_unique<CControl>(nullptr);
    root->SetBounds(0, 0, 800, 600, true);
    auto* font = new CFont;  // the font manager keeps it
    font->Set(0, 13, false, false, false, false, false, "MS Sans Serif", "Text");
    root->GetCanvas()->CreateFont(font);
    memo = new CMemo(root.get());
    memo->SetBounds(0, 0, 800, 600, true);
    memo->SetText(CStr(std::string_view(CppText(lines))));
    memo->CaretLine = lines / 2;
    memo->CaretColumn = 4;
    memo->SetFocused(true);
    window = root->View->Canvas->Window;
    RunUntilIdle();
  }

  ~Editor() {
    root.reset();
    RunUntilIdle();
    CtrlApp = nullptr;
    app.reset();
  }

  void RunUntilIdle() {
    platform::Message m;
    while (platform::PeekMessage(m)) {
      platform::TranslateMessage(m);
      platform::DispatchMessage(m);
      app->Idle();
    }
  }

  void Post(platform::MessageKind kind, int a) {
    platform::PostMessage(platform::Message{window, kind, a, 0});
  }

  void TypeX() {
    Post(platform::MessageKind::KeyDown, kKeyX);
    Post(platform::MessageKind::Char, 'x');
    Post(platform::MessageKind::KeyUp, kKeyX);
    RunUntilIdle();
  }
};

struct Floor {
  double wall = 1e300, cpu = 1e300;
};

// Nanoseconds of one fill of the window buffer and one copy of it to the window, best of a few.
Floor FillCopyNanoseconds(Editor& editor) {
  platform::Surface& buffer = const_cast<platform::Surface&>(editor.root->View->Canvas->Buffer());
  platform::Surface* shown = platform::WindowImage(editor.window);
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

void BM_MemoKey(benchmark::State& state) {
  Editor editor(int(state.range(0)));
  CMemo& memo = *editor.memo;
  std::vector<double> samples, cpuSamples;
  std::int64_t edit = 0;
  for (auto _ : state) {
    memo.Lines->SetString(
        CStr(std::string_view("    Total = Total + " + std::to_string(++edit) + ";  // new")),
        memo.CaretLine);
    memo.CaretColumn = 4;
    const auto start = Clock::now();
    const double cpuStart = ThreadNanoseconds();
    editor.TypeX();
    cpuSamples.push_back(ThreadNanoseconds() - cpuStart);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(elapsed);
    samples.push_back(elapsed * 1e9);
  }
  const double median = Median(samples), cpuMedian = Median(cpuSamples);
  const Floor floor = FillCopyNanoseconds(editor);
  state.counters["median_ms"] = median / 1e6;
  state.counters["fill_copy_ms"] = floor.wall / 1e6;
  state.counters["x_fill_copy"] = median / floor.wall;
  state.counters["cpu_median_ms"] = cpuMedian / 1e6;
  state.counters["cpu_fill_copy_ms"] = floor.cpu / 1e6;
  state.counters["cpu_x_fill_copy"] = cpuMedian / floor.cpu;
}
BENCHMARK(BM_MemoKey)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
