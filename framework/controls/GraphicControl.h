#pragma once
// A control without a window of its own: its parent paints it (WM_PAINT with the DC in
// wParam, origin at the control) and forwards its mouse messages.
#include "framework/controls/Control.h"
#include "framework/controls/ControlCanvas.h"

class TCanvas;
class TControlCanvas;

class TGraphicControl : public TControl {
  DECLARE_CLASS(TGraphicControl, TControl)
  explicit TGraphicControl(TComponent* owner);
  TCanvas* Canvas() const;
  void WndProc(TMessage& message) override;

 protected:
  virtual void Paint() {}

 private:
  TOwned<TControlCanvas> canvas_;
};
