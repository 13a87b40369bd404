#include "framework/graphics/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>

#include "framework/core/ByteOrder.h"
#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "framework/graphics/BmpCodec.h"
#include "framework/graphics/Colors.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TBitmap) {
  p.Enum<TPixelFormat>(u"PixelFormat", &TBitmap::PixelFormat, &TBitmap::SetPixelFormat);
  p.Enum<TAlphaFormat>(u"AlphaFormat", &TBitmap::AlphaFormat, &TBitmap::SetAlphaFormat);
  p.Integer(u"TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor);
  p.Enum<TTransparentMode>(u"TransparentMode", &TBitmap::TransparentMode, &TBitmap::SetTransparentMode);
}

struct TBitmap::TDib {
  TBitmapHandle Handle;
  uint8_t* Bits = nullptr;
};

// The canvas of a bitmap: a memory DC of its own with the bitmap selected.
class TBitmapCanvas : public TCanvas {
  DECLARE_CLASS(TBitmapCanvas, TCanvas)
  explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}

  bool ContextAllocated() const { return static_cast<bool>(dc_); }
  // The DC, for the bitmap's own reading from it (no change to announce).
  HDC Context() const { return dc_.Get(); }
  // The bitmap's handle changed: the DC takes the new one (or its own when none).
  void Reselect(HBITMAP bitmap) {
    if (dc_) SelectObject(dc_.Get(), bitmap != nullptr ? bitmap : original_);
  }
  void FreeContext();

  static std::vector<TBitmapCanvas*>& Allocated() {
    static std::vector<TBitmapCanvas*> list;
    return list;
  }

 protected:
  ~TBitmapCanvas() override { FreeContext(); }
  void CreateHandle() override;
  void Changing() override {
    bitmap_->InvalidateCaches();
    TCanvas::Changing();
  }
  void Changed() override {
    TCanvas::Changed();
    bitmap_->Changed();
  }

 private:
  TBitmap* bitmap_;
  TDCHandle dc_;
  HGDIOBJ original_ = nullptr;
};

IMPLEMENT_CLASS(TBitmapCanvas)

void TBitmapCanvas::CreateHandle() {
  TDCHandle dc(CreateCompatibleDC(nullptr));
  if (!dc) throw EOutOfResources(u"Cannot create a memory DC for a bitmap");
  HBITMAP bitmap = bitmap_->Handle();
  if (bitmap != nullptr) {
    original_ = SelectObject(dc.Get(), bitmap);
    if (original_ == nullptr) throw EInvalidOperation(u"The bitmap is selected into another DC");
  } else {
    original_ = GetCurrentObject(dc.Get(), OBJ_BITMAP);
  }
  dc_ = std::move(dc);
  Allocated().push_back(this);
  SetHandle(dc_.Get());
}

void TBitmapCanvas::FreeContext() {
  if (!dc_) return;
  SetHandle(nullptr);
  SelectObject(dc_.Get(), original_);
  dc_.Reset();
  original_ = nullptr;
  auto& list = Allocated();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void FreeMemoryContexts() {
  std::vector<TBitmapCanvas*> list = TBitmapCanvas::Allocated();
  for (TBitmapCanvas* canvas : list)
    if (canvas->LockCount() == 0) canvas->FreeContext();
}

int MemoryContextCount() { return static_cast<int>(TBitmapCanvas::Allocated().size()); }

TBitmap::TDib TBitmap::CreateDib(int width, int height, TPixelFormat format,
                                 const std::vector<RGBQUAD>& palette) {
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  h->biSize = sizeof(BITMAPINFOHEADER);
  h->biWidth = width;
  h->biHeight = height;  // bottom-up, as the platform's own bitmaps are
  h->biPlanes = 1;
  h->biBitCount = static_cast<WORD>(BitsPerPixel(format));
  if (format == TPixelFormat::pf16bit) {
    h->biCompression = BI_BITFIELDS;
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), masks, sizeof(masks));
  } else {
    h->biCompression = BI_RGB;
    size_t n = std::min<size_t>(palette.size(), 256);
    h->biClrUsed = static_cast<DWORD>(n);
    std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), palette.data(), n * sizeof(RGBQUAD));
  }
  void* bits = nullptr;
  TDib dib;
  dib.Handle.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                    &bits, nullptr, 0));
  if (!dib.Handle || bits == nullptr)
    throw EOutOfResources(u"Cannot create a bitmap of " + IntToStr(width) + u" x " + IntToStr(height));
  dib.Bits = static_cast<uint8_t*>(bits);
  return dib;
}

