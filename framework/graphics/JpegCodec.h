#pragma once
// libjpeg behind plain functions.  Errors come back as text: libjpeg reports them
// by calling a function that must not return, so it jumps back to the decoder with
// longjmp, which must never cross a frame that owns C++ objects.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/graphics/RawImage.h"

// RGB (3 channels) out of any JPEG libjpeg reads (grey, YCbCr, CMYK/YCCK).  Damaged or
// truncated data is an error, not a partly grey picture.  "" on success.
std::string DecodeJpeg(const uint8_t* data, size_t size, TRawImage& image);
// A baseline JFIF file of a 3-channel image; quality 1..100.  "" on success.
std::string EncodeJpeg(const TRawImage& image, int quality, std::vector<uint8_t>& out);
