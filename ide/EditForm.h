// The code editor window of one operation: a grey caption without buttons, a text editor filling
// the face and a strip of the tabs "C++", "ASM" and "OBJ" below it. The main window makes one per
// operation, in its workspace, and writes the text back when another tree row is pressed.
#pragma once

#include "widgets/Form.h"

class CMemo;
class CTabControl;

class CEditForm : public CForm {
 public:
  explicit CEditForm(CControl* parent);
  ~CEditForm() override;

  CTabControl* TabStrip = nullptr;  // a child of the window
  CMemo* Memo = nullptr;            // a child of the client face
};
