// The classes the widgets add to the registry: the bevel, the panel, the label, the two push
// buttons, the edit and the form. Their properties are shown but not connected, except the
// form's title.
#include "widgets/WidgetClasses.h"

#include "controls/Text.h"
#include "core/Cp1251.h"
#include "model/ClassManager.h"
#include "widgets/Bevel.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Form.h"

namespace {

void GetTitle(CObject* owner, CObject* target) {
  auto* form = dynamic_cast<CForm*>(owner);
  auto* text = dynamic_cast<CStr*>(target);
  if (form && text) *text = form->Caption->Title->Str;
}

void SetTitle(CObject* owner, CObject* value) {
  auto* form = dynamic_cast<CForm*>(owner);
  auto* text = dynamic_cast<CStr*>(value);
  if (form && text) form->Caption->Title->Str = *text;
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
    {"CPanel", "CControl", "QxPanel", "Класс - панель"_cp, &MakeControl<CPanel>},
    {"CLabel",
     "CPanel",
     "QxPanel",
     "Класс - метка"_cp,
     &MakeControl<CLabel>,
     {Unwired("Str", "CStr"), Unwired("Font", "CFont", true), Unwired("Color", "CColor", true),
      Unwired("Center", "CBool")}},
    {"CButton", "CPicButton", "QxPanel", "Класс - кнопка"_cp, &MakeControl<CButton>},
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
     {{"Str", "CStr", false, &GetTitle, &SetTitle}}},
};

}  // namespace

std::span<const CClassRow> WidgetClassRows() {
  return kRows;
}
