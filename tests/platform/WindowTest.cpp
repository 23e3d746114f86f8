// Windows under SDL's offscreen driver: size messages, the window's image, mouse routing while
// captured, the desktop's close request, destruction.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include <SDL.h>

#include "tests/common/SdlEvents.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/Screen.h"
#include "platform/Timers.h"
#include "platform/Window.h"
#include "tests/platform/Printers.h"

namespace platform {
namespace {

struct Recorder {
  std::vector<Message> seen;

  static std::int32_t Procedure(void* context, const Message& m) {
    static_cast<Recorder*>(context)->seen.push_back(m);
    return 0;
  }
};

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    UseVirtualClock();
    Drain();
  }
  void TearDown() override {
    ReleaseMouseCapture();
    for (const WindowId id : windows_) DestroyWindow(id);
    Drain();
  }

  WindowId Make(int x, int y, int width, int height) {
    const WindowId id = CreateWindow(x, y, width, height);
    EXPECT_NE(id, 0u);
    windows_.push_back(id);
    return id;
  }

  // The desktop's word that a window now has another size, as SDL brings it.
  static void PushSizeChange(WindowId id, int width, int height) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id;
    e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    e.window.data1 = width;
    e.window.data2 = height;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }

  static std::vector<Message> Drain() {
    std::vector<Message> got;
    Message m;
    while (PeekMessage(m)) got.push_back(m);
    return got;
  }

  static std::vector<Message> Only(MessageKind kind, const std::vector<Message>& all) {
    std::vector<Message> some;
    for (const Message& m : all)
      if (m.kind == kind) some.push_back(m);
    return some;
  }

  static void PushMouse(Uint32 type, WindowId window, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    qxtest::PushMouse(type, window, x, y, button);
  }

  std::vector<WindowId> windows_;
  Recorder recorder_;  // outlives the windows, whose Destroy it still hears in TearDown
};

TEST_F(WindowTest, ANewWindowIsHiddenWithAWhiteImageOfItsSize) {
  const WindowId id = Make(20, 20, 320, 240);
  EXPECT_FALSE(IsWindowVisible(id));
  const auto bounds = WindowBounds(id);
  ASSERT_TRUE(bounds);
  EXPECT_EQ(bounds->x, 20);
  EXPECT_EQ(bounds->y, 20);
  EXPECT_EQ(bounds->width, 320);
  EXPECT_EQ(bounds->height, 240);
  const Surface* image = WindowImage(id);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 320);
  EXPECT_EQ(image->height, 240);
  EXPECT_EQ(image->At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(image->At(319, 239), 0xFFFFFFu);

  EXPECT_TRUE(ShowWindow(id));
  EXPECT_TRUE(IsWindowVisible(id));
  EXPECT_EQ(Only(MessageKind::Paint, Drain()), (std::vector<Message>{{id, MessageKind::Paint}}))
      << "showing asks for one paint";
  EXPECT_TRUE(HideWindow(id));
  EXPECT_FALSE(IsWindowVisible(id));
}

// A window drawn whole right after it was shown owes no paint: SDL's own word of the showing,
// pumped later, must not ask for one again. A paint asked for after the drawing still comes.
TEST_F(WindowTest, AWithdrawnPaintStaysWithdrawnUntilAskedForAgain) {
  const WindowId id = Make(20, 20, 320, 240);
  const WindowId other = Make(400, 20, 100, 100);
  ASSERT_TRUE(ShowWindow(id));
  ASSERT_TRUE(ShowWindow(other));
  ValidateWindow(id);
  EXPECT_EQ(Only(MessageKind::Paint, Drain()), (std::vector<Message>{{other, MessageKind::Paint}}))
      << "only the window not drawn is owed a paint";

  InvalidateWindow(id);
  ValidateWindow(other);  // owes nothing: no effect
  EXPECT_EQ(Only(MessageKind::Paint, Drain()), (std::vector<Message>{{id, MessageKind::Paint}}));
}

