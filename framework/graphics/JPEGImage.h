#pragma once
// A JPEG picture: decoded once into a 24-bit bitmap; the file's own bytes are kept
// and written back unchanged unless the picture was replaced.
#include <cstdint>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Graphic.h"

class TJPEGImage : public TGraphic {
  DECLARE_CLASS(TJPEGImage, TGraphic)
  TJPEGImage();

  int Width() const override { return bitmap_->Width(); }
  int Height() const override { return bitmap_->Height(); }
  // A JPEG keeps the size it was decoded with.
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  bool Empty() const override { return bitmap_->Empty(); }

  // 1..100, used when the picture is encoded anew.
  int CompressionQuality() const { return quality_; }
  void SetCompressionQuality(int quality);
  // The decoded pixels (pf24bit).
  const TBitmap& Bitmap() const { return *bitmap_; }

  // Reads the rest of the stream.  Corrupt or truncated data: EInvalidGraphic, empty image.
  void LoadFromStream(TStream& stream) override;
  void LoadFromBytes(const uint8_t* data, size_t size);
  void SaveToStream(TStream& stream) const override;
  // From another JPEG, or from any bitmap (encoded when saved).
  void Assign(const TPersistent* source) override;
  TGraphic* NewEmpty() const override { return new TJPEGImage; }

 protected:
  ~TJPEGImage() override;
  void Draw(TCanvas& canvas, const TRect& r) const override;
  void AssignTo(TPersistent* dest) const override;

 private:
  TOwned<TBitmap> bitmap_;
  std::vector<uint8_t> data_;  // the file as read; empty when it must be encoded
  int quality_ = 90;
};