namespace {

// Copies the top-left pixels two same-format bottom-up DIBs share.
void CopyOverlap(const uint8_t* src, int srcWidth, int srcHeight, uint8_t* dst, int dstWidth, int dstHeight,
                 int bits) {
  const int64_t srcStride = DibRowStride(srcWidth, bits), dstStride = DibRowStride(dstWidth, bits);
  const int width = std::min(srcWidth, dstWidth), height = std::min(srcHeight, dstHeight);
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = src + (srcHeight - 1 - y) * srcStride;
    uint8_t* out = dst + (dstHeight - 1 - y) * dstStride;
    if (bits >= 8) {
      std::memcpy(out, in, static_cast<size_t>(width) * (bits / 8));
    } else {
      for (int x = 0; x < width; ++x) WriteIndex(out, x, bits, ReadIndex(in, x, bits));
    }
  }
}

}  // namespace

TBitmap::TBitmap() : transparentColor_(clDefault) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format)
    : format_(format), palette_(DefaultPalette(format)), transparentColor_(clDefault) {
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  // The canvas's DC lets the bitmap go before the bitmap is deleted.
  canvas_.reset();
}

void TBitmap::Replace(TDib&& dib, int width, int height, TPixelFormat format, std::vector<RGBQUAD> palette) {
  InvalidateCaches();
  if (canvas_) static_cast<TBitmapCanvas*>(canvas_.get())->Reselect(dib.Handle.Get());
  handle_ = std::move(dib.Handle);
  bits_ = dib.Bits;
  width_ = width;
  height_ = height;
  format_ = format;
  palette_ = std::move(palette);
}

void TBitmap::InvalidateCaches() const {
  mask_.Reset();
  premultiplied_.Reset();
}

void TBitmap::Changed() {
  InvalidateCaches();
  TGraphic::Changed();
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  TDib dib;
  if (width > 0 && height > 0) {
    if (int64_t(width) * height > kMaxBitmapPixels)
      throw EOutOfResources(u"Cannot create a bitmap of " + IntToStr(width) + u" x " + IntToStr(height));
    dib = CreateDib(width, height, format_, palette_);
    if (bits_ != nullptr) {
      GdiFlush();
      CopyOverlap(bits_, width_, height_, dib.Bits, width, height, BitsPerPixel(format_));
    }
  }
  Replace(std::move(dib), width, height, format_, palette_);
  Changed();
}

void TBitmap::Clear() {
  if (width_ == 0 && height_ == 0 && !handle_) return;
  Replace(TDib(), 0, 0, format_, palette_);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_ || static_cast<int>(format) < 0 ||
      static_cast<int>(format) > static_cast<int>(TPixelFormat::pf32bit))
    return;
  std::vector<RGBQUAD> palette = DefaultPalette(format);
  TDib dib;
  if (bits_ != nullptr) {
    dib = CreateDib(width_, height_, format, palette);
    GdiFlush();
    const int64_t stride = DibRowStride(width_, BitsPerPixel(format));
    TPixelWriter writer(format, palette);
    for (int y = 0; y < height_; ++y) {
      const uint8_t* in = static_cast<const TBitmap*>(this)->ScanLine(y);
      uint8_t* out = dib.Bits + (height_ - 1 - y) * stride;
      for (int x = 0; x < width_; ++x) writer.Write(out, x, ReadPixel(in, x, format_, palette_));
    }
  }
  Replace(std::move(dib), width_, height_, format, std::move(palette));
  if (format != TPixelFormat::pf32bit) alphaFormat_ = TAlphaFormat::afIgnored;
  Changed();
}

void TBitmap::SetAlphaFormat(TAlphaFormat format) {
  if (format == alphaFormat_) return;
  alphaFormat_ = format;
  Changed();
}

void TBitmap::SetPalette(const std::vector<RGBQUAD>& palette) {
  if (!IsIndexed(format_)) return;
  std::vector<RGBQUAD> table = palette;
  table.resize(size_t(1) << BitsPerPixel(format_), RGBQUAD{});
  if (handle_) {
    std::optional<TScopedMemoryDC> temporary;
    HDC dc = nullptr;
    auto* canvas = static_cast<TBitmapCanvas*>(canvas_.get());
    if (canvas != nullptr && canvas->ContextAllocated()) {
      dc = canvas->Context();
    } else {
      temporary.emplace(handle_.Get());
      dc = temporary->Get();
    }
    SetDIBColorTable(dc, 0, static_cast<UINT>(table.size()), table.data());
  }
  palette_ = std::move(table);
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_.reset(new TBitmapCanvas(this));
  return canvas_.get();
}

