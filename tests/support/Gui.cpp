#include "tests/support/Gui.h"

#include <gtest/gtest.h>

#include <array>

#include "controls/Control.h"
#include "controls/CtrlApp.h"
#include "controls/View.h"
#include "graphics/GDI.h"
#include "platform/Clock.h"
#include "platform/Timers.h"
#include "platform/Window.h"
#include "widgets/WidgetClasses.h"

namespace qxtest {
namespace {

using platform::Message;
using platform::MessageKind;

// More messages than any test makes between two checks; a loop that handles this many without
// settling is one that posts or repaints itself for ever.
constexpr int kMessageLimit = 100000;

// The keys of the two layouts, by the character they type (lower and upper case alike).
struct Key {
  const char* characters;  // cp1251
  int scanCode;
};

std::array<int, 256> BuildScanCodes() {
  std::array<int, 256> codes{};
  // The US layout: unshifted and shifted characters of each key.
  const Key us[] = {
      {"1!", 2},  {"2@", 3},   {"3#", 4},   {"4$", 5},  {"5%", 6},  {"6^", 7},  {"7&", 8},
      {"8*", 9},  {"9(", 10},  {"0)", 11},  {"-_", 12}, {"=+", 13}, {"qQ", 16}, {"wW", 17},
      {"eE", 18}, {"rR", 19},  {"tT", 20},  {"yY", 21}, {"uU", 22}, {"iI", 23}, {"oO", 24},
      {"pP", 25}, {"[{", 26},  {"]}", 27},  {"aA", 30}, {"sS", 31}, {"dD", 32}, {"fF", 33},
      {"gG", 34}, {"hH", 35},  {"jJ", 36},  {"kK", 37}, {"lL", 38}, {";:", 39}, {"'\"", 40},
      {"`~", 41}, {"\\|", 43}, {"zZ", 44},  {"xX", 45}, {"cC", 46}, {"vV", 47}, {"bB", 48},
      {"nN", 49}, {"mM", 50},  {",<", 51},  {".>", 52}, {"/?", 53}, {" ", 57},  {"\r", 28},
      {"\b", 14}, {"\t", 15},  {"\x1b", 1},
  };
  for (const Key& key : us)
    for (const char* c = key.characters; *c; ++c)
      codes[static_cast<unsigned char>(*c)] = key.scanCode;
  // The Russian layout on the same keys, lower case then upper case (cp1251).
  const Key ru[] = {
      {"\xE9\xC9", 16}, {"\xF6\xD6", 17}, {"\xF3\xD3", 18}, {"\xEA\xCA", 19}, {"\xE5\xC5", 20},
      {"\xED\xCD", 21}, {"\xE3\xC3", 22}, {"\xF8\xD8", 23}, {"\xF9\xD9", 24}, {"\xE7\xC7", 25},
      {"\xF5\xD5", 26}, {"\xFA\xDA", 27}, {"\xF4\xD4", 30}, {"\xFB\xDB", 31}, {"\xE2\xC2", 32},
      {"\xE0\xC0", 33}, {"\xEF\xCF", 34}, {"\xF0\xD0", 35}, {"\xEE\xCE", 36}, {"\xEB\xCB", 37},
      {"\xE4\xC4", 38}, {"\xE6\xC6", 39}, {"\xFD\xDD", 40}, {"\xB8\xA8", 41}, {"\xFF\xDF", 44},
      {"\xF7\xD7", 45}, {"\xF1\xD1", 46}, {"\xEC\xCC", 47}, {"\xE8\xC8", 48}, {"\xF2\xD2", 49},
      {"\xFC\xDC", 50}, {"\xE1\xC1", 51}, {"\xFE\xDE", 52},
  };
  for (const Key& key : ru)
    for (const char* c = key.characters; *c; ++c)
      codes[static_cast<unsigned char>(*c)] = key.scanCode;
  return codes;
}

// The characters the loop's translation makes from a key-down, as the platform does.
bool TranslatedCharacter(unsigned char c) {
  return c == '\r' || c == '\b' || c == '\t' || c == 27;
}

struct Watchdog {
  CCtrlApp* app;
  bool fired = false;

