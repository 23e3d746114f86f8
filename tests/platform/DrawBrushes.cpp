// Brushes: the six hatches, anchoring at the device origin, hatch backgrounds, pattern
// brushes, the hollow brush, and the dotted frame the canvas builds from a 2 x 2 pattern.
#include <gtest/gtest.h>

#include "platform/draw/DrawContext.h"
#include "tests/platform/DrawPictures.h"

namespace {

using namespace platform;
using namespace qxtest;

TEST(DrawBrushes, EachHatchIsItsEightByEightPattern) {
  struct Case {
    Hatch hatch;
    std::vector<std::string> rows;
  } const cases[] = {
      {Hatch::Horizontal, {"........", "........", "........", "########",
                           "........", "........", "........", "........"}},
      {Hatch::Vertical, {"....#...", "....#...", "....#...", "....#...",
                         "....#...", "....#...", "....#...", "....#..."}},
      {Hatch::ForwardDiagonal, {"#.......", ".#......", "..#.....", "...#....",
                                "....#...", ".....#..", "......#.", ".......#"}},
      {Hatch::BackwardDiagonal, {".......#", "......#.", ".....#..", "....#...",
                                 "...#....", "..#.....", ".#......", "#......."}},
      {Hatch::Cross, {"....#...", "....#...", "....#...", "########",
                      "....#...", "....#...", "....#...", "....#..."}},
      {Hatch::DiagonalCross, {"#......#", ".#....#.", "..#..#..", "...##...",
                              "...##...", "..#..#..", ".#....#.", "#......#"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.hatch));
    Surface s(8, 8, kPaper);
    DrawContext dc(&s);
    dc.SetBackgroundMode(BackgroundMode::Transparent);
    dc.SelectBrush(Brush::Hatched(int(c.hatch), kInk));
    dc.FillRect({0, 0, 8, 8});
    EXPECT_EQ(Picture(s), Rows(c.rows));
  }
}

// A fill anywhere shows the pattern of the device origin, never one restarted at the shape.
TEST(DrawBrushes, HatchesAreAnchoredToTheDeviceOrigin) {
  for (int hatch = 0; hatch < 6; ++hatch) {
    SCOPED_TRACE(hatch);
    Surface whole(24, 24, kPaper), part(24, 24, kPaper);
    DrawContext a(&whole), b(&part);
    for (DrawContext* dc : {&a, &b}) {
      dc->SetBackgroundMode(BackgroundMode::Transparent);
      dc->SelectBrush(Brush::Hatched(hatch, kInk));
      dc->SelectPen(Pen{Pen::kNull, 1, kInk});
    }
    a.FillRect({0, 0, 24, 24});
    b.Rectangle(3, 5, 21, 20);  // penless: covers 3..19 x 5..18
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) {
        const bool inside = x >= 3 && x < 20 && y >= 5 && y < 19;
        EXPECT_EQ(part.At(x, y), inside ? whole.At(x, y) : kPaper) << x << "," << y;
      }
  }
}

TEST(DrawBrushes, HatchGapsTakeTheBackgroundColourOnlyWhenOpaque) {
  Surface s(8, 2, kGreen);
  DrawContext dc(&s);
  dc.SetBackgroundColor(kRed);
  dc.SelectBrush(Brush::Hatched(int(Hatch::Vertical), kInk));
  dc.SetBackgroundMode(BackgroundMode::Opaque);
  dc.FillRect({0, 0, 8, 1});
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.FillRect({0, 1, 8, 2});
  EXPECT_EQ(Picture(s, {{kInk, '#'}, {kRed, 'o'}, {kGreen, 'g'}}), Rows({"oooo#ooo",
                                                                         "gggg#ggg"}));
}

TEST(DrawBrushes, UnknownHatchFillsSolid) {
  Surface s(4, 2, kPaper);
  DrawContext dc(&s);
  dc.SelectBrush(Brush::Hatched(6, kInk));
  dc.FillRect({0, 0, 4, 2});
  EXPECT_EQ(Picture(s), Rows({"####", "####"}));
}

TEST(DrawBrushes, PatternRepeatsFromTheDeviceOriginAndIsCopiedWhenMade) {
  Surface picture(3, 2);
  picture.pixels = {kRed, kGreen, kBlue,
                    kInk, kPaper, kRed};
  DrawContext dc;
  Surface s(14, 9, 0x123456);
  dc.SetTarget(&s);
  dc.SelectBrush(Brush::Pattern(picture));
  picture.pixels.assign(6, kInk);  // the brush keeps what it was made from
  dc.FillRect({4, 3, 13, 8});
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 14; ++x) {
      const Pixel origin[2][3] = {{kRed, kGreen, kBlue}, {kInk, kPaper, kRed}};
      const bool inside = x >= 4 && x < 13 && y >= 3 && y < 8;
      EXPECT_EQ(s.At(x, y), inside ? origin[y % 2][x % 3] : Pixel(0x123456)) << x << "," << y;
    }
}

TEST(DrawBrushes, EmptyPatternAndHollowBrushFillNothing) {
  Surface s(10, 10, kPaper);
  DrawContext dc(&s);
  dc.SelectPen(Pen{Pen::kNull, 1, kInk});
  const Surface before = s;
  for (const Brush& brush : {Brush::Hollow(), Brush::Pattern(Surface{})}) {
    dc.SelectBrush(brush);
    dc.FillRect({0, 0, 10, 10});
    dc.Rectangle(1, 1, 9, 9);
    dc.Ellipse(1, 1, 9, 9);
    const Point triangle[] = {{0, 0}, {9, 0}, {0, 9}};
    dc.Polygon(triangle);
  }
  EXPECT_EQ(s.pixels, before.pixels);

  // With a pen, the hollow brush leaves the inside as it was.
  dc.SelectBrush(Brush::Hollow());
  dc.SelectPen(Pen{Pen::kSolid, 1, kInk});
  dc.Rectangle(0, 0, 4, 4);
  EXPECT_EQ(Picture(s, {0, 0, 4, 4}), Rows({"####", "#..#", "#..#", "####"}));
}

// The canvas draws a dotted frame as four one-pixel penless fills with the application's 2 x 2
// pattern (black at (0, 0) and (1, 1)): black and white alternate along every edge.
TEST(DrawBrushes, TwoByTwoPatternMakesADottedFrame) {
  Surface pattern(2, 2);
  pattern.pixels = {kInk, kPaper, kPaper, kInk};
  Surface s(9, 7, kGreen);
  DrawContext dc(&s);
  dc.SelectPen(Pen{Pen::kNull, 1, kInk});
  dc.SelectBrush(Brush::Pattern(pattern));
  const int x1 = 1, y1 = 1, x2 = 7, y2 = 5;
  dc.Rectangle(x1, y1, x1 + 2, y2 + 2);
  dc.Rectangle(x1, y1, x2 + 2, y1 + 2);
  dc.Rectangle(x2, y1, x2 + 2, y2 + 2);
  dc.Rectangle(x1, y2, x2 + 2, y2 + 2);
  EXPECT_EQ(Picture(s, {{kInk, '#'}, {kPaper, 'o'}, {kGreen, '.'}}), Rows({".........",
                                                                          ".#o#o#o#.",
                                                                          ".o.....o.",
                                                                          ".#.....#.",
                                                                          ".o.....o.",
                                                                          ".#o#o#o#.",
                                                                          "........."}));
}

}  // namespace
