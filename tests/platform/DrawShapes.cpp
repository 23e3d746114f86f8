// The edge convention and the shapes: rectangles, lines, ellipses, polygons.
#include <gtest/gtest.h>

#include <limits>

#include "platform/draw/DrawContext.h"
#include "tests/platform/DrawPictures.h"

namespace {

using namespace platform;
using namespace qxtest;

// A paper surface with a context whose pen and brush are ink, so every touched pixel shows.
struct Board {
  Surface surface;
  DrawContext dc;
  explicit Board(int w, int h) : surface(w, h, kPaper), dc(&surface) {
    dc.SelectPen(Pen{Pen::kSolid, 1, kInk});
    dc.SelectBrush(Brush::Solid(kInk));
  }
  void NoPen() { dc.SelectPen(Pen{Pen::kNull, 1, kInk}); }
  void NoBrush() { dc.SelectBrush(Brush::Hollow()); }
};

// --- the edge convention, fixed here once ------------------------------------------------------

TEST(DrawEdges, PenlessFillOfTwoByTwoIsTheOnePixelAtTheOrigin) {
  // How the canvas fills a rectangle from (0, 0) to (0, 0): right and bottom moved by two.
  Board b(4, 3);
  b.NoPen();
  b.dc.Rectangle(0, 0, 2, 2);
  EXPECT_EQ(Picture(b.surface), Rows({"#...",
                                      "....",
                                      "...."}));
}

TEST(DrawEdges, RectangleZeroToTenOutlinesPixelsZeroToNine) {
  Board b(12, 12);
  b.NoBrush();
  b.dc.Rectangle(0, 0, 10, 10);
  EXPECT_EQ(Picture(b.surface), Rows({"##########..",
                                      "#........#..",
                                      "#........#..",
                                      "#........#..",
                                      "#........#..",
                                      "#........#..",
                                      "#........#..",
                                      "#........#..",
                                      "#........#..",
                                      "##########..",
                                      "............",
                                      "............"}));
}

TEST(DrawEdges, LineToLeavesOutItsEndPixel) {
  Board b(8, 1);
  b.dc.MoveTo(0, 0);
  b.dc.LineTo(6, 0);
  EXPECT_EQ(Picture(b.surface), Rows({"######.."}));
  EXPECT_EQ(b.dc.Position(), (Point{6, 0}));

  // The canvas paints the end pixel of a line from 0 to 5 with a second one-pixel line.
  Board c(8, 1);
  c.dc.MoveTo(0, 0);
  c.dc.LineTo(5, 0);
  c.dc.MoveTo(5, 0);
  c.dc.LineTo(6, 1);
  EXPECT_EQ(Picture(c.surface), Rows({"######.."}));
}

// --- rectangles ----------------------------------------------------------------------------

TEST(DrawRectangle, BrushFillsInsideThePenAndPenlessFillLosesRightAndBottom) {
  const std::map<Pixel, char> legend{{kInk, '#'}, {kRed, 'r'}, {kPaper, '.'}};
  Board b(7, 6);
  b.dc.SelectBrush(Brush::Solid(kRed));
  b.dc.Rectangle(1, 1, 6, 5);
  EXPECT_EQ(Picture(b.surface, legend), Rows({".......",
                                              ".#####.",
                                              ".#rrr#.",
                                              ".#rrr#.",
                                              ".#####.",
                                              "......."}));
  Board n(7, 6);
  n.NoPen();
  n.dc.SelectBrush(Brush::Solid(kRed));
  n.dc.Rectangle(1, 1, 6, 5);
  EXPECT_EQ(Picture(n.surface, legend), Rows({".......",
                                              ".rrrr..",
                                              ".rrrr..",
                                              ".rrrr..",
                                              ".......",
                                              "......."}));
}

TEST(DrawRectangle, ReversedCornersAreSwappedAndEmptyBoxesDrawNothing) {
  Board a(12, 12), b(12, 12);
  a.dc.Rectangle(2, 3, 9, 11);
  b.dc.Rectangle(9, 11, 2, 3);
  EXPECT_EQ(a.surface.pixels, b.surface.pixels);

  Board e(6, 6);
  const Surface before = e.surface;
  e.dc.Rectangle(2, 2, 2, 5);  // no width
  e.dc.Rectangle(1, 4, 5, 4);  // no height
  e.dc.Ellipse(3, 1, 3, 4);
  EXPECT_EQ(e.surface.pixels, before.pixels);
}

TEST(DrawRectangle, WidePenIsCentredOnTheEdgeAndInsideFrameKeepsItInTheBox) {
  Board b(10, 10);
  b.NoBrush();
  b.dc.SelectPen(Pen{Pen::kSolid, 3, kInk});
  b.dc.Rectangle(2, 2, 8, 8);
  EXPECT_EQ(Picture(b.surface), Rows({"..........",
                                      ".########.",
                                      ".########.",
                                      ".########.",
                                      ".###..###.",
                                      ".###..###.",
                                      ".########.",
                                      ".########.",
                                      ".########.",
                                      ".........."}));
  Board f(10, 10);
  f.NoBrush();
  f.dc.SelectPen(Pen{Pen::kInsideFrame, 3, kInk});
  f.dc.Rectangle(1, 1, 9, 9);
  EXPECT_EQ(Picture(f.surface, {1, 1, 9, 9}).find('.'), 3u * 9 + 3);  // the hole starts at (3, 3)
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (!Rect{1, 1, 9, 9}.Contains(x, y)) {
        EXPECT_EQ(f.surface.At(x, y), kPaper) << x << "," << y;
      }
  EXPECT_EQ(f.surface.At(1, 4), kInk);
  EXPECT_EQ(f.surface.At(8, 4), kInk);
  EXPECT_EQ(f.surface.At(4, 8), kInk);
}

// --- lines ---------------------------------------------------------------------------------

TEST(DrawLines, SlopesStepOnePixelAlongTheLongerAxis) {
  Board b(8, 8);
  b.dc.MoveTo(0, 0);
  b.dc.LineTo(6, 6);
  b.dc.MoveTo(7, 0);
  b.dc.LineTo(5, 6);  // steep, right to left
  EXPECT_EQ(Picture(b.surface), Rows({"#......#",
                                      ".#.....#",
                                      "..#...#.",
                                      "...#..#.",
                                      "....#.#.",
                                      ".....#..",
                                      "........",
                                      "........"}));
}

TEST(DrawLines, HugeCoordinatesAreCutToTheSurfaceQuickly) {
  Board b(20, 20);
  b.dc.MoveTo(-2000000000, -2000000000);
  b.dc.LineTo(2000000000, 2000000000);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_EQ(b.surface.At(x, y), x == y ? kInk : kPaper);
}

TEST(DrawLines, WidePensCoverTheirWidthWithRoundEnds) {
  Board odd(13, 9);
  odd.dc.SelectPen(Pen{Pen::kSolid, 3, kInk});
  odd.dc.MoveTo(2, 4);
  odd.dc.LineTo(10, 4);
  EXPECT_EQ(Picture(odd.surface), Rows({".............",
                                        ".............",
                                        ".............",
                                        ".###########.",
                                        ".###########.",
                                        ".###########.",
                                        ".............",
                                        ".............",
                                        "............."}));
  Board even(13, 9);
  even.dc.SelectPen(Pen{Pen::kSolid, 2, kInk});
  even.dc.MoveTo(2, 4);
  even.dc.LineTo(10, 4);
  EXPECT_EQ(Picture(even.surface), Rows({".............",
                                         ".............",
                                         ".............",
                                         ".##########..",
                                         ".##########..",
                                         ".............",
                                         ".............",
                                         ".............",
                                         "............."}));
}

// --- ellipses ------------------------------------------------------------------------------

TEST(DrawEllipse, TenByTenCircle) {
  Board b(11, 11);
  b.NoBrush();
  b.dc.Ellipse(0, 0, 10, 10);
  EXPECT_EQ(Picture(b.surface), Rows({"...####....",
                                      ".##....##..",
                                      ".#......#..",
                                      "#........#.",
                                      "#........#.",
                                      "#........#.",
                                      "#........#.",
                                      ".#......#..",
                                      ".##....##..",
                                      "...####....",
                                      "..........."}));
}

// Every ellipse is mirror-symmetric in its box and touches all four sides of it, whatever the
// box's parity and the pen.
TEST(DrawEllipse, SymmetricAndInsideItsBoxTouchingEverySide) {
  struct Case {
    Rect box;
    Pen pen;
    Rect bounds;  // where the figure must lie and touch every side
  };
  const Case cases[] = {
      {{3, 2, 14, 9}, {Pen::kSolid, 1, kInk}, {3, 2, 14, 9}},       // odd width, odd height
      {{3, 2, 15, 10}, {Pen::kSolid, 1, kInk}, {3, 2, 15, 10}},     // even both
      {{2, 2, 30, 6}, {Pen::kSolid, 1, kInk}, {2, 2, 30, 6}},       // flat
      {{5, 1, 8, 20}, {Pen::kSolid, 1, kInk}, {5, 1, 8, 20}},       // tall and thin
      {{3, 3, 16, 13}, {Pen::kDot, 1, kInk}, {3, 3, 16, 13}},       // styled: the dots keep within
      {{4, 4, 20, 18}, {Pen::kSolid, 3, kInk}, {3, 3, 21, 19}},     // wide: one pixel out each side
      {{4, 4, 20, 18}, {Pen::kInsideFrame, 3, kInk}, {4, 4, 20, 18}},
      {{3, 2, 15, 10}, {Pen::kNull, 1, kInk}, {3, 2, 14, 9}},       // no pen: a pixel less
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "box " << c.box.left << "," << c.box.top << " - "
                                    << c.box.right << "," << c.box.bottom << " pen " << c.pen.style
                                    << "/" << c.pen.width);
    Board b(32, 24);
    b.dc.SelectPen(c.pen);
    b.dc.Ellipse(c.box.left, c.box.top, c.box.right, c.box.bottom);
    bool top = false, bottom = false, left = false, right = false;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 32; ++x) {
        const bool ink = b.surface.At(x, y) == kInk;
        if (!c.bounds.Contains(x, y)) {
          EXPECT_FALSE(ink) << x << "," << y;
          continue;
        }
        top |= ink && y == c.bounds.top;
        bottom |= ink && y == c.bounds.bottom - 1;
        left |= ink && x == c.bounds.left;
        right |= ink && x == c.bounds.right - 1;
        if (c.pen.style == Pen::kDot) continue;  // dots need not fall symmetrically
        const int mx = c.bounds.left + c.bounds.right - 1 - x;
        const int my = c.bounds.top + c.bounds.bottom - 1 - y;
        EXPECT_EQ(ink, b.surface.At(mx, y) == kInk) << x << "," << y;
        EXPECT_EQ(ink, b.surface.At(x, my) == kInk) << x << "," << y;
      }
    }
    EXPECT_TRUE(top && bottom && left && right);
  }
}

