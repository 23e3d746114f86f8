// A scroll bar, horizontal or vertical, 16 units thick: two arrow buttons, a track and a thumb
// over a real-valued range. The owner sets Min, Max, Page, SmallStep and Position directly, reads
// Position back and hears about every change the bar makes through OnChange:
//
//   auto* bar = new CScrollBar(face);
//   bar->SetVertical(true);
//   bar->SetBounds(200, 0, 16, 150, true);
//   bar->Max = lines;  bar->Page = linesThatFit;  bar->SmallStep = 1;
//   bar->OnChange.Set(this, &CMyView::Scrolled);   // void Scrolled(CControl* bar)
//   bar->MoveBy(3);                                 // as an arrow does: clamp, repaint, OnChange
//
// Position stays in Min .. Max - Page after every operation of the bar; the lower clamp comes
// first, so a Page larger than the range leaves Position at Max - Page, below Min. The bar lays
// itself out whenever it is painted, so sizes and fields set by the owner show at the next paint.
#pragma once

#include "widgets/Panel.h"

class CPicButton;

class CScrollBar : public CPanel {
 public:
  explicit CScrollBar(CControl* parent);

  CStr ClassName() const override;
  // Lays the bar out before anything of it is painted (and clipped to its rectangle).
  void BeginPaint(CRect& clip) override;

  virtual CBool GetVertical();
  // Also loads the arrow pictures of that orientation.
  virtual void SetVertical(CBool vertical);

  // Position := p, or Position += delta; then clamp and Update. The arrows, the track, the thumb
  // and the mouse wheel all change Position this way.
  void SetPosition(const CFloat& p);
  void MoveBy(const CFloat& delta);
  // Position into Min .. Max - Page, the lower bound first.
  void Clamp();
  // After a change: the thumb follows Position, OnChange is called and the window repaints
  // (once: not again when the handler has repainted it).
  void Update();

  // Along the bar: the track's length between the arrows, where it starts, and how long the thumb
  // is.
  CFloat TrackLength();
  CFloat TrackOrigin();
  CFloat ThumbLength();

  CBool Vertical;
  CBool Dragging;
  CPoint DragPoint;
  CFloat Min = 0;
  CFloat Max = 100;
  CFloat Position = 0;
  CFloat Page = 10;
  CFloat ThumbPos;
  CFloat SmallStep = 1;
  CNotifyHook OnChange;
  CPicButton* BackButton = nullptr;     // left or up
  CPicButton* ForwardButton = nullptr;  // right or down
  CPanel* Thumb = nullptr;

 private:
  void LayOutBar();
  CFloat Along(const CPoint& p) const { return Vertical ? p.Y : p.X; }
  CFloat ThumbPosFromPosition();

  void BackClick(CControl* sender);
  void ForwardClick(CControl* sender);
  void TrackMouseDown(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
  void ThumbMouseDown(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
  void ThumbMouseMove(CControl* sender, CShiftStateSet shift, CPoint p);
  void ThumbMouseUp(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
};
