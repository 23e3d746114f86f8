// Small helpers the gallery's windows share for putting controls on a form.
#pragma once

#include "controls/Control.h"
#include "controls/Text.h"
#include "core/Values.h"
#include "graphics/Color.h"
#include "widgets/Label.h"

namespace gallery {

template <class T>
T* Place(CControl* parent, double x, double y, double w, double h) {
  auto* control = new T(parent);
  control->SetBounds(x, y, w, h, true);
  return control;
}

// A dark blue heading in the given font, as wide as its text.
inline CText* Heading(CControl* parent, double x, double y, const CStr& text, CInt font) {
  auto* heading = Place<CText>(parent, x, y, 10, 10);
  heading->Str = text;
  heading->SetFontNumber(font);
  heading->Color = CColor(0, 0, 0.5);
  heading->FitToText();
  return heading;
}

inline CLabel* NewLabel(CControl* parent, double x, double y, double w, const CStr& text) {
  auto* label = Place<CLabel>(parent, x, y, w, 20);
  label->Caption->Str = text;
  return label;
}

}  // namespace gallery
