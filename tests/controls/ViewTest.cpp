// The view: mouse capture, key routing to the focus, the focus timer, repainting.
#include <gtest/gtest.h>

#include <memory>

#include "controls/Control.h"
#include "controls/Shapes.h"
#include "controls/View.h"
#include "core/Cp1251.h"
#include "graphics/GDI.h"
#include "graphics/Timer.h"
#include "platform/Messages.h"
#include "tests/controls/Probes.h"
#include "tests/support/Gui.h"

namespace {

using namespace qxtest;

class ViewTest : public testing::Test {
 protected:
  ViewTest() {
    root->SetBounds(0, 0, 200, 150, false);
    button->SetBounds(20, 20, 60, 40, false);
    log.Attach(*root, "root");
    log.Attach(*button, "button");
  }

  Gui gui;
  EventLog log;
  std::unique_ptr<CControl> root = std::make_unique<CControl>(nullptr);
  Probe* button = new Probe(root.get());
};

TEST_F(ViewTest, ThePressedControlGetsEveryMoveOutsideAndNoClickWhenReleasedOutside) {
  gui.Press(*root, 25, 25);
  gui.DragTo(*root, 100, 100);
  gui.DragTo(*root, -5, -5);  // left of and above the window, as a held button reports it
  EXPECT_TRUE(button->MousePressed);
  EXPECT_FALSE(button->MouseInside);
  gui.Release(*root, -5, -5);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{
                            "down button (5,5)",
                            "move button (80,80)",
                            "move button (-25,-25)",
                            "up button (-25,-25)",
                        }));
  EXPECT_FALSE(button->MousePressed);

  // Coming back inside before the release clicks.
  gui.Press(*root, 25, 25);
  gui.DragTo(*root, 100, 100);
  gui.DragTo(*root, 59, 39);
  gui.Release(*root, 59, 39);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{
                            "down button (5,5)",
                            "move button (80,80)",
                            "move button (39,19)",
                            "up button (39,19)",
                            "click button",
                        }));
}

TEST_F(ViewTest, WithoutAPressMovesGoToTheControlUnderThePointerAndSetItsPointer) {
  button->Cursor = -9;
  gui.DragTo(*root, 30, 30);
  EXPECT_EQ(root->View->Canvas->GetCursor(), -9);
  gui.DragTo(*root, 100, 100);
  EXPECT_EQ(root->View->Canvas->GetCursor(), 0);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"move button (10,10)", "move root (100,100)"}));
  // A release without a press goes nowhere.
  gui.Release(*root, 30, 30);
  EXPECT_TRUE(log.Take().empty());
}

TEST_F(ViewTest, KeysReachOnlyTheFocusedControlInKeyDownCharKeyUpOrder) {
  gui.Type(*root, "a");
  gui.PressKey(*root, 75);
  EXPECT_TRUE(log.Take().empty()) << "no control is focused: keys are dropped";

  root->View->SetFocus(button, false, 0);
  gui.Type(*root, "aA\r");
  gui.PressKey(*root, 75);  // Left: no character
  gui.Type(*root, "ф"_cp);  // the A key of the Russian layout
  EXPECT_EQ(log.Take(), (std::vector<std::string>{
                            "keydown button 30",
                            "press button a",
                            "keyup button 30",
                            // Shift is never reported
                            "keydown button 30",
                            "press button A",
                            "keyup button 30",
                            "keydown button 28",
                            "press button \r",
                            "keyup button 28",
                            "keydown button 75",
                            "keyup button 75",
                            "keydown button 30",
                            "press button \xF4",
                            "keyup button 30",
                        }));
}

TEST_F(ViewTest, TheFocusTimerTicksTheFocusedControlUntilTheFocusGoesToNone) {
  CView& view = *root->View;
  auto* other = new Probe(root.get());

  view.SetFocus(button, true, 100);
  gui.Advance(250);
  EXPECT_EQ(button->ticks, 2);

  view.SetFocus(button, false, 0);  // already focused: nothing changes
  gui.Advance(100);
  EXPECT_EQ(button->ticks, 3);
  EXPECT_EQ(button->focusLost, 0);

  view.SetFocus(other, false, 0);  // no timer for this one
  EXPECT_EQ(button->focusLost, 1);
  EXPECT_EQ(view.GetFocused(), other);
  ASSERT_NE(view.FocusTimer, nullptr);
  EXPECT_FALSE(view.FocusTimer->Enabled());
  gui.Advance(300);
  EXPECT_EQ(button->ticks, 3);
  EXPECT_EQ(other->ticks, 0);

  view.SetFocus(other, true, 50);  // already focused: the timer is not started either
  view.SetFocus(button, true, 50);
  gui.Advance(100);
  EXPECT_EQ(button->ticks, 5);

  view.SetFocus(nullptr, false, 0);
  EXPECT_EQ(view.FocusTimer, nullptr);
  EXPECT_EQ(view.GetFocused(), nullptr);
  gui.Advance(200);
  EXPECT_EQ(button->ticks, 5);
}

