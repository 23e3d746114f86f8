#include "tools/qxgallery/Widgets.h"

#include <functional>

#include "controls/CtrlApp.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Form.h"
#include "widgets/MsgDlg.h"
#include "widgets/PanelTemplate.h"
#include "widgets/ToolBar.h"

namespace {

template <class T>
T* Place(CControl* parent, double x, double y, double w, double h) {
  auto* control = new T(parent);
  control->SetBounds(x, y, w, h, true);
  return control;
}

CText* Heading(CControl* parent, double x, double y, const CStr& text, CInt font) {
  auto* heading = Place<CText>(parent, x, y, 10, 10);
  heading->Str = text;
  heading->SetFontNumber(font);
  heading->Color = CColor(0, 0, 0.5);
  heading->FitToText();
  return heading;
}

CLabel* NewLabel(CControl* parent, double x, double y, double w, const CStr& text) {
  auto* label = Place<CLabel>(parent, x, y, w, 20);
  label->Caption->Str = text;
  return label;
}

CButton* NewButton(CControl* parent, double x, double y, double w, const CStr& caption) {
  auto* button = Place<CButton>(parent, x, y, w, 25);
  button->Caption->Str = caption;
  return button;
}

// The toolbar's pictures, in the order of the environment's own toolbar; 0 is a separator.
const char* const kTools[] = {"New",    "Open",  "Save",  nullptr, "Add",   "SubAdd", "Delete",
                              "Up",     "Down",  nullptr, "Cut",   "Copy",  "Paste",  nullptr,
                              "Import", "Clear", "Build", "Run",   nullptr, "About"};

}  // namespace

WidgetPage::WidgetPage(CCtrlApp& app, CForm& form, CInt heading) : app_(app) {
  CControl* face = form.Client;
  ToolBar(face);
  Column(face, 706, 34, heading);
  Looks(face, 516, heading);
  ChildForm(form);
  dialog_ = new CMsgDlgForm(&form);
  app_.MsgDlg = dialog_;
}

void WidgetPage::ToolBar(CControl* face) {
  auto* bar = Place<CToolBar>(face, 0, 0, face->GetWidth().Value, 28);
  bar->Anchors.Set(1, 1, 2, 1);
  int number = 0;
  for (const char* tool : kTools) {
    if (!tool) {
      bar->AddSeparator();
      continue;
    }
    bar->AddButton(app_.HomeDir + "\\Pics\\16x16silver\\" + tool + ".bmp", number++,
                   CNotifyHook(this, &WidgetPage::ToolClicked));
  }
  status_ = NewLabel(bar, bar->NextX + 12, 4, 200, "Нажмите кнопку панели"_cp);
}

// Tab goes to the next sibling edit or button, passing the labels by, so the column sits in a
// container of its own and Tab goes round it.
void WidgetPage::Column(CControl* face, double x, double y, CInt heading) {
  auto* column = Place<CControl>(face, x, y, 290, 330);
  Heading(column, 0, 0, "Метки, строки, кнопки"_cp, heading);
  NewLabel(column, 0, 26, 70, "Имя:"_cp);
  NewLabel(column, 0, 52, 70, "Фамилия:"_cp);
  NewLabel(column, 0, 78, 276, "Tab переходит к следующей панели"_cp);
  Heading(column, 0, 146, "Вопрос через диалог"_cp, heading);
  answer_ = NewLabel(column, 0, 204, 276, "Ответа ещё нет"_cp);

  auto* name = Place<CEdit>(column, 76, 26, 200, 20);
  name->SetText("Иван"_cp);
  auto* surname = Place<CEdit>(column, 76, 52, 200, 20);
  surname->SetText("Петров"_cp);
  NewButton(column, 0, 108, 88, "OK");
  NewButton(column, 94, 108, 88, "Отмена"_cp);
  auto* plain = NewButton(column, 188, 108, 88, "Без пунктира"_cp);
  plain->ShowFocusFrame = false;
  auto* ask = NewButton(column, 0, 172, 130, "Спросить..."_cp);
  ask->OnClick.Set(this, &WidgetPage::AskClicked);
  auto* again = NewButton(column, 136, 172, 140, "Показать форму"_cp);
  again->OnClick.Set(this, &WidgetPage::ShowFormClicked);

  // The focus frame on the dialog's 50 by 20, on the default 100 by 25 and on a wide button.
  Heading(column, 0, 236, "Рамка фокуса"_cp, heading);
  Place<CButton>(column, 0, 262, 50, 20)->Caption->Str = "Да"_cp;
  Place<CButton>(column, 56, 262, 100, 25);
  Place<CButton>(column, 0, 294, 276, 30)->Caption->Str = "Широкая кнопка"_cp;
}

