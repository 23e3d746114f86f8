// The gallery's second window: scroll bars (one whose page is larger than its range), a tab
// strip with an empty tab, a scroll box with content to scroll (also by the mouse wheel), and
// splitters nested as the environment's main window nests them.
#pragma once

#include <memory>

#include "core/Values.h"
#include "graphics/Geometry.h"

class CForm;
class CLabel;
class CScrollBar;
class CTabControl;
class CControl;

class ScrollingPage : public CObject {
 public:
  ScrollingPage();
  ~ScrollingPage() override;

 private:
  void Bars(CControl* face, CInt heading);
  void Tabs(CControl* face, CInt heading);
  void Box(CControl* face, CInt heading);
  void Splitters(CControl* face, CInt heading);

  void BarChanged(CControl* sender);
  void TabPressed(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);

  std::unique_ptr<CForm> form_;
  CScrollBar* horizontal_ = nullptr;
  CScrollBar* vertical_ = nullptr;
  CScrollBar* oversized_ = nullptr;
  CLabel* barState_ = nullptr;
  CTabControl* tabs_ = nullptr;
  CLabel* tabState_ = nullptr;
};
