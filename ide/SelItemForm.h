// The add-element dialog: the user picks the kind of a new element among those its parent may
// hold and types its name and description. Modal: Execute waits in a nested message loop.
//
//   CStr name, about;
//   const CStr kind = AddDialog()->Execute(parent->ClassName(), name, about);   // "" for none
#pragma once

#include <array>

#include "widgets/Form.h"

class CEdit;
class CMemo;
class CPicButton;

class CSelItemForm : public CForm {
 public:
  // Hidden until Execute; owned by the main window.
  explicit CSelItemForm(CControl* parent);

  CStr ClassName() const override;

  // The class name of the kind chosen ("" when none, "Тип", or the close button), and the name
  // and description as typed, also when cancelled.
  CStr Execute(const CStr& parentClass, CStr& name, CStr& about);

  // A kind button's click, and the caption's close button.
  void ChooseClick(CControl* sender);
  void CancelClick(CControl* sender);

  CEdit* NameEdit = nullptr;
  CMemo* AboutMemo = nullptr;
  CInt Result;
  std::array<CPicButton*, 13> KindButtons{};  // by number 1 to 12; entry 0 stays empty
};
