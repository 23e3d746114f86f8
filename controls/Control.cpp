// The control base.
//
// [SECTION] CCustomControl: lists
// [SECTION] CCustomControl: events
// [SECTION] CControl: construction and destruction
// [SECTION] CControl: view coordinates
// [SECTION] CControl: resizing and anchoring
// [SECTION] CControl: hit-testing and frame parts
// [SECTION] CControl: painting
// [SECTION] CControl: drawing forwarded to the canvas
// [SECTION] Records and cloning
#include "controls/Control.h"

#include <cmath>
#include <vector>

#include "controls/CtrlApp.h"
#include "controls/KeyboardCursor.h"
#include "controls/View.h"
#include "graphics/Canvas.h"
#include "model/ClassManager.h"
#include "storage/Stream.h"

// [SECTION] CCustomControl: lists

CCustomControl::~CCustomControl() {
  // Take the lists out first: a member being destroyed removes itself from its parent, which must
  // then find no list rather than one in the middle of its destruction.
  auto frames = std::move(FrameList);
  auto children = std::move(ChildList);
}

CStr CCustomControl::ClassName() const {
  return "CCustomControl";
}
CStr CCustomControl::BaseClassName() const {
  return "CRect";
}

CControl* CCustomControl::Self() {
  return static_cast<CControl*>(this);
}

CInt CCustomControl::Count(const CControlList* list) {
  return list ? list->Count() : CInt(0);
}

CControl* CCustomControl::At(const CControlList* list, const CInt& index) {
  if (!list || index.Value < 0 || index.Value >= list->Count().Value) return nullptr;
  return list->GetControl(index);
}

CInt CCustomControl::IndexIn(const CControlList* list, const CControl* control) {
  return list ? list->IndexOf(control) : CInt(-1);
}

void CCustomControl::Add(std::unique_ptr<CControlList>& list, CControl* control) {
  if (!control) return;
  if (!list) list = std::make_unique<CControlList>(this);
  list->Add(control);
}

CInt CCustomControl::Remove(std::unique_ptr<CControlList>& list, CControl* control) {
  if (!list) return -1;
  const CInt index = list->RemoveObject(control);
  if (list->Count().Value == 0) list.reset();
  return index;
}

void CCustomControl::RemoveAt(std::unique_ptr<CControlList>& list, const CInt& index) {
  if (!list || index.Value < 0 || index.Value >= list->Count().Value) return;
  list->Remove(index);
  if (list->Count().Value == 0) list.reset();
}

void CCustomControl::RemoveAll(std::unique_ptr<CControlList>& list) {
  if (!list) return;
  list->RemoveAll();
  list.reset();
}

CInt CCustomControl::ChildCount() const {
  return Count(ChildList.get());
}
CControl* CCustomControl::GetChild(const CInt& index) const {
  return At(ChildList.get(), index);
}
void CCustomControl::AddChild(CControl* control) {
  Add(ChildList, control);
}
CInt CCustomControl::IndexOfChild(const CControl* control) const {
  return IndexIn(ChildList.get(), control);
}
CInt CCustomControl::RemoveChild(CControl* control) {
  return Remove(ChildList, control);
}
void CCustomControl::RemoveChildAt(const CInt& index) {
  RemoveAt(ChildList, index);
}
void CCustomControl::RemoveAllChildren() {
  RemoveAll(ChildList);
}

CInt CCustomControl::FramePartCount() const {
  return Count(FrameList.get());
}
CControl* CCustomControl::GetFramePart(const CInt& index) const {
  return At(FrameList.get(), index);
}
void CCustomControl::AddFramePart(CControl* control) {
  Add(FrameList, control);
}
CInt CCustomControl::IndexOfFramePart(const CControl* control) const {
  return IndexIn(FrameList.get(), control);
}
CInt CCustomControl::RemoveFramePart(CControl* control) {
  return Remove(FrameList, control);
}
void CCustomControl::RemoveFramePartAt(const CInt& index) {
  RemoveAt(FrameList, index);
}
void CCustomControl::RemoveAllFrameParts() {
  RemoveAll(FrameList);
}

// [SECTION] CCustomControl: events

void CCustomControl::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  MouseInside = true;
  MousePressed = true;
  OnMouseDown(Self(), button, shift, p);
}

void CCustomControl::MouseMove(CShiftStateSet shift, CPoint p) {
  MouseInside = Self()->ContainsPoint(p + M1);
  OnMouseMove(Self(), shift, p);
}

