// Fonts are defined once and then referred to by number (the position in the font manager) or
// by the font object's name. The canvas makes the platform font and registers it.
#pragma once

#include "core/List.h"
#include "platform/draw/Font.h"

class CStream;

class CFont : public CVar {
 public:
  CFont() = default;
  CFont(const CFont&) = delete;
  CFont& operator=(const CFont&) = delete;

  CStr ClassName() const override;
  virtual void WriteTo(CStream& stream);
  virtual void ReadFrom(CStream& stream);

  void Set(const CInt& width, const CInt& height, CBool b, CBool i, CBool u, CBool s, CBool threeD,
           const CStr& fontName, const CStr& objectName);

  CInt ID;
  CInt Width;   // 0: the platform chooses
  CInt Height;  // the cell height in pixels
  CBool B;
  CBool I;
  CBool U;
  CBool S;
  CBool ThreeD;  // the "3D" flag: kept and edited, never drawn
  CStr FontName;
  // The platform's opened font, kept by the platform for the life of the process; none until
  // registered.
  const platform::Font* Handle = nullptr;
};

class CFontManager : public CObject {
 public:
  // None when the number is out of range.
  CFont* Find(const CInt& number) const;
  // By the font object's name (not its face); -1 for the empty name or no match.
  CInt FindByName(const CStr& name) const;
  // Gives the font the next number and keeps it; answers that number.
  CInt Register(CFont* font);
  CInt Count() const { return Fonts.Count(); }

  CList Fonts;  // of CFont, owned
};
