// The design surface and its trackers.
//
// [SECTION] CTrack
// [SECTION] CMap: construction and trackers
// [SECTION] CMap: grouping, deleting
// [SECTION] CMap: mouse and keys
// [SECTION] CMap: painting
#include "designer/Map.h"

#include <cmath>

#include "controls/View.h"
#include "graphics/Canvas.h"
#include "graphics/GLApp.h"
#include "platform/Clock.h"

namespace {

constexpr int kHandleReach = 3;  // a handle is hit this far from its point, and drawn this big

CRect Normalized(CRect r) {
  r.Normalize();
  return r;
}

CRect Moved(const CRect& r, const CPoint& d) {
  return CRect(r.M1.X + d.X, r.M1.Y + d.Y, r.M2.X + d.X, r.M2.Y + d.Y);
}

}  // namespace

// [SECTION] CTrack

CTrack::CTrack(CControl* target) : Target(target) {
  if (target) SetRect(*target);
  Hide();
}

CStr CTrack::ClassName() const {
  return "CTrack";
}

void CTrack::Hide() {
  State = 0;
  Shown = false;
}

void CTrack::Select() {
  if (State != CInt(2) && Target) SetRect(*Target);
  State = 1;
  Shown = true;
  if (Target) Target->SetRect(*this);
}

void CTrack::BeginDrag() {
  if (Target) DragRect(*Target);
}

void CTrack::DragRect(CRect r) {
  State = 2;
  Shown = true;
  SetRect(r);
}

void CTrack::SetState(CInt s) {
  State = s;
  switch (s.Value) {
    case 0:
      Hide();
      break;
    case 1:
      Select();
      break;
    case 2:
      BeginDrag();
      break;
    default:
      break;
  }
}

CPoint CTrack::HandlePoint(const CRect& r, int handle) {
  const CFloat xm = (r.M1.X + r.M2.X) / CFloat(2);
  const CFloat ym = (r.M1.Y + r.M2.Y) / CFloat(2);
  switch (handle) {
    case 0:
      return CPoint(r.M1.X, r.M1.Y);
    case 1:
      return CPoint(xm, r.M1.Y);
    case 2:
      return CPoint(r.M2.X, r.M1.Y);
    case 3:
      return CPoint(r.M1.X, ym);
    case 4:
      return CPoint(r.M2.X, ym);
    case 5:
      return CPoint(r.M1.X, r.M2.Y);
    case 6:
      return CPoint(xm, r.M2.Y);
    default:
      return CPoint(r.M2.X, r.M2.Y);
  }
}

CBool CTrack::HitHandle(CPoint p) {
  if (!Shown || !Target) return false;
  const CRect r = Normalized(*Target);
  const CFloat reach = kHandleReach;
  for (int i = 0; i < 8; i++) {
    const CPoint h = HandlePoint(r, i);
    if (h.X - reach <= p.X && p.X <= h.X + reach && h.Y - reach <= p.Y && p.Y <= h.Y + reach) {
      Handle = i;
      return true;
    }
  }
  return false;
}

// The handle numbers name the edges of the normalized rectangle, so the drag starts from it: a
// control whose corners were swapped by an earlier drag moves the edge the user grabbed.
void CTrack::StartResize(CPoint p, CInt handle) {
  State = 2;
  Shown = true;
  if (Target) SetRect(Normalized(*Target));
  Handle = handle;
  switch (handle.Value) {
    case -1:
    case 0:
    case 3:
    case 5:
      GrabX = p.X - M1.X;
      break;
    case 2:
    case 4:
    case 7:
      GrabX = p.X - M2.X;
      break;
    default:
      GrabX = 0;
      break;
  }
  switch (handle.Value) {
    case -1:
    case 0:
    case 1:
    case 2:
      GrabY = p.Y - M1.Y;
      break;
    case 5:
    case 6:
    case 7:
      GrabY = p.Y - M2.Y;
      break;
    default:
      GrabY = 0;
      break;
  }
}

