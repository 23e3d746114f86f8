#include "ide/SelItemForm.h"

#include <string_view>

#include "controls/CtrlApp.h"
#include "controls/Pic.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Memo.h"

namespace {

struct CKindRow {
  int Number;
  const char* Caption;
  const char* Picture;  // under \Pics\16x16silver\; none for ""
  int X, Y;
  const char* ClassName;
};
// Both last rows carry number 12: the later takes the entry, so the "Объект" button is in none
// and never follows the parent.
constexpr CKindRow kKinds[] = {
    {1, "Группа проектов"_cp, "Group", 10, 140, "CProjectGroupInfo"},
    {2, "Приложение"_cp, "App", 10, 165, "CAppInfo"},
    {3, "Библиотека"_cp, "Lib", 10, 190, "CLibInfo"},
    {4, "Пакет"_cp, "Pack", 10, 215, "CPackInfo"},
    {5, "Модуль"_cp, "Unit", 10, 240, "CUnitInfo"},
    {6, "DLL-файл"_cp, "Dll", 10, 265, "CDllInfo"},
    {7, "Переменная"_cp, "PubVar", 160, 140, "CAtrInfo"},
    {8, "Функция"_cp, "PubFunc", 160, 165, "COperInfo"},
    {9, "Тип"_cp, "", 160, 190, ""},
    {10, "Структура"_cp, "Struct", 160, 215, "CStructInfo"},
    {11, "Класс"_cp, "Class", 160, 240, "CClassInfo"},
    {12, "Объект"_cp, "", 160, 265, "CObjectInfo"},
    {12, "Граф. объект"_cp, "", 10, 290, "CObjectInfo"},
};

// The kinds a parent may hold, by the parent's class.
struct COfferRow {
  std::string_view Parent;
  std::initializer_list<int> Kinds;
};
const COfferRow kOffers[] = {
    {"CInfo", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    {"CProjectGroupInfo", {1, 2, 3}},
    {"CAppInfo", {4, 5}},
    {"CLibInfo", {4, 5}},
    {"CUnitInfo", {7, 8, 10, 11}},
    {"CClassInfo", {7, 8}},
    {"CStructInfo", {7, 8}},
};

CStr Home() {
  return CoreApp ? CoreApp->HomeDir : CStr("C:\\Qxe");
}

CText* AddText(CControl* parent, const CStr& text, double x, double y, double w, double h) {
  auto* label = new CText(parent);
  label->SetBounds(x, y, w, h, true);
  label->Str = text;
  return label;
}

}  // namespace

CSelItemForm::CSelItemForm(CControl* parent) : CForm(parent) {
  SetBounds(100, 100, 320, 345, true);
  Caption->Icon->SetFileName(Home() + "\\Pics\\Form\\Icon16_new.bmp");
  Caption->Title->Str = "Добавить элемент"_cp;
  Caption->MinimizeButton->Visible = false;
  Caption->MaximizeButton->Visible = false;
  Caption->CloseButton->OnClick.Set(this, &CSelItemForm::CancelClick);

  AddText(Client, "Имя"_cp, 10, 10, 50, 20);
  // Wide enough for the whole word in our font (50 cut off its last letter).
  AddText(Client, "Описание"_cp, 10, 40, 70, 20);
  NameEdit = new CEdit(Client);
  NameEdit->SetBounds(50, 10, 250, 20, true);
  NameEdit->SetText("");
  AboutMemo = new CMemo(Client);
  AboutMemo->SetBounds(10, 55, 290, 70, true);
  AboutMemo->Lines->Clear();
  AboutMemo->Lines->AddString("");

  for (const CKindRow& kind : kKinds) {
    auto* button = new CPicButton(Client);
    button->SetBounds(kind.X, kind.Y, 20, 20, true);
    if (*kind.Picture)
      button->Picture->SetFileName(Home() + "\\Pics\\16x16silver\\" + kind.Picture + ".bmp");
    button->Number = kind.Number;
    button->OnClick.Set(this, &CSelItemForm::ChooseClick);
    KindButtons[kind.Number] = button;
    CText* caption = AddText(Client, kind.Caption, kind.X + 30, kind.Y + 4, 100, 20);
    caption->SetFontName("Text");
  }
  Visible = false;
}

CStr CSelItemForm::ClassName() const {
  return "CSelItemForm";
}

CStr CSelItemForm::Execute(const CStr& parentClass, CStr& name, CStr& about) {
  Visible = true;
  Result = 0;
  for (int i = 1; i <= 12; ++i) KindButtons[i]->Visible = false;
  for (const COfferRow& offer : kOffers)
    if (parentClass.View() == offer.Parent)
      for (int kind : offer.Kinds) KindButtons[kind]->Visible = true;
  // Windows opened since (the About window) must not hide the kinds it waits for.
  if (Parent) {
    Parent->RemoveChild(this);
    Parent->AddChild(this);
  }
  // The name is what the user types first: the last one, all selected, goes with the first key.
  NameEdit->SetFocused(true);
  NameEdit->SelectAll();
  Invalidate();
  {
    const CModalScope modal(this);
    CtrlApp->RunModal();
  }

  name = NameEdit->GetText();
  about = AboutMemo->GetText();
  for (const CKindRow& kind : kKinds)
    if (kind.Number == Result.Value) return kind.ClassName;
  return "";
}

void CSelItemForm::ChooseClick(CControl* sender) {
  Result = sender->Number;
  Close();
  CtrlApp->EndModal();
}

void CSelItemForm::CancelClick(CControl*) {
  Result = 0;
  Close();
  CtrlApp->EndModal();
}
