// The message queue of the user-interface thread: input from SDL, messages posted by the
// program and timer ticks, fetched one at a time by the run loop and handed to the procedure of
// the window they are for.
#pragma once

#include <cstdint>

namespace platform {

using WindowId = std::uint32_t;  // 0: no window (thread messages)

enum class MessageKind : std::uint8_t {
  None,
  LeftButtonDown,   // a = x, b = y (client coordinates; negative outside while captured)
  LeftButtonUp,     // a = x, b = y
  MouseMove,        // a = x, b = y
  KeyDown,          // a = PC keyboard scan code
  KeyUp,            // a = PC keyboard scan code
  Char,             // a = the character as a cp1251 byte (0..255)
  Size,             // a = client width, b = client height
  Paint,
  Destroy,
  Timer,            // a = timer id
  MinimizeCommand,
  Quit,             // a = exit code
  User,             // a, b: whatever the poster put there
  // a = notches turned (positive: away from the user), b = the pointer's client point, packed
  // by PackPoint. Only scroll boxes listen to it.
  Wheel,
};

// Two client coordinates in one message field, 16 signed bits each (x low, y high), as the native
// platform packs them: windows are never larger than that.
constexpr std::int32_t PackPoint(int x, int y) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(y) << 16) |
                                   (static_cast<std::uint32_t>(x) & 0xFFFFu));
}
constexpr int PointX(std::int32_t packed) {
  return static_cast<std::int16_t>(static_cast<std::uint32_t>(packed) & 0xFFFFu);
}
constexpr int PointY(std::int32_t packed) {
  return static_cast<std::int16_t>(static_cast<std::uint32_t>(packed) >> 16);
}

// The modifier keys held when an input message was made, as bits of Message::modifiers.
enum Modifier : std::uint8_t { kShift = 1, kCtrl = 2, kAlt = 4 };

struct Message {
  WindowId window = 0;
  MessageKind kind = MessageKind::None;
  std::int32_t a = 0;
  std::int32_t b = 0;
  std::uint8_t modifiers = 0;  // button, move and key messages: the Modifier bits held

  bool operator==(const Message&) const = default;
};

// A window's procedure, with the context pointer it was registered with (the canvas).
using WindowProcedure = std::int32_t (*)(void* context, const Message& message);

// Blocks until a message is available: an SDL event, a posted message or a due timer. Answers
// false for the quit message, true for every other.
bool GetMessage(Message& message);

// Like GetMessage, but answers false at once when nothing is waiting (the quit message included:
// it stays queued).
bool PeekMessage(Message& message);

// Adds the character messages that a key-down makes on the native platform.
void TranslateMessage(const Message& message);

// Calls the procedure of the message's window; 0 when it has none. Then the default handling of
// the native platform: the minimize command minimizes the window.
std::int32_t DispatchMessage(const Message& message);

void PostMessage(const Message& message);
void PostQuitMessage(int exitCode);

// Attaches a procedure to a window (nullptr detaches it). Window 0 never has one.
void SetWindowProcedure(WindowId window, WindowProcedure procedure, void* context);

// Asks for a Paint message for the window. It comes when no posted message or input is waiting,
// once however often it was asked for, as on the native platform.
void InvalidateWindow(WindowId window);
// Withdraws a Paint not yet fetched: the caller is about to draw the whole window anyway.
void ValidateWindow(WindowId window);

namespace detail {

// For the window layer: a destroyed window loses its procedure and its pending paint.
void ForgetWindow(WindowId window);

}  // namespace detail

}  // namespace platform
