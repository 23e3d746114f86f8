// The in-process harness of the toolkit and IDE tests. It builds the application layers under
// SDL's offscreen driver with the virtual clock and drives windows as a person would: every input
// is posted as the platform message the window procedure gets from a real display, and the
// messages are then handled as the run loop handles them (translate, dispatch, Idle) until none is
// left. Each step is one line in a test:
//
//   qxtest::Gui gui;                       // the application object, a fresh registry and fonts
//   auto root = std::make_unique<CControl>(nullptr);  // a window; destroy it before the Gui
//   gui.Press(*root, 20, 15);              // left button down at client (20, 15)
//   gui.DragTo(*root, -5, 15);             // the mouse moves (outside: negative coordinates)
//   gui.Release(*root, -5, 15);
//   gui.Type(*root, "ab");                 // key down, character, key up for each
//   gui.PressKey(*root, 75);               // key down and up of a scan code (Left)
//   gui.Advance(500);                      // virtual time; due timers tick
//   EXPECT_EQ(gui.PixelAt(*root, 10, 10), qxtest::kBlack);
//
// Input goes to the window of the given control's root; points are client coordinates of that
// window, which are the root's view coordinates.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Messages.h"
#include "platform/draw/Surface.h"

class CControl;
class CCtrlApp;

namespace qxtest {

using platform::Pixel;

constexpr Pixel kBlack = 0x000000;
constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kRed = 0xFF0000;
constexpr Pixel kGreen = 0x00FF00;
constexpr Pixel kBlue = 0x0000FF;

class Gui {
 public:
  // Makes the application object; by default the control application with the widget classes.
  // IDE tests pass their own: Gui gui([] { return std::make_unique<CApp1>(); });
  using AppFactory = std::function<std::unique_ptr<CCtrlApp>()>;

  // Switches to the virtual clock, drops whatever an earlier test left in the queue (the quit
  // request of destroyed windows included) and builds the application object.
  explicit Gui(const AppFactory& build = nullptr);
  ~Gui();
  Gui(const Gui&) = delete;
  Gui& operator=(const Gui&) = delete;

  CCtrlApp& App() { return *app_; }

  // The left button and the mouse, at client coordinates of the window, with the modifier keys
  // held (platform::ShiftBits).
  void Press(CControl& window, int x, int y, std::uint8_t shift = 0);
  void DragTo(CControl& window, int x, int y, std::uint8_t shift = 0);
  void Release(CControl& window, int x, int y, std::uint8_t shift = 0);
  void Click(CControl& window, int x, int y, std::uint8_t shift = 0);  // Press, Release there
  // The wheel turned by notches with the pointer at (x, y); positive: away from the user.
  void Wheel(CControl& window, int x, int y, int notches);

  // Each cp1251 byte as a key stroke: key down, its character, key up. Enter, Backspace, Tab and
  // Escape get their character from the loop's translation, as on a real display; a character
  // that no key of the US or Russian layout gives arrives as a character alone.
  void Type(CControl& window, std::string_view text);
  // Key down and key up of a scan code (with the translated character where the platform makes
  // one), with the modifier keys held (platform::ShiftBits).
  void PressKey(CControl& window, int scanCode, std::uint8_t shift = 0);

  // Lets virtual time pass, stopping at every timer deadline on the way, so each timer ticks as
  // often as it would in that time (the platform reports a late timer once, not as a burst).
  void Advance(int milliseconds);
  // Translates, dispatches and idles until the queue holds no message, paint or due timer. A
  // loop that never settles fails the test.
  void RunUntilIdle();
  // Runs the application's own run loop (Run) until it ends, for at most limitMs of virtual time;
  // false when it had to be stopped.
  bool RunLoop(int limitMs);

  // What the window shows.
  Pixel PixelAt(CControl& window, int x, int y);
  // A region of the window as rows of characters, one a pixel, by the legend ('?' for colours
  // the legend lacks).
  std::string Picture(CControl& window, int x, int y, int width, int height,
                      const std::map<Pixel, char>& legend);

  static platform::WindowId WindowOf(CControl& control);

 private:
  void Post(CControl& window, platform::MessageKind kind, int a, int b = 0,
            std::uint8_t shift = 0);

  std::unique_ptr<CCtrlApp> app_;
};

// Rows given one string each, joined as Picture writes them.
std::string Rows(const std::vector<std::string>& rows);

// The PC scan code of the key that types a cp1251 character (US or Russian layout); 0 for none.
int ScanCodeOf(unsigned char character);

}  // namespace qxtest
