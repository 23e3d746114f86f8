// Commands given while another command waits for its answer: the other forms stay usable during
// a question or the add dialog, so a second command may arrive in the nested loop.
#include "tests/ide/IdeFixture.h"
#include "tests/import/Tree.h"
#include "designer/ColorForm.h"
#include "designer/DsgnForm.h"
#include "widgets/Form.h"

namespace {

using namespace qxtest;

TEST_F(IdeTest, NewClickedWhileDeleteAsksLeavesDeleteItsOwnAnswer) {
  CInfo* work = Make(&Root(), "CProjectGroupInfo", "Work");
  Make(&Root(), "CProjectGroupInfo", "Spare");
  Select(work);
  QueueCommand(6);     // Delete asks
  QueueCommand(1);     // New pressed while it waits
  QueueAnswer(true);   // Yes to whichever question stands
  QueueAnswer(false);  // No to whatever still waits
  Settle();
  // New does nothing while Delete waits, and the Yes is Delete's.
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Spare\n");
  EXPECT_FALSE(app->Modal.Value);
  EXPECT_FALSE(app->MsgDlg->Visible.Value);
}

// The About window is not modal and stands over the places where the question's buttons and
// some of the add dialog's kinds show; a dialog that waits for an answer comes to the front.
TEST_F(IdeTest, AQuestionShowsAboveTheAboutWindow) {
  Make(&Root(), "CProjectGroupInfo", "Work");
  Command(3, false);  // lays the question out
  Command(18);
  ASSERT_NE(main->AboutBox, nullptr);
  QueueCommand(3);
  QueueClick(app->MsgDlg->Buttons[0]->GetAbsM1() + CPoint(25, 4));  // Yes, under the About
  Settle();
  EXPECT_FALSE(app->MsgDlg->Visible.Value);
  EXPECT_FALSE(FileBytes(kConf).empty());
}

TEST_F(IdeTest, TheAddDialogShowsAboveTheAboutWindow) {
  Command(18);
  ASSERT_NE(main->AboutBox, nullptr);
  QueueCommand(4);
  QueueKind(7);  // a variable, under the About
  Settle();
  EXPECT_FALSE(main->AddDialog()->Visible.Value);
  EXPECT_EQ(Describe(&Root()), "atr  type= access=0\n");
}

// The designer's colour dialog waits in a loop of its own while the main window stays usable. A
// Delete then would destroy the designer (and the element) under the waiting dialog.
TEST_F(IdeTest, CommandsWaitWhileTheColourDialogWaits) {
  CInfo* unit = Make(&Root(), "CUnitInfo", "Main");
  auto* form = static_cast<CClassInfo*>(Make(unit, "CClassInfo", "TForm1"));
  form->Base = "CForm";
  main->Invalidate();
  Settle();
  Select(form);
  CDsgnForm* designer = main->Designer;
  ASSERT_NE(designer, nullptr);
  CControl* colorTool = nullptr;
  for (std::int32_t i = 0; i < designer->ToolBar->ChildCount().Value; ++i)
    if (designer->ToolBar->GetChild(i)->Number.Value == 6) colorTool = designer->ToolBar->GetChild(i);
  ASSERT_NE(colorTool, nullptr);
  CPoint closeAt;
  {
    CColorForm probe(main);  // the dialog is made on first use; its close button stands here
    closeAt = probe.Caption->CloseButton->GetAbsM1() + CPoint(5, 5);
  }
  app->Running = true;  // as inside the program's run loop, which the dialog waits within
  QueueClick(colorTool->GetAbsM1() + CPoint(8, 8));
  QueueCommand(6);  // Delete, while the colour dialog waits
  QueueClick(closeAt);
  QueueAnswer(true);  // Yes to a question, were one asked
  Settle();
  EXPECT_FALSE(app->MsgDlg->Visible.Value);
  ASSERT_NE(designer->ColorDialog, nullptr) << "the colour tool opened no dialog";
  ASSERT_EQ(unit->ChildCount().Value, 1) << "the form class was deleted under the dialog";
  EXPECT_EQ(main->Designer, designer);
  EXPECT_FALSE(designer->ColorDialog->Visible.Value);
  app->Running = false;
}

}  // namespace
