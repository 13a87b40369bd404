#include "framework/graphics/BmpCodec.h"

#include <cstring>

#include "framework/core/ByteOrder.h"
#include "framework/core/Unicode.h"

namespace {

std::u16string Num(int64_t v) { return IntToStr(v); }

constexpr uint32_t kCoreHeader = 12;
constexpr uint32_t kInfoHeader = 40;
constexpr uint32_t kV2Header = 52;  // + RGB masks
constexpr uint32_t kV3Header = 56;  // + alpha mask
constexpr uint32_t kV4Header = 108;
constexpr uint32_t kV5Header = 124;
// bV5CSType value for a profile stored inside the file ('MBED').
constexpr uint32_t kProfileEmbedded = 0x4D424544;

struct TMasks {
  uint32_t R = 0, G = 0, B = 0, A = 0;
};

struct THeader {
  uint32_t Size = 0;
  int64_t Width = 0;
  int64_t Height = 0;  // as stored: negative = top-down
  int Planes = 0;
  int Bits = 0;
  uint32_t Compression = BI_RGB;
  uint32_t SizeImage = 0;
  uint32_t ColorsUsed = 0;
  TMasks Masks;
  bool HasMasksInHeader = false;
};

// A channel mask: one run of set bits inside the pixel.
bool ValidMask(uint32_t mask, int bits) {
  if (mask == 0) return false;
  if (bits < 32 && (mask >> bits) != 0) return false;
  uint32_t low = mask & (~mask + 1);
  uint32_t run = mask + low;  // a single run turns into one bit above it (or 0 at the top)
  return (run & mask) == 0 && (run & (run - 1)) == 0;
}

int Shift(uint32_t mask) {
  int s = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++s;
  }
  return s;
}

uint8_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  uint32_t max = mask >> Shift(mask);
  uint32_t v = (pixel & mask) >> Shift(mask);
  return static_cast<uint8_t>((static_cast<uint64_t>(v) * 255 + max / 2) / max);
}

std::u16string ReadHeader(const uint8_t* data, size_t size, THeader& h) {
  if (size < 4) return u"the data ends inside the bitmap header";
  h.Size = ReadLE32(data);
  bool known = h.Size == kCoreHeader || h.Size == kInfoHeader || h.Size == kV2Header ||
               h.Size == kV3Header || h.Size == kV4Header || h.Size == kV5Header;
  if (!known) return u"unsupported bitmap header size " + Num(h.Size);
  if (h.Size > size)
    return u"the bitmap header (" + Num(h.Size) + u" bytes) runs past the end of the data (" +
           Num(static_cast<int64_t>(size)) + u" bytes)";
  if (h.Size == kCoreHeader) {
    h.Width = ReadLE16(data + 4);
    h.Height = ReadLE16(data + 6);
    h.Planes = ReadLE16(data + 8);
    h.Bits = ReadLE16(data + 10);
    return u"";
  }
  h.Width = ReadLE32Signed(data + 4);
  h.Height = ReadLE32Signed(data + 8);
  h.Planes = ReadLE16(data + 12);
  h.Bits = ReadLE16(data + 14);
  h.Compression = ReadLE32(data + 16);
  h.SizeImage = ReadLE32(data + 20);
  h.ColorsUsed = ReadLE32(data + 32);
  if (h.Size >= kV2Header) {
    h.HasMasksInHeader = true;
    h.Masks.R = ReadLE32(data + 40);
    h.Masks.G = ReadLE32(data + 44);
    h.Masks.B = ReadLE32(data + 48);
  }
  if (h.Size >= kV3Header) h.Masks.A = ReadLE32(data + 52);
  if (h.Size == kV5Header && ReadLE32(data + 56) == kProfileEmbedded) {
    uint64_t offset = ReadLE32(data + 112), length = ReadLE32(data + 116);
    if (offset + length > size) return u"the embedded colour profile runs past the end of the data";
  }
  return u"";
}

std::u16string CheckGeometry(const THeader& h) {
  if (h.Planes != 1) return u"the plane count is " + Num(h.Planes) + u", not 1";
  if (h.Width <= 0) return u"invalid width " + Num(h.Width);
  if (h.Height == 0 || h.Height == INT32_MIN) return u"invalid height " + Num(h.Height);
  int64_t height = h.Height < 0 ? -h.Height : h.Height;
  if (h.Width > kMaxBitmapDimension || height > kMaxBitmapDimension ||
      h.Width * height > kMaxBitmapPixels)
    return u"the bitmap is too large (" + Num(h.Width) + u" x " + Num(height) + u")";
  return u"";
}

std::u16string CheckFormat(const THeader& h) {
  bool core = h.Size == kCoreHeader;
  bool bitsOk = h.Bits == 1 || h.Bits == 4 || h.Bits == 8 || h.Bits == 24 ||
                (!core && (h.Bits == 16 || h.Bits == 32));
  if (!bitsOk) return u"unsupported bit count " + Num(h.Bits);
  switch (h.Compression) {
    case BI_RGB:
      return u"";
    case BI_RLE8:
    case BI_RLE4:
      if (h.Bits != (h.Compression == BI_RLE8 ? 8 : 4))
        return u"run-length compression does not fit bit count " + Num(h.Bits);
      if (h.Height < 0) return u"a top-down bitmap cannot be run-length compressed";
      return u"";
    case BI_BITFIELDS:
      if (h.Bits != 16 && h.Bits != 32) return u"bit fields with bit count " + Num(h.Bits);
      return u"";
    default:
      return u"unsupported compression " + Num(h.Compression);
  }
}

