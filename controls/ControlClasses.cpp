// The classes the control application registers: anchors, the timer, the control base and the
// shape, text and picture controls.
#include "controls/CtrlApp.h"
#include "controls/Pic.h"
#include "controls/Shapes.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "graphics/Font.h"
#include "graphics/Timer.h"
#include "model/ClassManager.h"

namespace {

void GetVisible(CObject* owner, CObject* target) {
  auto* control = dynamic_cast<CControl*>(owner);
  auto* value = dynamic_cast<CBool*>(target);
  if (control && value) *value = control->Visible;
}

void SetVisible(CObject* owner, CObject* value) {
  auto* control = dynamic_cast<CControl*>(owner);
  auto* flag = dynamic_cast<CBool*>(value);
  if (!control || !flag) return;
  control->Visible = *flag;
  // A hidden control paints nothing: what was under it is painted again.
  if (control->Parent)
    control->Parent->Invalidate();
  else
    control->Invalidate();
}

// The colour of a pen, a brush or a text: the components are copied; a new one repaints.
template <class T>
void GetColor(CObject* owner, CObject* target) {
  auto* control = dynamic_cast<T*>(owner);
  auto* color = dynamic_cast<CColor*>(target);
  if (control && color) color->Set(control->Color.R, control->Color.G, control->Color.B);
}

template <class T>
void SetColor(CObject* owner, CObject* value) {
  auto* control = dynamic_cast<T*>(owner);
  auto* color = dynamic_cast<CColor*>(value);
  if (!control || !color) return;
  control->Color.Set(color->R, color->G, color->B);
  control->Invalidate();
}

void GetStr(CObject* owner, CObject* target) {
  auto* text = dynamic_cast<CText*>(owner);
  auto* value = dynamic_cast<CStr*>(target);
  if (text && value) *value = text->Str;
}

void SetStr(CObject* owner, CObject* value) {
  auto* text = dynamic_cast<CText*>(owner);
  auto* str = dynamic_cast<CStr*>(value);
  if (!text || !str) return;
  text->Str = *str;
  text->Invalidate();
}

void GetCenter(CObject* owner, CObject* target) {
  auto* text = dynamic_cast<CText*>(owner);
  auto* value = dynamic_cast<CBool*>(target);
  if (text && value) *value = text->Center;
}

void SetCenter(CObject* owner, CObject* value) {
  auto* text = dynamic_cast<CText*>(owner);
  auto* flag = dynamic_cast<CBool*>(value);
  if (!text || !flag) return;
  text->Center = *flag;
  text->Invalidate();
}

void GetAnchors(CObject* owner, CObject* target) {
  auto* control = dynamic_cast<CControl*>(owner);
  auto* anchors = dynamic_cast<CAnchors*>(target);
  if (control && anchors) *anchors = control->Anchors;
}

// Anchors act when the parent changes size; the control stays where it is now.
void SetAnchors(CObject* owner, CObject* value) {
  auto* control = dynamic_cast<CControl*>(owner);
  auto* anchors = dynamic_cast<CAnchors*>(value);
  if (control && anchors) control->Anchors = *anchors;
}

void GetTextFont(CObject* owner, CObject* target) {
  auto* text = dynamic_cast<CText*>(owner);
  auto* font = dynamic_cast<CFont*>(target);
  if (text && font) text->GetFont(*font);
}

void SetTextFont(CObject* owner, CObject* value) {
  auto* text = dynamic_cast<CText*>(owner);
  auto* font = dynamic_cast<CFont*>(value);
  if (text && font) text->SetFont(*font);
}

constexpr CPropRow Unwired(const char* name, const char* type, bool isObject = false) {
  return {name, type, isObject, &NoGet, &NoSet};
}

const CClassRow kRows[] = {
    {"CAnchors",
     "CVar",
     "QxCtrlTypes",
     "Класс - anchors"_cp,
     &Make<CAnchors>,
     {{"M1X", "CInt", false, &FieldGetter<&CAnchors::M1X>, &FieldSetter<&CAnchors::M1X>},
      {"M1Y", "CInt", false, &FieldGetter<&CAnchors::M1Y>, &FieldSetter<&CAnchors::M1Y>},
      {"M2X", "CInt", false, &FieldGetter<&CAnchors::M2X>, &FieldSetter<&CAnchors::M2X>},
      {"M2Y", "CInt", false, &FieldGetter<&CAnchors::M2Y>, &FieldSetter<&CAnchors::M2Y>}}},
    {"CTimer",
     "CObject",
     "QxDevice",
     "Класс - таймер"_cp,
     &Make<CTimer>,
     {Unwired("OnTimer", "CStr"), Unwired("Interval", "CInt"), Unwired("Enabled", "CBool")}},
    {"CControl",
     "CRect",
     "QxControls",
     "Класс - карандаш"_cp,
     &MakeControl<CControl>,
     {{"Visible", "CBool", false, &GetVisible, &SetVisible},
      {"Anchors", "CAnchors", true, &GetAnchors, &SetAnchors},
      Unwired("IndexOf", "CInt"),
      Unwired("OnMouse", "CStr")}},
    {"CPen",
     "CControl",
     "QxControls",
     "Класс - карандаш"_cp,
     &MakeControl<CPen>,
     {{"Color", "CColor", true, &GetColor<CPen>, &SetColor<CPen>}}},
    {"CBrush",
     "CControl",
     "QxControls",
     "Класс - кисть"_cp,
     &MakeControl<CBrush>,
     {{"Color", "CColor", true, &GetColor<CBrush>, &SetColor<CBrush>}}},
    {"CLine", "CPen", "QxControls", "Класс - линия"_cp, &MakeControl<CLine>},
    {"CRectangle", "CPen", "QxControls", "Класс - прямоугольник"_cp, &MakeControl<CRectangle>},
    {"CEllipse", "CPen", "QxControls", "Класс - эллипс"_cp, &MakeControl<CEllipse>},
    {"CTriangle", "CPen", "QxControls", "Класс - треугольник"_cp, &MakeControl<CTriangle>},
    {"CFillRectangle", "CBrush", "QxControls", "Класс - закрашенный прямоугольник"_cp,
     &MakeControl<CFillRectangle>},
    {"CFillEllipse", "CBrush", "QxControls", "Класс - закрашенный эллипс"_cp,
     &MakeControl<CFillEllipse>},
    {"CFillTriangle", "CBrush", "QxControls", "Класс - закрашенный треугольник"_cp,
     &MakeControl<CFillTriangle>},
    {"CText",
     "CControl",
     "QxControls",
     "Класс - текст"_cp,
     &MakeControl<CText>,
     {{"Str", "CStr", false, &GetStr, &SetStr},
      {"Font", "CFont", true, &GetTextFont, &SetTextFont},
      {"Color", "CColor", true, &GetColor<CText>, &SetColor<CText>},
      {"Center", "CBool", false, &GetCenter, &SetCenter}}},
    {"CPic",
     "CControl",
     "QxControls",
     "Класс - картинка"_cp,
     &MakeControl<CPic>,
     {Unwired("FileName", "CStr")}},
};

}  // namespace

std::span<const CClassRow> ControlClassRows() {
  return kRows;
}
