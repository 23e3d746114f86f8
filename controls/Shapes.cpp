#include "controls/Shapes.h"

#include "graphics/Canvas.h"
#include "storage/Stream.h"

// [SECTION] Pen and brush

CStr CPen::ClassName() const {
  return "CPen";
}

void CPen::WriteTo(CStream& stream) {
  CControl::WriteTo(stream);
  Color.WriteTo(stream);
}

void CPen::ReadFrom(CStream& stream) {
  CControl::ReadFrom(stream);
  Color.ReadFrom(stream);
}

void CPen::BeginPaint(CRect& clip) {
  if (!Visible) return;
  if (CCanvas* canvas = GetCanvas()) canvas->SetPenStyle(Style);
  CControl::BeginPaint(clip);
}

// Controls that draw outlines without choosing a style (borders, bevels) rely on the solid style
// a pen control leaves behind.
void CPen::EndPaint(CRect& clip) {
  CControl::EndPaint(clip);
  if (CCanvas* canvas = GetCanvas()) canvas->SetPenStyle(65535);
}

CStr CBrush::ClassName() const {
  return "CBrush";
}

void CBrush::WriteTo(CStream& stream) {
  CControl::WriteTo(stream);
  Color.WriteTo(stream);
}

void CBrush::ReadFrom(CStream& stream) {
  CControl::ReadFrom(stream);
  Color.ReadFrom(stream);
}

// [SECTION] The figures

CStr CLine::ClassName() const {
  return "CLine";
}

// A thin line lies inside its own rectangle, so cutting the clip to that rectangle (and back
// afterwards) changes no pixel of it, as long as the two overlap before rounding (a rectangle
// that misses the clip by a fraction lets nothing through, though both round to the same row).
// Where the canvas already has the clip given, as it has for the lines of a bevel, the clip is
// then left alone: bevels draw hundreds of lines in every repaint.
void CLine::BeginPaint(CRect& clip) {
  CCanvas* canvas = GetCanvas();
  const std::int32_t width = canvas ? canvas->GetPenWidth().Value : 0;
  KeptClip = Visible && canvas && width >= 0 && width <= 1 && canvas->HasClip(clip);
  if (KeptClip) {
    AbsLine = GetAbsRect();
    KeptClip = Meets(AbsLine, clip);
  }
  if (!KeptClip) {
    CPen::BeginPaint(clip);
    return;
  }
  canvas->SetPenStyle(Style);
  SavedClip = clip;
  canvas->SetOrigin(CPoint(0, 0));
}

bool CLine::Meets(const CRect& line, const CRect& clip) {
  const auto overlap = [](const CFloat& a1, const CFloat& a2, const CFloat& b1, const CFloat& b2) {
    return bool((a1 >= b1 ? a1 : b1) <= (a2 <= b2 ? a2 : b2));
  };
  const bool swapX = bool(line.M1.X > line.M2.X), swapY = bool(line.M1.Y > line.M2.Y);
  return overlap(clip.M1.X, clip.M2.X, swapX ? line.M2.X : line.M1.X,
                 swapX ? line.M1.X : line.M2.X) &&
         overlap(clip.M1.Y, clip.M2.Y, swapY ? line.M2.Y : line.M1.Y,
                 swapY ? line.M1.Y : line.M2.Y);
}

void CLine::EndPaint(CRect& clip) {
  if (!KeptClip) {
    CPen::EndPaint(clip);
    return;
  }
  KeptClip = false;
  clip = SavedClip;
  if (CCanvas* canvas = GetCanvas()) canvas->SetPenStyle(65535);
}

void CLine::Paint(const CRect&) {
  CCanvas* canvas = GetCanvas();
  if (!Visible || !canvas) return;
  canvas->SetColor(Color);
  if (KeptClip) {
    canvas->DrawLine(AbsLine);  // BeginPaint has set the origin too
    return;
  }
  canvas->SetOrigin(CPoint(0, 0));
  canvas->DrawLine(GetAbsRect());
}

CStr CRectangle::ClassName() const {
  return "CRectangle";
}

CRect CRectangle::CalcClientRect() {
  CRect r(0, 0, GetWidth(), GetHeight());
  r.AdjustEdges(1, 1, -1, -1);
  return r;
}

void CRectangle::Paint(const CRect& clip) {
  CCanvas* canvas = GetCanvas();
  if (Visible && canvas) {
    canvas->SetColor(Color);
    canvas->SetOrigin(CPoint(0, 0));
    canvas->DrawRect(GetAbsRect());
  }
  CControl::Paint(clip);
}

CStr CEllipse::ClassName() const {
  return "CEllipse";
}

void CEllipse::Paint(const CRect& clip) {
  if (CCanvas* canvas = GetCanvas()) {
    canvas->SetColor(Color);
    canvas->SetOrigin(CPoint(0, 0));
    canvas->DrawEllipse(GetAbsRect());
  }
  CControl::Paint(clip);
}

CStr CTriangle::ClassName() const {
  return "CTriangle";
}
void CTriangle::Paint(const CRect&) {}

CStr CFillRectangle::ClassName() const {
  return "CFillRectangle";
}

// A fill covers its rectangle's rounded corners and nothing beyond, so where the rectangle lies
// inside a clip the canvas already has, cutting the clip to it (and back) changes no pixel. The
// panes of splitters and the faces under buttons are such fills, many in every repaint; one with
// parts of its own has them cut as usual.
void CFillRectangle::BeginPaint(CRect& clip) {
  CCanvas* canvas = GetCanvas();
  KeptClip = Visible && canvas && ChildCount().Value == 0 &&
             (!FrameList || FrameList->Count().Value == 0) && canvas->HasClip(clip);
  if (KeptClip) {
    const CRect r = GetAbsRect();
    KeptClip = bool(r.M1.X <= r.M2.X) && bool(r.M1.Y <= r.M2.Y) && bool(clip.M1.X <= r.M1.X) &&
               bool(clip.M1.Y <= r.M1.Y) && bool(r.M2.X <= clip.M2.X) && bool(r.M2.Y <= clip.M2.Y);
  }
  if (!KeptClip) {
    CBrush::BeginPaint(clip);
    return;
  }
  SavedClip = clip;
  canvas->SetOrigin(CPoint(0, 0));
}

void CFillRectangle::EndPaint(CRect& clip) {
  if (!KeptClip) {
    CBrush::EndPaint(clip);
    return;
  }
  clip = SavedClip;
}

void CFillRectangle::Paint(const CRect& clip) {
  CCanvas* canvas = GetCanvas();
  if (Visible && canvas) {
    canvas->SetColor(Color);
    canvas->FillRect(GetAbsRect());
  }
  CControl::Paint(clip);
}

CStr CFillEllipse::ClassName() const {
  return "CFillEllipse";
}

void CFillEllipse::Paint(const CRect& clip) {
  if (CCanvas* canvas = GetCanvas()) {
    canvas->SetColor(Color);
    canvas->SetOrigin(CPoint(0, 0));
    canvas->FillEllipse(GetAbsRect());
  }
  CControl::Paint(clip);
}

CStr CFillTriangle::ClassName() const {
  return "CFillTriangle";
}
void CFillTriangle::Paint(const CRect&) {}
