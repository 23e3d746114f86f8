#include <gtest/gtest.h>

#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "storage/Stream.h"

namespace {

struct Corners {
  long double x1, y1, x2, y2;
};

void ExpectCorners(const CRect& r, Corners c, const char* what) {
  EXPECT_EQ(r.M1.X.Value, c.x1) << what;
  EXPECT_EQ(r.M1.Y.Value, c.y1) << what;
  EXPECT_EQ(r.M2.X.Value, c.x2) << what;
  EXPECT_EQ(r.M2.Y.Value, c.y2) << what;
}

// A rectangle-derived object that counts how often it is told of a change, as a canvas or a
// control is.
class CWatchedRect : public CRect {
 public:
  int corners = 0;
  void SetCorners(const CFloat& x1, const CFloat& y1, const CFloat& x2, const CFloat& y2) override {
    ++corners;
    CRect::SetCorners(x1, y1, x2, y2);
  }
};

}  // namespace

TEST(CRect, WidthAndHeightAreSignedAndNeverBelowOneInMagnitude) {
  struct Case {
    Corners r;
    long double width, height;
  } cases[] = {
      {{0, 0, 0, 0}, 1, 1},       // coinciding corners still cover one unit
      {{10, 10, 4, 20}, -6, 10},  // mirrored horizontally
      {{0, 0, 0.5, 0}, 1, 1},     // clamped up to 1
      {{0.5, 0, 0, 0}, -1, 1},    // mirrored and clamped to -1
      {{0, 3, 0, 2.25}, 1, -1},   // mirrored vertically, clamped
      {{1.5, 2, 11.75, 42}, 10.25, 40},
  };
  for (const Case& c : cases) {
    const CRect r(c.r.x1, c.r.y1, c.r.x2, c.r.y2);
    EXPECT_EQ(r.GetWidth().Value, c.width) << c.r.x1 << "," << c.r.y1;
    EXPECT_EQ(r.GetHeight().Value, c.height) << c.r.x1 << "," << c.r.y1;
    EXPECT_EQ(r.GetSize().Width.Value, c.width);
    EXPECT_EQ(r.GetSize().Height.Value, c.height);
  }
  ExpectCorners(CRect(), {0, 0, 0, 0}, "new rectangle");
}

TEST(CRect, SettersChangeTheRightCornersAndTellTheOwnerOnce) {
  struct Case {
    const char* what;
    void (*change)(CRect&);
    Corners expected;
  } cases[] = {
      {"SetWidth keeps M1", [](CRect& r) { r.SetWidth(50); }, {10, 10, 60, 40}},
      {"SetHeight keeps M1", [](CRect& r) { r.SetHeight(5); }, {10, 10, 30, 15}},
      {"SetX moves, size kept", [](CRect& r) { r.SetX(100); }, {100, 10, 120, 40}},
      {"SetY moves, size kept", [](CRect& r) { r.SetY(-5); }, {10, -5, 30, 25}},
      {"SetPos", [](CRect& r) { r.SetPos(CPoint(0, 1)); }, {0, 1, 20, 31}},
      {"SetM1 keeps M2", [](CRect& r) { r.SetM1(CPoint(1, 2)); }, {1, 2, 30, 40}},
      {"SetM2 keeps M1", [](CRect& r) { r.SetM2(CPoint(3, 4)); }, {10, 10, 3, 4}},
      {"SetSize", [](CRect& r) { r.SetSize(CSize(7, 8)); }, {10, 10, 17, 18}},
      {"SetX1", [](CRect& r) { r.SetX1(1); }, {1, 10, 30, 40}},
      {"SetY1", [](CRect& r) { r.SetY1(1); }, {10, 1, 30, 40}},
      {"SetX2", [](CRect& r) { r.SetX2(1); }, {10, 10, 1, 40}},
      {"SetY2", [](CRect& r) { r.SetY2(1); }, {10, 10, 30, 1}},
      {"SetBounds by size", [](CRect& r) { r.SetBounds(5, 5, 20, 10, true); }, {5, 5, 25, 15}},
      {"SetBounds by corners", [](CRect& r) { r.SetBounds(5, 5, 20, 10, false); }, {5, 5, 20, 10}},
      {"SetPosSize", [](CRect& r) { r.SetPosSize(1, 2, 3, 4); }, {1, 2, 4, 6}},
      {"SetPoints", [](CRect& r) { r.SetPoints(CPoint(9, 8), CPoint(7, 6)); }, {9, 8, 7, 6}},
      {"SetPointSize", [](CRect& r) { r.SetPointSize(CPoint(1, 1), CSize(2, 3)); }, {1, 1, 3, 4}},
      {"SetRect", [](CRect& r) { r.SetRect(CRect(4, 3, 2, 1)); }, {4, 3, 2, 1}},
      {"Offset", [](CRect& r) { r.Offset(CPoint(-10, 5)); }, {0, 15, 20, 45}},
      {"MoveTo", [](CRect& r) { r.MoveTo(CPoint(0, 0)); }, {0, 0, 20, 30}},
  };
  for (const Case& c : cases) {
    CWatchedRect r;
    r.SetCorners(10, 10, 30, 40);
    r.corners = 0;
    c.change(r);
    ExpectCorners(r, c.expected, c.what);
    EXPECT_EQ(r.corners, 1) << c.what;
  }
}

