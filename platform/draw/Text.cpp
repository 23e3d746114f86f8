// Text: cells in the background colour when it is opaque, glyph coverage blended over the
// target in the text colour.
#include <algorithm>

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

Pixel Blend(Pixel under, Pixel over, unsigned alpha) {
  const unsigned rest = 255 - alpha;
  auto channel = [&](int shift) {
    const unsigned a = (over >> shift) & 0xFF, b = (under >> shift) & 0xFF;
    return ((a * alpha + b * rest + 127) / 255) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

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
  if (backMode_ == BackgroundMode::Opaque) ColorRect(cell, backColor_);

  const Pixel color = textColor_;
  for (int row = cell.top; row < cell.bottom; ++row) {
    const std::uint8_t* coverage =
        mask.coverage.data() + size_t(row - y) * mask.width + (cell.left - x);
    Pixel* target = target_->Row(row) + cell.left;
    for (int i = 0; i < cell.Width(); ++i) {
      const unsigned alpha = coverage[i];
      if (alpha == 255)
        target[i] = color;
      else if (alpha != 0)
        target[i] = Blend(target[i], color, alpha);
    }
  }
}

}  // namespace platform
