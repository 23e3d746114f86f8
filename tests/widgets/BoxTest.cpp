// Boxes and scroll boxes: the sunken look, the bars' places and anchors, the content moved by the
// bars and brought back exactly, and the mouse wheel.
#include <string>
#include <vector>

#include "controls/Shapes.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Box.h"
#include "widgets/Button.h"
#include "widgets/ScrollBar.h"

namespace {

using namespace qxtest;

template <class T>
T* Add(CControl* parent, double x, double y, double w, double h) {
  auto* c = new T(parent);
  c->SetBounds(x, y, w, h, true);
  return c;
}

TEST_F(WidgetTest, ABoxIsSunkenAroundAWhiteFace) {
  Add<CBox>(root.get(), 10, 10, 40, 30);
  root->Invalidate();
  // Outer bevel 0.5 over white, inner bevel black over 0.8, a grey unit, then the white face,
  // which reaches the inner bevel on the right and at the bottom.
  EXPECT_EQ(gui.Picture(*root, 10, 10, 6, 4, kGreys),
            Rows({"dddddd", "dkkkkk", "dk....", "dk.WWW"}));
  EXPECT_EQ(gui.Picture(*root, 46, 36, 5, 5, kGreys),
            Rows({"WWW.W", "WWW.W", "WWW.W", "....W", "WWWWW"}));
}

class ScrollBoxTest : public WidgetTest {
 protected:
  ScrollBoxTest() {
    box = new CScrollBox(root.get());
    box->SetBounds(10, 10, 100, 100, true);
  }

  CScrollBox* box;
};

TEST_F(ScrollBoxTest, TheBarsSitAlongTheRightAndBottomEdgesAndFollowAGrowingBox) {
  EXPECT_EQ(Corners(*box->Client), "(3,3)-(81,81)");
  EXPECT_EQ(Corners(*box->HorzBar), "(2,83)-(83,99)");
  EXPECT_EQ(Corners(*box->VertBar), "(83,2)-(99,83)");
  EXPECT_FALSE(box->HorzBar->Vertical);
  EXPECT_TRUE(box->VertBar->Vertical);

  box->SetBounds(10, 10, 200, 150, true);
  root->Invalidate();
  EXPECT_EQ(Corners(*box->Client), "(3,3)-(181,131)");
  EXPECT_EQ(Corners(*box->HorzBar), "(2,133)-(183,149)") << "stays at the bottom, stretches";
  EXPECT_EQ(Corners(*box->VertBar), "(183,2)-(199,133)") << "stays at the right, stretches";
}

// The exact corners of every child of the face, to compare before and after.
std::vector<CRect> Rectangles(CControl* face) {
  std::vector<CRect> all;
  for (std::int32_t i = 0; i < face->ChildCount().Value; i++) all.push_back(*face->GetChild(i));
  return all;
}

bool Same(const std::vector<CRect>& a, const std::vector<CRect>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); i++)
    if (!(a[i].M1 == b[i].M1) || !(a[i].M2 == b[i].M2)) return false;
  return true;
}

TEST_F(ScrollBoxTest, ScrollingMovesEveryChildTheOtherWayAndBackExactly) {
  Add<CFillRectangle>(box->Client, 0, 0, 20, 20)->Color = CColor(1, 0, 0);
  Add<CButton>(box->Client, 30.25, 5.5, 40, 25);
  auto* swapped = Add<CFillRectangle>(box->Client, 0, 0, 1, 1);
  swapped->SetCorners(70.3, 90.7, 10.1, 60.9);  // corners in any order
  auto* grandchild = Add<CFillRectangle>(Add<CBox>(box->Client, 5, 40, 60, 50)->Client, 4, 4, 8, 8);
  root->Invalidate();
  const std::vector<CRect> before = Rectangles(box->Client);
  const CRect inner = *grandchild;

  // Page down on the vertical track (its page is 10), then page right on the horizontal one.
  gui.Click(*root, 10 + 91, 10 + 40);
  gui.Click(*root, 10 + 40, 10 + 91);
  ASSERT_EQ(box->VertBar->Position.Value, 10);
  ASSERT_EQ(box->HorzBar->Position.Value, 10);
  EXPECT_EQ(box->ScrollX.Value, 10);
  EXPECT_EQ(box->ScrollY.Value, 10);
  const std::vector<CRect> moved = Rectangles(box->Client);
  for (std::size_t i = 0; i < before.size(); i++) {
    EXPECT_EQ(moved[i].M1.X, before[i].M1.X - CFloat(10)) << "child " << i;
    EXPECT_EQ(moved[i].M2.Y, before[i].M2.Y - CFloat(10)) << "child " << i;
  }
  EXPECT_TRUE(inner.M1 == grandchild->M1) << "only the face's own children move";
  // The red child now sticks out above and left of the face: only the face shows it.
  EXPECT_EQ(gui.PixelAt(*root, 10 + 3, 10 + 3), kRed);
  EXPECT_EQ(gui.PixelAt(*root, 10 + 2, 10 + 2), kFace) << "the frame is not painted over";
  EXPECT_EQ(gui.PixelAt(*root, 10 + 3, 10 + 14), kWhite) << "its bottom is now above y 14";

  gui.Click(*root, 10 + 91, 10 + 19);  // page up: above the thumb, below the arrow
  gui.Click(*root, 10 + 19, 10 + 91);  // page left
  EXPECT_TRUE(Same(Rectangles(box->Client), before));
  EXPECT_EQ(box->ScrollX.Value, 0);
  EXPECT_EQ(box->ScrollY.Value, 0);
}

TEST_F(ScrollBoxTest, TheWheelMovesTheVerticalBarOfTheBoxUnderThePointer) {
  auto* child = Add<CFillRectangle>(box->Client, 10, 10, 30, 30);
  auto* inner = Add<CScrollBox>(box->Client, 40, 40, 50, 50);
  auto* outside = Add<CFillRectangle>(root.get(), 150, 10, 30, 30);
  root->Invalidate();
  const struct {
    const char* where;
    int x, y, notches;
    double outer, nested;
  } cases[] = {
      {"over a child of the face, towards the user", 25, 25, -2, 6, 0},
      {"over the horizontal bar", 40, 101, -1, 9, 0},
      {"away from the user", 25, 25, 1, 6, 0},
      {"past the top", 25, 25, 5, 0, 0},
      {"over the nested box: only it scrolls", 70, 70, -3, 0, 9},
      {"past the bottom", 25, 25, -40, 90, 9},
      {"outside every scroll box", 160, 20, -1, 90, 9},
  };
  for (const auto& c : cases) {
    gui.Wheel(*root, c.x, c.y, c.notches);
    EXPECT_EQ(box->VertBar->Position.Value, c.outer) << c.where;
    EXPECT_EQ(inner->VertBar->Position.Value, c.nested) << c.where;
  }
  EXPECT_EQ(child->M1.Y.Value, 10 - 90) << "the content moved with the bar";
  EXPECT_EQ(box->HorzBar->Position.Value, 0);
  EXPECT_EQ(outside->M1.Y.Value, 10);

  box->VertBar->SmallStep = 2.5;
  gui.Wheel(*root, 25, 25, 2);
  EXPECT_EQ(box->VertBar->Position.Value, 75) << "3 small steps a notch";
}

}  // namespace
