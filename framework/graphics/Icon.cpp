#include "framework/graphics/Icon.h"

#include <cstring>

#include "framework/core/ByteOrder.h"
#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/PixelFormat.h"
#include "framework/graphics/PngCodec.h"

IMPLEMENT_CLASS(TIcon)

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr int kMaxIconSide = 1024;

bool IsPng(const uint8_t* p, size_t size) {
  static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  return size >= 8 && std::memcmp(p, signature, 8) == 0;
}

struct TIconImage {
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  int Width = 0, Height = 0, Bits = 0;
  bool Png = false;
};

// The DIB of one icon image: colour rows then the 1-bit AND mask, height doubled.
std::u16string CheckDibImage(TIconImage& image) {
  if (image.Size < 40) return u"an icon image is shorter than its header";
  const uint32_t headerSize = ReadLE32(image.Data);
  if (headerSize != 40 && headerSize != 108 && headerSize != 124) return u"unsupported icon image header";
  if (headerSize > image.Size) return u"an icon image header runs past its data";
  const int32_t width = ReadLE32Signed(image.Data + 4), doubled = ReadLE32Signed(image.Data + 8);
  const int planes = ReadLE16(image.Data + 12), bits = ReadLE16(image.Data + 14);
  const uint32_t compression = ReadLE32(image.Data + 16), colorsUsed = ReadLE32(image.Data + 32);
  if (width <= 0 || width > kMaxIconSide || doubled < 2 || doubled > 2 * kMaxIconSide || doubled % 2 != 0)
    return u"invalid icon image size";
  if (planes != 1) return u"invalid plane count in an icon image";
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
    return u"unsupported icon bit count " + IntToStr(bits);
  if (compression != BI_RGB) return u"compressed icon images are not supported";
  int64_t colors = 0;
  if (bits <= 8) {
    colors = colorsUsed == 0 ? (int64_t(1) << bits) : colorsUsed;
    if (colors > (int64_t(1) << bits)) return u"an icon colour table larger than its bit count allows";
  }
  const int height = doubled / 2;
  const int64_t need = headerSize + colors * 4 + DibRowStride(width, bits) * height + DibRowStride(width, 1) * height;
  if (need > static_cast<int64_t>(image.Size)) return u"an icon image is shorter than its size needs";
  image.Width = width;
  image.Height = height;
  image.Bits = bits;
  return u"";
}

// An icon from RGBA pixels (PNG-compressed entries).
HICON IconFromRaw(const TRawImage& raw) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = raw.Width;
  info.bmiHeader.biHeight = -raw.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  TBitmapHandle color(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!color) return nullptr;
  const int maskStride = ((raw.Width + 15) / 16) * 2;
  std::vector<uint8_t> maskBits(static_cast<size_t>(maskStride) * raw.Height, 0);
  auto* out = static_cast<uint8_t*>(bits);
  for (int y = 0; y < raw.Height; ++y) {
    const uint8_t* in = raw.Row(y);
    for (int x = 0; x < raw.Width; ++x, in += 4, out += 4) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      out[3] = in[3];
      if (in[3] == 0) maskBits[static_cast<size_t>(y) * maskStride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
  TBitmapHandle mask(CreateBitmap(raw.Width, raw.Height, 1, 1, maskBits.data()));
  if (!mask) return nullptr;
  ICONINFO ii{};
  ii.fIcon = TRUE;
  ii.hbmMask = mask.Get();
  ii.hbmColor = color.Get();
  return CreateIconIndirect(&ii);  // copies both bitmaps
}

}  // namespace

TIcon::TIcon() = default;

TIcon::~TIcon() = default;

void TIcon::SetWidth(int width) {
  if (width != width_) throw EInvalidGraphic(u"Cannot change the size of an icon");
}

void TIcon::SetHeight(int height) {
  if (height != height_) throw EInvalidGraphic(u"Cannot change the size of an icon");
}