void CCustomControl::MouseUp(CInt button, CShiftStateSet shift, CPoint p) {
  MousePressed = false;
  OnMouseUp(Self(), button, shift, p);
  Click();
}

void CCustomControl::Click() {
  if (MouseInside) OnClick(Self());
}

void CCustomControl::KeyPress(CStr ch) {
  OnKeyPress(Self(), ch);
}
void CCustomControl::KeyDown(CInt key, CShiftStateSet shift) {
  OnKeyDown(Self(), key, shift);
}
void CCustomControl::KeyUp(CInt key, CShiftStateSet shift) {
  OnKeyUp(Self(), key, shift);
}
void CCustomControl::TimerTick() {}

// [SECTION] CControl: construction and destruction

CControl::CControl(CControl* parent) : Parent(parent) {
  if (parent) {
    parent->AddChild(this);
    View = parent->View;
  } else {
    RootView = std::make_unique<CView>(CRect(0, 0, 150, 600));
    RootView->Root = this;
    View = RootView.get();
  }
  Anchors.Set(1, 1, 1, 1);
  SetBounds(0, 0, 100, 100, false);
}

CControl::~CControl() {
  // The parts go first, while the view they share still exists.
  {
    auto frames = std::move(FrameList);
    auto children = std::move(ChildList);
  }
  if (Parent) {
    Parent->RemoveChild(this);
    Parent->RemoveFramePart(this);
  }
  // The view, the caret and the application must not keep pointing at a control that is gone.
  if (View && !RootView) View->Forget(this);
  if (CtrlApp) {
    if (CtrlApp->KeyboardCursor && CtrlApp->KeyboardCursor->Control == this)
      CtrlApp->KeyboardCursor->Control = nullptr;
    if (CtrlApp->MainForm == this) CtrlApp->MainForm = nullptr;
  }
  if (RootView) RootView->Root = nullptr;
  RootView.reset();
}

CStr CControl::ClassName() const {
  return "CControl";
}
CBool CControl::IsControl() const {
  return true;
}

CControl* CControl::GetRoot() {
  CControl* root = this;
  while (root->Parent) root = root->Parent;
  return root;
}

void CControl::SetFocused(CBool) {}

bool CControl::IsShown() const {
  for (const CControl* c = this; c; c = c->Parent)
    if (!c->Visible) return false;
  return true;
}

void CControl::Hide() {
  Visible = false;
  if (View) View->DropFocusWithin(this);
}

void CControl::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  CCustomControl::MouseDown(button, shift, p);
}

void CControl::MouseWheel(CInt notches, CPoint p) {
  if (Parent) Parent->MouseWheel(notches, p + M1);
}

// [SECTION] CControl: view coordinates

bool CControl::AxisForwardX() {
  const bool own = bool(M1.X <= M2.X);
  return Parent ? own == Parent->AxisForwardX() : own;
}

bool CControl::AxisForwardY() {
  const bool own = bool(M1.Y <= M2.Y);
  return Parent ? own == Parent->AxisForwardY() : own;
}

CPoint CControl::GetOrigin() {
  if (!Parent) return CPoint(0, 0);
  return Parent->GetAbsM1();
}

// A corner in view coordinates: measured from the origin along the parent's axes, so a parent
// whose corners are swapped mirrors everything inside it.
CPoint CControl::GetAbsM1() {
  if (!Parent) return CPoint(0, 0);
  CPoint o;
  bool forwardX = true, forwardY = true;
  Parent->AbsFrame(o, forwardX, forwardY);
  return CPoint(forwardX ? o.X + M1.X : o.X - M1.X, forwardY ? o.Y + M1.Y : o.Y - M1.Y);
}

CPoint CControl::GetAbsM2() {
  if (!Parent) return M2 - M1;
  CPoint o;
  bool forwardX = true, forwardY = true;
  Parent->AbsFrame(o, forwardX, forwardY);
  return CPoint(forwardX ? o.X + M2.X : o.X - M2.X, forwardY ? o.Y + M2.Y : o.Y - M2.Y);
}

namespace {

// The paint pass in force (0: none), and the last number given to one.
std::uint64_t paintPass = 0;
std::uint64_t lastPaintPass = 0;

}  // namespace

CPaintPass::CPaintPass() : saved_(paintPass) {
  paintPass = ++lastPaintPass;
}

