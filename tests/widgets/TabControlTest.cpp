// The tab strip: its pixels, its layout measured in the "Text" font, and selection by a press.
#include "core/Cp1251.h"
#include "graphics/Canvas.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/TabControl.h"

namespace {

using namespace qxtest;

class TabControlTest : public WidgetTest {
 protected:
  TabControlTest() {
    tabs = new CTabControl(root.get());
    tabs->SetBounds(10, 100, 180, 30, true);
  }

  CSize Measure(const char* text) {
    root->GetCanvas()->SelectFontByName("Text");
    return root->GetCanvas()->GetTextExtent(text);
  }

  CTabControl* tabs;
};

TEST_F(TabControlTest, AddTabSelectsTheNewTabAndKeepsItsTextAndData) {
  EXPECT_EQ(tabs->Selected, CInt(0));
  const struct {
    const char* text;
    int data;
  } added[] = {{"C++", 7}, {"ASM", 8}, {"", 9}, {"OBJ", -1}};
  for (int i = 0; i < 4; i++) {
    tabs->AddTab(added[i].text, added[i].data);
    EXPECT_EQ(tabs->Selected, CInt(i)) << added[i].text;
  }
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(tabs->GetTabText(i), added[i].text);
    EXPECT_EQ(tabs->GetTab(i)->Data, added[i].data);
  }
  EXPECT_EQ(tabs->GetTabText(4), "");
  EXPECT_EQ(tabs->GetTabText(-1), "");
  EXPECT_EQ(Corners(*tabs), "(10,100)-(190,130)");
  root->SetBounds(0, 0, 300, 250, true);
  EXPECT_EQ(Corners(*tabs), "(10,200)-(290,230)") << "anchored to the bottom, stretched";
}

TEST_F(TabControlTest, TabsAreAsWideAsTheirTextsAndAnEmptyOneHalfTheHeightOfA) {
  tabs->AddTab("C++", 0);
  tabs->AddTab("", 0);
  tabs->AddTab("OBJ", 0);
  const CSize cpp = Measure("C++");
  const CSize a = Measure("A");
  const CSize obj = Measure("OBJ");
  const auto places = tabs->LayOutTabs();
  ASSERT_EQ(places.size(), 3u);
  const CFloat p = a.Height / CFloat(4);
  const CFloat widths[] = {cpp.Width + p * CFloat(2), a.Height / CFloat(2),
                           obj.Width + p * CFloat(2)};
  CFloat x = 5;
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(places[i].Rect.M1.X.Value, x.Value) << i;
    EXPECT_EQ(places[i].Rect.M1.Y.Value, 1) << i;
    EXPECT_EQ(places[i].Rect.GetWidth().Value, widths[i].Value) << i;
    EXPECT_EQ(places[i].Rect.GetHeight().Value, (a.Height * CFloat(5) / CFloat(4)).Value) << i;
    x += widths[i];
  }
}

TEST_F(TabControlTest, APressSelectsTheTabUnderItAndNothingRightOfTheLast) {
  tabs->AddTab("C++", 0);
  tabs->AddTab("", 0);
  tabs->AddTab("OBJ", 0);
  root->Invalidate();
  const auto places = tabs->LayOutTabs();
  const auto inside = [&](int i) {
    const CRect& r = places[i].Rect;
    return CPoint((r.M1.X + r.M2.X) / CFloat(2), CFloat(3));
  };
  const CFloat end = places[2].Rect.M2.X;
  const struct {
    const char* what;
    CPoint at;
    int selected;
  } cases[] = {
      {"the first tab", inside(0), 0},
      {"the empty tab", inside(1), 1},
      {"right of the last tab", CPoint(end + CFloat(3), 3), 1},
      {"just inside the last tab's right edge", CPoint(end - CFloat(1), 3), 2},
      {"left of the first tab", CPoint(2, 3), 2},
      {"below the tabs", CPoint(inside(0).X, 25), 2},
  };
  for (const auto& c : cases) {
    gui.Click(*root, (CFloat(10) + c.at.X).Round().Value, (CFloat(100) + c.at.Y).Round().Value);
    EXPECT_EQ(tabs->Selected, CInt(c.selected)) << c.what;
  }
}

TEST_F(TabControlTest, TheStripIsGreenGreyUnderTwoLinesWithTheSelectedTabWhite) {
  tabs->AddTab("", 0);  // no text: the tabs' pixels are only fills and frames
  tabs->AddTab("", 0);
  tabs->SetBounds(10, 100, 30, 30, true);
  root->Invalidate();
  constexpr Pixel kStrip = 0x809980;  // (0.5, 0.6, 0.5)
  const std::map<Pixel, char> legend = {
      {kWhite, 'W'}, {kShadow, 'd'}, {kBlack, 'k'}, {kStrip, 's'}};
  // Two empty tabs, each half the height of "A" wide; the second, selected, drawn last.
  const CFloat h = Measure("A").Height;
  const int secondLeft = (CFloat(5) + h / CFloat(2)).Round().Value;
  const int secondRight = (CFloat(5) + h).Round().Value;
  const int bottom = (CFloat(1) + h * CFloat(5) / CFloat(4)).Round().Value;
  std::string body(31, 's');
  for (int x = 5; x <= secondRight; x++)
    body[x] = x == 5 || x == secondLeft || x == secondRight ? 'k' : x < secondLeft ? 'd' : 'W';
  EXPECT_EQ(gui.Picture(*root, 10, 100, 31, 1, legend), Rows({std::string(31, 'd')}));
  EXPECT_EQ(gui.Picture(*root, 10, 101, 31, 1, legend), Rows({std::string(31, 'k')}));
  EXPECT_EQ(gui.Picture(*root, 10, 104, 31, 1, legend), Rows({body}));
  EXPECT_EQ(gui.PixelAt(*root, 10 + 2, 104), kStrip);
  EXPECT_EQ(gui.PixelAt(*root, 10 + 20, 100 + bottom + 2), kStrip);
}

}  // namespace
