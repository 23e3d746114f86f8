// The concrete canvas: one borderless platform window, an off-screen buffer of screen size that
// all drawing goes into, and the window procedure that turns the window's messages into the
// canvas's events. CDesktop is the same over the whole screen, without a window of its own.
#pragma once

#include <cstdint>

#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "platform/Messages.h"
#include "platform/draw/DrawContext.h"
#include "platform/draw/Font.h"
#include "platform/draw/Surface.h"

class CGDI : public CCanvas {
 public:
  // A registered canvas with a new window, shown at once.
  CGDI();
  // Adopts the window (0: none, as the desktop has) instead of making one.
  CGDI(platform::WindowId window, CBool register_);
  // Posts the quit message, as closing a window of the application ends its loop.
  ~CGDI() override;

  // Moves the window; the size message that follows gives the canvas its new corners.
  void SetCorners(const CFloat& x1, const CFloat& y1, const CFloat& x2, const CFloat& y2) override;

  CBool IsVisible() override;
  void Show(CBool show) override;  // false hides the window
  void SetClipRect(const CRect& r) override;
  void ResetClipRect() override;
  CBool CreateBuffer() override;
  CBool BeginDraw() override;
  // true: draw into the buffer; false: draw straight onto what the window shows.
  void SelectTarget(CBool toBuffer) override;
  // Shows the whole buffer in the window at once.
  CBool Flip() override;
  // The part of the buffer that Flip shows, in device pixels (corners included).
  CRect ShownArea() const;
  void Validate() override;
  CBool ReleaseWindowDC() override;
  CBool EndDraw() override;
  void SetColor(const CColor& c) override;
  void SetColorRGB(const CFloat& r, const CFloat& g, const CFloat& b) override;
  CInt CreateFont(CFont* font) override;
  void RecreateFont(CInt id, const CFont& font) override;
  void SelectFontByName(CStr name) override;
  void SelectFont(CInt id) override;
  CInt GetCursor() override;
  void SetCursor(CInt id) override;
  void PrepareGrid(const CFloat& dx, const CFloat& dy) override;
  void DrawGrid(CRect r) override;
  void DrawLine(const CRect& r) override;
  void DrawRect(const CRect& r) override;
  void DrawEllipse(CRect r) override;
  void DrawTriangle(CRect r, CPoint a, CPoint b, CPoint c) override;
  void SetPenWidth(CInt width) override;
  void SetPenStyle(CInt style) override;
  void FillRect(const CRect& r) override;
  void FillEllipse(CRect r) override;
  void FillTriangle(CRect r, CPoint a, CPoint b, CPoint c) override;
  void SetBrushStyle(CInt style) override;
  void DrawText(const CPoint& p, const CStr& s) override;
  void DrawTextCentered(CRect r, CStr s) override;
  CSize GetTextExtent(const CStr& s) override;
  void DrawBitmap(const CRect& r, CGDIBitmap& bitmap) override;
  void DrawBitmapCentered(CRect r, CGDIBitmap& bitmap) override;
  void CopyToBitmap(CRect r, CGDIBitmap& bitmap) override;
  void DrawDottedFrame(CRect r) override;
  void SetClipRegion(const CRect& r) override;
  CBool HasClip(const CRect& r) const override;
  // Makes the window, shows it and attaches this canvas to it.
  virtual void CreateWindow();

  // The window procedure: input, size, paint and destroy messages become canvas events.
  static std::int32_t WindowProcedure(void* canvas, const platform::Message& message);

  // What the canvas draws into: the buffer, or the window's own picture.
  const platform::Surface* TargetSurface() const { return TargetDC->Target(); }
  const platform::Surface& Buffer() const { return BufferBitmap; }

  CInt BrushStyle = 0;                  // 0 solid; n > 0 hatch n - 1
  CGDIBitmap* PatternBitmap = nullptr;  // when set, fills repeat this picture; not owned
  CRect PaintRect;                      // the rectangle last given to SetClipRegion

  platform::WindowId Window = 0;
  platform::DrawContext WindowDC;
  platform::DrawContext BufferDC;
  platform::DrawContext* TargetDC = &BufferDC;
  platform::Surface BufferBitmap;
  platform::DrawContext GridDC;
  platform::Surface GridBitmap;
  std::uint64_t Flips = 0;  // how many times the buffer has gone to the window

 private:
  struct Pixels {
    int left, top, right, bottom;
  };
  enum class Far { Keep, One, Two };

  void Init(platform::WindowId window);
  void AttachWindowContext();
  // Canvas units to device pixels, from Origin or, in clip-relative mode, from ClipRect.M1.
  CPoint Base() const;
  int ToPixel(const CFloat& v, const CFloat& base) const;
  Pixels Convert(const CRect& r, Far far) const;
  platform::Pixel PlatformColor() const;
  void SelectOutlineTools();
  void SelectFillTools();
  // Drawing straight onto the window shows at once.
  void Drawn();

  // The context PaintRect was last given to as its clip region.
  const platform::DrawContext* ClipTarget = nullptr;
  // PlatformColor's last few answers and the colours they were for: a repaint asks again and
  // again, a bevel's light and shadow lines in turn. Compared by their bits, so a colour given
  // again always finds its answer (NaN included); the slots start with no colour at all.
  struct ColorMemo {
    std::uint64_t mantissa[3] = {};
    std::uint16_t exponent[3] = {};
    platform::Pixel pixel = 0;
    bool used = false;
  };
  static constexpr int kColorMemos = 4;
  mutable ColorMemo ColorMemos[kColorMemos];
  mutable int NextColorMemo = 0;

  // The platform font last selected: an unknown font number keeps it.
  const platform::Font* SelectedFont = nullptr;
  // What a canvas without a window draws on when it draws "on the window".
  platform::Surface NoWindowImage;
};

// The whole screen as a canvas: no window, not in the screen's canvas list.
class CDesktop : public CGDI {
 public:
  CDesktop();

  CGDIBitmap Picture;  // screen-sized
  CRect Area;          // (0, 0) to the screen's size
};
