// The values the user interface measures itself in: points, sizes, rectangles and the modifier
// keys of an input event. Coordinates are real numbers; only the canvas turns them into pixels.
#pragma once

#include "core/Values.h"

class CStream;

class CPoint : public CVar {
 public:
  CFloat X;
  CFloat Y;

  CPoint() = default;
  CPoint(const CFloat& x, const CFloat& y) : X(x), Y(y) {}

  CStr ClassName() const override;
  virtual void WriteTo(CStream& stream);
  virtual void ReadFrom(CStream& stream);

  void Set(const CFloat& x, const CFloat& y);
  void Add(const CPoint& d);
  void Sub(const CPoint& d);

  CPoint operator+(const CPoint& d) const { return CPoint(X + d.X, Y + d.Y); }
  CPoint operator-(const CPoint& d) const { return CPoint(X - d.X, Y - d.Y); }
  CBool operator==(const CPoint& other) const { return bool(X == other.X) && bool(Y == other.Y); }
};

class CSize : public CVar {
 public:
  CFloat Width;
  CFloat Height;

  CSize() = default;
  CSize(const CFloat& width, const CFloat& height) : Width(width), Height(height) {}

  void Set(const CFloat& width, const CFloat& height);
};

// The base of every drawn thing. The corners are not kept in order; the setters from SetM1 on
// work on a copy and hand it to the virtual SetRect, so a derived class that overrides
// SetCorners sees exactly one call per change.
class CRect : public CObject {
 public:
  CPoint M1;
  CPoint M2;

  // Inline: painting makes rectangles by the thousand. What the constructors set is what
  // CRect's own SetBounds would.
  CRect() = default;
  CRect(const CPoint& pos, const CSize& size);
  CRect(const CFloat& a, const CFloat& b, const CFloat& c, const CFloat& d, CBool bySize = false)
      : M1(a, b), M2(bySize ? a + c : c, bySize ? b + d : d) {}
  CRect(const CRect&) = default;
  CRect& operator=(const CRect&) = default;

  CStr ClassName() const override;

  virtual void WriteTo(CStream& stream);
  virtual void ReadFrom(CStream& stream);
  virtual void SetCorners(const CFloat& x1, const CFloat& y1, const CFloat& x2, const CFloat& y2);
  virtual void SetPosSize(const CFloat& x, const CFloat& y, const CFloat& w, const CFloat& h);
  virtual void SetRect(CRect r);
  virtual void SetPoints(CPoint m1, CPoint m2);
  virtual void SetPointSize(CPoint pos, CSize size);
  virtual void SetBounds(const CFloat& a, const CFloat& b, const CFloat& c, const CFloat& d,
                         CBool bySize);
  virtual void AdjustEdges(const CFloat& dx1, const CFloat& dy1, const CFloat& dx2,
                           const CFloat& dy2);
  virtual CPoint GetM1() const { return M1; }
  virtual CPoint GetM2() const { return M2; }
  virtual CPoint GetPos() const { return M1; }
  virtual CSize GetSize() const;
  virtual CFloat GetX1() const { return M1.X; }
  virtual CFloat GetY1() const { return M1.Y; }
  virtual CFloat GetX2() const { return M2.X; }
  virtual CFloat GetY2() const { return M2.Y; }
  virtual CFloat GetX() const { return M1.X; }
  virtual CFloat GetY() const { return M1.Y; }
  virtual CFloat GetWidth() const;
  virtual CFloat GetHeight() const;
  virtual void SetM1(CPoint p);
  virtual void SetM2(CPoint p);
  virtual void SetPos(CPoint p);
  virtual void SetSize(CSize s);
  virtual void SetX1(const CFloat& v);
  virtual void SetY1(const CFloat& v);
  virtual void SetX2(const CFloat& v);
  virtual void SetY2(const CFloat& v);
  virtual void SetX(const CFloat& v);
  virtual void SetY(const CFloat& v);
  virtual void SetWidth(const CFloat& v);
  virtual void SetHeight(const CFloat& v);

  void Offset(const CPoint& d);
  void MoveTo(const CPoint& p);
  // Change the far corner in place, without a setter: for an owner that follows a size the
  // platform already made.
  void ResizeWidth(const CFloat& w);
  void ResizeHeight(const CFloat& h);
  void Normalize();
  // Inclusive on every edge, whatever the order of the corners.
  CBool Contains(const CPoint& p) const;
  CBool Contains(const CRect& r) const;
  // The centre, measured from the top-left corner.
  CPoint HalfSize() const;
};

// The modifier keys held when an input event was made, as the platform reports them.
class CShiftStateSet : public CVar {
 public:
  CBool Shift;
  CBool Alt;
  CBool Ctrl;
};
