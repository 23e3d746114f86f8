// Moving a form by its caption and resizing it by its grips, with the outline drawn on the window.
//
// [SECTION] Moving by the caption
// [SECTION] Resizing by the grips
// [SECTION] The outline on the window
#include <algorithm>

#include "controls/View.h"
#include "graphics/Canvas.h"
#include "widgets/Form.h"

namespace {

// Which of the outline's edges a grip drags.
constexpr bool kDragsLeft[8] = {true, false, false, false, true, false, true, false};
constexpr bool kDragsTop[8] = {false, true, false, false, true, true, false, false};
constexpr bool kDragsRight[8] = {false, false, true, false, false, true, false, true};
constexpr bool kDragsBottom[8] = {false, false, false, true, false, false, true, true};
// The pointer each grip shows while the form is sizable.
constexpr int kGripCursor[8] = {-9, -7, -9, -7, -8, -6, -6, -8};

}  // namespace

// [SECTION] Moving by the caption

void CForm::CaptionMouseDown(CControl*, CInt button, CShiftStateSet, CPoint p) {
  if (button.Value != 0 || !Caption->ContainsPoint(p + Caption->M1)) return;
  Moving = true;
  DragStart = p;
  DragOrigin = M1;
  Outline = CRect(M1.X, M1.Y, M2.X, M2.Y);
  SaveUnderOutline();
  WatchRepaints(true);
}

void CForm::CaptionMouseMove(CControl*, CShiftStateSet, CPoint p) {
  if (!Moving) return;
  RestoreUnderOutline();
  const CPoint corner = DragOrigin + (p - DragStart);
  Outline = CRect(corner.X, corner.Y, GetWidth(), GetHeight(), true);
  SaveUnderOutline();
  DrawOutline();
}

// A form stays inside its parent; one without a parent only stays right of and below the
// screen's top-left corner.
void CForm::CaptionMouseUp(CControl* sender, CInt, CShiftStateSet, CPoint p) {
  if (!Moving) return;
  Moving = false;
  WatchRepaints(false);
  RestoreUnderOutline();
  CPoint corner = DragOrigin + (p - DragStart);
  if (corner.X < CFloat(0)) corner.X = 0;
  if (corner.Y < CFloat(0)) corner.Y = 0;
  if (Parent) {
    const CFloat right = Parent->GetWidth() - GetWidth();
    const CFloat bottom = Parent->GetHeight() - GetHeight();
    if (corner.X > right) corner.X = right;
    if (corner.Y > bottom) corner.Y = bottom;
  }
  Moved(sender);
  SetBounds(corner.X, corner.Y, GetWidth(), GetHeight(), true);
  Invalidate();
  if (Parent) Parent->Invalidate();
}

void CForm::Moved(CControl*) {
  OnMoved(this);
}

// [SECTION] Resizing by the grips

void CForm::GripMouseDown(CControl*, CInt button, CShiftStateSet, CPoint p) {
  if (!Sizable || button.Value != 0 || Moving) return;
  Resizing = true;
  DragStart = p;
  Outline = CRect(M1.X, M1.Y, M2.X, M2.Y);
  SaveUnderOutline();
  WatchRepaints(true);
}

void CForm::GripMouseMove(CControl* sender, CShiftStateSet, CPoint p) {
  int grip = 0;
  while (grip < 8 && Grips[grip] != sender) grip++;
  // The view shows the grip's own pointer after this handler: a grip that cannot resize shows
  // the arrow.
  if (grip < 8) sender->Cursor = Sizable ? kGripCursor[grip] : 0;
  if (!Sizable) return;
  if (Resizing && grip < 8) {
    RestoreUnderOutline();
    const CPoint d = p - DragStart;
    CRect r(M1.X, M1.Y, M2.X, M2.Y);
    if (kDragsLeft[grip]) r.M1.X = M1.X + d.X;
    if (kDragsTop[grip]) r.M1.Y = M1.Y + d.Y;
    if (kDragsRight[grip]) r.M2.X = M2.X + d.X;
    if (kDragsBottom[grip]) r.M2.Y = M2.Y + d.Y;
    KeepMinimumSize(grip, r);
    Outline = r;
    SaveUnderOutline();
    DrawOutline();
  }
  if (CCanvas* canvas = GetCanvas()) canvas->SetCursor(CursorAt(p + sender->M1));
}

