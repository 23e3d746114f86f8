#include "graphics/GLApp.h"

#include <cstdint>

#include "core/Cp1251.h"
#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "model/ClassManager.h"

namespace {

// Moving the first corner moves the rectangle: its size stays. (The second corner is set straight
// into the field: the owner's setters are not told.)
void SetM1(CObject* owner, CObject* value) {
  auto* r = dynamic_cast<CRect*>(owner);
  auto* p = dynamic_cast<CPoint*>(value);
  if (r && p) r->MoveTo(*p);
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
     {{"M1", "CPoint", true, &FieldGetter<&CRect::M1>, &SetM1},
      {"M2", "CPoint", true, &FieldGetter<&CRect::M2>, &FieldSetter<&CRect::M2>}}},
    {"CColor",
     "CVar",
     "QxGLTypes",
     "Класс - цвет"_cp,
     &Make<CColor>,
     {{"R", "CFloat", false, &FieldGetter<&CColor::R>, &FieldSetter<&CColor::R>},
      {"G", "CFloat", false, &FieldGetter<&CColor::G>, &FieldSetter<&CColor::G>},
      {"B", "CFloat", false, &FieldGetter<&CColor::B>, &FieldSetter<&CColor::B>}}},
    // The face, height and style are what a text's font is chosen by; the rest is shown only.
    {"CFont",
     "CVar",
     "QxFont",
     "Класс - шритф"_cp,
     &Make<CFont>,
     {{"ID", "CInt", false, &NoGet, &NoSet},
      {"Width", "CInt", false, &NoGet, &NoSet},
      {"Height", "CInt", false, &FieldGetter<&CFont::Height>, &FieldSetter<&CFont::Height>},
      {"B", "CBool", false, &FieldGetter<&CFont::B>, &FieldSetter<&CFont::B>},
      {"I", "CBool", false, &FieldGetter<&CFont::I>, &FieldSetter<&CFont::I>},
      {"U", "CBool", false, &FieldGetter<&CFont::U>, &FieldSetter<&CFont::U>},
      {"S", "CBool", false, &FieldGetter<&CFont::S>, &FieldSetter<&CFont::S>},
      {"3D", "CBool", false, &NoGet, &NoSet},
      {"FontName", "CStr", false, &FieldGetter<&CFont::FontName>,
       &FieldSetter<&CFont::FontName>}}},
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
