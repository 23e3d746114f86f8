#include "graphics/Font.h"

#include "storage/Stream.h"

CStr CFont::ClassName() const {
  return "CFont";
}

void CFont::WriteTo(CStream& stream) {
  ID.SaveToStream(stream);
  Width.SaveToStream(stream);
  Height.SaveToStream(stream);
  B.SaveToStream(stream);
  I.SaveToStream(stream);
  U.SaveToStream(stream);
  S.SaveToStream(stream);
  ThreeD.SaveToStream(stream);
  FontName.SaveToStream(stream);
}

void CFont::ReadFrom(CStream& stream) {
  ID.LoadFromStream(stream);
  Width.LoadFromStream(stream);
  Height.LoadFromStream(stream);
  B.LoadFromStream(stream);
  I.LoadFromStream(stream);
  U.LoadFromStream(stream);
  S.LoadFromStream(stream);
  ThreeD.LoadFromStream(stream);
  FontName.LoadFromStream(stream);
}

void CFont::Set(const CInt& width, const CInt& height, CBool b, CBool i, CBool u, CBool s,
                CBool threeD, const CStr& fontName, const CStr& objectName) {
  Width = width;
  Height = height;
  B = b;
  I = i;
  U = u;
  S = s;
  ThreeD = threeD;
  FontName = fontName;
  SetName(objectName);
}

CFont* CFontManager::Find(const CInt& number) const {
  return Fonts.GetAs<CFont>(number);
}

CInt CFontManager::FindByName(const CStr& name) const {
  if (name.Length() == CInt(0)) return -1;
  for (std::int32_t i = 0; i < Fonts.Count().Value; ++i)
    if (Fonts.Get(i)->GetName() == name) return i;
  return -1;
}

CInt CFontManager::Register(CFont* font) {
  font->ID = Fonts.Count();
  Fonts.Add(font);
  return font->ID;
}
