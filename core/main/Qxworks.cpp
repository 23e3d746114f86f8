// qxworks: the environment's entry point. It builds the application object, opens the main
// window with the projects of the last Save, runs the message loop until the main window is
// closed, and ends with exit code 0.
//
// The main window's toolbar, project tree, tuner and workspace join as the IDE layer is built;
// until then the window is the bare main form, and the configuration file is read at start-up so
// that a damaged file is reported at once.
#include <cstdio>
#include <exception>
#include <memory>

#include "controls/CtrlApp.h"
#include "controls/Pic.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "storage/Config.h"
#include "widgets/Form.h"
#include "widgets/MsgDlg.h"
#include "widgets/WidgetClasses.h"

namespace {

// The first form built: it becomes the application's main form, and closing it ends the run.
void BuildMainWindow(CCtrlApp& app) {
  auto* window = new CForm(nullptr);
  window->SetBounds(100, 100, 800, 600, true);
  window->Caption->Icon->SetFileName(app.HomeDir + "\\Pics\\Form\\Icon16_new.bmp");
  window->Caption->Title->Str = "Qxworks 0.3.2";
  for (const char* name : {"FormCaption", "Text"}) {
    auto* font = new CFont;  // the font manager keeps it
    font->Set(0, 13, false, false, false, false, false, "MS Sans Serif", name);
    window->GetCanvas()->CreateFont(font);
  }
  app.MsgDlg = new CMsgDlgForm(window);

  // A damaged file is refused whole and the tree stays empty; the user learns where it is
  // damaged before anything can be saved over it. The platform's box sizes itself to the text.
  RemoveStaleConfigSaves(app);  // left by a save that was killed, as a crash would
  const CLoadReport report = LoadConfig(app);
  window->Invalidate();
  if (!report.Message().View().empty())
    platform::MessageBox(report.Message().View(), window->Caption->Title->Str.View());
}

}  // namespace

int main() {
  // Without a display there is nothing to show and nothing could ever close the main window.
  if (!platform::RealDisplay()) {
    std::fputs("qxworks: no display to show the environment on (is DISPLAY set?)\n", stderr);
    return 1;
  }
  try {
    auto app = std::make_unique<CCtrlApp>(WidgetClassRows());
    CtrlApp = app.get();
    BuildMainWindow(*app);
    app->Run();
  } catch (const std::exception& e) {
    platform::MessageBox(e.what(), "Qxworks");
  }
  return 0;
}