// A control that hands the focus on when it loses it, as a careless widget might.
class Passer : public Probe {
 public:
  using Probe::Probe;
  void SetFocused(CBool focused) override {
    Probe::SetFocused(focused);
    if (!focused && next) View->SetFocus(next, false, 0);
  }
  CControl* next = nullptr;
};

TEST_F(ViewTest, AFocusChangeFromInsideSetFocusedIsIgnored) {
  auto* passer = new Passer(root.get());
  auto* bystander = new Probe(root.get());
  passer->next = bystander;
  root->View->SetFocus(passer, false, 0);
  root->View->SetFocus(button, false, 0);
  EXPECT_EQ(root->View->GetFocused(), button) << "the second change did not happen";
  EXPECT_EQ(passer->focusLost, 1);
  EXPECT_FALSE(root->View->Busy);
}

TEST_F(ViewTest, AnInvalidateRepaintsTheWholeWindowAndAPaintMessageToo) {
  auto* other = new Probe(root.get());
  button->Invalidate();
  EXPECT_EQ(button->paints, 1);
  EXPECT_EQ(other->paints, 1) << "the control that did not change is painted as well";
  EXPECT_EQ(button->overlays, 0) << "overlays belong to single-control redraws";

  platform::InvalidateWindow(Gui::WindowOf(*root));
  gui.RunUntilIdle();
  EXPECT_EQ(button->paints, 2);
  EXPECT_EQ(other->paints, 2);
}

// Counts the frames a view copies to its window.
struct PresentCounter : CObject {
  int presented = 0;
  void Presented(CView*) { ++presented; }
};

// Start-up draws the main window whole before the loop runs; the paint its showing asked for
// must not draw it all again, and a later paint shows its picture once.
TEST_F(ViewTest, AWholeRepaintAnswersThePaintAlreadyOwed) {
  PresentCounter counter;
  root->View->OnPresented.Set(&counter, &PresentCounter::Presented);
  root->Invalidate();
  EXPECT_EQ(counter.presented, 1);
  gui.RunUntilIdle();
  EXPECT_EQ(button->paints, 1) << "the window, shown when made, was painted again";
  EXPECT_EQ(counter.presented, 1);

  platform::InvalidateWindow(Gui::WindowOf(*root));
  gui.RunUntilIdle();
  EXPECT_EQ(button->paints, 2);
  EXPECT_EQ(counter.presented, 2) << "a paint message copies its picture to the window once";
  root->View->OnPresented.Clear();
}

// A window waiting before its first paint paints ahead: into its buffer, shown nowhere, and not
// counted as a repaint, so nothing taking the count for a frame on the screen is misled.
TEST_F(ViewTest, APaintAheadDrawsTheTreeAndShowsNothing) {
  PresentCounter counter;
  root->View->OnPresented.Set(&counter, &PresentCounter::Presented);
  const std::uint64_t redraws = root->View->Redraws;
  root->View->PaintAhead();
  EXPECT_EQ(button->paints, 1);
  EXPECT_EQ(counter.presented, 0);
  EXPECT_EQ(root->View->Redraws, redraws);

  root->Invalidate();
  EXPECT_EQ(button->paints, 2);
  EXPECT_EQ(counter.presented, 1) << "the paint after it is shown as ever";
  root->View->OnPresented.Clear();
}

// A key down and its character each change the control and ask for a repaint: the window shows
// both changes in one frame, made once the key's messages are handled. Outside a key Invalidate
// still repaints at once.
class Typist : public Probe {
 public:
  explicit Typist(CControl* parent) : Probe(parent) {
    SetBounds(100, 100, 120, 120, false);
    down->SetBounds(0, 0, 10, 10, false);
    press->SetBounds(10, 0, 20, 10, false);
  }
  void KeyDown(CInt, CShiftStateSet) override {
    down->Color = CColor(0, 0, 1);
    Invalidate();
    paintsSeenByKeyDown = paints;
  }
  void KeyPress(CStr) override {
    press->Color = CColor(1, 0, 0);
    Invalidate();
  }
  void MouseDown(CInt, CShiftStateSet, CPoint) override { paintsSeenByPress = paints; }
  CFillRectangle* down = new CFillRectangle(this);
  CFillRectangle* press = new CFillRectangle(this);
  int paintsSeenByKeyDown = -1;
  int paintsSeenByPress = -1;
};

