// The one text caret of the application, shared by every text-entry control. Its rectangle is the
// caret's shape and place, in whatever coordinates the canvas origin stands for when it is
// painted. A control that shows the caret follows this protocol:
//
//   - on gaining the focus: SetControl(itself); on losing it: SetControl(none);
//   - in its own Paint, after its text: if Phase is true and GetControl() is itself, move the
//     rectangle to the caret position and call Paint.
//
// The blink timer flips Phase every 500 ms and repaints the control that holds the caret, so the
// caret shows in every second repaint.
#pragma once

#include <memory>

#include "graphics/Geometry.h"

class CControl;
class CTimer;

class CKeyboardCursor : public CRect {
 public:
  // One unit wide, ten high, at (0, 0); not blinking until SetBlinking(true).
  CKeyboardCursor();
  ~CKeyboardCursor() override;

  void SetBlinking(CBool on);
  // The timer's hook.
  void Blink();
  CControl* GetControl() const { return Control; }
  // Takes the caret from the control that holds it (hidden phase, repainted) and gives it to c
  // (repainted; its phase is left as it is).
  void SetControl(CControl* c);
  // Outlines the rectangle in black on the canvas of the control that holds the caret.
  void Paint();

  CControl* Control = nullptr;
  std::unique_ptr<CTimer> BlinkTimer;
  CBool Phase;
};
