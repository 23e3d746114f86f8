// A monkey on the whole environment: seeded random presses, drags, keys (function keys and Ctrl
// and Alt combinations among them), wheel turns and typed text on the main window, its toolbar,
// tree, tuner, editors, designers and dialogs, against a drive C: holding a real project: one
// unit imports cleanly, another has a malformed header, so imports fail, report and roll back.
//
// The monkey keeps its own record of the tree (MonkeyModel.h), changes it by what each command
// must do (the element added, deleted, moved, pasted, cut and moved, cleared, imported or rolled
// back) and compares the real tree with it after every event. Every so often it saves through
// the toolbar, starts the program anew and compares the loaded tree with the saved one; some of
// those starts are from a file it damaged first (cut short, or one bit flipped in a record's
// class), and some projects have 20,000 elements.
//
// Questions and the add dialog wait in nested loops; the monkey answers them from a timer of its
// own, which those loops tick when nothing else is waiting (the clock is virtual), so input
// reaches whatever window is up at every depth. On a real display the import's report boxes are
// the platform's own and wait too; the monkey answers them with keys and presses.
//
// The bounded runs are part of the test command. The long run is scripts/monkey.sh, which sets
// QX_MONKEY_SEED and QX_MONKEY_EVENTS and runs Monkey.LongRun.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "controls/View.h"
#include "designer/ColorForm.h"
#include "designer/DsgnForm.h"
#include "ide/EditForm.h"
#include "import/Import.h"
#include "model/MemberInfo.h"
#include "model/TypeInfo.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "tests/ide/IdeFixture.h"
#include "tests/ide/MonkeyModel.h"
#include "widgets/Edit.h"
#include "widgets/Memo.h"
#include "widgets/Tuner.h"

namespace {

using namespace qxtest;

struct MonkeyFigures {
  std::int64_t events = 0;     // random inputs given, at every depth of loop
  std::int64_t restarts = 0;   // new starts of the program: checks, closed windows, fresh drives
  std::int64_t checks = 0;     // save, start anew, compare
  std::int64_t fresh = 0;      // times the project was written to the drive anew
  std::int64_t big = 0;        // of those, projects of 20,000 elements
  std::int64_t damaged = 0;    // starts from a damaged file
  std::int64_t missed = 0;     // checks whose Yes did not reach the question
  std::int64_t questions = 0;  // events given while a question waited
  std::int64_t adds = 0;       // events given while the add dialog waited
  std::int64_t boxes = 0;      // events given while a report box of the platform waited
  std::int64_t designing = 0;  // events given while a designer showed
  std::int64_t editing = 0;    // events given while a code editor showed
  std::int64_t commands = 0;   // commands that ran, their effect on the tree compared
  std::int64_t imports = 0;    // of those, imports; and imports that failed and rolled back
  std::int64_t failedImports = 0;
  std::int64_t reached = 0;    // imports that reached a class of the same name elsewhere
};

void Print(const char* what, const MonkeyFigures& f) {
  const auto n = [](std::int64_t v) { return static_cast<long long>(v); };
  std::printf(
      "%s: %lld events (%lld on a question, %lld on the add dialog, %lld on a report box, %lld "
      "with a designer, %lld with a code editor), %lld commands compared (%lld imports, %lld "
      "failed, %lld reaching elsewhere), %lld restarts (%lld from a damaged file), %lld checks (%lld missed), %lld fresh "
      "projects (%lld of 20,000 elements)\n",
      what, n(f.events), n(f.questions), n(f.adds), n(f.boxes), n(f.designing), n(f.editing),
      n(f.commands), n(f.imports), n(f.failedImports), n(f.reached), n(f.restarts), n(f.damaged), n(f.checks),
      n(f.missed), n(f.fresh), n(f.big));
}

// What a run does beyond its seed and length.
struct MonkeyOptions {
  int bigPercent = 0;       // fresh projects of 20,000 elements, in percent
  int damagedPercent = 20;  // starts after a check from a damaged file, in percent
  bool realBoxes = false;   // the report boxes are the platform's windows, to be answered
  // Checks of behaviour that other work on the environment brings. Each is on unless a run
  // turns it off, saying which behaviour it still waits for.
  bool selectionHeld = true;    // a waiting question, dialog or report box holds the tree
  bool damagedKept = true;      // a damaged file is kept beside itself before a save replaces it
  bool pasteShown = true;       // a pasted element is selected, shown and its row visible
  bool hiddenEditorKept = true; // a hidden code editor's text does not change
};

// The unit Main of application Demo of group Work is imported from these; the unit Broken's
// header leaves a declaration open, so every import that reaches it fails.
constexpr const char* kHeader =
    "// The main form and its data.\r\n"
    "#include \"Form.h\"\r\n"
    "class TForm1 : public CForm {\r\n"
    "public:\r\n"
    "  int Count;\r\n"
    "  char* Title;\r\n"
    "  void Paint();\r\n"
    "  int Sum(int a, int b);\r\n"
    "protected:\r\n"
    "  void Resize(int w, int h);\r\n"
    "};\r\n"
    "class TData {\r\n"
    "  int Size;\r\n"
    "  void Clear();\r\n"
    "};\r\n";
constexpr const char* kSource =
    "#include \"Main.h\"\r\n"
    "void TForm1::Paint() {\r\n"
    "  int a = 1;\r\n"
    "  Draw(a, \"Текст\");\r\n"_cp
    "}\r\n"
    "int TForm1::Sum(int a, int b) {\r\n"
    "  return a + b; // the sum\r\n"
    "}\r\n"
    "void TForm1::Resize(int w, int h) {\r\n"
    "  if (w > h) { Count = w; } else { Count = h; }\r\n"
    "}\r\n"
    "void TData::Clear() {\r\n"
    "  Size = 0;\r\n"
    "}\r\n";

constexpr const char* kBrokenHeader =
    "class TBroken {\r\n"
    "  int Value;\r\n"
    "  void Start(\r\n";
constexpr const char* kMainPath = "Work\\Demo\\Main";
constexpr const char* kBrokenPath = "Work\\Demo\\Broken";

// The classes the add dialog's kinds 1 to 12 make ("" for none).
constexpr const char* kKindClasses[] = {
    "",         "CProjectGroupInfo", "CAppInfo", "CLibInfo",    "CPackInfo",  "CUnitInfo",
    "CDllInfo", "CAtrInfo",          "COperInfo", "",           "CStructInfo", "CClassInfo",
    "CObjectInfo"};

// Texts the monkey types: names, code, Russian, and the keys that make lines and remove them.
constexpr const char* kWords[] = {
    "TForm3", "Paint",     "x",   "int a = 0;", "{",        "}",          "\r",
    "\r\r",   "\b\b\b",    "\t",  " ",          "Форма"_cp, "Главная"_cp, "CForm",
    "CPanel", "CButton",   "123", "-5",         "1.5",      "//",         "/*",
    "*/",     "\"",        "'",   "::",         "a\rb\rc",  "\x1b",       "ЁЖЩ"_cp,
    "яюэ"_cp, "#define X", "",    "0",          "65535",
};

// Keys without a character of their own: arrows, Home, End, page keys, Insert, Delete, and
// Backspace, Enter, Tab and Escape, whose characters come from the loop's translation.
constexpr int kKeys[] = {72, 80, 75, 77, 71, 79, 73, 81, 82, 83, 14, 28, 15, 1};
// F1 to F12.
constexpr int kFunctionKeys[] = {59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 87, 88};
// Keys held with Ctrl or Alt: letters that are commands elsewhere (A, C, V, X, Z, Y, S, N, O, F),
// and keys that move or remove.
constexpr int kComboKeys[] = {30, 46, 47, 45, 44, 21, 31, 49, 24, 33, 82, 83, 14, 71, 79, 75, 77, 72, 80, 62};

class Monkey : public IdeTest {
 protected:
  // Runs until that many events were given; the first fault ends the run as a test failure.
  MonkeyFigures Run(std::uint32_t seed, std::int64_t events, const MonkeyOptions& options = {}) {
    seed_ = seed;
    options_ = options;
    random_.seed(seed);
    budget_ = events;
    WriteProject();
    Restart();
    while (figures_.events < budget_ && !Failed()) {
      if (!app->Running.Value) {
        Restart();  // the main window was closed: what was saved comes back
        continue;
      }
      if (figures_.events >= nextCheck_) {
        nextCheck_ = figures_.events + 300 + Below(400);
        Check();
        continue;
      }
      closing_ = 0;
      if (progress_ && figures_.events >= nextProgress_) {
        nextProgress_ += 10000;
        Print("monkey: so far", figures_);
        std::fflush(stdout);
      }
      posted_ = 0;
      Outer();
      gui->RunUntilIdle();
      if (Chance(5)) gui->Advance(Below(1200));
      AfterStep();
    }
    if (!Failed()) Check();
    platform::KillTimer(timer_);
    timer_ = 0;
    return figures_;
  }