TEST_F(WindowTest, ResizingSendsSizeAtOnceAndKeepsWhatFitsOfTheImage) {
  const WindowId id = Make(20, 20, 320, 240);
  Recorder& recorder = recorder_;
  SetWindowProcedure(id, &Recorder::Procedure, &recorder);
  WindowImage(id)->Row(10)[10] = 0xFF0000;

  ASSERT_TRUE(MoveWindow(id, 50, 60, 400, 300));
  EXPECT_EQ(recorder.seen, (std::vector<Message>{{id, MessageKind::Size, 400, 300}}))
      << "the size comes during the call";
  const auto bounds = WindowBounds(id);
  ASSERT_TRUE(bounds);
  EXPECT_EQ(bounds->x, 50);
  EXPECT_EQ(bounds->y, 60);
  EXPECT_EQ(bounds->width, 400);
  EXPECT_EQ(bounds->height, 300);
  const Surface* image = WindowImage(id);
  EXPECT_EQ(image->width, 400);
  EXPECT_EQ(image->height, 300);
  EXPECT_EQ(image->At(10, 10), 0xFF0000u);
  EXPECT_EQ(image->At(399, 299), 0xFFFFFFu);

  // SDL's own report of the new size, pumped later, is no news and makes no second Size.
  const auto later = Drain();
  EXPECT_EQ(Only(MessageKind::Size, later), std::vector<Message>{});
  EXPECT_EQ(Only(MessageKind::Paint, later), (std::vector<Message>{{id, MessageKind::Paint}}));

  recorder.seen.clear();
  ASSERT_TRUE(MoveWindow(id, 70, 80, 400, 300));
  EXPECT_EQ(recorder.seen, std::vector<Message>{}) << "a move alone changes no size";
  EXPECT_EQ(WindowBounds(id)->x, 70);

  ASSERT_TRUE(MoveWindow(id, 70, 80, 0, -4));
  EXPECT_EQ(recorder.seen, (std::vector<Message>{{id, MessageKind::Size, 1, 1}}))
      << "a window is at least one pixel";

  // A size far beyond any display would take gigabytes of image: it is cut to kMaxWindowSide.
  recorder.seen.clear();
  ASSERT_TRUE(MoveWindow(id, 0, 0, 20000, 1000000));
  EXPECT_EQ(recorder.seen,
            (std::vector<Message>{{id, MessageKind::Size, kMaxWindowSide, kMaxWindowSide}}));
  EXPECT_EQ(WindowImage(id)->width, kMaxWindowSide);
  EXPECT_EQ(WindowImage(id)->height, kMaxWindowSide);
  const WindowId huge = Make(0, 0, INT_MAX, 2000);
  EXPECT_EQ(WindowImage(huge)->width, kMaxWindowSide);
  EXPECT_EQ(WindowImage(huge)->height, 2000);
}

TEST_F(WindowTest, ASizeChangeFromTheDesktopIsPostedInTurn) {
  const WindowId id = Make(0, 0, 100, 100);
  PushSizeChange(id, 120, 90);
  const auto got = Drain();
  EXPECT_EQ(Only(MessageKind::Size, got), (std::vector<Message>{{id, MessageKind::Size, 120, 90}}));
  EXPECT_EQ(WindowImage(id)->width, 120);
  EXPECT_EQ(WindowImage(id)->height, 90);
}

SDL_Color ShownPixel(WindowId id, int x, int y) {
  SDL_Surface* shown = SDL_GetWindowSurface(detail::SdlWindowOf(id));
  const auto* row = static_cast<const Uint8*>(shown->pixels) + y * shown->pitch;
  Uint32 pixel = 0;
  std::memcpy(&pixel, row + x * shown->format->BytesPerPixel, shown->format->BytesPerPixel);
  SDL_Color c{};
  SDL_GetRGB(pixel, shown->format, &c.r, &c.g, &c.b);
  return c;
}

