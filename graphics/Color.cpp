#include "graphics/Color.h"

#include "storage/Stream.h"

CStr CColor::ClassName() const {
  return "CColor";
}

void CColor::WriteTo(CStream& stream) {
  R.SaveToStream(stream);
  G.SaveToStream(stream);
  B.SaveToStream(stream);
}

void CColor::ReadFrom(CStream& stream) {
  R.LoadFromStream(stream);
  G.LoadFromStream(stream);
  B.LoadFromStream(stream);
}

void CColor::SetBytes(const CInt& r, const CInt& g, const CInt& b) {
  R = CFloat(r) / CFloat(255.0);
  G = CFloat(g) / CFloat(255.0);
  B = CFloat(b) / CFloat(255.0);
}
