#pragma once
// A windowless picture.
#include "framework/controls/GraphicControl.h"
#include "framework/graphics/Picture.h"

class TPicture;

class TImage : public TGraphicControl {
  DECLARE_CLASS(TImage, TGraphicControl)
  explicit TImage(TComponent* owner);
  TPicture* Picture() const { return picture_.get(); }
  void SetPicture(TPicture* picture);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);

 protected:
  void Paint() override;

 private:
  void PictureChanged();
  TOwned<TPicture> picture_;
  bool autoSize_ = false, stretch_ = false, center_ = false, transparent_ = false;
};
