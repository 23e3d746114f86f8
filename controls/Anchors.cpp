#include "controls/Anchors.h"

#include "storage/Stream.h"

void CAnchors::Set(const CInt& m1x, const CInt& m1y, const CInt& m2x, const CInt& m2y) {
  M1X = m1x;
  M1Y = m1y;
  M2X = m2x;
  M2Y = m2y;
}

void CAnchors::WriteTo(CStream& stream) {
  M1X.SaveToStream(stream);
  M1Y.SaveToStream(stream);
  M2X.SaveToStream(stream);
  M2Y.SaveToStream(stream);
}

void CAnchors::ReadFrom(CStream& stream) {
  M1X.LoadFromStream(stream);
  M1Y.LoadFromStream(stream);
  M2X.LoadFromStream(stream);
  M2Y.LoadFromStream(stream);
}
