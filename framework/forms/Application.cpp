#include "framework/forms/Application.h"

#include <algorithm>

#include "framework/controls/ControlCanvas.h"
#include "framework/controls/HintWindow.h"
#include "framework/controls/WinControl.h"
#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Unicode.h"
#include "framework/forms/CustomForm.h"
#include "framework/forms/DataModule.h"
#include "framework/forms/Screen.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Icon.h"

TApplication* Application = nullptr;

namespace {

constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;

void RouteToApplication(const std::exception& error) {
  if (Application != nullptr) Application->HandleException(error);
}

}  // namespace

IMPLEMENT_CLASS_WITH_PROPERTIES(TApplication) {
  p.Text(u"Title", &TApplication::Title, &TApplication::SetTitle);
  p.Integer(u"HintPause", &TApplication::HintPause, &TApplication::SetHintPause);
  p.Integer(u"HintHidePause", &TApplication::HintHidePause, &TApplication::SetHintHidePause);
}

TApplication::TApplication(TComponent* owner) : TComponent(owner), icon_(new TIcon) {
  if (Application == nullptr) Application = this;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = reinterpret_cast<LPCWSTR>(u"TApplication");
  wc.hIcon = LoadIconW(wc.hInstance, reinterpret_cast<LPCWSTR>(u"MAINICON"));
  if (wc.hIcon == nullptr) wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  RegisterClassExW(&wc);
  icon_->SetHandle(CopyIcon(wc.hIcon));
  // Zero-sized and never shown: it owns the forms and carries the title.
  handle_ = CreateWindowExW(0, wc.lpszClassName, reinterpret_cast<LPCWSTR>(title_.c_str()),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0,
                            0, nullptr, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (Screen == nullptr) new TScreen(this);
  SetExceptionHandler(RouteToApplication);
}

void TApplication::BeforeDestruction() {
  Destroying();
  CancelHint();
  // Forms go before the screen object and the window that owns them.
  for (int i = ComponentCount() - 1; i >= 0; --i) {
    if (i >= ComponentCount()) continue;
    TComponent* c = Components(i);
    if (!c->Is<TScreen>()) c->Free();
  }
  TComponent::BeforeDestruction();
  if (handle_ != nullptr) {
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
    handle_ = nullptr;
  }
  if (Application == this) {
    Application = nullptr;
    SetExceptionHandler(nullptr);
  }
}

void TApplication::Initialize() {}

void TApplication::SetTitle(const std::u16string& title) {
  title_ = title;
  if (handle_ != nullptr) SetWindowTextW(handle_, reinterpret_cast<LPCWSTR>(title.c_str()));
}

TIcon* TApplication::Icon() const { return icon_.get(); }

void TApplication::FormCreated(TCustomForm* form) {
  form->FinishLoading();
  if (mainForm_ == nullptr) mainForm_ = form;
  form->DoCreate();
  if (form->Visible() || (form->FormState() & fsVisible) != 0) form->Show();
}

void TApplication::FormCreated(TDataModule* module) {
  module->FinishLoading();
  module->DoCreate();
}

void TApplication::Run() {
  if (mainForm_ != nullptr && !terminated_) mainForm_->Show();
  loopDepth_ = 1;
  while (!terminated_) HandleMessage();
  loopDepth_ = 0;
}

void TApplication::ProcessMessages() {
  EnterLoop();
  MSG msg;
  while (ProcessMessage(msg)) {
  }
  // Called from outside every handler: released forms can go now.
  if (loopDepth_ <= 1) Idle();
  LeaveLoop();
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) {
    Idle();
    if (!terminated_) WaitMessage();
  }
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (hintShowing_ || hintControl_) {
    switch (msg.message) {
      case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN: case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN:
        CancelHint();
        break;
    }
  }
  if (!IsKeyMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || msg.message == WM_DEADCHAR ||
      msg.message == WM_SYSDEADCHAR)
    return false;
  // Keys for a native child inside a framework control go to that control.
  TWinControl* control = nullptr;
  for (HWND w = msg.hwnd; w != nullptr && control == nullptr; w = GetAncestor(w, GA_PARENT))
    control = TWinControl::FindControl(w);
  if (control == nullptr) return false;
  try {
    return control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
  } catch (const std::exception& e) {
    HandleException(e);
    return true;
  }
}

