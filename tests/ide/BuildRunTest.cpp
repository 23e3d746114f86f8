// Build and Run through the window: the application written out and compiled beside the window,
// the compiler's lines in the list under the workspace leading back to the code, the program
// started with its lines and its exit status in the same list. The programs are compiled by the
// system compiler against the toolkit the project's build staged.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "controls/Text.h"
#include "ide/EditForm.h"
#include "ide/HeadsForm.h"
#include "ide/OutputBox.h"
#include "ide/Workshop.h"
#include "model/HeadTexts.h"
#include "model/SafeNames.h"
#include "model/UnitInfo.h"
#include "platform/Text.h"
#include "tests/ide/IdeFixture.h"
#include "widgets/Memo.h"
#include "widgets/ScrollBar.h"

namespace {

using namespace qxtest;
namespace fs = std::filesystem;

class BuildRunTest : public IdeTest {
 protected:
  BuildRunTest() {
    setenv("QXWORKS_TOOLKIT", QX_BINARY_DIR "/toolkit", 1);
    unsetenv("CXX");
  }

  // Work/Demo/Main with a global main whose code is given; its source begins with <cstdio>.
  COperInfo* MakeProgram(const char* code, const char* name = "Demo") {
    CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
    app_ = Make(group, "CAppInfo", name);
    unit_ = static_cast<CUnitInfo*>(Make(app_, "CUnitInfo", "Main"));
    unit_->UnitExtra = WriteHeads({"", "#include <cstdio>\r\n"});
    COperInfo* entry = MakeOper(unit_, "main", code);
    entry->Type = "int";
    return entry;
  }

  // The work runs in real time beside the harness's virtual clock: the ticks are let through
  // until the condition holds, for a minute at most.
  bool WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      gui->Advance(CWorkshop::kTickMs);
    }
    gui->RunUntilIdle();
    return true;
  }
  bool Quiet() {
    return WaitFor([this] { return !main->Workshop->Building() && !main->Workshop->ProgramRuns(); });
  }

  std::string Status() { return main->StatusText->Str.ToStd(); }
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (std::int32_t i = 0; i < main->BottomBox->Count().Value; ++i)
      lines.push_back(main->BottomBox->Line(i)->Caption.ToStd());
    return lines;
  }
  bool HasLine(const std::string& text) {
    for (const std::string& line : Lines())
      if (line == text) return true;
    return false;
  }
  // The first row that leads to an element, or -1.
  int FirstPlacedRow() {
    for (std::int32_t i = 0; i < main->BottomBox->Count().Value; ++i) {
      const COutputBox::CPlace* place = COutputBox::PlaceOf(main->BottomBox->Line(i));
      if (place && place->Element) return i;
    }
    return -1;
  }
  // A press on a row of the list: it is scrolled to the top of the view first, as a person would.
  void PressRow(int row) {
    main->BottomBox->VertBar->Position = row;
    main->Invalidate();
    Settle();
    QueueClick(main->BottomBox->Client->GetAbsM1() + CPoint(40, 8));
    Settle();
  }
  std::string Program() { return platform::LinuxPath("C:\\Qxe\\Demo"); }

  CInfo* app_ = nullptr;
  CUnitInfo* unit_ = nullptr;
};

TEST_F(BuildRunTest, BuildRunsBesideTheWindowThenRunStartsTheProgramWithItsLines) {
  COperInfo* entry = MakeProgram(
      "std::puts(\"hello\");\r\nstd::fputs(\"oops\\n\", stderr);\r\nreturn 3;\r\n");
  Select(entry);
  Command(16);
  // The window answers while the compiler works: the status says so and a press selects.
  EXPECT_TRUE(main->Workshop->Building());
  EXPECT_EQ(Status(), "Сборка…"_cp);
  Select(unit_);
  EXPECT_EQ(main->Current, unit_);
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(Status().rfind("Сборка завершена: предупреждений 0, "_cp, 0), 0u) << Status();
  EXPECT_EQ(Status().back(), "с"_cp[0]) << "the time taken";
  ASSERT_TRUE(fs::exists(Program()));

  Select(entry);
  Command(17);
  EXPECT_FALSE(main->Workshop->Building()) << "the program is newer than the application";
  ASSERT_TRUE(Quiet());
  EXPECT_TRUE(HasLine("[программа] hello"_cp));
  EXPECT_TRUE(HasLine("[программа, ошибки] oops"_cp));
  EXPECT_EQ(Lines().back(), "Программа Demo завершилась с кодом 3"_cp);
  EXPECT_EQ(Status(), "Программа Demo завершилась с кодом 3"_cp);

  // Changed code: Run builds first, then starts the new program.
  Select(entry);
  main->CodeEditor->Memo->SetText("std::puts(\"changed\");\r\nreturn 0;\r\n");
  Command(17);
  EXPECT_TRUE(main->Workshop->Building());
  ASSERT_TRUE(WaitFor([this] { return HasLine("Программа Demo завершилась с кодом 0"_cp); }));
  EXPECT_TRUE(HasLine("[программа] changed"_cp));
}

