#include "framework/controls/Frame3D.h"

#include "framework/graphics/Canvas.h"

void Frame3D(TCanvas* canvas, TRect& rect, TColor top, TColor bottom, int width) {
  for (int i = 0; i < width && rect.Width() > 0 && rect.Height() > 0; ++i) {
    int right = rect.Right - 1, bottom_ = rect.Bottom - 1;
    canvas->Pen()->SetColor(top);
    canvas->MoveTo(rect.Left, bottom_);
    canvas->LineTo(rect.Left, rect.Top);
    canvas->LineTo(right, rect.Top);
    canvas->Pen()->SetColor(bottom);
    canvas->LineTo(right, bottom_);
    canvas->LineTo(rect.Left - 1, bottom_);
    rect = rect.Inflate(-1, -1);
  }
}
