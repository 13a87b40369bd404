#pragma once
// A bar between two aligned controls that the user drags to resize the one before it.
#include "framework/controls/GraphicControl.h"

class TSplitter : public TGraphicControl {
  DECLARE_CLASS(TSplitter, TGraphicControl)
  explicit TSplitter(TComponent* owner);
  int MinSize() const { return minSize_; }
  void SetMinSize(int v) { minSize_ = v > 0 ? v : 1; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool v);
  // The control that the splitter resizes: the one aligned on the same side, next to it.
  TControl* ResizedControl() const;
  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  bool Vertical() const;
  int minSize_ = 30;
  bool beveled_ = false;
  TWeakRef<TControl> dragging_;
  TPoint downAt_;
  int startSize_ = 0;
};
