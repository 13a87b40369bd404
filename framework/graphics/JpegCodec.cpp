#include "framework/graphics/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

// libjpeg is a native library: it must not see the Windows macros (its INT32 and
// FAR handling follow them), and its boolean differs from the Windows one.
#include "framework/core/NativeHeadersBegin.h"
#define boolean jpeg_boolean
#include <jpeglib.h>
#include <jerror.h>
#undef boolean
#include "framework/core/NativeHeadersEnd.h"

namespace {

struct TJpegError {
  jpeg_error_mgr Base;  // first: libjpeg hands us a pointer to it
  jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  info->err->format_message(info, error->Message);
  longjmp(error->Jump, 1);
}

// Warnings are how libjpeg reports damaged data it would otherwise paint grey;
// stray bytes between markers are the one harmless kind.
void EmitMessage(j_common_ptr info, int level) {
  if (level >= 0 || info->err->msg_code == JWRN_EXTRANEOUS_DATA || info->err->msg_code == JWRN_JFIF_MAJOR)
    return;
  ErrorExit(info);
}

void OutputMessage(j_common_ptr) {}

void InstallErrorHandler(TJpegError& error) {
  jpeg_std_error(&error.Base);
  error.Base.error_exit = ErrorExit;
  error.Base.emit_message = EmitMessage;
  error.Base.output_message = OutputMessage;
  error.Message[0] = '\0';
}

// Adobe writes CMYK inverted; libjpeg passes the values through as stored.
void CmykToRgb(const JSAMPLE* in, uint8_t* out, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
    unsigned c = in[0], m = in[1], y = in[2], k = in[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    out[0] = static_cast<uint8_t>(c * k / 255);
    out[1] = static_cast<uint8_t>(m * k / 255);
    out[2] = static_cast<uint8_t>(y * k / 255);
  }
}

// Nothing in this frame has a destructor: the longjmp from ErrorExit lands here.
bool RunDecode(const uint8_t* data, size_t size, TRawImage* image, char* message) {
  jpeg_decompress_struct info;
  TJpegError error;
  info.err = &error.Base;
  InstallErrorHandler(error);
  if (setjmp(error.Jump)) {
    std::strcpy(message, error.Message);
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  // Before libjpeg allocates anything for the image: a small file can claim 65500 x 65500.
  if (!image->Allocate(static_cast<int>(info.image_width), static_cast<int>(info.image_height), 3)) {
    std::strcpy(message, "the image is too large");
    jpeg_destroy_decompress(&info);
    return false;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);
  if (static_cast<int>(info.output_width) != image->Width || static_cast<int>(info.output_height) != image->Height) {
    std::strcpy(message, "unexpected output size");
    jpeg_destroy_decompress(&info);
    return false;
  }
  JSAMPARRAY row = info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                          info.output_width * info.output_components, 1);
  while (info.output_scanline < info.output_height) {
    uint8_t* out = image->Row(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, row, 1);
    if (cmyk) CmykToRgb(row[0], out, info.output_width, info.saw_Adobe_marker != 0);
    else std::memcpy(out, row[0], image->Stride());
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

bool RunEncode(const TRawImage* image, int quality, unsigned char** buffer, unsigned long* length, char* message) {
  jpeg_compress_struct info;
  TJpegError error;
  info.err = &error.Base;
  InstallErrorHandler(error);
  if (setjmp(error.Jump)) {
    std::strcpy(message, error.Message);
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, buffer, length);
  info.image_width = static_cast<JDIMENSION>(image->Width);
  info.image_height = static_cast<JDIMENSION>(image->Height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image->Row(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

std::string DecodeJpeg(const uint8_t* data, size_t size, TRawImage& image) {
  image = TRawImage();
  if (size == 0) return "the data is empty";
  char message[JMSG_LENGTH_MAX] = {};
  if (RunDecode(data, size, &image, message)) return std::string();
  image = TRawImage();
  return message[0] != '\0' ? std::string(message) : std::string("unreadable JPEG data");
}

std::string EncodeJpeg(const TRawImage& image, int quality, std::vector<uint8_t>& out) {
  out.clear();
  if (image.Channels != 3 || image.Width <= 0 || image.Height <= 0) return "nothing to encode";
  if (quality < 1) quality = 1;
  if (quality > 100) quality = 100;
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  char message[JMSG_LENGTH_MAX] = {};
  bool ok = RunEncode(&image, quality, &buffer, &length, message);
  // jpeg_mem_dest's buffer comes from malloc, also when encoding failed.
  std::unique_ptr<unsigned char, void (*)(void*)> owned(buffer, std::free);
  if (ok) out.assign(buffer, buffer + length);
  return ok ? std::string() : std::string(message);
}
