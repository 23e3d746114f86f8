// The application object and the main window as the program starts: the layers in their order,
// the toolbar, the tree's icons, and the projects of the last Save.
#include <sys/wait.h>
#include <unistd.h>

#include "controls/Pic.h"
#include "controls/Text.h"
#include "tests/ide/IdeFixture.h"
#include "widgets/Box.h"
#include "widgets/Splitter.h"
#include "widgets/Tuner.h"

namespace {

using namespace qxtest;

TEST_F(IdeTest, TheApplicationHoldsTheMainWindowAsItsMainFormAndTheDialogOverIt) {
  EXPECT_EQ(app->ClassName(), "CApp1");
  EXPECT_EQ(static_cast<CApp*>(app), CoreApp);
  EXPECT_EQ(app->MainForm, main);
  ASSERT_NE(app->MsgDlg, nullptr);
  EXPECT_EQ(app->MsgDlg->Parent, main);
  EXPECT_EQ(app->ClassMan->Count().Value, 58);
  EXPECT_EQ(main->Caption->Title->Str, "Qxworks 0.3.2");
  EXPECT_EQ(main->Caption->Icon->FileName, "C:\\Qxe\\Pics\\Form\\Icon16_new.bmp");
  EXPECT_TRUE(main->Caption->Icon->Bitmap.HasPicture());
  EXPECT_EQ(main->ClipClass, "");
  EXPECT_EQ(main->CutPending.Value, 0);
}

TEST_F(IdeTest, TheToolbarHoldsSeventeenCommandsWithPicturesAndGaps) {
  // Buttons 20 wide, 2 apart; a separator leaves 8 more after 3, 6, 9, 13, 15 and 17.
  const struct {
    int number;
    const char* picture;
    int x;
  } rows[] = {
      {1, "New", 2},       {2, "Open", 24},    {3, "Save", 46},    {4, "Add", 76},
      {5, "SubAdd", 98},   {6, "Delete", 120}, {8, "Up", 150},     {9, "Down", 172},
      {10, "Cut", 202},    {11, "Copy", 224},  {12, "Paste", 246}, {13, "SubPaste", 268},
      {14, "Import", 298}, {15, "Clear", 320}, {16, "Build", 350}, {17, "Run", 372},
      {18, "About", 402},
  };
  ASSERT_EQ(main->ToolBar->ChildCount().Value, 17);
  for (const auto& row : rows) {
    CSpeedButton* button = CommandButton(row.number);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Picture->FileName.ToStd(),
              std::string("C:\\Qxe\\Pics\\16x16silver\\") + row.picture + ".bmp");
    EXPECT_TRUE(button->Picture->Bitmap.HasPicture()) << row.picture;
    EXPECT_EQ(button->GetX().Round().Value, row.x) << row.picture;
  }
  EXPECT_EQ(main->ToolBar->GetHeight().Round().Value, 24);
}

TEST_F(IdeTest, ThePanesSplitAsTheWindowIsLaidOut) {
  // The face is 792 by 575: a 24-unit toolbar, the splitters, a 20-unit status box.
  EXPECT_EQ(Corners(*main->Client), "(4,22)-(796,597)");
  EXPECT_EQ(Corners(*main->StatusBox), "(0,555)-(792,575)");
  EXPECT_EQ(main->StatusBox->Client->Color, CColor(0.8, 0.8, 0.8));
  EXPECT_EQ(Corners(*main->MainSplit), "(0,24)-(792,555)");
  EXPECT_EQ(main->MainSplit->GetSplit().Round().Value, 264);  // a third
  EXPECT_FALSE(main->MainSplit->Stacked);
  EXPECT_TRUE(main->LeftSplit->Stacked);
  EXPECT_EQ(main->LeftSplit->GetSplit(), main->LeftSplit->GetHeight() / CFloat(2));
  EXPECT_TRUE(main->RightSplit->Stacked);
  EXPECT_EQ(main->RightSplit->GetSplit(), main->RightSplit->GetHeight() - CFloat(60));
  EXPECT_EQ(main->Tree->Parent, main->LeftSplit->FirstPane);
  EXPECT_EQ(main->Tuner->Parent, main->LeftSplit->SecondPane);
  EXPECT_EQ(main->Workspace, main->RightSplit->FirstPane);
  EXPECT_EQ(main->BottomBox->Parent, main->RightSplit->SecondPane);
  EXPECT_EQ(Corners(*main->Tree),
            "(0,0)-(" + std::to_string(main->LeftSplit->FirstPane->GetWidth().Round().Value) + "," +
                std::to_string(main->LeftSplit->FirstPane->GetHeight().Round().Value) + ")");
  // Everything follows the window: maximized, the tree still fills its pane.
  QueueClick(main->Caption->MaximizeButton->GetAbsM1() + CPoint(5, 5));
  Settle();
  EXPECT_EQ(main->Tree->GetWidth(), main->LeftSplit->FirstPane->GetWidth());
  EXPECT_EQ(main->StatusBox->GetY2(), main->Client->GetHeight());
}

