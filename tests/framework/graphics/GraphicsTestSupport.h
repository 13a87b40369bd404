#pragma once
// Fixtures the graphics tests build themselves: BMP files field by field, bitmaps
// filled with known colours, and pixel reads.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/Object.h"
#include "framework/core/Types.h"
#include "framework/graphics/Bitmap.h"

// Every field of a BMP file, written as given (nothing is fixed up unless left at -1).
struct TBmpFields {
  char Signature[2] = {'B', 'M'};
  int64_t FileSize = -1;   // -1: the real size
  int64_t OffBits = -1;    // -1: right after the colour table
  uint32_t HeaderSize = 40;
  int32_t Width = 4;
  int32_t Height = 3;
  uint16_t Planes = 1;
  uint16_t Bits = 24;
  uint32_t Compression = BI_RGB;
  int64_t SizeImage = -1;  // -1: the pixel bytes' length
  uint32_t ColorsUsed = 0;
  // Header masks (V2 and later headers) or the three DWORDs after a 40-byte header.
  std::vector<uint32_t> Masks;
  uint32_t AlphaMask = 0;
  // B, G, R (and a zero byte unless the header is a core header) per entry.
  std::vector<RGBQUAD> Palette;
  std::vector<uint8_t> Pixels;
};

std::vector<uint8_t> BuildBmp(const TBmpFields& f);
// Padded rows of bits-per-pixel data from a function of (x, y) giving the stored value
// (an index, or a 16/24/32-bit pixel value); y counts stored rows.
std::vector<uint8_t> PackRows(int width, int height, int bits, uint32_t (*value)(int x, int y));
int Stride(int width, int bits);

// A pf24bit bitmap, every pixel color.
TOwned<TBitmap> SolidBitmap(int width, int height, TColor color,
                            TPixelFormat format = TPixelFormat::pf24bit);
// 0x00BBGGRR of a pixel, decoded from the bitmap's memory.
TColor ColorAt(const TBitmap& bitmap, int x, int y);
// Distinct colour per position, for telling pixels apart after a draw.
TColor PatternColor(int x, int y);
void FillPattern(TBitmap& bitmap);
