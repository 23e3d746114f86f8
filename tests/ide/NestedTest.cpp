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
  QueueCommand(6);      // Delete asks
  QueueCommand(1);      // New pressed while it waits
  QueueAnswer(true);    // Yes to whichever question stands
  QueueAnswer(false);   // No to whatever still waits
  Settle();
  // New does nothing while Delete waits, and the Yes is Delete's.
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Spare\n");
  EXPECT_FALSE(app->Modal.Value);
  EXPECT_FALSE(app->MsgDlg->Visible.Value);
}

}  // namespace
