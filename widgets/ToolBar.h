// A strip that places square speed buttons from left to right, 2 units from its top and left
// edges and 2 units apart; a separator leaves 8 more units. A button's Hint shows in a hint box
// below it once the pointer has rested on it for half a second, until the pointer leaves it, a
// button or key is pressed, or five seconds have passed.
//
//   toolBar->AddButton(home + "\\Pics\\16x16silver\\Save.bmp", 3, CNotifyHook(this, &CMain::Save));
//   toolBar->AddSeparator();
#pragma once

#include <cstdint>
#include <memory>

#include "graphics/Timer.h"
#include "widgets/Panel.h"

class CHint;
class CSpeedButton;

class CToolBar : public CPanel {
 public:
  explicit CToolBar(CControl* parent);

  CStr ClassName() const override;

  // A button as high as the toolbar less 4, showing the picture file, keeping the number in its
  // Number field and calling the handler when clicked.
  CSpeedButton* AddButton(const CStr& fileName, const CInt& number, const CNotifyHook& handler);
  void AddSeparator();

  std::int32_t NextX = 2;  // where the next button goes

  // From the buttons: the pointer moved over one, or one was pressed.
  void PointerOn(CSpeedButton* button);
  void PointerPressed(CSpeedButton* button);

  static constexpr int kRestMs = 500, kShownMs = 5000, kWatchMs = 100;
  CHint* HintBox = nullptr;  // made in the toolbar's parent on the first hint

 private:
  void HintTick();
  void StopHint();
  void WatchUntilLeft(CSpeedButton* button);

  CSpeedButton* resting_ = nullptr;   // the button the pointer rests on
  CSpeedButton* pressedOn_ = nullptr;  // no hint again until the pointer leaves it
  std::int32_t shownFor_ = 0;         // ms the hint has been shown
  CTimer timer_;
};
