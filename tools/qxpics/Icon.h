// The application's icon for the desktop's icon theme: a picture of the environment enlarged by
// whole pixels, its background made see-through, written as PNG (the theme reads no BMP).
// Header-only, so the tests can call it without the converter's main.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/qxpics/PixelMap.h"

namespace qxpics {

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(Rgba, Rgba) = default;
};

struct Icon {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;  // rows from the top

  Rgba At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// The map `factor` times larger, each pixel a factor x factor block. The background is the
// colour of the top-left pixel wherever it reaches the border without crossing another colour:
// it becomes transparent, and the same colour inside the drawing stays.
inline Icon MakeIcon(const PixelMap& map, int factor) {
  const int w = map.width;
  const int h = map.height;
  std::vector<bool> clear(std::size_t(w) * h, false);
  if (w > 0 && h > 0) {
    const Rgb background = map.At(0, 0);
    std::vector<int> todo;
    auto visit = [&](int x, int y) {
      const std::size_t at = std::size_t(y) * w + x;
      if (!clear[at] && map.At(x, y) == background) {
        clear[at] = true;
        todo.push_back(int(at));
      }
    };
    for (int x = 0; x < w; ++x) visit(x, 0), visit(x, h - 1);
    for (int y = 0; y < h; ++y) visit(0, y), visit(w - 1, y);
    while (!todo.empty()) {
      const int at = todo.back();
      todo.pop_back();
      const int x = at % w;
      const int y = at / w;
      if (x > 0) visit(x - 1, y);
      if (x + 1 < w) visit(x + 1, y);
      if (y > 0) visit(x, y - 1);
      if (y + 1 < h) visit(x, y + 1);
    }
  }
  Icon icon{w * factor, h * factor, {}};
  icon.pixels.reserve(std::size_t(icon.width) * icon.height);
  for (int y = 0; y < icon.height; ++y)
    for (int x = 0; x < icon.width; ++x) {
      const int sx = x / factor;
      const int sy = y / factor;
      const Rgb p = map.At(sx, sy);
      icon.pixels.push_back({p.r, p.g, p.b, std::uint8_t(clear[std::size_t(sy) * w + sx] ? 0 : 255)});
    }
  return icon;
}

namespace detail {

inline std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t size, std::uint32_t crc = 0) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

inline void Chunk(std::vector<std::uint8_t>& out, std::string_view type,
                  const std::vector<std::uint8_t>& data) {
  Put32(out, std::uint32_t(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  Put32(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace detail

// PNG, 8-bit RGBA, not interlaced. The image data is a zlib stream of stored (uncompressed)
// blocks: an icon is a few hundred kilobytes at most, and no compressor is needed to write it.
inline std::vector<std::uint8_t> EncodePng(const Icon& icon) {
  std::vector<std::uint8_t> raw;  // each row: filter type 0, then its pixels
  raw.reserve(std::size_t(icon.height) * (1 + 4 * std::size_t(icon.width)));
  for (int y = 0; y < icon.height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < icon.width; ++x) {
      const Rgba p = icon.At(x, y);
      raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
    }
  }
  std::vector<std::uint8_t> zlib{0x78, 0x01};  // deflate, 32 KB window, no dictionary
  std::size_t done = 0;
  do {
    const std::size_t size = std::min<std::size_t>(raw.size() - done, 0xFFFF);
    const bool last = done + size == raw.size();
    zlib.insert(zlib.end(), {std::uint8_t(last ? 1 : 0), std::uint8_t(size), std::uint8_t(size >> 8),
                             std::uint8_t(~size), std::uint8_t(~size >> 8)});
    zlib.insert(zlib.end(), raw.begin() + std::ptrdiff_t(done),
                raw.begin() + std::ptrdiff_t(done + size));
    done += size;
  } while (done < raw.size());
  std::uint32_t a = 1, b = 0;  // Adler-32 of the raw data
  for (const std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  detail::Put32(zlib, (b << 16) | a);

  std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  detail::Put32(header, std::uint32_t(icon.width));
  detail::Put32(header, std::uint32_t(icon.height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, filter 0, no interlace
  detail::Chunk(out, "IHDR", header);
  detail::Chunk(out, "IDAT", zlib);
  detail::Chunk(out, "IEND", {});
  return out;
}

}  // namespace qxpics