TEST(DrawEllipse, BrushFillsInsideTheOutlineOnly) {
  Board b(12, 12);
  b.dc.SelectBrush(Brush::Solid(kRed));
  b.dc.Ellipse(1, 1, 11, 11);
  const std::string picture = Picture(b.surface, {{kInk, '#'}, {kRed, 'r'}, {kPaper, '.'}});
  EXPECT_EQ(picture, Rows({"............",
                           "....####....",
                           "..##rrrr##..",
                           "..#rrrrrr#..",
                           ".#rrrrrrrr#.",
                           ".#rrrrrrrr#.",
                           ".#rrrrrrrr#.",
                           ".#rrrrrrrr#.",
                           "..#rrrrrr#..",
                           "..##rrrr##..",
                           "....####....",
                           "............"}));
}

// --- polygons ------------------------------------------------------------------------------

TEST(DrawPolygon, TriangleFillLeavesOutTheRightAndBottomEdges) {
  Board b(10, 10);
  b.NoPen();
  const Point triangle[] = {{0, 0}, {8, 0}, {0, 8}};
  b.dc.Polygon(triangle);
  EXPECT_EQ(Picture(b.surface), Rows({"########..",
                                      "#######...",
                                      "######....",
                                      "#####.....",
                                      "####......",
                                      "###.......",
                                      "##........",
                                      "#.........",
                                      "..........",
                                      ".........."}));
}

