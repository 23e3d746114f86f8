// A container split into two panes by a grip 2 units thick, with a unit of gap on each side:
// side by side (the grip is a vertical bar) or one above the other. Dragging the grip moves the
// split. Content goes into a pane by becoming its child:
//
//   auto* split = new CSplitter(form->Client);
//   split->SetBounds(0, 0, 600, 400, true);
//   split->Anchors.Set(1, 1, 2, 2);
//   split->SetSplit(200);
//   auto* tree = new CScrollBox(split->FirstPane);   // fill the pane, anchored to all sides
//
// On resize the panes follow their anchors: side by side the left pane keeps its width; stacked,
// the lower pane keeps its height while KeepSecond is set (it is read by SetSplit), otherwise the
// upper one does.
#pragma once

#include <cstdint>

#include "controls/Shapes.h"

class CSplitter : public CFillRectangle {
 public:
  explicit CSplitter(CControl* parent);

  CStr ClassName() const override;

  // Split := p, then lays out the panes and the grip. Code may put the split anywhere; a drag
  // keeps it inside the splitter.
  void SetSplit(const CFloat& p);
  CFloat GetSplit() const { return Split; }
  // Lays out again at the same split, now measured from the top (or the left), and gives the
  // grip the matching pointer: up-down (-7) or left-right (-9).
  void SetStacked(CBool stacked);

  virtual void GripMouseDown(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
  virtual void GripMouseMove(CControl* sender, CShiftStateSet shift, CPoint p);
  virtual void GripMouseUp(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);

  CBool Stacked;
  CBool Dragging;
  CFloat GrabOffset;
  std::uint8_t KeepSecond = 1;
  CFillRectangle* FirstPane = nullptr;   // left or upper
  CFillRectangle* SecondPane = nullptr;  // right or lower
  CFillRectangle* Grip = nullptr;
  CFloat Split;
};
