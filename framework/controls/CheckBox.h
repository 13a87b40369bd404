#pragma once
// A check box over the native "Button" class; the framework keeps its state.
#include "framework/controls/WinControl.h"

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TWinControl {
  DECLARE_CLASS(TCustomCheckBox, TWinControl)
  explicit TCustomCheckBox(TComponent* owner);

  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState s);
  bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
  void SetChecked(bool v) { SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool v) { allowGrayed_ = v; }
  // taLeftJustify puts the caption on the left of the box.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  virtual void Toggle();
  void CMDialogChar(TMessage& m) override;

 private:
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  DECLARE_CLASS(TCheckBox, TCustomCheckBox)
  using TCustomCheckBox::TCustomCheckBox;
};

DECLARE_ENUM_NAMES(TCheckBoxState, u"cbUnchecked", u"cbChecked", u"cbGrayed")