bool TBitmap::Dormant() {
  auto* canvas = static_cast<TBitmapCanvas*>(canvas_.get());
  if (canvas == nullptr || !canvas->ContextAllocated()) return true;
  if (canvas->LockCount() > 0) return false;
  canvas->FreeContext();
  return true;
}

void TBitmap::CheckRow(int y) const {
  if (y < 0 || y >= height_ || bits_ == nullptr)
    throw EInvalidGraphic(u"Scan line " + IntToStr(y) + u" is outside the bitmap");
}

uint8_t* TBitmap::ScanLine(int y) {
  CheckRow(y);
  GdiFlush();
  InvalidateCaches();
  return bits_ + (height_ - 1 - y) * DibRowStride(width_, BitsPerPixel(format_));
}

const uint8_t* TBitmap::ScanLine(int y) const {
  CheckRow(y);
  GdiFlush();
  return bits_ + (height_ - 1 - y) * DibRowStride(width_, BitsPerPixel(format_));
}

int TBitmap::ScanLineSize() const { return static_cast<int>(DibRowStride(width_, BitsPerPixel(format_))); }

TPixel TBitmap::PixelAt(int x, int y) const {
  if (x < 0 || x >= width_) throw EInvalidGraphic(u"Pixel " + IntToStr(x) + u" is outside the bitmap");
  return ReadPixel(ScanLine(y), x, format_, palette_);
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == TTransparentMode::tmFixed) return transparentColor_;
  if (Empty()) return clDefault;
  TPixel p = PixelAt(0, height_ - 1);
  return static_cast<TColor>(RGB(p.R, p.G, p.B));
}

void TBitmap::SetTransparentColor(TColor color) {
  TTransparentMode mode = color == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
  if (color == transparentColor_ && mode == transparentMode_) return;
  transparentColor_ = color;
  transparentMode_ = mode;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == transparentMode_) return;
  transparentMode_ = mode;
  if (mode == TTransparentMode::tmAuto) transparentColor_ = clDefault;
  Changed();
}

HBITMAP TBitmap::MaskHandle() const {
  if (Empty()) return nullptr;
  COLORREF key = ColorToRGB(TransparentColor());
  if (mask_ && maskColor_ == static_cast<TColor>(key)) return mask_.Get();
  TPixel wanted;
  wanted.R = GetRValue(key);
  wanted.G = GetGValue(key);
  wanted.B = GetBValue(key);
  // Monochrome DDB rows are padded to 16 bits, top-down, 1 = white.
  const int stride = ((width_ + 15) / 16) * 2;
  std::vector<uint8_t> bits(static_cast<size_t>(stride) * height_, 0);
  for (int y = 0; y < height_; ++y) {
    const uint8_t* row = ScanLine(y);
    for (int x = 0; x < width_; ++x)
      if (ReadPixel(row, x, format_, palette_).SameColor(wanted))
        bits[static_cast<size_t>(y) * stride + (x >> 3)] |= static_cast<uint8_t>(0x80 >> (x & 7));
  }
  mask_.Reset(CreateBitmap(width_, height_, 1, 1, bits.data()));
  if (!mask_) throw EOutOfResources(u"Cannot create a bitmap mask");
  maskColor_ = static_cast<TColor>(key);
  return mask_.Get();
}

void TBitmap::Mask(TColor color) {
  if (Empty()) return;
  COLORREF key = ColorToRGB(color);
  TPixel wanted;
  wanted.R = GetRValue(key);
  wanted.G = GetGValue(key);
  wanted.B = GetBValue(key);
  std::vector<RGBQUAD> palette = DefaultPalette(TPixelFormat::pf1bit);
  TDib dib = CreateDib(width_, height_, TPixelFormat::pf1bit, palette);
  const int64_t stride = DibRowStride(width_, 1);
  for (int y = 0; y < height_; ++y) {
    const uint8_t* in = static_cast<const TBitmap*>(this)->ScanLine(y);
    uint8_t* out = dib.Bits + (height_ - 1 - y) * stride;
    for (int x = 0; x < width_; ++x)
      WriteIndex(out, x, 1, ReadPixel(in, x, format_, palette_).SameColor(wanted) ? 1 : 0);
  }
  Replace(std::move(dib), width_, height_, TPixelFormat::pf1bit, std::move(palette));
  alphaFormat_ = TAlphaFormat::afIgnored;
  Changed();
}

