#include "designer/ColorForm.h"

#include "controls/CtrlApp.h"
#include "controls/Pic.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "platform/Messages.h"
#include "widgets/Button.h"

CColorForm::CColorForm(CControl* parent) : CForm(parent) {
  Sizable = false;
  Caption->MinimizeButton->Visible = false;
  Caption->MaximizeButton->Visible = false;
  Caption->RestoreButton->Visible = false;
  Caption->Icon->SetFileName((CoreApp ? CoreApp->HomeDir : CStr("C:\\Qxe")) +
                             "\\Pics\\Dsgn\\Color.bmp");
  Caption->Title->Str = "Выбор цвета"_cp;
  SetBounds(100, 100, 184, 200, true);

  constexpr int kLevels[4] = {0, 85, 170, 255};
  int k = 0;
  for (const int r : kLevels)
    for (const int g : kLevels)
      for (const int b : kLevels) {
        auto* button = new CSpeedButton(Client);
        button->SetBounds(k % 8 * 20 + 10, k / 8 * 20 + 10, 16, 16, true);
        button->OnClick.Set(this, &CColorForm::ColorClick);
        button->Client->Color.SetBytes(r, g, b);
        Buttons[k++] = button;
      }
  Visible = false;
}

CStr CColorForm::ClassName() const {
  return "CColorForm";
}

// The loop ends right after the message that picked a colour, closed the dialog or stopped the
// application has been handled, so no message is fetched and then dropped.
CBool CColorForm::Execute(CColor& colour) {
  if (Parent) {  // in front of whatever was added to the parent since
    Parent->RemoveChild(this);
    Parent->AddChild(this);
  }
  Visible = true;
  Invalidate();
  Picked = false;
  const CModalScope modal(this);
  platform::Message message;
  while (!Picked && Visible && (!CoreApp || CoreApp->Running)) {
    if (!platform::GetMessage(message)) {
      // The quit request must still reach the run loop this one is nested in.
      platform::PostQuitMessage(message.a);
      break;
    }
    platform::TranslateMessage(message);
    platform::DispatchMessage(message);
    if (CoreApp) CoreApp->Idle();
  }
  colour = Chosen;
  Close();
  return Picked;
}

void CColorForm::ColorClick(CControl* sender) {
  auto* button = dynamic_cast<CPanel*>(sender);
  if (!button || !button->Client) return;
  Picked = true;
  Chosen = button->Client->Color;
}
