// What the drawing modules share: the coordinate limit, the line walk and the ellipse rows.
// Internal to platform/draw.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cwchar>

#include "platform/draw/Geometry.h"
#include "platform/draw/Surface.h"

namespace platform::raster {

// Device coordinates are cut to 27 bits, as the platform does; it keeps every product of two
// coordinates inside 64 bits and bounds the work any call can ask for.
constexpr int kCoordLimit = 1 << 27;

inline int Limit(int v) {
  return std::clamp(v, -kCoordLimit, kCoordLimit);
}
inline Point Limit(Point p) {
  return {Limit(p.x), Limit(p.y)};
}
inline Rect Limit(const Rect& r) {
  return {Limit(r.left), Limit(r.top), Limit(r.right), Limit(r.bottom)};
}

// count pixels of one colour from at. wchar_t is a 32-bit word here, so the C library's wmemset
// does it with the widest stores the processor has; a few pixels are not worth the call.
inline void FillPixels(Pixel* at, size_t count, Pixel color) {
  static_assert(sizeof(wchar_t) == sizeof(Pixel));
  if (count < 8) {
    for (size_t i = 0; i < count; ++i) at[i] = color;
    return;
  }
  std::wmemset(reinterpret_cast<wchar_t*>(at), static_cast<wchar_t>(color), count);
}

// The rows top..bottom (exclusive) of the columns left..right of surface, in one colour; the area
// lies inside the surface. Whole rows lie end to end in memory and take one fill; the columns of
// a line or a bevel take one store a row, stepping down the rows.
inline void FillBlock(Surface& surface, int left, int top, int right, int bottom, Pixel color) {
  const size_t width = size_t(right - left), stride = size_t(surface.Stride());
  if (top >= bottom || width == 0) return;
  Pixel* row = surface.Row(top) + left;
  if (width == stride) {
    FillPixels(row, width * size_t(bottom - top), color);
    return;
  }
  if (width == 1) {
    for (int y = top; y < bottom; ++y, row += stride) *row = color;
    return;
  }
  for (int y = top; y < bottom; ++y, row += stride) FillPixels(row, width, color);
}

// Visits the pixels of the thin line from a towards b, b itself excluded, that lie inside
// clip: plot(x, y, step) with step the pixel's index along the line (0 for a). The minor
// coordinate of step i is a + round(i * minor / major), halves rounded away from a. Only the
// steps inside the clip's span of the major axis are walked, so a long line costs no more than
// the clip is wide.
template <class Plot>
void WalkLine(Point a, Point b, const Rect& clip, Plot&& plot) {
  const std::int64_t dx = std::int64_t(b.x) - a.x;
  const std::int64_t dy = std::int64_t(b.y) - a.y;
  const std::int64_t adx = std::llabs(dx);
  const std::int64_t ady = std::llabs(dy);
  const bool xMajor = adx >= ady;
  const std::int64_t major = xMajor ? adx : ady;
  const std::int64_t minor = xMajor ? ady : adx;
  if (major == 0 || clip.Empty()) return;

  const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t majorStart = xMajor ? a.x : a.y;
  const std::int64_t minorStart = xMajor ? a.y : a.x;
  const std::int64_t majorLo = xMajor ? clip.left : clip.top;
  const std::int64_t majorHi = xMajor ? clip.right : clip.bottom;  // exclusive
  const std::int64_t minorLo = xMajor ? clip.top : clip.left;
  const std::int64_t minorHi = xMajor ? clip.bottom : clip.right;

  // Steps i in [first, last) whose major coordinate majorStart + majorStep * i is in the clip.
  std::int64_t first = 0, last = major;
  if (majorStep > 0) {
    first = std::max(first, majorLo - majorStart);
    last = std::min(last, majorHi - majorStart);
  } else {
    first = std::max(first, majorStart - majorHi + 1);
    last = std::min(last, majorStart - majorLo + 1);
  }
  if (first >= last) return;

  const std::int64_t twoMajor = 2 * major;
  const std::int64_t start = 2 * first * minor + major;
  std::int64_t offset = start / twoMajor;
  std::int64_t rest = start % twoMajor;
  for (std::int64_t i = first; i < last; ++i) {
    const std::int64_t m = majorStart + majorStep * i;
    const std::int64_t n = minorStart + minorStep * offset;
    if (n >= minorLo && n < minorHi) {
      if (xMajor)
        plot(int(m), int(n), i);
      else
        plot(int(n), int(m), i);
    }
    rest += 2 * minor;
    if (rest >= twoMajor) {
      rest -= twoMajor;
      ++offset;
    }
  }
}

// The filled ellipse inscribed in a box: row j (0 at the box's top) covers the pixels
// [left + Trim(j), right - Trim(j)). A pixel is inside when its centre is inside the ellipse
// that touches the box's outer edges; the middle rows always reach the box's sides and every
// row keeps at least its middle pixel, so the figure touches all four sides of its box. Rows
// are computed from the distance to the middle, so the figure is symmetric both ways.
class EllipseRows {
 public:
  explicit EllipseRows(const Rect& box) : box_(box) {}

  const Rect& Box() const { return box_; }

  int Trim(std::int64_t j) const {
    const std::int64_t w = box_.Width(), h = box_.Height();
    if (j == (h - 1) / 2 || j == h / 2) return 0;
    const double a = double(w) / 2, b = double(h) / 2;
    const double dy = std::fabs(b - double(j) - 0.5) / b;
    const double dx = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    const double trim = std::ceil(a - dx - 0.5);
    return int(std::clamp<double>(trim, 0, double((w - 1) / 2)));
  }

  // The pixels of row y as [x0, x1); x0 == x1 when y is outside the box.
  void Span(int y, int& x0, int& x1) const {
    if (y < box_.top || y >= box_.bottom) {
      x0 = x1 = 0;
      return;
    }
    const int k = Trim(std::int64_t(y) - box_.top);
    x0 = box_.left + k;
    x1 = box_.right - k;
  }

 private:
  Rect box_;
};

}  // namespace platform::raster
