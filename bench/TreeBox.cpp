// What a repaint of the project tree and a new selection in the tuner cost, as the main window
// pays them on every key and caret blink.
//
// BM_InfoTreePaint/{0,1,2}: one paint of an info tree box of 300 x 600 whose tree holds 100,111
// expanded elements, scrolled to the top, the middle and the bottom. Its counter x_small is the
// time over the paint of the same box holding 100 elements (at the top), measured in the same
// run; the box remembers where its view begins, so these are the paints of keys and caret blinks.
// BM_InfoTreePaintAfterChange: the paint right after the tree changed, which counts the rows.
// BM_ShowObject/{0,1}: the tuner lists every property of a form's label (its class chain and
// the composite values expanded), with the repaint of its window that it asks for; /1 with the
// tuner hidden, which leaves out painting the rows. Times are processor time.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <memory>

#include "controls/CtrlApp.h"
#include "controls/View.h"
#include "core/Cp1251.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "model/Kinds.h"
#include "widgets/Form.h"
#include "widgets/Label.h"
#include "widgets/ScrollBar.h"
#include "widgets/Tuner.h"
#include "widgets/WidgetClasses.h"

namespace {

template <class T>
T* Add(CInfo* parent, const CStr& name) {
  auto* node = new T;
  node->SetName(name);
  node->TreeFlags = 1;
  parent->Append(node);
  return node;
}

// A group of 10 applications x 10 units x 10 classes, each class with 99 members: 100,111
// elements.
CInfo* LargeTree() {
  auto* group = new CProjectGroupInfo;
  group->SetName("Group");
  group->TreeFlags = 1;
  for (int a = 0; a < 10; ++a) {
    auto* app = Add<CAppInfo>(group, CStr("App") + CInt(a).ToStr());
    for (int u = 0; u < 10; ++u) {
      auto* unit = Add<CUnitInfo>(app, CStr("Unit") + CInt(u).ToStr());
      for (int c = 0; c < 10; ++c) {
        auto* cls = Add<CClassInfo>(unit, CStr("CClass") + CInt(c).ToStr());
        for (int m = 0; m < 99; ++m) {
          if (m % 3 == 0) {
            auto* oper = Add<COperInfo>(cls, CStr("Method") + CInt(m).ToStr());
            oper->Type = "int";
            oper->Access = m % 2 ? 2 : 0;
          } else {
            auto* atr = Add<CAtrInfo>(cls, CStr("Field") + CInt(m).ToStr());
            atr->Type = "long";
            atr->Access = 1;
          }
        }
      }
    }
  }
  return group;
}

// The same shape, 100 elements: a group, an application, a unit, a class with 96 members.
CInfo* SmallTree() {
  auto* group = new CProjectGroupInfo;
  group->SetName("Group");
  group->TreeFlags = 1;
  auto* cls = Add<CClassInfo>(Add<CUnitInfo>(Add<CAppInfo>(group, "App"), "Unit"), "CClass");
  for (int m = 0; m < 96; ++m) Add<CAtrInfo>(cls, CStr("Field") + CInt(m).ToStr())->Type = "long";
  return group;
}

struct Scene {
  std::unique_ptr<CCtrlApp> app;
  std::unique_ptr<CForm> form;
  std::unique_ptr<CForm> tunerForm;
  CInfoTreeBox* tree = nullptr;
  CTunerTreeBox* tuner = nullptr;
  CLabel* label = nullptr;
  CInfo* large = nullptr;
  CInfo* small = nullptr;

  Scene() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    app = std::make_unique<CCtrlApp>(WidgetClassRows());
    CtrlApp = app.get();
    form = std::make_unique<CForm>(nullptr);
    form->SetBounds(0, 0, 700, 660, true);
    auto* font = new CFont;
    font->Set(0, 13, false, false, false, false, false, "MS Sans Serif", "Text");
    form->GetCanvas()->CreateFont(font);
    tree = new CInfoTreeBox(form->Client);
    tree->SetBounds(0, 0, 300, 600, true);
    tree->LoadIcons(app->HomeDir);
    // The tuner in a window of its own: its repaint leaves the project tree alone.
    tunerForm = std::make_unique<CForm>(nullptr);
    tunerForm->SetBounds(0, 0, 320, 640, true);
    tuner = new CTunerTreeBox(tunerForm->Client);
    tuner->SetBounds(0, 0, 300, 600, true);
    label = new CLabel(form->Client);
    label->SetBounds(620, 10, 60, 20, true);
    large = LargeTree();
    small = SmallTree();
  }

