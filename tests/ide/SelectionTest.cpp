// What a press on a tree row shows: the properties in the tuner, the code editor of an operation
// and the designer of a form class, one window per element; and what is let go of when elements
// are destroyed while their windows, the selection or a cut mark point at them.
#include "designer/DsgnForm.h"
#include "designer/Map.h"
#include "ide/EditForm.h"
#include "tests/ide/IdeFixture.h"
#include "tests/import/Tree.h"
#include "widgets/Memo.h"
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

TEST_F(SelectionTest, AnOperationWithoutCodeGetsOneEmptyLine) {
  Select(draw);
  ASSERT_NE(EditorOf(draw), nullptr);
  EXPECT_EQ(EditorOf(draw)->Memo->Lines->Count().Value, 1);
  Select(unit);
  EXPECT_EQ(draw->Code, "\r\n");
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
  EXPECT_EQ(main->CodeEditor, nullptr);
  EXPECT_EQ(main->Workspace->ChildCount().Value, 0);
  EXPECT_EQ(main->Tree->Selected, unit->Child(1));
  Select(unit->Child(1));
  EXPECT_EQ(static_cast<CEditForm*>(unit->Child(1)->EditorWindow)->Memo->GetText(), "x\r\n");
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
  EXPECT_EQ(main->Workspace->ChildCount().Value, 0);  // the old operation's editor went with it
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
  CMemory before;
  WriteConfig(before, Root());
  Command(14);
  CMemory after;
  WriteConfig(after, Root());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(after.Data()), after.GetSize().Value),
            std::string(reinterpret_cast<const char*>(before.Data()), before.GetSize().Value));
  EXPECT_EQ(static_cast<COperInfo*>(Root().Child(0)->Child(0)->Child(0)->Child(0)->Child(0))->Code,
            "x!\r\n");
  EXPECT_EQ(main->Current, nullptr);
  EXPECT_EQ(main->Tree->Selected, nullptr);
  EXPECT_EQ(main->Workspace->ChildCount().Value, 0);
  // Still working.
  Select(Root().Child(0));
  Command(11);
  Command(12);
  EXPECT_EQ(Root().ChildCount().Value, 2);
}

}  // namespace
