// The canvas: its drawing state, its events, and the drawing operations of the concrete canvas
// CGDI (its window and buffer are in GDI.cpp).
//
// [SECTION] CCanvas: construction and the screen's canvas list
// [SECTION] CCanvas: drawing state
// [SECTION] CCanvas: events
// [SECTION] CGDI: units to pixels, colour, pens and brushes
// [SECTION] CGDI: state setters and the clip
// [SECTION] CGDI: outlines
// [SECTION] CGDI: fills and the dotted frame
// [SECTION] CGDI: fonts and text
// [SECTION] CGDI: bitmaps and the grid
// [SECTION] CGDI: pointer
#include "graphics/Canvas.h"

#include <algorithm>
#include <cstring>

#include "graphics/Font.h"
#include "graphics/GDI.h"
#include "graphics/GLApp.h"
#include "graphics/Screen.h"
#include "platform/Screen.h"
#include "platform/Window.h"

// [SECTION] CCanvas: construction and the screen's canvas list

CCanvas::CCanvas(CBool register_) {
  if (register_ && GLApp && GLApp->Screen) GLApp->Screen->AddCanvas(this);
}

CCanvas::~CCanvas() {
  if (GLApp && GLApp->Screen) GLApp->Screen->RemoveCanvas(this);
}

void CCanvas::Close() {
  OnClose(this);
  if (GLApp && GLApp->Screen && GLApp->Screen->MainCanvas == this) GLApp->Quit();
}

// [SECTION] CCanvas: drawing state

CFont* CCanvas::GetFont() {
  return GLApp && GLApp->FontManager ? GLApp->FontManager->Find(FontId) : nullptr;
}

CStr CCanvas::GetFontName() {
  const CFont* font = GetFont();
  return font ? font->GetName() : CStr();
}

// [SECTION] CCanvas: events

CBool CCanvas::Paint() {
  OnPaint(this);
  return true;
}

void CCanvas::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  OnMouseDown(this, button, shift, p);
}

void CCanvas::MouseMove(CShiftStateSet shift, CPoint p) {
  OnMouseMove(this, shift, p);
}

void CCanvas::MouseWheel(CInt notches, CPoint p) {
  OnMouseWheel(this, notches, p);
}

void CCanvas::MouseUp(CInt button, CShiftStateSet shift, CPoint p) {
  OnMouseUp(this, button, shift, p);
}

void CCanvas::KeyPress(CStr ch) {
  OnKeyPress(this, ch);
}
void CCanvas::KeyDown(CInt key, CShiftStateSet shift) {
  OnKeyDown(this, key, shift);
}
void CCanvas::KeyUp(CInt key, CShiftStateSet shift) {
  OnKeyUp(this, key, shift);
}

// [SECTION] CGDI: units to pixels, colour, pens and brushes

CPoint CGDI::Base() const {
  return ClipRelative ? ClipRect.M1 : Origin;
}

namespace {

// Device coordinates are kept to +-2^29: the platform cuts them to 2^27 anyway, and at this size
// a far corner's extra pixels, a width or a centring offset can never overflow an int.
constexpr std::int64_t kPixelLimit = std::int64_t(1) << 29;

int Saturate(std::int64_t v) {
  return int(std::clamp(v, -kPixelLimit, kPixelLimit));
}

}  // namespace

// Half up, as everywhere in the graphics layer: round(base + v). Inline: a repaint converts
// thousands of coordinates, four at a time, and the four can then overlap.
inline int CGDI::ToPixel(const CFloat& v, const CFloat& base) const {
  return Saturate(CFloat(base.Value + v.Value).Round().Value);
}

// The far corner moves away from the near one so that its own pixels are inside the figure: by
// one for outlines and bitmaps, by two for fills, which lose a pixel to the missing pen.
CGDI::Pixels CGDI::Convert(const CRect& r, Far far) const {
  const CPoint& base = ClipRelative ? ClipRect.M1 : Origin;  // Base(), without a copy
  Pixels p{ToPixel(r.M1.X, base.X), ToPixel(r.M1.Y, base.Y), ToPixel(r.M2.X, base.X),
           ToPixel(r.M2.Y, base.Y)};
  const int step = far == Far::Two ? 2 : far == Far::One ? 1 : 0;
  p.right += p.right >= p.left ? step : -step;
  p.bottom += p.bottom >= p.top ? step : -step;
  return p;
}

namespace {

// The 80 bits of a long double as two words: the 64-bit mantissa and the sign and exponent.
struct Bits80 {
  std::uint64_t mantissa;
  std::uint16_t exponent;
  explicit Bits80(const long double& v) {
    std::memcpy(&mantissa, &v, 8);
    std::memcpy(&exponent, reinterpret_cast<const char*>(&v) + 8, 2);
  }
};

}  // namespace