void TApplication::Idle() {
  // DCs taken for drawing outside WM_PAINT go back to the platform between messages.
  TControlCanvas::FreeDeviceContexts();
  FreeMemoryContexts();
  if (loopDepth_ <= 1 && !pendingRelease_.empty()) {
    auto pending = std::move(pendingRelease_);
    pendingRelease_.clear();
    for (auto& form : pending)
      if (TCustomForm* f = form.Get()) f->Free();
  }
}

void TApplication::ReleaseForm(TCustomForm* form) {
  if (form == nullptr || form->IsDestroying()) return;
  if (loopDepth_ <= 1 && loopDepth_ >= 0) {
    form->Free();
    return;
  }
  pendingRelease_.emplace_back(form);
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::HookMainWindow(TWindowHook hook) {
  if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
}

void TApplication::UnhookMainWindow(TWindowHook hook) {
  hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
}

LRESULT CALLBACK TApplication::AppWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (app == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    app->WndProc(m);
  } catch (const std::exception& e) {
    app->HandleException(e);
  }
  return m.Result;
}

void TApplication::WndProc(TMessage& m) {
  // A hook may unhook itself (or another) while it runs.
  std::vector<TWindowHook> hooks = hooks_;
  for (auto& hook : hooks)
    if (hook(m)) return;
  switch (m.Msg) {
    case WM_TIMER:
      if (m.WParam == kHintShowTimer) {
        KillTimer(handle_, kHintShowTimer);
        ShowHintNow();
      } else if (m.WParam == kHintHideTimer) {
        CancelHint();
      }
      return;
    case WM_GETICON:
      m.Result = reinterpret_cast<LRESULT>(icon_->Handle());
      return;
    case WM_CLOSE:
      if (mainForm_ != nullptr) mainForm_->Close();
      return;
    case WM_ACTIVATEAPP:
      Activate(m.WParam != 0);
      break;
    case CM_ACTIVATE:
    case CM_DEACTIVATE:
      return;
  }
  m.Result = DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
}

void TApplication::Activate(bool active) {
  if (active == active_) return;
  active_ = active;
  if (handle_ != nullptr) SendMessageW(handle_, active ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
  if (active && OnActivate) OnActivate(this);
  if (!active) {
    CancelHint();
    if (OnDeactivate) OnDeactivate(this);
  }
}

void TApplication::HandleException(const std::exception& error) {
  try {
    if (OnException) OnException(this, error);
    else ShowException(error);
  } catch (...) {
  }
}

void TApplication::ShowException(const std::exception& error) {
  MessageBox(ExceptionText(error), title_, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::u16string& text, const std::u16string& caption, UINT flags) {
  HWND owner = GetActiveWindow();
  if (owner == nullptr) owner = handle_;
  return ::MessageBoxW(owner, reinterpret_cast<LPCWSTR>(text.c_str()),
                     reinterpret_cast<LPCWSTR>(caption.c_str()), flags);
}

// --- mouse tracking and hints ---------------------------------------------------------

TControl* TApplication::CaptureControl() const {
  TControl* c = captureControl_.Get();
  if (c == nullptr) return nullptr;
  HWND capture = GetCapture();
  const TControl* windowed = c;
  while (windowed != nullptr && !windowed->Is<TWinControl>()) windowed = windowed->Parent();
  auto* w = const_cast<TWinControl*>(As<TWinControl>(windowed));
  if (capture == nullptr || w == nullptr || !w->HandleAllocated() || w->Handle() != capture) return nullptr;
  return c;
}

void TApplication::SetCaptureControl(TControl* control) {
  captureControl_ = control;
  if (control == nullptr) {
    ReleaseCapture();
    return;
  }
  TControl* windowed = control;
  while (windowed != nullptr && !windowed->Is<TWinControl>()) windowed = windowed->Parent();
  if (auto* w = As<TWinControl>(windowed)) SetCapture(w->Handle());
}

void TApplication::PreviewMessage(TWinControl* control, TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      TPoint p(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
      TControl* target = CaptureControl();
      if (target == nullptr) {
        target = control->ControlAtPos(p, true);
        if (target == nullptr) target = control;
      }
      HWND window = control->Handle();
      if (trackedWindow_ != window) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, window, 0};
        if (TrackMouseEvent(&tme)) trackedWindow_ = window;
      }
      SetMouseControl(target);
      break;
    }
    case WM_MOUSELEAVE: {
      HWND window = control->Handle();
      if (trackedWindow_ == window) trackedWindow_ = nullptr;
      TControl* current = mouseControl_.Get();
      if (current != nullptr && (current == control || current->Parent() == control)) {
        // The mouse went on into another of our windows: its first move takes over.
        SetMouseControl(nullptr);
      }
      break;
    }
  }
}

