// The toolbar's hint box, as a person meets it: the pointer rests on a button, the box with the
// button's name appears below it after half a second, and goes when the pointer leaves, a button
// or key is pressed, or it has shown for five seconds. It stays inside the window and never takes
// the pointer or the keyboard.
#include <functional>

#include "controls/Text.h"
#include "controls/View.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Hint.h"
#include "widgets/ToolBar.h"

namespace {

using namespace qxtest;

constexpr Pixel kPaleYellow = 0xFFFFE0;

class ToolBarHintTest : public WidgetTest {
 protected:
  ToolBarHintTest() {
    bar = new CToolBar(root.get());
    bar->SetBounds(0, 0, 200, 24, true);
    first = bar->AddButton("", 1, CNotifyHook());
    first->Hint = "Save (Ctrl+S)";
    unnamed = bar->AddButton("", 2, CNotifyHook());
    bar->NextX = 180;  // the last button at the window's right edge
    last = bar->AddButton("", 3, CNotifyHook());
    last->Hint = "Run the program (F9)";  // wider than the room right of the button
    edit = new CEdit(root.get());
    edit->SetBounds(20, 100, 100, 20, true);
  }

  // The pointer moved to a point of the window, no button held.
  void MoveTo(int x, int y) { gui.DragTo(*root, x, y); }
  bool HintShown() { return bar->HintBox && bar->HintBox->Shown(); }

  CToolBar* bar;
  CSpeedButton *first, *unnamed, *last;
  CEdit* edit;
};

TEST_F(ToolBarHintTest, APointerRestingHalfASecondShowsTheButtonsNameBelowItInThePaleBox) {
  MoveTo(10, 10);
  MoveTo(12, 11);  // moving on the same button does not start the wait again
  gui.Advance(400);
  EXPECT_FALSE(HintShown()) << "not before half a second";
  gui.Advance(150);
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(bar->HintBox->Caption->Str, "Save (Ctrl+S)");
  const CRect r = bar->HintBox->GetAbsRect();
  const int x1 = r.M1.X.Round().Value, y1 = r.M1.Y.Round().Value;
  const int x2 = r.M2.X.Round().Value, y2 = r.M2.Y.Round().Value;
  EXPECT_EQ(x1, 2) << "under the button's left edge";
  EXPECT_GE(y1, 24) << "below the toolbar";
  EXPECT_EQ(gui.PixelAt(*root, x1, y1), kBlack) << "a thin black border";
  EXPECT_EQ(gui.PixelAt(*root, x2, y2), kBlack);
  EXPECT_EQ(gui.PixelAt(*root, x1 + 1, y1 + 1), kPaleYellow) << "a pale yellow face";
  bool text = false;
  for (int x = x1 + 1; x < x2; ++x)
    for (int y = y1 + 1; y < y2; ++y) text = text || gui.PixelAt(*root, x, y) == kBlack;
  EXPECT_TRUE(text) << "the name written in black";

  // The box is not hit: a move over it reaches what lies under it, and nothing took the keys.
  EXPECT_EQ(root->View->GetFocused(), nullptr);
  CPoint over(x1 + 3, y1 + 3);
  EXPECT_NE(root->HitTest(over), bar->HintBox);
}

TEST_F(ToolBarHintTest, TheHintGoesWhenThePointerLeavesAKeyOrAButtonIsPressedOrItsTimeIsUp) {
  const int unnamedX = unnamed->GetAbsM1().X.Round().Value + 5;
  const struct {
    const char* what;
    std::function<void()> act;
  } endings[] = {
      {"the pointer onto the toolbar between buttons", [&] { MoveTo(100, 10); }},
      {"the pointer onto the edit", [&] { MoveTo(30, 110); }},
      {"the pointer onto a button without a name", [&] { MoveTo(unnamedX, 10); }},
      {"a key", [&] { gui.PressKey(*root, 30); }},
      {"a press on the button", [&] { gui.Press(*root, 10, 10); }},
      {"a press on the edit", [&] { gui.Press(*root, 30, 110); }},
      {"five seconds", [&] { gui.Advance(5000); }},
  };
  for (const auto& ending : endings) {
    MoveTo(150, 140);
    gui.Advance(150);  // the toolbar sees the pointer away from its buttons
    MoveTo(10, 10);
    gui.Advance(600);
    ASSERT_TRUE(HintShown()) << ending.what;
    ending.act();
    gui.Advance(150);
    EXPECT_FALSE(HintShown()) << ending.what;
    gui.Advance(1000);
    EXPECT_FALSE(HintShown()) << ending.what << ": not again while the pointer stays";
    gui.Release(*root, 150, 140);
  }
  MoveTo(150, 140);
  gui.Advance(150);
  MoveTo(10, 10);
  gui.Advance(600);
  EXPECT_TRUE(HintShown()) << "back on the button after leaving it, the hint comes again";
}

TEST_F(ToolBarHintTest, AHintAtTheWindowsEdgeStaysInsideIt) {
  MoveTo(185, 10);
  gui.Advance(600);
  ASSERT_TRUE(HintShown());
  const CRect r = bar->HintBox->GetAbsRect();
  EXPECT_LE(r.M2.X.Round().Value, 199);
  EXPECT_GE(r.M1.X.Round().Value, 0);
  EXPECT_EQ(gui.PixelAt(*root, r.M2.X.Round().Value, r.M2.Y.Round().Value), kBlack)
      << "its right border shows";
}

}  // namespace
