// A picture in memory: what window buffers, memory bitmaps and the window's own image are.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// 0x00RRGGBB, one 32-bit word a pixel, rows from the top.
using Pixel = std::uint32_t;

constexpr Pixel MakePixel(int r, int g, int b) {
  return (static_cast<Pixel>(r & 0xFF) << 16) | (static_cast<Pixel>(g & 0xFF) << 8) |
         static_cast<Pixel>(b & 0xFF);
}

struct Surface {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;  // width * height

  Surface() = default;
  Surface(int w, int h, Pixel fill = 0xFFFFFF)
      : width(w > 0 ? w : 0), height(h > 0 ? h : 0), pixels(size_t(width) * height, fill) {}

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Pixel* Row(int y) { return pixels.data() + size_t(y) * width; }
  const Pixel* Row(int y) const { return pixels.data() + size_t(y) * width; }
  Pixel At(int x, int y) const { return Contains(x, y) ? Row(y)[x] : 0; }
};

}  // namespace platform
