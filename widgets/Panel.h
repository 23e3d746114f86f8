// The panel: a rectangle with a template look (PanelTemplate.h), a background, a client face on
// which widgets place their content, the keyboard focus and Tab navigation among sibling panels.
// Every widget of the toolkit is a panel: labels, edits, buttons, toolbars, boxes and forms.
//
//   auto* panel = new CPanel(form->Client);
//   panel->SetBounds(10, 10, 120, 40, true);
//   new CLabel(panel->Client);   // content goes on the face
#pragma once

#include <memory>

#include "controls/Control.h"

class CPanelTemplate;

class CPanel : public CControl {
 public:
  // The template of the application's look builds the background, bevels and face.
  explicit CPanel(CControl* parent);
  ~CPanel() override;

  CStr ClassName() const override;
  // The rectangle, Visible and Anchors only: neither the name nor the parts, which the
  // constructor makes again.
  void WriteTo(CStream& stream) override;
  void ReadFrom(CStream& stream) override;
  // Tab gives the focus to the next sibling panel; every key then reaches OnKeyDown.
  void KeyDown(CInt key, CShiftStateSet shift) override;

  virtual CBool GetPanelFlag();
  virtual void SetPanelFlag(CBool flag);
  virtual CBool GetFocused();
  // Only stores the flag; the edit and the button also take the view's focus.
  void SetFocused(CBool focused) override;
  // Whether SetFocused(true) makes this panel the view's focus, so that keys reach it. A plain
  // panel or a label only stores the flag: Tab passes them by.
  virtual CBool CanFocus();

  CBool PanelFlag;
  CBool Focused;
  std::unique_ptr<CPanelTemplate> Template;
  CControl* Background = nullptr;  // made by the template, a frame part of the panel
  CControl* Client = nullptr;      // made by the template: the face widgets draw on

 protected:
  // Tab (scan code 15): the next visible panel that can take the focus after this one in the
  // parent's list that holds it, wrapping at the end, gets SetFocused(true).
  void TabToNextPanel(const CInt& key);
};