  ~Scene() {
    app->InfoMan.Root.Children.RemoveAll();
    delete large;
    delete small;
    tunerForm.reset();
    form.reset();
  }

  void Show(CInfo* model, double position) {
    CList& roots = app->InfoMan.Root.Children;
    roots.RemoveAll();
    roots.Add(model);
    form->View->RedrawControl(tree);  // the bar learns the rows
    tree->VertBar->Position = position;
    tree->ScrollY = position;
    form->View->RedrawControl(tree);
  }

  void Paint() { form->View->RedrawControl(tree); }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

// Processor time, so that other programs on a busy machine do not count.
double CpuNanoseconds() {
  return double(std::clock()) * 1e9 / CLOCKS_PER_SEC;
}

// Nanoseconds of one paint of the box holding 100 elements, the mean of many.
double SmallPaintNanoseconds(Scene& scene) {
  scene.Show(scene.small, 0);
  constexpr int kRounds = 500;
  const double start = CpuNanoseconds();
  for (int i = 0; i < kRounds; ++i) scene.Paint();
  return (CpuNanoseconds() - start) / kRounds;
}

void BM_InfoTreePaint(benchmark::State& state) {
  Scene& scene = TheScene();
  const double small = SmallPaintNanoseconds(scene);
  scene.Show(scene.large, 0);
  const double total = double(scene.tree->VertBar->Max.Value);
  const double page = double(scene.tree->VertBar->Page.Value);
  const double positions[] = {0, total / 2, total - page};
  scene.Show(scene.large, positions[state.range(0)]);
  double spent = 0;
  for (auto _ : state) {
    const double start = CpuNanoseconds();
    scene.Paint();
    spent += CpuNanoseconds() - start;
  }
  state.counters["x_small"] = spent / double(state.iterations()) / small;
  state.counters["cpu_ms"] = spent / double(state.iterations()) / 1e6;
  state.counters["small_ms"] = small / 1e6;
  state.counters["rows"] = total;
  state.counters["first_row"] = double(scene.tree->VertBar->Position.Value);
}
BENCHMARK(BM_InfoTreePaint)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// /1 also reports the listing alone: its time less that of repainting the same window with the
// tuner hidden, measured in the same run.
void BM_ShowObject(benchmark::State& state) {
  Scene& scene = TheScene();
  const bool hidden = state.range(0) == 1;
  scene.tuner->Visible = !hidden;
  double spent = 0;
  for (auto _ : state) {
    const double start = CpuNanoseconds();
    scene.tuner->ShowObject(scene.label);
    spent += CpuNanoseconds() - start;
  }
  const double each = spent / double(state.iterations());
  if (hidden) {
    constexpr int kRounds = 2000;
    const double start = CpuNanoseconds();
    for (int i = 0; i < kRounds; ++i) scene.tuner->Invalidate();
    const double repaint = (CpuNanoseconds() - start) / kRounds;
    state.counters["repaint_us"] = repaint / 1e3;
    state.counters["listing_us"] = (each - repaint) / 1e3;
  }
  state.counters["cpu_us"] = each / 1e3;
  state.counters["rows"] = double(scene.tuner->TotalRows().Value);
  scene.tuner->Visible = true;
}
BENCHMARK(BM_ShowObject)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The first paint after the tree changed counts every row again: the paint after a command, not
// after a key or a caret blink. At the bottom of the large tree; x_small as above.
void BM_InfoTreePaintAfterChange(benchmark::State& state) {
  Scene& scene = TheScene();
  const double small = SmallPaintNanoseconds(scene);
  scene.Show(scene.large, 0);
  scene.Show(scene.large, double(scene.tree->VertBar->Max.Value - scene.tree->VertBar->Page.Value));
  double spent = 0;
  for (auto _ : state) {
    scene.tree->RowsChanged();
    const double start = CpuNanoseconds();
    scene.Paint();
    spent += CpuNanoseconds() - start;
  }
  state.counters["x_small"] = spent / double(state.iterations()) / small;
  state.counters["cpu_ms"] = spent / double(state.iterations()) / 1e6;
}
BENCHMARK(BM_InfoTreePaintAfterChange)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
