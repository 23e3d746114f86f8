#include "widgets/ToolBar.h"

#include "controls/Pic.h"
#include "controls/View.h"
#include "widgets/Button.h"
#include "widgets/Hint.h"

CToolBar::CToolBar(CControl* parent) : CPanel(parent) {
  NextX = 2;
}

CStr CToolBar::ClassName() const {
  return "CToolBar";
}

CSpeedButton* CToolBar::AddButton(const CStr& fileName, const CInt& number,
                                  const CNotifyHook& handler) {
  const CFloat size = GetHeight() - CFloat(4);
  auto* button = new CSpeedButton(this);
  button->SetBounds(NextX, 2, size, size, true);
  button->Anchors.Set(1, 1, 1, 1);
  button->Picture->SetFileName(fileName);
  button->Number = number;
  button->OnClick = handler;
  NextX = (CFloat(NextX) + size + CFloat(2)).Trunc().Value;
  return button;
}

void CToolBar::AddSeparator() {
  NextX += 8;
}

// [SECTION] The hint

void CToolBar::PointerOn(CSpeedButton* button) {
  if (button == resting_ || button == pressedOn_) return;
  StopHint();
  pressedOn_ = nullptr;
  if (button->Hint.View().empty()) return;
  resting_ = button;
  timer_.OnTimer.Set(this, &CToolBar::HintTick);
  timer_.SetInterval(kRestMs);
  timer_.SetEnabled(true);
}

void CToolBar::PointerPressed(CSpeedButton* button) {
  StopHint();
  WatchUntilLeft(button);
}

// No hint for the button until the pointer has left it.
void CToolBar::WatchUntilLeft(CSpeedButton* button) {
  pressedOn_ = button;
  timer_.OnTimer.Set(this, &CToolBar::HintTick);
  timer_.SetInterval(kWatchMs);
  timer_.SetEnabled(true);
}

void CToolBar::StopHint() {
  timer_.SetEnabled(false);
  resting_ = nullptr;
  shownFor_ = 0;
  if (HintBox) HintBox->Dismiss();
}

// First the rest is over and the hint shows; then, while it shows, the pointer is watched; and
// after a press or a hint that has had its time, until the pointer leaves the button.
void CToolBar::HintTick() {
  if (pressedOn_) {
    if (pressedOn_->MousePressed || (View && View->PointerOver == pressedOn_)) return;
    pressedOn_ = nullptr;
    timer_.SetEnabled(false);
    return;
  }
  const bool stillThere = resting_ && View && View->PointerOver == resting_;
  if (!stillThere || shownFor_ >= kShownMs) {
    CSpeedButton* stayed = stillThere ? resting_ : nullptr;
    StopHint();
    if (stayed) WatchUntilLeft(stayed);  // shown its time: not again until the pointer leaves
    return;
  }
  if (!HintBox || !HintBox->Shown()) {
    if (!Parent) return;
    if (!HintBox) HintBox = new CHint(Parent);
    // Below the button, as far down as a pointer's tip reaches, in the parent's coordinates.
    const CPoint at = resting_->GetAbsM1() - Parent->GetAbsM1() +
                      CPoint(0, resting_->GetHeight() + CFloat(4));
    HintBox->ShowAt(resting_->Hint, at);
    timer_.SetInterval(kWatchMs);
  }
  shownFor_ += kWatchMs;
}
