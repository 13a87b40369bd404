#include "framework/controls/BitBtn.h"

#include <algorithm>

#include "framework/controls/ControlProperties.h"
#include "framework/forms/CustomForm.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TBitBtn) {
  PublishCaption(p);
  PublishFont(p);
  p.Boolean(u"Default", &TBitBtn::Default, &TBitBtn::SetDefault);
  p.Boolean(u"Cancel", &TBitBtn::Cancel, &TBitBtn::SetCancel);
  p.Integer(u"ModalResult", &TBitBtn::ModalResult, &TBitBtn::SetModalResult);
  p.Object<TBitmap>(u"Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
  p.Integer(u"NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs);
  p.Enum<TButtonLayout>(u"Layout", &TBitBtn::Layout, &TBitBtn::SetLayout);
  p.Integer(u"Margin", &TBitBtn::Margin, &TBitBtn::SetMargin);
  p.Integer(u"Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing);
  p.Enum<TBitBtnKind>(u"Kind", &TBitBtn::Kind, &TBitBtn::SetKind);
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(new TBitmap), canvas_(new TCanvas) {
  glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style = (p.Style & ~(BS_DEFPUSHBUTTON | BS_PUSHBUTTON)) | BS_OWNERDRAW;
}

// An owner-drawn button must keep BS_OWNERDRAW; the default look is drawn by us.
void TBitBtn::SetButtonStyle(bool) { Invalidate(); }

void TBitBtn::SetGlyph(TBitmap* glyph) {
  if (glyph == nullptr) glyph_->SetSize(0, 0);
  else glyph_->Assign(glyph);
  Invalidate();
}

void TBitBtn::SetNumGlyphs(int n) {
  n = std::clamp(n, 1, 4);
  if (n == numGlyphs_) return;
  numGlyphs_ = n;
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout l) {
  if (l == layout_) return;
  layout_ = l;
  Invalidate();
}

void TBitBtn::SetMargin(int m) {
  if (m == margin_ || m < -1) return;
  margin_ = m;
  Invalidate();
}

void TBitBtn::SetSpacing(int s) {
  if (s == spacing_) return;
  spacing_ = s;
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind k) {
  if (k == kind_) return;
  kind_ = k;
  static const int results[] = {0, mrOk, mrCancel, 0, mrYes, mrNo, 0, mrAbort, mrRetry, mrIgnore, 0};
  if (k != TBitBtnKind::bkCustom) SetModalResult(results[static_cast<int>(k)]);
  Invalidate();
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports the second click of a double click separately.
      m.Msg = WM_LBUTTONDOWN;
      break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      break;
  }
  TButton::WndProc(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  bool focused = (item.itemState & ODS_FOCUS) != 0;
  bool disabled = (item.itemState & ODS_DISABLED) != 0;
  TRect r(item.rcItem);
  canvas_->SetHandle(item.hDC);
  canvas_->Brush()->SetColor(clBtnFace);
  canvas_->Brush()->SetStyle(TBrushStyle::bsSolid);
  canvas_->FillRect(r);
  if (ActiveDefault() || focused) {
    canvas_->Brush()->SetColor(clWindowFrame);
    canvas_->FrameRect(r);
    r = r.Inflate(-1, -1);
  }
  RECT edge = r.ToRECT();
  DrawFrameControl(item.hDC, &edge, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  TRect face = r.Inflate(-2, -2);
  if (pressed) face = face.Offset(1, 1);

  // Glyph and caption placed as one block, per layout, margin and spacing.
  int glyphW = 0, glyphH = 0;
  if (!glyph_->Empty()) {
    glyphW = glyph_->Width() / numGlyphs_;
    glyphH = glyph_->Height();
  }
  canvas_->Font()->Assign(Font());
  std::u16string text = Caption();
  TRect textSize(0, 0, face.Width(), 0);
  if (!text.empty()) canvas_->DrawText(text, textSize, DT_CALCRECT | DT_SINGLELINE);
  int textW = textSize.Width(), textH = textSize.Height();
  bool horizontal = layout_ == TButtonLayout::blGlyphLeft || layout_ == TButtonLayout::blGlyphRight;
  int space = (glyphW == 0 || text.empty()) ? 0 : spacing_;
  int totalW = horizontal ? glyphW + space + textW : std::max(glyphW, textW);
  int totalH = horizontal ? std::max(glyphH, textH) : glyphH + space + textH;
  int startX = face.Left + (face.Width() - totalW) / 2;
  int startY = face.Top + (face.Height() - totalH) / 2;
  if (margin_ >= 0) {
    switch (layout_) {
      case TButtonLayout::blGlyphLeft: startX = face.Left + margin_; break;
      case TButtonLayout::blGlyphRight: startX = face.Right - margin_ - totalW; break;
      case TButtonLayout::blGlyphTop: startY = face.Top + margin_; break;
      case TButtonLayout::blGlyphBottom: startY = face.Bottom - margin_ - totalH; break;
    }
  }
  int gx = startX, gy = startY, tx = startX, ty = startY;
  switch (layout_) {
    case TButtonLayout::blGlyphLeft:
      gy = startY + (totalH - glyphH) / 2; tx = startX + glyphW + space; ty = startY + (totalH - textH) / 2; break;
    case TButtonLayout::blGlyphRight:
      tx = startX; ty = startY + (totalH - textH) / 2; gx = startX + textW + space; gy = startY + (totalH - glyphH) / 2; break;
    case TButtonLayout::blGlyphTop:
      gx = startX + (totalW - glyphW) / 2; tx = startX + (totalW - textW) / 2; ty = startY + glyphH + space; break;
    case TButtonLayout::blGlyphBottom:
      tx = startX + (totalW - textW) / 2; ty = startY; gx = startX + (totalW - glyphW) / 2; gy = startY + textH + space; break;
  }
  if (glyphW > 0) {
    int frame = 0;
    if (disabled && numGlyphs_ > 1) frame = 1;
    else if (pressed && numGlyphs_ > 2) frame = 2;
    TOwned<TBitmap> part(new TBitmap);
    part->SetPixelFormat(glyph_->PixelFormat());
    part->SetSize(glyphW, glyphH);
    part->Canvas()->CopyRect(TRect(0, 0, glyphW, glyphH), *glyph_->Canvas(),
                             TRect::Bounds(frame * glyphW, 0, glyphW, glyphH));
    part->SetTransparent(true);
    canvas_->Draw(gx, gy, *part);
  }
  if (!text.empty()) {
    canvas_->Brush()->SetStyle(TBrushStyle::bsClear);
    TRect tr = TRect::Bounds(tx, ty, textW, textH);
    if (disabled) {
      TRect shifted = tr.Offset(1, 1);
      canvas_->Font()->SetColor(clBtnHighlight);
      canvas_->DrawText(text, shifted, DT_SINGLELINE);
      canvas_->Font()->SetColor(clBtnShadow);
    }
    canvas_->DrawText(text, tr, DT_SINGLELINE);
  }
  if (focused) {
    TRect fr = r.Inflate(-3, -3);
    canvas_->DrawFocusRect(fr);
  }
  canvas_->SetHandle(nullptr);
}
