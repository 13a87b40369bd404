#pragma once
// Panels: a container with bevels, a border and a caption.
#include "framework/controls/CustomControl.h"

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
  DECLARE_CLASS(TCustomPanel, TCustomControl)
  explicit TCustomPanel(TComponent* owner);

  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void AdjustClientRect(TRect& rect) const override;
  void Paint() override;

 private:
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TBorderStyle borderStyle_ = TBorderStyle::bsNone;
  TAlignment alignment_ = TAlignment::taCenter;
};

class TPanel : public TCustomPanel {
  DECLARE_CLASS(TPanel, TCustomPanel)
  using TCustomPanel::TCustomPanel;
};

DECLARE_ENUM_NAMES(TBevelCut, u"bvNone", u"bvLowered", u"bvRaised", u"bvSpace")
