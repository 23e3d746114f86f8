// The toolbar's commands on the project tree, used through the window as a person would: the
// click on the command, the answer to its question, the kind picked in the add dialog.
#include <chrono>
#include <functional>
#include <thread>

#include <SDL.h>

#include "platform/Video.h"
#include "platform/Window.h"
#include "tests/ide/IdeFixture.h"
#include "tests/import/Tree.h"

namespace {

using namespace qxtest;

// [Add and SubAdd]

TEST_F(IdeTest, TheAddDialogOffersTheKindsTheParentMayHold) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  CInfo* application = Make(group, "CAppInfo", "Demo");
  CInfo* library = Make(group, "CLibInfo", "Tools");
  CInfo* unit = Make(application, "CUnitInfo", "Main");
  CInfo* klass = Make(unit, "CClassInfo", "TForm1");
  CInfo* structure = Make(unit, "CStructInfo", "TPoint");
  CInfo* oper = MakeOper(klass, "Paint", "");
  CInfo* attribute = Make(structure, "CAtrInfo", "X");
  const struct {
    const char* what;
    CInfo* select;  // null: nothing selected
    int command;
    std::vector<int> offered;
  } rows[] = {
      {"Add with nothing selected", nullptr, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"SubAdd with nothing selected", nullptr, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"SubAdd on a project group", group, 5, {1, 2, 3}},
      {"SubAdd on an application", application, 5, {4, 5}},
      {"SubAdd on a library", library, 5, {4, 5}},
      {"Add beside a top-level group", group, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"SubAdd on a unit", unit, 5, {7, 8, 10, 11}},
      {"SubAdd on a class", klass, 5, {7, 8}},
      {"SubAdd on a structure", structure, 5, {7, 8}},
      {"SubAdd on an operation", oper, 5, {}},
      {"SubAdd on an attribute", attribute, 5, {}},
      {"Add beside a class", klass, 4, {7, 8, 10, 11}},
      {"Add beside an operation", oper, 4, {7, 8}},
  };
  for (const auto& row : rows) {
    main->Tree->Selected = nullptr;
    if (row.select) Select(row.select);
    QueueCommand(row.command);
    QueueCloseDialog();
    std::vector<int> shown;
    // What the dialog showed while it waited is what it shows after the close.
    Settle();
    for (int kind = 1; kind <= 12; ++kind)
      if (main->AddDialog()->KindButtons[kind]->Visible) shown.push_back(kind);
    EXPECT_EQ(shown, row.offered) << row.what;
  }
}

// A class goes into its unit and its members into it straight away, and they stay there through
// a save and a new start.
TEST_F(IdeTest, SubAddPutsClassesInUnitsAndMembersInClasses) {
  CInfo* application = Make(Make(&Root(), "CProjectGroupInfo", "Work"), "CAppInfo", "Demo");
  CInfo* unit = Make(application, "CUnitInfo", "Main");
  Select(unit);
  AddVia(5, 11, "TForm1");
  AddVia(5, 10, "TPoint");
  ASSERT_EQ(unit->ChildCount().Value, 2);
  Select(unit->Child(0));
  AddVia(5, 8, "Paint");
  AddVia(5, 7, "Count");
  Select(unit->Child(1));
  AddVia(5, 7, "X");
  const std::string tree =
      "CProjectGroupInfo Work\n  CAppInfo Demo\n    CUnitInfo Main\n      class TForm1\n"
      "        oper Paint type= access=0\n        atr Count type= access=0\n"
      "      CStructInfo TPoint\n        atr X type= access=0\n";
  EXPECT_EQ(Describe(&Root()), tree);
  Command(3, true);
  Start();
  EXPECT_EQ(Describe(&Root()), tree);
}