static bool EffectiveShowHint(const TControl* c) {
  return c != nullptr && c->ShowHint();
}

void TApplication::SetMouseControl(TControl* control) {
  TControl* old = mouseControl_.Get();
  if (old == control) return;
  mouseControl_ = control;
  if (old != nullptr) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  if (control != nullptr && mouseControl_.Get() == control)
    control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
  // Hints follow the control under the mouse.
  bool wasShowing = hintShowing_;
  CancelHint();
  if (showHint_ && EffectiveShowHint(control) && !control->Hint().empty())
    StartHint(control, wasShowing ? hintShortPause_ : hintPause_);
}

void TApplication::StartHint(TControl* control, int delay) {
  hintControl_ = control;
  SetTimer(handle_, kHintShowTimer, static_cast<UINT>(delay > 0 ? delay : 1), nullptr);
}

void TApplication::ShowHintNow() {
  TControl* control = hintControl_.Get();
  if (control == nullptr || !control->Showing() || !active_) return;
  THintWindow* hint = HintWindow();
  POINT cursor;
  GetCursorPos(&cursor);
  TRect r = hint->CalcHintRect(GetSystemMetrics(SM_CXSCREEN) / 2, control->Hint());
  // Below the cursor's hot spot, as the platform's own tooltips appear.
  r = r.Offset(cursor.x, cursor.y + GetSystemMetrics(SM_CYCURSOR) * 3 / 4);
  hint->ActivateHint(r, control->Hint());
  hintShowing_ = true;
  SetTimer(handle_, kHintHideTimer, static_cast<UINT>(hintHidePause_), nullptr);
}

void TApplication::CancelHint() {
  if (handle_ != nullptr) {
    KillTimer(handle_, kHintShowTimer);
    KillTimer(handle_, kHintHideTimer);
  }
  hintControl_.Reset();
  if (hintShowing_ && hintWindow_ != nullptr) hintWindow_->ReleaseHandle();
  hintShowing_ = false;
}

THintWindow* TApplication::HintWindow() {
  if (hintWindow_ == nullptr) hintWindow_ = new THintWindow(this);
  return hintWindow_;
}

void TApplication::SetShowHint(bool v) {
  showHint_ = v;
  if (!v) CancelHint();
}

void TApplication::ControlDestroyed(TControl* control) {
  if (mouseControl_.Get() == control) mouseControl_.Reset();
  if (hintControl_.Get() == control) CancelHint();
  if (captureControl_.Get() == control) captureControl_.Reset();
  if (control == hintWindow_) hintWindow_ = nullptr;
  if (control == mainForm_) mainForm_ = nullptr;
}
