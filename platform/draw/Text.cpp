// Text: cells in the background colour when it is opaque, glyph coverage blended over the
// target in the text colour.
#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "platform/draw/DrawContext.h"
#include "platform/draw/Font.h"
#include "platform/draw/Raster.h"

namespace platform {
namespace {

// What a context draws with before a font is selected: a bold 16-pixel sans, like the
// platform's system font.
const Font* SystemFont() {
  static const LogicalFont kSystem{16, 0, 700, false, false, false, false, "System"};
  return OpenFont(kSystem);
}

constexpr std::int64_t kPieceBytes = std::int64_t(1) << 22;

// Each channel is (over * alpha + under * (255 - alpha)) / 255, rounded to nearest. Red and blue
// are worked together, a 16-bit half each: neither half can carry into the other, and for every
// v up to 255 * 255 + 127, (v + 1 + (v >> 8)) >> 8 is exactly v / 255.
Pixel Blend(Pixel under, Pixel over, unsigned alpha) {
  const unsigned rest = 255 - alpha;
  std::uint32_t rb = (under & 0xFF00FF) * rest + (over & 0xFF00FF) * alpha + 0x7F007F;
  std::uint32_t g = ((under >> 8) & 0xFF) * rest + ((over >> 8) & 0xFF) * alpha + 0x7F;
  rb = ((rb + 0x10001 + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
  g = (g + 1 + (g >> 8)) >> 8;
  return rb | (g << 8);
}

// Eight pixels at once, each 32-bit pixel seen as two 16-bit lanes: blue and red in one word,
// green and the unused top byte in the other. Every sum of Blend fits a 16-bit lane. These
// vectors never cross a call (everything taking them is inlined), so GCC's note that passing
// them changed ABI long ago does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"
using Pixels8 = std::uint32_t __attribute__((vector_size(32)));
using Lanes16 = std::uint16_t __attribute__((vector_size(32)));
using Bytes8 = std::uint8_t __attribute__((vector_size(8)));

[[gnu::always_inline]] inline Lanes16 Mix(Lanes16 under, Lanes16 over, Lanes16 alpha) {
  const Lanes16 v = over * alpha + under * (255 - alpha) + 127;
  return (v + 1 + (v >> 8)) >> 8;
}

// Eight pixels whose coverage is alpha: bare pixels stay as they are, full ones take the colour
// exactly, the rest blend as Blend does; without branches.
// alpha comes by reference: Clang refuses a 256-bit vector passed by value from the AVX2 caller.
[[gnu::always_inline]] inline void BlendEight(Pixel* target, const Pixels8& alpha, Pixel color) {
  const Pixels8 colors = Pixels8{} + color;
  Pixels8 under;
  std::memcpy(&under, target, sizeof under);
  const Lanes16 alphas = Lanes16(alpha * 0x10001);
  const Pixels8 rb = Pixels8(Mix(Lanes16(under & 0xFF00FF), Lanes16(colors & 0xFF00FF), alphas));
  const Pixels8 g =
      Pixels8(Mix(Lanes16((under >> 8) & 0xFF), Lanes16((colors >> 8) & 0xFF), alphas));
  const Pixels8 bare = Pixels8(alpha == 0), full = Pixels8(alpha == 255);
  const Pixels8 mixed = (rb & 0xFF00FF) | ((g & 0xFF) << 8);
  const Pixels8 out = (under & bare) | (colors & full) | (mixed & ~(bare | full));
  std::memcpy(target, &out, sizeof out);
}

[[gnu::always_inline]] inline void BlendTail(Pixel* target, const std::uint8_t* coverage, int count,
                                             Pixel color) {
  for (int i = 0; i < count; ++i) {
    const unsigned alpha = coverage[i];
    if (alpha == 255)
      target[i] = color;
    else if (alpha != 0)
      target[i] = Blend(target[i], color, alpha);
  }
}

// One row of a text, eight pixels a step.
void BlendRowPlain(Pixel* target, const std::uint8_t* coverage, int count, Pixel color) {
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    Bytes8 bytes;
    std::memcpy(&bytes, coverage + i, sizeof bytes);
    std::uint64_t word;
    std::memcpy(&word, &bytes, sizeof word);
    if (word == 0) continue;  // a gap between letters: nothing to read or write
    BlendEight(target + i, __builtin_convertvector(bytes, Pixels8), color);
  }
  BlendTail(target + i, coverage + i, count - i, color);
}

#if defined(__x86_64__)
// The same with AVX2, which widens eight coverage bytes in one instruction.
__attribute__((target("avx2"))) void BlendRowAvx2(Pixel* target, const std::uint8_t* coverage,
                                                  int count, Pixel color) {
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, coverage + i, sizeof word);
    if (word == 0) continue;  // a gap between letters: nothing to read or write
    const __m128i bytes = _mm_cvtsi64_si128(std::int64_t(word));
    BlendEight(target + i, Pixels8(_mm256_cvtepu8_epi32(bytes)), color);
  }
  BlendTail(target + i, coverage + i, count - i, color);
}
#endif

using BlendRowFn = void (*)(Pixel*, const std::uint8_t*, int, Pixel);

BlendRowFn ChooseBlendRow() {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("avx2")) return &BlendRowAvx2;
#endif
  return &BlendRowPlain;
}

