// The software device context: pens, brushes, shapes, pixels, block copies and text drawn into
// a Surface (a window buffer, a memory bitmap or a window's own image) with the raster rules of
// the classic Windows GDI, which the canvas relies on:
//
//   - Rectangle and Ellipse take exclusive right and bottom edges: Rectangle(0, 0, 10, 10) with a
//     one-pixel pen outlines the pixels 0..9. With the null pen the filled area loses one more
//     pixel on the right and at the bottom, so a fill of (0, 0, 2, 2) is the single pixel (0, 0).
//   - LineTo does not paint its end pixel.
//   - Hatch and pattern brushes are anchored to the device origin, not to the shape.
//   - One rectangular clip region in device pixels; nothing outside it changes.
//
// The pen and brush drawing functions are chosen when the pen or brush is selected (Lines.cpp,
// Fills.cpp); shapes live in Fills.cpp (rectangles), Ellipse.cpp and Polygon.cpp, copies and
// pixels in Blit.cpp, text in Text.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/draw/Geometry.h"
#include "platform/draw/Surface.h"

namespace platform {

class Font;
struct TextMask;

struct Pen {
  // The platform's pen styles. Any other value draws solid; the dashed styles (1 to 4) draw
  // solid too when the pen is wider than one pixel, as on the platform.
  static constexpr int kSolid = 0;
  static constexpr int kDash = 1;         // 18 on, 6 off
  static constexpr int kDot = 2;          // 3 on, 3 off
  static constexpr int kDashDot = 3;      // 9 on, 6 off, 3 on, 6 off
  static constexpr int kDashDotDot = 4;   // 9 on, 3 off, 3 on, 3 off, 3 on, 3 off
  static constexpr int kNull = 5;         // no outline at all
  static constexpr int kInsideFrame = 6;  // a wide outline kept inside the shape's box

  int style = kSolid;
  int width = 0;  // 0 and 1 both give the one-pixel pen
  Pixel color = 0;

  friend bool operator==(const Pen&, const Pen&) = default;
};

// The platform's hatch styles, each an 8 x 8 pattern anchored at the device origin.
enum class Hatch : int {
  Horizontal = 0,
  Vertical = 1,
  ForwardDiagonal = 2,   // top-left to bottom-right
  BackwardDiagonal = 3,  // bottom-left to top-right
  Cross = 4,
  DiagonalCross = 5,
};

struct Brush {
  enum class Kind : std::uint8_t { Solid, Hatched, Pattern, Hollow };

  Kind kind = Kind::Solid;
  Pixel color = 0xFFFFFF;  // solid and hatched
  int hatch = 0;           // 0..5 (Hatch); an unknown number fills solid
  // A copy of the picture, as the platform's pattern brush keeps its own; it repeats from the
  // device origin.
  std::shared_ptr<const Surface> pattern;

  static Brush Solid(Pixel color) { return {Kind::Solid, color, 0, nullptr}; }
  static Brush Hatched(int hatch, Pixel color) { return {Kind::Hatched, color, hatch, nullptr}; }
  static Brush Pattern(const Surface& picture) {
    return {Kind::Pattern, 0, 0, std::make_shared<const Surface>(picture)};
  }
  static Brush Hollow() { return {Kind::Hollow, 0, 0, nullptr}; }
};

// Whether text cells, gaps of dashed pens and gaps of hatches are painted in the background
// colour (Opaque) or left as they are (Transparent).
enum class BackgroundMode : std::uint8_t { Transparent, Opaque };

class DrawContext {
 public:
  // A new context starts as the platform's does: black one-pixel solid pen, white solid brush,
  // black text on an opaque white background, no clip region, the system font.
  explicit DrawContext(Surface* target = nullptr);

  // Drawing goes to target; without one every drawing call does nothing. Not owned.
  void SetTarget(Surface* target) {
    Flush();
    target_ = target;
  }
  Surface* Target() const { return target_; }

