// Hardware-like services of the toolkit: the screen (graphics/Screen.h) and the periodic timer,
// whose ticks arrive between messages on the user-interface thread.
#pragma once

#include "core/Values.h"
#include "graphics/Handler.h"
#include "platform/Messages.h"
#include "platform/Timers.h"

class CDevice : public CObject {};

class CTimer : public CDevice {
 public:
  // Disabled, 1000 ms, no hook.
  CTimer() = default;
  CTimer(const CTimer&) = delete;
  CTimer& operator=(const CTimer&) = delete;
  ~CTimer() override;

  CStr ClassName() const override;
  // The object's name, then Interval, OnTimerName and Enabled.
  void SaveToStream(CStream& stream) override;
  void LoadFromStream(CStream& stream) override;
  // Calls OnTimer when it is set; every tick ends here.
  virtual void Tick();

  void SetEnabled(CBool enabled);
  void SetInterval(CInt milliseconds);
  CBool Enabled() const { return running_ != 0; }
  CInt Interval() const { return interval_; }

  // Called with no sender.
  CHandler<CObject*> OnTimer;
  // The handler's name as set through the registry or loaded: kept, never called.
  CStr OnTimerName;

 private:
  static std::int32_t TickProcedure(void* timer, const platform::Message& message);
  void Start();
  void Stop();

  platform::TimerId running_ = 0;  // 0 while disabled
  CInt interval_ = 1000;
};