CPaintPass::~CPaintPass() {
  paintPass = saved_ ? ++lastPaintPass : 0;
}

void CControl::AbsFrame(CPoint& m1, bool& forwardX, bool& forwardY) {
  // Painting asks for the same few parents' frames over and over: known ones answer at once.
  if (paintPass && FramePass == paintPass) {
    m1.X.Value = FrameX, m1.Y.Value = FrameY;
    forwardX = FrameForwardX, forwardY = FrameForwardY;
    return;
  }
  // Up to the root, or to an ancestor whose frame this pass already knows; then down again.
  thread_local std::vector<CControl*> chain;
  chain.clear();
  CControl* known = nullptr;
  for (CControl* c = this; c; c = c->Parent) {
    if (paintPass && c->FramePass == paintPass) {
      known = c;
      break;
    }
    chain.push_back(c);
  }
  long double x = 0, y = 0;
  bool fx, fy;
  auto c = chain.rbegin();
  if (known) {
    x = known->FrameX, y = known->FrameY;
    fx = known->FrameForwardX, fy = known->FrameForwardY;
  } else {
    CControl& root = **c++;
    fx = bool(root.M1.X <= root.M2.X);
    fy = bool(root.M1.Y <= root.M2.Y);
    root.FramePass = paintPass;
    root.FrameX = x, root.FrameY = y, root.FrameForwardX = fx, root.FrameForwardY = fy;
  }
  for (; c != chain.rend(); ++c) {
    CControl& node = **c;
    x = fx ? x + node.M1.X.Value : x - node.M1.X.Value;
    y = fy ? y + node.M1.Y.Value : y - node.M1.Y.Value;
    fx = bool(node.M1.X <= node.M2.X) == fx;
    fy = bool(node.M1.Y <= node.M2.Y) == fy;
    node.FramePass = paintPass;
    node.FrameX = x, node.FrameY = y, node.FrameForwardX = fx, node.FrameForwardY = fy;
  }
  m1 = CPoint(CFloat(x), CFloat(y));
  forwardX = fx;
  forwardY = fy;
}

// GetAbsM1 and GetAbsM2 from one look at the parent's frame: every control asks for this as it
// paints.
CRect CControl::GetAbsRect() {
  if (!Parent) return CRect(0, 0, M2.X - M1.X, M2.Y - M1.Y);
  CPoint o;
  bool forwardX = true, forwardY = true;
  Parent->AbsFrame(o, forwardX, forwardY);
  return CRect(forwardX ? o.X + M1.X : o.X - M1.X, forwardY ? o.Y + M1.Y : o.Y - M1.Y,
               forwardX ? o.X + M2.X : o.X - M2.X, forwardY ? o.Y + M2.Y : o.Y - M2.Y);
}

CRect CControl::GetClientRect() {
  return ClientRect;
}

CRect CControl::CalcClientRect() {
  CRect r(0, 0, GetWidth(), GetHeight());
  r.AdjustEdges(0, 0, 0, 0);
  return r;
}

void CControl::UpdateClientRect() {
  ClientRect = CalcClientRect();
}

// [SECTION] CControl: resizing and anchoring

void CControl::SetCorners(const CFloat& x1, const CFloat& y1, const CFloat& x2, const CFloat& y2) {
  // What the paint pass knows of view coordinates may no longer hold. Corners set to what they
  // are keep it (painters place their parts on every paint); a part that moves all the same
  // (anchored to a far edge) tells it so itself.
  if (paintPass && !(bool(x1 == M1.X) && bool(y1 == M1.Y) && bool(x2 == M2.X) && bool(y2 == M2.Y)))
    paintPass = ++lastPaintPass;
  const CRect old(M1.X, M1.Y, M2.X, M2.Y);
  CRect::SetCorners(x1, y1, x2, y2);
  ClientRect = CalcClientRect();
  const CRect now(M1.X, M1.Y, M2.X, M2.Y);
  // The change is worked out once for all the parts and children, and not at all for a leaf.
  if (FramePartCount().Value > 0 || ChildCount().Value > 0) {
    const CResize change(old, now);
    for (std::int32_t i = 0; i < FramePartCount().Value; i++) Follow(GetFramePart(i), change);
    for (std::int32_t i = 0; i < ChildCount().Value; i++) Follow(GetChild(i), change);
  }
  if (!Parent && View) View->SetBounds(x1, y1, x2, y2, false);
}

