#pragma once
// A windowless caption.
#include "framework/controls/GraphicControl.h"

class TWinControl;

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
  DECLARE_CLASS(TLabel, TGraphicControl)
  explicit TLabel(TComponent* owner);

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Transparent() const { return (ControlStyle() & csOpaque) == 0; }
  void SetTransparent(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  TWinControl* FocusControl() const { return focusControl_.Get(); }
  void SetFocusControl(TWinControl* c);
  void WndProc(TMessage& message) override;

 protected:
  void Paint() override;
  void AdjustBounds();
  UINT TextFlags() const;

 private:
  bool autoSize_ = true;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TTextLayout layout_ = TTextLayout::tlTop;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  TWeakRef<TWinControl> focusControl_;
};

DECLARE_ENUM_NAMES(TTextLayout, u"tlTop", u"tlCenter", u"tlBottom")
