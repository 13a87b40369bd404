#pragma once
// A PNG picture: 32-bit pixels with straight alpha, drawn blended over what is below.
#include <string>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Graphic.h"

class TPngImage : public TGraphic {
  DECLARE_CLASS(TPngImage, TGraphic)
  TPngImage();

  int Width() const override { return bitmap_->Width(); }
  int Height() const override { return bitmap_->Height(); }
  void SetWidth(int width) override { bitmap_->SetWidth(width); }
  void SetHeight(int height) override { bitmap_->SetHeight(height); }
  bool Empty() const override { return bitmap_->Empty(); }

  // pf32bit, afDefined.  Drawing into its canvas leaves alpha 0 (GDI's doing): set the
  // fourth bytes through scan lines, or assign an opaque bitmap instead.
  TBitmap* Bitmap() const { return bitmap_.get(); }

  // Reads one PNG file and leaves the stream right after its IEND chunk.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // From another PNG or any bitmap (opaque unless it is pf32bit with an alpha format).
  void Assign(const TPersistent* source) override;
  TGraphic* NewEmpty() const override { return new TPngImage; }

 protected:
  ~TPngImage() override;
  void Draw(TCanvas& canvas, const TRect& r) const override;
  void AssignTo(TPersistent* dest) const override;

 private:
  TOwned<TBitmap> bitmap_;
};

// Writes a bitmap as PNG: RGBA when it is pf32bit with an alpha format, else RGB
// (a GDI capture in 32 bits comes out opaque, not with alpha 0).
void SavePngToStream(const TBitmap& bitmap, TStream& stream);
void SavePng(const TBitmap& bitmap, const std::u16string& fileName);