 private:
  // QX_MONKEY_TRACE=1 writes each event to stderr, to find where a run goes wrong.
  void Trace(const char* where) {
    static const bool on = std::getenv("QX_MONKEY_TRACE") != nullptr;
    if (on)
      std::fprintf(stderr, "monkey %lld %s\n", static_cast<long long>(figures_.events), where);
  }

  bool Failed() const { return !fault_.empty(); }

  void Fault(const std::string& what) {
    if (Failed()) return;
    std::ostringstream out;
    out << what << " (seed " << seed_ << ", event " << figures_.events << ")";
    fault_ = out.str();
    ADD_FAILURE() << fault_;
  }

  int Below(int n) { return n > 0 ? static_cast<int>(random_() % static_cast<unsigned>(n)) : 0; }
  bool Chance(int percent) { return Below(100) < percent; }

  // [The drive] Groups, applications, a library, a package, units, classes with bodies, a form
  // class, a unit imported from a header and source on the drive and one whose header is
  // malformed; in a big project, 20,000 elements more.
  void WriteProject() {
    WriteFileBytes("C:\\Qxe\\Work\\Demo\\Main.h", kHeader);
    WriteFileBytes("C:\\Qxe\\Work\\Demo\\Main.cpp", kSource);
    WriteFileBytes("C:\\Qxe\\Work\\Demo\\Broken.h", kBrokenHeader);
    for (const char* leftover : {"Conf.qxe", "Demo", "Demo.exe", "Viewer", "Viewer.exe"})
      std::filesystem::remove(platform::LinuxPath((std::string("C:\\Qxe\\") + leftover).c_str()));
    for (const auto& entry : std::filesystem::directory_iterator(platform::LinuxPath("C:\\Qxe")))
      if (entry.path().filename().string().rfind("Conf.qxe.damaged-", 0) == 0)
        std::filesystem::remove(entry.path());
    damagedBytes_.clear();
    Start();
    Root().Children.Clear();
    CInfo* work = Make(&Root(), "CProjectGroupInfo", "Work");
    work->About = "Рабочие проекты\r\n"_cp;
    CInfo* demo = Make(work, "CAppInfo", "Demo");
    CInfo* main = Make(demo, "CUnitInfo", "Main");
    Make(demo, "CUnitInfo", "Broken");
    CInfo* shapes = Make(demo, "CUnitInfo", "Shapes");
    auto* shape = static_cast<CClassInfo*>(Make(shapes, "CClassInfo", "TShape"));
    Make(shape, "CAtrInfo", "Width");
    Make(shape, "CAtrInfo", "Height");
    MakeOper(shape, "Draw", "{\r\n  Line(0, 0, Width, Height);\r\n}\r\n");
    MakeOper(shape, "Area", "{\r\n  return Width * Height;\r\n}\r\n");
    auto* circle = static_cast<CClassInfo*>(Make(shapes, "CClassInfo", "TCircle"));
    circle->Base = "TShape";
    MakeOper(circle, "Draw", "{\r\n  Ellipse(0, 0, Width, Height);\r\n}\r\n");
    CInfo* forms = Make(demo, "CUnitInfo", "Forms");
    auto* form = static_cast<CClassInfo*>(Make(forms, "CClassInfo", "TForm2"));
    form->Base = "CForm";
    MakeOper(form, "Show", "{\r\n  Visible = true;\r\n}\r\n");
    auto* panel = static_cast<CClassInfo*>(Make(forms, "CClassInfo", "TBar"));
    panel->Base = "CPanel";
    CInfo* tools = Make(work, "CLibInfo", "Tools");
    CInfo* strings = Make(tools, "CUnitInfo", "Strings");
    MakeOper(Make(strings, "CClassInfo", "TText"), "Trim", "{\r\n  // nothing yet\r\n}\r\n");
    Make(work, "CPackInfo", "Bundle");
    CInfo* spare = Make(&Root(), "CProjectGroupInfo", "Spare");
    CInfo* view = Make(Make(spare, "CAppInfo", "Viewer"), "CUnitInfo", "View");
    Make(Make(view, "CStructInfo", "TPoint"), "CAtrInfo", "X");
    Make(view, "CObjectInfo", "Screen");
    Make(&Root(), "CDllInfo", "Plugins");
    const CImportResult imported = ImportCommand(main, [](const CStr& text) {
      ADD_FAILURE() << "the project's own files do not import: " << text.ToStd();
    });
    ASSERT_TRUE(imported.Ok);
    imported_ = Expected::Of(*main);
    big_ = Chance(options_.bigPercent);
    if (big_) {
      // 16 applications of 10 units of 25 classes, each with two attributes and two operations.
      CInfo* group = Make(&Root(), "CProjectGroupInfo", "Big");
      for (int a = 0; a < 16; ++a) {
        CInfo* application = Make(group, "CAppInfo", ("App" + std::to_string(a)).c_str());
        for (int u = 0; u < 10; ++u) {
          CInfo* unit = Make(application, "CUnitInfo", ("Unit" + std::to_string(u)).c_str());
          for (int c = 0; c < 25; ++c) {
            CInfo* type = Make(unit, "CClassInfo", ("T" + std::to_string(c)).c_str());
            Make(type, "CAtrInfo", "Left");
            Make(type, "CAtrInfo", "Top");
            MakeOper(type, "Paint", "{\r\n  Draw(Left, Top);\r\n}\r\n");
            MakeOper(type, "Move", "{\r\n  Left = Left + 1;\r\n}\r\n");
          }
        }
      }
      ++figures_.big;
    }
    ASSERT_EQ(SaveConfig(*CoreApp), "");
    inFile_ = Expected::Of(Root());
    ++figures_.fresh;
  }