void TIcon::Adopt(HICON icon) {
  handle_.Reset(icon);
  width_ = height_ = 0;
  ICONINFO ii{};
  if (icon != nullptr && GetIconInfo(icon, &ii)) {
    // GetIconInfo hands out copies of both bitmaps: they are ours to delete.
    TBitmapHandle color(ii.hbmColor), mask(ii.hbmMask);
    BITMAP bm{};
    if (color && GetObjectW(color.Get(), sizeof(bm), &bm)) {
      width_ = bm.bmWidth;
      height_ = bm.bmHeight;
    } else if (mask && GetObjectW(mask.Get(), sizeof(bm), &bm)) {
      width_ = bm.bmWidth;
      height_ = bm.bmHeight / 2;  // a monochrome icon stacks AND and XOR masks
    }
  }
}

void TIcon::SetHandle(HICON icon) {
  if (icon == handle_.Get()) return;
  Adopt(icon);
  Changed();
}

HICON TIcon::ReleaseHandle() {
  HICON icon = handle_.Release();
  width_ = height_ = 0;
  Changed();
  return icon;
}

void TIcon::LoadFromStream(TStream& stream) {
  auto fail = [this](const std::u16string& why) {
    Adopt(nullptr);
    Changed();
    throw EInvalidGraphic(u"Invalid icon: " + why);
  };
  const int64_t start = stream.Position();
  std::vector<uint8_t> bytes = stream.ReadRest();
  const uint8_t* data = bytes.data();
  const size_t size = bytes.size();
  if (size < kDirectorySize) fail(u"the data is shorter than an icon directory");
  if (ReadLE16(data) != 0 || ReadLE16(data + 2) != 1) fail(u"not an icon file");
  const size_t count = ReadLE16(data + 4);
  if (count == 0) fail(u"the icon directory is empty");
  const size_t tableEnd = kDirectorySize + count * kEntrySize;
  if (tableEnd > size) fail(u"the icon directory runs past the end of the data");

  TIconImage best;
  uint64_t end = tableEnd;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = data + kDirectorySize + i * kEntrySize;
    const uint64_t length = ReadLE32(entry + 8), offset = ReadLE32(entry + 12);
    if (offset < tableEnd) fail(u"an icon image overlaps the directory");
    if (offset + length > size) fail(u"an icon image runs past the end of the data");
    TIconImage image;
    image.Data = data + offset;
    image.Size = static_cast<size_t>(length);
    if (IsPng(image.Data, image.Size)) {
      image.Png = true;
      image.Width = entry[0] == 0 ? 256 : entry[0];
      image.Height = entry[1] == 0 ? 256 : entry[1];
      image.Bits = 32;
    } else {
      std::u16string error = CheckDibImage(image);
      if (!error.empty()) fail(error);
    }
    if (end < offset + length) end = offset + length;
    int64_t area = int64_t(image.Width) * image.Height, bestArea = int64_t(best.Width) * best.Height;
    if (best.Data == nullptr || area > bestArea || (area == bestArea && image.Bits > best.Bits)) best = image;
  }

  HICON icon = nullptr;
  if (best.Png) {
    TRawImage raw;
    size_t consumed = 0;
    std::string error = DecodePng(best.Data, best.Size, raw, consumed);
    if (!error.empty()) fail(u"a PNG icon image is bad: " + Utf8ToUtf16(error));
    icon = IconFromRaw(raw);
  } else {
    // The platform reads the image from memory it may expect to be aligned.
    std::vector<uint8_t> copy(best.Data, best.Data + best.Size);
    icon = CreateIconFromResourceEx(copy.data(), static_cast<DWORD>(copy.size()), TRUE, 0x00030000, best.Width,
                                    best.Height, LR_DEFAULTCOLOR);
  }
  if (icon == nullptr) fail(u"the platform refused the icon image");
  Adopt(icon);
  stream.SetPosition(start + static_cast<int64_t>(end));
  Changed();
}

