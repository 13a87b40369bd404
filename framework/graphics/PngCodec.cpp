#include "framework/graphics/PngCodec.h"

#include <csetjmp>
#include <cstring>
#include <new>

// A native library: with the Windows macros visible libpng compiles, links, and then
// calls its functions with the wrong convention.
#include "framework/core/NativeHeadersBegin.h"
#include <png.h>
#include "framework/core/NativeHeadersEnd.h"

namespace {

constexpr size_t kMessageSize = 200;

struct TPngJob {
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  size_t Position = 0;
  std::vector<uint8_t>* Out = nullptr;
  char Message[kMessageSize] = {};
};

void OnError(png_structp png, png_const_charp text) {
  auto* job = static_cast<TPngJob*>(png_get_error_ptr(png));
  std::strncpy(job->Message, text != nullptr ? text : "PNG error", kMessageSize - 1);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep buffer, png_size_t count) {
  auto* job = static_cast<TPngJob*>(png_get_io_ptr(png));
  if (count > job->Size - job->Position) png_error(png, "the PNG data ends early");
  std::memcpy(buffer, job->Data + job->Position, count);
  job->Position += count;
}

void OnWrite(png_structp png, png_bytep buffer, png_size_t count) {
  auto* job = static_cast<TPngJob*>(png_get_io_ptr(png));
  bool stored = true;
  try {
    job->Out->insert(job->Out->end(), buffer, buffer + count);
  } catch (const std::bad_alloc&) {
    stored = false;
  }
  // Outside the try block: png_error leaves this frame with longjmp.
  if (!stored) png_error(png, "out of memory");
}

void OnFlush(png_structp) {}

// Nothing in this frame has a destructor: OnError's longjmp lands here.
bool RunDecode(TPngJob* job, TRawImage* image) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job, OnError, OnWarning);
  if (png == nullptr) {
    std::strcpy(job->Message, "out of memory");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    std::strcpy(job->Message, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, job, OnRead);
  png_set_user_limits(png, kMaxBitmapDimension, kMaxBitmapDimension);
  png_read_info(png, info);
  const int colorType = png_get_color_type(png, info);
  png_set_expand(png);  // palette and small greys to 8-bit, tRNS to alpha
  png_set_strip_16(png);
  if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !png_get_valid(png, info, PNG_INFO_tRNS))
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const int width = static_cast<int>(png_get_image_width(png, info));
  const int height = static_cast<int>(png_get_image_height(png, info));
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) png_error(png, "unexpected row layout");
  if (!image->Allocate(width, height, 4)) png_error(png, "the image is too large");
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < height; ++y) png_read_row(png, image->Row(y), nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

bool RunEncode(TPngJob* job, const TRawImage* image) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job, OnError, OnWarning);
  if (png == nullptr) {
    std::strcpy(job->Message, "out of memory");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    std::strcpy(job->Message, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, job, OnWrite, OnFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image->Width), static_cast<png_uint_32>(image->Height), 8,
               image->Channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image->Height; ++y) png_write_row(png, image->Row(y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::string DecodePng(const uint8_t* data, size_t size, TRawImage& image, size_t& consumed) {
  image = TRawImage();
  consumed = 0;
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return "not a PNG file (no PNG signature)";
  TPngJob job;
  job.Data = data;
  job.Size = size;
  if (!RunDecode(&job, &image)) {
    image = TRawImage();
    return job.Message[0] != '\0' ? std::string(job.Message) : std::string("unreadable PNG data");
  }
  consumed = job.Position;
  return std::string();
}

std::string EncodePng(const TRawImage& image, std::vector<uint8_t>& out) {
  out.clear();
  if ((image.Channels != 3 && image.Channels != 4) || image.Width <= 0 || image.Height <= 0 ||
      image.Pixels.size() < image.Stride() * static_cast<size_t>(image.Height))
    return "nothing to encode";
  TPngJob job;
  job.Out = &out;
  if (RunEncode(&job, &image)) return std::string();
  out.clear();
  return job.Message[0] != '\0' ? std::string(job.Message) : std::string("cannot write PNG data");
}
