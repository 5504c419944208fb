// JPEG decoding through libjpeg. libjpeg reports errors by longjmp; the two functions that
// call it under setjmp hold no C++ objects, so no destructor is ever skipped.
#include "core/codecs/jpeg.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "core/graphics/errors.h"

namespace sapala::codecs {

using graphics::Bitmap;
using graphics::EInvalidGraphic;

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void OnJpegError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings and traces are not shown, except that data ending before the picture does is an
// error: libjpeg would quietly fill the rest with grey.
extern "C" void OnJpegMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) OnJpegError(cinfo);
}

struct Job {
  ErrorManager err;
  jpeg_decompress_struct cinfo;
  bool created = false;
  bool cmyk = false;
};

// Header and output parameters. False on a libjpeg error (message in job.err.message).
bool ReadHeader(Job& job, const std::uint8_t* data, std::size_t size, long maxMemory) {
  if (setjmp(job.err.jump)) return false;
  jpeg_create_decompress(&job.cinfo);
  job.created = true;
  job.cinfo.mem->max_memory_to_use = maxMemory;
  jpeg_mem_src(&job.cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&job.cinfo, TRUE);
  const J_COLOR_SPACE in = job.cinfo.jpeg_color_space;
  job.cmyk = in == JCS_CMYK || in == JCS_YCCK;
  job.cinfo.out_color_space = job.cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_calc_output_dimensions(&job.cinfo);
  return true;
}

// Decodes into the rows of `out` (32-bit, the header's size); CMYK rows go through `cmykRow`.
bool Decode(Job& job, std::uint8_t* row0, std::ptrdiff_t stride, std::uint8_t* cmykRow) {
  if (setjmp(job.err.jump)) return false;
  jpeg_start_decompress(&job.cinfo);
  const bool inverted = job.cinfo.saw_Adobe_marker;
  while (job.cinfo.output_scanline < job.cinfo.output_height) {
    std::uint8_t* dst = row0 + stride * static_cast<std::ptrdiff_t>(job.cinfo.output_scanline);
    JSAMPROW rows[1] = {job.cmyk ? cmykRow : dst};
    if (jpeg_read_scanlines(&job.cinfo, rows, 1) != 1) break;
    if (job.cmyk) {
      for (JDIMENSION x = 0; x < job.cinfo.output_width; ++x) {
        const std::uint8_t* p = cmykRow + 4 * x;
        unsigned c = p[0], m = p[1], y = p[2], k = p[3];
        if (!inverted) {
          c = 255 - c;
          m = 255 - m;
          y = 255 - y;
          k = 255 - k;
        }
        dst[4 * x] = static_cast<std::uint8_t>((y * k + 127) / 255);
        dst[4 * x + 1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        dst[4 * x + 2] = static_cast<std::uint8_t>((c * k + 127) / 255);
        dst[4 * x + 3] = 255;
      }
    }
  }
  jpeg_finish_decompress(&job.cinfo);
  return true;
}

// Destroys the decompressor however the decoding ends.
struct JobGuard {
  Job& job;
  ~JobGuard() {
    if (job.created) jpeg_destroy_decompress(&job.cinfo);
  }
};

}  // namespace

bool IsJpeg(std::span<const std::uint8_t> data) {
  return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

Bitmap ReadJpeg(std::span<const std::uint8_t> data, const DecodeLimits& limits) {
  if (!IsJpeg(data))
    throw EInvalidGraphic("Cannot load image. Invalid or unexpected JPEG image format.");
  Job job{};
  JobGuard guard{job};
  job.cinfo.err = jpeg_std_error(&job.err.pub);
  job.err.pub.error_exit = OnJpegError;
  job.err.pub.emit_message = OnJpegMessage;
  // libjpeg's working memory (whole-image buffers of progressive pictures): a few times the
  // picture's own size at most.
  const std::size_t budget =
      std::min<std::size_t>(limits.maxPictureBytes, std::size_t{1} << 30) * 3 + (16u << 20);
  const long maxMemory =
      static_cast<long>(std::min<std::size_t>(budget, static_cast<std::size_t>(LONG_MAX)));
  if (!ReadHeader(job, data.data(), data.size(), maxMemory)) {
    throw EInvalidGraphic(std::string("Cannot load image. JPEG error: ") + job.err.message);
  }
  const std::uint64_t w = job.cinfo.output_width, h = job.cinfo.output_height;
  if (w == 0 || h == 0)
    throw EInvalidGraphic("Cannot load image. Invalid or unexpected JPEG image format.");
  if (w > static_cast<std::uint64_t>(limits.maxWidth) ||
      h > static_cast<std::uint64_t>(limits.maxHeight) || w * h * 4 > limits.maxPictureBytes) {
    throw EInvalidGraphic("Cannot load image. The JPEG image is larger than allowed.");
  }
  Bitmap out = graphics::NewBitmap32(static_cast<int>(w), static_cast<int>(h));
  std::vector<std::uint8_t> cmykRow(job.cmyk ? static_cast<std::size_t>(w) * 4 : 0);
  if (!Decode(job, out.ScanLine(0), out.Stride(), cmykRow.data())) {
    throw EInvalidGraphic(std::string("Cannot load image. JPEG error: ") + job.err.message);
  }
  return out;
}

}  // namespace sapala::codecs