  static std::int32_t CountBelow(const CInfo* node) {
    std::int32_t count = 0;
    for (std::int32_t i = 0; i < node->ChildCount().Value; ++i)
      count += 1 + CountBelow(node->Child(i));
    return count;
  }

  // A new start of the program on what the drive holds: the loaded tree must be what the file
  // holds (inFile_; empty for a file that is refused), and with held, the saved image too. Then
  // a project the monkey has worn down to a few elements, or grown past what it compares
  // quickly, is written to the drive anew; not after a damaged start, whose tree is the point.
  void Restart(const std::string* held = nullptr, bool damaged = false) {
    waitSeen_ = false;  // a box of the new start waits on a new window and tree
    if (timer_) platform::KillTimer(timer_);
    StartAnsweringBoxes();
    ++figures_.restarts;
    if (held && Image(Root()) != *held)
      Fault("the tree loaded at start differs from the one saved");
    expected_ = inFile_ ? inFile_->Clone() : Expected::Of(Root());  // refused: an empty tree
    if (!inFile_ && !expected_->Children.empty()) Fault("a refused file left elements in the tree");
    cut_ = nullptr;
    clipboard_.reset();
    Verify("the start");
    const std::int32_t count = CountBelow(&Root());
    if (!damaged && (count < 8 || count > (big_ ? 30000 : 3000))) {
      WriteProject();
      StartAnsweringBoxes();
      ++figures_.restarts;
      expected_ = inFile_->Clone();
      Verify("the start on a fresh project");
    }
    app->Running = true;  // as its run loop would; closing the main window clears it
    timer_ = platform::SetTimer(0, 7, &Monkey::Tick, this);
  }

  // A start; on a real display the box that reports a damaged file is answered with Enter
  // while the main window is still being built (the monkey's own timer needs the window).
  void StartAnsweringBoxes() {
    if (!options_.realBoxes) return Start();
    struct Answerer {
      static std::int32_t Tick(void* context, const platform::Message&) {
        auto* self = static_cast<Monkey*>(context);
        if (const platform::WindowId box = self->ReportBox(0)) {
          platform::PostMessage({box, platform::MessageKind::KeyDown, 28, 0});
          platform::PostMessage({box, platform::MessageKind::KeyUp, 28, 0});
        }
        return 0;
      }
    };
    const platform::TimerId answerer = platform::SetTimer(0, 50, &Answerer::Tick, this);
    Start();
    platform::KillTimer(answerer);
  }

  static std::string Image(CInfo& root) {
    CMemory memory;
    WriteConfig(memory, root);
    return {reinterpret_cast<const char*>(memory.Data()),
            static_cast<std::size_t>(memory.GetSize().Value)};
  }

  // Save through the toolbar with Yes, then a new start: the file and the loaded tree must hold
  // exactly what the model held. Now and then the file is damaged before the start.
  void Check() {
    ++figures_.checks;
    CSpeedButton* save = CommandButton(3);
    if (!save) return;
    // A window the monkey dragged over the toolbar (the About window, say) takes the click, as it
    // would from a person: no check this time.
    if (ButtonAt(save->GetAbsM1() + CPoint(10, 10)) != save) {
      ++figures_.missed;
      return;
    }
    answerYes_ = true;
    app->MsgDlg->Result = 0;
    posted_ = 0;
    ClickAt(save->GetAbsM1() + CPoint(10, 10));
    gui->RunUntilIdle();
    pending_ = 0;  // this save is compared here
    if (answerYes_) {
      answerYes_ = false;
      Fault("Save asked no question");
      return;
    }
    waitSeen_ = false;
    if (!app->Running.Value) return;  // a close pressed on the way; nothing to compare
    if (app->MsgDlg->Result != 1) {
      // The Yes did not land: say where the question stood, since a question out of reach
      // is a fault of its own.
      const CPoint at = app->MsgDlg->GetAbsM1();
      std::fprintf(stderr,
                   "monkey: event %lld: the check's Yes did not land; question at (%d, %d), window "
                   "%d x %d\n",
                   static_cast<long long>(figures_.events), at.X.Round().Value, at.Y.Round().Value,
                   main->GetWidth().Round().Value, main->GetHeight().Round().Value);
      ++figures_.missed;
      return;
    }
    Verify("the check's save");
    if (Failed()) return;
    // The model as saved (a save may first take in what an editor holds).
    const std::string held = Image(Root());
    if (!UnreadableTree(Root()).View().empty()) return;  // refused, and said so; the old file stays
    if (FileBytes(kConf) != held) Fault("the saved file differs from the tree it was saved from");
    Saved();
    // The first start after a check with a tree to lose is always from a damaged file.
    if ((figures_.damaged == 0 || Chance(options_.damagedPercent)) &&
        expected_->Children.size() > 0) {
      Damage();
      Restart(nullptr, true);
      return;
    }
    Restart(&held);
  }

  // After every save that wrote the file: it holds the expected tree, and a damaged file it
  // replaced was kept beside it first, byte for byte, under a name that says so.
  void Saved() {
    inFile_ = expected_->Clone();
    if (damagedBytes_.empty()) return;
    const std::string damaged = std::move(damagedBytes_);
    damagedBytes_.clear();
    if (!options_.damagedKept) return;
    const std::filesystem::path home = platform::LinuxPath("C:\\Qxe");
    for (const auto& entry : std::filesystem::directory_iterator(home)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("Conf.qxe.damaged-", 0) != 0) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      if (std::string(std::istreambuf_iterator<char>(in), {}) == damaged) {
        in.close();
        std::filesystem::remove(entry.path());  // found: the next damaged start keeps its own
        return;
      }
    }
    Fault("a save wrote over a damaged file that was not kept first");
  }

  // The saved file cut short (refused whole at start), or one bit flipped in the class of a
  // record (that element and its subtree are skipped, the rest is read).
  void Damage() {
    ++figures_.damaged;
    std::string bytes = FileBytes(kConf);
    std::vector<const Expected*> all;
    auto collect = [&](auto&& self, const Expected& node) -> void {
      for (const auto& child : node.Children) {
        all.push_back(child.get());
        self(self, *child);
      }
    };
    collect(collect, *inFile_);
    if (Chance(50) || all.empty()) {
      bytes.resize(1 + static_cast<std::size_t>(Below(static_cast<int>(bytes.size()) - 1)));
      inFile_.reset();
    } else {
      // The n-th record of a class in the file is the n-th element of that class in tree order.
      const Expected* victim = all[static_cast<std::size_t>(Below(static_cast<int>(all.size())))];
      int nth = 0;
      for (const Expected* e : all) {
        if (e == victim) break;
        nth += e->Class == victim->Class;
      }
      std::string counted(4, '\0');
      counted[0] = static_cast<char>(victim->Class.size());
      counted += victim->Class;
      std::size_t at = bytes.find(counted);
      for (; nth > 0 && at != std::string::npos; --nth) at = bytes.find(counted, at + 1);
      if (at == std::string::npos) {
        Fault("the record of " + victim->Class + " " + victim->Name + " is not in the saved file");
        return;
      }
      bytes[at + counted.size() - 4] ^= 0x20;  // "...Info" becomes "...info", a class nobody has
      inFile_->At(victim->Path())->Remove();
    }
    WriteFileBytes(kConf, bytes);
    damagedBytes_ = bytes;
  }

