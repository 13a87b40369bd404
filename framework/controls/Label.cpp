#include "framework/controls/Label.h"

#include "framework/controls/ControlProperties.h"
#include "framework/controls/WinControl.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/ScreenDC.h"
#include "framework/menus/ShortCut.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TLabel) {
  PublishCaption(p);
  PublishColor(p);
  PublishFont(p);
  p.Boolean(u"AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize);
  p.Boolean(u"Transparent", &TLabel::Transparent, &TLabel::SetTransparent);
  p.Enum<TAlignment>(u"Alignment", &TLabel::Alignment, &TLabel::SetAlignment);
  p.Enum<TTextLayout>(u"Layout", &TLabel::Layout, &TLabel::SetLayout);
  p.Boolean(u"WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap);
  p.Boolean(u"ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar);
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(ControlStyle() | csOpaque);
  SetBounds(0, 0, 65, 17);
}

void TLabel::SetFocusControl(TWinControl* c) { focusControl_ = c; }

void TLabel::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  AdjustBounds();
}

void TLabel::SetTransparent(bool v) {
  if (v == Transparent()) return;
  SetControlStyle(v ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
  Invalidate();
}

void TLabel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout l) {
  if (l == layout_) return;
  layout_ = l;
  Invalidate();
}

void TLabel::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
  if (v == showAccelChar_) return;
  showAccelChar_ = v;
  AdjustBounds();
  Invalidate();
}

UINT TLabel::TextFlags() const {
  static const UINT align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = align[static_cast<int>(alignment_)] | DT_EXPANDTABS;
  flags |= wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  if (UseRightToLeftReading()) flags |= DT_RTLREADING;
  return flags;
}

void TLabel::AdjustBounds() {
  if (!autoSize_) return;
  TScreenDC dc(Font()->Handle());
  std::u16string text = Caption();
  if (text.empty() || (showAccelChar_ && text == u"&")) text = u" ";
  RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  DrawTextW(dc.Get(), reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &r,
            TextFlags() | DT_CALCRECT);
  int left = Left();
  if (alignment_ == TAlignment::taRightJustify) left += Width() - r.right;
  SetBounds(left, Top(), r.right, r.bottom);
}

void TLabel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (!Transparent()) {
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->FillRect(r);
  }
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  c->Font()->Assign(Font());
  std::u16string text = Caption();
  UINT flags = TextFlags();
  if (layout_ != TTextLayout::tlTop) {
    TRect measure = r;
    c->DrawText(text, measure, flags | DT_CALCRECT);
    int offset = r.Height() - measure.Height();
    r.Top += layout_ == TTextLayout::tlCenter ? offset / 2 : offset;
  }
  if (!Enabled()) {
    // Etched look of disabled text: highlight one pixel down-right, then shadow.
    TRect shifted = r.Offset(1, 1);
    c->Font()->SetColor(clBtnHighlight);
    c->DrawText(text, shifted, flags);
    c->Font()->SetColor(clBtnShadow);
  }
  c->DrawText(text, r, flags);
}

void TLabel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      AdjustBounds();
      Invalidate();
      return;
    case CM_DIALOGCHAR:
      if (TWinControl* target = FocusControl();
          target != nullptr && showAccelChar_ && Enabled() && IsAccel(static_cast<char16_t>(m.WParam), Caption()) &&
          target->CanFocus()) {
        target->SetFocus();
        m.Result = 1;
      }
      return;
  }
  TGraphicControl::WndProc(m);
}
