#pragma once
// libpng behind plain functions; errors come back as text (libpng's error handler
// leaves with longjmp, which must never cross a frame that owns C++ objects).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/graphics/RawImage.h"

// Any PNG libpng reads, as 8-bit RGBA with straight alpha (opaque images get 255).
// consumed tells how many bytes the file took, up to and including IEND.  Damaged or
// truncated data (CRC, zlib, missing IEND) is an error.  "" on success.
std::string DecodePng(const uint8_t* data, size_t size, TRawImage& image, size_t& consumed);
// An 8-bit RGB (3 channels) or RGBA (4) PNG.  "" on success.
std::string EncodePng(const TRawImage& image, std::vector<uint8_t>& out);
