#pragma once
// A band bar over the native "ReBarWindow32" class.  Every child control gets a band;
// the bar's bitmap is tiled behind all bands.
#include <vector>

#include "framework/controls/WinControl.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/GdiHandle.h"

class TBitmap;
class TCoolBar;

class TCoolBand : public TPersistent {
  DECLARE_CLASS(TCoolBand, TPersistent)
  explicit TCoolBand(TCoolBar* bar) : bar_(bar) {}
  TControl* Control() const { return control_; }
  void SetControl(TControl* control);
  int Width() const { return width_; }
  void SetWidth(int w);
  int MinHeight() const { return minHeight_; }
  void SetMinHeight(int h);
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int w);
  bool Break() const { return break_; }
  void SetBreak(bool v);
  bool FixedSize() const { return fixedSize_; }
  void SetFixedSize(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  const std::u16string& Text() const { return text_; }
  void SetText(const std::u16string& t);

 private:
  friend class TCoolBar;
  void Changed();
  TCoolBar* bar_;
  TControl* control_ = nullptr;
  int width_ = 0, minHeight_ = 25, minWidth_ = 0;
  bool break_ = true, fixedSize_ = false, visible_ = true;
  std::u16string text_;
};

class TCoolBar : public TWinControl {
  DECLARE_CLASS(TCoolBar, TWinControl)
  explicit TCoolBar(TComponent* owner);

  int BandCount() const { return static_cast<int>(bands_.size()); }
  TCoolBand* Bands(int index) const { return bands_.at(static_cast<size_t>(index)).get(); }
  TCoolBand* BandFor(const TControl* control) const;
  TBitmap* Bitmap() const { return bitmap_.get(); }
  void SetBitmap(TBitmap* bitmap);
  bool BandBorders() const { return bandBorders_; }
  void SetBandBorders(bool v);
  bool ShowText() const { return showText_; }
  void SetShowText(bool v);
  bool FixedOrder() const { return fixedOrder_; }
  void SetFixedOrder(bool v) { fixedOrder_ = v; }
  // Rebuilds the native bands from the band list.
  void UpdateBands();
  void WndProc(TMessage& message) override;

 protected:
  void BeforeDestruction() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void AlignControls(TControl* control, TRect& rect) override {}

 private:
  void EraseBackground(HDC dc);
  std::vector<TOwned<TCoolBand>> bands_;
  TOwned<TBitmap> bitmap_;
  TBrushHandle pattern_;
  bool bandBorders_ = true, showText_ = true, fixedOrder_ = false;
  bool updating_ = false;
};