  // [Input] Points are client coordinates of the main window.
  void Post(platform::MessageKind kind, int a, int b = 0, std::uint8_t held = 0) {
    ++posted_;
    platform::PostMessage({Gui::WindowOf(*main), kind, a, b, held});
  }
  // Any click of the monkey's at the outer loop that lands on a toolbar button is a command,
  // recorded as such; a second one in the same event is not given.
  void ClickAt(CPoint p) {
    if (!Commands(p, p)) return;
    const int x = p.X.Round().Value, y = p.Y.Round().Value;
    Post(platform::MessageKind::LeftButtonDown, x, y);
    Post(platform::MessageKind::LeftButtonUp, x, y);
  }
  CPoint Inside(CControl* control) {
    const int w = std::max(1, control->GetWidth().Round().Value);
    const int h = std::max(1, control->GetHeight().Round().Value);
    return control->GetAbsM1() + CPoint(Below(w), Below(h));
  }
  CPoint Anywhere() { return Inside(main); }
  void Drag(CPoint from) {
    int x = from.X.Round().Value, y = from.Y.Round().Value;
    std::vector<platform::Message> moves;
    for (int steps = 1 + Below(5); steps > 0; --steps) {
      x += Below(121) - 60;
      y += Below(121) - 60;
      moves.push_back({Gui::WindowOf(*main), platform::MessageKind::MouseMove, x, y});
    }
    if (!Commands(from, CPoint(x, y))) return;
    Post(platform::MessageKind::LeftButtonDown, from.X.Round().Value, from.Y.Round().Value);
    for (const platform::Message& move : moves) Post(move.kind, move.a, move.b);
    Post(platform::MessageKind::LeftButtonUp, x, y);
  }
  // A press at `down` and a release at `up` on one toolbar button run its command: at the outer
  // loop it is recorded, unless one is already recorded for this event (then false: not given).
  // What lies under a point is known only for the event's first input (an earlier one may open
  // or close a window over the toolbar), so later ones keep off the toolbar altogether.
  bool Commands(CPoint down, CPoint up) {
    if (depth_ > 0) return true;  // a nested loop's commands wait: nothing to record
    if (posted_ > 0) {
      const CPoint m1 = main->ToolBar->GetAbsM1();
      const CPoint m2 = m1 + CPoint(main->ToolBar->GetWidth(), main->ToolBar->GetHeight());
      const auto within = [&](CPoint p) {
        return p.X >= m1.X && p.Y >= m1.Y && p.X <= m2.X && p.Y <= m2.Y;
      };
      return !within(down) && !within(up);
    }
    CSpeedButton* button = ButtonAt(down);
    if (!button || button != ButtonAt(up)) return true;
    if (pending_ != 0) return false;
    Record(button->Number.Value);
    return true;
  }
  CSpeedButton* ButtonAt(CPoint p) {
    for (CControl* hit = main->HitTest(p); hit; hit = hit->Parent)
      if (hit->Parent == main->ToolBar) return dynamic_cast<CSpeedButton*>(hit);
    return nullptr;
  }
  // The main window's keys that give a toolbar command, and when they do: what a person knows
  // of them. 0 for none.
  int CommandOfKey(int key, bool control, bool shift, bool alt) {
    if (shift || alt || depth_ > 0) return 0;
    CControl* focused = main->View ? main->View->GetFocused() : nullptr;
    const bool tree = focused == main->Tree;
    const bool text = dynamic_cast<CMemo*>(focused) || dynamic_cast<CEdit*>(focused);
    struct Row { int key; bool control; int command; bool treeOnly; bool notText; };
    constexpr Row rows[] = {
        {31, true, 3, false, false},  {49, true, 1, false, false}, {24, true, 2, false, false},
        {67, false, 17, false, false}, {67, true, 16, false, false}, {59, false, 18, false, false},
        {82, false, 4, false, true},  {83, false, 6, true, false},  {45, true, 10, true, false},
        {46, true, 11, true, false},  {47, true, 12, true, false}};
    for (const Row& r : rows)
      if (r.key == key && r.control == control && (!r.treeOnly || tree) && (!r.notText || !text))
        return r.command;
    return 0;
  }
  // A key that gives a command is recorded as the event's command; false when the event has
  // one already or it is not the event's first input (then it is not given).
  bool KeyCommands(int key, bool control, bool shift, bool alt) {
    const int command = CommandOfKey(key, control, shift, alt);
    if (command == 0 || depth_ > 0) return true;
    if (posted_ > 0 || pending_ != 0) return false;
    Record(command);
    return true;
  }
  void Key(int scanCode) {
    const bool shift = Chance(15), control = !shift && Chance(10);
    if (!KeyCommands(scanCode, control, shift, false)) return;
    if (shift) Post(platform::MessageKind::KeyDown, 42);
    if (control) Post(platform::MessageKind::KeyDown, 29);
    const std::uint8_t held = (shift ? platform::kShiftHeld : 0) | (control ? platform::kCtrlHeld : 0);
    Post(platform::MessageKind::KeyDown, scanCode, 0, held);
    Post(platform::MessageKind::KeyUp, scanCode, 0, held);
    if (control) Post(platform::MessageKind::KeyUp, 29);
    if (shift) Post(platform::MessageKind::KeyUp, 42);
  }
  // Ctrl (or Alt, or both) held over a key, sometimes with Shift too.
  void Combo() {
    const int pick = Below(10);
    std::vector<int> held;
    if (pick < 7 || pick == 9) held.push_back(29);  // Ctrl
    if (pick >= 7) held.push_back(56);              // Alt
    if (Chance(20)) held.push_back(42);             // Shift
    const int key = kComboKeys[Below(static_cast<int>(std::size(kComboKeys)))];
    const auto holds = [&](int k) { return std::find(held.begin(), held.end(), k) != held.end(); };
    if (!KeyCommands(key, holds(29), holds(42), holds(56))) return;
    const std::uint8_t mods = (holds(42) ? platform::kShiftHeld : 0) |
                              (holds(29) ? platform::kCtrlHeld : 0) |
                              (holds(56) ? platform::kAltHeld : 0);
    for (const int k : held) Post(platform::MessageKind::KeyDown, k);
    Post(platform::MessageKind::KeyDown, key, 0, mods);
    Post(platform::MessageKind::KeyUp, key, 0, mods);
    for (auto k = held.rbegin(); k != held.rend(); ++k) Post(platform::MessageKind::KeyUp, *k);
  }
  // As the harness's Type, but queued.
  void TypeText(std::string_view text) {
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      const int code = ScanCodeOf(byte);
      if (code == 0) {
        Post(platform::MessageKind::Char, byte);
        continue;
      }
      Post(platform::MessageKind::KeyDown, code);
      if (byte != '\r' && byte != '\b' && byte != '\t' && byte != 27)
        Post(platform::MessageKind::Char, byte);
      Post(platform::MessageKind::KeyUp, code);
    }
  }
  void TypeSomething() {
    std::string text;
    for (int words = 1 + Below(3); words > 0; --words)
      text += kWords[Below(static_cast<int>(std::size(kWords)))];
    if (Chance(20))
      for (int n = Below(6); n > 0; --n) text += static_cast<char>(32 + Below(224));
    TypeText(text);
  }

  // A toolbar command. At the outer loop its effect is recorded as it is given, to be applied
  // to the expected tree once it has run; in a nested loop it must do nothing.
  void Command(int number = 0) {
    const int numbers[] = {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    if (number == 0) number = numbers[Below(17)];
    if (CSpeedButton* button = CommandButton(number)) ClickAt(button->GetAbsM1() + CPoint(10, 10));
  }
  void Record(int number) {
    pending_ = number;
    CInfo* selected = main->Tree->Selected;
    if (selected && !InTree(selected)) Fault("the selection is not an element of the tree");
    selected_ = selected ? Expected::PathOf(selected) : std::vector<std::int32_t>();
    hasSelection_ = selected != nullptr;
    if (selected)
      Trace(("command " + std::to_string(number) + " given on " + selected->ClassName().ToStd() +
             " " + selected->GetName().ToStd())
                .c_str());
    app->MsgDlg->Result = 0;
    main->AddDialog()->Result = 0;
    // Copy, Cut and Import first take in what the shown editor holds.
    if (number == 10 || number == 11 || number == 14) WriteBack();
  }

  bool InTree(const CInfo* element) {
    while (element->Parent) element = element->Parent;
    return element == &Root();
  }

  // A row of the tree, or its expander.
  void TreeRow() {
    CControl* face = main->Tree->Client;
    ClickAt(face->GetAbsM1() + CPoint(Below(16 * 6 + 60), 16 * Below(20) + 8));
  }

  // A person opening the rows down to an element and pressing it: the tree is scrolled to its
  // top, the element's ancestors are expanded (as their expanders would), and the element's row
  // is pressed when it shows. With unit, a unit, to import it: often one with files on the drive.
  void WalkTo(bool unit = false) {
    std::vector<CInfo*> all;
    const bool withFiles = unit && Chance(40);
    auto collect = [&](auto&& self, CInfo* node) -> void {
      for (std::int32_t i = 0; i < node->ChildCount().Value; ++i) {
        CInfo* child = node->Child(i);
        const std::string name = child->GetName().ToStd();
        if (!unit || (child->ClassName() == "CUnitInfo" &&
                      (!withFiles || name == "Main" || name == "Broken")))
          all.push_back(child);
        if (!unit || child->ClassName() != "CUnitInfo") self(self, child);
      }
    };
    collect(collect, &Root());
    if (all.empty()) return;
    CInfo* element = all[Below(static_cast<int>(all.size()))];
    for (CInfo* a = element->Parent; a; a = a->Parent) a->TreeFlags |= 1;
    main->Tree->RowsChanged();
    int row = 0, depth = 0;
    const bool found = RowOf(element, row, depth);
    CControl* face = main->Tree->Client;
    const CPoint top = face->GetAbsM1() + CPoint(10, 10);
    // Far enough up for any tree: the wheel scrolls a few rows a notch.
    Post(platform::MessageKind::Wheel, 30000,
         platform::PackPoint(top.X.Round().Value, top.Y.Round().Value));
    if (found && 16 * row + 12 < face->GetHeight().Round().Value)
      ClickAt(face->GetAbsM1() + CPoint(16 * depth + 40, 16 * row + 8));
  }

  // One event on the main window with no dialog waiting.
  void Outer() {
    ++figures_.events;
    if (main->Designer && main->Designer->Visible.Value) ++figures_.designing;
    if (main->CodeEditor && main->CodeEditor->Visible.Value) ++figures_.editing;
    const int pick = Below(100);
    Trace(("outer " + std::to_string(pick)).c_str());
    if (pick < 16) {
      Command();
    } else if (pick < 20) {
      // A unit pressed and imported, the next time round.
      if (depth_ == 0) {
        WalkTo(true);
        importNext_ = true;
      }
    } else if (pick < 26) {
      TreeRow();
    } else if (pick < 34) {
      WalkTo();
    } else if (pick < 42) {
      ClickAt(Inside(main->Workspace));
      if (Chance(50)) TypeSomething();
    } else if (pick < 48) {
      ClickAt(Inside(main->Tuner));
      if (Chance(60)) {
        TypeSomething();
        if (Chance(70)) TypeText("\r");
      }
    } else if (pick < 56) {
      Drag(Chance(60) ? Inside(main->Workspace) : Anywhere());
    } else if (pick < 66) {
      Key(kKeys[Below(static_cast<int>(std::size(kKeys)))]);
    } else if (pick < 70) {
      Key(kFunctionKeys[Below(static_cast<int>(std::size(kFunctionKeys)))]);
    } else if (pick < 75) {
      Combo();
    } else if (pick < 81) {
      TypeSomething();
    } else if (pick < 85) {
      const CPoint p = Chance(50) ? Inside(main->Tree) : Anywhere();
      Post(platform::MessageKind::Wheel, Below(7) - 3,
           platform::PackPoint(p.X.Round().Value, p.Y.Round().Value));
    } else if (pick < 88 && main->AboutBox) {
      ClickAt(main->AboutBox->GetAbsM1() + CPoint(150, 152));  // its OK
    } else if (pick < 90) {
      // A caption button of whatever window it hits: close, minimize, maximize, restore.
      ClickAt(Anywhere());
      const CPoint p = Anywhere();
      ClickAt(p);
      ClickAt(p);  // twice at one point
    } else {
      ClickAt(Anywhere());
    }
  }

  // [The record] After each event at the outer loop: the recorded command's effect, then the
  // comparison of the whole tree with the record.
  void AfterStep() {
    waitSeen_ = false;
    std::string after = "an event";
    if (pending_ != 0) {
      const int number = pending_;
      pending_ = 0;
      Apply(number);
      ++figures_.commands;
      if (reached_) {
        // The import wrote into classes of the same name elsewhere: which code went where is
        // the analyser's business, not the window's. The record takes the tree as it stands.
        reached_ = false;
        ++figures_.reached;
        const std::vector<std::int32_t> cut = cut_ ? cut_->Path() : std::vector<std::int32_t>();
        expected_ = Expected::Of(Root());
        cut_ = cut.empty() ? nullptr : expected_->At(cut);
      }
      after = "command " + std::to_string(number);
      Trace(after.c_str());
    }
    if (!Failed()) Verify(after.c_str());
    if (importNext_ && !Failed() && app->Running.Value) {
      importNext_ = false;
      // The unit's row was pressed (if it showed): import it as its own event.
      posted_ = 0;
      Command(14);
      ++figures_.events;
      gui->RunUntilIdle();
      AfterStep();
    }
  }

  // The shown editor's text into the record of its operation, as a command that writes back.
  void WriteBack() {
    if (main->CodeEditor && main->CodeEditor->Visible.Value && main->Current &&
        main->Current->ClassName() == "COperInfo" && InTree(main->Current))
      if (Expected* oper = expected_->At(Expected::PathOf(main->Current)))
        oper->Code = main->CodeEditor->Memo->GetText().ToStd();
  }

  // What command `number` must have done, given the selection it was given on and the answers
  // its question or dialog got.
  void Apply(int number) {
    Expected* selected = hasSelection_ ? expected_->At(selected_) : nullptr;
    if (hasSelection_ && !selected) {
      Fault("the selection is not where the record has an element");
      return;
    }
    const bool yes = app->MsgDlg->Result == 1;
    switch (number) {
      case 1:  // New
        if (yes) {
          expected_->Children.clear();
          cut_ = nullptr;
        }
        break;
      case 2:  // Open: the tree the file holds; a refused file changes nothing
        if (yes) {
          if (inFile_) expected_ = inFile_->Clone();
          cut_ = nullptr;
        }
        break;
      case 3:  // Save
        if (yes && UnreadableTree(Root()).View().empty()) Saved();
        break;
      case 4:    // Add: a sibling of the selection
      case 5: {  // SubAdd: a child of it
        const int kind = main->AddDialog()->Result.Value;
        const std::string className = kind >= 1 && kind <= 12 ? kKindClasses[kind] : "";
        if (className.empty()) break;
        Expected* parent = expected_.get();
        if (number == 4 && selected && selected->Parent) parent = selected->Parent;
        if (number == 5 && selected) parent = selected;
        auto made = std::make_unique<Expected>();
        made->Class = className;
        made->Name = main->AddDialog()->NameEdit->GetText().ToStd();
        parent->Append(std::move(made));
        break;
      }
      case 6:  // Delete
        if (yes && selected) {
          selected->Remove();
          cut_ = nullptr;
        }
        break;
      case 8:  // Up
      case 9:  // Down
        if (selected) {
          auto& siblings = selected->Parent->Children;
          const std::size_t i = selected->Parent->IndexOf(selected);
          if (number == 8 && i > 0) std::swap(siblings[i], siblings[i - 1]);
          if (number == 9 && i + 1 < siblings.size()) std::swap(siblings[i], siblings[i + 1]);
        }
        break;
      case 10:  // Cut
      case 11:  // Copy
        if (selected) {
          clipboard_ = selected->Clone();
          cut_ = number == 10 ? selected : nullptr;
        }
        break;
      case 12:  // Paste: beside the selection
      case 13:  // SubPaste: under it
        if (selected && clipboard_) Paste(number == 12 ? selected->Parent : selected);
        break;
      case 14:  // Import
        if (selected) Import(selected);
        break;
      case 15:  // Clear
        if (selected) selected->ClearCode();
        break;
      default:  // Build, Run and About leave the tree alone
        break;
    }
  }

  // A copy of the clipboard's element at the end of the target's children; after a Cut the
  // original leaves the tree. Nothing when the target lies in the cut element.
  void Paste(Expected* target) {
    if (cut_ && cut_->Contains(target)) return;
    Expected* pasted = target->Append(clipboard_->Clone());
    if (cut_) {
      cut_->Remove();
      cut_ = nullptr;
    }
    if (!options_.pasteShown || Failed()) return;
    // The new element is selected, shown as if pressed, and its row can be seen.
    CInfo* real = &Root();
    for (const std::int32_t i : pasted->Path()) {
      if (i >= real->ChildCount().Value) return;  // the comparison that follows says how
      real = real->Child(i);
    }
    if (main->Tree->Selected != real) Fault("Paste did not select the pasted element");
    else if (main->Tuner->Shown != real) Fault("the tuner does not show the pasted element");
    for (CInfo* a = real->Parent; a && a != &Root() && !Failed(); a = a->Parent)
      if (!(a->TreeFlags & 1)) Fault("the pasted element's row is inside a collapsed row");
  }

  // A unit's path on the drive: the names of its groups, applications, libraries and packages.
  static std::string DrivePath(const Expected& unit) {
    std::string path = unit.Name;
    for (const Expected* a = unit.Parent; a; a = a->Parent)
      if (a->Class == "CProjectGroupInfo" || a->Class == "CAppInfo" || a->Class == "CLibInfo" ||
          a->Class == "CPackInfo")
        path = a->Name + "\\" + path;
    return path;
  }

  // Every unit at or below the element is read anew from its files: Main's give what they gave
  // when the project was made, a unit without files is emptied, and Broken's header fails the
  // whole command, which then leaves the tree as it stood.
  void Import(Expected* selected) {
    ++figures_.imports;
    std::vector<Expected*> units;
    auto collect = [&](auto&& self, Expected* node) -> void {
      if (node->Class == "CUnitInfo") {
        units.push_back(node);
        return;
      }
      for (const auto& child : node->Children) self(self, child.get());
    };
    collect(collect, selected);
    for (const Expected* unit : units)
      if (DrivePath(*unit) == kBrokenPath) {
        ++figures_.failedImports;
        cut_ = nullptr;  // every element was read back anew
        return;
      }
    if (cut_ && cut_ != selected && selected->Contains(cut_)) cut_ = nullptr;
    for (Expected* unit : units) {
      const bool main = DrivePath(*unit) == kMainPath;
      if (main) {
        for (const auto& imported : imported_->Children)
          if (imported->Class == "CClassInfo" && FoundBefore(*expected_, *unit, imported->Name))
            reached_ = true;
        // A class described again is listed, not placed; its methods' bodies go to the first.
        if (Described(*unit)) reached_ = true;
      }
      unit->Children.clear();
      if (main)
        for (const auto& child : imported_->Children) unit->Append(child->Clone());
    }
  }

  // Whether a class the unit's header declares is already a class elsewhere in the unit's
  // application (or package).
  bool Described(const Expected& unit) const {
    const auto holds = [&](auto&& self, const Expected& at, const std::string& name) -> bool {
      for (const auto& child : at.Children) {
        if (child.get() == &unit) continue;  // emptied first
        if (child->Class == "CClassInfo" && child->Name == name) return true;
        if (self(self, *child, name)) return true;
      }
      return false;
    };
    for (const auto& imported : imported_->Children)
      if (imported->Class == "CClassInfo" && unit.Parent && holds(holds, *unit.Parent, imported->Name))
        return true;
    return false;
  }

  // Whether a class of that name comes before the unit in a walk of the tree. A method the
  // source defines (TForm1::Paint) goes to the first class of its name in the whole tree, so
  // such an import writes into that class, elsewhere.
  static bool FoundBefore(const Expected& node, const Expected& unit, const std::string& name) {
    bool reachedUnit = false;
    auto walk = [&](auto&& self, const Expected& at) -> bool {
      for (const auto& child : at.Children) {
        if (child.get() == &unit) {
          reachedUnit = true;
          return false;
        }
        if (child->Class == "CClassInfo" && child->Name == name) return true;
        if (self(self, *child) || reachedUnit) return !reachedUnit;
      }
      return false;
    };
    return walk(walk, node);
  }

  // The real tree against the record. A name or code may change where a person edits it: the
  // element the tuner shows, and an operation whose editor holds the new code.
  void Verify(const char* after) {
    const auto mayChange = [this](CInfo& element, bool code) {
      if (main->Tuner->Shown == &element) return true;
      if (!code) return false;
      auto* editor = dynamic_cast<CEditForm*>(element.EditorWindow);
      return editor && editor->Memo->GetText() == static_cast<COperInfo&>(element).Code;
    };
    const std::string fault = Compare(*expected_, Root(), mayChange);
    if (!fault.empty()) {
      Fault(std::string("after ") + after + ": " + fault);
      return;
    }
    if ((main->CutPending.Value != 0) != (cut_ != nullptr))
      Fault(std::string("after ") + after + ": the cut mark is " +
            (cut_ ? "gone" : "still there") + ", expected otherwise");
    if (options_.hiddenEditorKept) HiddenEditorsKept(after);
  }

  // A hidden code editor keeps its text until its operation is selected again.
  void HiddenEditorsKept(const char* after) {
    std::map<std::pair<const void*, const void*>, std::string> hidden;
    auto walk = [&](auto&& self, CInfo& node) -> void {
      if (auto* editor = dynamic_cast<CEditForm*>(node.EditorWindow); editor && !editor->Visible.Value)
        hidden[{editor, &node}] = editor->Memo->GetText().ToStd();
      for (std::int32_t i = 0; i < node.ChildCount().Value; ++i) self(self, *node.Child(i));
    };
    walk(walk, Root());
    // Clear empties the editors of the operations it empties, shown or not.
    const bool cleared = std::string_view(after) == "command 15";
    for (const auto& [key, text] : hidden) {
      const auto was = hiddenEditors_.find(key);
      if (was != hiddenEditors_.end() && was->second != text && !(cleared && (text.empty() || text == "\r\n"))) {
        Fault(std::string("after ") + after + ": a hidden code editor's text changed from \"" + was->second + "\" to \"" + text + "\"");
        break;
      }
    }
    hiddenEditors_ = std::move(hidden);
  }

  static std::int32_t Tick(void* context, const platform::Message&) {
    static_cast<Monkey*>(context)->Inner();
    return 0;
  }

  CColorForm* WaitingColourDialog() {
    for (std::int32_t i = 0; i < main->ChildCount().Value; ++i)
      if (auto* dialog = dynamic_cast<CColorForm*>(main->GetChild(i)); dialog && dialog->Visible)
        return dialog;
    return nullptr;
  }

  bool AnyDialogUp() { return app->MsgDlg->Visible.Value || main->AddDialog()->Visible.Value; }

  // [Report boxes] On a real display, the platform's box of a report: the newest shown window
  // with the main window's caption.
  platform::WindowId ReportBox(platform::WindowId self) {
    const std::string caption = "Qxworks 0.3.2";
    newestWindow_ = std::max(newestWindow_, self);  // ids count up from the platform's first
    for (int gap = 0; gap < 32; ++gap)
      if (platform::WindowBounds(newestWindow_ + 1 + gap)) {
        newestWindow_ += 1 + gap;
        gap = -1;
      }
    for (platform::WindowId id = newestWindow_; id > 0 && id + 64 > newestWindow_; --id)
      if (id != self && platform::IsWindowVisible(id) && platform::WindowTitle(id) == caption)
        return id;
    return 0;
  }

  // Enter, Escape or Space, or a press on its OK (centred, 16 pixels above its lower edge) or
  // beside it; now and then a command or a row of the main window, which must do nothing while
  // the box waits.
  void AnswerBox(platform::WindowId box) {
    ++figures_.events;
    ++figures_.boxes;
    Trace("report box");
    HoldsWhileWaiting(box);
    const auto bounds = platform::WindowBounds(box);
    const int pick = Below(100);
    const auto post = [box](platform::MessageKind kind, int a, int b = 0) {
      platform::PostMessage({box, kind, a, b});
    };
    if (pick < 40 || !bounds) {
      const int keys[] = {28, 28, 1, 57};
      const int key = keys[Below(4)];
      post(platform::MessageKind::KeyDown, key);
      post(platform::MessageKind::KeyUp, key);
    } else if (pick < 75) {
      const int x = bounds->width / 2, y = bounds->height - 16 - 14;
      post(platform::MessageKind::LeftButtonDown, x, y);
      post(platform::MessageKind::LeftButtonUp, x + Below(5) - 2, y + Below(5) - 2);
    } else if (pick < 85) {
      const int x = Below(bounds->width), y = Below(bounds->height / 2);
      post(platform::MessageKind::LeftButtonDown, x, y);
      post(platform::MessageKind::LeftButtonUp, x, y);
    } else if (pick < 93 && options_.selectionHeld) {
      // Only where the window is to wait: a command that ran here would be in no record.
      ++depth_;
      Command();
      --depth_;
    } else {
      TreeRow();
    }
  }

  // While a question, the add dialog or a report box waits, the tree keeps its selection (and,
  // under a report box, its elements: the main window waits for the answer).
  // `wait` names what waits (a box's window, the question, the add dialog): a command answered
  // in one wait may change the tree before the next one, a box reporting its outcome.
  void HoldsWhileWaiting(std::uint64_t wait) {
    if (!options_.selectionHeld) return;
    if (!waitSeen_ || wait != waitOn_) {
      waitSeen_ = true;
      waitOn_ = wait;
      waitSelection_ = main->Tree->Selected;
      if (!app->Modal.Value) waitImage_ = Image(Root());
      return;
    }
    if (main->Tree->Selected != waitSelection_)
      Fault("the tree's selection changed while a question, dialog or box waited");
    else if (!app->Modal.Value && Image(Root()) != waitImage_)
      Fault("the tree changed while a report box waited");
  }

  // The monkey's timer, ticked by any loop when nothing else waits: input for a nested loop.
  void Inner() {
    if (Failed()) return;
    // A question asked by a command given while a box waits is answered first: the box's loop
    // ends only once the question's loop inside it has.
    if (options_.realBoxes && !app->Modal.Value)
      if (const platform::WindowId box = ReportBox(Gui::WindowOf(*main))) {
        AnswerBox(box);
        return;
      }
    if (CColorForm* colours = WaitingColourDialog()) {
      // The designer's colour dialog waits in a loop of its own: a colour or its close button.
      if (figures_.events < budget_ && app->Running.Value) {
        ++figures_.events;
        Trace("colour dialog");
      }
      if (figures_.events < budget_ && Chance(60))
        ClickAt(Inside(colours->Client));
      else
        ClickAt(colours->Caption->CloseButton->GetAbsM1() + CPoint(5, 5));
      return;
    }
    if (!app->Modal.Value) return;
    CMsgDlgForm* question = app->MsgDlg;
    CSelItemForm* add = main->AddDialog();
    if (!AnyDialogUp()) {
      // Nothing a person could answer: the loop would wait for ever.
      Fault("a nested loop waits with no dialog shown");
      app->EndModal();
      return;
    }
    HoldsWhileWaiting(question->Visible.Value ? 1 : 2);
    if (answerYes_ && question->Visible.Value) {
      answerYes_ = false;
      ClickAt(question->Buttons[0]->GetAbsM1() + CPoint(25, 10));
      return;
    }
    // Past the budget, or with the program closing, every question is closed unanswered; one
    // that cannot be closed in a few hundred tries has a close button out of reach.
    if (figures_.events >= budget_ || !app->Running.Value) {
      if (++closing_ > 300) {
        Fault("a dialog's close button could not be reached");
        app->EndModal();
        return;
      }
      CForm* dialog = question->Visible.Value ? static_cast<CForm*>(question) : add;
      ClickAt(dialog->Caption->CloseButton->GetAbsM1() + CPoint(5, 5));
      return;
    }
    ++figures_.events;
    Trace(question->Visible.Value ? "question" : "add dialog");
    ++(question->Visible.Value ? figures_.questions : figures_.adds);
    const int pick = Below(100);
    if (question->Visible.Value && pick < 70) {
      if (pick < 25) {
        ClickAt(question->Buttons[0]->GetAbsM1() + CPoint(25, 10));  // Yes
      } else if (pick < 55) {
        ClickAt(question->Buttons[1]->GetAbsM1() + CPoint(25, 10));  // No
      } else if (pick < 62) {
        ClickAt(question->Caption->CloseButton->GetAbsM1() + CPoint(5, 5));
      } else {
        ClickAt(Inside(question));
      }
    } else if (add->Visible.Value && pick < 75) {
      if (pick < 20) {
        ClickAt(Inside(add->NameEdit));
        Key(79);
        for (int n = Below(8); n > 0; --n) Key(14);
        TypeSomething();
      } else if (pick < 28) {
        ClickAt(Inside(add->AboutMemo));
        TypeSomething();
      } else if (pick < 60) {
        ClickAt(add->KindButtons[1 + Below(12)]->GetAbsM1() + CPoint(10, 10));
      } else if (pick < 66) {
        ClickAt(add->Caption->CloseButton->GetAbsM1() + CPoint(5, 5));
      } else {
        ClickAt(Inside(add));
      }
    } else if (pick < 90) {
      ClickAt(Anywhere());
    } else {
      ++depth_;
      Outer();  // anything at all, as on the main window
      --depth_;
      --figures_.events;
    }
  }

  std::uint32_t seed_ = 0;
  MonkeyOptions options_;
  std::mt19937 random_;
  std::int64_t budget_ = 0;
  std::int64_t nextCheck_ = 300;
  platform::TimerId timer_ = 0;
  bool answerYes_ = false;
  int closing_ = 0;  // closing clicks given past the budget
  int depth_ = 0;    // nested loops the monkey's own input is given in
  int posted_ = 0;   // inputs given in this event at the outer loop
  const bool progress_ = std::getenv("QX_MONKEY_EVENTS") != nullptr;  // the long run says how far
  std::int64_t nextProgress_ = 10000;
  std::string fault_;
  MonkeyFigures figures_;

  // The record: the expected tree, what the file holds (none: a file that is refused), what
  // Main's files import to, the clipboard, and the element a Cut marked.
  std::unique_ptr<Expected> expected_;
  std::unique_ptr<Expected> inFile_;
  std::unique_ptr<Expected> imported_;
  std::unique_ptr<Expected> clipboard_;
  Expected* cut_ = nullptr;
  bool big_ = false;
  std::string damagedBytes_;  // the damaged file the program started on, until a save
  // The command given at the outer loop and not yet applied, with the selection it was given on.
  int pending_ = 0;
  std::vector<std::int32_t> selected_;
  bool hasSelection_ = false;
  bool importNext_ = false;
  bool reached_ = false;  // the import reached classes outside its units
  // The wait the monkey is answering: the selection and tree it began with.
  bool waitSeen_ = false;
  std::uint64_t waitOn_ = 0;
  CInfo* waitSelection_ = nullptr;
  std::string waitImage_;
  std::map<std::pair<const void*, const void*>, std::string> hiddenEditors_;
  platform::WindowId newestWindow_ = 0;
};

