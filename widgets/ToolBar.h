// A strip that places square speed buttons from left to right, 2 units from its top and left
// edges and 2 units apart; a separator leaves 8 more units.
//
//   toolBar->AddButton(home + "\\Pics\\16x16silver\\Save.bmp", 3, CNotifyHook(this, &CMain::Save));
//   toolBar->AddSeparator();
#pragma once

#include <cstdint>

#include "widgets/Panel.h"

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
};