// The corners are set directly: the tracker is only a rectangle, nothing is laid out.
void CTrack::DragTo(CPoint p) {
  const CFloat x = p.X - GrabX;
  const CFloat y = p.Y - GrabY;
  switch (Handle.Value) {
    case -1: {
      const CFloat w = Target ? Target->M2.X - Target->M1.X : M2.X - M1.X;
      const CFloat h = Target ? Target->M2.Y - Target->M1.Y : M2.Y - M1.Y;
      M1 = CPoint(x, y);
      M2 = CPoint(x + w, y + h);
      break;
    }
    case 0:
      M1 = CPoint(x, y);
      break;
    case 1:
      M1.Y = y;
      break;
    case 2:
      M2.X = x;
      M1.Y = y;
      break;
    case 3:
      M1.X = x;
      break;
    case 4:
      M2.X = x;
      break;
    case 5:
      M1.X = x;
      M2.Y = y;
      break;
    case 6:
      M2.Y = y;
      break;
    case 7:
      M2 = CPoint(x, y);
      break;
    default:
      break;
  }
}

void CTrack::EndDrag() {
  Select();
}

void CTrack::Draw() {
  if (!Shown || !Target) return;
  CCanvas* canvas = Target->GetCanvas();
  if (!canvas) return;
  // The rubber band's target is the surface itself; its rectangle is in the surface's coordinates.
  const bool rubber = dynamic_cast<CMap*>(Target) != nullptr;
  canvas->SetOrigin(rubber ? Target->GetAbsM1() : Target->GetOrigin());
  canvas->SetPenStyle(0);
  if (State == CInt(1)) {
    // What is drawn is what HitHandle answers to: the target's rectangle.
    const CRect r = Normalized(*Target);
    const CFloat reach = kHandleReach;
    for (int i = 0; i < 8; i++) {
      const CPoint h = HandlePoint(r, i);
      const CRect square(h.X - reach, h.Y - reach, h.X + reach, h.Y + reach);
      canvas->SetColorRGB(0, 0, 0);
      canvas->FillRect(square);
      canvas->SetColorRGB(1, 1, 1);
      canvas->DrawRect(square);
    }
  } else if (State == CInt(2)) {
    canvas->SetColorRGB(0, 0, 0);
    canvas->SetPenStyle(2);  // the platform's dotted pen
    canvas->DrawRect(*this);
    canvas->SetPenStyle(0);
  }
}

// [SECTION] CMap: construction and trackers

CMap::CMap(CControl* parent) : CControl(parent) {
  KeepEvents = true;
  Rubber = std::make_unique<CTrack>(this);
  if (CCanvas* canvas = GetCanvas()) {
    // The grid picture is drawn through the canvas's current clip, which a partial repaint may
    // have left smaller than the screen: open it while the grid is made.
    const CRect clip = canvas->GetClipRect();
    const CInt width = GLApp && GLApp->Screen ? GLApp->Screen->ScreenWidth() : CInt(0);
    const CInt height = GLApp && GLApp->Screen ? GLApp->Screen->ScreenHeight() : CInt(0);
    canvas->SetClipRect(CRect(0, 0, width, height));
    canvas->PrepareGrid(kGrid, kGrid);
    canvas->SetClipRect(clip);
  }
}

CStr CMap::ClassName() const {
  return "CMap";
}

CTrack* CMap::FindTrack(CControl* control) {
  for (std::int32_t i = 0; i < Tracks.Count().Value; i++)
    if (TrackAt(i)->Target == control) return TrackAt(i);
  return nullptr;
}

CTrack* CMap::MakeTrack(CControl* control) {
  if (CTrack* track = FindTrack(control)) return track;
  auto* track = new CTrack(control);
  Tracks.Add(track);
  return track;
}

void CMap::SetTrackState(CControl* control, CInt s) {
  if (control) MakeTrack(control)->SetState(s);
}

void CMap::SetAllTracks(CInt s) {
  for (std::int32_t i = 0; i < ChildCount().Value; i++) SetTrackState(GetChild(i), s);
}

void CMap::ChangeTracks(CInt to, CInt from) {
  for (std::int32_t i = 0; i < ChildCount().Value; i++) {
    CTrack* track = MakeTrack(GetChild(i));
    if (track->State == from) track->SetState(to);
  }
}

