// Deferred solid fills: whatever is drawn, read or copied meanwhile, a context that lets its
// solid fills wait ends with the picture of one that draws everything at once, and reads the same
// pixels on the way.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/draw/DrawContext.h"
#include "platform/draw/Font.h"

namespace {

using namespace platform;

constexpr int kWidth = 64, kHeight = 48;

// One random step, done the same way on both contexts. Coordinates reach a little outside the
// picture; fills are mostly solid and nested, as a window's faces are.
class Steps {
 public:
  explicit Steps(unsigned seed) : random_(seed) {}

  int Coordinate(int size) { return Between(-4, size + 4); }
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  Pixel Colour() { return MakePixel(Between(0, 3) * 80, Between(0, 3) * 80, Between(0, 3) * 80); }

  // A step: what it does on a context, and what it read (compared between the two).
  std::function<std::string(DrawContext&)> Next() {
    const int kind = Between(0, 13);
    const int x1 = Coordinate(kWidth), y1 = Coordinate(kHeight);
    const int x2 = Coordinate(kWidth), y2 = Coordinate(kHeight);
    const Pixel colour = Colour();
    switch (kind) {
      case 0:
      case 1:
      case 2:  // the solid fills that wait
        return [=](DrawContext& dc) {
          dc.SelectPen(Pen{Pen::kNull, 1, 0});
          dc.SelectBrush(Brush::Solid(colour));
          dc.Rectangle(x1, y1, x2, y2);
          return std::string();
        };
      case 3:
        return [=](DrawContext& dc) {
          dc.SelectBrush(Brush::Solid(colour));
          dc.FillRect({x1, y1, x2, y2});
          return std::string();
        };
      case 4: {
        const int style = Between(0, 6), width = Between(0, 4);
        return [=](DrawContext& dc) {
          dc.SelectPen(Pen{style, width, colour});
          dc.SelectBrush(Brush::Solid(colour ^ 0x404040));
          dc.Rectangle(x1, y1, x2, y2);
          return std::string();
        };
      }
      case 5: {
        const int style = Between(0, 4), width = Between(0, 3);
        return [=](DrawContext& dc) {
          dc.SelectPen(Pen{style, width, colour});
          dc.MoveTo(x1, y1);
          dc.LineTo(x2, y2);
          return std::string();
        };
      }
      case 6: {
        const int hatch = Between(0, 5);
        return [=](DrawContext& dc) {
          dc.SelectPen(Pen{Pen::kNull, 1, 0});
          dc.SelectBrush(Brush::Hatched(hatch, colour));
          dc.Rectangle(x1, y1, x2, y2);
          return std::string();
        };
      }
      case 7:
        return [=](DrawContext& dc) {
          dc.SelectPen(Pen{Pen::kSolid, 1, colour});
          dc.SelectBrush(Brush::Solid(colour ^ 0x808080));
          dc.Ellipse(x1, y1, x2, y2);
          return std::string();
        };
      case 8: {
        const Point points[] = {{x1, y1}, {x2, y1}, {x1, y2}};
        return [=](DrawContext& dc) {
          dc.SelectPen(Pen{Pen::kSolid, 1, colour});
          dc.Polygon(points);
          return std::string();
        };
      }
      case 9: {
        const bool opaque = Between(0, 1) == 1;
        return [=](DrawContext& dc) {
          dc.SetTextColor(colour);
          dc.SetBackgroundColor(colour ^ 0xFFFFFF);
          dc.SetBackgroundMode(opaque ? BackgroundMode::Opaque : BackgroundMode::Transparent);
          dc.TextOut(x1, y1, "Wg1");
          return std::string();
        };
      }
      case 10:
        return [=](DrawContext& dc) {
          dc.SetPixel(x1, y1, colour);
          return std::string();
        };
      case 11:
        return [=](DrawContext& dc) {
          const auto pixel = dc.GetPixel(x1, y1);
          return pixel ? std::to_string(*pixel) : std::string("none");
        };
      case 12: {
        const int w = Between(-40, 40), h = Between(-30, 30);
        return [=](DrawContext& dc) {
          dc.BitBlt(x1, y1, w, h, dc, x2, y2);  // onto itself, overlapping or not
          return std::string();
        };
      }
      default:
        return [=](DrawContext& dc) {
          if (x1 % 3 == 0)
            dc.ClearClip();
          else
            dc.SetClip({x1, y1, x2, y2});
          return std::string();
        };
    }
  }

