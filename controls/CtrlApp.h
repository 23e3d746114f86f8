// The control layer of the application object: it registers the control classes, owns the one
// keyboard cursor, remembers the main form and closes forms, and keeps the look number that panels
// consult when they are built.
#pragma once

#include <memory>
#include <span>

#include "graphics/GLApp.h"

class CControl;
class CKeyboardCursor;
class CMsgDlgForm;
struct CClassRow;

class CCtrlApp : public CGLApp {
 public:
  // Registers the control classes (CAnchors to CPic), then the widget classes given by the layer
  // above (CBevel to CForm, in the registry's order), then builds the keyboard cursor and starts
  // its blinking. The widget rows come from above because the widgets are built on this layer.
  explicit CCtrlApp(std::span<const CClassRow> widgetRows);
  ~CCtrlApp() override;

  CInt GetLookNumber() const { return LookNumber; }
  // The main form ends the run loop; any other form is hidden and repainted.
  void CloseForm(CControl* form);

  // 0: panels get the classic look; nothing changes it.
  CInt LookNumber;
  std::unique_ptr<CKeyboardCursor> KeyboardCursor;
  // The first form built stores itself here (not owned).
  CControl* MainForm = nullptr;
  // Set by the environment's application class (not owned).
  CMsgDlgForm* MsgDlg = nullptr;
};

// The control pointer: controls, widgets and the environment's windows reach the application
// object through it. It points to the same object as CoreApp and GLApp.
inline CCtrlApp* CtrlApp = nullptr;

// The rows of the control classes, CAnchors to CPic, in registration order.
std::span<const CClassRow> ControlClassRows();
