// hello: a program of its own on the Qxworks toolkit, built outside the environment. One form
// with a label and a button; a click on the button changes the label, and closing the form ends
// the program.
//
// `hello --press` shows the form on whatever display SDL has (the offscreen driver too), presses
// its own button as a person would (a press and a release at the button's middle, through the
// message queue the display's input goes through), prints the label's text and ends: exit code 0
// when the click reached the button and changed the label.
#include <cstdio>
#include <cstring>
#include <memory>

#include "controls/CtrlApp.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "graphics/GDI.h"
#include "platform/Messages.h"
#include "platform/Screen.h"
#include "platform/Text.h"
#include "platform/Timers.h"
#include "widgets/Button.h"
#include "widgets/Form.h"
#include "widgets/Label.h"
#include "widgets/WidgetClasses.h"

namespace {

class HelloForm : public CForm {
 public:
  HelloForm() : CForm(nullptr) {
    SetBounds(100, 100, 320, 150, true);
    Caption->Title->Str = "Привет от Qxworks"_cp;
    Label = new CLabel(Client);
    Label->SetBounds(16, 16, 280, 25, true);
    Label->Caption->Str = "Кнопка ещё не нажата"_cp;
    Button = new CButton(Client);
    Button->SetBounds(16, 56, 120, 25, true);
    Button->Caption->Str = "Нажми меня"_cp;
    Button->OnClick.Set(this, &HelloForm::ButtonClick);
  }

  CLabel* Label = nullptr;
  CButton* Button = nullptr;
  bool QuitOnClick = false;

 private:
  void ButtonClick(CControl*) {
    Label->Caption->Str = "Кнопка нажата"_cp;
    Label->Invalidate();
    if (QuitOnClick) CtrlApp->Quit();
  }
};

// A press that never reaches the button must not leave the program waiting for ever.
std::int32_t GiveUp(void* context, const platform::Message&) {
  *static_cast<bool*>(context) = true;
  CtrlApp->Quit();
  return 0;
}

void PressAndRelease(HelloForm& form) {
  const platform::WindowId window = form.View->Canvas->Window;
  const CRect r = form.Button->GetAbsRect();
  const int x = static_cast<int>((r.M1.X.Value + r.M2.X.Value) / 2);
  const int y = static_cast<int>((r.M1.Y.Value + r.M2.Y.Value) / 2);
  platform::PostMessage({window, platform::MessageKind::LeftButtonDown, x, y});
  platform::PostMessage({window, platform::MessageKind::LeftButtonUp, x, y});
}

}  // namespace

int main(int argc, char** argv) {
  const bool press = argc == 2 && std::strcmp(argv[1], "--press") == 0;
  if (argc > 1 && !press) {
    std::fputs("usage: hello [--press]\n", stderr);
    return 2;
  }
  if (!press && !platform::RealDisplay()) {
    std::fputs("hello: no display to show the form on (is DISPLAY set?)\n", stderr);
    return 1;
  }
  auto app = std::make_unique<CCtrlApp>(WidgetClassRows());
  CtrlApp = app.get();
  bool gaveUp = false;
  std::string shown;
  {
    HelloForm form;
    form.Invalidate();
    if (press) {
      form.QuitOnClick = true;
      PressAndRelease(form);
      platform::SetTimer(0, 10000, &GiveUp, &gaveUp);
    }
    app->Run();
    shown = platform::Cp1251ToUtf8(form.Label->Caption->Str.View());
  }
  app.reset();
  if (!press) return 0;
  std::printf("%s\n", shown.c_str());
  if (gaveUp) {
    std::fputs("hello: the press did not reach the button\n", stderr);
    return 1;
  }
  return 0;
}
