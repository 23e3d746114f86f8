// The splitter: its three layouts, following a resize, and dragging the grip as a person does.
#include <string>

#include "controls/View.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Splitter.h"

namespace {

using namespace qxtest;

class SplitterTest : public WidgetTest {
 protected:
  SplitterTest() {
    split = new CSplitter(root.get());  // 100 by 100 at (0, 0)
  }

  std::string Layout() const {
    return Corners(*split->FirstPane) + " " + Corners(*split->Grip) + " " +
           Corners(*split->SecondPane);
  }

  CSplitter* split;
};

TEST_F(SplitterTest, ANewSplitterSplitsItsWidthInHalfSideBySide) {
  EXPECT_EQ(split->GetSplit(), CFloat(50));
  EXPECT_FALSE(split->Stacked);
  EXPECT_EQ(Layout(), "(0,0)-(49,100) (50,0)-(52,100) (53,0)-(100,100)");
  EXPECT_EQ(split->Grip->Cursor, CInt(-9));
  root->Invalidate();
  const std::map<Pixel, char> legend = {{kShadow, 'd'}, {kGreen, 'G'}};
  EXPECT_EQ(gui.Picture(*root, 47, 50, 9, 1, legend), Rows({"dddGGGddd"}));
}

TEST_F(SplitterTest, StackingLaysOutAgainAtTheSameSplitFromTheTop) {
  split->SetBounds(0, 0, 100, 120, true);
  split->SetStacked(true);
  EXPECT_EQ(Layout(), "(0,0)-(100,49) (0,50)-(100,52) (0,53)-(100,120)");
  EXPECT_EQ(split->Grip->Cursor, CInt(-7));
  split->SetStacked(false);
  EXPECT_EQ(Layout(), "(0,0)-(49,120) (50,0)-(52,120) (53,0)-(100,120)");
  EXPECT_EQ(split->Grip->Cursor, CInt(-9));
}

TEST_F(SplitterTest, OnAGrowingSplitterThePaneThatKeepsItsSizeDependsOnTheLayout) {
  const struct {
    const char* what;
    bool stacked;
    int keepSecond;
    const char* grown;
  } cases[] = {
      {"side by side: the left pane keeps its width", false, 1,
       "(0,0)-(49,150) (50,0)-(52,150) (53,0)-(150,150)"},
      {"stacked, KeepSecond 0: the upper pane keeps its height", true, 0,
       "(0,0)-(150,49) (0,50)-(150,52) (0,53)-(150,150)"},
      {"stacked, KeepSecond 1: the lower pane keeps its height", true, 1,
       "(0,0)-(150,99) (0,100)-(150,102) (0,103)-(150,150)"},
  };
  for (const auto& c : cases) {
    split->SetBounds(0, 0, 100, 100, true);
    split->KeepSecond = c.keepSecond;
    split->SetStacked(c.stacked);
    split->SetSplit(50);
    split->SetBounds(0, 0, 150, 150, true);
    EXPECT_EQ(Layout(), c.grown) << c.what;
  }
}

TEST_F(SplitterTest, DraggingTheGripMovesTheSplitButKeepsTheGripInside) {
  split->SetBounds(0, 0, 150, 100, true);
  split->SetSplit(50);
  root->Invalidate();
  gui.Press(*root, 51, 40);
  EXPECT_TRUE(split->Dragging);
  gui.DragTo(*root, 81, 40);
  EXPECT_EQ(split->GetSplit(), CFloat(80));
  EXPECT_EQ(Layout(), "(0,0)-(79,100) (80,0)-(82,100) (83,0)-(150,100)");
  gui.DragTo(*root, 400, 40);
  EXPECT_EQ(split->GetSplit(), CFloat(147)) << "the grip's far unit stays on the splitter";
  gui.Release(*root, 400, 40);
  EXPECT_FALSE(split->Dragging);

  // Still grabbable at the far edge, and then at the near one.
  gui.Press(*root, 148, 40);
  ASSERT_TRUE(split->Dragging);
  gui.DragTo(*root, -60, 40);
  EXPECT_EQ(split->GetSplit(), CFloat(0));
  gui.Release(*root, -60, 40);
  gui.Press(*root, 1, 40);
  ASSERT_TRUE(split->Dragging) << "the grip at the left edge is still under the pointer";
  gui.DragTo(*root, 31, 70);
  gui.Release(*root, 31, 70);
  EXPECT_EQ(split->GetSplit(), CFloat(30));
  EXPECT_EQ(root->View->Canvas->GetCursor(), CInt(-9));

  split->SetSplit(-20);
  EXPECT_EQ(split->GetSplit(), CFloat(-20)) << "code still puts the split anywhere";
}

TEST_F(SplitterTest, AStackedGripDragsUpAndDown) {
  split->SetBounds(0, 0, 100, 140, true);
  split->SetStacked(true);
  root->Invalidate();
  gui.Press(*root, 40, 51);
  gui.DragTo(*root, 90, 101);
  EXPECT_EQ(split->GetSplit(), CFloat(100)) << "only y counts";
  gui.DragTo(*root, 90, 500);
  EXPECT_EQ(split->GetSplit(), CFloat(137));
  gui.Release(*root, 90, 500);
  EXPECT_EQ(Corners(*split->SecondPane), "(0,140)-(100,140)");
}

}  // namespace
