#include "graphics/GLApp.h"

#include <cstdint>

#include "core/Cp1251.h"
#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "model/ClassManager.h"

namespace {

// Accessors of the registered graphics values. Each does nothing without an owner of its class
// and a target or value of the property's type.

template <class Owner, class Value>
bool Both(CObject* owner, CObject* other, Owner*& o, Value*& v) {
  o = dynamic_cast<Owner*>(owner);
  v = dynamic_cast<Value*>(other);
  return o && v;
}

void GetM1(CObject* owner, CObject* target) {
  CRect* r;
  CPoint* p;
  if (Both(owner, target, r, p)) *p = r->M1;
}

// Moving the first corner moves the rectangle: its size stays.
void SetM1(CObject* owner, CObject* value) {
  CRect* r;
  CPoint* p;
  if (Both(owner, value, r, p)) r->MoveTo(*p);
}

void GetM2(CObject* owner, CObject* target) {
  CRect* r;
  CPoint* p;
  if (Both(owner, target, r, p)) *p = r->M2;
}

// Straight into the field: the owner's setters are not told.
void SetM2(CObject* owner, CObject* value) {
  CRect* r;
  CPoint* p;
  if (Both(owner, value, r, p)) r->M2 = *p;
}

const CClassRow kRows[] = {
    {"CPoint",
     "CVar",
     "QxCtrlTypes",
     "Классов - точка"_cp,
     &Make<CPoint>,
     {{"X", "CFloat", false, &FieldGetter<&CPoint::X>, &FieldSetter<&CPoint::X>},
      {"Y", "CFloat", false, &FieldGetter<&CPoint::Y>, &FieldSetter<&CPoint::Y>}}},
    {"CRect",
     "CObject",
     "QxControls",
     "Предок всех классов, представляющих прямоугольную область"_cp,
     &Make<CRect>,
     {{"M1", "CPoint", true, &GetM1, &SetM1}, {"M2", "CPoint", true, &GetM2, &SetM2}}},
    {"CColor",
     "CVar",
     "QxGLTypes",
     "Класс - цвет"_cp,
     &Make<CColor>,
     {{"R", "CFloat", false, &FieldGetter<&CColor::R>, &FieldSetter<&CColor::R>},
      {"G", "CFloat", false, &FieldGetter<&CColor::G>, &FieldSetter<&CColor::G>},
      {"B", "CFloat", false, &FieldGetter<&CColor::B>, &FieldSetter<&CColor::B>}}},
    // Shown in the tuner, not connected to the font.
    {"CFont",
     "CVar",
     "QxFont",
     "Класс - шритф"_cp,
     &Make<CFont>,
     {{"ID", "CInt", false, &NoGet, &NoSet},
      {"Width", "CInt", false, &NoGet, &NoSet},
      {"Height", "CInt", false, &NoGet, &NoSet},
      {"B", "CBool", false, &NoGet, &NoSet},
      {"I", "CBool", false, &NoGet, &NoSet},
      {"U", "CBool", false, &NoGet, &NoSet},
      {"S", "CBool", false, &NoGet, &NoSet},
      {"3D", "CBool", false, &NoGet, &NoSet},
      {"FontName", "CStr", false, &NoGet, &NoSet}}},
};

// Black, white / white, black: every other pixel of a one-pixel line is black.
constexpr std::uint32_t kPattern[] = {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000};

}  // namespace

CGLApp::CGLApp() {
  GLApp = this;
  Screen = std::make_unique<CScreen>();
  ClassMan->Register(kRows);
  FontManager = std::make_unique<CFontManager>();
  Pattern.Create(2, 2, kPattern);
}

CGLApp::~CGLApp() {
  FontManager.reset();
  Screen.reset();
  if (GLApp == this) GLApp = nullptr;
}