  static std::int32_t Procedure(void* context, const platform::Message&) {
    auto* self = static_cast<Watchdog*>(context);
    self->fired = true;
    self->app->Quit();
    return 0;
  }
};

}  // namespace

int ScanCodeOf(unsigned char character) {
  static const std::array<int, 256> codes = BuildScanCodes();
  return codes[character];
}

std::string Rows(const std::vector<std::string>& rows) {
  std::string out;
  for (const std::string& row : rows) out += row + '\n';
  return out;
}

Gui::Gui(const AppFactory& build) {
  platform::UseVirtualClock();
  // Whatever an earlier test left: its messages, paints and due ticks, and the quit request that
  // destroying its windows posted (GetMessage answers the request posted here, and with it any
  // earlier one, since the queue keeps only one).
  Message m;
  while (platform::PeekMessage(m)) {
  }
  platform::PostQuitMessage(0);
  platform::GetMessage(m);
  app_ = build ? build() : std::make_unique<CCtrlApp>(WidgetClassRows());
}

Gui::~Gui() {
  app_.reset();
  Message m;
  while (platform::PeekMessage(m)) {
  }
}

platform::WindowId Gui::WindowOf(CControl& control) {
  CControl* root = control.GetRoot();
  if (!root->View || !root->View->Canvas) return 0;
  return root->View->Canvas->Window;
}

void Gui::Post(CControl& window, MessageKind kind, int a, int b, std::uint8_t shift) {
  const platform::WindowId id = WindowOf(window);
  ASSERT_NE(id, 0u) << "the control's root has no window";
  platform::PostMessage(Message{id, kind, a, b, shift});
}

void Gui::Press(CControl& window, int x, int y, std::uint8_t shift) {
  Post(window, MessageKind::LeftButtonDown, x, y, shift);
  RunUntilIdle();
}

void Gui::DragTo(CControl& window, int x, int y, std::uint8_t shift) {
  Post(window, MessageKind::MouseMove, x, y, shift);
  RunUntilIdle();
}

void Gui::Release(CControl& window, int x, int y, std::uint8_t shift) {
  Post(window, MessageKind::LeftButtonUp, x, y, shift);
  RunUntilIdle();
}

void Gui::Click(CControl& window, int x, int y, std::uint8_t shift) {
  Press(window, x, y, shift);
  Release(window, x, y, shift);
}

void Gui::Wheel(CControl& window, int x, int y, int notches) {
  Post(window, MessageKind::Wheel, notches, platform::PackPoint(x, y));
  RunUntilIdle();
}

void Gui::Type(CControl& window, std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const int code = ScanCodeOf(byte);
    if (code == 0) {
      Post(window, MessageKind::Char, byte);
    } else {
      Post(window, MessageKind::KeyDown, code);
      if (!TranslatedCharacter(byte)) Post(window, MessageKind::Char, byte);
      Post(window, MessageKind::KeyUp, code);
    }
    RunUntilIdle();
  }
}

void Gui::PressKey(CControl& window, int scanCode, std::uint8_t shift) {
  Post(window, MessageKind::KeyDown, scanCode, 0, shift);
  Post(window, MessageKind::KeyUp, scanCode, 0, shift);
  RunUntilIdle();
}

// Time passes deadline by deadline, as it does for a program that is waiting: every timer that
// falls due within the span ticks as often as it would have.
void Gui::Advance(int milliseconds) {
  const std::int64_t end = platform::Now() + (milliseconds > 0 ? milliseconds : 0);
  RunUntilIdle();
  for (;;) {
    const auto next = platform::detail::NextTimerDeadline();
    if (!next || *next > end) break;
    platform::AdvanceClock(*next - platform::Now());
    RunUntilIdle();
  }
  platform::AdvanceClock(end - platform::Now());
  RunUntilIdle();
}

void Gui::RunUntilIdle() {
  Message m;
  for (int handled = 0; handled < kMessageLimit; handled++) {
    if (!platform::PeekMessage(m)) return;
    platform::TranslateMessage(m);
    platform::DispatchMessage(m);
    app_->Idle();
  }
  ADD_FAILURE() << "the message loop did not settle after " << kMessageLimit << " messages";
}

bool Gui::RunLoop(int limitMs) {
  Watchdog watchdog{app_.get()};
  const platform::TimerId id = platform::SetTimer(0, limitMs, &Watchdog::Procedure, &watchdog);
  app_->Run();
  platform::KillTimer(id);
  return !watchdog.fired;
}

Pixel Gui::PixelAt(CControl& window, int x, int y) {
  const platform::Surface* image = platform::WindowImage(WindowOf(window));
  if (!image) {
    ADD_FAILURE() << "the control's root has no window image";
    return 0;
  }
  return image->At(x, y);
}

std::string Gui::Picture(CControl& window, int x, int y, int width, int height,
                         const std::map<Pixel, char>& legend) {
  const platform::Surface* image = platform::WindowImage(WindowOf(window));
  if (!image) {
    ADD_FAILURE() << "the control's root has no window image";
    return "";
  }
  std::string out;
  for (int row = y; row < y + height; row++) {
    for (int column = x; column < x + width; column++) {
      const auto it = legend.find(image->At(column, row));
      out += it == legend.end() ? '?' : it->second;
    }
    out += '\n';
  }
  return out;
}

}  // namespace qxtest
