// The control base: every visible element of the user interface is a control, a rectangle in its
// parent's coordinates that owns its children and frame parts, paints itself on the canvas of its
// view, receives mouse and keyboard events and follows its parent's resizing by its anchors.
//
// Ownership: a control owns its frame parts and children; a control without a parent is a root,
// which creates and owns its view (and with it a window). Build controls with new, giving the
// parent; the parent destroys them:
//
//   auto* root = new CControl(nullptr);          // a window of its own
//   auto* box = new CFillRectangle(root);        // appended to root's children, topmost
//   box->SetBounds(10, 10, 50, 30, false);
//   box->OnClick.Set(this, &CMyForm::BoxClicked);  // void BoxClicked(CControl* sender)
//
// Painting protocol, run by the view for the whole tree (Redraw) or for one control
// (RedrawControl): for each visible control BeginPaint(clip) narrows the clip to the control's
// rectangle in view coordinates, Paint(clip) draws (the base paints the frame parts, then the
// children), EndPaint(clip) restores the clip. The drawing operations forward to the canvas
// unchanged: a widget first sets the canvas origin (usually to GetOrigin()) and then draws its
// own rectangle.
#pragma once

#include <cstdint>
#include <memory>

#include "controls/Anchors.h"
#include "controls/View.h"
#include "core/List.h"
#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "graphics/Handler.h"

class CControl;
class CCustomControl;
class CView;
class CCanvas;
class CGDIBitmap;

// The hooks of a control: the hook's object gets the sending control, then the event's values.
using CMouseButtonHook = CHandler<CControl*, CInt, CShiftStateSet, CPoint>;
using CMouseMoveHook = CHandler<CControl*, CShiftStateSet, CPoint>;
using CNotifyHook = CHandler<CControl*>;
using CKeyPressHook = CHandler<CControl*, CStr>;
using CKeyHook = CHandler<CControl*, CInt, CShiftStateSet>;

// An owning list of controls that remembers the control it belongs to.
class CControlList : public CList {
 public:
  explicit CControlList(CCustomControl* owner) : Owner(owner) {}

  CControl* GetControl(const CInt& index) const { return GetAs<CControl>(index); }

  CCustomControl* const Owner;
};

class CCustomControl : public CRect {
 public:
  ~CCustomControl() override;
  CCustomControl(const CCustomControl&) = delete;
  CCustomControl& operator=(const CCustomControl&) = delete;

  CStr ClassName() const override;
  CStr BaseClassName() const override;  // "CRect" for every control class

  virtual void MouseDown(CInt button, CShiftStateSet shift, CPoint p);
  virtual void MouseMove(CShiftStateSet shift, CPoint p);
  virtual void MouseUp(CInt button, CShiftStateSet shift, CPoint p);
  virtual void Click();
  virtual void KeyPress(CStr ch);
  virtual void KeyDown(CInt key, CShiftStateSet shift);
  virtual void KeyUp(CInt key, CShiftStateSet shift);
  virtual void TimerTick();

  // The children in z-order (last = topmost). A list exists only while it has members. Removing
  // hands a control back without destroying it.
  CInt ChildCount() const;
  CControl* GetChild(const CInt& index) const;  // none for an index out of range
  void AddChild(CControl* control);             // owned from now on
  CInt IndexOfChild(const CControl* control) const;
  CInt RemoveChild(CControl* control);  // the former index, or -1
  void RemoveChildAt(const CInt& index);
  void RemoveAllChildren();

  // The frame parts: painted before the children, never hit by the mouse.
  CInt FramePartCount() const;
  CControl* GetFramePart(const CInt& index) const;
  void AddFramePart(CControl* control);
  CInt IndexOfFramePart(const CControl* control) const;
  CInt RemoveFramePart(CControl* control);
  void RemoveFramePartAt(const CInt& index);
  void RemoveAllFrameParts();

  std::unique_ptr<CControlList> FrameList;
  std::unique_ptr<CControlList> ChildList;
  CBool MouseInside;
  CBool MousePressed;

