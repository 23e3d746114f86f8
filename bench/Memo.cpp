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

}  // namespace

BENCHMARK_MAIN();
