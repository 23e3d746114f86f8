// The window layer: platform input as a person makes it (SDL events under the offscreen driver)
// reaching the canvas's hooks, sizes, painting, closing, the screen's canvas list, the desktop.
#include <SDL.h>

#include <cstring>
#include <string>

#include "core/Cp1251.h"
#include "graphics/Screen.h"
#include "tests/common/SdlEvents.h"
#include "platform/Window.h"
#include "tests/graphics/GraphicsFixture.h"

namespace qxtest {
namespace {

// Writes every hook call as a line.
struct Listener : CObject {
  std::string log;
  CCanvas* sender = nullptr;

  void Paint(CCanvas* c) {
    sender = c;
    log += "paint\n";
    c->SetColorRGB(0, 0, 1);
    c->FillRect(CRect(0, 0, 4, 4));
  }
  void Down(CCanvas* c, CInt button, CShiftStateSet shift, CPoint p) {
    sender = c;
    log += "down " + Describe(button, shift, p);
  }
  void Move(CCanvas*, CShiftStateSet shift, CPoint p) { log += "move " + Describe(-1, shift, p); }
  void Up(CCanvas*, CInt button, CShiftStateSet shift, CPoint p) {
    log += "up " + Describe(button, shift, p);
  }
  void Press(CCanvas*, CStr ch) { log += "press " + ch.ToStd() + "\n"; }
  void KeyDown(CCanvas*, CInt key, CShiftStateSet) {
    log += "key down " + key.ToStr().ToStd() + "\n";
  }
  void KeyUp(CCanvas*, CInt key, CShiftStateSet) { log += "key up " + key.ToStr().ToStd() + "\n"; }
  void Closed(CCanvas*) { log += "close\n"; }

  static std::string Describe(CInt button, CShiftStateSet shift, CPoint p) {
    std::string s = button.Value >= 0 ? button.ToStr().ToStd() + " " : "";
    s += "(" + p.X.ToStr().ToStd() + ", " + p.Y.ToStr().ToStd() + ")";
    if (shift.Shift || shift.Alt || shift.Ctrl) s += " with modifiers";
    return s + "\n";
  }

  void Listen(CCanvas& c) {
    c.OnPaint.Set(this, &Listener::Paint);
    c.OnMouseDown.Set(this, &Listener::Down);
    c.OnMouseMove.Set(this, &Listener::Move);
    c.OnMouseUp.Set(this, &Listener::Up);
    c.OnKeyPress.Set(this, &Listener::Press);
    c.OnKeyDown.Set(this, &Listener::KeyDown);
    c.OnKeyUp.Set(this, &Listener::KeyUp);
    c.OnClose.Set(this, &Listener::Closed);
  }
};

class WindowTest : public GraphicsTest {
 protected:
  static void Mouse(Uint32 type, platform::WindowId window, int x, int y,
                    Uint8 button = SDL_BUTTON_LEFT) {
    qxtest::PushMouse(type, window, x, y, button);
  }
  static void Key(Uint32 type, platform::WindowId window, SDL_Scancode code) {
    qxtest::PushKey(type, window, code);
  }
  static void Text(platform::WindowId window, const char* utf8) { qxtest::PushText(window, utf8); }

