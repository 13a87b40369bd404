#include "framework/controls/CustomControl.h"

#include "framework/controls/ControlCanvas.h"
#include "framework/core/Property.h"

IMPLEMENT_CLASS(TCustomControl)

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), canvas_(new TControlCanvas(this)) {}

TCanvas* TCustomControl::Canvas() const { return canvas_.get(); }

void TCustomControl::PaintWindow(HDC dc) {
  TCanvasPaintScope scope(canvas_.get(), dc);
  Paint();
}

void TCustomControl::DestroyWnd() {
  canvas_->FreeHandle();
  TWinControl::DestroyWnd();
}