TEST_F(BuildRunTest, AnErrorLineLeadsToTheLineOfTheOperationsCode) {
  COperInfo* entry = MakeProgram("return 0;\r\n");
  Select(entry);
  Command(16);
  ASSERT_TRUE(Quiet());
  const auto built = fs::last_write_time(Program());

  main->CodeEditor->Memo->SetText("int a = 1;\r\nundeclared_thing(a);\r\nreturn a;\r\n");
  Select(unit_);  // writes the code back
  Command(16);
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(Status().rfind("Сборка не удалась: ошибок "_cp, 0), 0u) << Status();
  EXPECT_EQ(fs::last_write_time(Program()), built) << "a failed build keeps the program";
  const int row = FirstPlacedRow();
  ASSERT_GE(row, 0) << "no error row leads to the code";
  const COutputBox::CPlace* place = COutputBox::PlaceOf(main->BottomBox->Line(row));
  EXPECT_EQ(place->Kind, compiler::LineKind::Error);
  EXPECT_EQ(place->Element, entry);
  EXPECT_EQ(place->CodeLine, 1);
  EXPECT_NE(main->BottomBox->Line(row)->Caption.ToStd().find("undeclared_thing"), std::string::npos);

  PressRow(row);
  EXPECT_EQ(main->Tree->Selected, entry);
  ASSERT_NE(main->CodeEditor, nullptr);
  EXPECT_TRUE(main->CodeEditor->Visible);
  EXPECT_EQ(main->CodeEditor->Memo->CaretLine.Value, 1);
  EXPECT_EQ(main->View->GetFocused(), main->CodeEditor->Memo);

  // Once the operation is deleted its rows lead nowhere, and a press on one changes nothing.
  Select(entry);
  Command(6, true);
  PressRow(row);
  EXPECT_EQ(main->Tree->Selected, nullptr);
  EXPECT_EQ(FirstPlacedRow(), -1);
}

// The work goes on beside the tree: deleting the application while its build runs leaves the
// list's rows leading nowhere, and a second Run while the program runs starts nothing.
TEST_F(BuildRunTest, TheTreeMayChangeWhileABuildOrTheProgramRuns) {
  COperInfo* entry = MakeProgram("int a = 1;\r\nundeclared_thing(a);\r\nreturn a;\r\n");
  Select(entry);
  Command(16);
  ASSERT_TRUE(main->Workshop->Building());
  Select(app_->Parent);
  Command(6, true);
  EXPECT_EQ(Root().ChildCount().Value, 0);
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(Status().rfind("Сборка не удалась: ошибок "_cp, 0), 0u) << Status();
  EXPECT_EQ(FirstPlacedRow(), -1) << "a row leads to a destroyed element";

  Root().Children.Clear();
  entry = MakeProgram("std::puts(\"waiting\");\r\nstd::fflush(stdout);\r\nfor (;;) {}\r\n");
  Select(entry);
  Command(17);
  ASSERT_TRUE(WaitFor([this] { return HasLine("[программа] waiting"_cp); }));
  ASSERT_TRUE(main->Workshop->ProgramRuns());
  const int rows = main->BottomBox->Count().Value;
  Command(17);
  EXPECT_EQ(Status(), "Программа Demo ещё работает"_cp);
  EXPECT_EQ(main->BottomBox->Count().Value, rows) << "nothing new started";
  // Closing the environment stops the program.
  gui.reset();
  main = nullptr;
}

// An application whose entry is a designed form: its construction code and main are generated,
// and an error in the click operation leads to that operation.
TEST_F(BuildRunTest, ADesignedFormBuildsAndItsClickOperationsErrorsLeadToIt) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  app_ = Make(group, "CAppInfo", "Demo");
  unit_ = static_cast<CUnitInfo*>(Make(app_, "CUnitInfo", "Main"));
  auto* form = static_cast<CClassInfo*>(Make(unit_, "CClassInfo", "TForm1"));
  form->Base = "CForm";
  form->Extra() = "design 1\n"
                  "CLabel Label1 rect=16,16,200,40 text=\"Not yet\"\n"
                  "CButton Button1 rect=16,60,120,90 text=\"Go\" click=\"Button1Click\"\n";
  COperInfo* click = MakeOper(form, "Button1Click", "Label1->Caption->Str = \"Pressed\";\r\n");
  click->Type = "void";
  click->Access = 2;
  Select(click);
  Command(16);
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(Status().rfind("Сборка завершена"_cp, 0), 0u) << Status();
  EXPECT_TRUE(fs::exists(Program()));

  main->CodeEditor->Memo->SetText("Label1->Caption->Str = \"Pressed\";\r\nLabel2->Invalidate();\r\n");
  Command(16);
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(Status().rfind("Сборка не удалась"_cp, 0), 0u) << Status();
  const int row = FirstPlacedRow();
  ASSERT_GE(row, 0);
  EXPECT_EQ(COutputBox::PlaceOf(main->BottomBox->Line(row))->Element, click);
  EXPECT_EQ(COutputBox::PlaceOf(main->BottomBox->Line(row))->CodeLine, 1);
}

