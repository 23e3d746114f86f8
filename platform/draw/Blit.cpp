// Pixels and block copies.
#include <cstring>

#include "platform/draw/DrawContext.h"
#include "platform/draw/Raster.h"

namespace platform {

void DrawContext::SetPixel(int x, int y, Pixel color) {
  if (!ClipBox().Contains(x, y)) return;
  Expose({x, y, x + 1, y + 1});
  target_->Row(y)[x] = color;
}

std::optional<Pixel> DrawContext::GetPixel(int x, int y) const {
  if (!ClipBox().Contains(x, y)) return std::nullopt;
  Expose({x, y, x + 1, y + 1});
  return target_->Row(y)[x];
}

// A source that defers fills puts in what waits first: its picture is read whole.
void DrawContext::BitBlt(int x, int y, int width, int height, const DrawContext& source,
                         int sourceX, int sourceY) {
  if (!source.target_) return;
  if (!source.waiting_.empty())
    source.Expose({0, 0, source.target_->width, source.target_->height});
  BitBlt(x, y, width, height, *source.target_, sourceX, sourceY);
}

void DrawContext::BitBlt(int x, int y, int width, int height, const Surface& source, int sourceX,
                         int sourceY) {
  const Rect clip = ClipBox();
  if (clip.Empty() || source.width <= 0 || source.height <= 0 || !source.Whole()) return;
  x = raster::Limit(x), y = raster::Limit(y);
  sourceX = raster::Limit(sourceX), sourceY = raster::Limit(sourceY);
  width = raster::Limit(width), height = raster::Limit(height);
  if (width < 0) x += width, sourceX += width, width = -width;
  if (height < 0) y += height, sourceY += height, height = -height;

  // The block in source coordinates, cut to the picture, then to the clip in our coordinates.
  const Rect fromBlock = Rect{sourceX, sourceY, sourceX + width, sourceY + height}.Intersect(
      {0, 0, source.width, source.height});
  if (fromBlock.Empty()) return;
  const int shiftX = x - sourceX, shiftY = y - sourceY;
  const Rect to = Rect{fromBlock.left + shiftX, fromBlock.top + shiftY, fromBlock.right + shiftX,
                       fromBlock.bottom + shiftY}
                      .Intersect(clip);
  if (to.Empty()) return;
  Expose(to);
  // Copying from this context's own picture reads what waits there too.
  if (&source == target_) Expose(fromBlock);

  // Whole rows of pictures of one width lie end to end: one copy for all of them (memmove keeps
  // an overlapping copy onto the same picture right).
  if (to.left == 0 && to.Width() == target_->width && source.width == target_->width &&
      source.Stride() == source.width && target_->Stride() == target_->width && shiftX == 0) {
    std::memmove(target_->Row(to.top), source.Row(to.top - shiftY),
                 size_t(to.Width()) * size_t(to.Height()) * sizeof(Pixel));
    return;
  }
  const size_t bytes = size_t(to.Width()) * sizeof(Pixel);
  auto copyRow = [&](int row) {
    std::memmove(target_->Row(row) + to.left, source.Row(row - shiftY) + (to.left - shiftX), bytes);
  };
  // Copying a picture onto itself downwards must start from the bottom row.
  if (&source == target_ && shiftY > 0) {
    for (int row = to.bottom - 1; row >= to.top; --row) copyRow(row);
  } else {
    for (int row = to.top; row < to.bottom; ++row) copyRow(row);
  }
}

}  // namespace platform