  // --- state --------------------------------------------------------------------------------
  void SelectPen(const Pen& pen);
  const Pen& SelectedPen() const { return pen_; }
  void SelectBrush(const Brush& brush);
  const Brush& SelectedBrush() const { return brush_; }
  // nullptr selects the system font. Not owned (fonts live in the font cache, Font.h).
  void SelectFont(const Font* font) { font_ = font; }
  const Font* SelectedFont() const { return font_; }

  void SetTextColor(Pixel color) { textColor_ = color; }
  Pixel TextColor() const { return textColor_; }
  void SetBackgroundColor(Pixel color) { backColor_ = color; }
  Pixel BackgroundColor() const { return backColor_; }
  void SetBackgroundMode(BackgroundMode mode) { backMode_ = mode; }
  BackgroundMode GetBackgroundMode() const { return backMode_; }

  // Limits all drawing to region (device pixels, reversed corners swapped); an empty region
  // lets nothing through. ClearClip lets drawing reach the whole surface again.
  void SetClip(const Rect& region);
  void ClearClip() { region_.reset(); }
  std::optional<Rect> Clip() const { return region_; }

  // While deferring, solid rectangle fills wait instead of being drawn: a later solid fill over
  // the same pixels makes them unnecessary, and anything else that draws over them (or reads
  // them) puts them in first, so the picture is the same as without deferring. For a painter that
  // fills nested faces over each other. Turning it off, and Flush, put in whatever waits.
  void DeferFills(bool on);
  bool DeferringFills() const { return deferring_; }
  void Flush();

  // --- lines (Lines.cpp) --------------------------------------------------------------------
  void MoveTo(int x, int y);
  // A line from the current position to (x, y), without the pixel (x, y); then (x, y) becomes
  // the current position.
  void LineTo(int x, int y);
  Point Position() const { return position_; }

  // --- shapes (Fills.cpp, Ellipse.cpp, Polygon.cpp) ------------------------------------------
  // Outlined with the pen, filled with the brush; see the edge rules above.
  void Rectangle(int left, int top, int right, int bottom);
  void Ellipse(int left, int top, int right, int bottom);
  // A closed outline through the points, filled by the alternate (even-odd) rule. Fewer than
  // two points draw nothing.
  void Polygon(std::span<const Point> points);
  // The whole of r (right and bottom exclusive) with the brush, no outline and no shrinking.
  void FillRect(const Rect& r);

  // --- pixels and copies (Blit.cpp) ---------------------------------------------------------
  void SetPixel(int x, int y, Pixel color);
  // Nothing outside the surface or the clip region, as the platform answers an invalid colour.
  std::optional<Pixel> GetPixel(int x, int y) const;
  // An opaque copy of the width x height block at (sourceX, sourceY) of source to (x, y).
  // Parts of the block outside the source picture or outside this context's clip are left
  // alone; negative sizes copy the block that ends at the given corner. The source may be this
  // context's own target (overlapping blocks are copied correctly).
  void BitBlt(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY);
  void BitBlt(int x, int y, int width, int height, const DrawContext& source, int sourceX,
              int sourceY);

  // --- text (Text.cpp) ----------------------------------------------------------------------
  // The cp1251 text with the top-left of its cell at (x, y), in the text colour; with an opaque
  // background the whole cell (TextExtent) is first painted in the background colour.
  void TextOut(int x, int y, std::string_view cp1251);
  // Width and cell height of the text in the selected font; (0, 0) when no face can be opened.
  Size TextExtent(std::string_view cp1251) const;

 private:
  enum class PenKind : std::uint8_t { Null, Thin, Styled, Wide };
  using StrokeFn = void (DrawContext::*)(Point from, Point to);
  using SpanFn = void (*)(const DrawContext& dc, Pixel* row, int y, int x0, int x1);

  // The clip region cut to the surface: where a primitive may draw. Empty without a target.
  // Computed once at the start of each primitive, because the owner may resize the surface.
  Rect ClipBox() const;

