#include "ide/App1.h"

#include "ide/Form1.h"
#include "widgets/MsgDlg.h"
#include "widgets/WidgetClasses.h"

CApp1::CApp1() : CCtrlApp(WidgetClassRows()) {
  IdeForm = new CForm1(nullptr);
  MsgDlg = new CMsgDlgForm(IdeForm);
}

// The main window is a root control that owns its window; it goes before the layers below take
// the screen and the fonts away. The message dialog is its child and goes with it.
CApp1::~CApp1() {
  MsgDlg = nullptr;
  MainForm = nullptr;
  delete IdeForm;
  IdeForm = nullptr;
}

CStr CApp1::ClassName() const {
  return "CApp1";
}
