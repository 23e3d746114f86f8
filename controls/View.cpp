#include "controls/View.h"

#include "controls/Control.h"
#include "graphics/GDI.h"
#include "graphics/Timer.h"
#include "platform/Messages.h"

namespace {

// The view paints this much of the window, whatever its size.
CRect PaintArea() {
  return CRect(0, 0, 1600, 1200);
}

// 1 while a key from the window is handled. Its repaints then wait for the paint message, which
// comes once the waiting input is handled: a key down and its character make one frame. Presses
// and the wheel see the window as painted (controls place their parts and scroll to their caret
// while they paint): one that comes while a paint is owed has it made first, and inside a key (a
// modal loop the key started) they repaint at once, as everywhere else.
int handlingKey = 0;

class KeyScope {
 public:
  explicit KeyScope(int value) : saved_(handlingKey) { handlingKey = value; }
  ~KeyScope() { handlingKey = saved_; }
  KeyScope(const KeyScope&) = delete;
  KeyScope& operator=(const KeyScope&) = delete;

 private:
  int saved_;
};

// The faces of a whole repaint are nested: the window's black, then each panel's face, then its
// children's over it. While this lives, the buffer's solid fills wait, so a face hidden by a
// later one is never drawn (the picture is the same).
class DeferredFills {
 public:
  explicit DeferredFills(CGDI& canvas)
      : dc_(canvas.BufferDC), was_(dc_.DeferringFills()), on_(canvas.TargetDC == &dc_) {
    if (on_) dc_.DeferFills(true);
  }
  ~DeferredFills() {
    if (on_ && !was_) dc_.DeferFills(false);
  }
  DeferredFills(const DeferredFills&) = delete;
  DeferredFills& operator=(const DeferredFills&) = delete;

 private:
  platform::DrawContext& dc_;
  bool was_;
  bool on_;  // only the buffer: a window's own picture may change size under a waiting fill
};

}  // namespace

CView::CView(CRect r) {
  M1 = r.M1;
  M2 = r.M2;
  Canvas = std::make_unique<CGDI>();
  Canvas->View = this;
  Canvas->SetRect(r);
  Canvas->OnPaint.Set(this, &CView::PaintHook);
  Canvas->OnMouseDown.Set(this, &CView::MouseDownHook);
  Canvas->OnMouseMove.Set(this, &CView::MouseMoveHook);
  Canvas->OnMouseUp.Set(this, &CView::MouseUpHook);
  Canvas->OnKeyPress.Set(this, &CView::KeyPressHook);
  Canvas->OnKeyDown.Set(this, &CView::KeyDownHook);
  Canvas->OnKeyUp.Set(this, &CView::KeyUpHook);
  Canvas->OnMouseWheel.Set(this, &CView::MouseWheelHook);
  Canvas->OnClose.Set(this, &CView::CloseHook);
  Canvas->OnFlipped.Set(this, &CView::FlippedHook);
}

CView::~CView() {
  if (FocusTimer) FocusTimer->SetEnabled(false);
  FocusTimer.reset();
  if (Canvas) {
    Canvas->ReleaseWindowDC();
    Canvas->View = nullptr;
  }
  Canvas.reset();
}

void CView::SetCorners(const CFloat& x1, const CFloat& y1, const CFloat& x2, const CFloat& y2) {
  CRect::SetCorners(x1, y1, x2, y2);
  if (Canvas) Canvas->SetBounds(x1, y1, x2, y2, false);
}

void CView::CloseHook(CCanvas*) {}

// [SECTION] Focus

CControl* CView::GetFocused() {
  return Focused;
}

void CView::SetFocus(CControl* c, CBool useTimer, CInt interval) {
  if (c && !c->IsShown()) c = nullptr;
  if (Busy || c == Focused) return;
  Busy = true;
  if (Focused) Focused->SetFocused(false);
  Focused = c;
  if (!c) {
    if (FocusTimer) {
      FocusTimer->SetEnabled(false);
      FocusTimer->OnTimer.Clear();
      FocusTimer.reset();
    }
  } else if (!useTimer) {
    if (FocusTimer) FocusTimer->SetEnabled(false);
  } else {
    if (!FocusTimer) FocusTimer = std::make_unique<CTimer>();
    FocusTimer->SetEnabled(true);
    FocusTimer->OnTimer.Set(c, &CControl::TimerTick);
    FocusTimer->SetInterval(interval);
  }
  Busy = false;
}

