// qxdesigner: the form designer on its own, in a window laid out as the environment lays it out:
// the designer in the workspace and the property tuner beside it. Escape (while no control holds
// the focus) or the window's close button ends it.
//
// The pictures come from the home directory (C:\Qxe\Pics), where scripts/run.sh puts them.
#include <cstdio>
#include <memory>

#include "controls/CtrlApp.h"
#include "controls/Text.h"
#include "controls/View.h"
#include "core/Cp1251.h"
#include "designer/DsgnForm.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "platform/Screen.h"
#include "widgets/Form.h"
#include "widgets/Tuner.h"
#include "widgets/WidgetClasses.h"

namespace {

class DesignerWindow {
 public:
  explicit DesignerWindow(CCtrlApp& app) : app_(app) {
    form_ = std::make_unique<CForm>(nullptr);
    CForm& form = *form_;
    form.SetBounds(8, 8, 1008, 752, true);
    auto* font = new CFont;  // the font manager keeps it
    font->Set(0, 13, false, false, false, false, false, "MS Sans Serif", "Text");
    form.GetCanvas()->CreateFont(font);
    form.Caption->Title->Str = "Qxworks: дизайнер форм"_cp;

    auto* designer = new CDsgnForm(form.Client);
    designer->SetBounds(4, 4, 720, 700, true);
    auto* tuner = new CTunerTreeBox(form.Client);
    tuner->SetBounds(730, 4, 266, 700, true);
    designer->Tuner = tuner;

    form.OnKeyDown.Set(this, &DesignerWindow::KeyDown);
    form.View->SetFocus(&form, false, 0);
    form.Invalidate();
  }

 private:
  void KeyDown(CControl*, CInt key, CShiftStateSet) {
    if (key.Value == 1) app_.Quit();  // Escape
  }

  CCtrlApp& app_;
  std::unique_ptr<CForm> form_;
};

}  // namespace

int main() {
  if (!platform::RealDisplay()) {
    std::fputs("qxdesigner: no display to show the designer on (is DISPLAY set?)\n", stderr);
    return 1;
  }
  auto app = std::make_unique<CCtrlApp>(WidgetClassRows());
  CtrlApp = app.get();
  {
    DesignerWindow window(*app);
    app->Run();
  }
  app.reset();
  return 0;
}
