#pragma once
// JPEG and PNG files written straight through libjpeg and libpng, so that the readers
// are tested against data the code under test did not make.  No Windows types here:
// the writers' file includes the native library headers.
#include <cstddef>
#include <cstdint>
#include <vector>

// components: 1 (grey), 3 (RGB) or 4 (CMYK, stored inverted as Adobe writes it);
// pixels top-down, tightly packed.
std::vector<uint8_t> WriteTestJpeg(int width, int height, int components, const std::vector<uint8_t>& pixels,
                                   int quality, bool progressive);

struct TTestPng {
  int Width = 0;
  int Height = 0;
  int ColorType = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  int BitDepth = 8;
  bool Interlaced = false;
  std::vector<uint8_t> Rows;     // packed as PNG stores them, each row ceil(bits / 8) bytes
  std::vector<uint8_t> Palette;  // R, G, B per entry
  std::vector<uint8_t> Alpha;    // tRNS: one alpha per palette entry
};
std::vector<uint8_t> WriteTestPng(const TTestPng& png);

// The CRC of PNG chunks, for fixtures that change a chunk and keep it valid.
uint32_t PngCrc(const uint8_t* data, size_t size);
