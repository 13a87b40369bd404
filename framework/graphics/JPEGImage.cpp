#include "framework/graphics/JPEGImage.h"

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "framework/graphics/JpegCodec.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TJPEGImage) {
  p.Integer(u"CompressionQuality", &TJPEGImage::CompressionQuality, &TJPEGImage::SetCompressionQuality);
}

TJPEGImage::TJPEGImage() : bitmap_(new TBitmap) {}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::SetCompressionQuality(int quality) {
  if (quality < 1) quality = 1;
  if (quality > 100) quality = 100;
  quality_ = quality;
}

void TJPEGImage::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> bytes = stream.ReadRest();
  LoadFromBytes(bytes.data(), bytes.size());
}

void TJPEGImage::LoadFromBytes(const uint8_t* data, size_t size) {
  TRawImage image;
  std::string error = DecodeJpeg(data, size, image);
  if (!error.empty()) {
    bitmap_->Clear();
    data_.clear();
    Changed();
    throw EInvalidGraphic(u"Invalid JPEG image: " + Utf8ToUtf16(error));
  }
  bitmap_->LoadFromRaw(image);
  data_.assign(data, data + size);
  Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) const {
  if (Empty()) return;
  if (!data_.empty()) {
    stream.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
    return;
  }
  std::vector<uint8_t> encoded;
  std::string error = EncodeJpeg(bitmap_->ToRaw(3), quality_, encoded);
  if (!error.empty()) throw EInvalidGraphic(u"Cannot write the JPEG image: " + Utf8ToUtf16(error));
  stream.WriteBuffer(encoded.data(), static_cast<int64_t>(encoded.size()));
}

void TJPEGImage::Assign(const TPersistent* source) {
  if (const TJPEGImage* other = As<TJPEGImage>(source)) {
    if (other == this) return;
    bitmap_->Assign(other->bitmap_.get());
    data_ = other->data_;
    quality_ = other->quality_;
    Changed();
    return;
  }
  if (const TBitmap* picture = As<TBitmap>(source)) {
    bitmap_->Assign(picture);
    bitmap_->SetTransparent(false);
    bitmap_->SetPixelFormat(TPixelFormat::pf24bit);
    data_.clear();
    Changed();
    return;
  }
  inherited::Assign(source);
}

void TJPEGImage::AssignTo(TPersistent* dest) const {
  if (TBitmap* target = As<TBitmap>(dest)) {
    target->Assign(bitmap_.get());
    return;
  }
  inherited::AssignTo(dest);
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& r) const { canvas.StretchDraw(r, *bitmap_); }