TEST(DrawPolygon, OutlineClosesAndBrushFillsInside) {
  Board b(10, 10);
  b.dc.SelectBrush(Brush::Solid(kRed));
  const Point triangle[] = {{1, 1}, {8, 1}, {1, 8}};
  b.dc.Polygon(triangle);
  EXPECT_EQ(Picture(b.surface, {{kInk, '#'}, {kRed, 'r'}, {kPaper, '.'}}),
            Rows({"..........",
                  ".########.",
                  ".#rrrrr#..",
                  ".#rrrr#...",
                  ".#rrr#....",
                  ".#rr#.....",
                  ".#r#......",
                  ".##.......",
                  ".#........",
                  ".........."}));
}

TEST(DrawPolygon, AlternateRuleLeavesTwiceEnclosedPartsEmpty) {
  Board b(11, 11);
  b.NoPen();
  // Two crossing bars traced as one outline: where they overlap is enclosed twice.
  const Point shape[] = {{0, 2}, {10, 2}, {10, 6}, {3, 6}, {3, 0}, {7, 0}, {7, 9}, {0, 9}};
  b.dc.Polygon(shape);
  EXPECT_EQ(Picture(b.surface), Rows({"...####....",
                                      "...####....",
                                      "###....###.",
                                      "###....###.",
                                      "###....###.",
                                      "###....###.",
                                      "#######....",
                                      "#######....",
                                      "#######....",
                                      "...........",
                                      "..........."}));
}

