#pragma once
// A canvas for a control: bound to the paint DC while painting, or to a DC of its own
// (the control's window, or the parent's for a windowless control) when drawn into
// from elsewhere.
#include "framework/graphics/Canvas.h"

class TControl;

// A canvas locked and bound to a DC for one paint call; unbound and unlocked at the end,
// also when the paint raises.
class TCanvasPaintScope {
 public:
  TCanvasPaintScope(TCanvas* canvas, HDC dc) : canvas_(canvas) {
    canvas_->Lock();
    canvas_->SetHandle(dc);
  }
  ~TCanvasPaintScope() {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
  }
  TCanvasPaintScope(const TCanvasPaintScope&) = delete;
  TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

 private:
  TCanvas* canvas_;
};

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
