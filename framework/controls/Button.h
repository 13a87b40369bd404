#pragma once
// A push button over the native "Button" class.
#include "framework/controls/WinControl.h"

class TButton : public TWinControl {
  DECLARE_CLASS(TButton, TWinControl)
  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }
  void Click() override;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CMDialogKey(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;
  // Shown as the default button (the default one, or any that has the focus).
  bool ActiveDefault() const { return active_; }
  virtual void SetButtonStyle(bool asDefault);

 private:
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
  int modalResult_ = 0;
};