CPoint CMap::Snap(CPoint p, CInt gx, CInt gy) {
  auto snap = [](const CFloat& v, const CInt& step) {
    if (step.Value <= 0) return v;
    const long double s = step.Value;
    return CFloat(std::floor(v.Value / s + 0.5L) * s);
  };
  return CPoint(snap(p.X, gx), snap(p.Y, gy));
}

CControl* CMap::FirstSelected() {
  for (std::int32_t i = 0; i < Tracks.Count().Value; i++)
    if (TrackAt(i)->Shown) return TrackAt(i)->Target;
  return nullptr;
}

std::vector<CControl*> CMap::Selected() {
  std::vector<CControl*> selected;
  for (std::int32_t i = 0; i < ChildCount().Value; i++) {
    const CTrack* track = FindTrack(GetChild(i));
    if (track && track->Shown) selected.push_back(GetChild(i));
  }
  return selected;
}

void CMap::DropTrack(CControl* control) {
  for (std::int32_t i = Tracks.Count().Value - 1; i >= 0; i--) {
    if (TrackAt(i)->Target != control) continue;
    if (Current == TrackAt(i)) Current = nullptr;
    Tracks.Delete(i);
  }
}

void CMap::DropStrayTracks() {
  for (std::int32_t i = Tracks.Count().Value - 1; i >= 0; i--) {
    if (IndexOfChild(TrackAt(i)->Target).Value >= 0) continue;
    if (Current == TrackAt(i)) Current = nullptr;
    Tracks.Delete(i);
  }
}

// [SECTION] CMap: grouping, deleting

bool CMap::IsGroup(const CControl* control) {
  return control && control->ClassName() == CStr("CControl");
}

void CMap::Group() {
  const std::vector<CControl*> members = Selected();
  if (members.size() < 2) return;

  CRect bounds = Normalized(*members[0]);
  for (CControl* member : members) {
    const CRect r = Normalized(*member);
    if (r.M1.X < bounds.M1.X) bounds.M1.X = r.M1.X;
    if (r.M1.Y < bounds.M1.Y) bounds.M1.Y = r.M1.Y;
    if (r.M2.X > bounds.M2.X) bounds.M2.X = r.M2.X;
    if (r.M2.Y > bounds.M2.Y) bounds.M2.Y = r.M2.Y;
  }

  auto* group = new CControl(this);
  group->SetRect(bounds);
  group->Color = CColor(0, 0, 1);
  group->Anchors.Set(3, 3, 4, 4);  // scales with the surface, as every designed control does
  SetTrackState(group, 1);

  // The members were chosen before the group existed: the group, selected by now, is not one.
  const CPoint offset = bounds.M1;
  for (CControl* member : members) {
    DropTrack(member);
    RemoveChild(member);
    member->Parent = group;
    group->AddFramePart(member);
    member->SetRect(Moved(*member, CPoint(-offset.X, -offset.Y)));
  }
  group->SetName("MyControl1");
  Invalidate();
}

void CMap::UnGroup() {
  const CPoint here = GetAbsM1();
  for (CControl* group : Selected()) {
    if (!IsGroup(group)) continue;
    // Each member goes back where it is shown, which also holds for a group whose corners a
    // drag has swapped (it shows its members mirrored).
    while (CControl* member = group->GetFramePart(0)) {
      const CRect shown = member->GetAbsRect();
      group->RemoveFramePart(member);
      AddChild(member);
      member->Parent = this;
      member->SetRect(Moved(shown, CPoint(-here.X, -here.Y)));
      SetTrackState(member, 1);
    }
    DeleteControl(group);
  }
  Invalidate();
}

void CMap::DeleteControl(CControl* control) {
  if (!control || control->Parent != this) return;
  DropTrack(control);
  delete control;  // leaves the surface's lists itself
}

void CMap::Clear() {
  Current = nullptr;
  Tracks.Clear();
  Rubber->Hide();
  Mode = 0;
  // Taken out before they go: each removes itself from the surface, which then finds no list.
  auto frames = std::move(FrameList);
  auto children = std::move(ChildList);
}

