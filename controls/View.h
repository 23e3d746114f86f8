// A view joins one root control to one canvas and so to one window. It receives every event of
// the canvas and picks the receiving control: mouse events go to the control under the pointer
// or to the control that captured the button, key events to the focused control. It also paints:
// every paint message and every Invalidate repaints the whole tree into the canvas's buffer and
// shows it at once; only while a key from the window is handled does Invalidate ask for the
// paint message instead, so a key down and its character make one frame and not two.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/List.h"
#include "graphics/GDI.h"
#include "graphics/Geometry.h"
#include "graphics/Handler.h"

class CCanvas;
class CControl;
class CTimer;

class CView : public CRect {
 public:
  // Makes the canvas (and with it the window) and takes r as the window's rectangle. The root
  // control that builds the view sets Root right afterwards.
  explicit CView(CRect r);
  ~CView() override;
  CView(const CView&) = delete;
  CView& operator=(const CView&) = delete;

  // Moves the window with the view.
  void SetCorners(const CFloat& x1, const CFloat& y1, const CFloat& x2, const CFloat& y2) override;

  virtual CControl* GetFocused();
  // Gives the keyboard focus to c (none: to no control), telling the control that loses it. With
  // useTimer the focused control's TimerTick runs every interval milliseconds. A control that is
  // not shown (hidden, or inside a hidden control or window) never holds the keys: given one,
  // the view holds none.
  virtual void SetFocus(CControl* c, CBool useTimer, CInt interval);
  // Lets go of the focus when it is c or a control inside c, telling the control: c is hidden.
  void DropFocusWithin(CControl* c);
  // Forgets the focus without telling the control.
  virtual void ClearFocus();
  virtual void BeginDraw();
  virtual void EndDraw();
  // Repaints the whole tree and shows it now.
  virtual void Redraw();
  // Paints the whole tree into the buffer and shows nothing, for a window that waits before its
  // first paint: what a paint makes the first time (the buffer's pages, the masks of its texts,
  // its pictures) is then made while it waits.
  void PaintAhead();
  // Redraw, or while a key is handled, a paint message once the waiting input is handled.
  virtual void Invalidate();
  // Repaints one control with its overlays.
  virtual void RedrawControl(CControl* c);
  virtual void PaintHook(CCanvas* canvas);
  virtual void DispatchMouseDown(CInt button, CShiftStateSet shift, CPoint p);
  virtual void DispatchMouseMove(CShiftStateSet shift, CPoint p);
  virtual void DispatchMouseUp(CInt button, CShiftStateSet shift, CPoint p);
  virtual void MouseDownHook(CCanvas* canvas, CInt button, CShiftStateSet shift, CPoint p);
  virtual void MouseMoveHook(CCanvas* canvas, CShiftStateSet shift, CPoint p);
  virtual void MouseUpHook(CCanvas* canvas, CInt button, CShiftStateSet shift, CPoint p);
  virtual void DispatchKeyPress(CStr ch);
  virtual void KeyPressHook(CCanvas* canvas, CStr ch);
  virtual void DispatchKeyDown(CInt key, CShiftStateSet shift);
  // Sees every key down before the focused control, with or without one; a key it answers true
  // for goes no further. A window's own keys (Ctrl+S in the main window) live here.
  std::function<bool(CInt key, CShiftStateSet shift)> KeyPreview;
  virtual void KeyDownHook(CCanvas* canvas, CInt key, CShiftStateSet shift);
  virtual void DispatchKeyUp(CInt key, CShiftStateSet shift);
  virtual void KeyUpHook(CCanvas* canvas, CInt key, CShiftStateSet shift);
  // The wheel goes to the control under the pointer, captured or not; it passes it up to the
  // nearest ancestor that scrolls.
  virtual void DispatchMouseWheel(CInt notches, CPoint p);
  virtual void MouseWheelHook(CCanvas* canvas, CInt notches, CPoint p);

  // A control being destroyed stops being the focus or a capture.
  void Forget(CControl* c);

  std::unique_ptr<CGDI> Canvas;
  CControl* Root = nullptr;
  CControl* Focused = nullptr;
  CBool Busy;
  CControl* CaptureLeft = nullptr;
  CControl* CaptureRight = nullptr;
  std::unique_ptr<CTimer> FocusTimer;
  CList Items;
  // Called after every copy of the buffer to the window: what was drawn straight on the window
  // (a form's drag outline) is gone and must be drawn again.
  CHandler<CView*> OnPresented;
  // Whole-tree repaints so far: a control can tell whether a handler it called has repainted.
  std::uint64_t Redraws = 0;
  // A key asked for a repaint that has not been made yet.
  bool PaintOwed = false;
  // While a modal wait runs in the window (CModalScope), the control it waits on: presses, moves,
  // keys and the wheel reach only it and what it holds.
  CControl* ModalRoot = nullptr;
  // The control the last move of the pointer reached; none after a press, a key, the wheel or a
  // move while a button is held. Compared, never followed: hints watch it.
  const CControl* PointerOver = nullptr;

 private:
  // The focused control, when it still shows. Hiding is a plain flag, set from anywhere, so the
  // keys look again: a focus that no longer shows is let go of, and its keys go nowhere.
  CControl* KeyTarget();
  // False for input that a modal wait keeps from the control.
  bool TakesInput(const CControl* c) const;
  void PaintTree();
  void PaintPicture();
  void CloseHook(CCanvas* canvas);
  void FlippedHook(CCanvas* canvas);
};

// One rule for every modal wait of the toolkit (the message dialog, the add dialog, the colour
// dialog), as the platform's message box keeps it too: while it lives, only the form it names
// acts on input; the form's window alone takes input, and in it only the form and its controls.
// The other windows, and the rest of the form's window, still paint. Scopes nest.
class CModalScope {
 public:
  explicit CModalScope(CControl* form);
  ~CModalScope();
  CModalScope(const CModalScope&) = delete;
  CModalScope& operator=(const CModalScope&) = delete;

 private:
  CView* view_ = nullptr;
  CControl* outer_ = nullptr;
  std::unique_ptr<platform::ModalInput> input_;
};