TEST_F(IdeTest, TheTreeHasItsSixteenIconsInIndexOrder) {
  ASSERT_EQ(main->Tree->Icons.Count().Value, 16);
  for (std::int32_t i = 0; i < 16; ++i) {
    const auto* icon = main->Tree->Icons.GetAs<CGDIBitmap>(i);
    EXPECT_TRUE(icon->HasPicture()) << i;
    EXPECT_EQ(icon->Width.Round().Value, 16) << i;
  }
}

TEST_F(IdeTest, TheProjectsOfTheLastSaveAppearAtStartUp) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  Make(group, "CAppInfo", "Demo");
  ASSERT_EQ(SaveConfig(*CoreApp), "");
  Start();
  ASSERT_EQ(Root().ChildCount().Value, 1);
  EXPECT_EQ(Root().Child(0)->GetName(), "Work");
  EXPECT_EQ(Root().Child(0)->Child(0)->GetName(), "Demo");
}

TEST_F(IdeTest, ADamagedFileAtStartUpLeavesTheTreeEmptyAndTheFileAlone) {
  const std::string damaged(
      "Qx\x05\x00\x05\x00\x00\x00"
      "CFile\x05\x00\x10\x00\x00\x00",
      19);
  WriteFileBytes(kConf, damaged);
  testing::internal::CaptureStderr();
  Start();
  const std::string told = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Root().ChildCount().Value, 0);
  EXPECT_EQ(FileBytes(kConf), damaged);
  // The box (headless, its text on stderr) names the window it stands for.
  EXPECT_NE(told.find("Qxworks 0.3.2: "), std::string::npos) << told;
}

TEST_F(IdeTest, AnElementOfAnUnknownClassIsLeftOutAtStartUpAndTheUserIsTold) {
  CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
  Make(group, "CAppInfo", "Demo");
  Make(&Root(), "CProjectGroupInfo", "Rest");
  ASSERT_EQ(SaveConfig(*CoreApp), "");
  std::string bytes = FileBytes(kConf);
  const size_t at = bytes.find("CAppInfo");
  ASSERT_NE(at, std::string::npos);
  bytes[at + 1] = 'X';  // no class of that name is registered
  WriteFileBytes(kConf, bytes);
  testing::internal::CaptureStderr();
  Start();
  const std::string told = testing::internal::GetCapturedStderr();
  ASSERT_EQ(Root().ChildCount().Value, 2);
  EXPECT_EQ(Root().Child(0)->GetName(), "Work");
  EXPECT_EQ(Root().Child(0)->ChildCount().Value, 0);
  EXPECT_EQ(Root().Child(1)->GetName(), "Rest");
  EXPECT_NE(told.find("CXppInfo"), std::string::npos) << told;
}

TEST_F(IdeTest, AKilledSavesTemporaryGoesAtStartUpAndTheProjectsStillLoad) {
  Make(&Root(), "CProjectGroupInfo", "Work");
  ASSERT_EQ(SaveConfig(*CoreApp), "");
  const pid_t gone = fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const std::string stale =
      platform::LinuxPath("C:\\Qxe\\.Conf.qxe.saving-" + std::to_string(gone) + "-1");
  std::ofstream(stale) << "partial";
  Start();
  EXPECT_FALSE(std::filesystem::exists(stale));
  ASSERT_EQ(Root().ChildCount().Value, 1);
  EXPECT_EQ(Root().Child(0)->GetName(), "Work");
}

TEST_F(IdeTest, ClosingTheMainWindowEndsTheRun) {
  QueueClick(main->Caption->CloseButton->GetAbsM1() + CPoint(5, 5));
  EXPECT_TRUE(gui->RunLoop(5000));
}

TEST_F(IdeTest, AboutOpensItsWindowAndOkDestroysIt) {
  Command(18);
  ASSERT_NE(main->AboutBox, nullptr);
  EXPECT_EQ(main->AboutBox->Caption->Title->Str, "О программе..."_cp);
  EXPECT_EQ(Corners(*main->AboutBox), "(250,100)-(550,300)");
  EXPECT_FALSE(main->AboutBox->Caption->MinimizeButton->Visible);
  EXPECT_FALSE(main->AboutBox->Caption->MaximizeButton->Visible);
  CPic* picture = dynamic_cast<CPic*>(main->AboutBox->Client->GetChild(0));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->FileName, "C:\\Qxe\\Pics\\Other\\AboutPic64.bmp");
  EXPECT_TRUE(picture->Bitmap.HasPicture());
  auto* ok = dynamic_cast<CButton*>(main->AboutBox->Client->GetChild(1));
  ASSERT_NE(ok, nullptr);
  QueueClick(ok->GetAbsM1() + CPoint(40, 12));
  Settle();
  EXPECT_EQ(main->AboutBox, nullptr);
}

}  // namespace
