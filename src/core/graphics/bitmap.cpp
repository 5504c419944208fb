// Bitmaps: pixel memory, ownership, format conversions.
#include "core/graphics/bitmap.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <limits>
#include <stdexcept>
#include <utility>

namespace sapala::graphics {

static_assert(std::endian::native == std::endian::little,
              "pixel words assume little-endian memory (B, G, R, A = 0xAARRGGBB)");

namespace {

// calloc: large blocks come zeroed from the system without being written here first. Memory
// that its user overwrites whole is taken with malloc.
class HeapBuffer final : public PixelBuffer {
 public:
  // A negative stride keeps the rows bottom-up: the top row is the last in memory.
  HeapBuffer(std::size_t bytes, std::ptrdiff_t stride, bool zeroed = true)
      : memory_(static_cast<std::uint8_t*>(zeroed ? std::calloc(bytes, 1) : std::malloc(bytes))),
        stride_(stride) {
    if (!memory_) throw std::bad_alloc();
    if (stride < 0) row0_ = bytes - static_cast<std::size_t>(-stride);
  }
  std::uint8_t* Row0() noexcept override { return memory_.get() + row0_; }
  std::ptrdiff_t Stride() const noexcept override { return stride_; }

 private:
  struct Free {
    void operator()(std::uint8_t* p) const noexcept { std::free(p); }
  };
  std::unique_ptr<std::uint8_t, Free> memory_;
  std::ptrdiff_t stride_;
  std::size_t row0_ = 0;  // offset of the top row
};

std::unique_ptr<PixelBuffer> HeapFactory(int width, int height, PixelFormat format) {
  const std::ptrdiff_t stride = RowBytes(width, format);
  return std::make_unique<HeapBuffer>(
      static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), stride);
}

PixelBufferFactory g_factory = &HeapFactory;

void CheckSize(int width, int height, PixelFormat format) {
  if (width < 0 || height < 0 || width > Bitmap::kMaxDimension || height > Bitmap::kMaxDimension) {
    throw std::length_error("bitmap size out of range");
  }
  const auto row = static_cast<std::size_t>(RowBytes(width, format));
  if (height != 0 && row > Bitmap::kMaxBytes / static_cast<std::size_t>(height)) {
    throw std::length_error("bitmap too large");
  }
}

}  // namespace

std::ptrdiff_t RowBytes(int width, PixelFormat format) {
  if (width < 0) throw std::length_error("negative bitmap width");
  const std::uint64_t bits = static_cast<std::uint64_t>(width) *
                             static_cast<std::uint64_t>(graphics::BitsPerPixel(format));
  const std::uint64_t bytes = (bits + 31) / 32 * 4;
  if (bytes > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max() / 2)) {
    throw std::length_error("bitmap row too long");
  }
  return static_cast<std::ptrdiff_t>(bytes);
}

void SetPixelBufferFactory(PixelBufferFactory factory) {
  g_factory = factory ? factory : &HeapFactory;
}

Bitmap::Bitmap(int width, int height, PixelFormat format) : format_(format) {
  CheckSize(width, height, format);
  if (width == 0 || height == 0) return;
  buffer_ = g_factory(width, height, format);
  if (!buffer_ || !buffer_->Row0()) throw std::bad_alloc();
  row0_ = buffer_->Row0();
  stride_ = buffer_->Stride();
  width_ = width;
  height_ = height;
}

Bitmap Bitmap::ForOverwrite(int width, int height, PixelFormat format, RowOrder order) {
  if (g_factory != &HeapFactory) return Bitmap(width, height, format);
  CheckSize(width, height, format);
  if (width == 0 || height == 0) return Bitmap(width, height, format);
  const std::ptrdiff_t row = RowBytes(width, format);
  return Adopt(
      std::make_unique<HeapBuffer>(static_cast<std::size_t>(row) * static_cast<std::size_t>(height),
                                   order == RowOrder::BottomUp ? -row : row, false),
      width, height, format);
}

Bitmap Bitmap::Wrap(std::uint8_t* row0, int width, int height, std::ptrdiff_t stride,
                    PixelFormat format) {
  CheckSize(width, height, format);
  Bitmap b;
  b.format_ = format;
  if (width == 0 || height == 0 || row0 == nullptr) return b;
  b.row0_ = row0;
  b.stride_ = stride;
  b.width_ = width;
  b.height_ = height;
  return b;
}

Bitmap Bitmap::Adopt(std::unique_ptr<PixelBuffer> buffer, int width, int height,
                     PixelFormat format) {
  CheckSize(width, height, format);
  Bitmap b;
  b.format_ = format;
  if (!buffer || width == 0 || height == 0) return b;
  b.row0_ = buffer->Row0();
  b.stride_ = buffer->Stride();
  b.width_ = width;
  b.height_ = height;
  b.buffer_ = std::move(buffer);
  return b;
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : transparent(other.transparent),
      transparentColor(other.transparentColor),
      buffer_(std::move(other.buffer_)),
      row0_(std::exchange(other.row0_, nullptr)),
      stride_(std::exchange(other.stride_, 0)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      format_(other.format_),
      palette_(std::move(other.palette_)) {}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    transparent = other.transparent;
    transparentColor = other.transparentColor;
    buffer_ = std::move(other.buffer_);
    row0_ = std::exchange(other.row0_, nullptr);
    stride_ = std::exchange(other.stride_, 0);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    format_ = other.format_;
    palette_ = std::move(other.palette_);
  }
  return *this;
}

