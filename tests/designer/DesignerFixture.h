// What the designer tests share: the application under the harness with the pictures on drive C:,
// a main window, and the press, drag and release of a person at points of the design surface.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/View.h"
#include "designer/Map.h"
#include "platform/Timers.h"
#include "platform/Window.h"
#include "tests/common/SdlEvents.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Form.h"

namespace qxtest {

class DesignerTest : public testing::Test {
 protected:
  DesignerTest() {
    InstallPictures();
    main->SetBounds(0, 0, 800, 600, true);
    AddFont(*main, "Text", 13);
    gui.App().Running = true;  // as inside the program's run loop, which dialogs wait within
  }

  // The mouse at a point of the surface (its own coordinates), through the window.
  void Press(CMap& map, double x, double y) { gui.Press(*main, X(map, x), Y(map, y)); }
  void DragTo(CMap& map, double x, double y) { gui.DragTo(*main, X(map, x), Y(map, y)); }
  void Release(CMap& map, double x, double y) { gui.Release(*main, X(map, x), Y(map, y)); }
  void Drag(CMap& map, double x1, double y1, double x2, double y2) {
    Press(map, x1, y1);
    DragTo(map, x2, y2);
    Release(map, x2, y2);
  }
  void Click(CMap& map, double x, double y) {
    Press(map, x, y);
    Release(map, x, y);
  }
  // A press and release with Shift held, as SDL reports them: the keyboard's modifier state and
  // the mouse events, from the platform layer up.
  void ShiftClick(CMap& map, double x, double y) {
    const platform::WindowId window = Gui::WindowOf(*main);
    SDL_Window* sdl = platform::detail::SdlWindowOf(window);
    const platform::WindowId sdlId = sdl ? SDL_GetWindowID(sdl) : window;
    SDL_SetModState(KMOD_LSHIFT);
    PushMouse(SDL_MOUSEBUTTONDOWN, sdlId, X(map, x), Y(map, y));
    gui.RunUntilIdle();
    PushMouse(SDL_MOUSEBUTTONUP, sdlId, X(map, x), Y(map, y));
    gui.RunUntilIdle();
    SDL_SetModState(KMOD_NONE);
  }

  // The middle of a control, in view coordinates, clicked through the window.
  void ClickOn(CControl& control) {
    const CRect r = control.GetAbsRect();
    gui.Click(*main, ((r.M1.X + r.M2.X) / CFloat(2)).Round().Value,
              ((r.M1.Y + r.M2.Y) / CFloat(2)).Round().Value);
  }

  // A press and a release at the middle of a control, queued for whichever loop runs next (a
  // dialog's own).
  void PostClick(CControl& control) {
    const CRect r = control.GetAbsRect();
    const int x = ((r.M1.X + r.M2.X) / CFloat(2)).Round().Value;
    const int y = ((r.M1.Y + r.M2.Y) / CFloat(2)).Round().Value;
    const platform::WindowId window = Gui::WindowOf(control);
    platform::PostMessage({window, platform::MessageKind::LeftButtonDown, x, y});
    platform::PostMessage({window, platform::MessageKind::LeftButtonUp, x, y});
  }

  // Runs `step` once, after `ms` of virtual time: for what must happen while a dialog's own loop
  // waits. Steps not run by the end of the test are dropped.
  void After(int ms, std::function<void()> step) {
    auto later = std::make_unique<Later>();
    later->step = std::move(step);
    later->timer = platform::SetTimer(0, ms, &Later::Tick, later.get());
    later_.push_back(std::move(later));
  }

  static bool Selected(CMap& map, CControl* control) {
    const CTrack* track = map.FindTrack(control);
    return track && track->Shown;
  }

  Gui gui;
  std::unique_ptr<CForm> main = std::make_unique<CForm>(nullptr);

 private:
  static int X(CMap& map, double x) { return (map.GetAbsM1().X + CFloat(x)).Round().Value; }
  static int Y(CMap& map, double y) { return (map.GetAbsM1().Y + CFloat(y)).Round().Value; }

  struct Later {
    ~Later() { platform::KillTimer(timer); }
    static std::int32_t Tick(void* context, const platform::Message&) {
      auto* self = static_cast<Later*>(context);
      platform::KillTimer(self->timer);
      auto step = std::move(self->step);
      if (step) step();
      return 0;
    }
    std::function<void()> step;
    platform::TimerId timer = 0;
  };
  std::vector<std::unique_ptr<Later>> later_;
};

}  // namespace qxtest
