#include "framework/controls/GraphicControl.h"

#include "framework/controls/ControlCanvas.h"
#include "framework/core/Property.h"

IMPLEMENT_CLASS(TGraphicControl)

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(new TControlCanvas(this)) {}

TCanvas* TGraphicControl::Canvas() const { return canvas_.get(); }

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    if (m.WParam != 0 && !IsDestroying()) {
      TCanvasPaintScope scope(canvas_.get(), reinterpret_cast<HDC>(m.WParam));
      Paint();
    }
    m.Result = 0;
    return;
  }
  TControl::WndProc(m);
}
