#include "widgets/Splitter.h"

namespace {

constexpr std::int32_t kCursorUpDown = -7;
constexpr std::int32_t kCursorLeftRight = -9;

void Put(CControl* c, const CFloat& x, const CFloat& y, const CFloat& w, const CFloat& h,
         std::int32_t a1, std::int32_t a2, std::int32_t a3, std::int32_t a4) {
  c->SetBounds(x, y, w, h, true);
  c->Anchors.Set(a1, a2, a3, a4);
}

}  // namespace

CSplitter::CSplitter(CControl* parent) : CFillRectangle(parent) {
  FirstPane = new CFillRectangle(this);
  SecondPane = new CFillRectangle(this);
  Grip = new CFillRectangle(this);
  FirstPane->Color = CColor(0.5, 0.5, 0.5);
  SecondPane->Color = CColor(0.5, 0.5, 0.5);
  Grip->Color = CColor(0, 1, 0);
  Grip->OnMouseDown.Set(this, &CSplitter::GripMouseDown);
  Grip->OnMouseMove.Set(this, &CSplitter::GripMouseMove);
  Grip->OnMouseUp.Set(this, &CSplitter::GripMouseUp);
  Grip->Cursor = kCursorLeftRight;
  SetSplit(GetWidth() / CFloat(2));
  SetStacked(false);
}

CStr CSplitter::ClassName() const {
  return "CSplitter";
}

void CSplitter::SetSplit(const CFloat& p) {
  Split = p;
  const CFloat w = GetWidth();
  const CFloat h = GetHeight();
  const CFloat gap = 1;
  const CFloat after = p + CFloat(3);
  if (!Stacked) {
    Put(FirstPane, 0, 0, p - gap, h, 1, 1, 1, 2);
    Put(Grip, p, 0, 2, h, 1, 1, 1, 2);
    Put(SecondPane, after, 0, w - after, h, 1, 1, 2, 2);
  } else if (KeepSecond) {
    Put(FirstPane, 0, 0, w, p - gap, 1, 1, 2, 2);
    Put(Grip, 0, p, w, 2, 1, 2, 2, 2);
    Put(SecondPane, 0, after, w, h - after, 1, 2, 2, 2);
  } else {
    Put(FirstPane, 0, 0, w, p - gap, 1, 1, 2, 1);
    Put(Grip, 0, p, w, 2, 1, 1, 2, 1);
    Put(SecondPane, 0, after, w, h - after, 1, 1, 2, 2);
  }
}

void CSplitter::SetStacked(CBool stacked) {
  Stacked = stacked;
  SetSplit(Split);
  Grip->Cursor = Stacked ? kCursorUpDown : kCursorLeftRight;
}

void CSplitter::GripMouseDown(CControl*, CInt, CShiftStateSet, CPoint p) {
  Dragging = true;
  GrabOffset = Stacked ? p.Y : p.X;
}

// The grip follows the mouse, but stays inside the splitter where it can still be grabbed: a
// grip dragged past the edge would take its pane with it for good.
void CSplitter::GripMouseMove(CControl*, CShiftStateSet, CPoint p) {
  if (!Dragging) return;
  CFloat split = Stacked ? Grip->M1.Y + p.Y - GrabOffset : Grip->M1.X + p.X - GrabOffset;
  const CFloat last = (Stacked ? GetHeight() : GetWidth()) - CFloat(3);
  if (split > last) split = last;
  if (split < CFloat(0)) split = 0;
  SetSplit(split);
  Invalidate();
}

void CSplitter::GripMouseUp(CControl*, CInt, CShiftStateSet, CPoint) {
  Dragging = false;
}
