#pragma once
// A canvas for a control: bound to the paint DC while painting, or to a DC of its own
// (the control's window, or the parent's for a windowless control) when drawn into
// from elsewhere.
#include "framework/graphics/Canvas.h"

class TControl;

class TControlCanvas : public TCanvas {
  DECLARE_CLASS(TControlCanvas, TCanvas)
  explicit TControlCanvas(TControl* control) : control_(control) {}
  TControl* Control() const { return control_; }
  // Gives back a DC that the canvas took itself.
  void FreeHandle();
  // Gives back every such DC of the process (the message loop does it when idle).
  static void FreeDeviceContexts();

 protected:
  ~TControlCanvas() override;
  void CreateHandle() override;

 private:
  TControl* control_;
  HWND dcWindow_ = nullptr;
  HDC ownDC_ = nullptr;
};
