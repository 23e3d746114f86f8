// The time source of the run loop and its timers, in milliseconds. Tests replace the wall clock
// with a virtual one that moves only when told to, so timer behaviour is exact and costs no
// waiting.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds on a monotonic scale (the virtual clock continues from where the real one was).
std::int64_t Now();

// From now on time stands still until AdvanceClock moves it; GetMessage then never sleeps: it
// jumps to the next timer deadline instead (and aborts with a diagnostic when there is none).
void UseVirtualClock();
void UseRealClock();
bool IsClockVirtual();

// Moves the virtual clock forward (negative amounts are ignored). Has no effect on the real clock.
void AdvanceClock(std::int64_t milliseconds);

}  // namespace platform
