#include "framework/controls/CustomControl.h"

#include "framework/controls/ControlCanvas.h"
#include "framework/core/Property.h"

IMPLEMENT_CLASS(TCustomControl)

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), canvas_(new TControlCanvas(this)) {}

TCanvas* TCustomControl::Canvas() const { return canvas_.get(); }

void TCustomControl::PaintWindow(HDC dc) {
  canvas_->Lock();
  canvas_->SetHandle(dc);
  try {
    Paint();
  } catch (...) {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
    throw;
  }
  canvas_->SetHandle(nullptr);
  canvas_->Unlock();
}

void TCustomControl::DestroyWnd() {
  canvas_->FreeHandle();
  TWinControl::DestroyWnd();
}
