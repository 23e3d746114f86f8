// Periodic timers whose ticks arrive as Timer messages (a = timer id) through GetMessage and
// PeekMessage on the thread that set them. Ticks are not queued: a due timer is reported when no
// posted message, input or paint is waiting, and a tick missed during a long stall is delivered
// once, not as a burst.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Messages.h"

namespace platform {

using TimerId = std::uint32_t;  // 0: no timer

// Starts a periodic timer for a window (0: a thread timer). The first tick is due one interval
// from now; intervals below 1 ms count as 1 ms. Ids are never reused.
TimerId SetTimer(WindowId window, int intervalMs);

// As above, with a procedure of its own: DispatchMessage hands the timer's ticks to it instead of
// the window's procedure.
TimerId SetTimer(WindowId window, int intervalMs, WindowProcedure procedure, void* context);

// Stops the timer; no tick of it comes afterwards. False for an unknown id.
bool KillTimer(TimerId id);

namespace detail {

// For the run loop and the window layer.
std::optional<std::int64_t> NextTimerDeadline();
bool TakeDueTimer(std::int64_t now, Message& tick);
bool TimerProcedure(TimerId id, WindowProcedure& procedure, void*& context);
void KillWindowTimers(WindowId window);

}  // namespace detail
}  // namespace platform
