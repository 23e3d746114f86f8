// BM_BuildStart: the environment's time from Build pressed to the compiler started, for an
// application of 1,000 classes: 10 units of 100 classes, each class with 3 attributes and 5
// operations of a few lines. Each iteration first changes one operation's code in its editor, as
// a person does before a build, then presses Build on it and stops the clock when the command
// returns, which it does once the first compilers run: the editor's text written back, the
// application written out (only the changed unit's files reach the disk), the compiler and the
// toolkit found, the objects' ages compared and the compilers started. What the compilers then
// take is theirs, not the environment's: the compiler is `true` (QX_BENCH_CXX overrides), so
// the run measures the environment alone. Counter: median_ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/Frame.h"
#include "ide/App1.h"
#include "ide/EditForm.h"
#include "ide/Form1.h"
#include "ide/Workshop.h"
#include "model/Kinds.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "widgets/Memo.h"
#include "widgets/TreeBox.h"

namespace {

using namespace qxbench;

// Returns the operations, one for each unit, whose code the iterations change.
std::vector<COperInfo*> BuildApplication(CInfo& root) {
  auto add = [](CInfo* parent, CInfo* node, const CStr& name) {
    node->SetName(name);
    parent->Append(node);
    return node;
  };
  std::vector<COperInfo*> edited;
  CInfo* group = add(&root, new CProjectGroupInfo, "Bench");
  CInfo* application = add(group, new CAppInfo, "Large");
  for (int u = 0; u < 10; ++u) {
    CInfo* unit = add(application, new CUnitInfo, CStr("Unit") + CInt(u).ToStr());
    for (int c = 0; c < 100; ++c) {
      auto* cls = static_cast<CClassInfo*>(
          add(unit, new CClassInfo, CStr("TItem") + CInt(u * 100 + c).ToStr()));
      for (int a = 0; a < 3; ++a) {
        auto* atr = static_cast<CAtrInfo*>(add(cls, new CAtrInfo, CStr("Field") + CInt(a).ToStr()));
        atr->Type = "int";
      }
      for (int o = 0; o < 5; ++o) {
        auto* oper =
            static_cast<COperInfo*>(add(cls, new COperInfo, CStr("Method") + CInt(o).ToStr()));
        oper->Type = "int";
        oper->Code = "int sum = Field0 + Field1;\r\nsum += Field2;\r\nreturn sum;\r\n";
        if (c == 0 && o == 0) edited.push_back(oper);
      }
    }
    if (u == 0) {
      auto* entry = static_cast<COperInfo*>(add(unit, new COperInfo, "main"));
      entry->Type = "int";
      entry->Code = "return 0;\r\n";
    }
  }
  return edited;
}

void Settle(CApp1& app) {
  platform::Message m;
  while (platform::PeekMessage(m)) {
    platform::TranslateMessage(m);
    platform::DispatchMessage(m);
    app.Idle();
  }
}

void WaitForTheBuild(CForm1& main) {
  while (main.Workshop->Building()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    main.Workshop->Tick();
  }
}

void BM_BuildStart(benchmark::State& state) {
  platform::UseVirtualClock();
  setenv("QXWORKS_TOOLKIT", QX_BINARY_DIR "/toolkit", 0);
  const char* compiler = std::getenv("QX_BENCH_CXX");
  setenv("CXX", compiler ? compiler : "true", 1);
  auto app = std::make_unique<CApp1>();
  CtrlApp = app.get();
  Settle(*app);
  CForm1& main = *app->IdeForm;
  const std::vector<COperInfo*> edited = BuildApplication(CoreApp->InfoMan.Root);

  // The first build writes every file; the iterations write one unit's.
  main.Tree->Selected = edited[0];
  main.OnTreeSelect(main.Tree);
  main.BuildClick(nullptr);
  if (!main.Workshop->Building()) state.SkipWithError("the build did not start");
  WaitForTheBuild(main);

  std::vector<double> samples;
  int round = 0;
  for (auto _ : state) {
    COperInfo* oper = edited[static_cast<std::size_t>(round % 10)];
    main.Tree->Selected = oper;
    main.OnTreeSelect(main.Tree);
    main.CodeEditor->Memo->SetText(CStr("return ") + CInt(round).ToStr() + ";\r\n");
    ++round;
    const auto start = Clock::now();
    main.BuildClick(nullptr);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    if (!main.Workshop->Building()) state.SkipWithError("the build did not start");
    state.SetIterationTime(elapsed);
    samples.push_back(elapsed * 1e3);
    WaitForTheBuild(main);
  }
  state.counters["median_ms"] = Median(samples);

  app.reset();
  CtrlApp = nullptr;
  for (platform::Message m; platform::PeekMessage(m);) platform::DispatchMessage(m);
}
BENCHMARK(BM_BuildStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

// A drive C: of its own: the build folder and the program go there, never to the user's.
int main(int argc, char** argv) {
  const auto drive = std::filesystem::temp_directory_path() /
                     ("qxbench-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(drive / "Qxe");
  setenv("QXWORKS_DRIVE_C", drive.c_str(), 1);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(drive);
  return 0;
}