  // Lines.cpp: the pen's segment functions and what the shapes share of them. They draw inside
  // clip_, which each primitive sets once from ClipBox before it draws.
  void StrokeNone(Point from, Point to);
  void StrokeThin(Point from, Point to);
  void StrokeStyled(Point from, Point to);
  void StrokeWide(Point from, Point to);
  void StrokeClosed(std::span<const Point> points);
  void PenRun(int y, int x0, int x1);  // x1 exclusive, clipped here
  bool DashOn(std::int64_t step) const {
    return (dashMask_ >> ((dashPhase_ + step) % dashPeriod_)) & 1;
  }
  void AdvanceDash(std::int64_t steps) { dashPhase_ = int((dashPhase_ + steps) % dashPeriod_); }
  // One pixel of a styled outline at step `step` of the figure: pen colour, background colour or
  // nothing. (x, y) must be inside clip_.
  void PlotStyled(int x, int y, std::int64_t step);

  // Text.cpp: one rendered text with its cell's top-left at (x, y), cut to clip_.
  void DrawMask(const TextMask& mask, int x, int y);

  // Fills.cpp: the waiting solid fills. Expose puts in what waits inside r, before something
  // else draws or reads there; a new solid fill forgets what waits under it. Waiting fills never
  // overlap each other.
  struct WaitingFill {
    Rect area;
    Pixel color;
  };
  void Expose(const Rect& r) const {
    if (!waiting_.empty()) Split(r, true);
  }
  // Takes cut out of every waiting fill, drawing the part taken out or dropping it.
  void Split(const Rect& cut, bool drawCut) const;
  void PutIn(const Rect& r, Pixel color) const;
  // The pixels a pen draws along from..to, for Expose.
  Rect StrokeBox(Point from, Point to) const;
  // Whether the pen draws from..to as a solid rectangle (StrokeThin), a fill that may wait.
  bool ThinRun(Point from, Point to) const;

  // Fills.cpp: the brush's span function and the clipped calls to it.
  void BrushSpan(int y, int x0, int x1);  // x1 exclusive, clipped here
  void BrushRect(const Rect& r);
  void ColorRect(const Rect& r, Pixel color);
  static void SpanSolid(const DrawContext& dc, Pixel* row, int y, int x0, int x1);
  static void SpanHatch(const DrawContext& dc, Pixel* row, int y, int x0, int x1);
  static void SpanPattern(const DrawContext& dc, Pixel* row, int y, int x0, int x1);

  // Ellipse.cpp: the styled outline, walked around the figure so its dashes follow the curve.
  void EllipseStyled(const Rect& box);

  Surface* target_ = nullptr;
  std::optional<Rect> region_;
  bool deferring_ = false;
  bool direct_ = false;  // a primitive that exposed its box draws its own solid parts at once
  mutable std::vector<WaitingFill> waiting_;
  Rect clip_;  // the clip of the primitive being drawn
  Point position_;

  Pen pen_;
  PenKind penKind_ = PenKind::Thin;
  StrokeFn stroke_ = &DrawContext::StrokeThin;
  int penWidth_ = 1;            // effective, at least 1
  std::uint32_t dashMask_ = 1;  // bit i: pixel i of the period is drawn
  int dashPeriod_ = 1;
  int dashPhase_ = 0;  // where in the period the current figure is

  Brush brush_;
  SpanFn span_ = &DrawContext::SpanSolid;  // nullptr: the hollow brush
  Pixel brushColor_ = 0xFFFFFF;
  std::uint8_t hatchBits_[8] = {};  // the selected hatch, one byte a row, bit 7 leftmost

  const Font* font_ = nullptr;
  Pixel textColor_ = 0;
  Pixel backColor_ = 0xFFFFFF;
  BackgroundMode backMode_ = BackgroundMode::Opaque;
};

}  // namespace platform
