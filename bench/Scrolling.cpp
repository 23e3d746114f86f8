// What scrolling and splitting cost next to the repaint they cause, in a 1000 x 700 window under
// SDL's offscreen driver.
//
// BM_WheelNotch/N: one wheel notch over a scroll box that fills the window and holds N labels
// (the scroll handler moves all of them, the window repaints). BM_SplitterDrag/N: one mouse move
// of a splitter's grip with N labels in each pane. Their counter x_redraw is the step's time over
// one plain repaint of the same window (CView::Redraw), measured in the same run: 1 means the
// step costs what its one repaint costs. Both are processor time (the machine is shared, and wall
// time counts the other programs' turns).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "controls/Control.h"
#include "controls/CtrlApp.h"
#include "controls/View.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "widgets/Box.h"
#include "widgets/Label.h"
#include "widgets/ScrollBar.h"
#include "widgets/Splitter.h"
#include "widgets/WidgetClasses.h"

namespace {

// Processor time of the whole program, in nanoseconds.
double CpuNanoseconds() {
  return double(std::clock()) * (1e9 / CLOCKS_PER_SEC);
}

CCtrlApp& App() {
  static std::unique_ptr<CCtrlApp> app = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    auto made = std::make_unique<CCtrlApp>(WidgetClassRows());
    CtrlApp = made.get();
    return made;
  }();
  return *app;
}

std::unique_ptr<CControl> Window() {
  App();
  auto root = std::make_unique<CControl>(nullptr);
  root->SetBounds(0, 0, 1000, 700, true);
  auto* font = new CFont;  // the font manager keeps it
  font->Set(0, 13, false, false, false, false, false, "MS Sans Serif", "Text");
  root->GetCanvas()->CreateFont(font);
  return root;
}

void Labels(CControl* face, int count) {
  for (int i = 0; i < count; i++) {
    auto* label = new CLabel(face);
    label->SetBounds(4 + (i % 4) * 230, 4 + (i / 4) * 24, 220, 20, true);
  }
}

// Nanoseconds of one plain repaint of the window, the mean of as many as the step took.
double RedrawNanoseconds(CControl& root, std::int64_t rounds) {
  rounds = std::max<std::int64_t>(rounds, 10);
  const double start = CpuNanoseconds();
  for (std::int64_t i = 0; i < rounds; i++) root.View->Redraw();
  return (CpuNanoseconds() - start) / double(rounds);
}

template <class Step>
void Measure(benchmark::State& state, CControl& root, Step step) {
  root.View->Redraw();
  int i = 0;
  const double start = CpuNanoseconds();
  for (auto _ : state) step(i++);
  const double total = CpuNanoseconds() - start;
  const double redraw = RedrawNanoseconds(root, state.iterations());
  state.counters["x_redraw"] = total / double(state.iterations()) / redraw;
  state.counters["redraw_ms"] = redraw / 1e6;
}

void BM_WheelNotch(benchmark::State& state) {
  auto root = Window();
  auto* box = new CScrollBox(root.get());
  box->SetBounds(0, 0, 999, 699, true);
  box->VertBar->Max = 1e9;
  box->VertBar->Position = 5e8;
  Labels(box->Client, static_cast<int>(state.range(0)));
  Measure(state, *root,
          [&](int i) { root->View->DispatchMouseWheel(i % 2 ? 1 : -1, CPoint(300, 300)); });
}
BENCHMARK(BM_WheelNotch)->Arg(30)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_SplitterDrag(benchmark::State& state) {
  auto root = Window();
  auto* split = new CSplitter(root.get());
  split->SetBounds(0, 0, 999, 699, true);
  split->SetSplit(400);
  for (CControl* pane :
       {static_cast<CControl*>(split->FirstPane), static_cast<CControl*>(split->SecondPane)}) {
    auto* box = new CScrollBox(pane);
    box->SetBounds(0, 0, pane->GetWidth(), pane->GetHeight(), true);
    box->Anchors.Set(1, 1, 2, 2);
    Labels(box->Client, static_cast<int>(state.range(0)));
  }
  split->GripMouseDown(split->Grip, 0, CShiftStateSet(), CPoint(1, 100));
  Measure(state, *root, [&](int i) {
    split->GripMouseMove(split->Grip, CShiftStateSet(), CPoint(i % 2 ? -9 : 11, 100));
  });
}
BENCHMARK(BM_SplitterDrag)->Arg(30)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
