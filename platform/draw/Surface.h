// A picture in memory: what window buffers, memory bitmaps and the window's own image are.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace platform {

// 0x00RRGGBB, one 32-bit word a pixel, rows from the top.
using Pixel = std::uint32_t;

constexpr Pixel MakePixel(int r, int g, int b) {
  return (static_cast<Pixel>(r & 0xFF) << 16) | (static_cast<Pixel>(g & 0xFF) << 8) |
         static_cast<Pixel>(b & 0xFF);
}

// A surface's pixels. A large picture made black is not written at all: its memory is mapped
// from the kernel, which clears each page on first touch, so the pages of a screen-sized buffer
// no one draws on cost nothing. (The heap would hand out memory it has to clear itself.)
class Pixels {
 public:
  using value_type = Pixel;
  using iterator = Pixel*;
  using const_iterator = const Pixel*;

  Pixels() = default;
  Pixels(size_t count, Pixel fill) { Make(count, fill); }
  Pixels(std::initializer_list<Pixel> list) { *this = list; }
  Pixels(const Pixels& other) { *this = other; }
  Pixels(Pixels&& other) noexcept { Swap(other); }
  ~Pixels() { Free(); }
  Pixels& operator=(const Pixels& other) {
    if (this != &other) Copy(other.data_, other.size_);
    return *this;
  }
  Pixels& operator=(Pixels&& other) noexcept {
    Pixels gone(std::move(other));
    Swap(gone);
    return *this;
  }
  Pixels& operator=(std::initializer_list<Pixel> list) {
    Copy(list.begin(), list.size());
    return *this;
  }
  void assign(size_t count, Pixel fill) { Make(count, fill); }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  Pixel* data() { return data_; }
  const Pixel* data() const { return data_; }
  Pixel& operator[](size_t i) { return data_[i]; }
  const Pixel& operator[](size_t i) const { return data_[i]; }
  Pixel* begin() { return data_; }
  Pixel* end() { return data_ + size_; }
  const Pixel* begin() const { return data_; }
  const Pixel* end() const { return data_ + size_; }

  friend bool operator==(const Pixels& a, const Pixels& b) {
    return a.size_ == b.size_ && std::equal(a.begin(), a.end(), b.begin());
  }
  friend bool operator==(const Pixels& a, const std::vector<Pixel>& b) {
    return a.size_ == b.size() && std::equal(a.begin(), a.end(), b.begin());
  }
  operator std::vector<Pixel>() const { return {begin(), end()}; }

 private:
  static constexpr size_t kMapFrom = 256 << 10;  // bytes

  void Swap(Pixels& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(mapped_, other.mapped_);
  }
  void Free() noexcept;
  void Make(size_t count, Pixel fill);
  void Copy(const Pixel* from, size_t count);

  Pixel* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
};

struct Surface {
  int width = 0;
  int height = 0;
  // Pixels from the start of one row to the next where that is more than width (see Spread).
  int stride = 0;
  Pixels pixels;  // Stride() * height

  Surface() = default;
  Surface(int w, int h, Pixel fill = 0xFFFFFF) : Surface(w, h, fill, 0) {}
  Surface(int w, int h, Pixel fill, int rowStride)
      : width(w > 0 ? w : 0),
        height(h > 0 ? h : 0),
        stride(rowStride > width ? rowStride : 0),
        pixels(size_t(Stride()) * height, fill) {}

  // A picture whose rows lie a little further apart than its width when the width is a power of
  // two or any even number of cache lines: rows exactly that far apart share the processor's
  // cache sets, so a column drawn down such a picture (every frame's vertical lines) keeps
  // evicting itself. For the large pictures everything is drawn into.
  static Surface Spread(int w, int h, Pixel fill) {
    constexpr int kLine = 64 / sizeof(Pixel);  // pixels in a cache line
    const int lines = w > 0 ? (w + kLine - 1) / kLine : 0;
    return Surface(w, h, fill, (lines % 2 == 0 && lines ? lines + 1 : lines) * kLine);
  }

  int Stride() const { return stride > width ? stride : width; }
  // Whether the pixel store holds every row: a surface whose store does not match its size is
  // drawn as empty, never overrun.
  bool Whole() const { return pixels.size() >= size_t(Stride()) * size_t(height); }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Pixel* Row(int y) { return pixels.data() + size_t(y) * Stride(); }
  const Pixel* Row(int y) const { return pixels.data() + size_t(y) * Stride(); }
  Pixel At(int x, int y) const { return Contains(x, y) ? Row(y)[x] : 0; }
};

}  // namespace platform