// Each component times 255, rounded half up; only the low byte counts, so 1.5 gives 127.
platform::Pixel CGDI::PlatformColor() const {
  const Bits80 r(Color.R.Value), g(Color.G.Value), b(Color.B.Value);
  for (const ColorMemo& memo : ColorMemos)
    if (memo.used && memo.mantissa[0] == r.mantissa && memo.mantissa[1] == g.mantissa &&
        memo.mantissa[2] == b.mantissa && memo.exponent[0] == r.exponent &&
        memo.exponent[1] == g.exponent && memo.exponent[2] == b.exponent)
      return memo.pixel;
  const auto channel = [](const CFloat& c) { return (c * CFloat(255.0)).Round().Value; };
  ColorMemo& memo = ColorMemos[NextColorMemo];
  NextColorMemo = (NextColorMemo + 1) % kColorMemos;
  memo.pixel = platform::MakePixel(channel(Color.R), channel(Color.G), channel(Color.B));
  memo.mantissa[0] = r.mantissa, memo.mantissa[1] = g.mantissa, memo.mantissa[2] = b.mantissa;
  memo.exponent[0] = r.exponent, memo.exponent[1] = g.exponent, memo.exponent[2] = b.exponent;
  memo.used = true;
  return memo.pixel;
}

namespace {

// Selecting what the context has already changes nothing: a repaint draws hundreds of lines and
// fills in a row with the same tools.
void UsePen(platform::DrawContext& dc, const platform::Pen& pen) {
  if (!(dc.SelectedPen() == pen)) dc.SelectPen(pen);
}

void UsePlainBrush(platform::DrawContext& dc, platform::Brush::Kind kind, platform::Pixel color) {
  const platform::Brush& now = dc.SelectedBrush();
  if (now.kind == kind && now.color == color && now.hatch == 0 && !now.pattern) return;
  dc.SelectBrush(kind == platform::Brush::Kind::Solid ? platform::Brush::Solid(color)
                                                      : platform::Brush::Hollow());
}

}  // namespace

void CGDI::SelectOutlineTools() {
  UsePen(*TargetDC, platform::Pen{PenStyle.Value, PenWidth.Value, PlatformColor()});
  UsePlainBrush(*TargetDC, platform::Brush::Kind::Hollow, 0);
}

void CGDI::SelectFillTools() {
  const platform::Pixel color = PlatformColor();
  UsePen(*TargetDC, platform::Pen{platform::Pen::kNull, 1, color});
  if (PatternBitmap)
    TargetDC->SelectBrush(platform::Brush::Pattern(PatternBitmap->Picture()));
  else if (BrushStyle == CInt(0))
    UsePlainBrush(*TargetDC, platform::Brush::Kind::Solid, color);
  else
    TargetDC->SelectBrush(platform::Brush::Hatched(BrushStyle.Value - 1, color));
}

// [SECTION] CGDI: state setters and the clip

void CGDI::SetColor(const CColor& c) {
  SetColorRGB(c.R, c.G, c.B);
}

void CGDI::SetColorRGB(const CFloat& r, const CFloat& g, const CFloat& b) {
  Color.Set(r, g, b);
}

void CGDI::SetPenWidth(CInt width) {
  PenWidth = width;
}
void CGDI::SetPenStyle(CInt style) {
  PenStyle = style;
}
void CGDI::SetBrushStyle(CInt style) {
  BrushStyle = style;
}

void CGDI::SetClipRect(const CRect& r) {
  ClipRect = r;
  SetClipRegion(r);
}

void CGDI::ResetClipRect() {
  const CSize size = GetSize();
  ClipRect.M1.Set(0, 0);
  ClipRect.M2.Set(size.Width, size.Height);
}

// Device pixels: neither the origin nor clip-relative mode applies.
void CGDI::SetClipRegion(const CRect& r) {
  PaintRect = r;
  ClipTarget = TargetDC;
  TargetDC->SetClip(platform::Rect{Saturate(r.M1.X.Round().Value), Saturate(r.M1.Y.Round().Value),
                                   Saturate(r.M2.X.Round().Value) + 1,
                                   Saturate(r.M2.Y.Round().Value) + 1});
}

namespace {

// Corner by corner, as CPoint's == compares, on the plain numbers: asked for every control of
// every repaint.
bool SameCorners(const CRect& a, const CRect& b) {
  return a.M1.X.Value == b.M1.X.Value && a.M1.Y.Value == b.M1.Y.Value &&
         a.M2.X.Value == b.M2.X.Value && a.M2.Y.Value == b.M2.Y.Value;
}

}  // namespace

CBool CGDI::HasClip(const CRect& r) const {
  return !ClipRelative && ClipTarget == TargetDC && SameCorners(ClipRect, r) &&
         SameCorners(PaintRect, r);
}

// [SECTION] CGDI: outlines

