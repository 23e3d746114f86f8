// The platform's message box: its text always reaches stderr; with a real display it waits in a
// nested loop until OK, while the program's other windows keep working.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <SDL.h>

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/Messages.h"
#include "platform/Timers.h"
#include "platform/Window.h"

namespace platform {
namespace {

bool RealDisplay() {
  DestroyWindow(CreateWindow(0, 0, 1, 1));  // starts video, if there is any
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

TEST(MessageBoxTest, TheTextGoesToStderrInUtf8) {
  if (RealDisplay()) GTEST_SKIP() << "would wait for a person";
  UseVirtualClock();
  testing::internal::CaptureStderr();
  MessageBox("\xCE\xF8\xE8\xE1\xEA\xE0\r\n\xF1\xF2\xF0\xEE\xEA\xE0 2", "Qxworks");  // cp1251
  MessageBox("no caption", "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Qxworks: Ошибка\nстрока 2\nno caption\n");
}

// What a person does to a box on a real display, done from a timer that ticks while the box
// waits: find the box's window by its title, look at it, then answer it.
class ModalBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!RealDisplay()) GTEST_SKIP() << "needs a real display (run under Xvfb)";
    UseVirtualClock();
  }

  static WindowId FindBox(const char* title) {
    for (Uint32 id = 1; id < 4096; ++id)
      if (SDL_Window* w = SDL_GetWindowFromID(id); w && std::strcmp(SDL_GetWindowTitle(w), title) == 0)
        return detail::WindowOfSdl(id);
    return 0;
  }

  static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }

  // Runs the box with a timer whose ticks call act(box window) until it gives up.
  template <typename Act>
  static void RunWith(const char* text, const char* caption, Act act) {
    struct State {
      Act act;
      const char* caption;
      int ticks = 0;
    } state{act, caption};
    const TimerId timer = SetTimer(
        0, 50,
        [](void* context, const Message&) -> std::int32_t {
          auto* s = static_cast<State*>(context);
          if (++s->ticks > 20) {  // the box never closed: end it, the test has failed
            ADD_FAILURE() << "the box is still open";
            PostQuitMessage(99);
            return 0;
          }
          if (const WindowId box = FindBox(s->caption)) s->act(box, s->ticks);
          return 0;
        },
        &state);
    MessageBox(text, caption);
    KillTimer(timer);
  }
};

TEST_F(ModalBoxTest, EnterClosesTheBoxWhileOtherWindowsKeepWorking) {
  static int otherCalls;
  otherCalls = 0;
  const WindowId other = CreateWindow(0, 0, 10, 10);
  SetWindowProcedure(other, [](void*, const Message&) -> std::int32_t { return ++otherCalls; }, nullptr);
  PostMessage({other, MessageKind::User, 0, 0});

  bool sawText = false;
  RunWith("Some text", "Box one", [&](WindowId box, int) {
    const Surface* image = WindowImage(box);
    ASSERT_NE(image, nullptr);
    int ink = 0;  // dark text pixels below the caption bar
    for (int y = 30; y < image->height / 2; ++y)
      for (int x = 0; x < image->width; ++x) ink += (image->At(x, y) & 0xFFFFFF) < 0x404040;
    sawText = ink > 20;
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = box;
    e.key.keysym.scancode = SDL_SCANCODE_RETURN;
    Push(e);
  });
  EXPECT_TRUE(sawText) << "the box shows its text";
  EXPECT_EQ(otherCalls, 1) << "the other window's message was dispatched during the wait";
  EXPECT_EQ(FindBox("Box one"), 0u) << "the box's window is gone";
  DestroyWindow(other);
}

TEST_F(ModalBoxTest, ClickingOkClosesTheBoxAndClickingBesideItDoesNot) {
  int clicks = 0;
  RunWith("Click me", "Box two", [&](WindowId box, int) {
    const Surface* image = WindowImage(box);
    // The button, found by its look: the bevel's dark lower edge, up from the bottom middle.
    const int x = image->width / 2;
    int bottom = image->height - 2;
    while (bottom > 0 && image->At(x, bottom) != 0x000000) --bottom;
    const int y = bottom - 5;
    const int at[][2] = {{8, image->height - 8}, {x, y}};  // first beside it, then on it
    const auto& point = at[std::min(clicks++, 1)];
    for (const Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
      SDL_Event e{};
      e.type = type;
      e.button.windowID = box;
      e.button.button = SDL_BUTTON_LEFT;
      e.button.x = point[0];
      e.button.y = point[1];
      Push(e);
    }
  });
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(FindBox("Box two"), 0u);
}

