#include "graphics/Screen.h"

#include "platform/Screen.h"
#include "platform/draw/Font.h"

CScreen::CScreen() {
  Desktop = std::make_unique<CDesktop>();
  FontNames.Clear();
  // Consecutive repeats are dropped, as the platform's enumeration reports a family once per
  // character set.
  for (const std::string& family : platform::FontFamilies()) {
    const CStr name(family);
    if (FontNames.Count() > CInt(0) && bool(FontNames.GetString(FontNames.Count() - 1) == name))
      continue;
    FontNames.AddString(name);
  }
}

CScreen::~CScreen() {
  Canvases.RemoveAll();  // not ours to destroy
}

CInt CScreen::ScreenWidth() const {
  return platform::ScreenWidth();
}
CInt CScreen::ScreenHeight() const {
  return platform::ScreenHeight();
}

void CScreen::AddCanvas(CCanvas* canvas) {
  Canvases.Add(canvas);
  if (!MainCanvas) MainCanvas = canvas;
}

void CScreen::RemoveCanvas(CCanvas* canvas) {
  Canvases.RemoveObject(canvas);
  if (MainCanvas == canvas) MainCanvas = nullptr;
}
