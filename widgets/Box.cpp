#include "widgets/Box.h"

#include "widgets/PanelTemplate.h"
#include "widgets/ScrollBar.h"

namespace {

// The bars' room along the right and bottom edges of a scroll box.
constexpr double kBarRoom = 17;
constexpr double kStepsPerNotch = 3;

}  // namespace

// [SECTION] CBox

CBox::CBox(CControl* parent) : CPanel(parent) {
  Template->InitBox();
}

CStr CBox::ClassName() const {
  return "CBox";
}

// [SECTION] CScrollBox

CScrollBox::CScrollBox(CControl* parent) : CBox(parent) {
  // Only the face's far corner moves: it has no children yet that a setter would lay out.
  Client->ResizeWidth(Client->GetWidth() - CFloat(kBarRoom));
  Client->ResizeHeight(Client->GetHeight() - CFloat(kBarRoom));
  const CFloat w = GetWidth();
  const CFloat h = GetHeight();

  HorzBar = new CScrollBar(this);
  HorzBar->SetBounds(2, h - CFloat(kBarRoom), w - CFloat(kBarRoom + 2), 16, true);
  HorzBar->Anchors.Set(1, 2, 2, 2);

  VertBar = new CScrollBar(this);
  VertBar->SetVertical(true);
  VertBar->SetBounds(w - CFloat(kBarRoom), 2, 16, h - CFloat(kBarRoom + 2), true);
  VertBar->Anchors.Set(2, 1, 2, 2);

  HorzBar->OnChange.Set(this, &CScrollBox::Scrolled);
  VertBar->OnChange.Set(this, &CScrollBox::Scrolled);
  ScrollX = 0;
  ScrollY = 0;
}

CStr CScrollBox::ClassName() const {
  return "CScrollBox";
}

void CScrollBox::Scrolled(CControl*) {
  const CPoint back(ScrollX - HorzBar->Position, ScrollY - VertBar->Position);
  if (!(back == CPoint(0, 0))) {
    for (std::int32_t i = 0; i < Client->ChildCount().Value; i++) Client->GetChild(i)->Offset(back);
  }
  ScrollX = HorzBar->Position;
  ScrollY = VertBar->Position;
  Invalidate();
}

void CScrollBox::MouseWheel(CInt notches, CPoint) {
  VertBar->MoveBy(-CFloat(kStepsPerNotch) * VertBar->SmallStep * CFloat(notches));
}
