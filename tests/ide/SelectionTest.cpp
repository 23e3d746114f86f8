// What a press on a tree row shows: the properties in the tuner, the code editor of an operation
// and the designer of a form class, one window per element; and what is let go of when elements
// are destroyed while their windows, the selection or a cut mark point at them.
#include "designer/DsgnForm.h"
#include "designer/Map.h"
#include "ide/EditForm.h"
#include "ide/HeadsForm.h"
#include "tests/ide/IdeFixture.h"
#include "tests/import/Tree.h"
#include "widgets/Memo.h"
#include "widgets/ScrollBar.h"
#include "widgets/TabControl.h"
#include "widgets/Tuner.h"

namespace {

using namespace qxtest;

class SelectionTest : public IdeTest {
 protected:
  SelectionTest() {
    group = Make(&Root(), "CProjectGroupInfo", "Work");
    application = Make(group, "CAppInfo", "Demo");
    unit = Make(application, "CUnitInfo", "Main");
    form = static_cast<CClassInfo*>(Make(unit, "CClassInfo", "TForm1"));
    form->Base = "CForm";
    paint = MakeOper(form, "Paint", "x");
    draw = MakeOper(form, "Draw", "");
    main->Invalidate();
    Settle();
  }

  CEditForm* EditorOf(CInfo* element) { return dynamic_cast<CEditForm*>(element->EditorWindow); }

  CInfo* group;
  CInfo* application;
  CInfo* unit;
  CClassInfo* form;
  COperInfo* paint;
  COperInfo* draw;
};

TEST_F(SelectionTest, APressShowsTheElementsPropertiesInTheTuner) {
  Select(unit);
  EXPECT_EQ(main->Current, unit);
  EXPECT_EQ(main->Tuner->Shown, unit);
  EXPECT_EQ(main->CodeEditor, nullptr);
  EXPECT_EQ(main->Designer, nullptr);
}

TEST_F(SelectionTest, AnOperationGetsOneEditorThatKeepsTheEditedText) {
  Select(paint);
  CEditForm* editor = EditorOf(paint);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(main->CodeEditor, editor);
  EXPECT_TRUE(editor->Visible);
  EXPECT_EQ(editor->Parent, main->Workspace);
  EXPECT_EQ(Corners(*editor), "(0,0)-(" +
                                  std::to_string(main->Workspace->GetWidth().Round().Value) + "," +
                                  std::to_string(main->Workspace->GetHeight().Round().Value) + ")");
  EXPECT_EQ(editor->Memo->GetText(), "x\r\n");
  EXPECT_EQ(editor->TabStrip->Selected.Value, 2);  // "OBJ"

  // Typed at the end of the line, then another row: written back; the same window again.
  QueueClick(editor->Memo->GetAbsM1() + CPoint(100, 5));
  QueueType("yz");
  Settle();
  Select(unit);
  EXPECT_FALSE(editor->Visible);
  EXPECT_EQ(paint->Code, "xyz\r\n");
  Select(paint);
  EXPECT_EQ(EditorOf(paint), editor);
  EXPECT_TRUE(editor->Visible);
  EXPECT_EQ(editor->Memo->GetText(), "xyz\r\n");
}

// Keys pressed after another row was pressed reach no hidden window: neither the editor of the
// operation left (whose text the next press would write back), nor the add dialog's name.
TEST_F(SelectionTest, KeysTypedOnceTheEditorIsHiddenChangeNoCode) {
  Select(paint);
  CEditForm* editor = EditorOf(paint);
  ASSERT_NE(editor, nullptr);
  QueueClick(editor->Memo->GetAbsM1() + CPoint(100, 5));
  QueueType("yz");
  Settle();
  for (CInfo* other : {unit, static_cast<CInfo*>(form)}) {  // a plain row, and a designed class
    Select(other);
    for (int i = 0; i < 6; ++i) QueueKey(14, 8);  // BackSpace
    QueueType("abc");
    QueueKey(28);  // Enter (Delete would now ask to delete the pressed row)
    Settle();
    Select(paint);
    EXPECT_EQ(paint->Code, "xyz\r\n") << other->GetName().ToStd();
    EXPECT_EQ(editor->Memo->GetText(), "xyz\r\n") << other->GetName().ToStd();
  }

  Select(group);
  AddVia(4, 1, "Rest");
  CEdit* name = main->AddDialog()->NameEdit;
  ASSERT_EQ(name->GetText(), "Rest");
  QueueType("abc");
  Settle();
  EXPECT_EQ(name->GetText(), "Rest") << "typed into the closed add dialog";
}

TEST_F(SelectionTest, TheCodeEditorIsAGreyWindowWithoutButtonsOverItsTabs) {
  Select(paint);
  CEditForm* editor = EditorOf(paint);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->ClassName(), "CForm");
  EXPECT_EQ(editor->Caption->Color, CColor(0.5, 0.5, 0.5));
  EXPECT_EQ(editor->Caption->Title->Color, CColor(0.75, 0.75, 0.75));
  EXPECT_FALSE(editor->Sizable);
  for (CControl* part : {static_cast<CControl*>(editor->Caption->MinimizeButton),
                         static_cast<CControl*>(editor->Caption->MaximizeButton),
                         static_cast<CControl*>(editor->Caption->RestoreButton),
                         static_cast<CControl*>(editor->Caption->CloseButton),
                         static_cast<CControl*>(editor->Caption->Icon)})
    EXPECT_FALSE(part->Visible);
  ASSERT_EQ(editor->TabStrip->Tabs.Count().Value, 3);
  EXPECT_EQ(editor->TabStrip->GetTabText(0), "C++");
  EXPECT_EQ(editor->TabStrip->GetTabText(1), "ASM");
  EXPECT_EQ(editor->TabStrip->GetTabText(2), "OBJ");
  EXPECT_EQ(editor->TabStrip->Selected.Value, 2);
  // The memo fills the face, which ends a unit above the strip.
  EXPECT_EQ(editor->Memo->GetWidth(), editor->Client->GetWidth());
  EXPECT_EQ(editor->Memo->GetHeight(), editor->Client->GetHeight());
  EXPECT_EQ(editor->Client->GetY2() + CFloat(1), editor->TabStrip->GetY1());