TEST(CRect, DirectChangesBypassTheOwner) {
  CWatchedRect r;
  r.SetCorners(10, 10, 30, 40);
  r.corners = 0;
  r.AdjustEdges(1, 2, -3, -4);
  ExpectCorners(r, {11, 12, 27, 36}, "AdjustEdges");
  r.ResizeWidth(100);
  r.ResizeHeight(0.5);
  ExpectCorners(r, {11, 12, 111, 12.5}, "Resize");
  r.Normalize();
  EXPECT_EQ(r.corners, 0);

  CRect mirrored(10, 10, 4, 20);
  mirrored.Normalize();
  ExpectCorners(mirrored, {4, 10, 10, 20}, "Normalize");
}

TEST(CRect, ContainsIsInclusiveAndIgnoresCornerOrder) {
  struct Case {
    long double x, y;
    bool inside;
  } cases[] = {
      {10, 10, true},       // top-left corner
      {30, 40, true},       // bottom-right corner
      {30, 25, true},       // right edge
      {20, 40, true},       // bottom edge
      {30.001, 25, false},  // just right of it
      {20, 40.001, false}, {9.999, 20, false}, {20, 25, true},
  };
  const CRect ordered(10, 10, 30, 40);
  const CRect mirrored(30, 40, 10, 10);
  for (const Case& c : cases) {
    EXPECT_EQ(bool(ordered.Contains(CPoint(c.x, c.y))), c.inside) << c.x << "," << c.y;
    EXPECT_EQ(bool(mirrored.Contains(CPoint(c.x, c.y))), c.inside) << c.x << "," << c.y;
  }
  EXPECT_TRUE(ordered.Contains(CRect(30, 40, 10, 10)));  // itself, mirrored
  EXPECT_TRUE(mirrored.Contains(CRect(11, 11, 29, 39)));
  EXPECT_FALSE(ordered.Contains(CRect(11, 11, 31, 39)));
  // Neither side is changed by the test.
  ExpectCorners(mirrored, {30, 40, 10, 10}, "after Contains");
}

TEST(CRect, HalfSizeIsTheCentreFromTheTopLeft) {
  const CPoint a = CRect(10, 20, 30, 60).HalfSize();
  EXPECT_EQ(a.X.Value, 10);
  EXPECT_EQ(a.Y.Value, 20);
  const CPoint b = CRect(30, 60, 10, 20).HalfSize();
  EXPECT_EQ(b.X.Value, 10);
  EXPECT_EQ(b.Y.Value, 20);
}

TEST(CRect, RecordRoundTripsThroughTheOwnersSetter) {
  CRect written(1.25L, -2, 300, 4e-3L);
  CMemory stream;
  written.WriteTo(stream);
  // Two points of two named floats each: (4 + 10) * 4 bytes.
  EXPECT_EQ(stream.GetSize().Value, 56);
  ExpectCorners(written, {1.25L, -2, 300, 4e-3L}, "written");

  stream.SetPosition(0);
  CWatchedRect read;
  read.corners = 0;
  read.ReadFrom(stream);
  ExpectCorners(read, {1.25L, -2, 300, 4e-3L}, "read");
  EXPECT_EQ(read.corners, 1);
}

TEST(CPoint, ArithmeticAndRecord) {
  CPoint p(1, 2);
  p.Add(CPoint(10, 20));
  p.Sub(CPoint(0.5, 0.5));
  EXPECT_EQ(p.X.Value, 10.5L);
  EXPECT_EQ(p.Y.Value, 21.5L);
  EXPECT_EQ(p.ClassName(), "CPoint");

  CMemory stream;
  p.WriteTo(stream);
  stream.SetPosition(0);
  CPoint q;
  q.ReadFrom(stream);
  EXPECT_TRUE(q == p);
}

TEST(CColor, BytesAndRecord) {
  CColor c;
  EXPECT_TRUE(c == CColor(0, 0, 0));
  c.SetBytes(255, 0, 128);
  EXPECT_EQ(c.R.Value, 1.0L);
  EXPECT_EQ(c.G.Value, 0.0L);
  EXPECT_EQ(c.B.Value, 128.0L / 255.0L);
  EXPECT_NEAR(static_cast<double>(c.B.Value), 0.50196, 1e-5);

  CMemory stream;
  c.WriteTo(stream);
  stream.SetPosition(0);
  CColor d;
  d.ReadFrom(stream);
  EXPECT_TRUE(d == c);
  EXPECT_EQ(d.ClassName(), "CColor");
}

TEST(GeometryValues, UnregisteredValuesAnswerTheirBaseName) {
  EXPECT_EQ(CSize().ClassName(), "CVar");
  EXPECT_EQ(CShiftStateSet().ClassName(), "CVar");
  EXPECT_EQ(CRect().ClassName(), "CRect");
  const CShiftStateSet shift;
  EXPECT_FALSE(shift.Shift || shift.Alt || shift.Ctrl);
}