void CView::DropFocusWithin(CControl* c) {
  for (const CControl* f = Focused; f && c; f = f->Parent)
    if (f == c) {
      SetFocus(nullptr, false, 0);
      return;
    }
}

CControl* CView::KeyTarget() {
  if (Focused && !Focused->IsShown()) SetFocus(nullptr, false, 0);
  return Focused;
}

void CView::ClearFocus() {
  Focused = nullptr;
  Busy = false;
}

void CView::Forget(CControl* c) {
  if (!c) return;
  if (ModalRoot == c) ModalRoot = nullptr;
  if (Focused == c) {
    Focused = nullptr;
    if (FocusTimer) {
      FocusTimer->SetEnabled(false);
      FocusTimer->OnTimer.Clear();
    }
  }
  if (CaptureLeft == c) CaptureLeft = nullptr;
  if (CaptureRight == c) CaptureRight = nullptr;
  if (PointerOver == c) PointerOver = nullptr;
}

// [SECTION] Painting

void CView::BeginDraw() {
  if (Canvas) Canvas->BeginDraw();
}

void CView::EndDraw() {
  if (Canvas) Canvas->Flip();
}

// Every flip counts, the window procedure's own after a paint message too.
void CView::FlippedHook(CCanvas*) { OnPresented(this); }

void CView::Redraw() {
  if (!Canvas) return;
  // Paints asked for before this point are answered by this one; those asked for while it
  // paints still come.
  Canvas->Validate();
  BeginDraw();
  PaintTree();
  EndDraw();
}

void CView::Invalidate() {
  if (handlingKey && Canvas && Canvas->Window) {
    PaintOwed = true;
    platform::InvalidateWindow(Canvas->Window);
  } else {
    Redraw();
  }
}

void CView::PaintTree() {
  Redraws++;
  PaintOwed = false;
  PaintPicture();
}

void CView::PaintAhead() {
  if (Canvas) PaintPicture();
}

void CView::PaintPicture() {
  CRect area = PaintArea();
  const DeferredFills deferred(*Canvas);
  const CPaintPass pass;
  // Whatever origin and clip the last painter left must not shift or cut the background.
  Canvas->SetOrigin(CPoint(0, 0));
  Canvas->SetClipRect(area);
  Canvas->SetColorRGB(0, 0, 0);
  // Only what the window shows: the rest of the buffer never reaches it.
  Canvas->FillRect(ClipTo(area, Canvas->ShownArea()));
  if (Root) {
    Root->BeginPaint(area);
    Root->Paint(area);
    Root->EndPaint(area);
  }
}

void CView::RedrawControl(CControl* c) {
  if (!c || !Canvas) return;
  CRect r = c->GetAbsRect();
  r.Normalize();
  if (c->Parent) r = ClipTo(r, c->Parent->GetAbsRect());
  BeginDraw();
  c->BeginPaint(r);
  c->Paint(r);
  c->EndPaint(r);
  c->BeginOverlay();
  c->PaintOverlays();
  c->PaintOverlay();
  EndDraw();
}

// The window procedure shows the buffer after this.
void CView::PaintHook(CCanvas*) {
  if (Canvas) PaintTree();
}

// [SECTION] Mouse

bool CView::TakesInput(const CControl* c) const {
  if (!ModalRoot) return true;
  for (; c; c = c->Parent)
    if (c == ModalRoot) return true;
  return false;
}

void CView::DispatchMouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  if (!Root) return;
  CControl* target = Root->HitTest(p);
  if (!TakesInput(target)) return;
  if (button.Value == 0) CaptureLeft = target;
  if (button.Value == 1) CaptureRight = target;
  target->MouseDown(button, shift, p);
}

