#include "platform/Timers.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/Clock.h"

namespace platform {
namespace {

struct Timer {
  TimerId id;
  WindowId window;
  std::int64_t interval;
  std::int64_t deadline;
  WindowProcedure procedure;
  void* context;
};

// Timers belong to the thread that set them, like its message queue. Few exist at a time, so a
// plain vector searched in full is the fastest structure.
thread_local std::vector<Timer> timers;
std::atomic<TimerId> lastId{0};  // process-wide, so an id names one timer whichever thread set it

}  // namespace

TimerId SetTimer(WindowId window, int intervalMs, WindowProcedure procedure, void* context) {
  const std::int64_t interval = std::max(intervalMs, 1);
  const TimerId id = ++lastId;
  timers.push_back({id, window, interval, Now() + interval, procedure, context});
  return id;
}

TimerId SetTimer(WindowId window, int intervalMs) {
  return SetTimer(window, intervalMs, nullptr, nullptr);
}

bool KillTimer(TimerId id) {
  return std::erase_if(timers, [id](const Timer& t) { return t.id == id; }) > 0;
}

namespace detail {

std::optional<std::int64_t> NextTimerDeadline() {
  std::optional<std::int64_t> next;
  for (const Timer& t : timers)
    if (!next || t.deadline < *next) next = t.deadline;
  return next;
}

bool TakeDueTimer(std::int64_t now, Message& tick) {
  Timer* due = nullptr;
  for (Timer& t : timers)
    if (t.deadline <= now && (!due || t.deadline < due->deadline)) due = &t;
  if (!due) return false;
  tick = Message{due->window, MessageKind::Timer, static_cast<std::int32_t>(due->id), 0};
  // Keep the phase while on time; after a stall skip the missed ticks rather than repeat them.
  due->deadline += due->interval;
  if (due->deadline <= now) due->deadline = now + due->interval;
  return true;
}

bool TimerProcedure(TimerId id, WindowProcedure& procedure, void*& context) {
  for (const Timer& t : timers)
    if (t.id == id && t.procedure) {
      procedure = t.procedure;
      context = t.context;
      return true;
    }
  return false;
}

void KillWindowTimers(WindowId window) {
  if (window == 0) return;
  std::erase_if(timers, [window](const Timer& t) { return t.window == window; });
}

}  // namespace detail
}  // namespace platform
