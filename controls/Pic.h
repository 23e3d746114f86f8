// A picture loaded from a ".bmp" file, drawn unscaled from the control's top-left corner or
// centred in its rectangle; only the part that fits is shown.
#pragma once

#include "controls/Control.h"
#include "graphics/Bitmap.h"

class CPic : public CControl {
 public:
  explicit CPic(CControl* parent) : CControl(parent) {}

  CStr ClassName() const override;
  void WriteTo(CStream& stream) override;   // the control, then FileName
  void ReadFrom(CStream& stream) override;  // ... and loads the picture again
  void Paint(const CRect& clip) override;

  // Loads the picture from path (used unchanged: callers pass the home directory followed by the
  // picture's relative path). A missing file leaves the picture empty; the answer is still true.
  CBool SetFileName(const CStr& path);

  CGDIBitmap Bitmap;
  CStr FileName;
  CBool Centered;
};