void TBitmap::Assign(const TPersistent* source) {
  if (source == nullptr) return Clear();
  const TBitmap* other = As<TBitmap>(source);
  if (other == nullptr) return inherited::Assign(source);
  if (other == this) return;
  TDib dib;
  if (other->bits_ != nullptr) {
    GdiFlush();
    dib = CreateDib(other->width_, other->height_, other->format_, other->palette_);
    std::memcpy(dib.Bits, other->bits_,
                static_cast<size_t>(DibRowStride(other->width_, BitsPerPixel(other->format_)) * other->height_));
  }
  Replace(std::move(dib), other->width_, other->height_, other->format_, other->palette_);
  alphaFormat_ = other->alphaFormat_;
  transparentColor_ = other->transparentColor_;
  transparentMode_ = other->transparentMode_;
  StoreTransparent(other->Transparent());
  Changed();
}

void TBitmap::LoadFromDib(const TDibImage& image) {
  TDib dib;
  if (image.Width > 0 && image.Height > 0) {
    dib = CreateDib(image.Width, image.Height, image.Format, image.Palette);
    const int64_t stride = image.Stride();
    for (int y = 0; y < image.Height; ++y)
      std::memcpy(dib.Bits + (image.Height - 1 - y) * stride, image.Row(y), static_cast<size_t>(stride));
  }
  Replace(std::move(dib), image.Width, image.Height, image.Format, image.Palette);
  alphaFormat_ = image.AlphaDefined ? TAlphaFormat::afDefined : TAlphaFormat::afIgnored;
  Changed();
}

void TBitmap::LoadFromRaw(const TRawImage& image) {
  TDibImage dib;
  dib.Width = image.Width;
  dib.Height = image.Height;
  dib.Format = image.Channels == 4 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  dib.AlphaDefined = image.Channels == 4;
  if (image.Width > 0 && image.Height > 0) {
    dib.Pixels.assign(static_cast<size_t>(dib.Stride() * dib.Height), 0);
    const int channels = image.Channels;
    for (int y = 0; y < image.Height; ++y) {
      const uint8_t* in = image.Row(y);
      uint8_t* out = dib.Row(y);
      for (int x = 0; x < image.Width; ++x, in += channels, out += channels) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        if (channels == 4) out[3] = in[3];
      }
    }
  }
  LoadFromDib(dib);
}

TRawImage TBitmap::ToRaw(int channels) const {
  TRawImage image;
  if (Empty()) return image;
  channels = channels == 4 ? 4 : 3;
  if (!image.Allocate(width_, height_, channels))
    throw EOutOfResources(u"Cannot copy a bitmap of " + IntToStr(width_) + u" x " + IntToStr(height_));
  const bool alpha = format_ == TPixelFormat::pf32bit && alphaFormat_ != TAlphaFormat::afIgnored;
  const bool premultiplied = alpha && alphaFormat_ == TAlphaFormat::afPremultiplied;
  for (int y = 0; y < height_; ++y) {
    const uint8_t* in = ScanLine(y);
    uint8_t* out = image.Row(y);
    for (int x = 0; x < width_; ++x, out += channels) {
      TPixel p = ReadPixel(in, x, format_, palette_);
      if (!alpha) p.A = 255;
      if (premultiplied && p.A != 0 && p.A != 255) {
        p.R = static_cast<uint8_t>(std::min(255, (p.R * 255 + p.A / 2) / p.A));
        p.G = static_cast<uint8_t>(std::min(255, (p.G * 255 + p.A / 2) / p.A));
        p.B = static_cast<uint8_t>(std::min(255, (p.B * 255 + p.A / 2) / p.A));
      }
      out[0] = p.R;
      out[1] = p.G;
      out[2] = p.B;
      if (channels == 4) out[3] = p.A;
    }
  }
  return image;
}

