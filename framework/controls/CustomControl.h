#pragma once
// A windowed control that paints itself through a canvas.
#include "framework/controls/ControlCanvas.h"
#include "framework/controls/WinControl.h"

class TCanvas;
class TControlCanvas;

class TCustomControl : public TWinControl {
  DECLARE_CLASS(TCustomControl, TWinControl)
  explicit TCustomControl(TComponent* owner);
  TCanvas* Canvas() const;

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;
  void DestroyWnd() override;

 private:
  TOwned<TControlCanvas> canvas_;
};