  CMouseButtonHook OnMouseDown;
  CMouseMoveHook OnMouseMove;
  CMouseButtonHook OnMouseUp;
  CNotifyHook OnClick;
  CKeyPressHook OnKeyPress;
  CKeyHook OnKeyDown;
  CKeyHook OnKeyUp;

 protected:
  // Besides CControl only the designer's tracker builds on this one, and a tracker never gets an
  // event: every custom control that raises one is a CControl, and hooks can name it as sender.
  CCustomControl() = default;
  CControl* Self();

  // Writes and reads the rectangle, the frame parts and the children, each with its class name.
  void WriteParts(CStream& stream);
  void ReadParts(CStream& stream);

 private:
  static CInt Count(const CControlList* list);
  static CControl* At(const CControlList* list, const CInt& index);
  static CInt IndexIn(const CControlList* list, const CControl* control);
  void Add(std::unique_ptr<CControlList>& list, CControl* control);
  CInt Remove(std::unique_ptr<CControlList>& list, CControl* control);
  void RemoveAt(std::unique_ptr<CControlList>& list, const CInt& index);
  void RemoveAll(std::unique_ptr<CControlList>& list);
};

class CControl : public CCustomControl {
 public:
  // Without a parent the control is a root: it makes its own view and window. With a parent it is
  // appended to the parent's children and shares its view. Either way it starts at
  // (0, 0)-(100, 100).
  explicit CControl(CControl* parent);
  ~CControl() override;

  CStr ClassName() const override;
  CBool IsControl() const override;

  // Resizing lays out the frame parts and children by their anchors; a root also moves its window.
  void SetCorners(const CFloat& x1, const CFloat& y1, const CFloat& x2, const CFloat& y2) override;
  void SetPosSize(const CFloat& x, const CFloat& y, const CFloat& w, const CFloat& h) override;
  void AdjustEdges(const CFloat& dx1, const CFloat& dy1, const CFloat& dx2,
                   const CFloat& dy2) override;

  void MouseDown(CInt button, CShiftStateSet shift, CPoint p) override;
  // The mouse wheel over this control (p in its coordinates; notches > 0: turned away from the
  // user). Passed to the parent: only controls that scroll take it.
  virtual void MouseWheel(CInt notches, CPoint p);

  // A new control of the same class, written and read through a memory stream: with the same
  // parent (Clone) or the given one (CloneInto). None when the class is not registered.
  virtual CControl* Clone();
  virtual CControl* CloneInto(CControl* parent);
  // Anchors, Visible, Color, Number and the rectangle of the source; then clones of the source's
  // frame parts and children appended as children of this control.
  virtual void Assign(CControl* source);

  // View coordinates: the root's window has (0, 0) at its top-left corner.
  virtual CPoint GetOrigin();  // the parent's GetAbsM1; (0, 0) for a root
  virtual CPoint GetAbsM1();
  virtual CPoint GetAbsM2();
  virtual CRect GetAbsRect();
  virtual CRect GetClientRect();
  virtual CRect CalcClientRect();
  virtual void UpdateClientRect();

  virtual void BeginPaint(CRect& clip);
  virtual void Paint(const CRect& clip);
  virtual void PaintFrameList(const CRect& clip);
  virtual void PaintChildren(const CRect& clip);
  virtual void EndPaint(CRect& clip);
  virtual void BeginOverlay();
  virtual void PaintOverlays();
  virtual void PaintOverlay();
  // Repaints the whole window that shows this control's root, at once (while a key is handled:
  // once the waiting input is handled, see CView::Invalidate).
  virtual void Invalidate();

  virtual CBool ContainsPoint(CPoint p);  // p in the parent's coordinates, edges included
  virtual CBool ContainsRect(CRect r);

  // Forwarded to the canvas of the view unchanged; nothing happens without a view.
  virtual void SetColor(const CColor& color);
  virtual void DrawLine(const CRect& r);
  virtual void DrawRect(const CRect& r);
  virtual void DrawEllipse(CRect r);
  virtual void DrawTriangle(CRect r, CPoint a, CPoint b, CPoint c);
  virtual void SetPenWidth(CInt width);
  virtual void SetPenStyle(CInt style);
  virtual void FillRect(const CRect& r);
  virtual void FillEllipse(CRect r);
  virtual void FillTriangle(CRect r, CPoint a, CPoint b, CPoint c);
  virtual void SetBrushStyle(CInt style);
  virtual void DrawText(const CPoint& p, const CStr& text);
  virtual void DrawTextCentered(CRect r, CStr text);
  virtual void DrawBitmap(const CRect& r, CGDIBitmap& bitmap);

