// Ellipses inscribed in a box with exclusive right and bottom edges, built row by row from
// raster::EllipseRows. A thin outline is the set of figure pixels that have a 4-neighbour
// outside the figure; a wide one is the ring between the figures of the pen's outer and inner
// edges.
#include <algorithm>

#include "platform/draw/DrawContext.h"
#include "platform/draw/Raster.h"

namespace platform {
namespace {

// Row y of a thin outline: the figure's span [a, b) and the interior [in0, in1) inside it
// (empty when in0 >= in1); the outline is the span without the interior.
struct OutlineRow {
  int a = 0, b = 0, in0 = 0, in1 = 0;
  bool HasInterior() const { return in0 < in1; }
};

OutlineRow RowOf(const raster::EllipseRows& shape, int y) {
  OutlineRow row;
  shape.Span(y, row.a, row.b);
  if (row.a >= row.b) return row;
  int above0, above1, below0, below1;
  shape.Span(y - 1, above0, above1);
  shape.Span(y + 1, below0, below1);
  if (above0 < above1 && below0 < below1) {
    row.in0 = std::max({row.a + 1, above0, below0});
    row.in1 = std::min({row.b - 1, above1, below1});
  }
  return row;
}

}  // namespace

void DrawContext::Ellipse(int left, int top, int right, int bottom) {
  clip_ = ClipBox();
  Rect box = raster::Limit(Rect{left, top, right, bottom}).Normalized();
  if (box.Empty() || clip_.Empty()) return;
  Expose(clip_);

  auto fillFigure = [this](const Rect& figure, bool withBrush) {
    const raster::EllipseRows shape(figure);
    const int y0 = std::max(figure.top, clip_.top), y1 = std::min(figure.bottom, clip_.bottom);
    for (int y = y0; y < y1; ++y) {
      int a, b;
      shape.Span(y, a, b);
      if (withBrush)
        BrushSpan(y, a, b);
      else
        PenRun(y, a, b);
    }
  };

  // As with rectangles, without a pen the figure loses a pixel on the right and at the bottom.
  if (penKind_ == PenKind::Null) {
    const Rect figure{box.left, box.top, box.right - 1, box.bottom - 1};
    if (!figure.Empty()) fillFigure(figure, true);
    return;
  }

  if (penKind_ == PenKind::Wide) {
    const int width = penWidth_;
    if (pen_.style == Pen::kInsideFrame) {
      const Rect inside{box.left + width / 2, box.top + width / 2, box.right - (width - 1) / 2,
                        box.bottom - (width - 1) / 2};
      if (inside.right - 1 <= inside.left || inside.bottom - 1 <= inside.top) {
        fillFigure(box, false);
        return;
      }
      box = inside;
    }
    // The pen is centred on the figure through the pixels left .. right - 1, as for rectangles.
    const Rect outer{box.left - width / 2, box.top - width / 2, box.right - 1 - width / 2 + width,
                     box.bottom - 1 - width / 2 + width};
    const Rect inner{box.left - width / 2 + width, box.top - width / 2 + width,
                     box.right - 1 - width / 2, box.bottom - 1 - width / 2};
    if (!inner.Empty()) fillFigure(inner, true);
    const raster::EllipseRows outerRows(outer);
    const raster::EllipseRows innerRows(inner.Empty() ? Rect{} : inner);
    const int y0 = std::max(outer.top, clip_.top), y1 = std::min(outer.bottom, clip_.bottom);
    for (int y = y0; y < y1; ++y) {
      int a, b, c, d;
      outerRows.Span(y, a, b);
      innerRows.Span(y, c, d);
      if (c < d) {
        PenRun(y, a, std::min(c, b));
        PenRun(y, std::max(d, a), b);
      } else {
        PenRun(y, a, b);
      }
    }
    return;
  }

  const raster::EllipseRows shape(box);
  const int y0 = std::max(box.top, clip_.top), y1 = std::min(box.bottom, clip_.bottom);
  for (int y = y0; y < y1; ++y) {
    const OutlineRow row = RowOf(shape, y);
    if (row.HasInterior()) BrushSpan(y, row.in0, row.in1);
    if (penKind_ != PenKind::Thin) continue;
    if (row.HasInterior()) {
      PenRun(y, row.a, row.in0);
      PenRun(y, row.in1, row.b);
    } else {
      PenRun(y, row.a, row.b);
    }
  }
  if (penKind_ == PenKind::Styled) EllipseStyled(box);
}

// The dashes run clockwise from the top middle: down the right half, row by row, then up the
// left half, so each dash follows the curve. Rows outside the clip are only counted, up to a
// figure a million rows tall; beyond that they are skipped, so the dashes of such a figure
// start afresh where it enters the clip but its cost stays bounded by the clip.
void DrawContext::EllipseStyled(const Rect& box) {
  constexpr int kCountedRows = 1 << 20;
  const bool countHidden = box.Height() <= kCountedRows;
  const raster::EllipseRows shape(box);
  const int middle = box.left + box.Width() / 2;  // the right half starts here
  const int upperRows = (box.Height() + 1) / 2;
  std::int64_t step = 0;
  dashPhase_ = 0;

  // Pixels [x0, x1) of row y, walked left to right or right to left.
  auto run = [&](int y, int x0, int x1, bool rightwards) {
    if (x0 >= x1) return;
    if (y >= clip_.top && y < clip_.bottom) {
      const int c0 = std::max(x0, clip_.left), c1 = std::min(x1, clip_.right);
      for (int x = c0; x < c1; ++x) PlotStyled(x, y, step + (rightwards ? x - x0 : x1 - 1 - x));
    }
    step += x1 - x0;
  };
  // The outline pixels of row y inside [from, to), in the walking direction.
  auto row = [&](int y, int from, int to, bool rightwards) {
    const OutlineRow r = RowOf(shape, y);
    int pieces[2][2] = {{r.a, r.b}, {0, 0}};
    if (r.HasInterior()) {
      pieces[0][1] = r.in0;
      pieces[1][0] = r.in1;
      pieces[1][1] = r.b;
    }
    for (int k = 0; k < 2; ++k) {
      const int* piece = pieces[rightwards ? k : 1 - k];
      run(y, std::max(piece[0], from), std::min(piece[1], to), rightwards);
    }
  };

  // Rows visited: all of them, or only those in the clip.
  const int first = countHidden ? 0 : std::max(clip_.top - box.top, 0);
  const int last = countHidden ? box.Height() : std::min(clip_.bottom - box.top, box.Height());
  for (int j = first; j < last; ++j) row(box.top + j, middle, box.right, j < upperRows);
  for (int j = last - 1; j >= first; --j) row(box.top + j, box.left, middle, j < upperRows);
}

}  // namespace platform