// [SECTION] CMap: mouse and keys

CControl* CMap::ControlAt(CPoint p) {
  for (std::int32_t i = ChildCount().Value - 1; i >= 0; i--) {
    CControl* child = GetChild(i);
    // A control hidden in the design is still shown dimmed, and can be taken.
    if (child->ContainsPoint(p)) return child;
  }
  return nullptr;
}

// Handles and controls are hit where the pointer really is; only the positions that move things
// are snapped, so a handle or a small control off the grid can still be taken.
void CMap::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  if (button.Value != 0) {
    CControl::MouseDown(button, shift, p);
    return;
  }
  DropStrayTracks();
  const CPoint at = Snap(p, kGrid, kGrid);
  DragStart = at;
  Current = nullptr;
  const std::int64_t now = platform::Now();
  const CControl* pressedBefore = lastPressed_;
  const bool soon = now - lastPressAt_ <= kDoublePressMs &&
                    std::fabs(double((p.X - lastPressPoint_.X).Value)) <= 2 &&
                    std::fabs(double((p.Y - lastPressPoint_.Y).Value)) <= 2;
  lastPressed_ = nullptr;
  lastPressAt_ = now;
  lastPressPoint_ = p;
  doublePressed_ = nullptr;

  for (std::int32_t i = Tracks.Count().Value - 1; i >= 0; i--) {
    CTrack* track = TrackAt(i);
    if (!track->HitHandle(p)) continue;
    Current = track;
    track->BeginDrag();
    track->StartResize(at, track->Handle);
    Mode = 2;
    Invalidate();
    return;
  }

  if (CControl* hit = ControlAt(p)) {
    // A third press starts counting again.
    if (soon && hit == pressedBefore)
      doublePressed_ = hit;
    else
      lastPressed_ = hit;
    Current = MakeTrack(hit);
    if (!Current->Shown && !shift.Shift) SetAllTracks(0);
    // The whole selection moves, a control added with Shift included; every moving tracker
    // shows the dotted frame.
    ChangeTracks(2, 1);
    Current->BeginDrag();
    Mode = 1;
  } else {
    if (!shift.Shift) SetAllTracks(0);
    Rubber->BeginDrag();
    Rubber->SetRect(CRect(at.X, at.Y, at.X, at.Y));
    Mode = 3;
  }
  if (View) View->SetFocus(this, false, 0);
  Invalidate();
  CControl::MouseDown(button, shift, p);
}

void CMap::MoveShownTracks(CPoint p) {
  const CPoint d = p - DragStart;
  for (std::int32_t i = 0; i < Tracks.Count().Value; i++) {
    CTrack* track = TrackAt(i);
    if (track->Shown && track->Target) track->SetRect(Moved(*track->Target, d));
  }
}

void CMap::MouseMove(CShiftStateSet shift, CPoint p) {
  p = Snap(p, kGrid, kGrid);
  switch (Mode.Value) {
    case 1:
      MoveShownTracks(p);
      Invalidate();
      break;
    case 2:
      if (Current) Current->DragTo(p);
      Invalidate();
      break;
    case 3:
      Rubber->M2 = p;
      Invalidate();
      break;
    default:
      break;
  }
  CCustomControl::MouseMove(shift, p);
}

void CMap::MouseUp(CInt button, CShiftStateSet shift, CPoint p) {
  p = Snap(p, kGrid, kGrid);
  switch (Mode.Value) {
    case 1:
      MoveShownTracks(p);
      for (std::int32_t i = 0; i < Tracks.Count().Value; i++)
        if (TrackAt(i)->Shown) TrackAt(i)->Select();
      Invalidate();
      break;
    case 2:
      if (Current) Current->EndDrag();
      Invalidate();
      break;
    case 3: {
      Rubber->M2 = p;  // the band ends where the button was let go
      const CRect band = *Rubber;
      for (std::int32_t i = 0; i < ChildCount().Value; i++)
        if (band.Contains(*GetChild(i))) SetTrackState(GetChild(i), 1);
      Rubber->Hide();
      Invalidate();
      break;
    }
    default:
      break;
  }
  const bool moved = !bool(p == DragStart);
  Mode = 0;
  CCustomControl::MouseUp(button, shift, p);
  // Last: what the hook opens may hide the surface.
  CControl* pressed = doublePressed_;
  doublePressed_ = nullptr;
  if (pressed && !moved && pressed->Parent == this) OnDoublePress(pressed);
}

