// The clip region, pixels and block copies.
#include <gtest/gtest.h>

#include <functional>

#include "platform/draw/DrawContext.h"
#include "platform/draw/Font.h"
#include "tests/platform/DrawPictures.h"

namespace {

using namespace platform;
using namespace qxtest;

// A picture whose every pixel differs, so a copy shows where each pixel came from.
Surface Gradient(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.Row(y)[x] = MakePixel(x * 7, y * 11, 200);
  return s;
}

// Each primitive drawn with a clip region equals the same drawing without one inside the
// region, and leaves every pixel outside it alone.
TEST(DrawClip, NothingOutsideTheRegionChanges) {
  const Surface source = Gradient(40, 30);
  struct Case {
    const char* name;
    std::function<void(DrawContext&)> draw;
  } const cases[] = {
      {"line", [](DrawContext& dc) { dc.MoveTo(-5, 3); dc.LineTo(45, 27); }},
      {"dashed line", [](DrawContext& dc) {
         dc.SelectPen(Pen{Pen::kDashDot, 1, kInk});
         dc.MoveTo(0, 29); dc.LineTo(39, 0); }},
      {"wide line", [](DrawContext& dc) {
         dc.SelectPen(Pen{Pen::kSolid, 5, kInk});
         dc.MoveTo(2, 2); dc.LineTo(37, 25); }},
      {"rectangle", [](DrawContext& dc) { dc.Rectangle(1, 1, 39, 29); }},
      {"hatched rectangle", [](DrawContext& dc) {
         dc.SelectBrush(Brush::Hatched(int(Hatch::DiagonalCross), kBlue));
         dc.Rectangle(1, 1, 39, 29); }},
      {"ellipse", [](DrawContext& dc) { dc.Ellipse(-3, 0, 38, 30); }},
      {"dotted ellipse", [](DrawContext& dc) {
         dc.SelectPen(Pen{Pen::kDot, 1, kInk});
         dc.Ellipse(2, 2, 38, 28); }},
      {"wide ellipse", [](DrawContext& dc) {
         dc.SelectPen(Pen{Pen::kSolid, 4, kInk});
         dc.Ellipse(2, 2, 38, 28); }},
      {"polygon", [](DrawContext& dc) {
         const Point p[] = {{20, -4}, {44, 15}, {20, 34}, {-4, 15}};
         dc.Polygon(p); }},
      {"fill", [](DrawContext& dc) { dc.FillRect({0, 0, 40, 30}); }},
      {"pixels", [](DrawContext& dc) {
         for (int i = 0; i < 40; ++i) dc.SetPixel(i, i * 3 / 4, kInk); }},
      {"copy", [source](DrawContext& dc) { dc.BitBlt(0, 0, 40, 30, source, 0, 0); }},
      {"text", [](DrawContext& dc) {
         dc.SetBackgroundColor(kGreen);
         dc.TextOut(3, 8, "Clipped text"); }},
  };
  const Rect region{8, 6, 27, 19};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Surface free(40, 30, kPaper), clipped(40, 30, kPaper);
    DrawContext a(&free), b(&clipped);
    for (DrawContext* dc : {&a, &b}) {
      dc->SelectPen(Pen{Pen::kSolid, 1, kInk});
      dc->SelectBrush(Brush::Solid(kRed));
    }
    b.SetClip(region);
    c.draw(a);
    c.draw(b);
    int changed = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const Pixel expected = region.Contains(x, y) ? free.At(x, y) : kPaper;
        EXPECT_EQ(clipped.At(x, y), expected) << x << "," << y;
        changed += region.Contains(x, y) && clipped.At(x, y) != kPaper;
      }
    EXPECT_GT(changed, 0);  // the case does reach into the region
  }
}

TEST(DrawClip, RegionCornersAreSwappedAndClearingLetsEverythingThrough) {
  Surface s(6, 4, kPaper);
  DrawContext dc(&s);
  dc.SelectPen(Pen{Pen::kNull, 1, kInk});
  dc.SelectBrush(Brush::Solid(kInk));
  dc.SetClip({4, 3, 1, 1});
  EXPECT_EQ(dc.Clip(), (Rect{1, 1, 4, 3}));
  dc.FillRect({0, 0, 6, 4});
  EXPECT_EQ(Picture(s), Rows({"......", ".###..", ".###..", "......"}));
  dc.SetClip({2, 2, 2, 9});  // empty: nothing gets through
  dc.FillRect({0, 0, 6, 4});
  EXPECT_EQ(Picture(s), Rows({"......", ".###..", ".###..", "......"}));
  dc.ClearClip();
  dc.FillRect({0, 0, 6, 4});
  EXPECT_EQ(Picture(s), Rows({"######", "######", "######", "######"}));
}

