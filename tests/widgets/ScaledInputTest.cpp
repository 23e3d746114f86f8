// On a high-density screen every window shows 2 or 3 times larger, and SDL reports the pointer in
// screen pixels: a press anywhere within a unit's block of pixels reaches the control a press on
// that unit reaches at factor 1, and a press on the block before it does not.
#include <memory>
#include <vector>

#include <SDL.h>

#include "controls/View.h"
#include "graphics/Canvas.h"
#include "platform/Scale.h"
#include "tests/common/SdlEvents.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Button.h"

namespace {

using namespace qxtest;

class Clicks : public CObject {
 public:
  void Clicked(CControl* sender) { numbers.push_back(sender->Number.Value); }
  std::vector<int> numbers;
};

TEST(ScaledInputTest, APressAtTheEnlargedPositionHitsTheSameButtonAsAtFactor1) {
  const int before = platform::DisplayScale();
  for (const int factor : {1, 2, 3}) {
    SCOPED_TRACE(factor);
    platform::SetDisplayScale(factor);  // for the window made below
    Gui gui;
    auto root = std::make_unique<CControl>(nullptr);
    root->SetBounds(0, 0, 120, 80, true);
    Clicks clicks;
    // Two buttons side by side with a 2-unit gap, a third below them.
    const struct {
      int number;
      double x, y, w, h;
    } buttons[] = {{1, 10, 10, 40, 20}, {2, 52, 10, 40, 20}, {3, 10, 40, 82, 20}};
    for (const auto& b : buttons) {
      auto* button = new CButton(root.get());
      button->SetBounds(b.x, b.y, b.w, b.h, true);
      button->Number = b.number;
      button->OnClick.Set(&clicks, &Clicks::Clicked);
    }
    gui.RunUntilIdle();
    const platform::WindowId window = root->View->Canvas->Window;
    // Unit points, each pressed on its block's last pixel, and on the pixel before its block.
    const struct {
      int x, y;
    } points[] = {{10, 10}, {49, 29}, {50, 15}, {51, 15}, {52, 10}, {91, 29}, {10, 40}, {91, 59}};
    for (const auto& p : points)
      for (const int offset : {factor - 1, -1}) {
        const int x = p.x * factor + offset, y = p.y * factor + offset;
        PushMouse(SDL_MOUSEMOTION, window, x, y);
        PushMouse(SDL_MOUSEBUTTONDOWN, window, x, y);
        PushMouse(SDL_MOUSEBUTTONUP, window, x, y);
        gui.RunUntilIdle();
      }
    // On the block's last pixel, the unit itself; on the pixel before the block, the unit up
    // and left of it. The hit test counts a control's right and bottom edge in (button 1 takes
    // unit 50), so the gap is unit 51 alone: the same clicks at every factor.
    EXPECT_EQ(clicks.numbers, (std::vector<int>{1, 1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3}));
    root.reset();
  }
  platform::SetDisplayScale(before);
}

}  // namespace
