#include "framework/controls/Image.h"

#include "framework/core/Property.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Graphic.h"
#include "framework/graphics/Picture.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TImage) {
  p.Object<TPicture>(u"Picture", &TImage::Picture, &TImage::SetPicture);
  p.Boolean(u"AutoSize", &TImage::AutoSize, &TImage::SetAutoSize);
  p.Boolean(u"Stretch", &TImage::Stretch, &TImage::SetStretch);
  p.Boolean(u"Center", &TImage::Center, &TImage::SetCenter);
  p.Boolean(u"Transparent", &TImage::Transparent, &TImage::SetTransparent);
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(new TPicture) {
  picture_->OnChange = [this](TObject*) { PictureChanged(); };
  SetBounds(0, 0, 105, 105);
}

void TImage::SetPicture(TPicture* picture) {
  if (picture != nullptr) picture_->Assign(picture);
}

void TImage::SetAutoSize(bool v) {
  autoSize_ = v;
  PictureChanged();
}

void TImage::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  Invalidate();
}

void TImage::SetCenter(bool v) {
  if (v == center_) return;
  center_ = v;
  Invalidate();
}

void TImage::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  if (TGraphic* g = picture_->Graphic()) g->SetTransparent(v);
  Invalidate();
}

void TImage::PictureChanged() {
  TGraphic* g = picture_->Graphic();
  if (g != nullptr && transparent_) g->SetTransparent(true);
  if (autoSize_ && g != nullptr && !g->Empty()) SetBounds(Left(), Top(), g->Width(), g->Height());
  Invalidate();
}

void TImage::Paint() {
  TGraphic* g = picture_->Graphic();
  if (g == nullptr || g->Empty()) return;
  TCanvas* c = Canvas();
  if (stretch_) {
    c->StretchDraw(ClientRect(), *g);
    return;
  }
  int x = center_ ? (Width() - g->Width()) / 2 : 0;
  int y = center_ ? (Height() - g->Height()) / 2 : 0;
  c->Draw(x, y, *g);
}
