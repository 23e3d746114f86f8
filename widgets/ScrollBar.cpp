#include "widgets/ScrollBar.h"

#include "controls/CtrlApp.h"
#include "controls/Pic.h"
#include "controls/View.h"
#include "widgets/Button.h"

namespace {

constexpr double kThickness = 16;
constexpr double kArrow = 12;

// Sets the bounds only when they differ: the bar lays itself out at every paint, and an unchanged
// rectangle needs no anchoring pass over the control's parts.
void Place(CControl* c, const CFloat& x, const CFloat& y, const CFloat& w, const CFloat& h) {
  const CFloat x2 = x + w;
  const CFloat y2 = y + h;
  if (c->M1.X == x && c->M1.Y == y && c->M2.X == x2 && c->M2.Y == y2) return;
  c->SetBounds(x, y, w, h, true);
}

CFloat Larger(const CFloat& a, const CFloat& b) {
  return a >= b ? a : b;
}

}  // namespace

CScrollBar::CScrollBar(CControl* parent) : CPanel(parent) {
  // The face is the track: an ordinary child, so that it gets the clicks.
  Client->Color = CColor(0.7, 0.7, 0.7);
  Client->SetFramePart(false);
  Client->AdjustEdges(2, 2, -2, -1);
  BackButton = new CPicButton(this);
  ForwardButton = new CPicButton(this);
  Thumb = new CPanel(this);
  BackButton->OnClick.Set(this, &CScrollBar::BackClick);
  ForwardButton->OnClick.Set(this, &CScrollBar::ForwardClick);
  Client->OnMouseDown.Set(this, &CScrollBar::TrackMouseDown);
  Thumb->OnMouseDown.Set(this, &CScrollBar::ThumbMouseDown);
  Thumb->OnMouseMove.Set(this, &CScrollBar::ThumbMouseMove);
  Thumb->OnMouseUp.Set(this, &CScrollBar::ThumbMouseUp);
  SetVertical(false);
}

CStr CScrollBar::ClassName() const {
  return "CScrollBar";
}

CBool CScrollBar::GetVertical() {
  return Vertical;
}

void CScrollBar::SetVertical(CBool vertical) {
  Vertical = vertical;
  const CStr home = CtrlApp ? CtrlApp->HomeDir : CStr("");
  BackButton->Picture->SetFileName(home +
                                   (Vertical ? "\\Pics\\8x8\\Up.bmp" : "\\Pics\\8x8\\Left.bmp"));
  ForwardButton->Picture->SetFileName(
      home + (Vertical ? "\\Pics\\8x8\\Down.bmp" : "\\Pics\\8x8\\Right.bmp"));
}

// [SECTION] Arithmetic

CFloat CScrollBar::TrackLength() {
  return Along(ForwardButton->M1) - Along(BackButton->M2) - CFloat(2);
}

CFloat CScrollBar::TrackOrigin() {
  return Along(BackButton->M2) + CFloat(1);
}

CFloat CScrollBar::ThumbLength() {
  return TrackLength() * Page / (Max - Min);
}

// An empty range has no thumb (it is hidden); its offset is 0 rather than a division by zero.
CFloat CScrollBar::ThumbPosFromPosition() {
  const CFloat range = Max - Min;
  if (range == CFloat(0)) return 0;
  return (Position - Min) * TrackLength() / range;
}

void CScrollBar::Clamp() {
  if (Position < Min) Position = Min;
  if (Position > Max - Page) Position = Max - Page;
}

// The owner hears first: when its handler repaints the window (the scroll box's does), that
// repaint already shows the new thumb and a second one would only cost the same again.
void CScrollBar::Update() {
  ThumbPos = ThumbPosFromPosition();
  const std::uint64_t before = View ? View->Redraws : 0;
  OnChange(this);
  if (!View || View->Redraws == before) Invalidate();
}

void CScrollBar::SetPosition(const CFloat& p) {
  Position = p;
  Clamp();
  Update();
}

void CScrollBar::MoveBy(const CFloat& delta) {
  SetPosition(Position + delta);
}

// [SECTION] Layout

void CScrollBar::BeginPaint(CRect& clip) {
  LayOutBar();
  CPanel::BeginPaint(clip);
}

void CScrollBar::LayOutBar() {
  const CFloat length = Larger(GetWidth(), GetHeight());
  const CFloat far = length - CFloat(14);
  if (Vertical) {
    Place(this, M1.X, M1.Y, kThickness, length);
    Place(ForwardButton, 2, far, kArrow, kArrow);
  } else {
    Place(this, M1.X, M1.Y, length, kThickness);
    Place(ForwardButton, far, 2, kArrow, kArrow);
  }
  Place(BackButton, 2, 2, kArrow, kArrow);
  // The owner may have changed the range, the page or the position directly, and a resize
  // changes the track: the thumb is placed from Position every time.
  ThumbPos = ThumbPosFromPosition();
  // An empty or reversed range has no thumb even with a negative page: its length would be
  // infinite.
  const CFloat range = Max - Min;
  Thumb->Visible = range > Page && range > CFloat(0);
  if (!Thumb->Visible) return;
  const CFloat at = TrackOrigin() + ThumbPos;
  if (Vertical)
    Place(Thumb, 2, at, kArrow, ThumbLength());
  else
    Place(Thumb, at, 2, ThumbLength(), kArrow);
}

// [SECTION] Mouse

void CScrollBar::BackClick(CControl*) {
  MoveBy(-SmallStep);
}

void CScrollBar::ForwardClick(CControl*) {
  MoveBy(SmallStep);
}

// A page towards the side of the thumb that was clicked. The press comes in the track's
// coordinates; the thumb's edge is in the bar's.
void CScrollBar::TrackMouseDown(CControl*, CInt, CShiftStateSet, CPoint p) {
  const CFloat at = Along(p + Client->M1);
  MoveBy(at <= Along(Thumb->M1) ? -Page : Page);
}

void CScrollBar::ThumbMouseDown(CControl*, CInt, CShiftStateSet, CPoint p) {
  Dragging = true;
  const CFloat origin = TrackOrigin();
  DragPoint = p + CPoint(origin, origin);
}

// The thumb moves as far as the mouse did since the press, and Position follows it through the
// clamp, which then puts the thumb back where Position allows.
void CScrollBar::ThumbMouseMove(CControl*, CShiftStateSet, CPoint p) {
  if (!Dragging) return;
  const CFloat track = TrackLength();
  if (track <= CFloat(0)) return;
  ThumbPos = Along(Thumb->M1) + Along(p) - Along(DragPoint);
  Position = Min + ThumbPos * (Max - Min) / track;
  Clamp();
  Update();
}

void CScrollBar::ThumbMouseUp(CControl*, CInt, CShiftStateSet, CPoint) {
  Dragging = false;
}
