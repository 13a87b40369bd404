#pragma once
// A push button with a glyph, drawn by the framework (owner-drawn "Button").
#include "framework/controls/Button.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

class TBitmap;
class TCanvas;

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

class TBitBtn : public TButton {
  DECLARE_CLASS(TBitBtn, TButton)
  explicit TBitBtn(TComponent* owner);

  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* glyph);
  // Frames in the glyph strip: up, disabled, pressed, down.
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout l);
  // Distance of the glyph from the edge; -1 centres glyph and caption together.
  int Margin() const { return margin_; }
  void SetMargin(int m);
  int Spacing() const { return spacing_; }
  void SetSpacing(int s);
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind k);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void SetButtonStyle(bool asDefault) override;
  virtual void DrawItem(const DRAWITEMSTRUCT& item);

 private:
  TOwned<TBitmap> glyph_;
  TOwned<TCanvas> canvas_;
  int numGlyphs_ = 1;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  TBitBtnKind kind_ = TBitBtnKind::bkCustom;
};

DECLARE_ENUM_NAMES(TButtonLayout, u"blGlyphLeft", u"blGlyphRight", u"blGlyphTop", u"blGlyphBottom")
DECLARE_ENUM_NAMES(TBitBtnKind, u"bkCustom", u"bkOK", u"bkCancel", u"bkHelp", u"bkYes", u"bkNo",
                   u"bkClose", u"bkAbort", u"bkRetry", u"bkIgnore", u"bkAll")
