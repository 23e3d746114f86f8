#include "platform/Messages.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/Clock.h"
#include "platform/Events.h"
#include "platform/Timers.h"
#include "platform/Video.h"
#include "platform/Window.h"

namespace platform {
namespace {

struct ThreadQueue {
  std::deque<Message> messages;    // posted messages and converted input, in arrival order
  std::vector<WindowId> unpainted;  // windows owed a Paint, oldest request first
  bool quit = false;                // PostQuitMessage was called and its message not yet fetched
  int exitCode = 0;
};

thread_local ThreadQueue queue;

struct Procedure {
  WindowProcedure procedure = nullptr;
  void* context = nullptr;
};

// Windows are process-wide objects, so is the table of their procedures.
std::unordered_map<WindowId, Procedure> procedures;

WindowId modalWindow = 0;  // the window of the innermost modal wait; 0: none

bool IsInput(MessageKind kind) {
  switch (kind) {
    case MessageKind::LeftButtonDown:
    case MessageKind::LeftButtonUp:
    case MessageKind::MouseMove:
    case MessageKind::KeyDown:
    case MessageKind::KeyUp:
    case MessageKind::Char:
    case MessageKind::Wheel:
      return true;
    default:
      return false;
  }
}

// Priorities as on the native platform: posted messages and input first, then the quit request,
// then paint, then timers.
bool Fetch(Message& message, bool wait) {
  for (;;) {
    if (detail::VideoReadyHere()) {
      detail::PutWindowsOnScreen();
      detail::PumpEvents(0);
    }
    if (!queue.messages.empty()) {
      message = queue.messages.front();
      queue.messages.pop_front();
      if (modalWindow != 0 && message.window != modalWindow && IsInput(message.kind)) continue;
      return true;
    }
    if (wait && queue.quit) {
      message = Message{0, MessageKind::Quit, queue.exitCode, 0};
      queue.quit = false;
      return true;
    }
    if (!queue.unpainted.empty()) {
      message = Message{queue.unpainted.front(), MessageKind::Paint, 0, 0};
      queue.unpainted.erase(queue.unpainted.begin());
      return true;
    }
    if (detail::TakeDueTimer(Now(), message)) return true;
    if (!wait) return false;

    const auto deadline = detail::NextTimerDeadline();
    if (IsClockVirtual()) {
      if (!deadline) {
        std::fprintf(stderr,
                     "qxworks: GetMessage called with the virtual clock while no message, paint "
                     "or timer is pending; it would wait forever (a test waiting for nothing)\n");
        std::abort();
      }
      AdvanceClock(*deadline - Now());
      continue;
    }
    const int timeout =
        deadline ? static_cast<int>(std::clamp<std::int64_t>(*deadline - Now(), 0, INT_MAX)) : -1;
    if (detail::EnsureVideo() && detail::VideoReadyHere()) {
      detail::PutWindowsOnScreen();
      detail::PumpEvents(timeout);
      continue;
    }
    // Without a display (or off the display's thread) only this thread's timers can come.
    if (!deadline) {
      std::fprintf(stderr, "qxworks: no display and no timer: nothing can arrive; the loop ends\n");
      message = Message{0, MessageKind::Quit, 0, 0};
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(timeout));
  }
}

}  // namespace

bool GetMessage(Message& message) {
  Fetch(message, true);
  return message.kind != MessageKind::Quit;
}

bool PeekMessage(Message& message) { return Fetch(message, false); }

void TranslateMessage(const Message& message) {
  if (message.kind != MessageKind::KeyDown) return;
  int character = 0;
  switch (message.a) {
    case 28: character = 13; break;  // Enter
    case 14: character = 8; break;   // Backspace
    case 15: character = 9; break;   // Tab
    case 1: character = 27; break;   // Escape
    default: return;
  }
  // Ahead of everything queued, so the character comes before the key's release.
  queue.messages.push_front(Message{message.window, MessageKind::Char, character, 0});
}

std::int32_t DispatchMessage(const Message& message) {
  if (message.kind == MessageKind::Timer) {
    WindowProcedure procedure = nullptr;
    void* context = nullptr;
    if (detail::TimerProcedure(static_cast<TimerId>(message.a), procedure, context))
      return procedure(context, message);
  }
  std::int32_t result = 0;
  const auto found = procedures.find(message.window);
  if (found != procedures.end()) {
    const Procedure target = found->second;  // the procedure may detach itself
    result = target.procedure(target.context, message);
  }
  // The default handling every window gets on the native platform: the command minimizes it.
  if (message.kind == MessageKind::MinimizeCommand) MinimizeWindow(message.window);
  return result;
}

void PostMessage(const Message& message) { queue.messages.push_back(message); }

void PostQuitMessage(int exitCode) {
  queue.quit = true;
  queue.exitCode = exitCode;
}

void SetWindowProcedure(WindowId window, WindowProcedure procedure, void* context) {
  if (window == 0) return;
  if (procedure)
    procedures[window] = Procedure{procedure, context};
  else
    procedures.erase(window);
}

void InvalidateWindow(WindowId window) {
  if (window == 0) return;
  if (std::find(queue.unpainted.begin(), queue.unpainted.end(), window) == queue.unpainted.end())
    queue.unpainted.push_back(window);
}

void ValidateWindow(WindowId window) {
  std::erase(queue.unpainted, window);
}

ModalInput::ModalInput(WindowId window) : outer_(modalWindow) {
  modalWindow = window;
  if (MouseCaptureWindow() != 0 && MouseCaptureWindow() != window) ReleaseMouseCapture();
}

ModalInput::~ModalInput() { modalWindow = outer_; }

namespace detail {

void ForgetWindow(WindowId window) {
  procedures.erase(window);
  std::erase(queue.unpainted, window);
}

}  // namespace detail
}  // namespace platform
