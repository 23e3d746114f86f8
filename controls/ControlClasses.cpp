// The classes the control application registers: anchors, the timer, the control base and the
// shape, text and picture controls.
#include "controls/CtrlApp.h"
#include "controls/Pic.h"
#include "controls/Shapes.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "graphics/Timer.h"
#include "model/ClassManager.h"

namespace {

void GetVisible(CObject* owner, CObject* target) {
  auto* control = dynamic_cast<CControl*>(owner);
  auto* value = dynamic_cast<CBool*>(target);
  if (control && value) *value = control->Visible;
}

// The colour of a pen or brush: the components are copied, without a repaint.
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
  if (control && color) control->Color.Set(color->R, color->G, color->B);
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
     {Unwired("M1X", "CInt"), Unwired("M1Y", "CInt"), Unwired("M2X", "CInt"),
      Unwired("M2Y", "CInt")}},
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
     {{"Visible", "CBool", false, &GetVisible, &NoSet},
      Unwired("Anchors", "CAnchors", true),
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
     {Unwired("Str", "CStr"), Unwired("Font", "CFont", true), Unwired("Color", "CColor", true),
      Unwired("Center", "CBool")}},
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
