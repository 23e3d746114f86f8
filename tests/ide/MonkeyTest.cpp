// A monkey on the whole environment: seeded random presses, drags, keys, wheel turns and typed
// text on the main window, its toolbar, tree, tuner, editors, designers and dialogs, against a
// drive C: holding a real project.
//
// Questions and the add dialog wait in nested loops; the monkey answers them from a timer of its
// own, which those loops tick when nothing else is waiting (the clock is virtual), so input
// reaches whatever window is up at every depth. Every so often it saves through the toolbar,
// starts the program anew and compares the loaded tree with what the model held: an element lost
// on the way is a fault, as is a loop that waits with no dialog shown to answer it.
//
// The bounded run is part of the test command. The long run is scripts/monkey.sh, which sets
// QX_MONKEY_SEED and QX_MONKEY_EVENTS and runs Monkey.LongRun.
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "designer/ColorForm.h"
#include "designer/DsgnForm.h"
#include "ide/EditForm.h"
#include "import/Import.h"
#include "model/MemberInfo.h"
#include "model/TypeInfo.h"
#include "designer/ColorForm.h"
#include "tests/ide/IdeFixture.h"
#include "widgets/Memo.h"
#include "widgets/Tuner.h"

namespace {

using namespace qxtest;

struct MonkeyFigures {
  std::int64_t events = 0;     // random inputs given, at every depth of loop
  std::int64_t restarts = 0;   // new starts of the program: checks, closed windows, fresh drives
  std::int64_t checks = 0;     // save, start anew, compare
  std::int64_t fresh = 0;      // times the project was written to the drive anew
  std::int64_t missed = 0;     // checks whose Yes did not reach the question
  std::int64_t questions = 0;  // events given while a question waited
  std::int64_t adds = 0;       // events given while the add dialog waited
  std::int64_t designing = 0;  // events given while a designer showed
  std::int64_t editing = 0;    // events given while a code editor showed
};

void Print(const char* what, const MonkeyFigures& f) {
  std::printf(
      "%s: %lld events (%lld on a question, %lld on the add dialog, %lld with a designer, "
      "%lld with a code editor), %lld restarts, %lld checks (%lld missed), %lld fresh projects\n",
      what, static_cast<long long>(f.events), static_cast<long long>(f.questions),
      static_cast<long long>(f.adds), static_cast<long long>(f.designing),
      static_cast<long long>(f.editing), static_cast<long long>(f.restarts),
      static_cast<long long>(f.checks), static_cast<long long>(f.missed),
      static_cast<long long>(f.fresh));
}

// The unit Main of application Demo of group Work is imported from these.
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

class Monkey : public IdeTest {
 protected:
  // Runs until that many events were given; the first fault ends the run as a test failure.
  MonkeyFigures Run(std::uint32_t seed, std::int64_t events) {
    seed_ = seed;
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
      Outer();
      gui->RunUntilIdle();
      if (Chance(5)) gui->Advance(Below(1200));
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
  // class and a unit imported from a header and source on the drive.
  void WriteProject() {
    WriteFileBytes("C:\\Qxe\\Work\\Demo\\Main.h", kHeader);
    WriteFileBytes("C:\\Qxe\\Work\\Demo\\Main.cpp", kSource);
    for (const char* leftover : {"Conf.qxe", "Demo", "Demo.exe", "Viewer", "Viewer.exe"})
      std::filesystem::remove(platform::LinuxPath((std::string("C:\\Qxe\\") + leftover).c_str()));
    Start();
    Root().Children.Clear();
    CInfo* work = Make(&Root(), "CProjectGroupInfo", "Work");
    work->About = "Рабочие проекты\r\n"_cp;
    CInfo* demo = Make(work, "CAppInfo", "Demo");
    CInfo* main = Make(demo, "CUnitInfo", "Main");
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
    ASSERT_EQ(SaveConfig(*CoreApp), "");
    ++figures_.fresh;
  }

  static std::int32_t CountBelow(const CInfo* node) {
    std::int32_t count = 0;
    for (std::int32_t i = 0; i < node->ChildCount().Value; ++i)
      count += 1 + CountBelow(node->Child(i));
    return count;
  }

  // A new start of the program on what the drive holds. With held, the loaded tree must be that
  // image. Then a project the monkey has worn down to a few elements, or grown past what a check
  // compares quickly, is written to the drive anew.
  void Restart(const std::string* held = nullptr) {
    if (timer_) platform::KillTimer(timer_);
    Start();
    ++figures_.restarts;
    if (held && Image(Root()) != *held)
      Fault("the tree loaded at start differs from the one saved");
    const std::int32_t count = CountBelow(&Root());
    if (count < 8 || count > 3000) {
      WriteProject();
      Start();
      ++figures_.restarts;
    }
    app->Running = true;  // as its run loop would; closing the main window clears it
    timer_ = platform::SetTimer(0, 7, &Monkey::Tick, this);
  }

  static std::string Image(CInfo& root) {
    CMemory memory;
    WriteConfig(memory, root);
    return {reinterpret_cast<const char*>(memory.Data()),
            static_cast<std::size_t>(memory.GetSize().Value)};
  }

  // Save through the toolbar with Yes, then a new start: the file and the loaded tree must hold
  // exactly what the model held.
  void Check() {
    ++figures_.checks;
    CSpeedButton* save = CommandButton(3);
    if (!save) return;
    // A window the monkey dragged over the toolbar (the About window, say) takes the click, as it
    // would from a person: no check this time.
    CPoint at = save->GetAbsM1() + CPoint(10, 10);
    const CPoint click = at;
    CControl* hit = main->HitTest(at);
    while (hit && hit != save) hit = hit->Parent;
    if (!hit) {
      ++figures_.missed;
      return;
    }
    answerYes_ = true;
    ClickAt(click);
    gui->RunUntilIdle();
    if (answerYes_) {
      answerYes_ = false;
      Fault("Save asked no question");
      return;
    }
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
    // The model as saved (a save may first take in what an editor holds).
    const std::string held = Image(Root());
    if (!UnreadableTree(Root()).View().empty()) return;  // refused, and said so; the old file stays
    if (FileBytes(kConf) != held) Fault("the saved file differs from the tree it was saved from");
    Restart(&held);
  }

  // [Input] Points are client coordinates of the main window.
  void Post(platform::MessageKind kind, int a, int b = 0) {
    platform::PostMessage({Gui::WindowOf(*main), kind, a, b});
  }
  void ClickAt(CPoint p) {
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
    Post(platform::MessageKind::LeftButtonDown, x, y);
    for (int steps = 1 + Below(5); steps > 0; --steps) {
      x += Below(121) - 60;
      y += Below(121) - 60;
      Post(platform::MessageKind::MouseMove, x, y);
    }
    Post(platform::MessageKind::LeftButtonUp, x, y);
  }
  void Key(int scanCode) {
    const bool shift = Chance(15), control = !shift && Chance(10);
    if (shift) Post(platform::MessageKind::KeyDown, 42);
    if (control) Post(platform::MessageKind::KeyDown, 29);
    Post(platform::MessageKind::KeyDown, scanCode);
    Post(platform::MessageKind::KeyUp, scanCode);
    if (control) Post(platform::MessageKind::KeyUp, 29);
    if (shift) Post(platform::MessageKind::KeyUp, 42);
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
  void Command() {
    const int numbers[] = {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    if (CSpeedButton* button = CommandButton(numbers[Below(17)]))
      ClickAt(button->GetAbsM1() + CPoint(10, 10));
  }
  // A row of the tree, or its expander.
  void TreeRow() {
    CControl* face = main->Tree->Client;
    ClickAt(face->GetAbsM1() + CPoint(Below(16 * 6 + 60), 16 * Below(20) + 8));
  }

  // A person opening the rows down to an element and pressing it: the tree is scrolled to its
  // top, the element's ancestors are expanded (as their expanders would), and the element's row
  // is pressed when it shows.
  void WalkTo() {
    std::vector<CInfo*> all;
    auto collect = [&](auto&& self, CInfo* node) -> void {
      for (std::int32_t i = 0; i < node->ChildCount().Value; ++i) {
        all.push_back(node->Child(i));
        self(self, node->Child(i));
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
    Post(platform::MessageKind::Wheel, 1000,
         platform::PackPoint(top.X.Round().Value, top.Y.Round().Value));
    if (found && 16 * row + 12 < face->GetHeight().Round().Value)
      ClickAt(face->GetAbsM1() + CPoint(16 * depth + 40, 16 * row + 8));
  }

  // One event on the main window with no dialog waiting.
  void Outer() {
    ++figures_.events;
    Trace("outer");
    if (main->Designer && main->Designer->Visible.Value) ++figures_.designing;
    if (main->CodeEditor && main->CodeEditor->Visible.Value) ++figures_.editing;
    const int pick = Below(100);
    if (pick < 16) {
      Command();
    } else if (pick < 24) {
      TreeRow();
    } else if (pick < 34) {
      WalkTo();
    } else if (pick < 44) {
      ClickAt(Inside(main->Workspace));
      if (Chance(50)) TypeSomething();
    } else if (pick < 50) {
      ClickAt(Inside(main->Tuner));
      if (Chance(60)) {
        TypeSomething();
        if (Chance(70)) TypeText("\r");
      }
    } else if (pick < 60) {
      Drag(Chance(60) ? Inside(main->Workspace) : Anywhere());
    } else if (pick < 72) {
      Key(kKeys[Below(static_cast<int>(std::size(kKeys)))]);
    } else if (pick < 80) {
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

  // The monkey's timer, ticked by any loop when nothing else waits: input for a nested loop.
  void Inner() {
    if (Failed()) return;
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
      Outer();  // anything at all, as on the main window
      --figures_.events;
    }
  }

  std::uint32_t seed_ = 0;
  std::mt19937 random_;
  std::int64_t budget_ = 0;
  std::int64_t nextCheck_ = 300;
  platform::TimerId timer_ = 0;
  bool answerYes_ = false;
  int closing_ = 0;  // closing clicks given past the budget
  const bool progress_ = std::getenv("QX_MONKEY_EVENTS") != nullptr;  // the long run says how far
  std::int64_t nextProgress_ = 10000;
  std::string fault_;
  MonkeyFigures figures_;
};

// A few thousand events on a fixed seed; part of every test run, the sanitizer build's included.

// The sanitizer build (unoptimised) is some ten times slower: it gives the first third of the
// same run, so that it stays well inside the test command's time limit.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::int64_t kBoundedEvents = 1000;
#else
constexpr std::int64_t kBoundedEvents = 3000;
#endif

TEST_F(Monkey, BoundedRun) {
  const MonkeyFigures figures = Run(20261210, kBoundedEvents);
  Print("monkey", figures);
  EXPECT_GE(figures.events, kBoundedEvents);
  EXPECT_GE(figures.checks, 2);  // the save, new start and compare ran
}

// The long run, by hand: scripts/monkey.sh [SEED] [EVENTS].
TEST_F(Monkey, LongRun) {
  const char* seed = std::getenv("QX_MONKEY_SEED");
  const char* events = std::getenv("QX_MONKEY_EVENTS");
  if (!seed || !events) GTEST_SKIP() << "run by scripts/monkey.sh";
  const MonkeyFigures figures = Run(static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10)),
                                    std::strtoll(events, nullptr, 10));
  std::printf("monkey: seed %s\n", seed);
  Print("monkey", figures);
}

}  // namespace