  // "C++" is only a tab: the editor keeps its text.
  QueueClick(editor->TabStrip->GetAbsM1() + CPoint(10, 8));
  Settle();
  EXPECT_EQ(editor->TabStrip->Selected.Value, 0);
  EXPECT_EQ(editor->Memo->GetText(), "x\r\n");
}

TEST_F(SelectionTest, AnOperationWithoutCodeGetsOneEmptyLine) {
  Select(draw);
  ASSERT_NE(EditorOf(draw), nullptr);
  EXPECT_EQ(EditorOf(draw)->Memo->Lines->Count().Value, 1);
  Select(unit);
  EXPECT_EQ(draw->Code, "\r\n");
}

TEST_F(SelectionTest, ClearEmptiesTheEditorsOfTheOperationsToo) {
  Select(paint);  // shown
  Select(draw);
  Select(unit);
  Command(15);
  Select(paint);
  EXPECT_EQ(EditorOf(paint)->Memo->GetText(), "\r\n");
  Command(15);  // on the shown operation
  Select(unit);
  EXPECT_EQ(paint->Code, "\r\n");  // one empty line, as an operation without code gives
}

TEST_F(SelectionTest, TextTypedAndSavedBeforeAnotherPressIsNotInTheFile) {
  Select(paint);
  QueueClick(EditorOf(paint)->Memo->GetAbsM1() + CPoint(100, 5));
  QueueType("q");
  Settle();
  Command(3, true);
  EXPECT_EQ(paint->Code, "x");
  Select(paint);  // the same row again writes back
  EXPECT_EQ(paint->Code, "xq\r\n");
}

