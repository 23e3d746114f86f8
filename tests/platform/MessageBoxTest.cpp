// The platform's message box: its text always reaches stderr; with a real display it waits in a
// nested loop until OK, while the program's other windows keep working.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <SDL.h>

#include "platform/Clock.h"
#include "platform/MessageBox.h"
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

}  // namespace
}  // namespace platform
