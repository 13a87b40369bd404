#include "framework/controls/Panel.h"

#include "framework/controls/ControlProperties.h"
#include "framework/controls/Frame3D.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Font.h"

IMPLEMENT_CLASS(TCustomPanel)
IMPLEMENT_CLASS_WITH_PROPERTIES(TPanel) {
  PublishCaption(p);
  PublishColor(p);
  PublishFont(p);
  p.Enum<TBevelCut>(u"BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner);
  p.Enum<TBevelCut>(u"BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter);
  p.Integer(u"BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth);
  p.Integer(u"BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth);
  p.Enum<TBorderStyle>(u"BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle);
  p.Enum<TAlignment>(u"Alignment", &TPanel::Alignment, &TPanel::SetAlignment);
  p.Boolean(u"ParentBackground", &TPanel::ParentBackground, &TPanel::SetParentBackground);
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque | csParentBackground);
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelInner(TBevelCut v) {
  if (v == bevelInner_) return;
  bevelInner_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
  if (v == bevelOuter_) return;
  bevelOuter_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int v) {
  if (v < 1) v = 1;
  if (v == bevelWidth_) return;
  bevelWidth_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int v) {
  if (v < 0) v = 0;
  if (v == borderWidth_) return;
  borderWidth_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomPanel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  if (borderStyle_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
  // Bevels change with the size: repaint all of it.
  p.WindowClass.style |= CS_HREDRAW | CS_VREDRAW;
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
  int inset = borderWidth_;
  if (bevelOuter_ != TBevelCut::bvNone) inset += bevelWidth_;
  if (bevelInner_ != TBevelCut::bvNone) inset += bevelWidth_;
  rect = rect.Inflate(-inset, -inset);
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == TBevelCut::bvNone) return;
    TColor top = cut == TBevelCut::bvLowered ? clBtnShadow : clBtnHighlight;
    TColor bottom = cut == TBevelCut::bvLowered ? clBtnHighlight : clBtnShadow;
    if (cut == TBevelCut::bvSpace) top = bottom = Color();
    Frame3D(c, r, top, bottom, bevelWidth_);
  };
  bevel(bevelOuter_);
  Frame3D(c, r, Color(), Color(), borderWidth_);
  bevel(bevelInner_);
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(TBrushStyle::bsSolid);
  c->FillRect(r);
  std::u16string text = Caption();
  if (text.empty()) return;
  static const UINT align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  c->Font()->Assign(Font());
  c->DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | align[static_cast<int>(alignment_)]);
}

void TCustomPanel::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) {
    Invalidate();
    return;
  }
  TCustomControl::WndProc(m);
}