TEST_F(SelectionTest, AFormClassGetsOneDesignerAndOtherClassesNone) {
  Select(form);
  auto* designer = dynamic_cast<CDsgnForm*>(form->EditorWindow);
  ASSERT_NE(designer, nullptr);
  EXPECT_EQ(main->Designer, designer);
  EXPECT_TRUE(designer->Visible);
  Select(paint);
  EXPECT_FALSE(designer->Visible);
  Select(form);
  EXPECT_EQ(form->EditorWindow, designer);
  EXPECT_TRUE(designer->Visible);

  const struct {
    const char* base;
    bool designed;
  } rows[] = {
      {"CPanel", true}, {"CControl", false}, {"CObject", false}, {"TUnknown", false}, {"", false}};
  for (const auto& row : rows) {
    auto* klass = static_cast<CClassInfo*>(Make(unit, "CClassInfo", "T"));
    klass->Base = row.base;
    Select(klass);
    EXPECT_EQ(klass->EditorWindow != nullptr, row.designed) << row.base;
  }
}

// [Elements destroyed under the windows]

TEST_F(SelectionTest, DeleteLetsGoOfTheEditorDesignerAndCutMarkBelowIt) {
  Select(form);
  Select(paint);
  QueueClick(EditorOf(paint)->Memo->GetAbsM1() + CPoint(100, 5));
  QueueType("lost");
  Settle();
  Command(10);  // Cut the operation
  Select(application);
  Command(6, true);
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Work\n");
  EXPECT_EQ(main->Current, nullptr);
  EXPECT_EQ(main->Tree->Selected, nullptr);
  EXPECT_EQ(main->Tree->CutElement, nullptr);
  EXPECT_EQ(main->CutPending.Value, 0);
  EXPECT_EQ(main->CodeEditor, nullptr);
  EXPECT_EQ(main->Designer, nullptr);
  EXPECT_EQ(main->Tuner->Shown, nullptr);
  EXPECT_EQ(main->Tuner->RootItems.Count().Value, 0);  // no rows of the deleted element
  EXPECT_EQ(main->Workspace->ChildCount().Value, 0);
  // Every command again, on what is left.
  for (int command : {4, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}) {
    if (command == 4 || command == 5) {
      QueueCommand(command);
      QueueCloseDialog();
      Settle();
    } else {
      Command(command);
    }
  }
  Select(group);
  Command(12);  // the cut operation is in the clipboard still
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Work\noper Paint type= access=0\n");
}

TEST_F(SelectionTest, DeletingTheOperationWhoseEditorIsShownWritesNothingBack) {
  Select(paint);
  QueueClick(EditorOf(paint)->Memo->GetAbsM1() + CPoint(100, 5));
  QueueType("gone");
  Settle();
  Command(6, true);
  EXPECT_EQ(main->CodeEditor, nullptr);
  EXPECT_EQ(main->Current, nullptr);
  Select(draw);  // the next press has no editor of the deleted operation to write back
  EXPECT_EQ(Describe(form), "oper Draw type= access=0\n");
  EXPECT_EQ(main->Workspace->ChildCount().Value, 1);  // Draw's own editor
}

TEST_F(SelectionTest, NewAndOpenLetGoOfEveryWindowAndMark) {
  Command(3, true);
  for (int command : {1, 2}) {
    Select(form);
    Select(paint);
    Command(10);
    Command(command, true);
    EXPECT_EQ(main->Current, nullptr) << command;
    EXPECT_EQ(main->Tree->Selected, nullptr) << command;
    EXPECT_EQ(main->Tree->CutElement, nullptr) << command;
    EXPECT_EQ(main->CutPending.Value, 0) << command;
    EXPECT_EQ(main->CodeEditor, nullptr) << command;
    EXPECT_EQ(main->Designer, nullptr) << command;
    EXPECT_EQ(main->Workspace->ChildCount().Value, 0) << command;
    if (command == 1) {
      EXPECT_EQ(Root().ChildCount().Value, 0);
      Command(2, true);
    }
    ASSERT_EQ(Root().ChildCount().Value, 1);
    group = Root().Child(0);
    application = group->Child(0);
    unit = application->Child(0);
    form = static_cast<CClassInfo*>(unit->Child(0));
    paint = static_cast<COperInfo*>(form->Child(0));
  }
  // Every command again: nothing left points at what was destroyed.
  Select(paint);
  for (int command : {8, 9, 10, 11, 15, 16, 17}) Command(command);
  Select(unit);
  Command(12);  // beside the unit; the copy becomes the selection
  Command(13);  // into the copy
  EXPECT_EQ(
      Describe(application),
      "CUnitInfo Main\n  class TForm1 : CForm access=0\n    oper Draw type= access=0\n"
      "    oper Paint type= access=0\noper Paint type= access=0\n  oper Paint type= access=0\n");
}