void CGDI::DrawLine(const CRect& r) {
  SelectOutlineTools();
  const Pixels p = Convert(r, Far::Keep);
  TargetDC->MoveTo(p.left, p.top);
  // A row or a column of the one-pixel solid pen (every bevel's line) reaches one pixel further
  // instead: the same pixels in one run.
  const int style = PenStyle.Value;
  if (PenWidth.Value <= 1 && (style < 1 || style > 5)) {
    if (p.top == p.bottom) {
      TargetDC->LineTo(p.right < p.left ? p.right - 1 : p.right + 1, p.top);
      Drawn();
      return;
    }
    if (p.left == p.right) {
      TargetDC->LineTo(p.left, p.bottom < p.top ? p.bottom - 1 : p.bottom + 1);
      Drawn();
      return;
    }
  }
  TargetDC->LineTo(p.right, p.bottom);
  // The platform leaves out a line's last pixel; this puts it in.
  TargetDC->MoveTo(p.right, p.bottom);
  TargetDC->LineTo(p.right + 1, p.bottom + 1);
  Drawn();
}

void CGDI::DrawRect(const CRect& r) {
  if (PenStyle == CInt(-1)) {
    DrawDottedFrame(r);
    return;
  }
  SelectOutlineTools();
  const Pixels p = Convert(r, Far::One);
  TargetDC->Rectangle(p.left, p.top, p.right, p.bottom);
  Drawn();
}

void CGDI::DrawEllipse(CRect r) {
  SelectOutlineTools();
  const Pixels p = Convert(r, Far::One);
  TargetDC->Ellipse(p.left, p.top, p.right, p.bottom);
  Drawn();
}

void CGDI::DrawTriangle(CRect r, CPoint a, CPoint b, CPoint c) {
  SelectOutlineTools();
  const Pixels p = Convert(r, Far::One);
  const auto vertex = [&p](const CPoint& v) {
    return platform::Point{Saturate(std::int64_t(v.X.Trunc().Value) + p.left),
                           Saturate(std::int64_t(v.Y.Trunc().Value) + p.top)};
  };
  const platform::Point points[] = {vertex(a), vertex(b), vertex(c)};
  TargetDC->Polygon(points);
  Drawn();
}

// [SECTION] CGDI: fills and the dotted frame

void CGDI::FillRect(const CRect& r) {
  SelectFillTools();
  const Pixels p = Convert(r, Far::Two);
  TargetDC->Rectangle(p.left, p.top, p.right, p.bottom);
  Drawn();
}

void CGDI::FillEllipse(CRect r) {
  SelectFillTools();
  const Pixels p = Convert(r, Far::Two);
  TargetDC->Ellipse(p.left, p.top, p.right, p.bottom);
  Drawn();
}

void CGDI::FillTriangle(CRect, CPoint, CPoint, CPoint) {}

// The pattern is anchored to the device, so neighbouring pixels of every edge differ.
void CGDI::DrawDottedFrame(CRect r) {
  PatternBitmap = GLApp ? &GLApp->Pattern : nullptr;
  const CFloat x1 = r.M1.X, y1 = r.M1.Y, x2 = r.M2.X, y2 = r.M2.Y;
  FillRect(CRect(x1, y1, x1, y2));
  FillRect(CRect(x1, y1, x2, y1));
  FillRect(CRect(x2, y1, x2, y2));
  FillRect(CRect(x1, y2, x2, y2));
  PatternBitmap = nullptr;
}

// [SECTION] CGDI: fonts and text

namespace {

platform::LogicalFont Record(const CFont& f) {
  platform::LogicalFont record;
  record.height = f.Height.Value;
  record.width = f.Width.Value;
  record.weight = f.B ? 700 : 400;
  record.italic = bool(f.I);
  record.underline = bool(f.U);
  record.strikeOut = bool(f.S);
  record.face = f.FontName.ToStd();
  return record;
}

}  // namespace

CInt CGDI::CreateFont(CFont* font) {
  if (!font) return -1;
  font->Handle = platform::OpenFont(Record(*font));
  SelectedFont = font->Handle;
  if (!GLApp || !GLApp->FontManager) {
    delete font;  // nobody to keep it
    return -1;
  }
  return GLApp->FontManager->Register(font);
}

void CGDI::RecreateFont(CInt id, const CFont& font) {
  CFont* registered = GLApp && GLApp->FontManager ? GLApp->FontManager->Find(id) : nullptr;
  if (!registered) return;
  registered->Handle = platform::OpenFont(Record(font));
  SelectedFont = registered->Handle;
}

void CGDI::SelectFontByName(CStr name) {
  SelectFont(GLApp && GLApp->FontManager ? GLApp->FontManager->FindByName(name) : CInt(-1));
}

