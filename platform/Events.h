// SDL events become messages of the thread's queue. Used only by the run loop.
#pragma once

namespace platform::detail {

// Converts every SDL event that is waiting; with waitMs > 0 (or -1: no limit) first waits that
// long for one to come. Call only where VideoReadyHere() holds.
void PumpEvents(int waitMs);

}  // namespace platform::detail