TEST_F(SelectionTest, NewLetsGoOfADesignedControlShownInTheTuner) {
  Select(form);
  auto* designer = dynamic_cast<CDsgnForm*>(form->EditorWindow);
  ASSERT_NE(designer, nullptr);
  // The Button tool, then a press and release on the button it put at the surface's corner.
  CSpeedButton* tool = nullptr;
  for (std::int32_t i = 0; i < designer->ToolBar->ChildCount().Value; ++i) {
    auto* b = dynamic_cast<CSpeedButton*>(designer->ToolBar->GetChild(i));
    if (b && b->Number.Value == 18) tool = b;
  }
  ASSERT_NE(tool, nullptr);
  QueueClick(tool->GetAbsM1() + CPoint(8, 8));
  Settle();
  QueueClick(designer->Map->GetAbsM1() + CPoint(20, 20));
  Settle();
  ASSERT_NE(main->Tuner->Shown, nullptr);
  EXPECT_TRUE(main->Tuner->Shown->IsControl().Value);
  Command(1, true);
  EXPECT_EQ(main->Tuner->Shown, nullptr);
  main->Invalidate();
  Settle();
}

TEST_F(SelectionTest, CutAndPasteMovesTheElementAndDestroysItsWindows) {
  Select(paint);
  CEditForm* editor = EditorOf(paint);
  ASSERT_NE(editor, nullptr);
  Command(10);
  Select(unit);
  Command(13);
  EXPECT_EQ(
      Describe(unit),
      "class TForm1 : CForm access=0\n  oper Draw type= access=0\noper Paint type= access=0\n");
  // The old editor went with the cut operation; the moved one shows its own, beside the editor
  // of the unit's head texts.
  EXPECT_EQ(main->Workspace->ChildCount().Value, 2);
  EXPECT_NE(unit->EditorWindow, nullptr);
  EXPECT_EQ(main->CodeEditor, EditorOf(unit->Child(1)));
  EXPECT_EQ(main->Tree->Selected, unit->Child(1));
  Select(unit->Child(1));
  EXPECT_EQ(static_cast<CEditForm*>(unit->Child(1)->EditorWindow)->Memo->GetText(), "x\r\n");
}

// Whatever the paste selected is what the tree, the tuner and the workspace show next, as after a
// press on its row: the next command must act on something the user can see.
TEST_F(SelectionTest, APastedElementIsShownAsIfItsRowHadBeenPressed) {
  for (int i = 0; i < 60; ++i) Make(&Root(), "CProjectGroupInfo", "Filler");
  CInfo* far = Make(Make(Make(&Root(), "CProjectGroupInfo", "Far"), "CAppInfo", "Closed"),
                    "CUnitInfo", "Deep");
  main->Tree->RowsChanged();
  const auto expectShown = [&](CInfo* pasted, const char* what) {
    EXPECT_EQ(main->Tree->Selected, pasted) << what;
    EXPECT_EQ(main->Current, pasted) << what;
    EXPECT_EQ(main->Tuner->Shown, pasted) << what;
    int row = 0, depth = 0;
    ASSERT_TRUE(RowOf(pasted, row, depth)) << what << ": a parent stayed collapsed";
    const int first = main->Tree->VertBar->Position.Floor().Value;
    const int rows = (main->Tree->Client->GetHeight() / CFloat(16)).Floor().Value;
    EXPECT_GE(row, first) << what;
    EXPECT_LT(row, first + rows) << what;
  };

  // An operation copied with typed code, pasted into a collapsed unit far below the view.
  Select(paint);
  QueueClick(EditorOf(paint)->Memo->GetAbsM1() + CPoint(100, 5));
  QueueType("y");
  Settle();
  Command(11);
  main->Tree->Selected = far;
  Command(13);
  ASSERT_EQ(far->ChildCount().Value, 1);
  CInfo* pasted = far->Child(0);
  expectShown(pasted, "SubPaste");
  ASSERT_NE(EditorOf(pasted), nullptr);
  EXPECT_EQ(main->CodeEditor, EditorOf(pasted));
  EXPECT_TRUE(EditorOf(pasted)->Visible);
  EXPECT_FALSE(EditorOf(paint)->Visible);
  EXPECT_EQ(EditorOf(pasted)->Memo->GetText(), "xy\r\n");

  // A form class pasted beside itself, back at the top: its designer.
  main->Tree->Selected = form;
  Command(11);
  Command(12);
  ASSERT_EQ(unit->ChildCount().Value, 2);
  pasted = unit->Child(1);
  expectShown(pasted, "Paste");
  EXPECT_NE(pasted->EditorWindow, nullptr);
  EXPECT_EQ(static_cast<CObject*>(main->Designer), pasted->EditorWindow);
  EXPECT_TRUE(main->Designer->Visible);
  EXPECT_EQ(EditorOf(pasted->Child(1)), nullptr) << "its operations get editors when pressed";
}

