// Keys as the system sees them: PC scan codes, and characters in cp1251, in the order a person
// typing produces them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <SDL.h>

#include "tests/common/SdlEvents.h"
#include "platform/Clock.h"
#include "platform/Keyboard.h"
#include "platform/Messages.h"
#include "platform/Window.h"
#include "tests/platform/Printers.h"

namespace platform {
namespace {

TEST(ScanCodeTest, SdlScancodesBecomePcScanCodes) {
  struct Case {
    SDL_Scancode sdl;
    int pc;
  } const cases[] = {
      {SDL_SCANCODE_ESCAPE, 1},     {SDL_SCANCODE_1, 2},          {SDL_SCANCODE_0, 11},
      {SDL_SCANCODE_BACKSPACE, 14}, {SDL_SCANCODE_TAB, 15},       {SDL_SCANCODE_Q, 16},
      {SDL_SCANCODE_RETURN, 28},    {SDL_SCANCODE_LCTRL, 29},     {SDL_SCANCODE_A, 30},
      {SDL_SCANCODE_L, 38},         {SDL_SCANCODE_LSHIFT, 42},    {SDL_SCANCODE_Z, 44},
      {SDL_SCANCODE_M, 50},         {SDL_SCANCODE_RSHIFT, 54},    {SDL_SCANCODE_LALT, 56},
      {SDL_SCANCODE_SPACE, 57},     {SDL_SCANCODE_F1, 59},        {SDL_SCANCODE_F10, 68},
      {SDL_SCANCODE_F11, 87},       {SDL_SCANCODE_F12, 88},
      // The grey keys carry the code of their keypad twin.
      {SDL_SCANCODE_HOME, 71},      {SDL_SCANCODE_UP, 72},        {SDL_SCANCODE_PAGEUP, 73},
      {SDL_SCANCODE_LEFT, 75},      {SDL_SCANCODE_RIGHT, 77},     {SDL_SCANCODE_END, 79},
      {SDL_SCANCODE_DOWN, 80},      {SDL_SCANCODE_PAGEDOWN, 81},  {SDL_SCANCODE_INSERT, 82},
      {SDL_SCANCODE_DELETE, 83},    {SDL_SCANCODE_KP_7, 71},      {SDL_SCANCODE_KP_PERIOD, 83},
      // Right-hand twins carry the left-hand code.
      {SDL_SCANCODE_KP_ENTER, 28},  {SDL_SCANCODE_RCTRL, 29},     {SDL_SCANCODE_RALT, 56},
      {SDL_SCANCODE_KP_DIVIDE, 53}, {SDL_SCANCODE_SLASH, 53},
      // Keys the PC keyboard has not.
      {SDL_SCANCODE_UNKNOWN, 0},    {SDL_SCANCODE_AUDIOPLAY, 0},  {SDL_SCANCODE_BRIGHTNESSUP, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ScanCodeFromSdl(c.sdl), c.pc) << SDL_GetScancodeName(c.sdl);
  EXPECT_EQ(ScanCodeFromSdl(-1), 0);
  EXPECT_EQ(ScanCodeFromSdl(SDL_NUM_SCANCODES), 0);
}

// No two keys of the main block share a code: a typo in the table would show up here.
TEST(ScanCodeTest, LettersAndDigitsHaveDistinctCodes) {
  std::vector<int> seen(128, 0);
  for (int sdl = SDL_SCANCODE_A; sdl <= SDL_SCANCODE_0; ++sdl) {
    const int pc = ScanCodeFromSdl(sdl);
    ASSERT_GT(pc, 0) << SDL_GetScancodeName(SDL_Scancode(sdl));
    EXPECT_EQ(seen[pc]++, 0) << "code " << pc << " twice";
  }
}

class TypingTest : public testing::Test {
 protected:
  void SetUp() override {
    UseVirtualClock();
    window_ = CreateWindow(0, 0, 100, 100);
    ASSERT_NE(window_, 0u);
    Message m;
    while (PeekMessage(m)) {
    }
  }
  void TearDown() override { DestroyWindow(window_); }

  void Key(Uint32 type, SDL_Scancode code) { qxtest::PushKey(type, window_, code); }
  void Text(const char* utf8) { qxtest::PushText(window_, utf8); }

  // The run loop's first two steps, as the application runs them.
  std::vector<Message> Run() {
    std::vector<Message> got;
    Message m;
    while (PeekMessage(m)) {
      TranslateMessage(m);
      if (m.kind == MessageKind::KeyDown || m.kind == MessageKind::KeyUp ||
          m.kind == MessageKind::Char)
        got.push_back(m);
    }
    return got;
  }

  Message Down(int code) const { return {window_, MessageKind::KeyDown, code, 0}; }
  Message Up(int code) const { return {window_, MessageKind::KeyUp, code, 0}; }
  Message Char(int byte) const { return {window_, MessageKind::Char, byte, 0}; }

  WindowId window_ = 0;
};

// Key messages carry the modifier keys SDL reports with the key; mouse messages the keyboard's
// state at the time.
TEST_F(TypingTest, InputMessagesCarryTheModifiersHeld) {
  const struct {
    Uint16 mod;
    std::uint8_t bits;
  } cases[] = {{KMOD_NONE, 0},
               {KMOD_LSHIFT, kShift},
               {KMOD_RCTRL, kCtrl},
               {KMOD_LALT, kAlt},
               {KMOD_LSHIFT | KMOD_RALT | KMOD_LCTRL, kShift | kCtrl | kAlt},
               {KMOD_CAPS | KMOD_NUM, 0}};
  for (const auto& c : cases) {
    qxtest::PushKey(SDL_KEYDOWN, window_, SDL_SCANCODE_DELETE, c.mod);
    SDL_SetModState(SDL_Keymod(c.mod));
    qxtest::PushMouse(SDL_MOUSEBUTTONDOWN, window_, 5, 5);
    std::vector<std::uint8_t> got;
    Message m;
    while (PeekMessage(m))
      if (m.kind == MessageKind::KeyDown || m.kind == MessageKind::LeftButtonDown)
        got.push_back(m.modifiers);
    SDL_SetModState(KMOD_NONE);
    EXPECT_EQ(got, (std::vector<std::uint8_t>{c.bits, c.bits})) << c.mod;
  }
}

TEST_F(TypingTest, EachKeyGivesKeyDownThenItsCharacterThenKeyUp) {
  Key(SDL_KEYDOWN, SDL_SCANCODE_A);  // SDL reports the text between a key's press and release
  Text("a");
  Key(SDL_KEYUP, SDL_SCANCODE_A);
  Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN);  // control keys: no text from SDL, the loop adds it
  Key(SDL_KEYUP, SDL_SCANCODE_RETURN);
  Key(SDL_KEYDOWN, SDL_SCANCODE_BACKSPACE);
  Key(SDL_KEYUP, SDL_SCANCODE_BACKSPACE);
  Key(SDL_KEYDOWN, SDL_SCANCODE_TAB);
  Key(SDL_KEYUP, SDL_SCANCODE_TAB);
  Key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
  Key(SDL_KEYUP, SDL_SCANCODE_ESCAPE);
  Key(SDL_KEYDOWN, SDL_SCANCODE_LEFT);
  Key(SDL_KEYUP, SDL_SCANCODE_LEFT);
  Key(SDL_KEYDOWN, SDL_SCANCODE_AUDIOPLAY);  // no PC key: nothing at all
  Key(SDL_KEYUP, SDL_SCANCODE_AUDIOPLAY);
  EXPECT_EQ(Run(), (std::vector<Message>{Down(30), Char('a'), Up(30),
                                         Down(28), Char(13), Up(28),
                                         Down(14), Char(8), Up(14),
                                         Down(15), Char(9), Up(15),
                                         Down(1), Char(27), Up(1),
                                         Down(75), Up(75)}));
}

TEST_F(TypingTest, TextBecomesCp1251AndCharactersWithoutAByteAreDropped) {
  struct Case {
    const char* utf8;
    std::vector<int> bytes;
  } const cases[] = {
      {"Я", {0xDF}},
      {"я", {0xFF}},
      {"Ёё", {0xA8, 0xB8}},
      {"€", {0x88}},
      {"№", {0xB9}},
      {"z", {'z'}},
      {"日", {}},            // no cp1251 byte
      {"a日b", {'a', 'b'}},  // dropped alone, its neighbours kept
      {"😀", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    Text(c.utf8);
    std::vector<Message> expected;
    for (const int b : c.bytes) expected.push_back(Char(b));
    EXPECT_EQ(Run(), expected);
  }
}

}  // namespace
}  // namespace platform
