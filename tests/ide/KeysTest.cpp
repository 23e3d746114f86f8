// The environment's keys: the toolbar's commands by key, the tree moved by keys while it has the
// keyboard, and the code editor's window with its find bar.
#include <filesystem>
#include <string>

#include "controls/View.h"
#include "ide/EditForm.h"
#include "platform/Files.h"
#include "tests/ide/IdeFixture.h"
#include "widgets/Edit.h"
#include "widgets/Memo.h"
#include "widgets/TreeBox.h"

namespace {

using namespace qxtest;

constexpr std::uint8_t kCtrl = platform::kCtrlHeld;
constexpr int kS = 31, kN = 49, kX = 45, kC = 46, kV = 47, kF = 33, kG = 34, kDelete = 83,
              kInsert = 82, kUp = 72, kDown = 80, kHome = 71, kEnd = 79, kLeft = 75, kRight = 77,
              kEnter = 28, kEscape = 1, kF1 = 59, kF3 = 61;

class KeysTest : public IdeTest {
 protected:
  KeysTest() {
    group = Make(&Root(), "CProjectGroupInfo", "Work");
    unit = Make(group, "CUnitInfo", "Main");
    paint = MakeOper(unit, "Paint", "int x = 1;\r\nreturn x;\r\nx = 2;\r\n");
    last = Make(group, "CUnitInfo", "Last");
    main->Invalidate();
    Settle();
  }

  void Key(int key, std::uint8_t shift = 0) {
    QueueKey(key, -1, shift);
    Settle();
  }

