// Commands given while another command waits for its answer: the other forms stay usable during
// a question or the add dialog, so a second command may arrive in the nested loop.
#include "tests/ide/IdeFixture.h"
#include "tests/import/Tree.h"

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
  EXPECT_FALSE(main->AddDialog->Visible.Value);
  EXPECT_EQ(Describe(&Root()), "atr  type= access=0\n");
}

}  // namespace
