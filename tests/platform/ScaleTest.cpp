// High-density screens: the factor chosen from the settings, and windows at factor 2 under SDL's
// offscreen driver, enlarged on the screen while everything the layers above see stays in units.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include <SDL.h>

#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/Scale.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "tests/common/SdlEvents.h"
#include "tests/platform/Printers.h"

namespace platform {
namespace {

TEST(ScaleChoice, TheOwnSettingThenTheDesktopsThenTheToolkitsThenTheScreens) {
  struct Case {
    const char* own;
    float xft;
    const char* gdk;
    float dpi;
    int expected;
  } const cases[] = {
      {"2", 0, nullptr, 0, 2},       {"3", 96, "1", 96, 3},         {"1", 192, "2", 300, 1},
      {"4", 0, nullptr, 0, 1},       {"0", 0, "2", 0, 2},           {"2x", 0, nullptr, 192, 2},
      {"", 0, "", 0, 1},             {nullptr, 192, "1", 96, 2},    {nullptr, 96, "2", 300, 1},
      {nullptr, 288, nullptr, 0, 3}, {nullptr, 0, "2", 96, 2},      {nullptr, 0, "5", 0, kMaxScale},
      {nullptr, 0, "0", 192, 2},     {nullptr, 0, "-1", 0, 1},      {nullptr, 0, nullptr, 96, 1},
      {nullptr, 0, nullptr, 144, 1}, {nullptr, 0, nullptr, 167, 1}, {nullptr, 0, nullptr, 168, 2},
      {nullptr, 0, nullptr, 192, 2}, {nullptr, 0, nullptr, 263, 2}, {nullptr, 0, nullptr, 264, 3},
      {nullptr, 0, nullptr, 600, 3}, {nullptr, 0, nullptr, 0, 1},   {nullptr, -1, nullptr, -1, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseScale(c.own, c.xft, c.gdk, c.dpi), c.expected)
        << (c.own ? c.own : "unset") << " " << c.xft << " " << (c.gdk ? c.gdk : "unset") << " "
        << c.dpi;
}

TEST(ScaleChoice, XftDpiIsReadFromTheResources) {
  struct Case {
    const char* resources;
    float dpi;
  } const cases[] = {
      {"Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n", 192},
      {"Xft.dpi: 144", 144},
      {"Xft.dpi:\t120.5\n", 120.5f},
      {"*Xft.dpi:\t192\n", 0},  // a pattern, not the resource itself
      {"Xft.dpix:\t192\n", 0},
      {"Xft.dpi:\tlarge\n", 0},
      {"Xft.dpi:\t-96\n", 0},
      {"", 0},
      {nullptr, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(XftDpiOf(c.resources), c.dpi) << (c.resources ? c.resources : "null");
}

TEST(ScaleUnits, RoundTowardsMinusInfinity) {
  struct Case {
    int pixels, factor, units;
  } const cases[] = {{0, 2, 0},   {1, 2, 0},   {3, 2, 1},  {-1, 2, -1}, {-2, 2, -1},
                     {-3, 2, -2}, {8, 3, 2},   {-4, 3, -2}, {7, 1, 7},   {-7, 1, -7}};
  for (const Case& c : cases) EXPECT_EQ(ToUnits(c.pixels, c.factor), c.units) << c.pixels;
}

// Windows made at factor 2; the factor before is put back afterwards.
class ScaledWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    UseVirtualClock();
    before_ = DisplayScale();
    SetDisplayScale(2);
    Drain();
  }
  void TearDown() override {
    ReleaseMouseCapture();
    for (const WindowId id : windows_) DestroyWindow(id);
    Drain();
    SetDisplayScale(before_);
  }

  WindowId Make(int x, int y, int width, int height) {
    const WindowId id = CreateWindow(x, y, width, height);
    EXPECT_NE(id, 0u);
    windows_.push_back(id);
    return id;
  }

  static std::vector<Message> Drain() {
    std::vector<Message> got;
    Message m;
    while (PeekMessage(m)) got.push_back(m);
    return got;
  }

  static Pixel Shown(WindowId id, int x, int y) {
    SDL_Surface* shown = SDL_GetWindowSurface(detail::SdlWindowOf(id));
    const auto* row = static_cast<const Uint8*>(shown->pixels) + y * shown->pitch;
    Uint32 pixel = 0;
    std::memcpy(&pixel, row + x * shown->format->BytesPerPixel, shown->format->BytesPerPixel);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(pixel, shown->format, &r, &g, &b);
    return MakePixel(r, g, b);
  }

  static void ScreenSize(WindowId id, int& width, int& height) {
    SDL_GetWindowSize(detail::SdlWindowOf(id), &width, &height);
  }

  int before_ = 1;
  std::vector<WindowId> windows_;
};

TEST_F(ScaledWindowTest, AWindowIsPlacedSizedAndShownTwiceAsLarge) {
  const WindowId id = Make(10, 20, 30, 40);
  ShowWindow(id);
  Surface* image = WindowImage(id);
  ASSERT_EQ(image->width, 30);
  ASSERT_EQ(image->height, 40);
  const Pixel red = MakePixel(255, 0, 0), blue = MakePixel(0, 0, 255), green = MakePixel(0, 255, 0);
  const Pixel white = MakePixel(255, 255, 255);
  image->Row(0)[0] = red;
  image->Row(39)[29] = blue;
  image->Row(5)[7] = green;
  ASSERT_TRUE(PresentWindow(id));

  int width = 0, height = 0, x = 0, y = 0;
  ScreenSize(id, width, height);
  SDL_GetWindowPosition(detail::SdlWindowOf(id), &x, &y);
  EXPECT_EQ(width, 60);
  EXPECT_EQ(height, 80);
  EXPECT_EQ(x, 20);
  EXPECT_EQ(y, 40);
  ASSERT_TRUE(WindowBounds(id));
  EXPECT_EQ(WindowBounds(id)->x, 10);
  EXPECT_EQ(WindowBounds(id)->width, 30);
  // Every pixel of the image is a 2 x 2 block, with nothing of its neighbours in it.
  struct Case {
    int x, y;
    Pixel expected;
  } const cases[] = {{0, 0, red},     {1, 1, red},     {2, 0, white},  {58, 78, blue},
                     {59, 79, blue},  {57, 79, white}, {14, 10, green}, {15, 11, green},
                     {16, 10, white}, {14, 12, white}, {13, 10, white}};
  for (const Case& c : cases) EXPECT_EQ(Shown(id, c.x, c.y), c.expected) << c.x << "," << c.y;

  // A move and a resize in units land on the screen in pixels; a picture given covers it.
  MoveWindow(id, 5, 6, 25, 15);
  ScreenSize(id, width, height);
  EXPECT_EQ(width, 50);
  EXPECT_EQ(height, 30);
  EXPECT_EQ(WindowImage(id)->width, 25);
  Surface picture(25, 15, blue);
  picture.Row(14)[24] = green;
  ASSERT_TRUE(PresentWindowFrom(id, picture));
  EXPECT_EQ(Shown(id, 0, 0), blue);
  EXPECT_EQ(Shown(id, 49, 29), green);
  EXPECT_EQ(Shown(id, 47, 29), blue);
  EXPECT_EQ(WindowImage(id)->Row(14)[24], green);

  // The offscreen display's 1024 x 768 pixels, in units.
  EXPECT_EQ(ScreenWidth(), 512);
  EXPECT_EQ(ScreenHeight(), 384);
}

TEST_F(ScaledWindowTest, EveryPixelOfAPictureBecomesABlockAtEachFactor) {
  // Odd widths leave a pixel after the last group of four; many colours catch a pixel taken
  // from the wrong place.
  for (const int factor : {2, 3}) {
    SetDisplayScale(factor);
    for (const int width : {37, 40}) {
      const WindowId id = Make(3, 4, width, 7);
      ShowWindow(id);
      Surface picture(width, 7, 0);
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < width; ++x)
          picture.Row(y)[x] = Pixel(0x10203 * (y * width + x + 1)) & 0xFFFFFF;
      ASSERT_TRUE(PresentWindowFrom(id, picture));
      int screenWidth = 0, screenHeight = 0;
      ScreenSize(id, screenWidth, screenHeight);
      ASSERT_EQ(screenWidth, width * factor);
      ASSERT_EQ(screenHeight, 7 * factor);
      int wrong = 0;
      for (int y = 0; y < screenHeight; ++y)
        for (int x = 0; x < screenWidth; ++x)
          if (Shown(id, x, y) != picture.Row(y / factor)[x / factor]) ++wrong;
      EXPECT_EQ(wrong, 0) << "factor " << factor << ", width " << width;
      // The image still holds the picture, for those who read the window back.
      for (int y = 0; y < 7; ++y)
        EXPECT_EQ(std::memcmp(WindowImage(id)->Row(y), picture.Row(y), width * sizeof(Pixel)), 0)
            << "row " << y;
    }
  }
}

TEST_F(ScaledWindowTest, AFrameSendsTheRowsItChangesAndEveryRowAfterAnExposure) {
  const WindowId id = Make(0, 0, 20, 10);
  ShowWindow(id);
  const Pixel blue = MakePixel(0, 0, 255), green = MakePixel(0, 255, 0);
  Surface first(20, 10, blue);
  ASSERT_TRUE(PresentWindowFrom(id, first));
  // What the screen holds is lost behind the program's back, as a display loses what a window
  // covered; black marks it.
  SDL_Surface* screen = SDL_GetWindowSurface(detail::SdlWindowOf(id));
  ASSERT_NE(screen, nullptr);
  for (int y = 0; y < screen->h; ++y)
    std::memset(static_cast<Uint8*>(screen->pixels) + y * screen->pitch, 0, screen->w * 4);
  const Pixel black = Shown(id, 0, 0);

  Surface second = first;
  second.Row(4)[3] = green;
  second.Row(5)[19] = green;
  ASSERT_TRUE(PresentWindowFrom(id, second));
  // The changed rows are whole on the screen; the others were not sent again.
  for (int x = 0; x < 40; ++x) {
    EXPECT_EQ(Shown(id, x, 9), x / 2 == 3 ? green : blue) << x;
    EXPECT_EQ(Shown(id, x, 10), x / 2 == 19 ? green : blue) << x;
  }
  EXPECT_EQ(Shown(id, 0, 7), black);
  EXPECT_EQ(Shown(id, 0, 12), black);
  EXPECT_EQ(WindowImage(id)->Row(4)[3], green);
  EXPECT_EQ(WindowImage(id)->Row(0)[0], blue);

  // The display says the window shows again: the next frame, the same, sends every row.
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = id;
  e.window.event = SDL_WINDOWEVENT_EXPOSED;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  Drain();
  ASSERT_TRUE(PresentWindowFrom(id, second));
  int wrong = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      if (Shown(id, x, y) != second.Row(y / 2)[x / 2]) ++wrong;
  EXPECT_EQ(wrong, 0);

  // Drawn into the window's own image and presented from there, a changed row shows too.
  WindowImage(id)->Row(7)[0] = green;
  ASSERT_TRUE(PresentWindow(id));
  EXPECT_EQ(Shown(id, 1, 15), green);
  EXPECT_EQ(Shown(id, 2, 15), blue);
}

TEST(ScaleDoubling, RowsWrittenPastTheCachesHoldEachPixelTwiceAndNothingMore) {
  constexpr Pixel kUntouched = 0xDEADBE;
  struct Case {
    int width;
    int topOffset, bottomOffset;  // in pixels from a 16-byte boundary
    bool written;
  } const cases[] = {
      {1, 0, 0, true},  {3, 0, 0, true},  {4, 0, 0, true},  {5, 0, 0, true},
      {17, 0, 0, true}, {8, 2, 2, true},  {9, 2, 2, true},  {1, 2, 2, true},
      {8, 1, 1, false}, {8, 0, 2, false}, {8, 2, 0, false}, {0, 0, 0, false},
  };
  for (const Case& c : cases) {
    std::vector<Pixel> from(c.width + 1);
    for (int x = 0; x < c.width; ++x) from[x] = Pixel(0x0A0B00 + x);
    alignas(16) Pixel top[48], bottom[48];
    std::fill(std::begin(top), std::end(top), kUntouched);
    std::fill(std::begin(bottom), std::end(bottom), kUntouched);
    EXPECT_EQ(detail::DoubleRowPastCaches(from.data(), c.width, top + c.topOffset,
                                          bottom + c.bottomOffset),
              c.written)
        << "width " << c.width << ", offsets " << c.topOffset << " " << c.bottomOffset;
    for (int i = 0; i < 48; ++i) {
      const int t = i - c.topOffset, b = i - c.bottomOffset;
      const bool inTop = c.written && t >= 0 && t < 2 * c.width;
      const bool inBottom = c.written && b >= 0 && b < 2 * c.width;
      EXPECT_EQ(top[i], inTop ? from[t / 2] : kUntouched) << "width " << c.width << ", top " << i;
      EXPECT_EQ(bottom[i], inBottom ? from[b / 2] : kUntouched)
          << "width " << c.width << ", bottom " << i;
    }
  }
}

TEST_F(ScaledWindowTest, ThePointerAndTheDesktopsSizesArriveInUnits) {
  const WindowId left = Make(100, 100, 200, 100);
  const WindowId right = Make(400, 100, 200, 100);
  Drain();
  qxtest::PushMouse(SDL_MOUSEBUTTONDOWN, left, 21, 41);
  qxtest::PushMouse(SDL_MOUSEMOTION, left, 20, 40);
  qxtest::PushMouse(SDL_MOUSEBUTTONUP, right, 399, 199);
  qxtest::PushWheel(right, 3, 5, 0, 1);
  EXPECT_EQ(Drain(), (std::vector<Message>{{left, MessageKind::LeftButtonDown, 10, 20},
                                           {left, MessageKind::MouseMove, 10, 20},
                                           {right, MessageKind::LeftButtonUp, 199, 99},
                                           {right, MessageKind::Wheel, 1, PackPoint(1, 2)}}));

  // Captured, the pointer left of the window or over the other one is in the window's units.
  CaptureMouse(left);
  qxtest::PushMouse(SDL_MOUSEMOTION, left, -1, 10);
  qxtest::PushMouse(SDL_MOUSEMOTION, right, 10, 13);
  EXPECT_EQ(Drain(), (std::vector<Message>{{left, MessageKind::MouseMove, -1, 5},
                                           {left, MessageKind::MouseMove, 305, 6}}));
  ReleaseMouseCapture();

  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = right;
  e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
  e.window.data1 = 300;
  e.window.data2 = 161;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  std::vector<Message> sizes;
  for (const Message& m : Drain())
    if (m.kind == MessageKind::Size) sizes.push_back(m);
  EXPECT_EQ(sizes, (std::vector<Message>{{right, MessageKind::Size, 150, 80}}));
}

}  // namespace
}  // namespace platform