void TBitmap::LoadFromStream(TStream& stream) {
  auto fail = [this](const std::u16string& why) {
    Clear();
    throw EInvalidGraphic(u"Invalid bitmap: " + why);
  };
  uint8_t header[14];
  if (stream.Read(header, sizeof(header)) != static_cast<int64_t>(sizeof(header)))
    fail(u"the data is shorter than a bitmap file header");
  if (header[0] != 'B' || header[1] != 'M') fail(u"not a bitmap file (no \"BM\" signature)");
  const uint32_t fileSize = ReadLE32(header + 2);
  if (fileSize < sizeof(header) + 4)
    fail(u"the file header declares an impossible size of " + IntToStr(fileSize) + u" bytes");
  const int64_t available = stream.Size() - stream.Position();
  if (static_cast<int64_t>(fileSize - sizeof(header)) > available)
    fail(u"the file header declares " + IntToStr(fileSize) + u" bytes but only " +
         IntToStr(available + static_cast<int64_t>(sizeof(header))) + u" are present");
  // A BMP inside a larger stream ends where its header says: read exactly that much.
  std::vector<uint8_t> data(fileSize);
  std::memcpy(data.data(), header, sizeof(header));
  stream.ReadBuffer(data.data() + sizeof(header), fileSize - sizeof(header));
  TDibImage image;
  std::u16string error = DecodeBmpFile(data.data(), data.size(), image);
  if (!error.empty()) fail(error);
  LoadFromDib(image);
}