Bitmap Bitmap::Clone() const {
  Bitmap copy = ForOverwrite(width_, height_, format_);  // every row is copied whole
  if (!Empty()) {
    const auto bytes = static_cast<std::size_t>(RowBytes(width_, format_));
    for (int y = 0; y < height_; ++y) std::memcpy(copy.ScanLine(y), ScanLine(y), bytes);
  }
  copy.palette_ = palette_;
  copy.transparent = transparent;
  copy.transparentColor = transparentColor;
  return copy;
}

std::uint32_t Bitmap::RawPixel(int x, int y) const {
  const std::uint8_t* row = ScanLine(y);
  switch (format_) {
    case PixelFormat::pf1bit:
      return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case PixelFormat::pf4bit:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
    case PixelFormat::pf8bit:
      return row[x];
    case PixelFormat::pf24bit: {
      const std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x);
      return 0xFF000000u | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
    }
    case PixelFormat::pf32bit:
      return Row32(y)[x];
  }
  return 0;
}

std::uint32_t Bitmap::PixelWord(int x, int y) const {
  const std::uint32_t raw = RawPixel(x, y);
  if (!HasPalette(format_)) return raw;
  return raw < palette_.size() ? (palette_[raw] | 0xFF000000u) : 0xFF000000u;
}

void Bitmap::SetRawPixel(int x, int y, std::uint32_t value) {
  std::uint8_t* row = ScanLine(y);
  switch (format_) {
    case PixelFormat::pf1bit: {
      const auto bit = static_cast<std::uint8_t>(0x80u >> (x & 7));
      row[x >> 3] =
          static_cast<std::uint8_t>((value & 1u) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      break;
    }
    case PixelFormat::pf4bit: {
      std::uint8_t& b = row[x >> 1];
      b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0u) | (value & 0xFu))
                  : static_cast<std::uint8_t>((b & 0x0Fu) | (value & 0xFu) << 4);
      break;
    }
    case PixelFormat::pf8bit:
      row[x] = static_cast<std::uint8_t>(value);
      break;
    case PixelFormat::pf24bit: {
      std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x);
      p[0] = static_cast<std::uint8_t>(value);
      p[1] = static_cast<std::uint8_t>(value >> 8);
      p[2] = static_cast<std::uint8_t>(value >> 16);
      break;
    }
    case PixelFormat::pf32bit:
      Row32(y)[x] = value;
      break;
  }
}

Bitmap NewBitmap32(int width, int height) { return Bitmap(width, height, PixelFormat::pf32bit); }

Bitmap NewScratchBitmap32(int width, int height) {
  CheckSize(width, height, PixelFormat::pf32bit);
  if (width == 0 || height == 0) return Bitmap(width, height, PixelFormat::pf32bit);
  return Bitmap::Adopt(HeapFactory(width, height, PixelFormat::pf32bit), width, height,
                       PixelFormat::pf32bit);
}

Bitmap CloneBitmapShape(const Bitmap& bitmap) {
  Bitmap b(bitmap.Width(), bitmap.Height(), bitmap.Format());
  b.Palette() = bitmap.Palette();
  return b;
}

Bitmap ConvertTo32(const Bitmap& bitmap) {
  // Every pixel of every row is written below, and 32-bit rows have no padding.
  Bitmap out = Bitmap::ForOverwrite(bitmap.Width(), bitmap.Height(), PixelFormat::pf32bit);
  if (bitmap.Format() == PixelFormat::pf32bit) {
    const auto bytes = static_cast<std::size_t>(4) * static_cast<std::size_t>(bitmap.Width());
    for (int y = 0; y < bitmap.Height(); ++y)
      std::memcpy(out.ScanLine(y), bitmap.ScanLine(y), bytes);
  } else if (bitmap.Format() == PixelFormat::pf24bit) {
    for (int y = 0; y < bitmap.Height(); ++y) {
      const std::uint8_t* in = bitmap.ScanLine(y);
      std::uint32_t* row = out.Row32(y);
      for (int x = 0; x < bitmap.Width(); ++x, in += 3) {
        row[x] = 0xFF000000u | std::uint32_t{in[2]} << 16 | std::uint32_t{in[1]} << 8 | in[0];
      }
    }
  } else {
    // Palette formats through a full-size table (indices past the palette give black).
    const int bits = graphics::BitsPerPixel(bitmap.Format());
    std::uint32_t table[256];
    for (std::size_t i = 0; i < 256; ++i) {
      table[i] = i < bitmap.Palette().size() ? (bitmap.Palette()[i] | 0xFF000000u) : 0xFF000000u;
    }
    for (int y = 0; y < bitmap.Height(); ++y) {
      const std::uint8_t* in = bitmap.ScanLine(y);
      std::uint32_t* row = out.Row32(y);
      if (bits == 8) {
        for (int x = 0; x < bitmap.Width(); ++x) row[x] = table[in[x]];
      } else {
        for (int x = 0; x < bitmap.Width(); ++x) row[x] = table[bitmap.RawPixel(x, y)];
      }
    }
  }
  out.transparent = bitmap.transparent;
  out.transparentColor = bitmap.transparentColor;
  return out;
}

Bitmap ConvertTo24(const Bitmap& bitmap) {
  Bitmap out(bitmap.Width(), bitmap.Height(), PixelFormat::pf24bit);
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint8_t* row = out.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t w = bitmap.PixelWord(x, y);
      row[3 * x] = static_cast<std::uint8_t>(w);
      row[3 * x + 1] = static_cast<std::uint8_t>(w >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(w >> 16);
    }
  }
  out.transparent = bitmap.transparent;
  out.transparentColor = bitmap.transparentColor;
  return out;
}

}  // namespace sapala::graphics
