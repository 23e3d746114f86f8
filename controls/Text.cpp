#include "controls/Text.h"

#include <memory>

#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "graphics/GLApp.h"
#include "storage/Stream.h"

namespace {

CFontManager* Fonts() {
  return GLApp ? GLApp->FontManager.get() : nullptr;
}

}  // namespace

CStr CText::ClassName() const {
  return "CText";
}

CSize CText::GetTextSize() {
  CCanvas* canvas = GetCanvas();
  if (!canvas) return CSize();
  canvas->SelectFont(FontNumber);
  return canvas->GetTextExtent(Str);
}

void CText::SetFontName(const CStr& name) {
  CFontManager* fonts = Fonts();
  FontNumber = fonts ? fonts->FindByName(name) : CInt(-1);
}

void CText::FitToText() {
  const CSize s = GetTextSize();
  M2.X = M1.X + s.Width;
  M2.Y = M1.Y + s.Height;
}

void CText::Paint(const CRect&) {
  CCanvas* canvas = GetCanvas();
  if (!canvas) return;
  canvas->SetOrigin(GetOrigin());
  canvas->SetColor(Color);
  canvas->SelectFont(FontNumber);
  if (Center)
    canvas->DrawTextCentered(CRect(M1.X, M1.Y, M2.X, M2.Y), Str);
  else
    canvas->DrawText(M1, Str);
}

void CText::WriteTo(CStream& stream) {
  CControl::WriteTo(stream);
  Color.WriteTo(stream);
  Str.SaveToStream(stream);
  CFontManager* fonts = Fonts();
  if (CFont* font = fonts ? fonts->Find(FontNumber) : nullptr) {
    font->WriteTo(stream);
  } else {
    // No font under that number: a blank description that keeps the number, so reading it back
    // gives the same FontNumber (an unregistered number stays unregistered).
    CFont blank;
    blank.ID = FontNumber;
    blank.WriteTo(stream);
  }
}

void CText::ReadFrom(CStream& stream) {
  CControl::ReadFrom(stream);
  Color.ReadFrom(stream);
  Str.LoadFromStream(stream);
  auto font = std::make_unique<CFont>();
  font->ReadFrom(stream);
  FontNumber = font->ID;
  CFontManager* fonts = Fonts();
  CCanvas* canvas = GetCanvas();
  if (fonts && canvas && fonts->Count() <= font->ID) {
    // CreateFont registers the font with the font manager, which keeps it from now on.
    CFont* kept = font.release();
    FontNumber = canvas->CreateFont(kept);
  }
}

void CText::GetFont(CFont& out) const {
  const CFont* font = GLApp && GLApp->FontManager ? GLApp->FontManager->Find(FontNumber) : nullptr;
  if (!font) return;
  out.Set(font->Width, font->Height, font->B, font->I, font->U, font->S, font->ThreeD,
          font->FontName, "");
}

void CText::SetFont(const CFont& font) {
  const CInt number = FontFor(GetCanvas(), font.FontName, font.Height.Value, bool(font.B),
                              bool(font.I), bool(font.U), bool(font.S));
  if (number.Value < 0) return;
  FontNumber = number;
  Invalidate();
}
