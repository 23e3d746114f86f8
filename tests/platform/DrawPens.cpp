// Pen styles: the dash patterns, the background of their gaps, styles that draw solid, the
// null pen, and dashes running on around a figure.
#include <gtest/gtest.h>

#include <string>

#include "platform/draw/DrawContext.h"
#include "tests/platform/DrawPictures.h"

namespace {

using namespace platform;
using namespace qxtest;

std::string Repeat(const std::string& unit, size_t length) {
  std::string out;
  while (out.size() < length) out += unit;
  return out.substr(0, length);
}

// A 48-pixel horizontal line from x = 0 in the given pen, as one row of '#' and '.'.
std::string LineRow(const Pen& pen, BackgroundMode mode = BackgroundMode::Transparent) {
  Surface s(50, 1, kPaper);
  DrawContext dc(&s);
  dc.SetBackgroundMode(mode);
  dc.SetBackgroundColor(kRed);
  dc.SelectPen(pen);
  dc.MoveTo(0, 0);
  dc.LineTo(48, 0);
  std::string row = Picture(s, {{kInk, '#'}, {kPaper, '.'}, {kRed, 'o'}});
  row.pop_back();
  return row;
}

TEST(DrawPens, EachStyleHasItsPattern) {
  struct Case {
    int style;
    const char* unit;  // one period of the pattern
  } const cases[] = {
      {Pen::kSolid, "#"},
      {Pen::kDash, "##################......"},
      {Pen::kDot, "###..."},
      {Pen::kDashDot, "#########......###......"},
      {Pen::kDashDotDot, "#########...###...###..."},
      {Pen::kInsideFrame, "#"},
      // Styles the platform does not know are solid: the pen controls' default 65535, and -1.
      {65535, "#"},
      {-1, "#"},
      {7, "#"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    EXPECT_EQ(LineRow(Pen{c.style, 1, kInk}), Repeat(c.unit, 48) + "..");
  }
  EXPECT_EQ(LineRow(Pen{Pen::kNull, 1, kInk}), std::string(50, '.'));
}

TEST(DrawPens, GapsTakeTheBackgroundColourOnlyWhenOpaque) {
  const Pen dots{Pen::kDot, 1, kInk};
  EXPECT_EQ(LineRow(dots, BackgroundMode::Opaque), Repeat("###ooo", 48) + "..");
  EXPECT_EQ(LineRow(dots, BackgroundMode::Transparent), Repeat("###...", 48) + "..");
}

TEST(DrawPens, WidthZeroIsOnePixelAndWideDashedPensDrawSolid) {
  EXPECT_EQ(LineRow(Pen{Pen::kDash, 0, kInk}), LineRow(Pen{Pen::kDash, 1, kInk}));

  Surface s(12, 5, kPaper);
  DrawContext dc(&s);
  dc.SelectPen(Pen{Pen::kDot, 3, kInk});
  dc.MoveTo(1, 2);
  dc.LineTo(10, 2);
  EXPECT_EQ(Picture(s), Rows({"............",
                              "############",
                              "############",
                              "############",
                              "............"}));
}

TEST(DrawPens, DotsRunOnAroundTheCornersOfARectangle) {
  // The outline starts at the top right corner and runs left, down, right and up.
  Surface s(10, 10, kPaper);
  DrawContext dc(&s);
  dc.SelectBrush(Brush::Hollow());
  dc.SelectPen(Pen{Pen::kDot, 1, kInk});
  dc.Rectangle(0, 0, 10, 10);
  EXPECT_EQ(Picture(s), Rows({".###...###",
                              "..........",
                              "..........",
                              "#.........",
                              "#........#",
                              "#........#",
                              ".........#",
                              "..........",
                              "..........",
                              "###...###."}));
}

TEST(DrawPens, EachLineStartsItsPatternAfresh) {
  Surface s(20, 1, kPaper);
  DrawContext dc(&s);
  dc.SelectPen(Pen{Pen::kDot, 1, kInk});
  dc.MoveTo(0, 0);
  dc.LineTo(4, 0);  // ###. then the next line starts on again
  dc.LineTo(10, 0);
  EXPECT_EQ(Picture(s), Rows({"###.###...." + std::string(9, '.')}));
}

TEST(DrawPens, TheNullPenLeavesEveryOutlineUndrawn) {
  Surface s(20, 20, kPaper);
  DrawContext dc(&s);
  dc.SelectPen(Pen{Pen::kNull, 3, kInk});
  dc.SelectBrush(Brush::Hollow());
  const Surface before = s;
  dc.MoveTo(1, 1);
  dc.LineTo(18, 12);
  dc.Rectangle(2, 2, 15, 15);
  dc.Ellipse(2, 2, 15, 15);
  const Point triangle[] = {{1, 1}, {18, 3}, {4, 17}};
  dc.Polygon(triangle);
  EXPECT_EQ(s.pixels, before.pixels);
}

TEST(DrawPens, StyledEllipseDotsFollowTheCurve) {
  // A dotted circle: three pixels on, three off, all the way round; the number of outline
  // pixels drawn is about half of the solid outline's.
  Surface solid(24, 24, kPaper), dotted(24, 24, kPaper);
  DrawContext a(&solid), b(&dotted);
  a.SelectBrush(Brush::Hollow());
  b.SelectBrush(Brush::Hollow());
  b.SelectPen(Pen{Pen::kDot, 1, kInk});
  a.Ellipse(2, 2, 22, 22);
  b.Ellipse(2, 2, 22, 22);
  int outline = 0, drawn = 0;
  for (size_t i = 0; i < solid.pixels.size(); ++i) {
    outline += solid.pixels[i] == kInk;
    drawn += dotted.pixels[i] == kInk;
    if (dotted.pixels[i] == kInk) {
      EXPECT_EQ(solid.pixels[i], kInk);  // only on the outline
    }
  }
  EXPECT_GE(drawn, outline / 2 - 3);
  EXPECT_LE(drawn, outline / 2 + 3);
  // The walk starts at the top middle going right: three on, then three off on the next row.
  EXPECT_EQ(Picture(dotted, {12, 2, 17, 4}), Rows({"###..",
                                                   "....."}));
  EXPECT_EQ(Picture(solid, {12, 2, 17, 4}), Rows({"###..",
                                                  "...##"}));
}

}  // namespace
