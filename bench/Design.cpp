// Opening a form's design of 1,000 controls: a press on the class in the real main window makes
// its designer, reads the design text kept in the class and paints the window once.
//
// BM_DesignOpen: that whole open, the designer made anew each time. Counters: median_ms (the
// figure to hold under 50 ms), parse_ms (reading and checking the text alone, without making a
// control) and x_parse, the open over the parse, both measured in the same run.
// BM_DesignParse: the parse alone.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "bench/Frame.h"
#include "designer/DsgnForm.h"
#include "designer/Map.h"
#include "ide/App1.h"
#include "ide/Form1.h"
#include "model/Design.h"
#include "model/Kinds.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "widgets/TreeBox.h"

namespace {

using namespace qxbench;

constexpr int kControls = 1000;

// A login-like form repeated: mostly labels, edits, buttons and texts, with shapes, panels, a
// group of two every fiftieth line and a picture every hundredth.
std::string DesignText() {
  static const char* const kKinds[] = {"CLabel", "CEdit", "CButton", "CText", "CFillRectangle",
                                       "CPanel", "CLabel", "CEdit", "CLine",  "CBevel"};
  std::string text = std::string(design::kVersionLine) + "\n";
  for (int i = 0; i < kControls; ++i) {
    const int x = 9 * (i % 40) * 3, y = 9 * (i / 40) * 3;
    const std::string rect = " rect=" + std::to_string(x) + "," + std::to_string(y) + "," +
                             std::to_string(x + 27) + "," + std::to_string(y + 18);
    const std::string common = rect + " color=0,0,0.5 anchors=3,3,4,4";
    if (i % 100 == 99) {
      text += "CPic Pic" + std::to_string(i) + common +
              " picture=\"C:\\\\Qxe\\\\Pics\\\\Other\\\\AboutPic64.bmp\" centered\n";
      continue;
    }
    if (i % 50 == 49) {
      text += "CControl MyControl1" + common + "\n";
      text += "  CLabel Label" + std::to_string(i) + " rect=0,0,27,9 color=0,0,0 text=\"" +
              "Имя"_cp + "\"\n";
      text += "  CEdit Edit" + std::to_string(i) + " rect=0,9,27,18 color=0,0,0 text=\"\"\n";
      ++i;
      continue;
    }
    const std::string kind = kKinds[i % 10];
    text += kind + " " + kind.substr(1) + std::to_string(i) + common;
    if (kind == "CLabel" || kind == "CEdit" || kind == "CButton" || kind == "CText")
      text += " text=\"" + std::string("Поле "_cp) + std::to_string(i) +
              "\" font=\"MS Sans Serif\",13,-";
    if (kind == "CButton") text += " click=\"Button" + std::to_string(i) + "Click\"";
    if (kind == "CPanel" || kind == "CLabel" || kind == "CEdit" || kind == "CButton")
      text += " face=0.8,0.8,0.8";
    text += "\n";
  }
  return text;
}

double parseNanoseconds = 0;

void BM_DesignParse(benchmark::State& state) {
  const std::string text = DesignText();
  std::vector<double> samples;
  for (auto _ : state) {
    const auto start = Clock::now();
    const design::Parsed parsed = design::Parse(text);
    benchmark::DoNotOptimize(parsed.Lines.data());
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    samples.push_back(ns);
    state.SetIterationTime(ns / 1e9);
    if (parsed.Lines.size() < std::size_t(kControls) || !parsed.Damages.empty())
      state.SkipWithError("the design does not read whole");
  }
  parseNanoseconds = Median(samples);
  state.counters["median_ms"] = parseNanoseconds / 1e6;
}
BENCHMARK(BM_DesignParse)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DesignOpen(benchmark::State& state) {
  platform::UseVirtualClock();
  auto app = std::make_unique<CApp1>();
  CtrlApp = app.get();
  Settle(*app);
  CForm1& main = *app->IdeForm;
  CInfo& root = CoreApp->InfoMan.Root;
  auto* unit = new CUnitInfo;
  unit->SetName("Forms");
  root.Append(unit);
  auto* form = new CClassInfo;
  form->SetName("TLogin");
  form->Base = "CForm";
  unit->Append(form);
  form->Extra() = CStr(std::string_view(DesignText()));
  main.Tree->RowsChanged();

  std::vector<double> samples;
  for (auto _ : state) {
    // Away from the class, and its designer gone: the next press makes it again.
    main.Tree->Selected = unit;
    main.OnTreeSelect(main.Tree);
    main.Designer = nullptr;
    delete form->EditorWindow;
    form->EditorWindow = nullptr;
    Settle(*app);

    const auto start = Clock::now();
    main.Tree->Selected = form;
    const std::uint64_t paints = main.View->Redraws;
    main.OnTreeSelect(main.Tree);  // paints the window, as a press on the row does
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    if (main.View->Redraws == paints) state.SkipWithError("the open painted nothing");
    samples.push_back(ns);
    state.SetIterationTime(ns / 1e9);
    if (!main.Designer || main.Designer->Map->ChildCount().Value < kControls * 9 / 10)
      state.SkipWithError("the design did not open");
  }
  const double open = Median(samples);
  state.counters["median_ms"] = open / 1e6;
  state.counters["parse_ms"] = parseNanoseconds / 1e6;
  if (parseNanoseconds > 0) state.counters["x_parse"] = open / parseNanoseconds;

  app.reset();
  CtrlApp = nullptr;
  for (platform::Message m; platform::PeekMessage(m);) platform::DispatchMessage(m);
}
BENCHMARK(BM_DesignOpen)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return qxbench::RunOnOwnDrive(argc, argv);
}
