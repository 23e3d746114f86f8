// The design surface of the form designer and its selection trackers.
//
// The surface's ordinary children are the designed controls. It keeps the mouse to itself
// (KeepEvents), so a designed button never goes down and a designed edit never takes the focus:
// a press selects, drags or resizes instead. Every position is snapped to a grid of 9 units, whose
// dots the surface draws under its children. A press on the surface gives it the keyboard: the
// arrow keys move the selection by one grid step, and every key reaches its key hooks.
//
// A tracker belongs to one designed control. It is hidden, selected (eight handles) or dragging
// (a dotted frame); while it drags only its own rectangle moves, and the control takes that
// rectangle when the drag ends. The selection is the set of shown trackers.
//
//   auto* map = new CMap(face);
//   auto* box = new CFillRectangle(map);
//   map->SetTrackState(box, 1);   // selected
//   map->Group();                 // two or more selected controls become one group
#pragma once

#include <memory>
#include <vector>

#include "controls/Control.h"
#include "model/Design.h"

class CTrack : public CCustomControl {
 public:
  // Takes the target's rectangle; hidden. The target is not owned.
  explicit CTrack(CControl* target);

  CStr ClassName() const override;

  void Hide();
  // Selected, with handles. A drag that ends here gives the target the tracker's rectangle; a
  // tracker that was not dragging takes the target's rectangle instead, so a control that moved
  // since (the surface was resized) keeps its place.
  void Select();
  // Dragging, from the target's rectangle.
  void BeginDrag();
  void DragRect(CRect r);
  // 0 Hide, 1 Select, 2 BeginDrag.
  void SetState(CInt s);
  CInt GetState() const { return State; }
  // Whether p (in the target's parent's coordinates) lies within 3 units of a handle of the
  // target's normalized rectangle; the first such handle goes into Handle.
  CBool HitHandle(CPoint p);
  // Starts dragging a handle (-1: the whole rectangle) from p.
  void StartResize(CPoint p, CInt handle);
  // Moves the dragged edges (or, for -1, the whole rectangle at the target's size) with the mouse.
  void DragTo(CPoint p);
  void EndDrag();
  // Handles or the dotted frame, in the coordinates of the target's parent (for the rubber band,
  // whose target is the surface, in the surface's own).
  void Draw();

  // The point of a handle on a normalized rectangle.
  static CPoint HandlePoint(const CRect& r, int handle);

  CFloat GrabX;
  CFloat GrabY;
  CInt State;
  CControl* Target = nullptr;
  CInt Handle = -1;
  CBool Shown;
};

class CMap : public CControl {
 public:
  static constexpr int kGrid = 9;
  // The scan codes of the arrow keys.
  static constexpr int kKeyLeft = 75, kKeyRight = 77, kKeyUp = 72, kKeyDown = 80;

  explicit CMap(CControl* parent);

  CStr ClassName() const override;

  CTrack* FindTrack(CControl* control);
  // The control's tracker, made on first use, set to state s.
  void SetTrackState(CControl* control, CInt s);
  void SetAllTracks(CInt s);
  // Every tracker in state `from` goes to state `to`.
  void ChangeTracks(CInt to, CInt from);
  static CPoint Snap(CPoint p, CInt gx, CInt gy);
  // The target of the first shown tracker; none without a selection.
  CControl* FirstSelected();
  // The selected controls, in the surface's order.
  std::vector<CControl*> Selected();

  // Two or more selected controls become the frame parts of one new control, "MyControl1", at
  // their bounding rectangle; that group is selected.
  virtual void Group();
  // Every selected group gives its members back to the surface, where they were shown, selected;
  // the group itself is destroyed. Selected controls that are not groups stay as they are.
  virtual void UnGroup();
  // What Group makes: a plain control.
  static bool IsGroup(const CControl* control);

  // Every selected control moves by d, its tracker with it.
  void MoveSelection(CPoint d);
  // Destroys a designed control and its tracker.
  void DeleteControl(CControl* control);
  // Destroys every designed control, every frame part and every tracker.
  void Clear();

  void MouseDown(CInt button, CShiftStateSet shift, CPoint p) override;
  void MouseMove(CShiftStateSet shift, CPoint p) override;
  void MouseUp(CInt button, CShiftStateSet shift, CPoint p) override;
  void KeyPress(CStr ch) override;
  void KeyDown(CInt key, CShiftStateSet shift) override;
  void KeyUp(CInt key, CShiftStateSet shift) override;
  // The grid, the designed form's extent, the designed controls, the trackers, the rubber band.
  void Paint(const CRect& clip) override;

  // A second press on a control within kDoublePressMs of the first, at the same place, and let
  // go there: the control goes to this hook once the release has been handled.
  CNotifyHook OnDoublePress;
  static constexpr std::int64_t kDoublePressMs = 500;

  CTrack* Current = nullptr;  // the tracker under the last press
  std::unique_ptr<CTrack> Rubber;
  CPoint DragStart;  // snapped
  CList Tracks;      // of CTrack, owned
  CInt Mode;         // 0 idle, 1 moving, 2 resizing, 3 rubber band
  // The designed form's inner size from the surface's corner; the surface beyond it is shaded.
  CInt FormWidth = design::kDefaultFormWidth;
  CInt FormHeight = design::kDefaultFormHeight;

 private:
  // Only compared with the control of the next press, never used.
  const CControl* lastPressed_ = nullptr;
  std::int64_t lastPressAt_ = 0;
  CPoint lastPressPoint_;
  CControl* doublePressed_ = nullptr;  // pressed twice, waiting for its release

  CTrack* TrackAt(std::int32_t index) const { return Tracks.GetAs<CTrack>(index); }
  CTrack* MakeTrack(CControl* control);
  void DropTrack(CControl* control);
  // Trackers whose controls are no longer on the surface (taken away by someone else) go.
  void DropStrayTracks();
  // The surface outside the form's size, shaded, and the form's edge.
  void PaintFormEdge();
  // Hidden designed controls, dimmed.
  void PaintHidden(const CRect& clip);
  // The topmost child that contains p, hidden ones too.
  CControl* ControlAt(CPoint p);
  // Every shown tracker at its target's rectangle moved by the snapped distance from the press.
  void MoveShownTracks(CPoint p);
};
