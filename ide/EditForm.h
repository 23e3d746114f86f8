// The code editor window of one operation: a grey caption without buttons, a text editor with line
// numbers and C++ colours filling the face, and a strip of the tabs "C++", "ASM" and "OBJ" below
// it. The main window makes one per operation, in its workspace, and writes the text back when
// another tree row is pressed. Ctrl+F opens a bar at the editor's foot to find a text (Enter the
// next match, F3 again later, Escape closes it); Ctrl+G opens it to go to a line.
#pragma once

#include "widgets/Form.h"

class CEdit;
class CLabel;
class CMemo;
class CPanel;
class CTabControl;

// The look of the environment's editor windows: a grey caption without buttons.
void LookLikeAnEditor(CForm& form);

class CEditForm : public CForm {
 public:
  explicit CEditForm(CControl* parent);
  ~CEditForm() override;

  // The editor's Ctrl+F, Ctrl+G and F3.
  void MemoCommand(CControl* sender, CInt key, CShiftStateSet shift);
  // Enter and Escape in the bar's edit.
  void BarKey(CControl* sender, CInt key, CShiftStateSet shift);
  void ShowBar(bool goToLine);
  void HideBar();

  CTabControl* TabStrip = nullptr;  // a child of the window
  CMemo* Memo = nullptr;            // a child of the client face
  CPanel* Bar = nullptr;            // the find bar, a child of the client face; hidden at first
  CLabel* BarLabel = nullptr;
  CEdit* BarEdit = nullptr;
  CStr LastFound;  // what F3 finds again

 private:
  bool goToLine_ = false;
};