void CControl::SetPosSize(const CFloat& x, const CFloat& y, const CFloat& w, const CFloat& h) {
  SetCorners(x, y, x + w + CFloat(1), y + h + CFloat(1));
}

void CControl::AdjustEdges(const CFloat& dx1, const CFloat& dy1, const CFloat& dx2,
                           const CFloat& dy2) {
  SetRect(CRect(M1.X + dx1, M1.Y + dy1, M2.X + dx2, M2.Y + dy2));
}

namespace {

CFloat Abs(const CFloat& v) {
  return std::fabs(v.Value);
}

// One coordinate of a child, moved by its anchor value. `far` is the coordinate's margin form
// (anchor 4) for x2 and y2; for x1 and y1 anchor 4 scales like 3.
CFloat FollowAnchor(const CInt& anchor, const CFloat& v, const CFloat& grow, const CFloat& centre,
              const CFloat& ratio, const CFloat* farEdge, const CFloat& margin) {
  switch (anchor.Value) {
    case 0:
      return v + centre;
    case 2:
      return v + grow;
    case 3:
      return v * ratio;
    case 4:
      return farEdge ? *farEdge - margin * ratio : v * ratio;
    default:
      return v;  // 1 and any other value keep the coordinate
  }
}

}  // namespace

CControl::CResize::CResize(const CRect& old, const CRect& now)
    : w0(old.GetWidth()), h0(old.GetHeight()), w1(now.GetWidth()), h1(now.GetHeight()) {
  // GetWidth and GetHeight never answer less than 1 in magnitude, so the ratios are defined.
  rx = Abs(w1 / w0);
  ry = Abs(h1 / h0);
  dx = w1 - w0;
  dy = h1 - h0;
  cx = now.HalfSize().X - old.HalfSize().X;
  cy = now.HalfSize().Y - old.HalfSize().Y;
  right = Abs(w1);
  bottom = Abs(h1);
}

void CControl::Follow(CControl* child, const CResize& c) {
  if (!child) return;
  const CFloat mx = Abs(Abs(c.w0) - child->M2.X);
  const CFloat my = Abs(Abs(c.h0) - child->M2.Y);
  const CAnchors& a = child->Anchors;
  const CFloat x1 = FollowAnchor(a.M1X, child->M1.X, c.dx, c.cx, c.rx, nullptr, mx);
  const CFloat y1 = FollowAnchor(a.M1Y, child->M1.Y, c.dy, c.cy, c.ry, nullptr, my);
  const CFloat x2 = FollowAnchor(a.M2X, child->M2.X, c.dx, c.cx, c.rx, &c.right, mx);
  const CFloat y2 = FollowAnchor(a.M2Y, child->M2.Y, c.dy, c.cy, c.ry, &c.bottom, my);
  child->SetCorners(x1, y1, x2, y2);
}

// [SECTION] CControl: hit-testing and frame parts

CBool CControl::ContainsPoint(CPoint p) {
  return Contains(p);
}
CBool CControl::ContainsRect(CRect r) {
  return Contains(r);
}

CControl* CControl::HitTest(CPoint& p) {
  CControl* target = this;
  for (;;) {
    if (target->ChildCount().Value == 0 || target->KeepEvents) return target;
    CControl* inner = nullptr;
    for (std::int32_t i = target->ChildCount().Value - 1; i >= 0; i--) {
      CControl* child = target->GetChild(i);
      if (!child->Visible) continue;
      if (child->ContainsPoint(p)) {
        inner = child;
        break;
      }
    }
    if (!inner) return target;
    p = p - inner->M1;
    target = inner;
  }
}

void CControl::SetFramePart(CBool yes) {
  if (!Parent) return;
  if (yes) {
    if (Parent->IndexOfChild(this).Value < 0) return;
    Parent->RemoveChild(this);
    Parent->AddFramePart(this);
  } else {
    if (Parent->IndexOfFramePart(this).Value < 0) return;
    Parent->RemoveFramePart(this);
    Parent->AddChild(this);
  }
}

// [SECTION] CControl: painting

