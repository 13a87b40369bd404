#include "framework/controls/GroupBox.h"

#include <vector>

#include "framework/controls/ControlProperties.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/ScreenDC.h"
#include "framework/menus/ShortCut.h"

IMPLEMENT_CLASS(TCustomGroupBox)
IMPLEMENT_CLASS_WITH_PROPERTIES(TGroupBox) {
  PublishCaption(p);
  PublishColor(p);
  PublishFont(p);
  p.Boolean(u"ParentBackground", &TGroupBox::ParentBackground, &TGroupBox::SetParentBackground);
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque | csParentBackground);
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 105);
}

int TCustomGroupBox::CaptionHeight() const {
  TScreenDC dc(Font()->Handle());
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), reinterpret_cast<LPCWSTR>(u"0"), 1, &size);
  return size.cy;
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) const {
  rect.Top += CaptionHeight();
  rect = rect.Inflate(-2, -2);
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(TBrushStyle::bsSolid);
  c->FillRect(r);
  int h = CaptionHeight();
  // An etched frame: shadow, with highlight one pixel inside.
  TRect frame(0, h / 2 - 1, r.Right, r.Bottom);
  c->Brush()->SetColor(clBtnHighlight);
  c->FrameRect(frame.Offset(1, 1));
  c->Brush()->SetColor(clBtnShadow);
  TRect inner(frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1);
  c->FrameRect(inner);
  std::u16string text = Caption();
  if (text.empty()) return;
  c->Font()->Assign(Font());
  TRect textRect(0, 0, r.Width() - 16, h);
  c->DrawText(text, textRect, DT_SINGLELINE | DT_CALCRECT);
  textRect = textRect.Offset(8, 0);
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(TBrushStyle::bsSolid);
  c->DrawText(text, textRect, DT_SINGLELINE);
}

void TCustomGroupBox::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<char16_t>(m.WParam), Caption()) && CanFocus()) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    for (TWinControl* w : list)
      if (w->TabStop() && w->CanFocus()) {
        w->SetFocus();
        break;
      }
    m.Result = 1;
    return;
  }
  TCustomControl::CMDialogChar(m);
}

void TCustomGroupBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED: Invalidate(); return;
    case CM_FONTCHANGED: Realign(); Invalidate(); break;
  }
  TCustomControl::WndProc(m);
}