// Dragged past the opposite border the form would turn into a mirrored sliver that no press can
// reach again. It keeps room for the caption's buttons and a grip below the caption; a form the
// program made smaller than that only does not shrink further.
void CForm::KeepMinimumSize(int grip, CRect& r) {
  const CFloat minWidth = std::min(CFloat(100), GetWidth());
  const CFloat minHeight = std::min(Caption->GetHeight() + CFloat(20), GetHeight());
  if (kDragsLeft[grip]) r.M1.X = std::min(r.M1.X, r.M2.X - minWidth);
  if (kDragsRight[grip]) r.M2.X = std::max(r.M2.X, r.M1.X + minWidth);
  if (kDragsTop[grip]) r.M1.Y = std::min(r.M1.Y, r.M2.Y - minHeight);
  if (kDragsBottom[grip]) r.M2.Y = std::max(r.M2.Y, r.M1.Y + minHeight);
}

void CForm::GripMouseUp(CControl* sender, CInt, CShiftStateSet, CPoint) {
  if (!Sizable || !Resizing) return;
  Resizing = false;
  WatchRepaints(false);
  RestoreUnderOutline();
  SetRect(Outline);
  Resized(sender);
  Invalidate();
}

void CForm::Resized(CControl*) {
  OnResized(this);
}

// The pointer for a point of the form: the diagonals in the corners, the arrows along the sides.
CInt CForm::CursorAt(CPoint p) {
  const bool left = bool(p.X <= CFloat(4));
  const bool right = bool(p.X >= GetWidth() - CFloat(4));
  const bool top = bool(p.Y <= CFloat(3));
  const bool bottom = bool(p.Y >= GetHeight() - CFloat(3));
  if ((left && top) || (right && bottom)) return -8;
  if ((right && top) || (left && bottom)) return -6;
  if (left || right) return -9;
  if (top || bottom) return -7;
  return 0;
}

// [SECTION] The outline on the window

CPoint CForm::OutlineOrigin() {
  if (Parent) return GetOrigin();
  return CPoint(-M1.X, -M1.Y);  // a window of its own: its screen position is its top-left pixel
}

CRect CForm::Side(int index) const {
  const CPoint a = Outline.M1;
  const CPoint b = Outline.M2;
  switch (index) {
    case 0:
      return CRect(a.X, a.Y, a.X, b.Y);  // left
    case 1:
      return CRect(a.X, a.Y, b.X, a.Y);  // top
    case 2:
      return CRect(b.X, a.Y, b.X, b.Y);  // right
    default:
      return CRect(a.X, b.Y, b.X, b.Y);  // bottom
  }
}

template <class Step>
void CForm::OnWindow(Step step) {
  CCanvas* canvas = GetCanvas();
  if (!canvas) return;
  const CPoint origin = canvas->GetOrigin();
  canvas->SelectTarget(false);
  canvas->SetOrigin(OutlineOrigin());
  step(*canvas);
  canvas->SetOrigin(origin);
  canvas->SelectTarget(true);
}

void CForm::SaveUnderOutline() {
  OnWindow([this](CCanvas& canvas) {
    for (int i = 0; i < 4; i++) canvas.CopyToBitmap(Side(i), SaveUnder[i]);
  });
}

void CForm::DrawOutline() {
  OnWindow([this](CCanvas& canvas) { canvas.DrawDottedFrame(Outline); });
  OutlineShown = true;
}

void CForm::RestoreUnderOutline() {
  OnWindow([this](CCanvas& canvas) {
    for (int i = 0; i < 4; i++) canvas.DrawBitmap(Side(i), SaveUnder[i]);
  });
  OutlineShown = false;
}

void CForm::OutlineCovered(CView*) {
  if (!Moving && !Resizing) return;
  SaveUnderOutline();
  if (OutlineShown) DrawOutline();
}

void CForm::WatchRepaints(bool on) {
  CView* view = View;
  if (!view) return;
  if (on)
    view->OnPresented.Set(this, &CForm::OutlineCovered);
  else if (view->OnPresented.Is(this, &CForm::OutlineCovered))
    view->OnPresented.Clear();
}
