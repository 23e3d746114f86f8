#include "controls/Pic.h"

#include "graphics/Canvas.h"
#include "storage/Stream.h"

CStr CPic::ClassName() const {
  return "CPic";
}

CBool CPic::SetFileName(const CStr& path) {
  FileName = path;
  return Bitmap.LoadFromFile(FileName);
}

void CPic::Paint(const CRect&) {
  CCanvas* canvas = GetCanvas();
  if (!Visible || !canvas) return;
  CRect r(M1.X, M1.Y, M2.X, M2.Y);
  r.Normalize();
  canvas->SetOrigin(GetOrigin());
  if (Centered)
    canvas->DrawBitmapCentered(r, Bitmap);
  else
    canvas->DrawBitmap(r, Bitmap);
}

void CPic::WriteTo(CStream& stream) {
  CControl::WriteTo(stream);
  FileName.SaveToStream(stream);
}

void CPic::ReadFrom(CStream& stream) {
  CControl::ReadFrom(stream);
  FileName.LoadFromStream(stream);
  SetFileName(FileName);
}