// A window is placed several times while it is built; it reaches the screen once, as messages
// are next fetched or its first frame is shown, where and as it was last asked to be.
TEST_F(WindowTest, AWindowBeingBuiltReachesTheScreenOnceAtItsLastPlace) {
  struct Case {
    const char* name;
    bool byFrame;  // its first frame puts it there, not the message loop
  };
  for (const Case& c : {Case{"by the loop", false}, Case{"by a frame", true}}) {
    SCOPED_TRACE(c.name);
    const WindowId id = Make(20, 20, 320, 240);
    Recorder& recorder = recorder_;
    recorder.seen.clear();
    SetWindowProcedure(id, &Recorder::Procedure, &recorder);
    ASSERT_TRUE(ShowWindow(id));
    ASSERT_TRUE(MoveWindow(id, 0, 0, 151, 601));
    ASSERT_TRUE(MoveWindow(id, 100, 100, 801, 601));
    EXPECT_EQ(recorder.seen, (std::vector<Message>{{id, MessageKind::Size, 151, 601},
                                                   {id, MessageKind::Size, 801, 601}}))
        << "each size comes during its call";
    EXPECT_TRUE(IsWindowVisible(id));
    EXPECT_EQ(WindowBounds(id)->x, 100);
    EXPECT_EQ(WindowImage(id)->width, 801);
    EXPECT_EQ(detail::SdlWindowOf(id), nullptr) << "the display has not heard of it yet";

    if (c.byFrame) {
      ASSERT_TRUE(PresentWindowFrom(id, Surface(801, 601, 0x00FF00)));
      EXPECT_EQ(ShownPixel(id, 800, 600).g, 0xFF) << "the frame covers the window's last size";
    }
    const auto later = Drain();
    SDL_Window* sdl = detail::SdlWindowOf(id);
    ASSERT_NE(sdl, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_SHOWN);
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(sdl, &x, &y);
    SDL_GetWindowSize(sdl, &width, &height);
    EXPECT_EQ(std::vector<int>({x, y, width, height}), std::vector<int>({100, 100, 801, 601}));
    EXPECT_EQ(Only(MessageKind::Size, later), std::vector<Message>{}) << "no size is news";
    EXPECT_EQ(Only(MessageKind::Paint, later), (std::vector<Message>{{id, MessageKind::Paint}}))
        << "the showing asked for one paint, and reaching the screen for none";
  }

  // Hidden again before it got there, it never shows.
  const WindowId brief = Make(20, 20, 100, 100);
  ShowWindow(brief);
  HideWindow(brief);
  Drain();
  EXPECT_FALSE(IsWindowVisible(brief));
  ASSERT_NE(detail::SdlWindowOf(brief), nullptr);
  EXPECT_FALSE(SDL_GetWindowFlags(detail::SdlWindowOf(brief)) & SDL_WINDOW_SHOWN);
}

TEST_F(WindowTest, PresentShowsTheImage) {
  const WindowId id = Make(0, 0, 64, 48);
  Surface* image = WindowImage(id);
  image->Row(0)[0] = MakePixel(255, 0, 0);
  image->Row(47)[63] = MakePixel(0, 0, 255);
  image->Row(20)[30] = MakePixel(12, 34, 56);
  ASSERT_TRUE(PresentWindow(id));

  struct Case {
    int x, y;
    Uint8 r, g, b;
  } const cases[] = {{0, 0, 255, 0, 0}, {63, 47, 0, 0, 255}, {30, 20, 12, 34, 56}, {1, 1, 255, 255, 255}};
  for (const Case& c : cases) {
    const SDL_Color shown = ShownPixel(id, c.x, c.y);
    EXPECT_EQ(shown.r, c.r) << c.x << "," << c.y;
    EXPECT_EQ(shown.g, c.g) << c.x << "," << c.y;
    EXPECT_EQ(shown.b, c.b) << c.x << "," << c.y;
  }

  MoveWindow(id, 0, 0, 80, 60);  // the window surface is remade at the new size
  WindowImage(id)->Row(59)[79] = MakePixel(0, 255, 0);
  ASSERT_TRUE(PresentWindow(id));
  EXPECT_EQ(ShownPixel(id, 79, 59).g, 255);
  EXPECT_EQ(ShownPixel(id, 0, 0).r, 255);
  EXPECT_FALSE(PresentWindow(0));
}

