// Boxes: a panel with the sunken white look (CBox), and one with a horizontal and a vertical
// scroll bar whose changes move the content of its face (CScrollBox). The content is moved, not
// drawn at a scrolled origin: every child of the face is offset by what a bar moved, so its
// rectangle is always where it shows, and scrolling back restores every rectangle exactly.
//
//   auto* box = new CScrollBox(form->Client);
//   box->SetBounds(10, 10, 200, 150, true);
//   new CButton(box->Client);              // content goes on the face
//   box->VertBar->Max = 400;  box->VertBar->Page = 130;
//
// The tree boxes and the text editor derive from the scroll box and set the bars' ranges
// themselves. The mouse wheel over a scroll box moves its vertical bar by 3 small steps a notch.
#pragma once

#include "widgets/Panel.h"

class CScrollBar;

class CBox : public CPanel {
 public:
  explicit CBox(CControl* parent);

  CStr ClassName() const override;
};

class CScrollBox : public CBox {
 public:
  // The face leaves 17 units at the right and the bottom for the bars, which keep to those edges
  // when the box is resized.
  explicit CScrollBox(CControl* parent);

  CStr ClassName() const override;
  // Turned away from the user the view goes up: Position -= 3 × SmallStep a notch.
  void MouseWheel(CInt notches, CPoint p) override;

  // The bars' OnChange: every child of the face moves by the bars' change since the last call,
  // the other way.
  void Scrolled(CControl* bar);

  CFloat ScrollX;
  CFloat ScrollY;
  CScrollBar* HorzBar = nullptr;
  CScrollBar* VertBar = nullptr;
};
