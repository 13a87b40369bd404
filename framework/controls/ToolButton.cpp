#include "framework/controls/ToolButton.h"

#include "framework/controls/ControlProperties.h"
#include "framework/controls/ToolBar.h"
#include "framework/menus/MenuItem.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TToolButton) {
  PublishCaption(p);
  p.Integer(u"ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex);
  p.Enum<TToolButtonStyle>(u"Style", &TToolButton::Style, &TToolButton::SetStyle);
  p.Boolean(u"Down", &TToolButton::Down, &TToolButton::SetDown);
  p.Boolean(u"Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped);
  p.Boolean(u"AutoSize", &TToolButton::AutoSize, &TToolButton::SetAutoSize);
  p.Boolean(u"Wrap", &TToolButton::Wrap, &TToolButton::SetWrap);
  p.Object<TMenuItem>(u"MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem);
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(csCaptureMouse | csSetCaption);
  SetBounds(0, 0, 23, 22);
}

TToolBar* TToolButton::ToolBar() const { return As<TToolBar>(Parent()); }

int TToolButton::Index() const {
  TToolBar* bar = ToolBar();
  if (bar == nullptr) return -1;
  for (int i = 0; i < bar->ButtonCount(); ++i)
    if (bar->Buttons(i) == this) return i;
  return -1;
}

void TToolButton::Changed() {
  if (TToolBar* bar = ToolBar()) bar->RecreateButtons();
}

void TToolButton::SetImageIndex(int i) {
  if (i == imageIndex_) return;
  imageIndex_ = i;
  Changed();
}

void TToolButton::SetStyle(TToolButtonStyle s) {
  if (s == style_) return;
  style_ = s;
  Changed();
}

void TToolButton::SetDown(bool v) {
  if (v == down_) return;
  down_ = v;
  Changed();
}

void TToolButton::SetGrouped(bool v) {
  if (v == grouped_) return;
  grouped_ = v;
  Changed();
}

void TToolButton::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  Changed();
}

void TToolButton::SetWrap(bool v) {
  if (v == wrap_) return;
  wrap_ = v;
  Changed();
}

void TToolButton::SetMenuItem(TMenuItem* item) {
  menuItem_ = item;
  if (item != nullptr) SetCaption(item->Caption());
}

void TToolButton::Click() {
  TToolBar* bar = ToolBar();
  if (MenuItem() != nullptr && bar != nullptr) {
    bar->TrackMenu(this);
    return;
  }
  TGraphicControl::Click();
}

void TToolButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
      Changed();
      return;
  }
  TGraphicControl::WndProc(m);
}