// Every look of the classic template, each applied to a fresh panel.
void WidgetPage::Looks(CControl* face, double y, CInt heading) {
  Heading(face, 8, y, "Панели во всех видах"_cp, heading);
  const struct {
    const char* name;
    std::function<void(CPanelTemplate&)> apply;
  } looks[] = {
      {"новая"_cp, [](CPanelTemplate&) {}},
      {"InitButton", [](CPanelTemplate& t) { t.InitButton(); }},
      {"ButtonDown",
       [](CPanelTemplate& t) {
         t.InitButton();
         t.ButtonDown();
       }},
      {"ButtonUp",
       [](CPanelTemplate& t) {
         t.InitButton();
         t.ButtonDown();
         t.ButtonUp();
       }},
      {"InitFlatButton", [](CPanelTemplate& t) { t.InitFlatButton(); }},
      {"FlatButtonDown",
       [](CPanelTemplate& t) {
         t.InitFlatButton();
         t.FlatButtonDown();
       }},
      {"FlatButtonUp",
       [](CPanelTemplate& t) {
         t.InitFlatButton();
         t.FlatButtonDown();
         t.FlatButtonUp();
       }},
      {"InitEdit", [](CPanelTemplate& t) { t.InitEdit(); }},
      {"InitBox", [](CPanelTemplate& t) { t.InitBox(); }},
      {"InitForm", [](CPanelTemplate& t) { t.InitForm(); }},
      {"InitFlat", [](CPanelTemplate& t) { t.InitFlat(); }},
      {"InitRaised", [](CPanelTemplate& t) { t.InitRaised(); }},
      {"InitSunken", [](CPanelTemplate& t) { t.InitSunken(); }},
      {"InitBorderless", [](CPanelTemplate& t) { t.InitBorderless(); }},
  };
  for (int i = 0; i < 14; i++) {
    const double x = 8 + (i % 7) * 142;
    const double top = y + 26 + (i / 7) * 64;
    auto* panel = Place<CPanel>(face, x, top, 134, 56);
    looks[i].apply(*panel->Template);
    auto* name = Place<CText>(panel->Client, 4, 4, 120, 16);
    name->Str = looks[i].name;
  }
}

// Over the free right part of the pictures; its content follows its size.
void WidgetPage::ChildForm(CForm& form) {
  child_ = new CForm(&form);
  child_->SetBounds(390, 362, 300, 160, true);
  child_->Caption->Title->Str = "Дочерняя форма"_cp;
  CControl* face = child_->Client;
  const double w = face->GetWidth().Value;
  const double h = face->GetHeight().Value;
  NewLabel(face, 8, 8, w - 16, "Тащите заголовок или рамку"_cp)->Anchors.Set(1, 1, 2, 1);
  auto* edit = Place<CEdit>(face, 8, 36, w - 16, 20);
  edit->Anchors.Set(1, 1, 2, 1);
  edit->SetText("Строка дочерней формы"_cp);
  auto* close = NewButton(face, w - 96, h - 33, 88, "Закрыть"_cp);
  close->Anchors.Set(2, 2, 2, 2);
  close->OnClick.Set(this, &WidgetPage::ChildCloseClicked);
}

void WidgetPage::ToolClicked(CControl* sender) {
  int number = 0;
  for (const char* tool : kTools) {
    if (!tool) continue;
    if (number++ == sender->Number.Value) status_->Caption->Str = CStr("Кнопка "_cp) + tool;
  }
  status_->Invalidate();
}

void WidgetPage::AskClicked(CControl*) {
  const std::int16_t result = dialog_->Show("Сохранить изменения?"_cp, 3, 3);
  const char* answers[] = {"Ответ: окно закрыто"_cp, "Ответ: Yes"_cp, "Ответ: No"_cp};
  answer_->Caption->Str = result >= 0 && result <= 2 ? answers[result] : "?";
  answer_->Invalidate();
}

void WidgetPage::ShowFormClicked(CControl*) {
  child_->Visible = true;
  child_->Invalidate();
}

void WidgetPage::ChildCloseClicked(CControl*) {
  child_->Close();
}