TEST_F(SelectionTest, TextTypedBeforeCutGoesWithTheMovedOperation) {
  Select(paint);
  QueueClick(EditorOf(paint)->Memo->GetAbsM1() + CPoint(100, 5));
  QueueType("yz");
  Settle();
  Command(10);
  Select(unit);
  Command(13);
  ASSERT_EQ(unit->ChildCount().Value, 2);
  EXPECT_EQ(static_cast<COperInfo*>(unit->Child(1))->Code, "xyz\r\n");
}

// [Import]

TEST_F(SelectionTest, ImportReadsTheUnitsFilesAndShowsTheCodeInTheEditor) {
  WriteFileBytes("C:\\Qxe\\Work\\Demo\\Main.h",
                 "class TForm1 : public CForm {\npublic:\n  void Paint();\n};\n");
  WriteFileBytes("C:\\Qxe\\Work\\Demo\\Main.cpp",
                 "void TForm1::Paint() {\n\tint a = 1;\n  Draw(a);\n}\n");
  Select(paint);
  Select(unit);
  Command(14);
  ASSERT_EQ(unit->ChildCount().Value, 1);
  // The old operation's editor went with it; the unit's head texts show as the import read them.
  EXPECT_EQ(main->Workspace->ChildCount().Value, 1);
  EXPECT_EQ(main->HeadsEditor, unit->EditorWindow);
  auto* imported = dynamic_cast<COperInfo*>(unit->Child(0)->Child(0));
  ASSERT_NE(imported, nullptr);
  Select(imported);
  ASSERT_NE(EditorOf(imported), nullptr);
  EXPECT_GE(EditorOf(imported)->Memo->Lines->Count().Value, 2);
  Select(unit);
  EXPECT_EQ(imported->Code.View().find('\t'), std::string_view::npos);
}

TEST_F(SelectionTest, AFailedImportLeavesTheTreeByteIdenticalAndTheProgramRunning) {
  WriteFileBytes("C:\\Qxe\\Work\\Demo\\Main.h", "class TBroken {\n  int a;\n}\n");
  Select(paint);
  QueueClick(EditorOf(paint)->Memo->GetAbsM1() + CPoint(100, 5));
  QueueType("!");
  Settle();
  Select(unit);  // writes the editor back
  Command(3, true);
  const std::string before = FileBytes(kConf);
  Select(unit);
  Command(14);
  Command(3, true);
  EXPECT_EQ(FileBytes(kConf), before);
  EXPECT_EQ(static_cast<COperInfo*>(Root().Child(0)->Child(0)->Child(0)->Child(0)->Child(0))->Code,
            "x!\r\n");
  EXPECT_EQ(main->Current, nullptr);
  EXPECT_EQ(main->Tree->Selected, nullptr);
  EXPECT_EQ(main->Workspace->ChildCount().Value, 0);
  EXPECT_EQ(Root().Child(0)->Child(0)->TreeFlags & 1, 1);  // rows stay expanded as they were
  // Still working.
  Select(Root().Child(0));
  Command(11);
  Command(12);
  EXPECT_EQ(Root().ChildCount().Value, 2);
}

}  // namespace
