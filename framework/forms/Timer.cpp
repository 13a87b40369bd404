#include "framework/forms/Timer.h"

#include <map>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"

namespace {

std::map<UINT_PTR, TWeakRef<TTimer>>& Timers() {
  static std::map<UINT_PTR, TWeakRef<TTimer>> timers;
  return timers;
}

}  // namespace

LRESULT CALLBACK TimerWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_TIMER) return DefWindowProcW(window, msg, wParam, lParam);
  auto it = Timers().find(wParam);
  TTimer* timer = it != Timers().end() ? it->second.Get() : nullptr;
  if (timer == nullptr) {
    KillTimer(window, wParam);
    if (it != Timers().end()) Timers().erase(it);
    return 0;
  }
  timer->Fire();
  return 0;
}

namespace {

// One message-only window carries every timer of the process.
HWND TimerWindow() {
  static HWND window = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TimerWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = reinterpret_cast<LPCWSTR>(u"TPUtilWindow");
    RegisterClassExW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, reinterpret_cast<LPCWSTR>(u""), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           wc.hInstance, nullptr);
  }();
  return window;
}

UINT_PTR NextTimerId() {
  static UINT_PTR id = 0;
  return ++id;
}

}  // namespace

IMPLEMENT_CLASS_WITH_PROPERTIES(TTimer) {
  p.Boolean(u"Enabled", &TTimer::Enabled, &TTimer::SetEnabled);
  p.Integer(u"Interval", &TTimer::Interval, &TTimer::SetInterval);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

void TTimer::BeforeDestruction() {
  enabled_ = false;
  UpdateTimer();
  TComponent::BeforeDestruction();
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (id_ != 0) {
    KillTimer(TimerWindow(), id_);
    Timers().erase(id_);
    id_ = 0;
  }
  if (!enabled_ || interval_ == 0 || IsDestroying()) return;
  id_ = NextTimerId();
  Timers()[id_] = this;
  if (SetTimer(TimerWindow(), id_, interval_, nullptr) == 0) {
    Timers().erase(id_);
    id_ = 0;
    throw EOutOfResources(u"Not enough timers available");
  }
}

void TTimer::Fire() {
  try {
    if (OnTimer) OnTimer(this);
  } catch (const std::exception& e) {
    ::HandleException(e);
  }
}