void CView::DispatchMouseMove(CShiftStateSet shift, CPoint p) {
  PointerOver = nullptr;
  if (CaptureLeft || CaptureRight) {
    CControl** capture = CaptureLeft ? &CaptureLeft : &CaptureRight;
    CControl* target = *capture;
    target->MouseMove(shift, p - target->GetAbsRect().M1);
    // A handler that destroyed its own control has also cleared the capture (Forget).
    if (*capture == target && Canvas) Canvas->SetCursor(target->Cursor);
    return;
  }
  if (!Root) return;
  CControl* target = Root->HitTest(p);
  if (!TakesInput(target)) return;
  PointerOver = target;
  target->MouseMove(shift, p);
  if (Canvas) Canvas->SetCursor(target->Cursor);
}

void CView::DispatchMouseUp(CInt button, CShiftStateSet shift, CPoint p) {
  CControl** capture = button.Value == 0   ? &CaptureLeft
                       : button.Value == 1 ? &CaptureRight
                                           : nullptr;
  if (capture) {
    CControl* target = *capture;
    if (!target) return;
    // Released before the call: a handler that runs a modal loop must not leave the press
    // captured for the dialog's own events.
    *capture = nullptr;
    target->MouseUp(button, shift, p - target->GetAbsRect().M1);
    return;
  }
  if (!Root) return;
  CControl* target = Root->HitTest(p);
  if (!TakesInput(target)) return;
  target->MouseUp(button, shift, p);
}

void CView::DispatchMouseWheel(CInt notches, CPoint p) {
  if (!Root) return;
  CControl* target = Root->HitTest(p);
  if (!TakesInput(target)) return;
  target->MouseWheel(notches, p);
}

void CView::MouseWheelHook(CCanvas*, CInt notches, CPoint p) {
  const KeyScope scope(0);
  PointerOver = nullptr;
  if (PaintOwed) Redraw();
  DispatchMouseWheel(notches, p);
}

void CView::MouseDownHook(CCanvas*, CInt button, CShiftStateSet shift, CPoint p) {
  const KeyScope scope(0);
  PointerOver = nullptr;
  if (PaintOwed) Redraw();
  if (Root) DispatchMouseDown(button, shift, p);
}

void CView::MouseMoveHook(CCanvas*, CShiftStateSet shift, CPoint p) {
  const KeyScope scope(0);
  if (PaintOwed) Redraw();
  if (Root) DispatchMouseMove(shift, p);
}

void CView::MouseUpHook(CCanvas*, CInt button, CShiftStateSet shift, CPoint p) {
  const KeyScope scope(0);
  if (PaintOwed) Redraw();
  if (Root) DispatchMouseUp(button, shift, p);
}

// [SECTION] Keys

void CView::DispatchKeyPress(CStr ch) {
  if (CControl* target = KeyTarget(); target && TakesInput(target)) target->KeyPress(ch);
}

void CView::KeyPressHook(CCanvas*, CStr ch) {
  const KeyScope scope(1);
  DispatchKeyPress(ch);
}

void CView::DispatchKeyDown(CInt key, CShiftStateSet shift) {
  if (!ModalRoot && KeyPreview && KeyPreview(key, shift)) return;
  if (CControl* target = KeyTarget(); target && TakesInput(target)) target->KeyDown(key, shift);
}

void CView::KeyDownHook(CCanvas*, CInt key, CShiftStateSet shift) {
  const KeyScope scope(1);
  PointerOver = nullptr;
  DispatchKeyDown(key, shift);
}

void CView::DispatchKeyUp(CInt key, CShiftStateSet shift) {
  if (CControl* target = KeyTarget(); target && TakesInput(target)) target->KeyUp(key, shift);
}

void CView::KeyUpHook(CCanvas*, CInt key, CShiftStateSet shift) {
  const KeyScope scope(1);
  DispatchKeyUp(key, shift);
}

CModalScope::CModalScope(CControl* form) {
  if (!form || !form->View) return;
  view_ = form->View;
  outer_ = view_->ModalRoot;
  view_->ModalRoot = form;
  if (view_->Canvas) input_ = std::make_unique<platform::ModalInput>(view_->Canvas->Window);
}

CModalScope::~CModalScope() {
  if (view_) view_->ModalRoot = outer_;
}
