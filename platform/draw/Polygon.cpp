// Polygons: the interior by the alternate (even-odd) rule, sampled at pixel positions with the
// right and bottom boundaries left out, then the closed outline with the pen.
#include <algorithm>
#include <vector>

#include "platform/draw/DrawContext.h"
#include "platform/draw/Raster.h"

namespace platform {
namespace {

struct Edge {
  std::int64_t x0, y0, x1, y1;  // y0 < y1
};

// ceil(n / d) for d > 0.
std::int64_t CeilDiv(std::int64_t n, std::int64_t d) {
  return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

}  // namespace

void DrawContext::Polygon(std::span<const Point> points) {
  if (points.size() < 2) return;
  clip_ = ClipBox();
  if (clip_.Empty()) return;
  Expose(clip_);
  std::vector<Point> corners(points.begin(), points.end());
  for (Point& p : corners) p = raster::Limit(p);

  if (span_ && corners.size() >= 3) {
    std::vector<Edge> edges;
    std::int64_t top = corners[0].y, bottom = corners[0].y;
    for (size_t i = 0; i < corners.size(); ++i) {
      const Point a = corners[i], b = corners[(i + 1) % corners.size()];
      top = std::min<std::int64_t>(top, a.y);
      bottom = std::max<std::int64_t>(bottom, a.y);
      if (a.y == b.y) continue;
      if (a.y < b.y)
        edges.push_back({a.x, a.y, b.x, b.y});
      else
        edges.push_back({b.x, b.y, a.x, a.y});
    }
    const int y0 = int(std::max<std::int64_t>(top, clip_.top));
    const int y1 = int(std::min<std::int64_t>(bottom, clip_.bottom));
    // Only the edges that span a row are looked at on it: they join as the rows reach their top
    // and leave past their bottom, so a polygon of many points costs rows times active edges.
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    std::vector<const Edge*> active;
    size_t next = 0;
    std::vector<std::int64_t> crossings;
    for (int y = y0; y < y1; ++y) {
      while (next < edges.size() && edges[next].y0 <= y) active.push_back(&edges[next++]);
      std::erase_if(active, [y](const Edge* e) { return e->y1 <= y; });
      crossings.clear();
      // An edge counts on the rows [y0, y1): a vertex shared by two edges is crossed once.
      for (const Edge* e : active)
        crossings.push_back(e->x0 + CeilDiv((y - e->y0) * (e->x1 - e->x0), e->y1 - e->y0));
      std::sort(crossings.begin(), crossings.end());
      for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
        // Inside the clip, so the ends fit an int once cut to it.
        const std::int64_t a = std::max<std::int64_t>(crossings[k], clip_.left);
        const std::int64_t b = std::min<std::int64_t>(crossings[k + 1], clip_.right);
        if (a < b) BrushSpan(y, int(a), int(b));
      }
    }
  }
  StrokeClosed(corners);
}

}  // namespace platform