TEST_F(ViewTest, AKeyDownAndItsCharacterMakeOneFrameShowingBoth) {
  auto* typist = new Typist(root.get());
  root->View->SetFocus(typist, false, 0);
  struct Counter {
    void Presented(CView*) { frames++; }
    int frames = 0;
  } counter;
  root->View->OnPresented.Set(&counter, &Counter::Presented);
  root->Invalidate();
  EXPECT_EQ(typist->paints, 1) << "outside a key the repaint is at once";
  EXPECT_EQ(counter.frames, 1);

  gui.Type(*root, "a");
  EXPECT_EQ(typist->paintsSeenByKeyDown, 1) << "the key down's repaint waits";
  EXPECT_EQ(typist->paints, 2);
  EXPECT_EQ(counter.frames, 2) << "one frame for the key down, the character and the key up";
  EXPECT_EQ(gui.PixelAt(*root, 105, 105), kBlue);
  EXPECT_EQ(gui.PixelAt(*root, 115, 105), kRed);

  // A press right behind a key finds the key's paint made (parts are placed while painting).
  const platform::WindowId window = Gui::WindowOf(*root);
  platform::PostMessage({window, platform::MessageKind::KeyDown, 30});
  platform::PostMessage({window, platform::MessageKind::LeftButtonDown, 105, 115});
  platform::PostMessage({window, platform::MessageKind::LeftButtonUp, 105, 115});
  gui.RunUntilIdle();
  EXPECT_EQ(typist->paintsSeenByPress, 3);
  root->View->OnPresented.Clear();
}

TEST_F(ViewTest, RedrawControlPaintsOneControlWithItsOverlays) {
  auto* other = new Probe(root.get());
  auto* inner = new Probe(button);
  root->View->RedrawControl(button);
  EXPECT_EQ(button->paints, 1);
  EXPECT_EQ(inner->paints, 1);
  EXPECT_EQ(other->paints, 0);
  EXPECT_EQ(button->overlays, 1);
  EXPECT_EQ(inner->overlays, 1);
  root->View->RedrawControl(nullptr);  // nothing
}

// Hiding is a plain flag that anything may set; however a control stops showing, its keys stop.
TEST_F(ViewTest, AControlThatDoesNotShowNeverHoldsTheKeys) {
  CView& view = *root->View;
  auto* panel = new Probe(root.get());
  panel->SetBounds(100, 20, 180, 100, false);
  auto* inner = new Probe(panel);
  log.Attach(*inner, "inner");
  const struct {
    const char* what;
    CControl* hidden;
    bool byHide;  // Hide lets go at once; a bare flag is found by the next key
  } rows[] = {
      {"its own flag", inner, false},
      {"its parent's flag", panel, false},
      {"its window's root", root.get(), false},
      {"its parent hidden by Hide", panel, true},
      {"itself hidden by Hide", inner, true},
  };
  for (const auto& row : rows) {
    view.SetFocus(inner, true, 100);
    ASSERT_EQ(view.GetFocused(), inner) << row.what;
    const int lostBefore = inner->focusLost;
    if (row.byHide) {
      row.hidden->Hide();
      EXPECT_EQ(view.GetFocused(), nullptr) << row.what;
      EXPECT_EQ(view.FocusTimer, nullptr) << row.what;
    } else {
      row.hidden->Visible = false;
    }
    gui.Type(*root, "ab\b");
    gui.PressKey(*root, 83);  // Delete
    gui.Advance(300);
    EXPECT_TRUE(log.Take().empty()) << row.what;
    EXPECT_EQ(inner->ticks, 0) << row.what;
    EXPECT_EQ(view.GetFocused(), nullptr) << row.what;
    EXPECT_EQ(inner->focusLost, lostBefore + 1) << row.what << ": told once that it lost the keys";

    // Nor can it be given them while it does not show.
    view.SetFocus(inner, false, 0);
    EXPECT_EQ(view.GetFocused(), nullptr) << row.what;
    row.hidden->Visible = true;
  }
  // Shown again, it takes them as before; Hide of an unrelated control leaves them.
  view.SetFocus(inner, false, 0);
  button->Hide();
  gui.Type(*root, "a");
  EXPECT_EQ(log.Take(),
            (std::vector<std::string>{"keydown inner 30", "press inner a", "keyup inner 30"}));
}

TEST_F(ViewTest, AControlDestroyedWhileHoldingTheCaptureOrFocusIsForgotten) {
  root->View->SetFocus(button, true, 100);
  gui.Press(*root, 25, 25);
  delete button;
  button = nullptr;
  gui.DragTo(*root, 30, 30);
  gui.Release(*root, 30, 30);
  gui.Type(*root, "a");
  gui.Advance(300);
  EXPECT_EQ(root->View->GetFocused(), nullptr);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"down button (5,5)", "move root (30,30)"}));
}

}  // namespace
