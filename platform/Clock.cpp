#include "platform/Clock.h"

#include <atomic>
#include <chrono>

namespace platform {
namespace {

std::atomic<bool> virtualClock{false};
std::atomic<std::int64_t> virtualNow{0};

std::int64_t RealNow() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

std::int64_t Now() { return virtualClock ? virtualNow.load() : RealNow(); }

void UseVirtualClock() {
  if (virtualClock) return;
  // Continue from the real reading, so deadlines of timers set before the switch stay sensible.
  virtualNow = RealNow();
  virtualClock = true;
}

void UseRealClock() { virtualClock = false; }

bool IsClockVirtual() { return virtualClock; }

void AdvanceClock(std::int64_t milliseconds) {
  if (virtualClock && milliseconds > 0) virtualNow += milliseconds;
}

}  // namespace platform
