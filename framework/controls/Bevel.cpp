#include "framework/controls/Bevel.h"

#include "framework/controls/Frame3D.h"
#include "framework/core/Property.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TBevel) {
  p.Enum<TBevelShape>(u"Shape", &TBevel::Shape, &TBevel::SetShape);
  p.Enum<TBevelStyle>(u"Style", &TBevel::Style, &TBevel::SetStyle);
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape s) {
  if (s == shape_) return;
  shape_ = s;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle s) {
  if (s == style_) return;
  style_ = s;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  TColor dark = clBtnShadow, light = clBtnHighlight;
  TColor first = style_ == TBevelStyle::bsLowered ? dark : light;
  TColor second = style_ == TBevelStyle::bsLowered ? light : dark;
  TRect r = ClientRect();
  int w = r.Width(), h = r.Height();
  auto line = [c](TColor color, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  switch (shape_) {
    case TBevelShape::bsBox: Frame3D(c, r, first, second, 1); break;
    case TBevelShape::bsFrame: {
      TRect outer(0, 0, w - 1, h - 1), inner(1, 1, w, h);
      Frame3D(c, outer, first, first, 1);
      Frame3D(c, inner, second, second, 1);
      break;
    }
    case TBevelShape::bsTopLine: line(first, 0, 0, w, 0); line(second, 0, 1, w, 1); break;
    case TBevelShape::bsBottomLine: line(first, 0, h - 2, w, h - 2); line(second, 0, h - 1, w, h - 1); break;
    case TBevelShape::bsLeftLine: line(first, 0, 0, 0, h); line(second, 1, 0, 1, h); break;
    case TBevelShape::bsRightLine: line(first, w - 2, 0, w - 2, h); line(second, w - 1, 0, w - 1, h); break;
    case TBevelShape::bsSpacer: break;
  }
}
