#include "tests/framework/graphics/TestImageWriters.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include "framework/core/NativeHeadersBegin.h"
#define boolean jpeg_boolean
#include <jpeglib.h>
#undef boolean
#include <png.h>
#include "framework/core/NativeHeadersEnd.h"

std::vector<uint8_t> WriteTestJpeg(int width, int height, int components, const std::vector<uint8_t>& pixels,
                                   int quality, bool progressive) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);  // fixtures are valid: the default handler is enough
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  jpeg_mem_dest(&info, &buffer, &length);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&info);  // CMYK gets an Adobe marker
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + info.next_scanline * static_cast<size_t>(width * components));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + length);
  std::free(buffer);
  return out;
}

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

}  // namespace

std::vector<uint8_t> WriteTestPng(const TTestPng& p) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return std::vector<uint8_t>();
  }
  png_set_write_fn(png, &out, AppendBytes, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(p.Width), static_cast<png_uint_32>(p.Height), p.BitDepth,
               p.ColorType, p.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (size_t i = 0; i + 2 < p.Palette.size(); i += 3) palette.push_back({p.Palette[i], p.Palette[i + 1], p.Palette[i + 2]});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!p.Alpha.empty()) png_set_tRNS(png, info, p.Alpha.data(), static_cast<int>(p.Alpha.size()), nullptr);
  png_write_info(png, info);
  const size_t stride = p.Rows.size() / static_cast<size_t>(p.Height);
  std::vector<png_bytep> rows;
  for (int y = 0; y < p.Height; ++y) rows.push_back(const_cast<png_bytep>(p.Rows.data() + y * stride));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

uint32_t PngCrc(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return crc ^ 0xFFFFFFFFu;
}
