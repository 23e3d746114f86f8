// The colour dialog of the form designer: 64 colour buttons, red, green and blue each running
// through 0, 85, 170 and 255. Execute waits in a message loop of its own, so every other window
// keeps working meanwhile, until a colour is clicked or the dialog is closed.
//
//   CColor colour;
//   if (dialog->Execute(colour)) CurrentColor = colour;
#pragma once

#include <array>

#include "widgets/Form.h"

class CSpeedButton;

class CColorForm : public CForm {
 public:
  // 184 by 200 at (100, 100) of the parent; hidden until Execute.
  explicit CColorForm(CControl* parent);

  CStr ClassName() const override;

  // Shows the dialog in front of its siblings and waits. True, with the clicked colour, when a
  // colour was clicked; false, with the colour clicked last, when the dialog was closed or the
  // application stopped. The dialog is hidden afterwards.
  CBool Execute(CColor& colour);

  // Every colour button's OnClick: its face colour becomes the choice.
  void ColorClick(CControl* sender);

  CBool Picked;
  CColor Chosen;
  // Button k is in row k / 8 and column k % 8: red in the outer, green in the middle and blue in
  // the inner loop, so button 0 is black and button 63 white. Children of the client face.
  std::array<CSpeedButton*, 64> Buttons{};
};
