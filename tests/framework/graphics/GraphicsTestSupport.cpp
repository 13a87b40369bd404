#include "tests/framework/graphics/GraphicsTestSupport.h"

#include <cstring>

#include "framework/core/ByteOrder.h"

int Stride(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

std::vector<uint8_t> PackRows(int width, int height, int bits, uint32_t (*value)(int x, int y)) {
  const int stride = Stride(width, bits);
  std::vector<uint8_t> out(static_cast<size_t>(stride) * height, 0);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = out.data() + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      uint32_t v = value(x, y);
      switch (bits) {
        case 1:
          if (v & 1) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
          break;
        case 4:
          row[x / 2] |= static_cast<uint8_t>(x % 2 ? (v & 0xF) : (v & 0xF) << 4);
          break;
        default:
          for (int b = 0; b < bits / 8; ++b) row[x * (bits / 8) + b] = static_cast<uint8_t>(v >> (8 * b));
          break;
      }
    }
  }
  return out;
}

std::vector<uint8_t> BuildBmp(const TBmpFields& f) {
  std::vector<uint8_t> info;
  const bool core = f.HeaderSize == 12;
  AppendLE32(info, f.HeaderSize);
  if (core) {
    AppendLE16(info, static_cast<uint32_t>(f.Width));
    AppendLE16(info, static_cast<uint32_t>(f.Height));
    AppendLE16(info, f.Planes);
    AppendLE16(info, f.Bits);
  } else {
    AppendLE32(info, static_cast<uint32_t>(f.Width));
    AppendLE32(info, static_cast<uint32_t>(f.Height));
    AppendLE16(info, f.Planes);
    AppendLE16(info, f.Bits);
    AppendLE32(info, f.Compression);
    AppendLE32(info, static_cast<uint32_t>(f.SizeImage >= 0 ? f.SizeImage : static_cast<int64_t>(f.Pixels.size())));
    AppendLE32(info, 2835);
    AppendLE32(info, 2835);
    AppendLE32(info, f.ColorsUsed);
    AppendLE32(info, 0);
    const bool versioned = f.HeaderSize == 52 || f.HeaderSize == 56 || f.HeaderSize == 108 || f.HeaderSize == 124;
    if (versioned) {
      for (size_t i = 0; i < 3; ++i) AppendLE32(info, i < f.Masks.size() ? f.Masks[i] : 0);
      AppendLE32(info, f.AlphaMask);
      if (f.HeaderSize >= 108) AppendLE32(info, LCS_sRGB);
      // Whatever is left of the header (end points, gamma, intent, profile) stays zero.
      if (info.size() < f.HeaderSize) info.resize(f.HeaderSize, 0);
    } else {
      for (uint32_t m : f.Masks) AppendLE32(info, m);
    }
  }
  for (const RGBQUAD& q : f.Palette) {
    info.push_back(q.rgbBlue);
    info.push_back(q.rgbGreen);
    info.push_back(q.rgbRed);
    if (!core) info.push_back(0);
  }
  const int64_t offBits = f.OffBits >= 0 ? f.OffBits : static_cast<int64_t>(14 + info.size());
  const int64_t fileSize = f.FileSize >= 0 ? f.FileSize : static_cast<int64_t>(14 + info.size() + f.Pixels.size());
  std::vector<uint8_t> out;
  out.push_back(static_cast<uint8_t>(f.Signature[0]));
  out.push_back(static_cast<uint8_t>(f.Signature[1]));
  AppendLE32(out, static_cast<uint32_t>(fileSize));
  AppendLE32(out, 0);
  AppendLE32(out, static_cast<uint32_t>(offBits));
  out.insert(out.end(), info.begin(), info.end());
  out.insert(out.end(), f.Pixels.begin(), f.Pixels.end());
  return out;
}

TOwned<TBitmap> SolidBitmap(int width, int height, TColor color, TPixelFormat format) {
  TOwned<TBitmap> b(new TBitmap(width, height, format));
  b->Canvas()->Brush()->SetColor(color);
  b->Canvas()->FillRect(TRect(0, 0, width, height));
  return b;
}

TColor ColorAt(const TBitmap& bitmap, int x, int y) {
  TPixel p = bitmap.PixelAt(x, y);
  return static_cast<TColor>(RGB(p.R, p.G, p.B));
}

TColor PatternColor(int x, int y) { return static_cast<TColor>(RGB(10 + x * 7, 20 + y * 5, (x * 13 + y * 3) & 0xFF)); }

void FillPattern(TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) bitmap.Canvas()->SetPixels(x, y, PatternColor(x, y));
}
