// Brushes and rectangles: the span function is chosen when a brush is selected; every fill is
// cut to the clip once and then handed to it a row at a time.
#include <algorithm>

#include "platform/draw/DrawContext.h"
#include "platform/draw/Raster.h"

namespace platform {
namespace {

// The platform's 8 x 8 hatches, one byte a row from the top, bit 7 the leftmost pixel.
constexpr std::uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

// What is left of a after taking out b (which it meets): up to four bands, handed to keep.
template <class Keep>
void Subtract(const Rect& a, const Rect& b, Keep&& keep) {
  if (a.top < b.top) keep(Rect{a.left, a.top, a.right, b.top});
  if (b.bottom < a.bottom) keep(Rect{a.left, b.bottom, a.right, a.bottom});
  const int top = std::max(a.top, b.top), bottom = std::min(a.bottom, b.bottom);
  if (a.left < b.left) keep(Rect{a.left, top, b.left, bottom});
  if (b.right < a.right) keep(Rect{b.right, top, a.right, bottom});
}

// A piece this thin or small (what a line across a face leaves at its ends, the gaps between
// buttons) is drawn at once rather than kept: no later face is likely to hide it, and keeping it
// would only lengthen the list every later drawing looks through.
bool Sliver(const Rect& r) {
  return r.Width() <= 2 || r.Height() <= 2 || r.Width() * r.Height() <= 1024;
}

// More waiting pieces than this cost more to keep apart than their overdraw would.
constexpr size_t kMaxWaiting = 256;

bool UsablePicture(const Surface* picture) {
  return picture && picture->width > 0 && picture->height > 0 && picture->Whole();
}

}  // namespace

void DrawContext::SelectBrush(const Brush& brush) {
  brush_ = brush;
  brushColor_ = brush.color;
  switch (brush.kind) {
    case Brush::Kind::Solid:
      span_ = &DrawContext::SpanSolid;
      break;
    case Brush::Kind::Hatched:
      if (brush.hatch >= 0 && brush.hatch < 6) {
        std::copy(std::begin(kHatches[brush.hatch]), std::end(kHatches[brush.hatch]), hatchBits_);
        span_ = &DrawContext::SpanHatch;
      } else {
        span_ = &DrawContext::SpanSolid;
      }
      break;
    case Brush::Kind::Pattern:
      // A brush from an empty picture paints nothing, like a brush that could not be made.
      span_ = UsablePicture(brush.pattern.get()) ? &DrawContext::SpanPattern : nullptr;
      break;
    case Brush::Kind::Hollow:
      span_ = nullptr;
      break;
  }
}

void DrawContext::DeferFills(bool on) {
  if (!on) Flush();
  deferring_ = on;
}

void DrawContext::Flush() {
  for (const WaitingFill& fill : waiting_) PutIn(fill.area, fill.color);
  waiting_.clear();
}

// Cut to the surface as it is now: its owner may have resized it while the fill waited.
void DrawContext::PutIn(const Rect& r, Pixel color) const {
  if (!target_ || !target_->Whole()) return;
  const Rect area = r.Intersect({0, 0, target_->width, target_->height});
  raster::FillBlock(*target_, area.left, area.top, area.right, area.bottom, color);
}

// Putting a waiting fill in early is always right: nothing has drawn on its pixels since it was
// asked for, or it would have been put in then.
void DrawContext::Split(const Rect& cut, bool drawCut) const {
  // Backwards, so a fill taken out can give its place to the last one: the order of waiting fills
  // does not matter, they never overlap. The pieces added at the end lie outside the cut.
  for (size_t i = waiting_.size(); i-- > 0;) {
    // Most waiting fills lie elsewhere: they are looked at in place, and only one that meets the
    // cut is copied out (the list changes under it below).
    const Rect& area = waiting_[i].area;
    if (area.left >= cut.right || cut.left >= area.right || area.top >= cut.bottom ||
        cut.top >= area.bottom)
      continue;
    const WaitingFill fill = waiting_[i];
    Rect part = fill.area.Intersect(cut);
    if (drawCut) {
      // What is drawn over a face is mostly text and pictures along its rows, or lines along its
      // edges: the whole band of the face they cross goes in, so their ends leave no pieces.
      if (part.Width() >= part.Height())
        part.left = fill.area.left, part.right = fill.area.right;
      else
        part.top = fill.area.top, part.bottom = fill.area.bottom;
      PutIn(part, fill.color);
    }
    Subtract(fill.area, part, [&](const Rect& piece) {
      if (Sliver(piece))
        PutIn(piece, fill.color);
      else
        waiting_.push_back({piece, fill.color});
    });
    waiting_[i] = waiting_.back();
    waiting_.pop_back();
  }
}

void DrawContext::SpanSolid(const DrawContext& dc, Pixel* row, int, int x0, int x1) {
  raster::FillPixels(row + x0, size_t(x1 - x0), dc.brushColor_);
}

void DrawContext::SpanHatch(const DrawContext& dc, Pixel* row, int y, int x0, int x1) {
  const unsigned bits = dc.hatchBits_[y & 7];
  const Pixel color = dc.brushColor_;
  if (dc.backMode_ == BackgroundMode::Opaque) {
    const Pixel back = dc.backColor_;
    for (int x = x0; x < x1; ++x) row[x] = (bits & (0x80u >> (x & 7))) ? color : back;
  } else {
    for (int x = x0; x < x1; ++x)
      if (bits & (0x80u >> (x & 7))) row[x] = color;
  }
}

void DrawContext::SpanPattern(const DrawContext& dc, Pixel* row, int y, int x0, int x1) {
  const Surface& picture = *dc.brush_.pattern;
  const Pixel* source = picture.Row(y % picture.height);
  int sx = x0 % picture.width;
  for (int x = x0; x < x1; ++x) {
    row[x] = source[sx];
    if (++sx == picture.width) sx = 0;
  }
}

void DrawContext::BrushSpan(int y, int x0, int x1) {
  if (!span_ || y < clip_.top || y >= clip_.bottom) return;
  x0 = std::max(x0, clip_.left);
  x1 = std::min(x1, clip_.right);
  if (x0 < x1) span_(*this, target_->Row(y), y, x0, x1);
}

void DrawContext::BrushRect(const Rect& r) {
  if (!span_) return;
  if (span_ == &DrawContext::SpanSolid) {
    ColorRect(r, brushColor_);
    return;
  }
  const Rect area = r.Intersect(clip_);
  Expose(area);
  for (int y = area.top; y < area.bottom; ++y)
    span_(*this, target_->Row(y), y, area.left, area.right);
}

void DrawContext::ColorRect(const Rect& r, Pixel color) {
  const Rect area = r.Intersect(clip_);
  if (area.Empty()) return;
  if (deferring_ && !direct_) {
    Split(area, false);
    // A line or a small mark is drawn at once, over what it hid: waiting, it would only lengthen
    // the list.
    if (!Sliver(area)) {
      waiting_.push_back({area, color});
      if (waiting_.size() > kMaxWaiting) Flush();
      return;
    }
  }
  raster::FillBlock(*target_, area.left, area.top, area.right, area.bottom, color);
}

void DrawContext::FillRect(const Rect& r) {
  clip_ = ClipBox();
  BrushRect(raster::Limit(r).Normalized());
}

void DrawContext::Rectangle(int left, int top, int right, int bottom) {
  clip_ = ClipBox();
  Rect box = raster::Limit(Rect{left, top, right, bottom}).Normalized();
  if (box.Empty() || clip_.Empty()) return;

  // Without a pen the brush covers one pixel less on the right and at the bottom: the place
  // the pen's right and bottom edges would have taken.
  if (penKind_ == PenKind::Null) {
    BrushRect({box.left, box.top, box.right - 1, box.bottom - 1});
    return;
  }

  // The outline and the face are drawn at once, in their order, over what waits under them.
  Expose(StrokeBox({box.left, box.top}, {box.right - 1, box.bottom - 1}));
  const bool wasDirect = direct_;
  direct_ = true;
  const int width = penWidth_;
  if (pen_.style == Pen::kInsideFrame && width > 1) {
    const Rect inside{box.left + width / 2, box.top + width / 2, box.right - (width - 1) / 2,
                      box.bottom - (width - 1) / 2};
    // A box too small for the pen is all pen.
    if (inside.right - 1 <= inside.left || inside.bottom - 1 <= inside.top) {
      ColorRect(box, pen_.color);
      direct_ = wasDirect;
      return;
    }
    box = inside;
  }

  // The pen is centred on the edges from (left, top) to (right - 1, bottom - 1); the brush
  // fills what lies inside its inner edge.
  BrushRect({box.left + (width + 1) / 2, box.top + (width + 1) / 2, box.right - 1 - width / 2,
             box.bottom - 1 - width / 2});
  const Point corners[4] = {{box.right - 1, box.top},
                            {box.left, box.top},
                            {box.left, box.bottom - 1},
                            {box.right - 1, box.bottom - 1}};
  StrokeClosed(corners);
  direct_ = wasDirect;
}

}  // namespace platform
