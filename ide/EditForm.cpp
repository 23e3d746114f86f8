#include "ide/EditForm.h"

#include "controls/Pic.h"
#include "controls/Text.h"
#include "widgets/Button.h"
#include "widgets/Memo.h"
#include "widgets/TabControl.h"

CEditForm::CEditForm(CControl* parent) : CForm(parent) {
  Caption->Color = CColor(0.5, 0.5, 0.5);
  Caption->Title->Color = CColor(0.75, 0.75, 0.75);
  Sizable = false;
  // The user can neither close, minimize nor maximize it: it goes when another row is pressed.
  for (CControl* part :
       {static_cast<CControl*>(Caption->MinimizeButton),
        static_cast<CControl*>(Caption->MaximizeButton),
        static_cast<CControl*>(Caption->RestoreButton),
        static_cast<CControl*>(Caption->CloseButton), static_cast<CControl*>(Caption->Icon)})
    part->Visible = false;
  Caption->Title->M1.X = 2;  // where the hidden icon stood

  TabStrip = new CTabControl(this);
  TabStrip->SetBounds(Client->M1.X, Client->M2.Y - CFloat(20), Client->GetWidth(), 20, true);
  for (const char* tab : {"C++", "ASM", "OBJ"}) TabStrip->AddTab(tab, 0);

  // The face leaves the strip and a one-unit gap below it; its children do not follow.
  Client->M2.Y = Client->M2.Y - CFloat(21);
  Memo = new CMemo(Client);
  Memo->SetBounds(0, 0, Client->GetWidth(), Client->GetHeight(), true);
  Memo->Anchors.Set(1, 1, 2, 2);
}

CEditForm::~CEditForm() = default;