TEST(DrawClip, PixelsAreReadAndWrittenOnlyInsideSurfaceAndRegion) {
  Surface s(4, 4, kPaper);
  DrawContext dc(&s);
  dc.SetPixel(2, 1, kRed);
  dc.SetPixel(-1, 0, kRed);
  dc.SetPixel(4, 0, kRed);
  EXPECT_EQ(dc.GetPixel(2, 1), kRed);
  EXPECT_EQ(dc.GetPixel(4, 0), std::nullopt);
  EXPECT_EQ(dc.GetPixel(0, -1), std::nullopt);
  dc.SetClip({0, 0, 2, 2});
  dc.SetPixel(3, 3, kRed);
  EXPECT_EQ(s.At(3, 3), kPaper);
  EXPECT_EQ(dc.GetPixel(2, 1), std::nullopt);
  EXPECT_EQ(dc.GetPixel(1, 1), kPaper);
}

TEST(DrawClip, WithoutATargetNothingIsDrawnAndNothingBreaks) {
  DrawContext dc;
  dc.Rectangle(0, 0, 10, 10);
  dc.LineTo(5, 5);
  dc.TextOut(0, 0, "text");
  EXPECT_EQ(dc.GetPixel(0, 0), std::nullopt);
  Surface broken;
  broken.width = 5;  // size without pixels: drawn as empty, never overrun
  broken.height = 5;
  dc.SetTarget(&broken);
  dc.FillRect({0, 0, 5, 5});
  dc.BitBlt(0, 0, 5, 5, Gradient(5, 5), 0, 0);
  Surface target(5, 5, kPaper);
  dc.SetTarget(&target);
  dc.BitBlt(0, 0, 5, 5, broken, 0, 0);
  EXPECT_EQ(target.pixels, Surface(5, 5, kPaper).pixels);
}

// --- block copies --------------------------------------------------------------------------

TEST(DrawBlit, CopiesTheBlockCutToSourceAndClip) {
  const Surface source = Gradient(10, 8);
  struct Case {
    const char* what;
    int x, y, w, h, sx, sy;
    Rect clip;  // empty: none
  } const cases[] = {
      {"whole block inside", 2, 3, 4, 3, 1, 2, {}},
      {"source block hangs off the picture's right and bottom", 5, 5, 8, 8, 6, 4, {}},
      {"source block starts left of and above the picture", 3, 2, 6, 6, -2, -3, {}},
      {"target block hangs off the surface", -3, -2, 10, 8, 0, 0, {}},
      {"clip region cuts the target", 0, 0, 10, 8, 0, 0, {3, 2, 7, 5}},
      {"negative sizes copy the block ending at the corner", 8, 7, -4, -3, 6, 5, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Surface target(12, 10, kPaper);
    DrawContext dc(&target);
    if (!c.clip.Empty()) dc.SetClip(c.clip);
    dc.BitBlt(c.x, c.y, c.w, c.h, source, c.sx, c.sy);
    const Rect block = Rect{c.x, c.y, c.x + c.w, c.y + c.h}.Normalized();
    const int dx = c.sx - c.x, dy = c.sy - c.y;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 12; ++x) {
        const bool copied = block.Contains(x, y) && source.Contains(x + dx, y + dy) &&
                            (c.clip.Empty() || c.clip.Contains(x, y));
        EXPECT_EQ(target.At(x, y), copied ? source.At(x + dx, y + dy) : kPaper) << x << "," << y;
      }
  }
}

TEST(DrawBlit, OverlappingCopyWithinOneSurfaceMovesThePicture) {
  for (const Point shift : {Point{0, 2}, Point{0, -2}, Point{3, 0}, Point{-2, 1}}) {
    SCOPED_TRACE(testing::Message() << shift.x << "," << shift.y);
    const Surface original = Gradient(12, 10);
    Surface s = original;
    DrawContext dc(&s);
    dc.BitBlt(2 + shift.x, 2 + shift.y, 6, 5, s, 2, 2);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 6; ++x)
        EXPECT_EQ(s.At(2 + shift.x + x, 2 + shift.y + y), original.At(2 + x, 2 + y))
            << x << "," << y;
  }
}

TEST(DrawBlit, CopiesFromAnotherContextsSurface) {
  Surface a = Gradient(6, 6), b(6, 6, kPaper);
  DrawContext from(&a), to(&b);
  to.BitBlt(1, 1, 3, 3, from, 2, 2);
  EXPECT_EQ(b.At(1, 1), a.At(2, 2));
  EXPECT_EQ(b.At(3, 3), a.At(4, 4));
  EXPECT_EQ(b.At(4, 4), kPaper);
  DrawContext none;
  to.BitBlt(0, 0, 6, 6, none, 0, 0);  // a context without a surface copies nothing
  EXPECT_EQ(b.At(0, 0), kPaper);
}

}  // namespace