 private:
  std::mt19937 random_;
};

TEST(DrawDeferred, WaitingFillsLeaveThePictureAsDrawingAtOnce) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    Surface now(kWidth, kHeight, 0x123456), later(kWidth, kHeight, 0x123456);
    DrawContext direct(&now), deferred(&later);
    deferred.DeferFills(true);
    Steps steps(seed);
    for (int i = 0; i < 40; ++i) {
      const auto step = steps.Next();
      ASSERT_EQ(step(direct), step(deferred)) << "seed " << seed << ", step " << i;
    }
    // A copy out of the deferring context reads its whole picture as it stands.
    Surface copy(kWidth, kHeight, 0);
    DrawContext reader(&copy);
    reader.BitBlt(0, 0, kWidth, kHeight, deferred, 0, 0);
    EXPECT_EQ(copy.pixels, now.pixels) << "seed " << seed;
    deferred.DeferFills(false);
    EXPECT_EQ(later.pixels, now.pixels) << "seed " << seed;
  }
}

// The case it is for: nested faces, each hiding most of the one before, and a frame line on each.
TEST(DrawDeferred, NestedFacesEndAsTheTopmostAndTheirFrames) {
  Surface now(kWidth, kHeight, 0), later(kWidth, kHeight, 0);
  DrawContext direct(&now), deferred(&later);
  deferred.DeferFills(true);
  for (DrawContext* dc : {&direct, &deferred}) {
    for (int inset = 0; inset < 20; inset += 2) {
      dc->SelectPen(Pen{Pen::kNull, 1, 0});
      dc->SelectBrush(Brush::Solid(MakePixel(inset * 10, 0, 0)));
      dc->Rectangle(inset, inset, kWidth - inset, kHeight - inset);
      dc->SelectPen(Pen{Pen::kSolid, 1, 0xFFFFFF});
      dc->MoveTo(inset, inset);
      dc->LineTo(kWidth - inset, inset);
    }
  }
  // A waiting face copied elsewhere on the same picture is copied as it will be.
  for (DrawContext* dc : {&direct, &deferred}) {
    dc->SelectPen(Pen{Pen::kNull, 1, 0});
    dc->SelectBrush(Brush::Solid(0x00FF00));
    dc->Rectangle(2, 30, 12, 40);
    dc->BitBlt(40, 2, 8, 8, *dc, 3, 31);
  }
  deferred.Flush();
  EXPECT_EQ(later.pixels, now.pixels);
  EXPECT_EQ(later.Row(5)[44], 0x00FF00u);
  EXPECT_EQ(later.Row(kHeight / 2)[kWidth / 2], MakePixel(180, 0, 0));
  EXPECT_EQ(later.Row(4)[30], 0xFFFFFFu);
}

// The large pictures everything is drawn into have rows a little further apart than their width.
// Drawn on, read, copied to and from, they must show exactly what a plain picture shows.
TEST(DrawDeferred, APictureWithRowsApartTakesEveryDrawingAsAPlainOne) {
  struct Size {
    int width, stride;
  } sizes[] = {{kWidth, 80}, {1024, 1040}, {801, 816}, {17, 48}, {0, 0}};
  for (const Size& size : sizes) {
    const Surface spread = Surface::Spread(size.width, 3, 0);
    EXPECT_EQ(spread.Stride(), size.stride) << size.width;
    EXPECT_EQ(spread.pixels.size(), size_t(size.stride) * 3) << size.width;
  }
  // Both pixel by pixel, and what the picture shows copied out of each to a plain picture.
  const auto same = [](const Surface& plain, DrawContext& spreadContext) {
    const Surface& spread = *spreadContext.Target();
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (plain.At(x, y) != spread.At(x, y)) return false;
    Surface copy(kWidth, kHeight, 0);
    DrawContext reader(&copy);
    reader.BitBlt(0, 0, kWidth, kHeight, spreadContext, 0, 0);
    return copy.pixels == plain.pixels;
  };
  for (unsigned seed = 1; seed <= 200; ++seed) {
    Surface plain(kWidth, kHeight, 0x123456), apart = Surface::Spread(kWidth, kHeight, 0x123456);
    DrawContext direct(&plain), spread(&apart);
    spread.DeferFills(seed % 2 == 0);
    Steps steps(seed);
    for (int i = 0; i < 40; ++i) {
      const auto step = steps.Next();
      ASSERT_EQ(step(direct), step(spread)) << "seed " << seed << ", step " << i;
    }
    // A plain picture copied in whole rows, and one copied in part.
    Surface gradient(kWidth, kHeight, 0);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) gradient.Row(y)[x] = MakePixel(x * 4, y * 5, seed & 0xFF);
    for (DrawContext* dc : {&direct, &spread}) {
      dc->ClearClip();
      dc->BitBlt(0, 0, kWidth, kHeight / 2, gradient, 0, kHeight / 2);
      dc->BitBlt(5, 20, 30, 20, gradient, 3, 1);
    }
    spread.Flush();
    EXPECT_TRUE(same(plain, spread)) << "seed " << seed;
  }
}

}  // namespace
