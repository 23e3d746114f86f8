// The widgets of the gallery: a toolbar, labels, edits, buttons, panels in every look, a child
// form to move, resize, maximize and close, and a question through the message dialog.
#pragma once

#include "core/Values.h"

class CCtrlApp;
class CForm;
class CLabel;
class CMsgDlgForm;
class CControl;

class WidgetPage : public CObject {
 public:
  // Builds on the main form: the toolbar along the top of its client face, the widgets in the
  // area (x, y)-(x + w, y + h) of the face, the looks below it, the child form and the dialog.
  WidgetPage(CCtrlApp& app, CForm& form, CInt heading);

 private:
  void ToolBar(CControl* face);
  void Column(CControl* face, double x, double y, CInt heading);
  void Looks(CControl* face, double y, CInt heading);
  void ChildForm(CForm& form);

  void ToolClicked(CControl* sender);
  void AskClicked(CControl* sender);
  void ShowFormClicked(CControl* sender);
  void ChildCloseClicked(CControl* sender);

  CCtrlApp& app_;
  CLabel* status_ = nullptr;
  CLabel* answer_ = nullptr;
  CForm* child_ = nullptr;
  CMsgDlgForm* dialog_ = nullptr;
};
