#include "controls/KeyboardCursor.h"

#include "controls/Control.h"
#include "graphics/Canvas.h"
#include "graphics/Timer.h"

CKeyboardCursor::CKeyboardCursor() {
  ResizeWidth(1);
  ResizeHeight(10);
}

CKeyboardCursor::~CKeyboardCursor() = default;

void CKeyboardCursor::SetBlinking(CBool on) {
  if (on) {
    if (!BlinkTimer) {
      BlinkTimer = std::make_unique<CTimer>();
      BlinkTimer->SetInterval(500);
      BlinkTimer->OnTimer.Set(this, &CKeyboardCursor::Blink);
    }
    BlinkTimer->SetEnabled(true);
  } else if (BlinkTimer) {
    BlinkTimer->SetEnabled(false);
  }
}

void CKeyboardCursor::Blink() {
  Phase = !Phase;
  if (Control) Control->Invalidate();
}

void CKeyboardCursor::SetControl(CControl* c) {
  if (Control) {
    Phase = false;
    Control->Invalidate();
  }
  Control = c;
  if (c) c->Invalidate();
}

void CKeyboardCursor::Paint() {
  if (!Control) return;
  if (CCanvas* canvas = Control->GetCanvas()) canvas->SetColorRGB(0, 0, 0);
  Control->DrawRect(*this);
}
