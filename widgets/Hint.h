// A small box that names what the pointer rests on, as desktops show a tool's name: pale yellow
// with a thin black border, its text in the toolkit's face font. It is never hit by the pointer
// and never takes the keyboard; it stays inside its parent, which should be the window's widest
// control, and shows above its siblings.
//
//   hint->ShowAt("Сохранить (Ctrl+S)"_cp, CPoint(x, y));   // the top-left corner wanted
//   hint->Dismiss();
#pragma once

#include "controls/Control.h"

class CText;

class CHint : public CControl {
 public:
  // Hidden until shown.
  explicit CHint(CControl* parent);

  CStr ClassName() const override;
  void ShowAt(const CStr& text, CPoint at);
  void Dismiss();
  bool Shown() const { return bool(Visible); }

  CBool ContainsPoint(CPoint p) override;
  void Paint(const CRect& clip) override;

  CText* Caption = nullptr;
};