TEST_F(BuildRunTest, UnsafeNamesAreRefusedBeforeAnythingIsWrittenOrStarted) {
  struct Case {
    const char* group;
    const char* application;
    const char* unit;
    const char* named;
  };
  const Case cases[] = {
      {"Work", "../Demo", "Main", "../Demo"},
      {"Wo/rk", "Demo", "Main", "Wo/rk"},
      {"Work", "Demo", "a\\b", "a\\b"},
      {"Work", "", "Main", ""},
  };
  for (const Case& c : cases) {
    for (int command : {16, 17}) {
      Root().Children.Clear();
      main->Tree->Selected = nullptr;
      main->Current = nullptr;
      CInfo* app = Make(Make(&Root(), "CProjectGroupInfo", c.group), "CAppInfo", c.application);
      CInfo* entry = MakeOper(Make(app, "CUnitInfo", c.unit), "main", "return 0;");
      Select(entry);
      testing::internal::CaptureStderr();
      Command(command);
      const std::string told = testing::internal::GetCapturedStderr();
      EXPECT_NE(told.find(platform::Cp1251ToUtf8(UnsafeNameWords())), std::string::npos) << told;
      EXPECT_NE(told.find("\"" + std::string(c.named) + "\"\n"), std::string::npos) << told;
      EXPECT_FALSE(main->Workshop->Building());
      EXPECT_FALSE(main->Workshop->ProgramRuns());
      std::vector<std::string> made;
      for (const auto& file : fs::recursive_directory_iterator(platform::LinuxPath("C:\\Qxe")))
        if (file.path().string().find("/Pics") == std::string::npos)
          made.push_back(file.path().string());
      EXPECT_EQ(made, std::vector<std::string>{}) << c.named << " command " << command;
    }
  }
}

TEST_F(BuildRunTest, WithoutACompilerBuildSaysSoAndStartsNothing) {
  COperInfo* entry = MakeProgram("return 0;\r\n");
  setenv("CXX", "no-such-compiler-anywhere", 1);
  Select(entry);
  testing::internal::CaptureStderr();
  Command(16);
  const std::string told = testing::internal::GetCapturedStderr();
  unsetenv("CXX");
  EXPECT_NE(told.find("no-such-compiler-anywhere"), std::string::npos) << told;
  EXPECT_FALSE(main->Workshop->Building());
  EXPECT_EQ(Status(), "Сборка не начата"_cp);
  EXPECT_FALSE(fs::exists(Program()));
}

TEST_F(BuildRunTest, RunOutsideAnApplicationDoesNothing) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  CInfo* library = Make(group, "CLibInfo", "Tools");
  CInfo* loose = Make(&Root(), "CUnitInfo", "Loose");
  for (CInfo* element : {group, library, loose}) {
    Select(element);
    Command(17);
    EXPECT_FALSE(main->Workshop->Building()) << element->GetName().ToStd();
    EXPECT_FALSE(main->Workshop->ProgramRuns()) << element->GetName().ToStd();
    EXPECT_EQ(main->BottomBox->Count().Value, 0);
  }
}

// A unit's editor shows its head texts, and what is typed there goes back into the unit.
TEST_F(BuildRunTest, SelectingAUnitEditsItsHeadTexts) {
  CInfo* app = Make(Make(&Root(), "CProjectGroupInfo", "Work"), "CAppInfo", "Demo");
  auto* unit = static_cast<CUnitInfo*>(Make(app, "CUnitInfo", "Main"));
  unit->UnitExtra = WriteHeads({"#include <vector>\r\n", "#include <cstdio>\r\n"});
  auto* other = static_cast<CUnitInfo*>(Make(app, "CUnitInfo", "Other"));
  other->UnitExtra = "a free text kept from before";
  Select(unit);
  ASSERT_NE(main->HeadsEditor, nullptr);
  EXPECT_TRUE(main->HeadsEditor->Visible);
  EXPECT_EQ(main->HeadsEditor->Header->GetText(), "#include <vector>\r\n");
  EXPECT_EQ(main->HeadsEditor->Source->GetText(), "#include <cstdio>\r\n");

  main->HeadsEditor->Source->SetText("#include <cstdio>\r\n#define LIMIT 10\r\n");
  Select(other);
  EXPECT_FALSE(static_cast<CHeadsForm*>(unit->EditorWindow)->Visible);
  const HeadTexts heads = ReadHeads(unit->UnitExtra);
  EXPECT_EQ(heads.Header, "#include <vector>\r\n");
  EXPECT_EQ(heads.Source, "#include <cstdio>\r\n#define LIMIT 10\r\n");

  // Looking at a unit writes nothing back: its free text stays as it was.
  Select(unit);
  EXPECT_EQ(other->UnitExtra, "a free text kept from before");
  Select(other);
  Select(unit);
  EXPECT_EQ(other->UnitExtra, "a free text kept from before");
}

}  // namespace
