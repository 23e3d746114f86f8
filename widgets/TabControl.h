// A strip of text tabs, one of them selected, drawn along the top of the control on a green-grey
// ground. A press on a tab selects it; the owner reads Selected when it needs it (no handler is
// called).
//
//   auto* tabs = new CTabControl(form->Client);
//   tabs->SetBounds(0, 0, 300, 22, true);
//   tabs->AddTab("C++", 0);
//   tabs->AddTab("ASM", 1);      // selected: AddTab selects the new tab
//
// Texts are drawn in the font registered as "Text".
#pragma once

#include <cstdint>
#include <vector>

#include "controls/Shapes.h"

class CTabControl : public CRectangle {
 public:
  class CTabItem : public CObject {
   public:
    CStr ClassName() const override;

    CStr Text = "";
    std::int32_t Data = 0;  // the owner's
  };

  // Keeps its height and its distance to the parent's bottom edge; stretches with its width.
  explicit CTabControl(CControl* parent);

  CStr ClassName() const override;
  void Paint(const CRect& clip) override;
  // Selects the tab under the press and repaints; nothing else (no hooks, no capture state).
  void MouseDown(CInt button, CShiftStateSet shift, CPoint p) override;

  void AddTab(const CStr& text, std::int32_t data);
  // "" for an index out of range.
  CStr GetTabText(const CInt& index) const;
  CTabItem* GetTab(const CInt& index) const;

  // Where each tab stands, in the control's own coordinates, measured with the canvas: painting
  // and hit-testing use the same rectangles. The second answer is each text's inset.
  struct TTabPlace {
    CRect Rect;
    CFloat Inset;
  };
  std::vector<TTabPlace> LayOutTabs();

  CInt Selected = 0;
  CList Tabs;
};