void TBitmap::SaveToStream(TStream& stream) const {
  if (Empty()) return;
  GdiFlush();
  const bool alpha = format_ == TPixelFormat::pf32bit && alphaFormat_ != TAlphaFormat::afIgnored;
  const uint32_t infoSize = alpha ? sizeof(BITMAPV5HEADER) : sizeof(BITMAPINFOHEADER);
  const uint32_t maskBytes = format_ == TPixelFormat::pf16bit ? 12 : 0;
  const uint32_t paletteBytes = static_cast<uint32_t>(palette_.size() * 4);
  const uint32_t stride = static_cast<uint32_t>(ScanLineSize());
  const uint32_t imageSize = stride * static_cast<uint32_t>(height_);
  const uint32_t offBits = 14 + infoSize + maskBytes + paletteBytes;

  std::vector<uint8_t> out;
  out.reserve(offBits + imageSize);
  out.push_back('B');
  out.push_back('M');
  AppendLE32(out, offBits + imageSize);
  AppendLE32(out, 0);
  AppendLE32(out, offBits);
  AppendLE32(out, infoSize);
  AppendLE32(out, static_cast<uint32_t>(width_));
  AppendLE32(out, static_cast<uint32_t>(height_));  // bottom-up, as the rows are stored
  AppendLE16(out, 1);
  AppendLE16(out, static_cast<uint32_t>(BitsPerPixel(format_)));
  AppendLE32(out, alpha || maskBytes != 0 ? BI_BITFIELDS : BI_RGB);
  AppendLE32(out, imageSize);
  AppendLE32(out, 3780);  // 96 pixels per inch
  AppendLE32(out, 3780);
  AppendLE32(out, static_cast<uint32_t>(palette_.size()));
  AppendLE32(out, 0);
  if (alpha) {
    AppendLE32(out, 0x00FF0000);
    AppendLE32(out, 0x0000FF00);
    AppendLE32(out, 0x000000FF);
    AppendLE32(out, 0xFF000000);
    AppendLE32(out, LCS_sRGB);
    out.resize(out.size() + 36 + 12, 0);  // endpoints, gamma
    AppendLE32(out, LCS_GM_IMAGES);
    AppendLE32(out, 0);
    AppendLE32(out, 0);
    AppendLE32(out, 0);
  }
  if (maskBytes != 0) {
    AppendLE32(out, 0xF800);
    AppendLE32(out, 0x07E0);
    AppendLE32(out, 0x001F);
  }
  for (const RGBQUAD& q : palette_) {
    out.push_back(q.rgbBlue);
    out.push_back(q.rgbGreen);
    out.push_back(q.rgbRed);
    out.push_back(0);
  }
  size_t pixelsAt = out.size();
  out.insert(out.end(), bits_, bits_ + imageSize);
  if (alpha && alphaFormat_ == TAlphaFormat::afPremultiplied) {
    // Files keep straight alpha.
    for (size_t i = pixelsAt; i + 3 < out.size(); i += 4) {
      unsigned a = out[i + 3];
      if (a == 0) continue;
      for (int c = 0; c < 3; ++c)
        out[i + c] = static_cast<uint8_t>(std::min(255u, (out[i + c] * 255u + a / 2) / a));
    }
  }
  stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

namespace {

// The bytes of a bitmap resource, null when there is none.
const uint8_t* FindBitmapResource(HINSTANCE instance, LPCWSTR name, DWORD& size) {
  HRSRC info = FindResourceW(instance, name, reinterpret_cast<LPCWSTR>(RT_BITMAP));
  if (info == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(instance, info);
  if (loaded == nullptr) return nullptr;
  size = SizeofResource(instance, info);
  return static_cast<const uint8_t*>(LockResource(loaded));
}

}  // namespace

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::u16string& name) {
  DWORD size = 0;
  const uint8_t* data = FindBitmapResource(instance, reinterpret_cast<LPCWSTR>(name.c_str()), size);
  if (data == nullptr) {
    Clear();
    throw EInvalidGraphic(u"Bitmap resource \"" + name + u"\" not found");
  }
  TDibImage image;
  std::u16string error = DecodePackedDib(data, size, -1, image);
  if (!error.empty()) {
    Clear();
    throw EInvalidGraphic(u"Invalid bitmap resource \"" + name + u"\": " + error);
  }
  LoadFromDib(image);
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
  DWORD size = 0;
  const uint8_t* data = FindBitmapResource(instance, MAKEINTRESOURCEW(id), size);
  std::u16string name = u"#" + IntToStr(id);
  if (data == nullptr) {
    Clear();
    throw EInvalidGraphic(u"Bitmap resource " + name + u" not found");
  }
  TDibImage image;
  std::u16string error = DecodePackedDib(data, size, -1, image);
  if (!error.empty()) {
    Clear();
    throw EInvalidGraphic(u"Invalid bitmap resource " + name + u": " + error);
  }
  LoadFromDib(image);
}

HBITMAP TBitmap::PremultipliedHandle() const {
  if (premultiplied_) return premultiplied_.Get();
  TDib dib = CreateDib(width_, height_, TPixelFormat::pf32bit, {});
  GdiFlush();
  const size_t n = static_cast<size_t>(width_) * height_ * 4;
  for (size_t i = 0; i < n; i += 4) {
    unsigned a = bits_[i + 3];
    for (int c = 0; c < 3; ++c) dib.Bits[i + c] = static_cast<uint8_t>((bits_[i + c] * a + 127) / 255);
    dib.Bits[i + 3] = static_cast<uint8_t>(a);
  }
  premultiplied_ = std::move(dib.Handle);
  return premultiplied_.Get();
}

void TBitmap::DrawTransparent(HDC dest, const TRect& r, HDC source) const {
  TScopedMemoryDC mask(MaskHandle());
  // A monochrome source paints 0 in the text colour and 1 in the background colour.
  COLORREF text = SetTextColor(dest, RGB(0, 0, 0));
  COLORREF back = SetBkColor(dest, RGB(255, 255, 255));
  // dest ^ src, masked, ^ src: the destination where the mask is white, src elsewhere.
  StretchBlt(dest, r.Left, r.Top, r.Width(), r.Height(), source, 0, 0, width_, height_, SRCINVERT);
  StretchBlt(dest, r.Left, r.Top, r.Width(), r.Height(), mask.Get(), 0, 0, width_, height_, SRCAND);
  StretchBlt(dest, r.Left, r.Top, r.Width(), r.Height(), source, 0, 0, width_, height_, SRCINVERT);
  SetTextColor(dest, text);
  SetBkColor(dest, back);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) const {
  if (Empty()) return;
  HDC dest = canvas.Handle();
  std::optional<TScopedMemoryDC> temporary;
  HDC source = nullptr;
  auto* own = static_cast<TBitmapCanvas*>(canvas_.get());
  if (own != nullptr && own->ContextAllocated()) {
    source = own->Context();
  } else {
    temporary.emplace(handle_.Get());
    source = temporary->Get();
  }
  int mode = SetStretchBltMode(dest, COLORONCOLOR);
  if (format_ == TPixelFormat::pf32bit && alphaFormat_ != TAlphaFormat::afIgnored) {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (alphaFormat_ == TAlphaFormat::afPremultiplied) {
      GdiAlphaBlend(dest, r.Left, r.Top, r.Width(), r.Height(), source, 0, 0, width_, height_, blend);
    } else {
      TScopedMemoryDC premultiplied(PremultipliedHandle());
      GdiAlphaBlend(dest, r.Left, r.Top, r.Width(), r.Height(), premultiplied.Get(), 0, 0, width_,
                    height_, blend);
    }
  } else if (Transparent()) {
    DrawTransparent(dest, r, source);
  } else {
    StretchBlt(dest, r.Left, r.Top, r.Width(), r.Height(), source, 0, 0, width_, height_, canvas.CopyMode());
  }
  SetStretchBltMode(dest, mode);
}
