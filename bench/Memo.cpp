// A key typed into the text editor, from the posted key to the presented frame, next to the
// memory traffic every frame pays anyway.
//
// BM_MemoKey/N: a memo of N lines of C++ fills an 800 x 600 window; the caret stands in the
// middle of the text, the view scrolled to it. Each iteration posts a key down, its character
// and the key up, as a real display delivers them, and handles the messages as the run loop does
// until none is left: the key down and the character each ask for a repaint, and the window is
// repainted whole and presented once, when the three are handled. Before each key, untimed, the
// caret's line gets a text never drawn before, so every typed key paints a line that has to be
// rendered anew, as real typing does.
// Counters: median_ms, the median of the keys; x_fill_copy, that median over one fill of the
// window buffer plus one copy of it to the window (the floor of any frame), measured in the same
// run; fill_copy_ms, that floor. The same three in the thread's processor time (cpu_*), which
// other programs on a busy machine do not inflate. The cost must not grow with N.
//
// BM_CodeKey/N: the same in the code editor's dress (line numbers, C++ colours) with three lines
// selected around the caret, which the key then replaces by its letter; the selection is made
// again, untimed, before each key. BM_LongLineKey: a key typed at the end of one line of 300,000
// characters, the view scrolled there; BM_LongLineEnd: End pressed at its start.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/Frame.h"
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

using namespace qxbench;

constexpr int kKeyX = 45;  // the scan code of x

struct Editor {
  std::unique_ptr<CCtrlApp> app;
  std::unique_ptr<CControl> root;
  CMemo* memo = nullptr;
  platform::WindowId window = 0;

  explicit Editor(int lines, bool code = false, const std::string* text = nullptr) {
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
    memo->Gutter = code;
    memo->CppColours = code;
    memo->SetText(CStr(std::string_view(text ? *text : CppText(lines))));
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

  void PressKey(int key) {
    Post(platform::MessageKind::KeyDown, key);
    Post(platform::MessageKind::KeyUp, key);
    RunUntilIdle();
  }

  void TypeX() {
    Post(platform::MessageKind::KeyDown, kKeyX);
    Post(platform::MessageKind::Char, 'x');
    Post(platform::MessageKind::KeyUp, kKeyX);
    RunUntilIdle();
  }
};

void BM_MemoKey(benchmark::State& state) {
  Editor editor(int(state.range(0)));
  CMemo& memo = *editor.memo;
  FrameSamples frames;
  std::int64_t edit = 0;
  for (auto _ : state) {
    memo.Lines->SetString(
        CStr(std::string_view("    Total = Total + " + std::to_string(++edit) + ";  // new")),
        memo.CaretLine);
    memo.CaretColumn = 4;
    frames.Time(state, [&] { editor.TypeX(); });
  }
  frames.Report(state, *editor.root->View);
}
BENCHMARK(BM_MemoKey)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_CodeKey(benchmark::State& state) {
  Editor editor(int(state.range(0)), true);
  CMemo& memo = *editor.memo;
  FrameSamples frames;
  const std::int32_t line = memo.CaretLine.Value;
  for (auto _ : state) {
    memo.Undo();  // the text as it was, so every key replaces the same three lines
    memo.Select(CMemo::TextPos{line - 1, 2}, CMemo::TextPos{line + 1, 3});
    frames.Time(state, [&] { editor.TypeX(); });
  }
  frames.Report(state, *editor.root->View);
}
BENCHMARK(BM_CodeKey)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);

const std::string& LongLine() {
  static const std::string text = [] {
    std::string line;
    while (line.size() < 300000) line += "x = Total + 12345; /* c */ ";
    line.resize(300000);
    return line;
  }();
  return text;
}

void BM_LongLineKey(benchmark::State& state) {
  Editor editor(1, true, &LongLine());
  CMemo& memo = *editor.memo;
  memo.CaretLine = 0;
  memo.CaretColumn = 300000;
  editor.RunUntilIdle();
  FrameSamples frames;
  for (auto _ : state) frames.Time(state, [&] { editor.TypeX(); });
  frames.Report(state, *editor.root->View);
}
BENCHMARK(BM_LongLineKey)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LongLineEnd(benchmark::State& state) {
  Editor editor(1, true, &LongLine());
  CMemo& memo = *editor.memo;
  FrameSamples frames;
  for (auto _ : state) {
    memo.CaretColumn = 0;  // untimed: back to the start, the view following on the next paint
    memo.Invalidate();
    frames.Time(state, [&] { editor.PressKey(79); });
  }
  frames.Report(state, *editor.root->View);
}
BENCHMARK(BM_LongLineEnd)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
