#include "framework/graphics/PixelFormat.h"

#include <iterator>

namespace {

const int kBits[] = {1, 4, 8, 16, 24, 32};

const uint8_t kVga[16][3] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

RGBQUAD Quad(int r, int g, int b) {
  RGBQUAD q{};
  q.rgbRed = static_cast<BYTE>(r);
  q.rgbGreen = static_cast<BYTE>(g);
  q.rgbBlue = static_cast<BYTE>(b);
  return q;
}

// 5- and 6-bit channels widened by repeating their top bits, so that 0 and full
// intensity stay 0 and 255 (pure magenta survives a trip through 5-6-5).
uint8_t Widen5(unsigned v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }
uint8_t Widen6(unsigned v) { return static_cast<uint8_t>((v << 2) | (v >> 4)); }

}  // namespace

int BitsPerPixel(TPixelFormat format) { return kBits[static_cast<int>(format)]; }

bool IsIndexed(TPixelFormat format) { return BitsPerPixel(format) <= 8; }

bool PixelFormatOfBits(int bits, TPixelFormat& format) {
  for (size_t i = 0; i < std::size(kBits); ++i) {
    if (kBits[i] == bits) {
      format = static_cast<TPixelFormat>(i);
      return true;
    }
  }
  return false;
}

int64_t DibRowStride(int64_t width, int bits) { return ((width * bits + 31) / 32) * 4; }

std::vector<RGBQUAD> DefaultPalette(TPixelFormat format) {
  std::vector<RGBQUAD> palette;
  switch (format) {
    case TPixelFormat::pf1bit:
      palette = {Quad(0, 0, 0), Quad(255, 255, 255)};
      break;
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit:
      for (const auto& c : kVga) palette.push_back(Quad(c[0], c[1], c[2]));
      if (format == TPixelFormat::pf8bit) {
        for (int r = 0; r < 6; ++r)
          for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) palette.push_back(Quad(r * 51, g * 51, b * 51));
        for (int i = 0; i < 24; ++i) {
          int v = 8 + i * 10;
          palette.push_back(Quad(v, v, v));
        }
      }
      break;
    default:
      break;
  }
  return palette;
}

int ReadIndex(const uint8_t* row, int x, int bits) {
  switch (bits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default:
      return row[x];
  }
}

void WriteIndex(uint8_t* row, int x, int bits, int index) {
  switch (bits) {
    case 1: {
      uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>(index & 1 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
      break;
    }
    case 4:
      if (x & 1) row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0xF0) | (index & 0x0F));
      else row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0x0F) | ((index & 0x0F) << 4));
      break;
    default:
      row[x] = static_cast<uint8_t>(index);
      break;
  }
}

TPixel ReadPixel(const uint8_t* row, int x, TPixelFormat format, const std::vector<RGBQUAD>& palette) {
  TPixel p;
  switch (format) {
    case TPixelFormat::pf16bit: {
      unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
      p.R = Widen5((v >> 11) & 0x1F);
      p.G = Widen6((v >> 5) & 0x3F);
      p.B = Widen5(v & 0x1F);
      p.A = 255;
      break;
    }
    case TPixelFormat::pf24bit:
      p.B = row[x * 3];
      p.G = row[x * 3 + 1];
      p.R = row[x * 3 + 2];
      p.A = 255;
      break;
    case TPixelFormat::pf32bit:
      p.B = row[x * 4];
      p.G = row[x * 4 + 1];
      p.R = row[x * 4 + 2];
      p.A = row[x * 4 + 3];
      break;
    default: {
      size_t i = static_cast<size_t>(ReadIndex(row, x, BitsPerPixel(format)));
      if (i < palette.size()) {
        p.R = palette[i].rgbRed;
        p.G = palette[i].rgbGreen;
        p.B = palette[i].rgbBlue;
      }
      p.A = 255;
      break;
    }
  }
  return p;
}

int TPixelWriter::Nearest(const TPixel& p) {
  uint32_t key = p.R | (p.G << 8) | (p.B << 16);
  auto found = nearest_.find(key);
  if (found != nearest_.end()) return found->second;
  int best = 0;
  int bestDistance = INT32_MAX;
  for (size_t i = 0; i < palette_.size(); ++i) {
    int dr = p.R - palette_[i].rgbRed, dg = p.G - palette_[i].rgbGreen, db = p.B - palette_[i].rgbBlue;
    int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  nearest_.emplace(key, best);
  return best;
}

void TPixelWriter::Write(uint8_t* row, int x, const TPixel& p) {
  switch (format_) {
    case TPixelFormat::pf16bit: {
      unsigned v = ((p.R >> 3) << 11) | ((p.G >> 2) << 5) | (p.B >> 3);
      row[x * 2] = static_cast<uint8_t>(v);
      row[x * 2 + 1] = static_cast<uint8_t>(v >> 8);
      break;
    }
    case TPixelFormat::pf24bit:
      row[x * 3] = p.B;
      row[x * 3 + 1] = p.G;
      row[x * 3 + 2] = p.R;
      break;
    case TPixelFormat::pf32bit:
      row[x * 4] = p.B;
      row[x * 4 + 1] = p.G;
      row[x * 4 + 2] = p.R;
      row[x * 4 + 3] = p.A;
      break;
    default:
      WriteIndex(row, x, BitsPerPixel(format_), Nearest(p));
      break;
  }
}
