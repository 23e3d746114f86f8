// How each corner coordinate of a control follows its parent's resizing: one number per
// coordinate (x1, y1, x2, y2).
//
//   0  keeps the distance to the parent's centre
//   1  keeps the distance to the parent's left or top edge (the default)
//   2  keeps the distance to the parent's right or bottom edge
//   3  scales with the parent
//   4  x1/y1 scale, x2/y2 keep a scaled margin to the parent's right or bottom edge
//   any other number leaves the coordinate where it is
#pragma once

#include "core/Values.h"

class CStream;

class CAnchors : public CVar {
 public:
  CInt M1X = 1;
  CInt M1Y = 1;
  CInt M2X = 1;
  CInt M2Y = 1;

  CAnchors() = default;
  CAnchors(const CInt& m1x, const CInt& m1y, const CInt& m2x, const CInt& m2y)
      : M1X(m1x), M1Y(m1y), M2X(m2x), M2Y(m2y) {}

  virtual void Set(const CInt& m1x, const CInt& m1y, const CInt& m2x, const CInt& m2y);
  virtual void WriteTo(CStream& stream);
  virtual void ReadFrom(CStream& stream);

  CBool operator==(const CAnchors& other) const {
    return bool(M1X == other.M1X) && bool(M1Y == other.M1Y) && bool(M2X == other.M2X) &&
           bool(M2Y == other.M2Y);
  }
};
