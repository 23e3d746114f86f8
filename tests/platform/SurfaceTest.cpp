// A surface's pixels: large pictures live in memory mapped from the system, small ones on the
// heap; both must read as made, and survive copies, moves and refills between the two kinds.
#include <gtest/gtest.h>

#include <utility>

#include "platform/draw/Surface.h"
#include "tests/platform/DrawPictures.h"

namespace {

using namespace platform;
using namespace qxtest;

bool AllAre(const Surface& s, Pixel p) {
  for (const Pixel q : s.pixels)
    if (q != p) return false;
  return s.pixels.size() == size_t(s.width) * size_t(s.height);
}

TEST(Surface, PicturesOfEverySizeReadAsMadeThroughCopiesMovesAndRefills) {
  struct Case {
    int width, height;
    Pixel fill;
  } const cases[] = {
      {3, 2, 0}, {3, 2, kRed}, {1024, 768, 0}, {1024, 768, kBlue}, {0, 5, kRed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " of " << c.fill);
    Surface made(c.width, c.height, c.fill);
    EXPECT_TRUE(AllAre(made, c.fill));
    if (!made.pixels.empty()) made.Row(made.height - 1)[made.width - 1] = 0x123456;

    Surface copy = made;
    EXPECT_EQ(copy.pixels, made.pixels);
    Surface moved = std::move(copy);
    EXPECT_EQ(moved.pixels, made.pixels);

    // A large picture given a small one's pixels and back: each kind is freed as it was got.
    Surface other(2, 2, kGreen);
    other = moved;
    EXPECT_EQ(other.pixels, made.pixels);
    moved = Surface(2, 2, kGreen);
    EXPECT_TRUE(AllAre(moved, kGreen));
    made.pixels.assign(made.pixels.size(), kPaper);
    EXPECT_TRUE(AllAre(made, kPaper));
  }
}

}  // namespace
