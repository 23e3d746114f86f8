#include "platform/draw/DrawContext.h"

#include "platform/draw/Raster.h"

namespace platform {

DrawContext::DrawContext(Surface* target) : target_(target) {
  SelectPen(Pen{});
  SelectBrush(Brush::Solid(0xFFFFFF));
}

void DrawContext::SetClip(const Rect& region) {
  region_ = raster::Limit(region).Normalized();
}

Rect DrawContext::ClipBox() const {
  if (!target_ || target_->width <= 0 || target_->height <= 0) return {};
  // A surface whose pixel store does not match its size is drawn as empty, never overrun.
  if (!target_->Whole()) return {};
  const Rect whole{0, 0, target_->width, target_->height};
  return region_ ? whole.Intersect(*region_) : whole;
}

}  // namespace platform