// A picture that covers the window goes to the screen once and reaches the image only when the
// image is asked for; whatever comes next (a smaller picture, the image's own present, a resize, a
// size the desktop reports) must start from that picture, not from an older one.
TEST_F(WindowTest, APicturePresentedStraightToTheScreenReachesTheImage) {
  const WindowId id = Make(0, 0, 40, 30);
  const auto picture = [](int width, int height, Pixel fill, Pixel corner) {
    Surface s(width, height, fill);
    s.Row(height - 1)[width - 1] = corner;
    return s;
  };
  const auto imageAt = [&](int x, int y) { return WindowImage(id)->At(x, y); };
  const auto shownRed = [&](int x, int y) { return ShownPixel(id, x, y).r; };

  // Larger than the window: its top-left block is shown and becomes the image.
  ASSERT_TRUE(PresentWindowFrom(id, picture(64, 48, 0xFF0000, 0x00FF00)));
  EXPECT_EQ(shownRed(39, 29), 255);
  EXPECT_EQ(imageAt(0, 0), 0xFF0000u);
  EXPECT_EQ(imageAt(39, 29), 0xFF0000u);

  // A picture smaller than the window keeps the last one around it, on the screen and in the image.
  ASSERT_TRUE(PresentWindowFrom(id, picture(64, 48, 0x800000, 0)));
  ASSERT_TRUE(PresentWindowFrom(id, picture(10, 10, 0x0000FF, 0x0000FF)));
  EXPECT_EQ(shownRed(20, 20), 0x80);
  EXPECT_EQ(shownRed(5, 5), 0);
  EXPECT_EQ(imageAt(20, 20), 0x800000u);
  EXPECT_EQ(imageAt(5, 5), 0x0000FFu);

  // The image's own present shows the last picture with the image's own change.
  ASSERT_TRUE(PresentWindowFrom(id, picture(40, 30, 0x400000, 0x00FF00)));
  WindowImage(id)->Row(0)[0] = 0xFFFFFF;
  ASSERT_TRUE(PresentWindow(id));
  EXPECT_EQ(ShownPixel(id, 0, 0).g, 255);
  EXPECT_EQ(shownRed(20, 20), 0x40);
  EXPECT_EQ(ShownPixel(id, 39, 29).g, 255);

  // A resize keeps the last picture where it fits, by MoveWindow and by the desktop's word alike.
  ASSERT_TRUE(PresentWindowFrom(id, picture(40, 30, 0x200000, 0x00FF00)));
  MoveWindow(id, 0, 0, 50, 40);
  EXPECT_EQ(imageAt(20, 20), 0x200000u);
  EXPECT_EQ(imageAt(39, 29), 0x00FF00u);
  EXPECT_EQ(imageAt(45, 35), 0xFFFFFFu);
  ASSERT_TRUE(PresentWindowFrom(id, picture(50, 40, 0x100000, 0x00FF00)));
  PushSizeChange(id, 60, 45);
  Drain();
  EXPECT_EQ(imageAt(20, 20), 0x100000u);
  EXPECT_EQ(imageAt(49, 39), 0x00FF00u);
  EXPECT_EQ(imageAt(55, 42), 0xFFFFFFu);
}