std::u16string CheckMasks(const TMasks& m, int bits) {
  if (!ValidMask(m.R, bits) || !ValidMask(m.G, bits) || !ValidMask(m.B, bits))
    return u"invalid colour masks";
  if (m.A != 0 && !ValidMask(m.A, bits)) return u"invalid alpha mask";
  if ((m.R & m.G) || (m.R & m.B) || (m.G & m.B) || ((m.R | m.G | m.B) & m.A))
    return u"overlapping colour masks";
  return u"";
}

// Writes index into row y (top-down) of an indexed image.
void PutIndex(TDibImage& image, int x, int y, int index) {
  WriteIndex(image.Row(y), x, BitsPerPixel(image.Format), index);
}

// Bottom-up run-length data (the only orientation it exists in).  Pixels of a run
// that reach past the row end are dropped; everything else that does not fit is an error.
std::u16string DecodeRle(const uint8_t* src, size_t n, int bits, TDibImage& image) {
  const int width = image.Width, height = image.Height;
  int x = 0, y = 0;  // y counts rows from the bottom
  size_t pos = 0;
  auto put = [&](int index) {
    if (x < width) PutIndex(image, x, height - 1 - y, index);
    if (x <= width) ++x;
  };
  for (;;) {
    if (pos + 2 > n) {
      if (pos == n && y >= height) return u"";  // the last row was closed; no end code
      return u"the run-length data ends before its end-of-bitmap code";
    }
    int count = src[pos], value = src[pos + 1];
    pos += 2;
    if (count > 0) {
      if (y >= height) return u"the run-length data runs past the last row";
      for (int i = 0; i < count; ++i)
        put(bits == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F));
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        if (y > height) return u"the run-length data runs past the last row";
        break;
      case 1:  // end of bitmap
        return u"";
      case 2: {  // delta
        if (pos + 2 > n) return u"the run-length data ends inside a delta";
        x += src[pos];
        y += src[pos + 1];
        pos += 2;
        if (x > width || y > height || (y == height && x > 0))
          return u"a run-length delta moves outside the bitmap";
        break;
      }
      default: {  // absolute run of `value` pixels, padded to a 16-bit boundary
        size_t bytes = bits == 8 ? static_cast<size_t>(value) : static_cast<size_t>(value + 1) / 2;
        if (pos + bytes > n) return u"an absolute run-length run reaches past the end of the data";
        if (y >= height) return u"the run-length data runs past the last row";
        for (int i = 0; i < value; ++i) {
          int index = bits == 8 ? src[pos + i] : (i % 2 == 0 ? src[pos + i / 2] >> 4
                                                             : src[pos + i / 2] & 0x0F);
          put(index);
        }
        pos += bytes + (bytes & 1);
        if (pos > n) pos = n;
        break;
      }
    }
  }
}

// Uncompressed rows (any supported bit count and masks) into image.
void CopyRows(const uint8_t* src, const THeader& h, const TMasks& masks, TDibImage& image) {
  const int width = image.Width, height = image.Height;
  const int64_t srcStride = DibRowStride(width, h.Bits);
  const bool topDown = h.Height < 0;
  const bool raw = image.Format == TPixelFormat::pf1bit || image.Format == TPixelFormat::pf4bit ||
                   image.Format == TPixelFormat::pf8bit || image.Format == TPixelFormat::pf24bit ||
                   (image.Format == TPixelFormat::pf16bit && masks.R == 0xF800 && masks.G == 0x07E0 &&
                    masks.B == 0x001F) ||
                   (image.Format == TPixelFormat::pf32bit && h.Bits == 32 && masks.R == 0xFF0000 &&
                    masks.G == 0xFF00 && masks.B == 0xFF && (masks.A == 0 || masks.A == 0xFF000000u));
  TPixelWriter writer(image.Format, image.Palette);
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = src + (topDown ? y : height - 1 - y) * srcStride;
    uint8_t* out = image.Row(y);
    if (raw) {
      std::memcpy(out, in, static_cast<size_t>(srcStride));
      continue;
    }
    for (int x = 0; x < width; ++x) {
      uint32_t v = h.Bits == 16 ? ReadLE16(in + x * 2) : ReadLE32(in + x * 4);
      TPixel p;
      p.R = Channel(v, masks.R);
      p.G = Channel(v, masks.G);
      p.B = Channel(v, masks.B);
      p.A = masks.A != 0 ? Channel(v, masks.A) : 255;
      writer.Write(out, x, p);
    }
  }
}

}  // namespace