  CInfo* group;
  CInfo* unit;
  COperInfo* paint;
  CInfo* last;
};

TEST_F(KeysTest, CtrlSAsksAndSavesAndCtrlNAsksAndEmpties) {
  const auto file = platform::LinuxPath("C:\\Qxe\\Conf.qxe");
  QueueKey(kS, -1, kCtrl);
  QueueAnswer(false);
  Settle();
  EXPECT_FALSE(std::filesystem::exists(file)) << "No saves nothing";
  QueueKey(kS, -1, kCtrl);
  QueueAnswer(true);
  Settle();
  EXPECT_TRUE(std::filesystem::exists(file));

  QueueKey(kN, -1, kCtrl);
  QueueAnswer(true);
  Settle();
  EXPECT_EQ(Root().ChildCount(), 0);
}

TEST_F(KeysTest, ThePressedTreeTakesTheKeyboardAndItsKeysMoveCopyAndDelete) {
  group->TreeFlags |= 1;
  Select(group);
  EXPECT_EQ(main->View->GetFocused(), main->Tree);
  Key(kDown);
  EXPECT_EQ(main->Tree->Selected, unit);
  Key(kRight);  // expands the unit
  Key(kRight);  // to its first child
  EXPECT_EQ(main->Tree->Selected, paint);
  EXPECT_EQ(main->Current, paint) << "a key selects as a press does";
  ASSERT_NE(main->CodeEditor, nullptr);
  EXPECT_TRUE(main->CodeEditor->Visible);
  Key(kLeft);  // to the parent
  EXPECT_EQ(main->Tree->Selected, unit);
  Key(kEnd);
  EXPECT_EQ(main->Tree->Selected, last);
  Key(kHome);
  EXPECT_EQ(main->Tree->Selected, group);
  Key(kUp);
  EXPECT_EQ(main->Tree->Selected, group) << "the first row stays";

  Key(kDown);
  Key(kC, kCtrl);
  Key(kV, kCtrl);
  ASSERT_EQ(group->ChildCount(), 3);
  EXPECT_EQ(group->Child(2)->GetName(), "Main");

  Key(kEnd);
  QueueKey(kDelete);
  QueueAnswer(false);
  Settle();
  EXPECT_EQ(group->ChildCount(), 3) << "Delete asks, and No keeps the element";
  EXPECT_EQ(main->View->GetFocused(), main->Tree);
  EXPECT_EQ(main->Tree->Selected, group->Child(2));
  QueueKey(kDelete);
  QueueAnswer(true);
  Settle();
  EXPECT_EQ(group->ChildCount(), 2);
}

TEST_F(KeysTest, KeysInTheEditorStayTheEditorsAndF1ShowsTheAboutBox) {
  Select(paint);
  ASSERT_NE(main->CodeEditor, nullptr);
  CMemo* memo = main->CodeEditor->Memo;
  QueueClick(memo->GetAbsM1() + CPoint(60, 5));
  Settle();
  ASSERT_EQ(main->View->GetFocused(), memo);
  Key(kEnd);
  Key(kDelete);  // joins the next line: not the tree's Delete
  EXPECT_EQ(memo->Lines->GetString(0), "int x = 1;return x;");
  EXPECT_EQ(unit->ChildCount(), 1);
  Key(kInsert);  // no Add while text is edited
  EXPECT_EQ(main->AboutBox, nullptr);
  Key(kF1);
  EXPECT_NE(main->AboutBox, nullptr);
}

TEST_F(KeysTest, TheCodeEditorNumbersColoursAndFindsAndGoesToALine) {
  Select(paint);
  CEditForm* editor = main->CodeEditor;
  ASSERT_NE(editor, nullptr);
  CMemo* memo = editor->Memo;
  EXPECT_TRUE(memo->Gutter);
  EXPECT_TRUE(memo->CppColours);
  QueueClick(memo->GetAbsM1() + CPoint(60, 5));
  Settle();
  memo->CaretLine = 0;
  memo->CaretColumn = 0;

  Key(kF, kCtrl);
  ASSERT_TRUE(editor->Bar->Visible);
  EXPECT_EQ(main->View->GetFocused(), editor->BarEdit);
  QueueType("x");
  Settle();
  Key(kEnter);
  EXPECT_EQ(memo->SelectedText(), "x");
  EXPECT_EQ(memo->CaretLine, 0);
  Key(kEnter);
  EXPECT_EQ(memo->CaretLine, 1) << "Enter finds the next";
  Key(kEscape);
  EXPECT_FALSE(editor->Bar->Visible);
  EXPECT_EQ(main->View->GetFocused(), memo) << "the editor has the keyboard back";
  Key(kF3);
  EXPECT_EQ(memo->CaretLine, 2) << "F3 finds the last text again";

  Key(kG, kCtrl);
  ASSERT_TRUE(editor->Bar->Visible);
  QueueType("2");
  Settle();
  Key(kEnter);
  EXPECT_FALSE(editor->Bar->Visible);
  EXPECT_EQ(memo->CaretLine, 1);
  EXPECT_EQ(memo->CaretColumn, 0);

  // The keyword "int" on the first line is navy, its number teal; the gutter is the face's grey.
  memo->Invalidate();
  const CRect face = memo->Client->GetAbsRect();
  bool navy = false, teal = false;
  for (int y = face.M1.Y.Round().Value; y < face.M1.Y.Round().Value + 14; ++y)
    for (int x = face.M1.X.Round().Value; x < face.M1.X.Round().Value + 120; ++x) {
      const Pixel p = gui->PixelAt(*main, x, y);
      const int r = int(p >> 16) & 0xFF, g = int(p >> 8) & 0xFF, b = int(p) & 0xFF;
      navy = navy || (b >= 0x70 && b <= 0x90 && r < 0x10 && g < 0x10);
      teal = teal || (b >= 0x70 && b <= 0x90 && g == b && r < 0x10);
    }
  EXPECT_TRUE(navy);
  EXPECT_TRUE(teal);
  EXPECT_EQ(gui->PixelAt(*main, face.M1.X.Round().Value + 2, face.M2.Y.Round().Value - 30),
            Pixel(0xCCCCCC));
}

}  // namespace
