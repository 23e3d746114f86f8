// A colour of three real components, each from 0 to 1 by convention (not clamped). Only the
// canvas turns it into a platform colour.
#pragma once

#include "core/Values.h"

class CStream;

class CColor : public CVar {
 public:
  CFloat R;
  CFloat G;
  CFloat B;

  CColor() = default;
  CColor(const CFloat& r, const CFloat& g, const CFloat& b) : R(r), G(g), B(b) {}

  CStr ClassName() const override;
  virtual void WriteTo(CStream& stream);
  virtual void ReadFrom(CStream& stream);

  // Inline: the canvas is given a colour for every line and fill it draws.
  void Set(const CFloat& r, const CFloat& g, const CFloat& b) {
    R.Value = r.Value;
    G.Value = g.Value;
    B.Value = b.Value;
  }
  // From 0..255 bytes, as the colour dialog gives them.
  void SetBytes(const CInt& r, const CInt& g, const CInt& b);

  CBool operator==(const CColor& other) const {
    return bool(R == other.R) && bool(G == other.G) && bool(B == other.B);
  }
};