CRect ClipTo(const CRect& clip, const CRect& r) {
  if (clip.M2.X < clip.M1.X || clip.M2.Y < clip.M1.Y) return clip;  // already empty
  // r normalized (swapped where the first corner is greater), without a copy of it.
  const bool swapX = r.M1.X.Value > r.M2.X.Value, swapY = r.M1.Y.Value > r.M2.Y.Value;
  const long double rx1 = swapX ? r.M2.X.Value : r.M1.X.Value;
  const long double rx2 = swapX ? r.M1.X.Value : r.M2.X.Value;
  const long double ry1 = swapY ? r.M2.Y.Value : r.M1.Y.Value;
  const long double ry2 = swapY ? r.M1.Y.Value : r.M2.Y.Value;
  const long double x1 = clip.M1.X.Value >= rx1 ? clip.M1.X.Value : rx1;
  const long double y1 = clip.M1.Y.Value >= ry1 ? clip.M1.Y.Value : ry1;
  long double x2 = clip.M2.X.Value <= rx2 ? clip.M2.X.Value : rx2;
  long double y2 = clip.M2.Y.Value <= ry2 ? clip.M2.Y.Value : ry2;
  if (x2 < x1 || y2 < y1) {
    x2 = x1 - 1;
    y2 = y1 - 1;
  }
  CRect result;
  result.M1.X.Value = x1, result.M1.Y.Value = y1;
  result.M2.X.Value = x2, result.M2.Y.Value = y2;
  return result;
}

void CControl::BeginPaint(CRect& clip) {
  if (!Visible) return;
  CCanvas* canvas = GetCanvas();
  if (!canvas) return;
  SavedClip = clip;
  canvas->SetOrigin(CPoint(0, 0));
  clip = ClipTo(clip, GetAbsRect());
  // Setting the clip the canvas already has would change nothing; a control that covers the
  // clip (a panel's bevel, a pane) leaves it as it is.
  if (!canvas->HasClip(clip)) canvas->SetClipRect(clip);
}

void CControl::Paint(const CRect& clip) {
  PaintFrameList(clip);
  PaintChildren(clip);
}

namespace {

void PaintAll(CControlList* list, const CRect& clip) {
  if (!list) return;
  // A control may add or remove siblings while it paints; the count is read on every step.
  for (std::int32_t i = 0; i < list->Size(); i++) {
    auto* part = static_cast<CControl*>(list->At(i));
    CRect r = clip;
    part->BeginPaint(r);
    part->Paint(r);
    part->EndPaint(r);
  }
}

}  // namespace

void CControl::PaintFrameList(const CRect& clip) {
  if (Visible) PaintAll(FrameList.get(), clip);
}

void CControl::PaintChildren(const CRect& clip) {
  if (Visible) PaintAll(ChildList.get(), clip);
}

void CControl::EndPaint(CRect& clip) {
  if (!Visible) return;
  CCanvas* canvas = GetCanvas();
  if (!canvas) return;
  clip = SavedClip;
  if (!canvas->HasClip(clip)) canvas->SetClipRect(clip);
}

void CControl::BeginOverlay() {
  CCanvas* canvas = GetCanvas();
  if (!canvas) return;
  canvas->SetOrigin(CPoint(0, 0));
  canvas->SetClipRegion(Parent ? Parent->GetAbsRect() : CRect(0, 0, 400, 600));
}

void CControl::PaintOverlays() {
  for (std::int32_t i = 0; i < ChildCount().Value; i++) {
    CControl* child = GetChild(i);
    child->BeginOverlay();
    child->PaintOverlays();
    child->PaintOverlay();
  }
}

void CControl::PaintOverlay() {}

void CControl::Invalidate() {
  CControl* root = GetRoot();
  if (root->View && root->View->Root == root) root->View->Invalidate();
}

// [SECTION] CControl: drawing forwarded to the canvas

