// The classes the widgets add to the registry: the bevel, the panel, the label, the two push
// buttons, the edit and the form. The texts, their colours, a panel's face colour and the form's
// title are connected; the rest is shown only.
#include "widgets/WidgetClasses.h"

#include "controls/Text.h"
#include "core/Cp1251.h"
#include "graphics/Font.h"
#include "model/ClassManager.h"
#include "widgets/Bevel.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Form.h"
#include "widgets/Label.h"

namespace {

void GetTitle(CObject* owner, CObject* target) {
  auto* form = dynamic_cast<CForm*>(owner);
  auto* text = dynamic_cast<CStr*>(target);
  if (form && text) *text = form->Caption->Title->Str;
}

void SetTitle(CObject* owner, CObject* value) {
  auto* form = dynamic_cast<CForm*>(owner);
  auto* text = dynamic_cast<CStr*>(value);
  if (!form || !text) return;
  form->Caption->Title->Str = *text;
  form->Caption->Invalidate();
}

// The text a label, an edit or a button shows is its caption's.
CText* CaptionOf(CObject* owner) {
  if (auto* form = dynamic_cast<CForm*>(owner)) return form->Caption->Title;
  if (auto* button = dynamic_cast<CButton*>(owner)) return button->Caption;
  if (auto* label = dynamic_cast<CLabel*>(owner)) return label->Caption;
  return nullptr;
}

void GetCaption(CObject* owner, CObject* target) {
  CText* caption = CaptionOf(owner);
  auto* text = dynamic_cast<CStr*>(target);
  if (caption && text) *text = caption->Str;
}

void SetCaption(CObject* owner, CObject* value) {
  CText* caption = CaptionOf(owner);
  auto* text = dynamic_cast<CStr*>(value);
  if (!caption || !text) return;
  caption->Str = *text;
  caption->Invalidate();
}

void GetCaptionColor(CObject* owner, CObject* target) {
  CText* caption = CaptionOf(owner);
  auto* color = dynamic_cast<CColor*>(target);
  if (caption && color) color->Set(caption->Color.R, caption->Color.G, caption->Color.B);
}

void SetCaptionColor(CObject* owner, CObject* value) {
  CText* caption = CaptionOf(owner);
  auto* color = dynamic_cast<CColor*>(value);
  if (!caption || !color) return;
  caption->Color.Set(color->R, color->G, color->B);
  caption->Invalidate();
}

void GetCaptionFont(CObject* owner, CObject* target) {
  CText* caption = CaptionOf(owner);
  auto* font = dynamic_cast<CFont*>(target);
  if (caption && font) caption->GetFont(*font);
}

void SetCaptionFont(CObject* owner, CObject* value) {
  CText* caption = CaptionOf(owner);
  auto* font = dynamic_cast<CFont*>(value);
  if (caption && font) caption->SetFont(*font);
}

void GetCaptionCenter(CObject* owner, CObject* target) {
  CText* caption = CaptionOf(owner);
  auto* value = dynamic_cast<CBool*>(target);
  if (caption && value) *value = caption->Center;
}

void SetCaptionCenter(CObject* owner, CObject* value) {
  CText* caption = CaptionOf(owner);
  auto* flag = dynamic_cast<CBool*>(value);
  if (!caption || !flag) return;
  caption->Center = *flag;
  caption->Invalidate();
}

// A panel shows its colour on its face.
void GetFaceColor(CObject* owner, CObject* target) {
  auto* panel = dynamic_cast<CPanel*>(owner);
  auto* color = dynamic_cast<CColor*>(target);
  if (panel && panel->Client && color)
    color->Set(panel->Client->Color.R, panel->Client->Color.G, panel->Client->Color.B);
}

void SetFaceColor(CObject* owner, CObject* value) {
  auto* panel = dynamic_cast<CPanel*>(owner);
  auto* color = dynamic_cast<CColor*>(value);
  if (!panel || !panel->Client || !color) return;
  panel->Client->Color.Set(color->R, color->G, color->B);
  panel->Invalidate();
}

constexpr CPropRow Unwired(const char* name, const char* type, bool isObject = false) {
  return {name, type, isObject, &NoGet, &NoSet};
}

const CClassRow kRows[] = {
    {"CBevel",
     "CControl",
     "QxPanel",
     "Класс - бевел"_cp,
     &MakeControl<CBevel>,
     {Unwired("State", "CBool")}},
    {"CPanel",
     "CControl",
     "QxPanel",
     "Класс - панель"_cp,
     &MakeControl<CPanel>,
     {{"FaceColor", "CColor", true, &GetFaceColor, &SetFaceColor}}},
    {"CLabel",
     "CPanel",
     "QxPanel",
     "Класс - метка"_cp,
     &MakeControl<CLabel>,
     {{"Str", "CStr", false, &GetCaption, &SetCaption},
      {"Font", "CFont", true, &GetCaptionFont, &SetCaptionFont},
      {"Color", "CColor", true, &GetCaptionColor, &SetCaptionColor},
      {"Center", "CBool", false, &GetCaptionCenter, &SetCaptionCenter}}},
    {"CButton",
     "CPicButton",
     "QxPanel",
     "Класс - кнопка"_cp,
     &MakeControl<CButton>,
     {{"Str", "CStr", false, &GetCaption, &SetCaption},
      {"Font", "CFont", true, &GetCaptionFont, &SetCaptionFont},
      {"Color", "CColor", true, &GetCaptionColor, &SetCaptionColor}}},
    {"CPicButton",
     "CPanel",
     "QxPanel",
     "Класс - кнопка с картинкой"_cp,
     &MakeControl<CPicButton>,
     {Unwired("FileName", "CStr")}},
    {"CEdit", "CLabel", "QxPanel", "Класс - редактор строчки"_cp, &MakeControl<CEdit>},
    {"CForm",
     "CPanel",
     "QxPanel",
     "Класс - форма"_cp,
     &MakeControl<CForm>,
     {{"Str", "CStr", false, &GetTitle, &SetTitle},
      {"Font", "CFont", true, &GetCaptionFont, &SetCaptionFont}}},
};

}  // namespace

std::span<const CClassRow> WidgetClassRows() {
  return kRows;
}