const BlendRowFn BlendRow = ChooseBlendRow();

}  // namespace

Size DrawContext::TextExtent(std::string_view cp1251) const {
  const Font* font = font_ ? font_ : SystemFont();
  return font ? font->Extent(cp1251) : Size{};
}

void DrawContext::TextOut(int x, int y, std::string_view cp1251) {
  clip_ = ClipBox();
  const Font* font = font_ ? font_ : SystemFont();
  if (clip_.Empty() || !font || cp1251.empty()) return;
  x = raster::Limit(x), y = raster::Limit(y);

  // A text drawn before is drawn from its picture, without measuring or converting it again.
  // Its size is its extent, so it is the picture the test below would choose too.
  if (const TextMask* mask = font->Rendered(cp1251);
      mask && (std::int64_t(mask->width) * mask->height <= kPieceBytes || cp1251.size() < 2)) {
    DrawMask(*mask, x, y);
    return;
  }

  // A text whose picture would be large (a long line in a big font) is drawn in pieces of about
  // kPieceBytes, one cp1251 byte a character, and only the pieces that reach into the clip are
  // rendered at all.
  const Size extent = font->Extent(cp1251);
  const std::int64_t bytes = std::int64_t(extent.width) * extent.height;
  if (bytes <= kPieceBytes || cp1251.size() < 2) {
    DrawMask(font->Render(cp1251), x, y);
    return;
  }
  const size_t piece =
      std::max<size_t>(1, size_t(std::int64_t(cp1251.size()) * kPieceBytes / bytes));
  std::int64_t at = x;
  for (size_t i = 0; i < cp1251.size() && at < clip_.right; i += piece) {
    const std::string_view part = cp1251.substr(i, piece);
    const int width = font->Extent(part).width;
    if (at + width > clip_.left) DrawMask(font->Render(part), int(at), y);
    at += width;
  }
}

void DrawContext::DrawMask(const TextMask& mask, int x, int y) {
  const Rect cell = Rect{x, y, x + mask.width, y + mask.height}.Intersect(clip_);
  if (cell.Empty()) return;
  Expose(cell);
  if (backMode_ == BackgroundMode::Opaque) {
    const bool wasDirect = direct_;
    direct_ = true;
    ColorRect(cell, backColor_);
    direct_ = wasDirect;
  }

  const Pixel color = textColor_;
  const int firstRow = cell.top - y, endRow = cell.bottom - y;
  auto run = std::lower_bound(mask.runs.begin(), mask.runs.end(), firstRow,
                              [](const TextMask::Run& r, int row) { return r.row < row; });
  for (; run != mask.runs.end() && run->row < endRow; ++run) {
    const int left = std::max(x + run->left, cell.left),
              right = std::min(x + run->right, cell.right);
    if (left >= right) continue;
    const std::uint8_t* coverage =
        mask.coverage.data() + size_t(run->row) * size_t(mask.width) + size_t(left - x);
    BlendRow(target_->Row(y + run->row) + left, coverage, right - left, color);
  }
}

}  // namespace platform
