// The canvas's window, its buffer and its window procedure; the drawing operations themselves
// are in Canvas.cpp.
#include "graphics/GDI.h"

#include "graphics/GLApp.h"
#include "graphics/Screen.h"
#include "platform/Screen.h"
#include "platform/Window.h"

namespace {

int Round(const CFloat& v) {
  return v.Round().Value;
}

}  // namespace

CGDI::CGDI() : CCanvas(true) {
  Init(0);
  CreateWindow();
  CreateBuffer();
}

CGDI::CGDI(platform::WindowId window, CBool register_) : CCanvas(register_) {
  Init(window);
  if (Window) platform::SetWindowProcedure(Window, &CGDI::WindowProcedure, this);
  CreateBuffer();
}

void CGDI::Init(platform::WindowId window) {
  // Every canvas is as large as the screen until its window reports its own size.
  CRect::SetCorners(0, 0, platform::ScreenWidth(), platform::ScreenHeight());
  Window = window;
  PenStyle = 0;
  BrushStyle = 0;
  PatternBitmap = nullptr;
}

CGDI::~CGDI() {
  // A canvas with a window is a window of the application; the desktop is not.
  if (Window) {
    platform::PostQuitMessage(0);
    platform::SetWindowProcedure(Window, nullptr, nullptr);
    platform::DestroyWindow(Window);
  }
}

void CGDI::CreateWindow() {
  Window = platform::CreateWindow(20, 20, 320, 240);
  platform::ShowWindow(Window);
  platform::SetWindowProcedure(Window, &CGDI::WindowProcedure, this);
}

void CGDI::AttachWindowContext() {
  platform::Surface* image = Window ? platform::WindowImage(Window) : nullptr;
  if (!Window) {
    if (NoWindowImage.width != platform::ScreenWidth() ||
        NoWindowImage.height != platform::ScreenHeight())
      NoWindowImage = platform::Surface(platform::ScreenWidth(), platform::ScreenHeight(), 0);
    image = &NoWindowImage;
  }
  // A fresh context, as the platform hands out: opaque text background, no clip.
  WindowDC = platform::DrawContext(image);
}

CBool CGDI::CreateBuffer() {
  ClipTarget = nullptr;  // the new contexts have no clip
  AttachWindowContext();
  BufferBitmap = platform::Surface::Spread(platform::ScreenWidth(), platform::ScreenHeight(), 0);
  BufferDC = platform::DrawContext(&BufferBitmap);
  BufferDC.SetBackgroundMode(platform::BackgroundMode::Transparent);
  TargetDC = &BufferDC;
  return true;
}

void CGDI::SelectTarget(CBool toBuffer) {
  ClipTarget = nullptr;  // the other context's clip is its own
  if (toBuffer) {
    TargetDC = &BufferDC;
    return;
  }
  AttachWindowContext();
  TargetDC = &WindowDC;
}

CBool CGDI::Flip() {
  ++Flips;
  const int width = platform::ScreenWidth(), height = platform::ScreenHeight();
  const platform::Surface* image = Window ? platform::PeekWindowImage(Window) : nullptr;
  if (image && TargetDC == &BufferDC && WindowDC.Target() == image && !WindowDC.Clip() &&
      BufferBitmap.width <= width && BufferBitmap.height <= height) {
    // The usual case, the whole buffer unclipped into the window: shown with one copy.
    BufferDC.Flush();
    platform::PresentWindowFrom(Window, BufferBitmap);
  } else {
    if (Window) platform::WindowImage(Window);  // what a clipped copy leaves must be up to date
    WindowDC.BitBlt(0, 0, width, height, *TargetDC, 0, 0);
    if (Window) platform::PresentWindow(Window);
  }
  OnFlipped(this);
  return true;
}

CRect CGDI::ShownArea() const {
  const platform::Surface* shown = Window ? platform::PeekWindowImage(Window) : &NoWindowImage;
  if (!shown) shown = &BufferBitmap;
  return CRect(0, 0, shown->width - 1, shown->height - 1);
}

void CGDI::Validate() {
  platform::ValidateWindow(Window);
}

CBool CGDI::ReleaseWindowDC() {
  WindowDC.SetTarget(nullptr);
  return true;
}

CBool CGDI::BeginDraw() {
  return true;
}
CBool CGDI::EndDraw() {
  return true;
}

void CGDI::Drawn() {
  if (TargetDC == &WindowDC && Window) platform::PresentWindow(Window);
}

void CGDI::SetCorners(const CFloat& x1, const CFloat& y1, const CFloat& x2, const CFloat& y2) {
  platform::MoveWindow(Window, Round(x1), Round(y1), Round(x2 - x1 + CFloat(1)),
                       Round(y2 - y1 + CFloat(1)));
  EndDraw();
}

CBool CGDI::IsVisible() {
  return platform::IsWindowVisible(Window);
}

void CGDI::Show(CBool show) {
  if (show)
    platform::ShowWindow(Window);
  else
    platform::HideWindow(Window);
}

std::int32_t CGDI::WindowProcedure(void* context, const platform::Message& m) {
  using platform::MessageKind;
  auto* canvas = static_cast<CGDI*>(context);
  if (!canvas) return 0;
  const CPoint point(m.a, m.b);
  CShiftStateSet shift;
  shift.Shift = (m.modifiers & platform::kShift) != 0;
  shift.Ctrl = (m.modifiers & platform::kCtrl) != 0;
  shift.Alt = (m.modifiers & platform::kAlt) != 0;
  switch (m.kind) {
    case MessageKind::LeftButtonDown:
      platform::CaptureMouse(m.window);
      canvas->MouseDown(0, shift, point);
      break;
    case MessageKind::LeftButtonUp:
      canvas->MouseUp(0, shift, point);
      platform::ReleaseMouseCapture();
      break;
    case MessageKind::MouseMove:
      canvas->MouseMove(shift, point);
      break;
    case MessageKind::Wheel:
      canvas->MouseWheel(m.a, CPoint(platform::PointX(m.b), platform::PointY(m.b)));
      break;
    case MessageKind::KeyDown:
      canvas->KeyDown(m.a, shift);
      break;
    case MessageKind::KeyUp:
      canvas->KeyUp(m.a, shift);
      break;
    case MessageKind::Char:
      canvas->KeyPress(CStr(static_cast<char>(m.a & 0xFF)));
      break;
    case MessageKind::Size:
      canvas->ResizeWidth(m.a & 0xFFFF);
      canvas->ResizeHeight(m.b & 0xFFFF);
      break;
    case MessageKind::Paint: {
      // A painter that flipped has shown its picture; flipping it again would only copy it again.
      const std::uint64_t flips = canvas->Flips;
      canvas->BeginDraw();
      canvas->Paint();
      if (canvas->Flips == flips) canvas->Flip();
      break;
    }
    case MessageKind::Destroy:
      platform::PostQuitMessage(0);
      break;
    default:
      break;
  }
  return 0;
}

CDesktop::CDesktop() : CGDI(0, false) {
  const int width = platform::ScreenWidth();
  const int height = platform::ScreenHeight();
  Picture.SetSize(width, height);
  Area.SetBounds(0, 0, width, height, true);
}