void CControl::SetColor(const CColor& color) {
  if (CCanvas* c = GetCanvas()) c->SetColor(color);
}
void CControl::DrawLine(const CRect& r) {
  if (CCanvas* c = GetCanvas()) c->DrawLine(r);
}
void CControl::DrawRect(const CRect& r) {
  if (CCanvas* c = GetCanvas()) c->DrawRect(r);
}
void CControl::DrawEllipse(CRect r) {
  if (CCanvas* c = GetCanvas()) c->DrawEllipse(r);
}
void CControl::DrawTriangle(CRect r, CPoint a, CPoint b, CPoint p) {
  if (CCanvas* c = GetCanvas()) c->DrawTriangle(r, a, b, p);
}
void CControl::SetPenWidth(CInt width) {
  if (CCanvas* c = GetCanvas()) c->SetPenWidth(width);
}
void CControl::SetPenStyle(CInt style) {
  if (CCanvas* c = GetCanvas()) c->SetPenStyle(style);
}
void CControl::FillRect(const CRect& r) {
  if (CCanvas* c = GetCanvas()) c->FillRect(r);
}
void CControl::FillEllipse(CRect r) {
  if (CCanvas* c = GetCanvas()) c->FillEllipse(r);
}
void CControl::FillTriangle(CRect r, CPoint a, CPoint b, CPoint p) {
  if (CCanvas* c = GetCanvas()) c->FillTriangle(r, a, b, p);
}
void CControl::SetBrushStyle(CInt style) {
  if (CCanvas* c = GetCanvas()) c->SetBrushStyle(style);
}
void CControl::DrawText(const CPoint& p, const CStr& text) {
  if (CCanvas* c = GetCanvas()) c->DrawText(p, text);
}
void CControl::DrawTextCentered(CRect r, CStr text) {
  if (CCanvas* c = GetCanvas()) c->DrawTextCentered(r, text);
}
void CControl::DrawBitmap(const CRect& r, CGDIBitmap& bitmap) {
  if (CCanvas* c = GetCanvas()) c->DrawBitmap(r, bitmap);
}

// [SECTION] Records and cloning

void CCustomControl::WriteParts(CStream& stream) {
  CRect::WriteTo(stream);
  for (CControlList* list : {FrameList.get(), ChildList.get()}) {
    CInt count = Count(list);
    count.SaveToStream(stream);
    for (std::int32_t i = 0; i < count.Value; i++) {
      CControl* part = list->GetControl(i);
      CStr name = part->ClassName();
      name.SaveToStream(stream);
      part->WriteTo(stream);
    }
  }
}

void CCustomControl::ReadParts(CStream& stream) {
  CRect::ReadFrom(stream);
  CClassManager* classes = CoreApp ? CoreApp->ClassMan.get() : nullptr;
  for (const bool frameParts : {true, false}) {
    CInt count;
    count.LoadFromStream(stream);
    for (std::int32_t i = 0; i < count.Value; i++) {
      // A damaged record can claim any count; it cannot hold more parts than bytes.
      if (stream.Remaining().Value <= 0 || !classes) return;
      CStr name;
      name.LoadFromStream(stream);
      CObject* made = classes->CreateByName(name, Self());
      auto* part = dynamic_cast<CControl*>(made);
      if (!part) {
        // Not a control class: the rest of the record cannot be read.
        delete made;
        return;
      }
      if (frameParts) part->SetFramePart(true);
      part->ReadFrom(stream);
    }
  }
}

void CControl::WriteTo(CStream& stream) {
  CObject::SaveToStream(stream);
  WriteParts(stream);
  Visible.SaveToStream(stream);
  Anchors.WriteTo(stream);
}

void CControl::ReadFrom(CStream& stream) {
  CObject::LoadFromStream(stream);
  ReadParts(stream);
  Visible.LoadFromStream(stream);
  Anchors.ReadFrom(stream);
}

CControl* CControl::Clone() {
  return CloneInto(Parent);
}

CControl* CControl::CloneInto(CControl* parent) {
  CClassManager* classes = CoreApp ? CoreApp->ClassMan.get() : nullptr;
  if (!classes) return nullptr;
  CObject* made = classes->CreateByName(ClassName(), parent);
  auto* copy = dynamic_cast<CControl*>(made);
  if (!copy) {
    delete made;
    return nullptr;
  }
  CMemory stream;
  WriteTo(stream);
  stream.SetPosition(0);
  copy->ReadFrom(stream);
  return copy;
}

void CControl::Assign(CControl* source) {
  if (!source || source == this) return;
  Anchors = source->Anchors;
  Visible = source->Visible;
  Color = source->Color;
  Number = source->Number;
  SetRect(*source);
  // Clones are appended while the source's lists are read; a source inside this control's own
  // subtree would otherwise see them.
  const std::int32_t frames = source->FramePartCount().Value;
  const std::int32_t children = source->ChildCount().Value;
  for (std::int32_t i = 0; i < frames; i++) source->GetFramePart(i)->CloneInto(this);
  for (std::int32_t i = 0; i < children; i++) source->GetChild(i)->CloneInto(this);
}
