#include "graphics/Timer.h"

#include "storage/Stream.h"

CTimer::~CTimer() {
  Stop();
}

CStr CTimer::ClassName() const {
  return "CTimer";
}

void CTimer::SaveToStream(CStream& stream) {
  CObject::SaveToStream(stream);
  CInt interval = interval_;
  interval.SaveToStream(stream);
  OnTimerName.SaveToStream(stream);
  CBool enabled = Enabled();
  enabled.SaveToStream(stream);
}

void CTimer::LoadFromStream(CStream& stream) {
  CObject::LoadFromStream(stream);
  CInt interval;
  interval.LoadFromStream(stream);
  SetInterval(interval);
  OnTimerName.LoadFromStream(stream);
  CBool enabled;
  enabled.LoadFromStream(stream);
  SetEnabled(enabled);
}

void CTimer::Tick() {
  OnTimer(nullptr);
}

void CTimer::SetEnabled(CBool enabled) {
  if (!enabled)
    Stop();
  else if (!running_)
    Start();
}

void CTimer::SetInterval(CInt milliseconds) {
  interval_ = milliseconds;
  // A running timer takes the new period from now on.
  if (running_) {
    Stop();
    Start();
  }
}

void CTimer::Start() {
  running_ = platform::SetTimer(0, interval_.Value, &CTimer::TickProcedure, this);
}

void CTimer::Stop() {
  if (running_) platform::KillTimer(running_);
  running_ = 0;
}

std::int32_t CTimer::TickProcedure(void* timer, const platform::Message&) {
  static_cast<CTimer*>(timer)->Tick();
  return 0;
}
