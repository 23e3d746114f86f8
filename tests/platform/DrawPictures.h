// Small pictures of pixels for the drawing tests: a surface region as rows of characters, one
// character a pixel, chosen by colour from a legend ('?' for a colour the legend lacks).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/draw/Geometry.h"
#include "platform/draw/Surface.h"

namespace qxtest {

using platform::Pixel;

constexpr Pixel kPaper = 0xFFFFFF;
constexpr Pixel kInk = 0x000000;
constexpr Pixel kRed = 0xFF0000;
constexpr Pixel kGreen = 0x00FF00;
constexpr Pixel kBlue = 0x0000FF;

inline std::string Picture(const platform::Surface& s, const std::map<Pixel, char>& legend,
                           platform::Rect area = {}) {
  if (area.Empty()) area = {0, 0, s.width, s.height};
  std::string out;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const auto it = legend.find(s.At(x, y));
      out += it == legend.end() ? '?' : it->second;
    }
    out += '\n';
  }
  return out;
}

// Ink '#' on paper '.'.
inline std::string Picture(const platform::Surface& s, platform::Rect area = {}) {
  return Picture(s, {{kInk, '#'}, {kPaper, '.'}}, area);
}

// Rows given one string each, joined as Picture writes them.
inline std::string Rows(const std::vector<std::string>& rows) {
  std::string out;
  for (const std::string& row : rows) out += row + '\n';
  return out;
}

}  // namespace qxtest
