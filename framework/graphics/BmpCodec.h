#pragma once
// Reading BMP files and packed DIBs (bitmap resources).  Every header field is checked
// against the bytes that are really there before anything is read through it, so a
// truncated or lying file ends in a reason, never in a read out of bounds.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/graphics/PixelFormat.h"
#include "framework/graphics/RawImage.h"

struct TDibImage {
  int Width = 0;
  int Height = 0;
  TPixelFormat Format = TPixelFormat::pf24bit;
  // 2^bits entries for indexed formats, empty otherwise.
  std::vector<RGBQUAD> Palette;
  // Rows top-down, DibRowStride(Width, bits) bytes each.
  std::vector<uint8_t> Pixels;
  // A 32-bit image whose header declares an alpha channel.
  bool AlphaDefined = false;

  int64_t Stride() const { return DibRowStride(Width, BitsPerPixel(Format)); }
  uint8_t* Row(int y) { return Pixels.data() + y * Stride(); }
  const uint8_t* Row(int y) const { return Pixels.data() + y * Stride(); }
};

// A whole BMP file (BITMAPFILEHEADER first).  Answers "" on success, else the reason.
std::u16string DecodeBmpFile(const uint8_t* data, size_t size, TDibImage& image);
// A DIB without file header: info header, masks, colour table, pixels.  pixelOffset
// counts from the start of the info header; -1 means right after the colour table.
std::u16string DecodePackedDib(const uint8_t* data, size_t size, int64_t pixelOffset, TDibImage& image);
