// A one-line text editor: a label in the sunken white edit look, with a caret that the keyboard
// cursor of the application draws while the edit has the focus.
//
// Typing replaces the whole text only when a character arrives with no key-down before it since
// the edit got the focus: every key-down clears ReplaceOnType, and a typed character comes after
// its own key-down, so typing into a freshly focused edit inserts at the caret.
//
// A selection is made only by code (SelectAll): it shows white on blue, a typed character or
// Backspace or Delete replaces it, and a press, a movement key, a new text or the loss of the
// focus drops it.
#pragma once

#include "widgets/Label.h"

class CCanvas;

class CEdit : public CLabel {
 public:
  // "Edit1" in the font registered as "Text", 100 by 20.
  explicit CEdit(CControl* parent);

  CStr ClassName() const override;
  // A click focuses the edit; it does not move the caret.
  void MouseDown(CInt button, CShiftStateSet shift, CPoint p) override;
  void KeyPress(CStr ch) override;
  // Tab navigation, then Left, Right, Home, End and Delete.
  void KeyDown(CInt key, CShiftStateSet shift) override;
  void KeyUp(CInt key, CShiftStateSet shift) override;
  // The label, then the caret while it is in its shown phase and held by this edit.
  void Paint(const CRect& clip) override;
  // Takes the view's focus with a 500 ms tick and the keyboard cursor, or gives both up.
  void SetFocused(CBool focused) override;
  CBool CanFocus() override;

  CStr GetText() const;
  // The new text, with nothing selected.
  void SetText(const CStr& text);
  // Selects the whole text and puts the caret at its end.
  void SelectAll();
  // The selected text; "" when there is no selection.
  CStr SelectedText() const;

  bool ReplaceOnType = true;
  CInt CaretPos;  // 0 .. length; the characters before it are left of the caret
  // The selection: SelLength characters from SelStart; none while SelLength is 0.
  CInt SelStart;
  CInt SelLength;

 private:
  // Takes the selected text out and puts the caret where it stood; false when none is selected.
  bool DeleteSelection();
  void PaintSelection(CCanvas& canvas);
};
