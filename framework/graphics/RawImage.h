#pragma once
// Pixels handed between the codec libraries and the bitmaps.  Kept free of the
// Windows headers: the codec files include native library headers that must not
// meet them.
#include <cstddef>
#include <cstdint>
#include <vector>

// Larger images are refused: no picture of this program comes near, and a small
// lying file (an RLE bitmap, a JPEG or PNG header) must not make us allocate gigabytes.
constexpr int kMaxBitmapDimension = 32767;
constexpr int64_t kMaxBitmapPixels = int64_t(1) << 26;

struct TRawImage {
  int Width = 0;
  int Height = 0;
  // 3: R, G, B; 4: R, G, B, A (straight alpha).  Rows top-down, no padding.
  int Channels = 3;
  std::vector<uint8_t> Pixels;

  size_t Stride() const { return static_cast<size_t>(Width) * static_cast<size_t>(Channels); }
  uint8_t* Row(int y) { return Pixels.data() + static_cast<size_t>(y) * Stride(); }
  const uint8_t* Row(int y) const { return Pixels.data() + static_cast<size_t>(y) * Stride(); }
  // Sizes the buffer; false when the image is larger than any we accept.
  bool Allocate(int width, int height, int channels) noexcept;
};
