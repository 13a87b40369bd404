#include "framework/controls/Splitter.h"

#include <algorithm>

#include "framework/controls/WinControl.h"
#include "framework/core/Property.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TSplitter) {
  p.Integer(u"MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize);
  p.Boolean(u"Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled);
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetAlign(TAlign::alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
}

void TSplitter::SetBeveled(bool v) {
  if (v == beveled_) return;
  beveled_ = v;
  Invalidate();
}

bool TSplitter::Vertical() const { return Align() == TAlign::alLeft || Align() == TAlign::alRight; }

TControl* TSplitter::ResizedControl() const {
  TWinControl* parent = Parent();
  if (parent == nullptr) return nullptr;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    bool touches = false;
    switch (Align()) {
      case TAlign::alLeft: touches = c->Left() + c->Width() == Left(); break;
      case TAlign::alRight: touches = c->Left() == Left() + Width(); break;
      case TAlign::alTop: touches = c->Top() + c->Height() == Top(); break;
      case TAlign::alBottom: touches = c->Top() == Top() + Height(); break;
      default: break;
    }
    if (touches) return c;
  }
  return nullptr;
}

void TSplitter::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  if (!beveled_) return;
  c->Pen()->SetColor(clBtnHighlight);
  if (Vertical()) {
    c->MoveTo(0, 0);
    c->LineTo(0, r.Bottom);
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(r.Right - 1, 0);
    c->LineTo(r.Right - 1, r.Bottom);
  } else {
    c->MoveTo(0, 0);
    c->LineTo(r.Right, 0);
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(0, r.Bottom - 1);
    c->LineTo(r.Right, r.Bottom - 1);
  }
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  TControl* target = ResizedControl();
  if (target == nullptr) return;
  dragging_ = target;
  downAt_ = ClientToScreen(TPoint(x, y));
  startSize_ = Vertical() ? target->Width() : target->Height();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  TControl* target = dragging_.Get();
  if (target == nullptr || Parent() == nullptr) return;
  TPoint at = ClientToScreen(TPoint(x, y));
  int delta = Vertical() ? at.X - downAt_.X : at.Y - downAt_.Y;
  if (Align() == TAlign::alRight || Align() == TAlign::alBottom) delta = -delta;
  int room = Vertical() ? Parent()->ClientWidth() : Parent()->ClientHeight();
  int size = std::clamp(startSize_ + delta, minSize_, std::max(minSize_, room - minSize_));
  if (Vertical()) target->SetWidth(size);
  else target->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (dragging_.Get() != nullptr && OnMoved) OnMoved(this);
  dragging_.Reset();
}
