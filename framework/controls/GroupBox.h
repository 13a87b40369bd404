#pragma once
// A framed container with a caption in its top edge.
#include "framework/controls/CustomControl.h"

class TCustomGroupBox : public TCustomControl {
  DECLARE_CLASS(TCustomGroupBox, TCustomControl)
  explicit TCustomGroupBox(TComponent* owner);
  void WndProc(TMessage& message) override;

 protected:
  void AdjustClientRect(TRect& rect) const override;
  void Paint() override;
  void CMDialogChar(TMessage& m) override;
  int CaptionHeight() const;
};

class TGroupBox : public TCustomGroupBox {
  DECLARE_CLASS(TGroupBox, TCustomGroupBox)
  using TCustomGroupBox::TCustomGroupBox;
};