void CGDI::SelectFont(CInt id) {
  FontId = id;
  if (const CFont* font = GetFont()) SelectedFont = font->Handle;
}

void CGDI::DrawText(const CPoint& p, const CStr& s) {
  const CPoint base = Base();
  TargetDC->SelectFont(SelectedFont);
  TargetDC->SetTextColor(PlatformColor());
  TargetDC->TextOut(ToPixel(p.X, base.X), ToPixel(p.Y, base.Y), s.View());
  Drawn();
}

void CGDI::DrawTextCentered(CRect r, CStr s) {
  const CSize text = GetTextExtent(s);
  const CPoint base = Base();
  const int x = Saturate(std::int64_t(ToPixel(r.M1.X, base.X)) +
                         ((r.GetWidth() - text.Width) / CFloat(2)).Round().Value);
  const int y = Saturate(std::int64_t(ToPixel(r.M1.Y, base.Y)) +
                         ((r.GetHeight() - text.Height) / CFloat(2)).Round().Value);
  TargetDC->SetTextColor(PlatformColor());
  TargetDC->TextOut(x, y, s.View());
  Drawn();
}

CSize CGDI::GetTextExtent(const CStr& s) {
  TargetDC->SelectFont(SelectedFont);
  const platform::Size size = TargetDC->TextExtent(s.View());
  return CSize(size.width, size.height);
}

// [SECTION] CGDI: bitmaps and the grid

// Unscaled and opaque: only the part of the picture that fits into r is copied.
void CGDI::DrawBitmap(const CRect& r, CGDIBitmap& bitmap) {
  const Pixels p = Convert(r, Far::One);
  TargetDC->BitBlt(p.left, p.top, p.right - p.left, p.bottom - p.top, bitmap.DC, 0, 0);
  Drawn();
}

// Only the near corner moves, so a picture larger than r is cut on the right and bottom.
void CGDI::DrawBitmapCentered(CRect r, CGDIBitmap& bitmap) {
  r.M1.X += CFloat(((r.GetWidth() - bitmap.Width) / CFloat(2)).Round());
  r.M1.Y += CFloat(((r.GetHeight() - bitmap.Height) / CFloat(2)).Round());
  DrawBitmap(r, bitmap);
}

void CGDI::CopyToBitmap(CRect r, CGDIBitmap& bitmap) {
  const Pixels p = Convert(r, Far::One);
  const int width = p.right - p.left;
  const int height = p.bottom - p.top;
  bitmap.SetSize(width, height);
  if (Window) platform::WindowImage(Window);  // the last frame reaches the image first
  bitmap.DC.BitBlt(0, 0, width, height, WindowDC, p.left, p.top);
}

void CGDI::PrepareGrid(const CFloat& dx, const CFloat& dy) {
  const int width = platform::ScreenWidth();
  const int height = platform::ScreenHeight();
  GridBitmap = platform::Surface(width, height, 0);
  GridDC = platform::DrawContext(&GridBitmap);
  GridDC.SetBackgroundMode(platform::BackgroundMode::Transparent);
  SetColorRGB(1, 1, 1);
  FillRect(CRect(0, 0, width, height));
  // A step below one pixel would never leave its row: one pixel is the finest grid.
  const int stepX = std::max(dx.Round().Value, 1);
  const int stepY = std::max(dy.Round().Value, 1);
  for (int y = 0; y < height; y += stepY)
    for (int x = 0; x < width; x += stepX) TargetDC->SetPixel(x, y, platform::MakePixel(0, 0, 0));
  GridDC.BitBlt(0, 0, width, height, *TargetDC, 0, 0);
}

void CGDI::DrawGrid(CRect r) {
  const Pixels p = Convert(r, Far::One);
  TargetDC->BitBlt(p.left, p.top, p.right - p.left, p.bottom - p.top, GridDC, 0, 0);
  Drawn();
}

// [SECTION] CGDI: pointer

CInt CGDI::GetCursor() {
  return CursorId;
}

void CGDI::SetCursor(CInt id) {
  CursorId = id;
  platform::SetPointerShape(id.Value);
}

CInt FontFor(CCanvas* canvas, const CStr& face, std::int32_t height, bool b, bool i, bool u,
             bool s) {
  CFontManager* fonts = GLApp ? GLApp->FontManager.get() : nullptr;
  if (!fonts) return -1;
  for (std::int32_t n = 0; n < fonts->Count().Value; ++n) {
    const CFont* font = fonts->Find(n);
    if (font && font->FontName == face && font->Height.Value == height && bool(font->B) == b &&
        bool(font->I) == i && bool(font->U) == u && bool(font->S) == s)
      return n;
  }
  if (!canvas) return -1;
  auto* font = new CFont;  // the font manager keeps it
  font->Set(0, height, b, i, u, s, false, face, "");
  return canvas->CreateFont(font);
}