// A report of thousands of lines stays on the screen, cut to what fits, and its OK can be pressed;
// stderr still has every line.
TEST_F(ModalBoxTest, ATextTallerThanTheScreenIsCutAndTheBoxStaysOnIt) {
  std::string text;
  for (int i = 1; i <= 3000; ++i) text += "line " + std::to_string(i) + "\n";
  text += "the last line";
  std::optional<WindowRect> at;
  testing::internal::CaptureStderr();
  RunWith(text.c_str(), "Box tall", [&](WindowId box, int) {
    at = WindowBounds(box);
    const Surface* image = WindowImage(box);
    const int x = image->width / 2;
    int bottom = image->height - 2;  // the button's dark lower edge, up from the bottom middle
    while (bottom > 0 && image->At(x, bottom) != 0x000000) --bottom;
    for (const Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
      SDL_Event e{};
      e.type = type;
      e.button.windowID = box;
      e.button.button = SDL_BUTTON_LEFT;
      e.button.x = x;
      e.button.y = bottom - 5;
      Push(e);
    }
  });
  const std::string log = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(at.has_value()) << "the box never showed";
  EXPECT_GE(at->x, 0);
  EXPECT_GE(at->y, 0);
  EXPECT_LE(at->x + at->width, ScreenWidth());
  EXPECT_LE(at->y + at->height, ScreenHeight());
  EXPECT_EQ(FindBox("Box tall"), 0u) << "its OK could not be pressed";
  EXPECT_NE(log.find("line 3000\nthe last line\n"), std::string::npos);
}

// Without a window manager the display gives the keys of a closed window to no window at all:
// the user typing after answering a box would type into nothing.
TEST_F(ModalBoxTest, TheWindowUnderTheBoxHasTheKeyboardAgainOnceItCloses) {
  const WindowId main = CreateWindow(0, 0, 200, 200);
  ShowWindow(main);
  Message pumped;
  while (PeekMessage(pumped)) {
  }
  SDL_Window* const mainWindow = detail::SdlWindowOf(main);
  // The window reaches the screen as messages are next fetched, and the display's word that a
  // window has the keyboard arrives as an event.
  const auto keyboardAt = [](SDL_Window* wanted) {
    for (int i = 0; i < 50 && SDL_GetKeyboardFocus() != wanted; ++i) {
      Message m;
      while (PeekMessage(m)) {
      }
      SDL_Delay(10);
    }
    return SDL_GetKeyboardFocus();
  };
  ASSERT_EQ(keyboardAt(mainWindow), mainWindow) << "a shown window takes the keyboard";
  RunWith("Answer me", "Box four", [&](WindowId box, int) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = box;
    e.key.keysym.scancode = SDL_SCANCODE_RETURN;
    Push(e);
  });
  EXPECT_EQ(keyboardAt(mainWindow), mainWindow) << "the keyboard went back to the main window";
  DestroyWindow(main);
}

// Windows shown before the loop next runs reach the screen together, the last shown on top with
// the keyboard, whatever order they were made in.
TEST_F(ModalBoxTest, TheLastShownOfWindowsReachingTheScreenTogetherHasTheKeyboard) {
  for (const bool firstMadeShownLast : {false, true}) {
    const WindowId first = CreateWindow(0, 0, 200, 200);
    const WindowId second = CreateWindow(50, 50, 200, 200);
    const WindowId last = firstMadeShownLast ? first : second;
    ShowWindow(last == first ? second : first);
    ShowWindow(last);
    Message m;
    for (int i = 0; i < 50; ++i) {
      while (PeekMessage(m)) {
      }
      if (detail::SdlWindowOf(last) && SDL_GetKeyboardFocus() == detail::SdlWindowOf(last)) break;
      SDL_Delay(10);
    }
    ASSERT_NE(detail::SdlWindowOf(last), nullptr);
    EXPECT_EQ(SDL_GetKeyboardFocus(), detail::SdlWindowOf(last)) << firstMadeShownLast;
    DestroyWindow(first);
    DestroyWindow(second);
  }
}

TEST_F(ModalBoxTest, AQuitRequestEndsTheBoxAndStaysForTheOuterLoop) {
  RunWith("Quit", "Box three", [](WindowId, int) { PostQuitMessage(7); });
  Message m;
  EXPECT_FALSE(GetMessage(m));
  EXPECT_EQ(m.a, 7);
}

