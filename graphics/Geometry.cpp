#include "graphics/Geometry.h"

#include "storage/Stream.h"

// [SECTION] CPoint and CSize

CStr CPoint::ClassName() const {
  return "CPoint";
}

void CPoint::WriteTo(CStream& stream) {
  X.SaveToStream(stream);
  Y.SaveToStream(stream);
}

void CPoint::ReadFrom(CStream& stream) {
  X.LoadFromStream(stream);
  Y.LoadFromStream(stream);
}

void CPoint::Set(const CFloat& x, const CFloat& y) {
  X = x;
  Y = y;
}

void CPoint::Add(const CPoint& d) {
  X += d.X;
  Y += d.Y;
}

void CPoint::Sub(const CPoint& d) {
  X -= d.X;
  Y -= d.Y;
}

void CSize::Set(const CFloat& width, const CFloat& height) {
  Width = width;
  Height = height;
}

// [SECTION] CRect: construction and the record

CRect::CRect(const CPoint& pos, const CSize& size) {
  SetPointSize(pos, size);
}

CStr CRect::ClassName() const {
  return "CRect";
}

void CRect::WriteTo(CStream& stream) {
  M1.WriteTo(stream);
  M2.WriteTo(stream);
}

void CRect::ReadFrom(CStream& stream) {
  CPoint first;
  CPoint second;
  first.ReadFrom(stream);
  second.ReadFrom(stream);
  SetPoints(first, second);
}

// [SECTION] CRect: the setters that end in SetCorners

void CRect::SetCorners(const CFloat& x1, const CFloat& y1, const CFloat& x2, const CFloat& y2) {
  M1.Set(x1, y1);
  M2.Set(x2, y2);
}

void CRect::SetPosSize(const CFloat& x, const CFloat& y, const CFloat& w, const CFloat& h) {
  SetCorners(x, y, x + w, y + h);
}

void CRect::SetRect(CRect r) {
  SetCorners(r.M1.X, r.M1.Y, r.M2.X, r.M2.Y);
}

void CRect::SetPoints(CPoint m1, CPoint m2) {
  SetCorners(m1.X, m1.Y, m2.X, m2.Y);
}

void CRect::SetPointSize(CPoint pos, CSize size) {
  SetCorners(pos.X, pos.Y, pos.X + size.Width, pos.Y + size.Height);
}

void CRect::SetBounds(const CFloat& a, const CFloat& b, const CFloat& c, const CFloat& d,
                      CBool bySize) {
  if (bySize)
    SetCorners(a, b, a + c, b + d);
  else
    SetCorners(a, b, c, d);
}

void CRect::AdjustEdges(const CFloat& dx1, const CFloat& dy1, const CFloat& dx2,
                        const CFloat& dy2) {
  M1.X += dx1;
  M1.Y += dy1;
  M2.X += dx2;
  M2.Y += dy2;
}

// [SECTION] CRect: getters

namespace {

// A signed extent whose magnitude is never below 1: coinciding corners still cover one unit,
// and a mirrored rectangle keeps its sign.
CFloat SignedExtent(const CFloat& from, const CFloat& to) {
  const CFloat d = to - from;
  if (from <= to) return d < CFloat(1) ? CFloat(1) : d;
  return d > CFloat(-1) ? CFloat(-1) : d;
}

}  // namespace

CSize CRect::GetSize() const {
  return CSize(GetWidth(), GetHeight());
}

CFloat CRect::GetWidth() const {
  return SignedExtent(M1.X, M2.X);
}

CFloat CRect::GetHeight() const {
  return SignedExtent(M1.Y, M2.Y);
}

// [SECTION] CRect: setters that work on a copy

void CRect::SetM1(CPoint p) {
  CRect r = *this;
  r.M1 = p;
  SetRect(r);
}

void CRect::SetM2(CPoint p) {
  CRect r = *this;
  r.M2 = p;
  SetRect(r);
}

void CRect::SetPos(CPoint p) {
  CRect r = *this;
  r.MoveTo(p);
  SetRect(r);
}

void CRect::SetSize(CSize s) {
  CRect r = *this;
  r.M2.Set(r.M1.X + s.Width, r.M1.Y + s.Height);
  SetRect(r);
}

void CRect::SetX1(const CFloat& v) {
  CRect r = *this;
  r.M1.X = v;
  SetRect(r);
}

void CRect::SetY1(const CFloat& v) {
  CRect r = *this;
  r.M1.Y = v;
  SetRect(r);
}

void CRect::SetX2(const CFloat& v) {
  CRect r = *this;
  r.M2.X = v;
  SetRect(r);
}

void CRect::SetY2(const CFloat& v) {
  CRect r = *this;
  r.M2.Y = v;
  SetRect(r);
}

void CRect::SetX(const CFloat& v) {
  CPoint p = GetPos();
  p.X = v;
  SetPos(p);
}

void CRect::SetY(const CFloat& v) {
  CPoint p = GetPos();
  p.Y = v;
  SetPos(p);
}

void CRect::SetWidth(const CFloat& v) {
  CSize s = GetSize();
  s.Width = v;
  SetSize(s);
}

void CRect::SetHeight(const CFloat& v) {
  CSize s = GetSize();
  s.Height = v;
  SetSize(s);
}

// [SECTION] CRect: plain operations

void CRect::Offset(const CPoint& d) {
  CRect r = *this;
  r.M1.Add(d);
  r.M2.Add(d);
  SetRect(r);
}

void CRect::MoveTo(const CPoint& p) {
  CRect r = *this;
  r.M2.Add(p - r.M1);
  r.M1 = p;
  SetRect(r);
}

void CRect::ResizeWidth(const CFloat& w) {
  M2.X = M1.X + w;
}
void CRect::ResizeHeight(const CFloat& h) {
  M2.Y = M1.Y + h;
}

void CRect::Normalize() {
  if (M1.X > M2.X) Swap(M1.X, M2.X);
  if (M1.Y > M2.Y) Swap(M1.Y, M2.Y);
}

CBool CRect::Contains(const CPoint& p) const {
  CRect n = *this;
  n.Normalize();
  return bool(n.M1.X <= p.X) && bool(n.M1.Y <= p.Y) && bool(n.M2.X >= p.X) && bool(n.M2.Y >= p.Y);
}

CBool CRect::Contains(const CRect& r) const {
  CRect n = *this;
  n.Normalize();
  CRect m = r;
  m.Normalize();
  return bool(n.M1.X <= m.M1.X) && bool(n.M1.Y <= m.M1.Y) && bool(n.M2.X >= m.M2.X) &&
         bool(n.M2.Y >= m.M2.Y);
}

CPoint CRect::HalfSize() const {
  const CFloat minX = M1.X <= M2.X ? M1.X : M2.X;
  const CFloat minY = M1.Y <= M2.Y ? M1.Y : M2.Y;
  return CPoint((M1.X + M2.X) / CFloat(2) - minX, (M1.Y + M2.Y) / CFloat(2) - minY);
}
