// Whole-pixel geometry of the device context: device pixels, (0, 0) at the top-left of the
// surface. A rectangle's right and bottom edges are exclusive: {0, 0, 10, 10} covers the pixels
// 0..9 in both directions, as everywhere in this layer.
#pragma once

#include <algorithm>

namespace platform {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }

  // Swaps reversed corners, as the platform's own rectangle calls do.
  Rect Normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
  }

  // The common part; empty (all zero) when there is none.
  Rect Intersect(const Rect& o) const {
    const Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                 std::min(bottom, o.bottom)};
    return r.Empty() ? Rect{} : r;
  }

  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace platform
