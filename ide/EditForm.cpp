#include "ide/EditForm.h"

#include <algorithm>
#include <string>

#include "controls/Pic.h"
#include "core/Cp1251.h"
#include "controls/Text.h"
#include "controls/View.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/Memo.h"
#include "widgets/TabControl.h"

namespace {

constexpr int kBarHeight = 24;
constexpr int kEnter = 28, kEscape = 1, kF = 33, kG = 34;

}  // namespace

void LookLikeAnEditor(CForm& form) {
  form.Caption->Color = CColor(0.5, 0.5, 0.5);
  form.Caption->Title->Color = CColor(0.75, 0.75, 0.75);
  form.Sizable = false;
  // The user can neither close, minimize nor maximize it: it goes when another row is pressed.
  for (CControl* part : {static_cast<CControl*>(form.Caption->MinimizeButton),
                         static_cast<CControl*>(form.Caption->MaximizeButton),
                         static_cast<CControl*>(form.Caption->RestoreButton),
                         static_cast<CControl*>(form.Caption->CloseButton),
                         static_cast<CControl*>(form.Caption->Icon)})
    part->Visible = false;
  form.Caption->Title->M1.X = 2;  // where the hidden icon stood
}

CEditForm::CEditForm(CControl* parent) : CForm(parent) {
  LookLikeAnEditor(*this);

  TabStrip = new CTabControl(this);
  TabStrip->SetBounds(Client->M1.X, Client->M2.Y - CFloat(20), Client->GetWidth(), 20, true);
  for (const char* tab : {"C++", "ASM", "OBJ"}) TabStrip->AddTab(tab, 0);

  // The face leaves the strip and a one-unit gap below it; its children do not follow.
  Client->M2.Y = Client->M2.Y - CFloat(21);
  Memo = new CMemo(Client);
  Memo->SetBounds(0, 0, Client->GetWidth(), Client->GetHeight(), true);
  Memo->Anchors.Set(1, 1, 2, 2);
  Memo->Gutter = true;
  Memo->CppColours = true;
  Memo->OnCommandKey.Set(this, &CEditForm::MemoCommand);

  Bar = new CPanel(Client);
  Bar->SetBounds(0, Client->GetHeight() - CFloat(kBarHeight - 1), Client->GetWidth(), kBarHeight,
                 true);
  Bar->Anchors.Set(1, 2, 2, 2);
  BarLabel = new CLabel(Bar);
  BarLabel->SetBounds(4, 2, 60, 20, true);
  BarEdit = new CEdit(Bar);
  BarEdit->SetBounds(68, 2, 200, 20, true);
  BarEdit->SetText("");
  BarEdit->OnKeyDown.Set(this, &CEditForm::BarKey);
  Bar->Visible = false;
}

CEditForm::~CEditForm() = default;

void CEditForm::MemoCommand(CControl*, CInt key, CShiftStateSet shift) {
  if (shift.Ctrl && (key.Value == kF || key.Value == kG)) {
    ShowBar(key.Value == kG);
    return;
  }
  if (LastFound.Length() > CInt(0))
    Memo->FindNext(LastFound);
  else
    ShowBar(false);
}

void CEditForm::ShowBar(bool goToLine) {
  goToLine_ = goToLine;
  BarLabel->Caption->Str = goToLine ? CStr("Строка:"_cp) : CStr("Найти:"_cp);
  BarEdit->SetText(goToLine ? CStr("") : LastFound);
  if (!Bar->Visible) {
    Memo->SetBounds(0, 0, Client->GetWidth(), Client->GetHeight() - CFloat(kBarHeight), true);
    Bar->Visible = true;
  }
  BarEdit->SetFocused(true);
  Invalidate();
}

void CEditForm::HideBar() {
  if (!Bar->Visible) return;
  // The editor takes the keyboard back before the bar that holds it goes.
  Memo->SetFocused(true);
  Bar->Visible = false;
  Memo->SetBounds(0, 0, Client->GetWidth(), Client->GetHeight(), true);
  Invalidate();
}

void CEditForm::BarKey(CControl*, CInt key, CShiftStateSet) {
  if (key.Value == kEscape) {
    HideBar();
    return;
  }
  if (key.Value != kEnter) return;
  const CStr text = BarEdit->GetText();
  if (goToLine_) {
    const std::string digits = text.ToStd();
    std::int32_t number = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') break;
      number = std::min(number * 10 + (c - '0'), 1 << 30);
    }
    if (number > 0) Memo->GoToLine(number);
    HideBar();
    return;
  }
  LastFound = text;
  Memo->FindNext(text);
}