TEST(DrawPolygon, FewerThanTwoPointsDrawNothing) {
  Board b(4, 4);
  const Surface before = b.surface;
  const Point one[] = {{1, 1}};
  b.dc.Polygon(one);
  b.dc.Polygon({});
  EXPECT_EQ(b.surface.pixels, before.pixels);
}

// --- hostile input ---------------------------------------------------------------------------

// Coordinates and sizes at the ends of int reach no memory outside the surface (the sanitizer
// build checks that) and cost no more than the surface is large.
TEST(DrawShapes, ExtremeCoordinatesAndPenWidthsStayInsideAndFinish) {
  constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
  for (const Pen pen : {Pen{Pen::kSolid, 1, kInk}, Pen{Pen::kDashDotDot, 1, kInk},
                        Pen{Pen::kSolid, hi, kInk}, Pen{Pen::kInsideFrame, hi, kInk},
                        Pen{Pen::kNull, lo, kInk}}) {
    SCOPED_TRACE(testing::Message() << pen.style << "/" << pen.width);
    Board b(16, 12);
    b.dc.SelectPen(pen);
    b.dc.SelectBrush(Brush::Solid(kRed));
    b.dc.Rectangle(lo, lo, hi, hi);
    // The box reaches far beyond the surface on every side: the brush or the pen covers it all.
    for (const Pixel p : b.surface.pixels) EXPECT_TRUE(p == kRed || p == kInk);
    b.dc.Ellipse(lo, lo, hi, hi);
    b.dc.Ellipse(lo, 3, hi, 9);
    b.dc.MoveTo(lo, hi);
    b.dc.LineTo(hi, lo);
    const Point polygon[] = {{lo, lo}, {hi, 0}, {0, hi}, {lo, hi}};
    b.dc.Polygon(polygon);
    b.dc.FillRect({lo, lo, hi, hi});
    b.dc.BitBlt(lo, lo, hi, hi, b.surface, hi, lo);
    b.dc.TextOut(hi, lo, "far away");
    b.dc.TextOut(lo, hi, "far away");
  }
}

}  // namespace
