#include "framework/graphics/PngImage.h"

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "framework/graphics/PngCodec.h"

IMPLEMENT_CLASS(TPngImage)

namespace {

void Forward(TPngImage* image, TBitmap* bitmap) {
  bitmap->OnChange = [image](TObject*) { image->Modified(); };
}

}  // namespace

TPngImage::TPngImage() : bitmap_(new TBitmap(0, 0, TPixelFormat::pf32bit)) {
  bitmap_->SetAlphaFormat(TAlphaFormat::afDefined);
  Forward(this, bitmap_.get());
}

TPngImage::~TPngImage() { bitmap_->OnChange = nullptr; }

void TPngImage::LoadFromStream(TStream& stream) {
  const int64_t start = stream.Position();
  std::vector<uint8_t> bytes = stream.ReadRest();
  TRawImage image;
  size_t consumed = 0;
  std::string error = DecodePng(bytes.data(), bytes.size(), image, consumed);
  if (!error.empty()) {
    bitmap_->Clear();
    throw EInvalidGraphic(u"Invalid PNG image: " + Utf8ToUtf16(error));
  }
  bitmap_->LoadFromRaw(image);
  stream.SetPosition(start + static_cast<int64_t>(consumed));
}

void TPngImage::SaveToStream(TStream& stream) const {
  if (!Empty()) SavePngToStream(*bitmap_, stream);
}

void TPngImage::Assign(const TPersistent* source) {
  const TBitmap* picture = nullptr;
  if (const TPngImage* other = As<TPngImage>(source)) picture = other->bitmap_.get();
  else picture = As<TBitmap>(source);
  if (picture == nullptr) return inherited::Assign(source);
  if (picture == bitmap_.get()) return;
  if (picture->Empty()) return bitmap_->Clear();
  bitmap_->LoadFromRaw(picture->ToRaw(4));
}

void TPngImage::AssignTo(TPersistent* dest) const {
  if (TBitmap* target = As<TBitmap>(dest)) {
    target->Assign(bitmap_.get());
    return;
  }
  inherited::AssignTo(dest);
}

void TPngImage::Draw(TCanvas& canvas, const TRect& r) const { canvas.StretchDraw(r, *bitmap_); }

void SavePngToStream(const TBitmap& bitmap, TStream& stream) {
  if (bitmap.Empty()) throw EInvalidGraphic(u"Cannot write an empty bitmap as PNG");
  const bool alpha = bitmap.PixelFormat() == TPixelFormat::pf32bit && bitmap.AlphaFormat() != TAlphaFormat::afIgnored;
  std::vector<uint8_t> encoded;
  std::string error = EncodePng(bitmap.ToRaw(alpha ? 4 : 3), encoded);
  if (!error.empty()) throw EInvalidGraphic(u"Cannot write the PNG image: " + Utf8ToUtf16(error));
  stream.WriteBuffer(encoded.data(), static_cast<int64_t>(encoded.size()));
}

void SavePng(const TBitmap& bitmap, const std::u16string& fileName) {
  TOwned<TFileStream> file(new TFileStream(fileName, fmCreate));
  SavePngToStream(bitmap, *file);
}
