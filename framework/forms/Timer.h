#pragma once
// A message-loop timer: OnTimer runs on the user-interface thread every Interval ms
// while Enabled.
#include <windows.h>

#include "framework/core/Component.h"
#include "framework/core/Strings.h"

class TTimer : public TComponent {
  DECLARE_CLASS(TTimer, TComponent)
  explicit TTimer(TComponent* owner);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  TNotifyEvent OnTimer;
  // Re-arms the timer after OnTimer was assigned late.
  void Restart() { UpdateTimer(); }

 protected:
  void BeforeDestruction() override;

 private:
  friend LRESULT CALLBACK TimerWndProc(HWND, UINT, WPARAM, LPARAM);
  void UpdateTimer();
  void Fire();
  bool enabled_ = true;
  unsigned interval_ = 1000;
  UINT_PTR id_ = 0;
};
