#pragma once
// Pixel layouts of the bitmaps this layer makes (DIB sections), and reading and
// writing single pixels of a row in any of them.
#include <windows.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "framework/core/ClassInfo.h"

// pf16bit is 5-6-5 (BI_BITFIELDS); pf32bit is B, G, R, A.
enum class TPixelFormat { pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit };
DECLARE_ENUM_NAMES(TPixelFormat, u"pf1bit", u"pf4bit", u"pf8bit", u"pf16bit", u"pf24bit", u"pf32bit")

int BitsPerPixel(TPixelFormat format);
bool IsIndexed(TPixelFormat format);
// The format with that many bits per pixel; false for counts we do not keep.
bool PixelFormatOfBits(int bits, TPixelFormat& format);
// Bytes per row of a DIB: rows are padded to 32 bits.  64-bit so that a lying header
// cannot overflow it.
int64_t DibRowStride(int64_t width, int bits);
// Black and white; the 16 VGA colours; those 16, a 6x6x6 cube and 24 greys.
std::vector<RGBQUAD> DefaultPalette(TPixelFormat format);

struct TPixel {
  uint8_t R = 0, G = 0, B = 0, A = 0;
  bool SameColor(const TPixel& o) const { return R == o.R && G == o.G && B == o.B; }
};

// Palette index of an indexed row, and the colour of any row's pixel.
int ReadIndex(const uint8_t* row, int x, int bits);
void WriteIndex(uint8_t* row, int x, int bits, int index);
TPixel ReadPixel(const uint8_t* row, int x, TPixelFormat format, const std::vector<RGBQUAD>& palette);

// Writes colours into rows of one format, finding the nearest palette entry for
// indexed formats (remembered per colour, as images repeat few colours).
class TPixelWriter {
 public:
  TPixelWriter(TPixelFormat format, const std::vector<RGBQUAD>& palette)
      : format_(format), palette_(palette) {}
  void Write(uint8_t* row, int x, const TPixel& p);

 private:
  int Nearest(const TPixel& p);
  TPixelFormat format_;
  const std::vector<RGBQUAD>& palette_;
  std::unordered_map<uint32_t, int> nearest_;
};
