// The environment's own main window repainted whole, next to the memory traffic every frame pays
// anyway.
//
// BM_MainWindowRepaint: the real main window (toolbar, project tree, tuner, workspace) with a
// project of 1,000 elements, every one expanded; the selected operation's code editor holds 1,000
// lines of C++ and the tuner shows the properties of a form. Each iteration repaints the whole
// window into its buffer and presents it, as every key, press and caret blink does. Counters as
// in bench/Memo: median_ms, x_fill_copy (the median over one fill of the window buffer plus one
// copy of it to the window, measured in the same run), fill_copy_ms, and the same three in the
// thread's processor time (cpu_*).
//
// BM_MainWindowScaled/F: the same frames with the window shown F times larger on the screen (the
// toolkit draws at its size, the image is enlarged as it is presented). median_ms and present_ms
// (the present alone); x_factor1 and present_x_factor1 are their ratios to factor 1's, measured
// before in the same run. A frame at factor 2 should cost at most 1.5 times one at factor 1.
// Above factor 1 only the rows a frame changes are enlarged, so the same frame again costs
// little there: BM_MainWindowScaledScrolling/F scrolls the code editor a line before each frame,
// which changes most of the workspace.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/Frame.h"
#include "controls/View.h"
#include "ide/App1.h"
#include "ide/EditForm.h"
#include "ide/Form1.h"
#include "model/Kinds.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/Scale.h"
#include "platform/Window.h"
#include "widgets/Memo.h"
#include "widgets/ScrollBar.h"
#include "widgets/TreeBox.h"
#include "widgets/Tuner.h"

namespace {

using namespace qxbench;

// A group with 3 applications of 4 units, each unit a class of 81 operations:
// 1 + 3 + 12 + 12 + 972 = 1,000 elements, all expanded. Returns the last operation.
COperInfo* BuildProject(CInfo& root) {
  auto add = [](CInfo* parent, CInfo* node, const CStr& name) {
    node->SetName(name);
    node->TreeFlags = node->TreeFlags | 1;
    parent->Append(node);
    return node;
  };
  const CStr body = "{\r\n  return Count + 1;\r\n}";
  COperInfo* last = nullptr;
  CInfo* group = add(&root, new CProjectGroupInfo, "Group");
  for (int a = 0; a < 3; ++a) {
    CInfo* application = add(group, new CAppInfo, CStr("App") + CInt(a).ToStr());
    for (int u = 0; u < 4; ++u) {
      CInfo* unit = add(application, new CUnitInfo, CStr("Unit") + CInt(u).ToStr());
      auto* cls = static_cast<CClassInfo*>(add(unit, new CClassInfo, "TReport"));
      cls->Base = "CObject";
      for (int o = 0; o < 81; ++o) {
        last = static_cast<COperInfo*>(add(cls, new COperInfo, CStr("Method") + CInt(o).ToStr()));
        last->Code = body;
      }
    }
  }
  return last;
}

// Builds the application with its main window showing the project, times its frames with
// `frames`, and reports them; the window is made at the display's factor.
template <class Measure>
void WithMainWindow(benchmark::State& state, Measure&& measure) {
  platform::UseVirtualClock();  // no blink or focus tick lands inside a measurement
  auto app = std::make_unique<CApp1>();
  CtrlApp = app.get();
  Settle(*app);
  CForm1& main = *app->IdeForm;

  COperInfo* oper = BuildProject(CoreApp->InfoMan.Root);
  oper->Code = CStr(std::string_view(CppText(1000)));
  main.Tree->RowsChanged();
  main.Tree->Selected = oper;
  main.OnTreeSelect(main.Tree);
  main.Tuner->ShowObject(main.CodeEditor);
  main.Invalidate();
  Settle(*app);
  if (!main.CodeEditor || main.CodeEditor->Memo->Lines->Count().Value < 1000 ||
      main.Tree->TotalRows().Value != 1000) {
    state.SkipWithError("the window does not show the project");
  } else {
    measure(*main.View);
  }

  app.reset();
  CtrlApp = nullptr;
  for (platform::Message m; platform::PeekMessage(m);) platform::DispatchMessage(m);
}

void BM_MainWindowRepaint(benchmark::State& state) {
  WithMainWindow(state, [&](CView& view) {
    FrameSamples frames;
    for (auto _ : state) frames.Time(state, [&] { view.Redraw(); });
    frames.Report(state, view);
  });
}
BENCHMARK(BM_MainWindowRepaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// The factor 1 runs' medians in nanoseconds, frame and present, by whether the code scrolls.
double factor1Frame[2] = {}, factor1Present[2] = {};

// Frames at a factor: the same frame again and again, or with `scrolling`, the code editor
// scrolled by a line up or down before each (most of the workspace's rows change).
void ScaledFrames(benchmark::State& state, bool scrolling) {
  const int before = platform::DisplayScale();
  const int factor = int(state.range(0));
  platform::SetDisplayScale(factor);
  WithMainWindow(state, [&](CView& view) {
    CScrollBar& bar = *static_cast<CApp1*>(CtrlApp)->IdeForm->CodeEditor->Memo->VertBar;
    int frame = 0;
    FrameSamples frames;
    for (auto _ : state) {
      if (scrolling) bar.SetPosition(bar.Position + bar.SmallStep * CFloat(frame++ % 2 ? -1 : 1));
      frames.Time(state, [&] { view.Redraw(); });
    }
    std::vector<double> presents;
    for (int round = 0; round < 50; ++round) {
      const auto start = Clock::now();
      platform::PresentWindow(view.Canvas->Window);
      presents.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count());
    }
    const double median = Median(frames.wall), present = Median(presents);
    state.counters["median_ms"] = median / 1e6;
    state.counters["present_ms"] = present / 1e6;
    if (factor == 1) {
      factor1Frame[scrolling] = median;
      factor1Present[scrolling] = present;
    } else if (factor1Frame[scrolling] > 0) {
      state.counters["x_factor1"] = median / factor1Frame[scrolling];
      state.counters["present_x_factor1"] = present / factor1Present[scrolling];
    }
  });
  platform::SetDisplayScale(before);
}

void BM_MainWindowScaled(benchmark::State& state) {
  ScaledFrames(state, false);
}
BENCHMARK(BM_MainWindowScaled)->Arg(1)->Arg(2)->Arg(3)->UseManualTime()->Unit(
    benchmark::kMillisecond);

void BM_MainWindowScaledScrolling(benchmark::State& state) {
  ScaledFrames(state, true);
}
BENCHMARK(BM_MainWindowScaledScrolling)->Arg(1)->Arg(2)->Arg(3)->UseManualTime()->Unit(
    benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return qxbench::RunOnOwnDrive(argc, argv);
}
