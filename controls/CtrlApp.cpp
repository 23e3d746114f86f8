#include "controls/CtrlApp.h"

#include "controls/Control.h"
#include "controls/KeyboardCursor.h"
#include "model/ClassManager.h"

CCtrlApp::CCtrlApp(std::span<const CClassRow> widgetRows) {
  LookNumber = 0;
  CtrlApp = this;
  MainForm = nullptr;
  ClassMan->Register(ControlClassRows());
  ClassMan->Register(widgetRows);
  KeyboardCursor = std::make_unique<CKeyboardCursor>();
  KeyboardCursor->SetBlinking(true);
}

CCtrlApp::~CCtrlApp() {
  KeyboardCursor.reset();
  if (CtrlApp == this) CtrlApp = nullptr;
}

void CCtrlApp::CloseForm(CControl* form) {
  if (!form) return;
  if (form == MainForm) {
    Quit();
    return;
  }
  form->Hide();
  form->Invalidate();
}
