// The application object of the environment: the control application with the main window on
// top. Building it opens the main window (which loads the projects of the last Save) and then the
// message dialog that every confirmation uses.
//
//   auto app = std::make_unique<CApp1>();
//   CtrlApp = app.get();
//   app->Run();   // until the main window is closed
#pragma once

#include "controls/CtrlApp.h"

class CForm1;

class CApp1 : public CCtrlApp {
 public:
  CApp1();
  ~CApp1() override;

  CStr ClassName() const override;

  CForm1* IdeForm = nullptr;  // also MainForm, being the first form built; lives to the end
};
