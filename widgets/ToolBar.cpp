#include "widgets/ToolBar.h"

#include "controls/Pic.h"
#include "widgets/Button.h"

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