TEST_F(IdeTest, TheObjectButtonInNoEntryStaysVisibleUnderEveryParent) {
  CInfo* unit = Make(&Root(), "CUnitInfo", "Main");
  Select(unit);
  QueueCommand(5);
  QueueCloseDialog();
  Settle();
  // The "Объект" button: the picture button at (160, 265) of the face.
  int visibleObjectButtons = 0;
  for (std::int32_t i = 0; i < main->AddDialog()->Client->ChildCount().Value; ++i) {
    auto* button = dynamic_cast<CPicButton*>(main->AddDialog()->Client->GetChild(i));
    if (button && button->GetX().Round().Value == 160 && button->GetY().Round().Value == 265)
      visibleObjectButtons += button->Visible ? 1 : 0;
  }
  EXPECT_EQ(visibleObjectButtons, 1);
  EXPECT_EQ(Root().Child(0)->ChildCount().Value, 0);
}

TEST_F(IdeTest, AddAppendsTheChosenKindWithTheNameAndDescriptionAsTyped) {
  AddVia(4, 1, " Work 1 ");
  ASSERT_EQ(Root().ChildCount().Value, 1);
  CInfo* group = Root().Child(0);
  EXPECT_EQ(group->ClassName(), "CProjectGroupInfo");
  EXPECT_EQ(group->GetName(), " Work 1 ");   // not trimmed
  EXPECT_EQ(group->About, "\r\n");           // the one empty line of the description
  EXPECT_EQ(main->Tree->Selected, nullptr);  // the new element is not selected

  Select(group);
  AddVia(5, 2, "Demo");
  Select(group->Child(0));
  AddVia(5, 5, "Main");
  Select(group->Child(0)->Child(0));
  AddVia(4, 5, "Second");  // a sibling of the unit
  EXPECT_EQ(Describe(&Root()),
            "CProjectGroupInfo  Work 1 \n"
            "  CAppInfo Demo\n"
            "    CUnitInfo Main\n"
            "    CUnitInfo Second\n");
}

TEST_F(IdeTest, AnEmptyNameIsAllowed) {
  AddVia(4, 11, "");
  ASSERT_EQ(Root().ChildCount().Value, 1);
  EXPECT_EQ(Root().Child(0)->ClassName(), "CClassInfo");
  EXPECT_EQ(Root().Child(0)->GetName(), "");
}

TEST_F(IdeTest, TypeAndTheCloseButtonCreateNothingButKeepTheTypedName) {
  AddVia(4, 9, "Nothing");
  EXPECT_EQ(Root().ChildCount().Value, 0);
  QueueCommand(4);
  QueueName("Cancelled");
  QueueCloseDialog();
  Settle();
  EXPECT_EQ(Root().ChildCount().Value, 0);
  EXPECT_EQ(main->AddDialog()->NameEdit->GetText(), "Cancelled");
  EXPECT_FALSE(main->AddDialog()->Visible);
}

// [Questions]

TEST_F(IdeTest, NoToAnyQuestionChangesNothing) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  Make(group, "CAppInfo", "Demo");
  ASSERT_EQ(SaveConfig(*CoreApp), "");
  Make(group, "CLibInfo", "Unsaved");
  const std::string fileBefore = FileBytes(kConf);
  const std::string treeBefore = Describe(&Root());
  Select(group);
  for (int command : {1, 2, 3, 6}) {
    Command(command, false);
    EXPECT_EQ(Describe(&Root()), treeBefore) << command;
    EXPECT_EQ(FileBytes(kConf), fileBefore) << command;
  }
  // The close button of the question answers no as well.
  QueueCommand(6);
  QueueClick(app->MsgDlg->Caption->CloseButton->GetAbsM1() + CPoint(5, 5));
  Settle();
  EXPECT_EQ(Describe(&Root()), treeBefore);
}

TEST_F(IdeTest, TheQuestionsAreTheCommandsOwn) {
  Make(&Root(), "CProjectGroupInfo", "Work");
  Select(Root().Child(0));
  const struct {
    int command;
    const char* question;
  } rows[] = {
      {1, "Создать все проекты заново?"_cp},
      {2, "Загрузить все проекты?"_cp},
      {3, "Сохранить все проекты?"_cp},
      {6, "Удалить элемент?"_cp},
  };
  for (const auto& row : rows) {
    Command(row.command, false);
    EXPECT_EQ(app->MsgDlg->MessageText->Str, row.question);
  }
}