// Bounded runs on fixed seeds; part of every test run, the sanitizer build's included.

// The sanitizer build (unoptimised) is some ten times slower: it gives the first third of the
// same runs, so that they stay well inside the test command's time limit.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::int64_t kScale = 3;
#else
constexpr std::int64_t kScale = 1;
#endif

// Every check is on; QX_MONKEY_AWAITED=off turns off those of behaviour added late (the tree
// held while a question, dialog or box waits, a damaged file kept before a save replaces it, a
// pasted element shown, a hidden code editor untouched), to look for other faults past them.
MonkeyOptions BoundedOptions() {
  MonkeyOptions options;
  const char* awaited = std::getenv("QX_MONKEY_AWAITED");
  if (!awaited || std::string_view(awaited) != "off") return options;
  options.selectionHeld = false;
  options.damagedKept = false;
  options.pasteShown = false;
  options.hiddenEditorKept = false;
  return options;
}

TEST_F(Monkey, BoundedRun) {
  const std::int64_t events = 3000 / kScale;
  const MonkeyFigures figures = Run(20261210, events, BoundedOptions());
  Print("monkey", figures);
  EXPECT_GE(figures.events, events);
  EXPECT_GE(figures.checks, 2);  // the save, new start and compare ran
  EXPECT_GE(figures.damaged, 1);
  EXPECT_GE(figures.failedImports, 1);
}