// The surface has the keyboard after a press on it: the arrow keys move the selection by one grid
// step; every key reaches the surface's hooks, where the designer takes Delete.
void CMap::KeyPress(CStr ch) {
  CControl::KeyPress(ch);
}

void CMap::KeyDown(CInt key, CShiftStateSet shift) {
  switch (key.Value) {
    case kKeyLeft:
      MoveSelection(CPoint(-kGrid, 0));
      break;
    case kKeyRight:
      MoveSelection(CPoint(kGrid, 0));
      break;
    case kKeyUp:
      MoveSelection(CPoint(0, -kGrid));
      break;
    case kKeyDown:
      MoveSelection(CPoint(0, kGrid));
      break;
    default:
      break;
  }
  CControl::KeyDown(key, shift);
}

void CMap::KeyUp(CInt key, CShiftStateSet shift) {
  CControl::KeyUp(key, shift);
}

void CMap::MoveSelection(CPoint d) {
  if (Mode.Value != 0) return;  // a drag in progress owns the rectangles
  const std::vector<CControl*> selected = Selected();
  if (selected.empty()) return;
  for (CControl* control : selected) {
    control->SetRect(Moved(*control, d));
    SetTrackState(control, 1);
  }
  Invalidate();
}

// [SECTION] CMap: painting

// A designed control that the built program will not show is drawn here all the same, under a
// grey dotted veil, so that it can be found, selected and shown again.
void CMap::PaintHidden(const CRect& clip) {
  CCanvas* canvas = GetCanvas();
  if (!canvas) return;
  for (std::int32_t i = 0; i < ChildCount().Value; i++) {
    CControl* child = GetChild(i);
    if (child->Visible) continue;
    CRect own = clip;
    child->Visible = true;
    child->BeginPaint(own);
    child->Paint(own);
    child->EndPaint(own);
    child->Visible = false;
    const CRect r = Normalized(*child);
    canvas->SetOrigin(GetAbsM1());
    canvas->SetColorRGB(0.6, 0.6, 0.6);
    for (CFloat y = r.M1.Y; y <= r.M2.Y; y = y + CFloat(2))
      canvas->DrawLine(CRect(r.M1.X, y, r.M2.X, y));
  }
}

// What the built window will not show is shaded with a line every third pixel, so the grid and
// the controls placed there stay visible; the form's edge is a solid line.
void CMap::PaintFormEdge() {
  CCanvas* canvas = GetCanvas();
  if (!canvas) return;
  canvas->SetOrigin(GetAbsM1());
  const CFloat w = FormWidth.Value, h = FormHeight.Value;
  const CFloat right = GetWidth(), bottom = GetHeight();
  canvas->SetPenStyle(0);
  canvas->SetColorRGB(0.4, 0.4, 0.6);
  for (CFloat y = 0; y <= bottom; y = y + CFloat(3))
    canvas->DrawLine(CRect(y.Value > h.Value ? CFloat(0) : w, y, right, y));
  canvas->SetColorRGB(0, 0, 0.6);
  canvas->DrawLine(CRect(w, 0, w, h));
  canvas->DrawLine(CRect(0, h, w, h));
}

// DrawGrid copies the grid from its own origin to the rectangle's corner, so the dots lie at
// multiples of 9 from the surface's corner, exactly where snapped points fall.
void CMap::Paint(const CRect& clip) {
  if (!Visible) return;
  if (CCanvas* canvas = GetCanvas()) {
    canvas->SetOrigin(CPoint(0, 0));
    canvas->DrawGrid(GetAbsRect());
  }
  PaintFormEdge();
  CControl::Paint(clip);
  PaintHidden(clip);
  DropStrayTracks();
  for (std::int32_t i = 0; i < Tracks.Count().Value; i++) TrackAt(i)->Draw();
  Rubber->Draw();
}