// The pixels a change of size owes are made only when the image is asked for, so several changes
// in a row must keep just the block that lasted through all of them, and a picture presented after
// them must land on that, whether it covers the window or not.
TEST_F(WindowTest, ChangesOfSizeInARowKeepOnlyWhatLastedThroughAll) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> sizes;  // after a 40 x 30 window marked at (5,5) and (30,20)
    int width, height;
    bool keepsNear, keepsFar;
  } const cases[] = {
      {"growing twice", {{60, 50}, {80, 70}}, 80, 70, true, true},
      {"shrinking below the far mark, then growing", {{20, 15}, {80, 70}}, 80, 70, true, false},
      {"narrowing below the far mark, then widening", {{25, 60}, {70, 25}}, 70, 25, true, false},
      {"shrinking below both marks, then growing", {{4, 4}, {50, 50}}, 50, 50, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const WindowId id = Make(0, 0, 40, 30);
    WindowImage(id)->Row(5)[5] = 0xFF0000;
    WindowImage(id)->Row(20)[30] = 0x00FF00;
    for (const auto& [width, height] : c.sizes) ASSERT_TRUE(MoveWindow(id, 0, 0, width, height));
    const Surface* image = WindowImage(id);
    ASSERT_EQ(image->width, c.width);
    ASSERT_EQ(image->height, c.height);
    EXPECT_EQ(image->At(5, 5), c.keepsNear ? 0xFF0000u : 0xFFFFFFu);
    EXPECT_EQ(image->At(30, 20), c.keepsFar ? 0x00FF00u : 0xFFFFFFu);
    EXPECT_EQ(image->At(c.width - 1, c.height - 1), 0xFFFFFFu);
  }

  // A picture smaller than the window after a change of size sits on what the change kept.
  const WindowId id = Make(0, 0, 40, 30);
  WindowImage(id)->Row(20)[30] = 0x00FF00;
  ASSERT_TRUE(MoveWindow(id, 0, 0, 64, 48));
  ASSERT_TRUE(PresentWindowFrom(id, Surface(10, 10, 0x0000FF)));
  EXPECT_EQ(WindowImage(id)->At(5, 5), 0x0000FFu);
  EXPECT_EQ(WindowImage(id)->At(30, 20), 0x00FF00u);
  EXPECT_EQ(WindowImage(id)->At(60, 40), 0xFFFFFFu);
  EXPECT_EQ(ShownPixel(id, 60, 40).r, 255);
  EXPECT_EQ(ShownPixel(id, 30, 20).r, 0);

  // One that covers it leaves nothing of the old image, on the screen or in the image.
  ASSERT_TRUE(MoveWindow(id, 0, 0, 50, 40));
  ASSERT_TRUE(PresentWindowFrom(id, Surface(50, 40, 0x300000)));
  EXPECT_EQ(WindowImage(id)->At(30, 20), 0x300000u);
  EXPECT_EQ(WindowImage(id)->At(49, 39), 0x300000u);
}

// Only the left button makes button messages; mouse messages go to the window under the pointer
// unless a window holds the capture, which then gets them in its own client coordinates.
TEST_F(WindowTest, MouseMessagesFollowTheCapture) {
  const WindowId left = Make(100, 100, 200, 100);
  const WindowId right = Make(400, 100, 200, 100);

  PushMouse(SDL_MOUSEBUTTONDOWN, left, 10, 20);
  PushMouse(SDL_MOUSEBUTTONDOWN, left, 11, 21, SDL_BUTTON_RIGHT);
  PushMouse(SDL_MOUSEBUTTONUP, left, 11, 21, SDL_BUTTON_MIDDLE);
  PushMouse(SDL_MOUSEMOTION, right, 5, 6);
  PushMouse(SDL_MOUSEBUTTONUP, right, 5, 6);
  EXPECT_EQ(Drain(), (std::vector<Message>{{left, MessageKind::LeftButtonDown, 10, 20},
                                           {right, MessageKind::MouseMove, 5, 6},
                                           {right, MessageKind::LeftButtonUp, 5, 6}}));

  CaptureMouse(left);
  EXPECT_EQ(MouseCaptureWindow(), left);
  PushMouse(SDL_MOUSEMOTION, left, -5, 10);   // SDL reports the pointer left of the window
  PushMouse(SDL_MOUSEMOTION, right, 5, 6);    // over the other window: 300 px to the right
  PushMouse(SDL_MOUSEBUTTONUP, right, 7, -8);
  EXPECT_EQ(Drain(), (std::vector<Message>{{left, MessageKind::MouseMove, -5, 10},
                                           {left, MessageKind::MouseMove, 305, 6},
                                           {left, MessageKind::LeftButtonUp, 307, -8}}));

  ReleaseMouseCapture();
  EXPECT_EQ(MouseCaptureWindow(), 0u);
  PushMouse(SDL_MOUSEMOTION, right, 5, 6);
  EXPECT_EQ(Drain(), (std::vector<Message>{{right, MessageKind::MouseMove, 5, 6}}));
}