// On a project of 20,000 elements: every command compared on the whole tree.
TEST_F(Monkey, BigProject) {
  MonkeyOptions options = BoundedOptions();
  options.bigPercent = 100;
  const std::int64_t events = 800 / kScale;
  const MonkeyFigures figures = Run(20261211, events, options);
  Print("monkey, big project", figures);
  EXPECT_GE(figures.big, 1);
  EXPECT_GE(figures.checks, 1);
}

// On a real display the import's report boxes are windows that wait for an answer (run by
// scripts/display-tests.sh under Xvfb; skipped offscreen, where a box only writes to stderr).
TEST_F(Monkey, RealReportBoxes) {
  if (!platform::RealDisplay()) GTEST_SKIP() << "needs a real display (run under Xvfb)";
  MonkeyOptions options = BoundedOptions();
  options.realBoxes = true;
  const char* seed = std::getenv("QX_MONKEY_SEED");
  const MonkeyFigures figures =
      Run(seed ? static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10)) : 20261212, 1500,
          options);
  Print("monkey, real report boxes", figures);
  EXPECT_GE(figures.boxes, 6);  // at least one failed import's six boxes were answered
}

// The long run, by hand: scripts/monkey.sh [SEED] [EVENTS]. One fresh project in ten is big.
// Every check is on, unless QX_MONKEY_AWAITED=off.
TEST_F(Monkey, LongRun) {
  const char* seed = std::getenv("QX_MONKEY_SEED");
  const char* events = std::getenv("QX_MONKEY_EVENTS");
  if (!seed || !events) GTEST_SKIP() << "run by scripts/monkey.sh";
  MonkeyOptions options = BoundedOptions();
  options.bigPercent = 10;
  const MonkeyFigures figures = Run(static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10)),
                                    std::strtoll(events, nullptr, 10), options);
  std::printf("monkey: seed %s\n", seed);
  Print("monkey", figures);
}

}  // namespace