TEST_F(IdeTest, CommandsAndRowsPressedWhileAQuestionWaitsAreIgnored) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  CInfo* unit = Make(group, "CUnitInfo", "Main");
  Make(group, "CUnitInfo", "Other");
  Select(unit);
  QueueCommand(6);  // Delete asks ...
  QueueCommand(1);  // ... New pressed meanwhile would empty the tree under it
  QueueCommand(4);  // ... and Add would wait for a second dialog
  QueueClick(main->Tree->Client->GetAbsM1() + CPoint(40, 8));  // a press on the group's row
  QueueAnswer(true);
  Settle();
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Work\n  CUnitInfo Other\n");
  EXPECT_FALSE(main->AddDialog()->Visible);
  EXPECT_EQ(main->Current, nullptr);

  // The add dialog waits the same way.
  QueueCommand(4);
  QueueCommand(6);
  QueueName("Second");
  QueueKind(1);
  Settle();
  EXPECT_EQ(Describe(&Root()),
            "CProjectGroupInfo Work\n  CUnitInfo Other\nCProjectGroupInfo Second\n");
}

// What the user sees highlighted while the question waits is what Yes destroys: a press on
// another row then moves nothing.
TEST_F(IdeTest, ARowPressedWhileDeleteAsksLeavesTheHighlightOnWhatIsDeleted) {
  CInfo* first = Make(&Root(), "CProjectGroupInfo", "First");
  Make(&Root(), "CProjectGroupInfo", "Second");
  Select(first);
  // A window of the test's own notes the tree's highlight when its message comes, between the
  // press and the answer.
  struct Probe {
    CInfoTreeBox* tree;
    CInfo* seen = nullptr;
  } probe{main->Tree};
  const platform::WindowId window = platform::CreateWindow(0, 0, 1, 1);
  platform::SetWindowProcedure(
      window,
      [](void* context, const platform::Message& m) -> std::int32_t {
        auto* p = static_cast<Probe*>(context);
        if (m.kind == platform::MessageKind::User) p->seen = p->tree->Selected;
        return 0;
      },
      &probe);
  QueueCommand(6);
  QueueClick(main->Tree->Client->GetAbsM1() + CPoint(40, 16 + 8));  // the second row
  platform::PostMessage({window, platform::MessageKind::User, 0, 0});
  QueueAnswer(true);
  Settle();
  platform::DestroyWindow(window);
  EXPECT_EQ(probe.seen, first) << "the highlight moved while the question waited";
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Second\n");
}

TEST_F(IdeTest, SaveNewAndOpenRoundTheTreeThroughTheFile) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  MakeOper(Make(group, "CUnitInfo", "Main"), "Paint", "x\r\n");
  const std::string tree = Describe(&Root());
  Command(3, true);
  Command(1, true);
  EXPECT_EQ(Root().ChildCount().Value, 0);
  Command(2, true);
  EXPECT_EQ(Describe(&Root()), tree);
}

TEST_F(IdeTest, OpenOfADamagedFileKeepsTheTree) {
  Make(&Root(), "CProjectGroupInfo", "Work");
  const std::string tree = Describe(&Root());
  WriteFileBytes(kConf, std::string("Qx\x05\x00\x05\x00\x00\x00"
                                    "CFile\x05\x00\x10\x00\x00\x00",
                                    19));
  Command(2, true);
  EXPECT_EQ(Describe(&Root()), tree);
}

TEST_F(IdeTest, AFailedSaveKeepsThePreviousFile) {
  Make(&Root(), "CProjectGroupInfo", "Work");
  Command(3, true);
  const std::string saved = FileBytes(kConf);
  // Deeper than the loader reads: refused before the file is touched.
  CInfo* node = Root().Child(0);
  for (int i = 0; i < CInfo::kMaxDepth + 5; ++i) node = Make(node, "CUnitInfo", "U");
  Command(3, true);
  EXPECT_EQ(FileBytes(kConf), saved);
}

// [Delete, Up, Down]

