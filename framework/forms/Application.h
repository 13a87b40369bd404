#pragma once
// TApplication: the message loop, the hidden application window that owns the forms,
// form creation, mouse tracking and hints, and the standard exception box.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Messages.h"
#include "framework/graphics/Icon.h"

class TControl;
class TWinControl;
class TCustomForm;
class TDataModule;
class THintWindow;
class TIcon;

// A hook on the application window: sees each of its messages first; true = handled.
class TWindowHook {
 public:
  using Thunk = bool (*)(TObject* target, TMessage& message);
  TWindowHook() = default;
  TWindowHook(TObject* target, Thunk thunk) : target_(target), thunk_(thunk) {}
  template <auto Method, class C>
  static TWindowHook Of(C* target) {
    return TWindowHook(target, [](TObject* t, TMessage& m) { return (static_cast<C*>(t)->*Method)(m); });
  }
  bool operator()(TMessage& m) const { return thunk_(target_, m); }
  bool operator==(const TWindowHook& o) const { return target_ == o.target_ && thunk_ == o.thunk_; }

 private:
  TObject* target_ = nullptr;
  Thunk thunk_ = nullptr;
};

using TExceptionEvent = std::function<void(TObject* sender, const std::exception& error)>;

class TApplication : public TComponent {
  DECLARE_CLASS(TApplication, TComponent)
  explicit TApplication(TComponent* owner);

  void Initialize();
  HWND Handle() const { return handle_; }
  const std::u16string& Title() const { return title_; }
  void SetTitle(const std::u16string& title);
  TIcon* Icon() const;

  // Builds a form or data module: its constructor runs as loading, then every
  // component's Loaded(), then OnCreate.  The first form so created is the main form.
  template <class T>
  void CreateForm(T*& reference) {
    T* instance;
    {
      TLoadingScope loading;
      instance = new T(this);
    }
    reference = instance;
    FormCreated(instance);
  }
  TCustomForm* MainForm() const { return mainForm_; }

  // Shows the main form and dispatches messages until Terminate.
  void Run();
  // Dispatches everything that is waiting, then returns.
  void ProcessMessages();
  // Dispatches one message, or waits for one.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // 0 outside Run, 1 in Run's own loop, more inside ProcessMessages or a modal loop.
  int LoopDepth() const { return loopDepth_; }
  bool Active() const { return active_; }

  void HookMainWindow(TWindowHook hook);
  void UnhookMainWindow(TWindowHook hook);

  int HintPause() const { return hintPause_; }
  void SetHintPause(int ms) { hintPause_ = ms; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int ms) { hintHidePause_ = ms; }
  int HintShortPause() const { return hintShortPause_; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  THintWindow* HintWindow();
  void CancelHint();

  // The standard exception box: the error's text, the title as caption, an error icon.
  void HandleException(const std::exception& error);
  void ShowException(const std::exception& error);
  TExceptionEvent OnException;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

  int MessageBox(const std::u16string& text, const std::u16string& caption, UINT flags);

  // Framework bookkeeping.
  TControl* CaptureControl() const;
  void SetCaptureControl(TControl* control);
  TControl* MouseControl() const { return mouseControl_.Get(); }
  void PreviewMessage(TWinControl* control, TMessage& message);
  void ControlDestroyed(TControl* control);
  // Frees a released form now, or once no handler of any form is on the stack.
  void ReleaseForm(TCustomForm* form);
  // Called by forms on WM_ACTIVATEAPP.
  void Activate(bool active);
  void EnterLoop() { ++loopDepth_; }
  void LeaveLoop() { --loopDepth_; }

 protected:
  void BeforeDestruction() override;

 private:
  static LRESULT CALLBACK AppWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void WndProc(TMessage& m);
  void FormCreated(TCustomForm* form);
  void FormCreated(TDataModule* module);
  bool ProcessMessage(MSG& msg);
  bool IsKeyMsg(MSG& msg);
  void Idle();
  void SetMouseControl(TControl* control);
  void StartHint(TControl* control, int delay);
  void ShowHintNow();

  HWND handle_ = nullptr;
  std::u16string title_;
  TCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool active_ = false;
  int loopDepth_ = 0;
  std::vector<TWindowHook> hooks_;
  int hintPause_ = 500, hintHidePause_ = 2500, hintShortPause_ = 50;
  bool showHint_ = true;
  TOwned<TIcon> icon_;
  THintWindow* hintWindow_ = nullptr;
  TWeakRef<TControl> hintControl_;
  bool hintShowing_ = false;
  TWeakRef<TControl> captureControl_;
  TWeakRef<TControl> mouseControl_;
  HWND trackedWindow_ = nullptr;
  std::vector<TWeakRef<TCustomForm>> pendingRelease_;
};

extern TApplication* Application;
