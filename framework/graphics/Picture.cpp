#include "framework/graphics/Picture.h"

#include <cstring>
#include <iterator>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Icon.h"
#include "framework/graphics/JPEGImage.h"
#include "framework/graphics/PngImage.h"

IMPLEMENT_CLASS(TPicture)

namespace {

struct TFileFormat {
  const char16_t* Extension;
  TGraphic* (*Create)();
};

const TFileFormat kFormats[] = {
    {u".bmp", [] { return static_cast<TGraphic*>(new TBitmap); }},
    {u".ico", [] { return static_cast<TGraphic*>(new TIcon); }},
    {u".jpeg", [] { return static_cast<TGraphic*>(new TJPEGImage); }},
    {u".jpg", [] { return static_cast<TGraphic*>(new TJPEGImage); }},
    {u".png", [] { return static_cast<TGraphic*>(new TPngImage); }},
};

std::u16string ExtensionOf(const std::u16string& fileName) {
  size_t dot = fileName.find_last_of(u'.');
  size_t slash = fileName.find_last_of(u"\\/");
  if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash)) return std::u16string();
  return fileName.substr(dot);
}

TGraphic* CreateForSignature(const uint8_t* p, size_t n) {
  static const uint8_t png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (n >= 2 && p[0] == 'B' && p[1] == 'M') return new TBitmap;
  if (n >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return new TJPEGImage;
  if (n >= 8 && std::memcmp(p, png, 8) == 0) return new TPngImage;
  if (n >= 4 && p[0] == 0 && p[1] == 0 && p[2] == 1 && p[3] == 0) return new TIcon;
  return nullptr;
}

}  // namespace

TPicture::TPicture() = default;

TPicture::~TPicture() {
  if (graphic_) graphic_->OnChange = nullptr;
}

TGraphic* TPicture::CreateGraphicForExtension(const std::u16string& extension) {
  for (const TFileFormat& format : kFormats)
    if (SameTextAscii(extension, format.Extension)) return format.Create();
  return nullptr;
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Take(TGraphic* graphic) {
  if (graphic_) graphic_->OnChange = nullptr;
  graphic_.reset(graphic);
  if (graphic_) graphic_->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
  if (graphic == graphic_.get()) return;
  if (graphic == nullptr) return Take(nullptr);
  TOwned<TGraphic> copy(graphic->NewEmpty());
  copy->Assign(graphic);
  Take(copy.release());
}

TBitmap* TPicture::Bitmap() {
  if (As<TBitmap>(graphic_.get()) == nullptr) Take(new TBitmap);
  return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::Icon() {
  if (As<TIcon>(graphic_.get()) == nullptr) Take(new TIcon);
  return static_cast<TIcon*>(graphic_.get());
}

void TPicture::LoadFromFile(const std::u16string& fileName) {
  std::u16string extension = ExtensionOf(fileName);
  TOwned<TGraphic> graphic(CreateGraphicForExtension(extension));
  if (!graphic)
    throw EInvalidGraphic(u"Unknown picture file extension (" + extension + u") of \"" + ExpandFileName(fileName) +
                          u"\"");
  graphic->LoadFromFile(fileName);
  Take(graphic.release());
}

void TPicture::SaveToFile(const std::u16string& fileName) const {
  if (graphic_) graphic_->SaveToFile(fileName);
}

void TPicture::LoadFromStream(TStream& stream) {
  uint8_t head[8] = {};
  const int64_t start = stream.Position();
  const int64_t n = stream.Read(head, sizeof(head));
  stream.SetPosition(start);
  TOwned<TGraphic> graphic(CreateForSignature(head, static_cast<size_t>(n)));
  if (!graphic) throw EInvalidGraphic(u"Unknown picture format");
  graphic->LoadFromStream(stream);
  Take(graphic.release());
}

void TPicture::Assign(const TPersistent* source) {
  if (source == nullptr) return SetGraphic(nullptr);
  if (const TPicture* other = As<TPicture>(source)) return SetGraphic(other->Graphic());
  if (const TGraphic* graphic = As<TGraphic>(source)) return SetGraphic(graphic);
  inherited::Assign(source);
}

void TPicture::AssignTo(TPersistent* dest) const {
  if (auto* graphic = As<TGraphic>(dest); graphic != nullptr && graphic_) return graphic->Assign(graphic_.get());
  inherited::AssignTo(dest);
}
