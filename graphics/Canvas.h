// The drawing surface of the toolkit. Every control paints through the canvas of its view, and
// every input event of a window enters the toolkit through it. CCanvas keeps the drawing state
// and the event hooks; CGDI (graphics/GDI.h) is the one concrete canvas and does the drawing.
//
// Coordinates are canvas units (one unit a pixel), relative to Origin, or to ClipRect.M1 while
// ClipRelative is set. A canvas is itself a rectangle: the window's rectangle on the screen.
#pragma once

#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "graphics/Handler.h"

class CFont;
class CGDIBitmap;
class CView;

class CCanvas : public CRect {
 public:
  using CanvasHook = CHandler<CCanvas*>;
  using MouseButtonHook = CHandler<CCanvas*, CInt, CShiftStateSet, CPoint>;
  using MouseMoveHook = CHandler<CCanvas*, CShiftStateSet, CPoint>;
  using KeyPressHook = CHandler<CCanvas*, CStr>;
  using KeyHook = CHandler<CCanvas*, CInt, CShiftStateSet>;
  using WheelHook = CHandler<CCanvas*, CInt, CPoint>;

  // register: join the screen's canvas list; the first canvas to join is the main canvas.
  explicit CCanvas(CBool register_);
  ~CCanvas() override;
  CCanvas(const CCanvas&) = delete;
  CCanvas& operator=(const CCanvas&) = delete;

  // Calls OnClose; closing the main canvas stops the run loop.
  virtual void Close();
  virtual CBool IsVisible() = 0;
  virtual void Show(CBool show) = 0;
  virtual CRect GetClipRect() { return ClipRect; }
  virtual void SetClipRect(const CRect& r) = 0;
  // ClipRect becomes (0, 0) and the canvas's size; the platform clip region stays in force.
  virtual void ResetClipRect() = 0;
  virtual CBool CreateBuffer() = 0;
  virtual CBool BeginDraw() = 0;
  virtual void SelectTarget(CBool toBuffer) = 0;
  // Calls OnPaint.
  virtual CBool Paint();
  // The whole picture is about to be drawn and flipped: a paint the window is still owed would
  // only draw it again.
  virtual void Validate() {}
  virtual CBool Flip() = 0;
  virtual CBool ReleaseWindowDC() = 0;
  virtual CBool EndDraw() = 0;
  virtual CPoint GetOrigin() { return Origin; }
  virtual void SetOrigin(const CPoint& p) { Origin = p; }
  virtual CColor GetColor() { return Color; }
  virtual void SetColor(const CColor& c) = 0;
  virtual void SetColorRGB(const CFloat& r, const CFloat& g, const CFloat& b) = 0;
  // Makes the platform font of `font` and registers it: the font manager keeps the object from
  // now on. Answers the font's number.
  virtual CInt CreateFont(CFont* font) = 0;
  virtual void RecreateFont(CInt id, const CFont& font) = 0;
  // The registered font with the number FontId; null when there is none.
  virtual CFont* GetFont();
  virtual CStr GetFontName();
  virtual void SelectFontByName(CStr name) = 0;
  virtual CInt GetFontId() { return FontId; }
  // FontId = id even when no font has that number; the platform font then stays as it was.
  virtual void SelectFont(CInt id) = 0;
  virtual CInt GetCursor() = 0;
  virtual void SetCursor(CInt id) = 0;
  virtual void PrepareGrid(const CFloat& dx, const CFloat& dy) = 0;
  virtual void DrawGrid(CRect r) = 0;
  // Both end pixels drawn.
  virtual void DrawLine(const CRect& r) = 0;
  // With PenStyle -1, the dotted frame.
  virtual void DrawRect(const CRect& r) = 0;
  virtual void DrawEllipse(CRect r) = 0;
  // a, b, c relative to r's top-left corner.
  virtual void DrawTriangle(CRect r, CPoint a, CPoint b, CPoint c) = 0;
  virtual CInt GetPenWidth() { return PenWidth; }
  virtual void SetPenWidth(CInt width) = 0;
  virtual CInt GetPenStyle() { return PenStyle; }
  virtual void SetPenStyle(CInt style) = 0;
  // Fills cover exactly the pixels of the outline of the same rectangle.
  virtual void FillRect(const CRect& r) = 0;
  virtual void FillEllipse(CRect r) = 0;
  // Draws nothing, on purpose: the triangle controls show nothing either.
  virtual void FillTriangle(CRect r, CPoint a, CPoint b, CPoint c) = 0;
  virtual void SetBrushStyle(CInt style) = 0;
  virtual void DrawText(const CPoint& p, const CStr& s) = 0;
  virtual void DrawTextCentered(CRect r, CStr s) = 0;
  virtual CSize GetTextExtent(const CStr& s) = 0;
  virtual void DrawBitmap(const CRect& r, CGDIBitmap& bitmap) = 0;
  virtual void DrawBitmapCentered(CRect r, CGDIBitmap& bitmap) = 0;
  // The pixels come from the window, not from the buffer.
  virtual void CopyToBitmap(CRect r, CGDIBitmap& bitmap) = 0;
  virtual void DrawDottedFrame(CRect r) = 0;
  // Device pixels, without the origin.
  virtual void SetClipRegion(const CRect& r) = 0;
  // Whether the clip is r in every respect SetClipRect(r) would set (and units are not
  // clip-relative): setting it again would change nothing.
  virtual CBool HasClip(const CRect&) const { return false; }
  virtual void MouseDown(CInt button, CShiftStateSet shift, CPoint p);
  virtual void MouseMove(CShiftStateSet shift, CPoint p);
  virtual void MouseUp(CInt button, CShiftStateSet shift, CPoint p);
  virtual void KeyPress(CStr ch);
  virtual void KeyDown(CInt key, CShiftStateSet shift);
  virtual void KeyUp(CInt key, CShiftStateSet shift);
  // notches > 0: turned away from the user.
  virtual void MouseWheel(CInt notches, CPoint p);

  CPoint Origin;
  CRect ClipRect;
  CColor Color;
  CInt FontId = -1;
  CInt PenStyle = 0;
  CInt PenWidth = 0;
  CInt CursorId = 0;
  CView* View = nullptr;  // the owning view; not owned

  // Called with this canvas first, then the event's values. Button 0 is the left one; points
  // are in canvas units from the window's top-left; keys are scan codes.
  CanvasHook OnPaint;
  MouseButtonHook OnMouseDown;
  MouseMoveHook OnMouseMove;
  MouseButtonHook OnMouseUp;
  KeyPressHook OnKeyPress;
  KeyHook OnKeyDown;
  KeyHook OnKeyUp;
  WheelHook OnMouseWheel;
  CanvasHook OnClose;
  // After every Flip, once the buffer has reached the window: what is drawn straight on the
  // window (a drag outline) is drawn again here, or the flip would wipe it.
  CanvasHook OnFlipped;

  bool ClipRelative = false;
};

// The number of a registered font of that face, height and style (bold, italic, underline,
// strike-out), registered through the canvas when there is none yet: a design names its fonts,
// and the same one is never registered twice. -1 without a font manager or a canvas.
CInt FontFor(CCanvas* canvas, const CStr& face, std::int32_t height, bool b, bool i, bool u, bool s);