  // The record: the object's name, the rectangle, frame parts and children, Visible, Anchors.
  // Widgets append their own fields.
  virtual void WriteTo(CStream& stream) override;
  virtual void ReadFrom(CStream& stream) override;

  // Told by the view when it takes the keyboard focus away; focusable widgets (panels) override.
  virtual void SetFocused(CBool focused);
  // Whether this control and every control above it (its window's root included) are visible:
  // only such a control shows, and only such a control may hold the keyboard.
  bool IsShown() const;
  // Visible := false (directly, no repaint); the keyboard focus, when it is this control or one
  // inside it, is let go of, so that keys typed next reach nothing hidden.
  void Hide();

  // Moves this control between its parent's children and frame parts (to the end of the other).
  void SetFramePart(CBool yes);

  // The deepest visible control under p (given in this control's coordinates, converted to the
  // result's), the topmost among overlapping siblings. Frame parts are never hit; KeepEvents stops
  // the search at its control.
  CControl* HitTest(CPoint& p);

  // The root of this control's tree, and the canvas it paints on (none without a view).
  CControl* GetRoot();
  // Asked by every control for every drawing call: inline.
  CCanvas* GetCanvas() const { return View ? View->Canvas.get() : nullptr; }

  CRect ClientRect;
  CRect SavedClip;
  CControl* Parent = nullptr;
  CView* View = nullptr;  // owned by a root (RootView), shared by its descendants
  CAnchors Anchors;
  CBool Visible = true;
  CBool KeepEvents;
  CBool ShowFocusFrame;
  CColor Color;
  CInt Cursor;
  CInt Number;

 private:
  // A control's change of corners, as its parts and children follow it.
  struct CResize {
    CResize(const CRect& old, const CRect& now);
    CFloat w0, h0, w1, h1, rx, ry, dx, dy, cx, cy, right, bottom;
  };
  // Moves and resizes a part or child as this control changes.
  void Follow(CControl* child, const CResize& change);

  // Whether this control's horizontal / vertical axis runs left to right / top to bottom: its own
  // corner order, combined with every parent's (a swapped pair mirrors everything inside).
  bool AxisForwardX();
  bool AxisForwardY();
  // GetAbsM1 and both AxisForward answers at once, in one walk from the root: asked for level by
  // level, as the definitions read, they cost the square of the depth.
  void AbsFrame(CPoint& m1, bool& forwardX, bool& forwardY);

  std::unique_ptr<CView> RootView;

  // AbsFrame's answer, kept for the paint pass numbered FramePass (see CPaintPass).
  std::uint64_t FramePass = 0;
  long double FrameX = 0, FrameY = 0;
  bool FrameForwardX = true, FrameForwardY = true;
};

// While one lives, each control's view coordinates are worked out once and kept: a whole repaint
// asks for them several times for every control, each time walking from the root. Moving or
// resizing any control meanwhile forgets them all. The view's repaint makes one.
class CPaintPass {
 public:
  CPaintPass();
  ~CPaintPass();
  CPaintPass(const CPaintPass&) = delete;
  CPaintPass& operator=(const CPaintPass&) = delete;

 private:
  std::uint64_t saved_;
};

// The overlap of a clip rectangle and any rectangle: the larger near edges and the smaller far
// edges of the two, normalized. A clip is normalized, or empty: when the two do not overlap the
// result has its far edges one unit before its near edges, which lets nothing through and stays
// empty when clipped further (rather than becoming the gap between the two).
CRect ClipTo(const CRect& clip, const CRect& r);

// The class factory of the control classes: the owner given to the registry is the parent.
template <class T>
CObject* MakeControl(CObject* owner) {
  return new T(dynamic_cast<CControl*>(owner));
}
