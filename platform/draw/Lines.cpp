// Pens: choosing the segment function when a pen is selected, and the lines it draws.
//
// Thin pens (width 0 or 1) step pixel by pixel and leave out the end pixel of every segment, so
// a closed figure drawn as segments paints each corner once. Dashed styles count pixels along
// the figure from its start. Wide pens paint every pixel whose centre lies closer than half
// the width to the segment: round ends and round joins, as the platform's wide pens have.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/draw/DrawContext.h"
#include "platform/draw/Raster.h"

namespace platform {
namespace {

struct DashPattern {
  std::uint32_t mask;
  int period;
};

// On and off runs, starting with on, into one bit per pixel of the period.
constexpr DashPattern MakeDashes(std::initializer_list<int> runs) {
  std::uint32_t mask = 0;
  int at = 0;
  bool on = true;
  for (int run : runs) {
    for (int i = 0; i < run; ++i, ++at)
      if (on) mask |= std::uint32_t(1) << at;
    on = !on;
  }
  return {mask, at};
}

// Pen styles 1 to 4: the run lengths of the platform's one-pixel styled pens.
constexpr std::array<DashPattern, 4> kDashes = {
    MakeDashes({18, 6}),
    MakeDashes({3, 3}),
    MakeDashes({9, 6, 3, 6}),
    MakeDashes({9, 3, 3, 3, 3, 3}),
};

}  // namespace

void DrawContext::SelectPen(const Pen& pen) {
  pen_ = pen;
  penWidth_ = std::clamp(pen.width, 1, raster::kCoordLimit);
  dashMask_ = 1;
  dashPeriod_ = 1;
  int style = pen.style;
  if (style < Pen::kSolid || style > Pen::kInsideFrame) style = Pen::kSolid;
  if (style >= Pen::kDash && style <= Pen::kDashDotDot && penWidth_ > 1) style = Pen::kSolid;

  if (style == Pen::kNull) {
    penKind_ = PenKind::Null;
    stroke_ = &DrawContext::StrokeNone;
  } else if (style >= Pen::kDash && style <= Pen::kDashDotDot) {
    penKind_ = PenKind::Styled;
    stroke_ = &DrawContext::StrokeStyled;
    dashMask_ = kDashes[style - Pen::kDash].mask;
    dashPeriod_ = kDashes[style - Pen::kDash].period;
  } else if (penWidth_ > 1) {
    penKind_ = PenKind::Wide;
    stroke_ = &DrawContext::StrokeWide;
  } else {
    penKind_ = PenKind::Thin;
    stroke_ = &DrawContext::StrokeThin;
  }
}

void DrawContext::MoveTo(int x, int y) {
  position_ = raster::Limit(Point{x, y});
}

void DrawContext::LineTo(int x, int y) {
  const Point to = raster::Limit(Point{x, y});
  clip_ = ClipBox();
  dashPhase_ = 0;
  if (!clip_.Empty()) {
    if (!ThinRun(position_, to)) Expose(StrokeBox(position_, to));
    (this->*stroke_)(position_, to);
  }
  position_ = to;
}

// Thin and styled pens stay on the pixels between the ends; a wide pen reaches its width around
// them.
Rect DrawContext::StrokeBox(Point from, Point to) const {
  const int reach = penKind_ == PenKind::Wide ? penWidth_ + 1 : 0;
  const Rect box{std::min(from.x, to.x) - reach, std::min(from.y, to.y) - reach,
                 std::max(from.x, to.x) + 1 + reach, std::max(from.y, to.y) + 1 + reach};
  return box.Intersect(clip_);
}

void DrawContext::StrokeClosed(std::span<const Point> points) {
  dashPhase_ = 0;
  if (clip_.Empty()) return;
  for (size_t i = 0; i < points.size(); ++i)
    Expose(StrokeBox(points[i], points[(i + 1) % points.size()]));
  for (size_t i = 0; i < points.size(); ++i)
    (this->*stroke_)(points[i], points[(i + 1) % points.size()]);
}

void DrawContext::PenRun(int y, int x0, int x1) {
  if (y < clip_.top || y >= clip_.bottom) return;
  x0 = std::max(x0, clip_.left);
  x1 = std::min(x1, clip_.right);
  if (x0 < x1) raster::FillPixels(target_->Row(y) + x0, size_t(x1 - x0), pen_.color);
}

void DrawContext::PlotStyled(int x, int y, std::int64_t step) {
  if (DashOn(step))
    target_->Row(y)[x] = pen_.color;
  else if (backMode_ == BackgroundMode::Opaque)
    target_->Row(y)[x] = backColor_;
}

void DrawContext::StrokeNone(Point, Point) {}

bool DrawContext::ThinRun(Point from, Point to) const {
  return penKind_ == PenKind::Thin &&
         (from.y == to.y || from.x == to.x ||
          (std::abs(to.x - from.x) == 1 && std::abs(to.y - from.y) == 1));
}

// A row, a column or a single step (which draws its first pixel alone) is a solid rectangle of the
// pen's colour, drawn as a fill: while fills wait it waits too, and hides what waits under it.
void DrawContext::StrokeThin(Point from, Point to) {
  if (from.y == to.y) {
    const int x0 = from.x < to.x ? from.x : to.x + 1, x1 = from.x < to.x ? to.x : from.x + 1;
    ColorRect({x0, from.y, x1, from.y + 1}, pen_.color);
    return;
  }
  if (from.x == to.x) {
    const int y0 = from.y < to.y ? from.y : to.y + 1, y1 = from.y < to.y ? to.y : from.y + 1;
    ColorRect({from.x, y0, from.x + 1, y1}, pen_.color);
    return;
  }
  if (std::abs(to.x - from.x) == 1 && std::abs(to.y - from.y) == 1) {
    ColorRect({from.x, from.y, from.x + 1, from.y + 1}, pen_.color);
    return;
  }
  const Pixel color = pen_.color;
  raster::WalkLine(from, to, clip_,
                   [&](int x, int y, std::int64_t) { target_->Row(y)[x] = color; });
}

void DrawContext::StrokeStyled(Point from, Point to) {
  raster::WalkLine(from, to, clip_,
                   [&](int x, int y, std::int64_t step) { PlotStyled(x, y, step); });
  AdvanceDash(
      std::max(std::llabs(std::int64_t(to.x) - from.x), std::llabs(std::int64_t(to.y) - from.y)));
}

// Each row of the capsule around the segment is one run: the capsule is convex, so its row is
// the hull of what the two end discs and the band between them give.
void DrawContext::StrokeWide(Point from, Point to) {
  const int width = penWidth_;
  // An even pen straddles the pixel edge before the coordinate, an odd one is centred on it;
  // either way it is exactly `width` pixels across.
  const double shift = width % 2 == 0 ? -0.5 : 0.0;
  const double ax = from.x + shift, ay = from.y + shift;
  const double bx = to.x + shift, by = to.y + shift;
  const double radius = width / 2.0;
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  const double length = std::sqrt(length2);
  constexpr double kInf = std::numeric_limits<double>::infinity();

  const int top = std::max(int(std::floor(std::min(ay, by) - radius)), clip_.top);
  const int bottom = std::min(int(std::ceil(std::max(ay, by) + radius)) + 1, clip_.bottom);
  for (int y = top; y < bottom; ++y) {
    double lo = kInf, hi = -kInf;
    auto disc = [&](double cx, double cy) {
      const double t = y - cy;
      if (std::fabs(t) >= radius) return;
      const double h = std::sqrt(radius * radius - t * t);
      lo = std::min(lo, cx - h);
      hi = std::max(hi, cx + h);
    };
    disc(ax, ay);
    disc(bx, by);
    if (length2 > 0) {
      // The band: 0 <= (p - a).d <= |d|^2 and |(p - a) x d| <= radius * |d|, for p = (x, y).
      double bandLo = -kInf, bandHi = kInf;
      auto within = [&](double coef, double constant, double min, double max) {
        if (coef == 0) {
          if (constant < min || constant > max) bandLo = kInf, bandHi = -kInf;
          return;
        }
        double p = (min - constant) / coef, q = (max - constant) / coef;
        if (p > q) std::swap(p, q);
        bandLo = std::max(bandLo, p);
        bandHi = std::min(bandHi, q);
      };
      within(dx, (y - ay) * dy - ax * dx, 0, length2);
      within(dy, -ax * dy - (y - ay) * dx, -radius * length, radius * length);
      if (bandLo <= bandHi) {
        lo = std::min(lo, bandLo);
        hi = std::max(hi, bandHi);
      }
    }
    if (lo < hi) PenRun(y, int(std::floor(lo)) + 1, int(std::ceil(hi)));
  }
}

}  // namespace platform