// Keys a person types through the X server (xdotool) answer box after box as fast as they come,
// each key read while the loop waits. A box's window is destroyed right after the key that
// answered it: no request of the program may then fail on it, and none may end the program.
TEST(ModalBoxRealTimeTest, BoxesAnsweredAsFastAsKeysComeLeaveNoFailedRequest) {
  if (!RealDisplay()) GTEST_SKIP() << "needs a real display (run under Xvfb)";
  ASSERT_EQ(std::system("xdotool version > /dev/null 2>&1"), 0) << "xdotool is needed";
  UseRealClock();
  std::atomic<bool> done{false};
  std::thread typist([&done] {
    while (!done) std::system("xdotool key --repeat 20 --delay 2 Return");
  });
  // Should the keys stop reaching the boxes, the quit request ends the one that waits.
  static bool stopped;
  stopped = false;
  const TimerId guard = SetTimer(
      0, 60000,
      [](void*, const Message&) -> std::int32_t {
        stopped = true;
        PostQuitMessage(3);
        return 0;
      },
      nullptr);
  testing::internal::CaptureStderr();
  constexpr int kBoxes = 150;
  int answered = 0;
  for (; answered < kBoxes && !stopped; ++answered) MessageBox("Answer me fast", "Fast box");
  const std::string log = testing::internal::GetCapturedStderr();
  done = true;
  typist.join();
  KillTimer(guard);
  Message m;
  if (stopped) EXPECT_FALSE(GetMessage(m));  // the quit request the box left queued
  EXPECT_EQ(answered, kBoxes) << "the keys stopped answering the boxes";
  EXPECT_EQ(log.find("X error"), std::string::npos) << log.substr(log.find("X error"), 300);
}

// A drag whose release the display never reported (let go over no window of the program) ends at
// the next move, where the display says the button is up: it does not follow the pointer.
TEST(DisplayDragTest, AMoveWithTheButtonUpEndsTheCapture) {
  if (!RealDisplay()) GTEST_SKIP() << "needs a real display (run under Xvfb)";
  UseVirtualClock();
  struct Drag {
    WindowId window = 0;
    std::vector<MessageKind> seen;
  } drag;
  drag.window = CreateWindow(100, 100, 200, 200);
  SetWindowProcedure(
      drag.window,
      [](void* context, const Message& m) -> std::int32_t {
        auto* d = static_cast<Drag*>(context);
        if (m.kind == MessageKind::LeftButtonDown) CaptureMouse(d->window);
        if (m.kind == MessageKind::LeftButtonUp) ReleaseMouseCapture();
        if (m.kind != MessageKind::Paint) d->seen.push_back(m.kind);
        return 0;
      },
      &drag);
  ShowWindow(drag.window);
  Message m;
  for (int i = 0; i < 10; ++i, SDL_Delay(20))  // the display's own events of a new window
    while (PeekMessage(m)) DispatchMessage(m);
  drag.seen.clear();
  ASSERT_NE(detail::SdlWindowOf(drag.window), nullptr);
  const Uint32 sdlId = SDL_GetWindowID(detail::SdlWindowOf(drag.window));
  // The press reaches the window, then moves come from far outside it; the display's pointer has
  // no button down (nobody holds it), while SDL, having missed a release, believes it held.
  SDL_Event press{};
  press.type = SDL_MOUSEBUTTONDOWN;
  press.button.windowID = sdlId;
  press.button.button = SDL_BUTTON_LEFT;
  press.button.x = press.button.y = 50;
  ASSERT_EQ(SDL_PushEvent(&press), 1);
  while (PeekMessage(m)) DispatchMessage(m);
  for (const int x : {400, 420}) {
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.windowID = sdlId;
    move.motion.state = SDL_BUTTON_LMASK;
    move.motion.x = x;
    move.motion.y = 50;
    ASSERT_EQ(SDL_PushEvent(&move), 1);
  }
  while (PeekMessage(m)) DispatchMessage(m);
  EXPECT_EQ(MouseCaptureWindow(), 0u) << "the drag goes on";
  ASSERT_GE(drag.seen.size(), 2u);
  EXPECT_EQ(drag.seen[0], MessageKind::LeftButtonDown);
  EXPECT_EQ(drag.seen[1], MessageKind::LeftButtonUp) << "a move came first, still dragging";
  EXPECT_EQ(std::count(drag.seen.begin(), drag.seen.end(), MessageKind::LeftButtonUp), 1);
  DestroyWindow(drag.window);
}

}  // namespace
}  // namespace platform
