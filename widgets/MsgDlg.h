// The message box of the environment: a small form with a picture by kind, a message and up to
// four buttons (Yes, No, OK, Cancel), shown modally. Show runs a nested message loop, so every
// other window keeps working while the question waits; the answer or the close button ends it.
//
//   if (CtrlApp->MsgDlg->Show("Удалить элемент?"_cp, 3, 3) == 1) ...   // Yes
#pragma once

#include <array>
#include <cstdint>

#include "widgets/Form.h"

class CButton;
class CPic;
class CText;

class CMsgDlgForm : public CForm {
 public:
  // Hidden until Show; 300 by 130 at (200, 200) of the parent.
  explicit CMsgDlgForm(CControl* parent);

  CStr ClassName() const override;

  // kind: 0 warning, 1 error, 2 information, 3 confirmation (picture and title), 4 neither; any
  // other kind leaves both as they were. Each set bit of the mask shows one button: 1 Yes, 2 No,
  // 4 OK, 8 Cancel (higher bits are ignored). Answers the button's bit, or 0 for the close button.
  std::int16_t Show(const CStr& text, std::uint8_t kind, std::int32_t mask);

  // The handlers of the buttons and of the caption's close button.
  void Answer(CControl* sender);
  void Cancel(CControl* sender);

  CPic* WarningPicture = nullptr;
  CPic* ErrorPicture = nullptr;
  CPic* InformationPicture = nullptr;
  CPic* ConfirmationPicture = nullptr;
  CText* MessageText = nullptr;
  std::array<CButton*, 4> Buttons{};  // Yes, No, OK, Cancel; owned by the client face
  std::int16_t Result = 0;

 private:
  void Finish(std::int16_t result);
};
