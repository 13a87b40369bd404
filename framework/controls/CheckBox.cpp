#include "framework/controls/CheckBox.h"

#include "framework/controls/ControlProperties.h"
#include "framework/graphics/Colors.h"
#include "framework/menus/ShortCut.h"

IMPLEMENT_CLASS(TCustomCheckBox)
IMPLEMENT_CLASS_WITH_PROPERTIES(TCheckBox) {
  PublishCaption(p);
  PublishColor(p);
  PublishFont(p);
  p.Enum<TCheckBoxState>(u"State", &TCheckBox::State, &TCheckBox::SetState);
  p.Boolean(u"Checked", &TCheckBox::Checked, &TCheckBox::SetChecked);
  p.Boolean(u"AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed);
  p.Enum<TAlignment>(u"Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment);
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(csSetCaption | csDoubleClicks);
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, u"BUTTON");
  // BS_3STATE: the native control never changes its state on its own.
  p.Style |= BS_3STATE | (alignment_ == TAlignment::taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCustomCheckBox::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::SetAlignment(TAlignment a) {
  if (a == TAlignment::taCenter || a == alignment_) return;
  alignment_ = a;
  RecreateWnd();
}

void TCustomCheckBox::SetState(TCheckBoxState s) {
  if (s == state_) return;
  state_ = s;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(s), 0);
  if (!IsLoading()) Click();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case TCheckBoxState::cbUnchecked:
      SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
      break;
    case TCheckBoxState::cbChecked: SetState(TCheckBoxState::cbUnchecked); break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbChecked); break;
  }
}

void TCustomCheckBox::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<char16_t>(m.WParam), Caption()) && CanFocus()) {
    SetFocus();
    if (Focused()) Toggle();
    m.Result = 1;
    return;
  }
  TWinControl::CMDialogChar(m);
}

void TCustomCheckBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
      return;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
      CNCtlColor(m);
      return;
  }
  TWinControl::WndProc(m);
}