void TIcon::SaveToStream(TStream& stream) const {
  if (Empty()) return;
  ICONINFO ii{};
  if (!GetIconInfo(handle_.Get(), &ii)) throw EInvalidGraphic(u"Cannot read the icon");
  TBitmapHandle color(ii.hbmColor), mask(ii.hbmMask);
  const int w = width_, h = height_;
  const int colorStride = w * 4, maskStride = static_cast<int>(DibRowStride(w, 1));
  std::vector<uint8_t> xorBits(static_cast<size_t>(colorStride) * h), andBits(static_cast<size_t>(maskStride) * h);

  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[2];
  } info{};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = w;
  info.Header.biPlanes = 1;
  TDCHandle dc(CreateCompatibleDC(nullptr));
  if (color) {
    info.Header.biHeight = h;  // bottom-up, as .ico stores rows
    info.Header.biBitCount = 32;
    GetDIBits(dc.Get(), color.Get(), 0, static_cast<UINT>(h), xorBits.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    info.Header.biBitCount = 1;
    GetDIBits(dc.Get(), mask.Get(), 0, static_cast<UINT>(h), andBits.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
  } else {
    // Monochrome: the mask bitmap holds the AND rows on top of the XOR rows.
    std::vector<uint8_t> both(static_cast<size_t>(maskStride) * h * 2);
    info.Header.biHeight = 2 * h;
    info.Header.biBitCount = 1;
    GetDIBits(dc.Get(), mask.Get(), 0, static_cast<UINT>(2 * h), both.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    // Bottom-up: the first h rows are the XOR (lower) half.
    std::memcpy(andBits.data(), both.data() + static_cast<size_t>(maskStride) * h, andBits.size());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        bool white = ReadIndex(both.data() + static_cast<size_t>(y) * maskStride, x, 1) != 0;
        std::memset(xorBits.data() + static_cast<size_t>(y) * colorStride + x * 4, white ? 0xFF : 0x00, 3);
      }
  }
  // Without alpha of its own the image is opaque wherever the mask is black.
  bool anyAlpha = false;
  for (size_t i = 3; i < xorBits.size(); i += 4) anyAlpha |= xorBits[i] != 0;
  if (!anyAlpha)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        xorBits[static_cast<size_t>(y) * colorStride + x * 4 + 3] =
            ReadIndex(andBits.data() + static_cast<size_t>(y) * maskStride, x, 1) ? 0 : 0xFF;

  const uint32_t imageSize = 40 + static_cast<uint32_t>(xorBits.size() + andBits.size());
  std::vector<uint8_t> out;
  AppendLE16(out, 0);
  AppendLE16(out, 1);
  AppendLE16(out, 1);
  out.push_back(static_cast<uint8_t>(w >= 256 ? 0 : w));
  out.push_back(static_cast<uint8_t>(h >= 256 ? 0 : h));
  out.push_back(0);
  out.push_back(0);
  AppendLE16(out, 1);
  AppendLE16(out, 32);
  AppendLE32(out, imageSize);
  AppendLE32(out, static_cast<uint32_t>(kDirectorySize + kEntrySize));
  AppendLE32(out, 40);
  AppendLE32(out, static_cast<uint32_t>(w));
  AppendLE32(out, static_cast<uint32_t>(2 * h));
  AppendLE16(out, 1);
  AppendLE16(out, 32);
  AppendLE32(out, BI_RGB);
  AppendLE32(out, static_cast<uint32_t>(xorBits.size() + andBits.size()));
  for (int i = 0; i < 4; ++i) AppendLE32(out, 0);
  out.insert(out.end(), xorBits.begin(), xorBits.end());
  out.insert(out.end(), andBits.begin(), andBits.end());
  stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TIcon::LoadResource(HINSTANCE instance, LPCWSTR name, const std::u16string& shown) {
  HICON icon = static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
  if (icon == nullptr) {
    Adopt(nullptr);
    Changed();
    throw EInvalidGraphic(u"Icon resource " + shown + u" not found");
  }
  Adopt(icon);
  Changed();
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::u16string& name) {
  LoadResource(instance, reinterpret_cast<LPCWSTR>(name.c_str()), u"\"" + name + u"\"");
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id) {
  LoadResource(instance, MAKEINTRESOURCEW(id), u"#" + IntToStr(id));
}

void TIcon::Assign(const TPersistent* source) {
  if (source == nullptr) return SetHandle(nullptr);
  const TIcon* other = As<TIcon>(source);
  if (other == nullptr) return inherited::Assign(source);
  if (other == this) return;
  HICON copy = other->Empty() ? nullptr : CopyIcon(other->Handle());
  if (!other->Empty() && copy == nullptr) throw EOutOfResources(u"Cannot copy an icon");
  Adopt(copy);
  Changed();
}

void TIcon::Draw(TCanvas& canvas, const TRect& r) const {
  DrawIconEx(canvas.Handle(), r.Left, r.Top, handle_.Get(), r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
}