TEST_F(IdeTest, DeleteRemovesATopLevelElementWithItsSubtree) {
  CInfo* first = Make(&Root(), "CProjectGroupInfo", "First");
  Make(first, "CAppInfo", "Demo");
  Make(&Root(), "CProjectGroupInfo", "Second");
  Select(first);
  Command(6, true);
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Second\n");
  EXPECT_EQ(main->Tree->Selected, nullptr);
  EXPECT_EQ(main->Current, nullptr);
  Command(6);  // nothing selected: no question, nothing deleted
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Second\n");
}

TEST_F(IdeTest, UpAndDownExchangeNeighboursButNotPastTheEnds) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  CInfo* a = Make(group, "CAppInfo", "A");
  Make(group, "CAppInfo", "B");
  CInfo* c = Make(group, "CAppInfo", "C");
  auto order = [&] {
    std::string out;
    for (std::int32_t i = 0; i < group->ChildCount().Value; ++i)
      out += group->Child(i)->GetName().ToStd();
    return out;
  };
  Select(a);
  Command(8);
  EXPECT_EQ(order(), "ABC");  // up on the first
  Command(9);
  EXPECT_EQ(order(), "BAC");
  Select(c);
  Command(9);
  EXPECT_EQ(order(), "BAC");  // down on the last
  Command(8);
  EXPECT_EQ(order(), "BCA");
}

// [Cut, Copy, Paste]

TEST_F(IdeTest, CopyThenPasteTwiceAppendsTwoCopies) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  CInfo* application = Make(group, "CAppInfo", "Demo");
  MakeOper(Make(application, "CUnitInfo", "Main"), "Paint", "x");
  Make(group, "CLibInfo", "Tools");
  Select(application);
  Command(11);
  Command(12);
  Command(12);
  EXPECT_EQ(Describe(group),
            "CAppInfo Demo\n  CUnitInfo Main\n    oper Paint type= access=0\n"
            "CLibInfo Tools\n"
            "CAppInfo Demo\n  CUnitInfo Main\n    oper Paint type= access=0\n"
            "CAppInfo Demo\n  CUnitInfo Main\n    oper Paint type= access=0\n");
  EXPECT_EQ(main->Tree->Selected, group->Child(3));
  EXPECT_EQ(static_cast<COperInfo*>(group->Child(3)->Child(0)->Child(0))->Code, "x");
}

TEST_F(IdeTest, CutThenPasteMovesToTheEndOfTheTarget) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  CInfo* a = Make(group, "CAppInfo", "A");
  Make(group, "CAppInfo", "B");
  Select(a);
  Command(10);
  EXPECT_EQ(main->Tree->CutElement, a);
  EXPECT_EQ(main->CutPending.Value, 1);
  Select(group->Child(1));
  Command(12);
  EXPECT_EQ(Describe(group), "CAppInfo B\nCAppInfo A\n");
  EXPECT_EQ(main->CutPending.Value, 0);
  EXPECT_EQ(main->Tree->CutElement, nullptr);
  // The clipboard keeps its element: a further Paste copies it.
  Command(12);
  EXPECT_EQ(Describe(group), "CAppInfo B\nCAppInfo A\nCAppInfo A\n");
}

TEST_F(IdeTest, PasteWithASelectedTopLevelElementPastesAtTopLevel) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  Select(group);
  Command(11);
  Command(12);
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Work\nCProjectGroupInfo Work\n");
  Command(13);  // SubPaste: into the selection, which is now the copy
  EXPECT_EQ(Describe(&Root()),
            "CProjectGroupInfo Work\nCProjectGroupInfo Work\n  CProjectGroupInfo Work\n");
}

TEST_F(IdeTest, PasteIntoTheCutElementsOwnSubtreeIsRefused) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  CInfo* application = Make(group, "CAppInfo", "Demo");
  CInfo* unit = Make(application, "CUnitInfo", "Main");
  const std::string tree = Describe(&Root());
  Select(application);
  Command(10);
  Command(13);  // into itself
  EXPECT_EQ(Describe(&Root()), tree);
  Select(unit);
  Command(13);  // into its own child
  Command(12);  // beside its own child
  EXPECT_EQ(Describe(&Root()), tree);
  EXPECT_EQ(main->CutPending.Value, 1);
  Select(group);
  Command(13);  // elsewhere: moved
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Work\n  CAppInfo Demo\n    CUnitInfo Main\n");
  EXPECT_NE(group->Child(0), application);
}