std::u16string DecodePackedDib(const uint8_t* data, size_t size, int64_t pixelOffset, TDibImage& image) {
  image = TDibImage();
  THeader h;
  std::u16string error = ReadHeader(data, size, h);
  if (error.empty()) error = CheckGeometry(h);
  if (error.empty()) error = CheckFormat(h);
  if (!error.empty()) return error;

  // Masks: in the header from V2 on, else three DWORDs after a 40-byte header.
  int64_t tableStart = h.Size;
  TMasks masks;
  if (h.Compression == BI_BITFIELDS) {
    if (h.HasMasksInHeader) {
      masks = h.Masks;
    } else {
      if (tableStart + 12 > static_cast<int64_t>(size)) return u"the colour masks run past the end of the data";
      masks.R = ReadLE32(data + tableStart);
      masks.G = ReadLE32(data + tableStart + 4);
      masks.B = ReadLE32(data + tableStart + 8);
      tableStart += 12;
    }
    error = CheckMasks(masks, h.Bits);
    if (!error.empty()) return error;
  } else if (h.Bits == 16) {
    masks = {0x7C00, 0x03E0, 0x001F, 0};
  } else if (h.Bits == 32) {
    masks = {0xFF0000, 0xFF00, 0xFF, 0};
  }

  // Colour table: required for indexed images, optional (and skipped) for the others.
  const int64_t entrySize = h.Size == kCoreHeader ? 3 : 4;
  int64_t colors = h.ColorsUsed;
  if (h.Bits <= 8) {
    int64_t max = int64_t(1) << h.Bits;
    if (colors == 0) colors = max;
    if (colors > max)
      return u"a colour table of " + Num(colors) + u" entries for " + Num(h.Bits) + u" bits per pixel";
  }
  const int64_t tableEnd = tableStart + colors * entrySize;
  if (tableEnd > static_cast<int64_t>(size))
    return u"the colour table (" + Num(colors) + u" entries) runs past the end of the data";

  if (pixelOffset < 0) pixelOffset = tableEnd;
  if (pixelOffset < tableEnd) return u"the pixel data offset points into the header or colour table";
  if (pixelOffset > static_cast<int64_t>(size)) return u"the pixel data offset lies past the end of the data";
  const int64_t available = static_cast<int64_t>(size) - pixelOffset;

  const int64_t height = h.Height < 0 ? -h.Height : h.Height;
  const bool rle = h.Compression == BI_RLE4 || h.Compression == BI_RLE8;
  int64_t pixelBytes = DibRowStride(h.Width, h.Bits) * height;
  if (rle) {
    if (h.SizeImage == 0) return u"run-length data without its size";
    pixelBytes = h.SizeImage;
  } else if (h.SizeImage > available) {
    return u"the header declares " + Num(h.SizeImage) + u" bytes of pixel data but only " +
           Num(available) + u" are present";
  }
  if (pixelBytes > available)
    return u"the pixel data is shorter than the size needs (" + Num(available) + u" of " +
           Num(pixelBytes) + u" bytes)";

  image.Width = static_cast<int>(h.Width);
  image.Height = static_cast<int>(height);
  if (h.Bits <= 8) {
    PixelFormatOfBits(h.Bits, image.Format);
    image.Palette.assign(size_t(1) << h.Bits, RGBQUAD{});
    for (int64_t i = 0; i < colors; ++i) {
      const uint8_t* e = data + tableStart + i * entrySize;
      image.Palette[static_cast<size_t>(i)] = RGBQUAD{e[0], e[1], e[2], 0};
    }
  } else if (h.Bits == 24) {
    image.Format = TPixelFormat::pf24bit;
  } else if (h.Bits == 16 && masks.A == 0 &&
             ((masks.R == 0xF800 && masks.G == 0x07E0 && masks.B == 0x001F) ||
              (masks.R == 0x7C00 && masks.G == 0x03E0 && masks.B == 0x001F))) {
    image.Format = TPixelFormat::pf16bit;
  } else {
    image.Format = TPixelFormat::pf32bit;
    image.AlphaDefined = masks.A != 0 && h.Compression == BI_BITFIELDS;
  }
  image.Pixels.assign(static_cast<size_t>(image.Stride() * image.Height), 0);

  const uint8_t* pixels = data + pixelOffset;
  if (rle) return DecodeRle(pixels, static_cast<size_t>(pixelBytes), h.Bits, image);
  CopyRows(pixels, h, masks, image);
  return u"";
}

std::u16string DecodeBmpFile(const uint8_t* data, size_t size, TDibImage& image) {
  image = TDibImage();
  if (size < 14) return u"the data is shorter than a bitmap file header";
  if (data[0] != 'B' || data[1] != 'M') return u"not a bitmap file (no \"BM\" signature)";
  uint32_t fileSize = ReadLE32(data + 2);
  uint32_t offBits = ReadLE32(data + 10);
  if (fileSize > size)
    return u"the file header declares " + Num(fileSize) + u" bytes but only " +
           Num(static_cast<int64_t>(size)) + u" are present";
  if (fileSize < 14 + 4) return u"the file header declares an impossible size of " + Num(fileSize) + u" bytes";
  if (offBits < 14) return u"the pixel data offset points into the file header";
  return DecodePackedDib(data + 14, fileSize - 14, static_cast<int64_t>(offBits) - 14, image);
}
