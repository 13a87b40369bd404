#include "framework/controls/Button.h"

#include "framework/controls/ControlProperties.h"
#include "framework/forms/CustomForm.h"
#include "framework/graphics/Colors.h"
#include "framework/menus/ShortCut.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TButton) {
  PublishCaption(p);
  PublishFont(p);
  p.Boolean(u"Default", &TButton::Default, &TButton::SetDefault);
  p.Boolean(u"Cancel", &TButton::Cancel, &TButton::SetCancel);
  p.Integer(u"ModalResult", &TButton::ModalResult, &TButton::SetModalResult);
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(csSetCaption | csDoubleClicks);
  SetColor(clBtnFace);
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, u"BUTTON");
  p.Style |= (active_ || default_) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  active_ = v;
  if (HandleAllocated()) SetButtonStyle(v);
}

void TButton::SetButtonStyle(bool asDefault) {
  if (HandleAllocated())
    SendMessageW(Handle(), BM_SETSTYLE, asDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (TCustomForm* form = ParentForm(); form != nullptr && modalResult_ != 0) form->SetModalResult(modalResult_);
  TWinControl::Click();
}

void TButton::CMDialogKey(TMessage& m) {
  bool enter = m.WParam == VK_RETURN && active_;
  bool escape = m.WParam == VK_ESCAPE && cancel_;
  if ((enter || escape) && KeyboardShiftState() == 0 && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TWinControl::CMDialogKey(m);
}

void TButton::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<char16_t>(m.WParam), Caption()) && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TWinControl::CMDialogChar(m);
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
      CNCtlColor(m);
      return;
    case CM_FOCUSCHANGED: {
      // The focused button shows as default; with the focus elsewhere the Default one does.
      auto* focused = reinterpret_cast<TControl*>(m.LParam);
      bool active = focused == this ? true : (focused != nullptr && focused->Is<TButton>()) ? false : default_;
      if (active != active_) {
        active_ = active;
        SetButtonStyle(active);
      }
      return;
    }
  }
  TWinControl::WndProc(m);
}
