#include "widgets/Hint.h"

#include <algorithm>

#include "controls/Text.h"
#include "graphics/Canvas.h"

namespace {

const CColor kPaleYellow(1, 1, 0.88);  // the classic tooltip's face
constexpr int kPadX = 3, kPadY = 1;

}  // namespace

CHint::CHint(CControl* parent) : CControl(parent) {
  Visible = false;
  Caption = new CText(this);
  Caption->Str = "";
  Caption->Color = CColor(0, 0, 0);
  Caption->SetFontNumber(0);
}

CStr CHint::ClassName() const {
  return "CHint";
}

void CHint::ShowAt(const CStr& text, CPoint at) {
  if (!Parent) return;
  Caption->Str = text;
  const CSize size = Caption->GetTextSize();
  const CFloat width = size.Width + CFloat(2 * kPadX + 1), height = size.Height + CFloat(2 * kPadY + 1);
  // Kept inside the parent: moved left of its right edge, above its bottom, never past its left.
  const CFloat right = Parent->GetWidth() - CFloat(1), bottom = Parent->GetHeight() - CFloat(1);
  CFloat x = at.X, y = at.Y;
  if (x + width > right) x = right - width;
  if (y + height > bottom) y = bottom - height;
  if (x < CFloat(0)) x = 0;
  if (y < CFloat(0)) y = 0;
  SetBounds(x, y, width, height, true);
  Caption->SetBounds(kPadX + 1, kPadY + 1, size.Width, size.Height, true);
  // Topmost among its siblings: last in their list.
  Parent->RemoveChild(this);
  Parent->AddChild(this);
  Visible = true;
  Invalidate();
}

void CHint::Dismiss() {
  if (!Visible) return;
  Visible = false;
  Invalidate();
}

CBool CHint::ContainsPoint(CPoint) {
  return false;
}

void CHint::Paint(const CRect& clip) {
  CCanvas* canvas = GetCanvas();
  if (!Visible || !canvas) return;
  const CRect r = GetAbsRect();
  canvas->SetOrigin(CPoint(0, 0));
  canvas->SetColor(kPaleYellow);
  canvas->FillRect(r);
  canvas->SetColor(CColor(0, 0, 0));
  canvas->DrawRect(r);
  CControl::Paint(clip);
}