  Listener listener_;
};

TEST_F(WindowTest, KeysArriveAsScanCodesAndTheCharacterSeparately) {
  CGDI& canvas = MakeCanvas();
  Pump();
  listener_.Listen(canvas);
  Key(SDL_KEYDOWN, canvas.Window, SDL_SCANCODE_A);
  Text(canvas.Window, "a");
  Key(SDL_KEYUP, canvas.Window, SDL_SCANCODE_A);
  Key(SDL_KEYDOWN, canvas.Window, SDL_SCANCODE_F);  // the Russian layout's А is on the same key
  Text(canvas.Window, "А");
  Key(SDL_KEYUP, canvas.Window, SDL_SCANCODE_F);
  Key(SDL_KEYDOWN, canvas.Window, SDL_SCANCODE_RETURN);
  Key(SDL_KEYUP, canvas.Window, SDL_SCANCODE_RETURN);
  Pump();
  EXPECT_EQ(listener_.log,
            "key down 30\npress a\nkey up 30\n"
            "key down 33\npress " +
                std::string("А"_cp) +
                "\nkey up 33\n"
                "key down 28\npress \r\nkey up 28\n");
}

TEST_F(WindowTest, TheLeftButtonIsCapturedAndMovesOutsideArriveNegative) {
  CGDI& left = MakeCanvas();
  CGDI& right = MakeCanvas();
  left.SetBounds(0, 100, 199, 199, false);  // a 200 x 100 window at (0, 100)
  right.SetBounds(300, 100, 499, 199, false);
  Pump();
  listener_.Listen(right);

  Mouse(SDL_MOUSEBUTTONDOWN, right.Window, 10, 20);
  Pump();                                     // the press takes the capture
  Mouse(SDL_MOUSEMOTION, left.Window, 5, 6);  // over the other window, 295 px left of this one
  Mouse(SDL_MOUSEBUTTONDOWN, right.Window, 1, 2, SDL_BUTTON_RIGHT);  // only the left button
  Mouse(SDL_MOUSEBUTTONUP, left.Window, 7, -8);
  Pump();                                     // the release gives it back
  Mouse(SDL_MOUSEMOTION, left.Window, 5, 6);  // released: this one is the other window's
  Mouse(SDL_MOUSEMOTION, right.Window, 1, 1);
  Pump();
  EXPECT_EQ(listener_.sender, &right);
  EXPECT_EQ(listener_.log,
            "down 0 (10, 20)\n"
            "move (-295, 6)\n"
            "up 0 (-293, -8)\n"
            "move (1, 1)\n");
  EXPECT_EQ(platform::MouseCaptureWindow(), 0u);
}

TEST_F(WindowTest, TheWindowsSizeBecomesTheCanvasCorners) {
  CGDI& canvas = MakeCanvas();
  listener_.Listen(canvas);
  canvas.SetCorners(50, 60, 449.4L, 359.5L);  // 400 x 301 once rounded half up
  EXPECT_EQ(canvas.M1.X.Value, 0);
  EXPECT_EQ(canvas.M1.Y.Value, 0);
  EXPECT_EQ(canvas.M2.X.Value, 400);
  EXPECT_EQ(canvas.M2.Y.Value, 301);
  const auto bounds = platform::WindowBounds(canvas.Window);
  ASSERT_TRUE(bounds);
  EXPECT_EQ(bounds->x, 50);
  EXPECT_EQ(bounds->y, 60);
  EXPECT_EQ(bounds->width, 400);
  EXPECT_EQ(bounds->height, 301);

  // The setters of the rectangle all end there. The window spans x1 to x2 inclusive, so a
  // canvas moved by its own corners grows by one pixel.
  canvas.SetPos(CPoint(10, 10));
  EXPECT_EQ(platform::WindowBounds(canvas.Window)->x, 10);
  EXPECT_EQ(canvas.GetWidth().Value, 401);
}

TEST_F(WindowTest, PaintMessagesRepaintTheBufferAndShowItAtOnce) {
  CGDI& canvas = MakeCanvas();
  Pump();  // the first paint, with no one listening
  listener_.Listen(canvas);
  EXPECT_TRUE(canvas.IsVisible());
  platform::InvalidateWindow(canvas.Window);
  platform::InvalidateWindow(canvas.Window);
  Pump();
  EXPECT_EQ(listener_.log, "paint\n");
  EXPECT_EQ(listener_.sender, &canvas);
  const platform::Surface* shown = platform::WindowImage(canvas.Window);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(Picture(*shown, 0, 0, 6, 6, {{kPaper, '.'}, {0x0000FF, '#'}}),
            Rows({"#####.", "#####.", "#####.", "#####.", "#####.", "......"}));
}

TEST_F(WindowTest, ClosingTheMainCanvasStopsTheRunLoop) {
  CGDI& main = MakeCanvas();
  CGDI& other = MakeCanvas();
  EXPECT_EQ(app_->Screen->MainCanvas, &main);
  EXPECT_EQ(app_->Screen->Canvases.Count().Value, 2);
  listener_.Listen(other);
  listener_.Listen(main);

  app_->Running = true;
  other.Close();
  EXPECT_TRUE(app_->Running);
  main.Close();
  EXPECT_FALSE(app_->Running);
  EXPECT_EQ(listener_.log, "close\nclose\n");

  // A destroyed canvas leaves the list, and with it the main place.
  canvases_.erase(canvases_.begin());
  EXPECT_EQ(app_->Screen->Canvases.Count().Value, 1);
  EXPECT_EQ(app_->Screen->MainCanvas, nullptr);
  EXPECT_EQ(app_->Screen->Canvases.Get(0), &other);
}

TEST_F(WindowTest, AClosedWindowEndsTheLoop) {
  CGDI& canvas = MakeCanvas();
  Pump();
  platform::detail::WindowCloseRequested(canvas.Window);  // as the desktop's close button does
  platform::Message m;
  int fetched = 0;
  while (fetched < 100 && platform::GetMessage(m)) {
    platform::DispatchMessage(m);
    ++fetched;
  }
  EXPECT_LT(fetched, 100);
  canvases_.clear();  // its own quit message is taken by the fixture
}

TEST_F(WindowTest, PointerShapeNumbersAreKept) {
  CGDI& canvas = MakeCanvas();
  EXPECT_EQ(canvas.GetCursor().Value, 0);
  for (int shape : {-6, -7, -8, -9, 0, 12345}) {
    canvas.SetCursor(shape);
    EXPECT_EQ(canvas.GetCursor().Value, shape);
  }
}

TEST_F(WindowTest, TheDesktopCoversTheScreenWithoutAWindow) {
  CDesktop& desktop = *app_->Screen->Desktop;
  EXPECT_EQ(desktop.Window, 0u);
  EXPECT_EQ(app_->Screen->Canvases.IndexOf(&desktop).Value, -1);
  EXPECT_EQ(app_->Screen->ScreenWidth().Value, 1024);
  EXPECT_EQ(app_->Screen->ScreenHeight().Value, 768);
  EXPECT_EQ(desktop.Area.M2.X.Value, 1024);
  EXPECT_EQ(desktop.Area.M2.Y.Value, 768);
  EXPECT_EQ(desktop.Picture.Picture().width, 1024);
  EXPECT_EQ(desktop.Picture.Picture().height, 768);
  EXPECT_EQ(desktop.GetWidth().Value, 1024);

  // What it draws "on the window" can be read back, as the form outline saves and restores it.
  desktop.SelectTarget(false);
  desktop.SetColorRGB(1, 0, 0);
  desktop.FillRect(CRect(10, 10, 11, 10));
  CGDIBitmap under;
  desktop.CopyToBitmap(CRect(9, 10, 12, 10), under);
  desktop.SelectTarget(true);
  EXPECT_EQ(Picture(under.Picture(), 0, 0, 4, 1, {{0, '.'}, {0xFF0000, 'R'}}), Rows({".RR."}));
}

TEST_F(WindowTest, FontFamiliesAreListedWithoutConsecutiveRepeats) {
  const CStrList& names = app_->Screen->FontNames;
  ASSERT_GT(names.Count().Value, 0);
  for (int i = 1; i < names.Count().Value; ++i)
    EXPECT_FALSE(names.GetString(i) == names.GetString(i - 1)) << names.GetString(i);
  bool dejaVu = false;
  for (int i = 0; i < names.Count().Value; ++i)
    dejaVu = dejaVu || bool(names.GetString(i) == CStr("DejaVu Sans"));
  EXPECT_TRUE(dejaVu);
}

}  // namespace
}  // namespace qxtest