// A wheel message carries the notches (positive away from the user, whatever the desktop's
// natural-scrolling setting) and the pointer, routed like the other mouse messages.
TEST_F(WindowTest, TheWheelGivesNotchesAndThePointer) {
  const WindowId left = Make(100, 100, 200, 100);
  const WindowId right = Make(400, 100, 200, 100);
  qxtest::PushWheel(left, 10, 20, 0, 2);
  qxtest::PushWheel(right, 5, 6, 0, 1, true);
  qxtest::PushWheel(right, 5, 6, 3, 0);  // sideways only: no message
  qxtest::PushWheel(left, -3, 7, 0, -1);
  EXPECT_EQ(Drain(), (std::vector<Message>{{left, MessageKind::Wheel, 2, PackPoint(10, 20)},
                                           {right, MessageKind::Wheel, -1, PackPoint(5, 6)},
                                           {left, MessageKind::Wheel, -1, PackPoint(-3, 7)}}));
  EXPECT_EQ(PointX(PackPoint(-3, 7)), -3);
  EXPECT_EQ(PointY(PackPoint(-3, 7)), 7);
  EXPECT_EQ(PointX(PackPoint(1200, -40)), 1200);
  EXPECT_EQ(PointY(PackPoint(1200, -40)), -40);

  CaptureMouse(left);
  qxtest::PushWheel(right, 5, 6, 0, 1);
  EXPECT_EQ(Drain(), (std::vector<Message>{{left, MessageKind::Wheel, 1, PackPoint(305, 6)}}));
}

TEST_F(WindowTest, DestroyingSendsDestroyAndEndsTheWindowsTimersAndCapture) {
  const WindowId id = CreateWindow(0, 0, 50, 50);
  ASSERT_NE(id, 0u);
  struct Probe {
    WindowId id;
    bool existedDuringDestroy = false;
    int destroys = 0;
  } probe{id};
  SetWindowProcedure(
      id,
      [](void* context, const Message& m) -> std::int32_t {
        auto* p = static_cast<Probe*>(context);
        if (m.kind != MessageKind::Destroy) return 0;
        ++p->destroys;
        p->existedDuringDestroy = WindowImage(p->id) != nullptr;
        DestroyWindow(p->id);  // destroying again from inside is harmless
        PostQuitMessage(0);
        return 0;
      },
      &probe);
  const TimerId timer = SetTimer(id, 10);
  CaptureMouse(id);
  InvalidateWindow(id);

  DestroyWindow(id);
  EXPECT_EQ(probe.destroys, 1);
  EXPECT_TRUE(probe.existedDuringDestroy);
  EXPECT_EQ(WindowImage(id), nullptr);
  EXPECT_EQ(MouseCaptureWindow(), 0u);
  EXPECT_FALSE(KillTimer(timer)) << "the window's timer went with it";
  EXPECT_FALSE(IsWindowVisible(id));
  EXPECT_FALSE(MoveWindow(id, 0, 0, 10, 10));
  EXPECT_EQ(DispatchMessage({id, MessageKind::User}), 0) << "the procedure is detached";
  AdvanceClock(100);
  EXPECT_EQ(Drain(), std::vector<Message>{}) << "no paint and no tick for a dead window";
  Message m;
  EXPECT_FALSE(GetMessage(m)) << "the procedure's quit request";
  DestroyWindow(id);  // unknown by now: ignored
}

TEST_F(WindowTest, TheDesktopsCloseRequestHidesTheWindowAndPostsDestroy) {
  const WindowId id = Make(0, 0, 50, 50);
  ShowWindow(id);
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = id;
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  EXPECT_EQ(Only(MessageKind::Destroy, Drain()), (std::vector<Message>{{id, MessageKind::Destroy}}));
  EXPECT_FALSE(IsWindowVisible(id));
  EXPECT_NE(WindowImage(id), nullptr) << "the owner decides when it goes";
}

TEST_F(WindowTest, TheOffscreenDisplayIs1024By768) {
  Make(0, 0, 10, 10);  // starts video
  if (std::strcmp(SDL_GetCurrentVideoDriver(), "offscreen") != 0)
    GTEST_SKIP() << "not the offscreen driver";
  EXPECT_EQ(ScreenWidth(), 1024);
  EXPECT_EQ(ScreenHeight(), 768);
  EXPECT_FALSE(SetPointerShape(-7)) << "offscreen has no pointer to shape";
}

}  // namespace
}  // namespace platform
