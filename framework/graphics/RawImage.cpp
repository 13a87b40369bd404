#include "framework/graphics/RawImage.h"

#include <new>


bool TRawImage::Allocate(int width, int height, int channels) noexcept {
  if (width <= 0 || height <= 0 || width > kMaxBitmapDimension || height > kMaxBitmapDimension ||
      static_cast<int64_t>(width) * height > kMaxBitmapPixels)
    return false;
  try {
    Pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(channels), 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  Width = width;
  Height = height;
  Channels = channels;
  return true;
}
