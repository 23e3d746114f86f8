#include "widgets/MsgDlg.h"

#include "controls/CtrlApp.h"
#include "controls/Pic.h"
#include "controls/Text.h"
#include "widgets/Button.h"

namespace {

struct Kind {
  const char* picture;  // a fixed path: these pictures are not looked for in the home directory
  const char* title;
};

constexpr Kind kKinds[4] = {
    {"C:\\Qxe\\Pics\\32x32\\Warning.bmp", "Warning"},
    {"C:\\Qxe\\Pics\\32x32\\Error.bmp", "Error"},
    {"C:\\Qxe\\Pics\\32x32\\Information.bmp", "Information"},
    {"C:\\Qxe\\Pics\\32x32\\Confirmation.bmp", "Confirmation"},
};

constexpr const char* kButtonCaptions[4] = {"Yes", "No", "OK", "Cancel"};

}  // namespace

CMsgDlgForm::CMsgDlgForm(CControl* parent) : CForm(parent) {
  SetBounds(200, 200, 300, 130, true);
  Caption->MinimizeButton->Visible = false;
  Caption->MaximizeButton->Visible = false;

  CPic** pictures[4] = {&WarningPicture, &ErrorPicture, &InformationPicture, &ConfirmationPicture};
  for (int i = 0; i < 4; i++) {
    auto* picture = new CPic(Client);
    picture->SetFileName(kKinds[i].picture);
    picture->SetBounds(20, 20, 32, 32, true);
    *pictures[i] = picture;
  }

  MessageText = new CText(Client);
  MessageText->Str = "Message";
  MessageText->SetBounds(70, 30, 100, 100, true);

  for (int i = 0; i < 4; i++) {
    auto* button = new CButton(Client);
    button->Caption->Str = kButtonCaptions[i];
    button->Number = 1 << i;
    Buttons[i] = button;
  }
  Visible = false;
}

CStr CMsgDlgForm::ClassName() const {
  return "CMsgDlgForm";
}

std::int16_t CMsgDlgForm::Show(const CStr& text, std::uint8_t kind, std::int32_t mask) {
  CPic* pictures[4] = {WarningPicture, ErrorPicture, InformationPicture, ConfirmationPicture};
  for (CPic* picture : pictures) picture->Visible = false;

  MessageText->Str = text;
  const CSize size = MessageText->GetTextSize();
  MessageText->SetBounds(70, 30, size.Width, size.Height, true);

  if (kind < 4) {
    pictures[kind]->Visible = true;
    Caption->Title->Str = kKinds[kind].title;
  } else if (kind == 4) {
    MessageText->SetPos(CPoint(20, 30));
    Caption->Title->Str = "";
  }

  // Shown buttons are 50 by 20, 10 units apart, in the fixed order whatever the mask's bits.
  double x = 70;
  for (CButton* button : Buttons) {
    button->Visible = false;
    if (mask & 1) {
      button->Visible = true;
      button->SetBounds(x, 70, 50, 20, true);
      button->OnClick.Set(this, &CMsgDlgForm::Answer);
      x += 60;
    }
    mask >>= 1;
  }
  Caption->CloseButton->OnClick.Set(this, &CMsgDlgForm::Cancel);

  // A loop ended by the application quitting answers nothing rather than the last answer.
  Result = 0;
  Visible = true;
  // Windows opened since (the About window) must not hide the question it waits for.
  if (Parent) {
    Parent->RemoveChild(this);
    Parent->AddChild(this);
  }
  Invalidate();
  if (CtrlApp) {
    const CModalScope modal(this);
    CtrlApp->RunModal();
  }
  return Result;
}

void CMsgDlgForm::Finish(std::int16_t result) {
  Result = result;
  Close();
  if (CtrlApp) CtrlApp->EndModal();
}

void CMsgDlgForm::Answer(CControl* sender) {
  Finish(static_cast<std::int16_t>(sender ? sender->Number.Value : 0));
}

void CMsgDlgForm::Cancel(CControl*) {
  Finish(0);
}