TEST_F(IdeTest, PasteWithNothingCutOrCopiedDoesNothing) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  Select(group);
  Command(12);
  Command(13);
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Work\n");
}

// [Clear]

TEST_F(IdeTest, ClearEmptiesTheCodeOfOperationsAtOrBelowTheSelection) {
  CInfo* unit = Make(&Root(), "CUnitInfo", "Main");
  CInfo* klass = Make(unit, "CClassInfo", "TForm1");
  COperInfo* paint = MakeOper(klass, "Paint", "paint();");
  COperInfo* draw = MakeOper(klass, "Draw", "draw();");
  COperInfo* global = MakeOper(unit, "Run", "run();");
  CInfo* other = Make(&Root(), "CUnitInfo", "Other");
  COperInfo* kept = MakeOper(other, "Keep", "keep();");
  Select(paint);
  Command(15);
  EXPECT_EQ(paint->Code, "");
  EXPECT_EQ(draw->Code, "draw();");
  Select(unit);
  Command(15);
  EXPECT_EQ(draw->Code, "");
  EXPECT_EQ(global->Code, "");
  EXPECT_EQ(kept->Code, "keep();");
}

}  // namespace

namespace qxtest {
namespace {

// The environment on a real display, where the import's report boxes wait for their answers.
class IdeDisplayTest : public IdeTest {
 protected:
  void SetUp() override {
    if (platform::detail::VideoIsHeadless()) GTEST_SKIP() << "needs a real display (run under Xvfb)";
  }
};

// While an import's report box waits, the main window's commands do nothing: New pressed during
// the first box and Save during the fifth ask no question (one would be answered Yes) and write
// no file.
TEST_F(IdeDisplayTest, CommandsPressedWhileAnImportReportWaitsDoNothing) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  CInfo* unit = Make(group, "CUnitInfo", "Main");
  WriteFileBytes("C:\\Qxe\\Work\\Main.h", "class A {\n void Start(\n");
  Select(unit);
  // A person at the display: a command pressed as a box comes up, then Enter for it; Yes for
  // any question.
  struct Person {
    std::function<bool()> asking;
    std::function<void()> answer;
    std::function<void(int)> command;
    platform::WindowId main;
    platform::WindowId box = 0;
    int boxes = 0;
    int questions = 0;
  } person{[this] { return bool(app->MsgDlg->Visible); }, [this] { QueueAnswer(true); },
           [this](int number) { QueueCommand(number); }, Gui::WindowOf(*main)};
  const platform::TimerId timer = platform::SetTimer(
      0, 50,
      [](void* context, const platform::Message&) -> std::int32_t {
        auto* p = static_cast<Person*>(context);
        if (p->asking()) {
          ++p->questions;
          p->answer();
          return 0;
        }
        for (Uint32 id = 1; id < 4096; ++id) {
          SDL_Window* w = SDL_GetWindowFromID(id);
          const platform::WindowId window = platform::detail::WindowOfSdl(id);
          if (!w || window == p->main || window == p->box) continue;
          p->box = window;
          ++p->boxes;
          if (p->boxes == 1) p->command(1);  // New
          if (p->boxes == 5) p->command(3);  // Save
          SDL_Event e{};
          e.type = SDL_KEYDOWN;
          e.key.windowID = id;
          e.key.keysym.scancode = SDL_SCANCODE_RETURN;
          SDL_PushEvent(&e);
          return 0;
        }
        return 0;
      },
      &person);
  QueueCommand(14);  // Import
  Settle();
  platform::KillTimer(timer);
  EXPECT_EQ(person.boxes, 6);
  EXPECT_EQ(person.questions, 0) << "a command pressed during a report box went on to ask";
  EXPECT_FALSE(std::filesystem::exists(platform::LinuxPath(kConf))) << "Save wrote the file";
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Work\n  CUnitInfo Main\n");
}

}  // namespace
}  // namespace qxtest
