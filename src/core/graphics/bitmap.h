// Device-independent bitmaps of the portable core.
//
// A Bitmap is width × height pixels in one of the formats the engine and its readers use:
// 1-, 4- and 8-bit with a palette, 24-bit (B, G, R) and 32-bit (B, G, R, A, not premultiplied).
// Rows are packed most significant bit first for 1- and 4-bit formats and padded to a multiple
// of four bytes, exactly as in a Windows DIB, so the Win32 half can hand the memory to GDI.
// Row 0 is the top row; Stride() is the signed byte distance from row y to row y + 1, negative
// for memory laid out bottom-up (a bottom-up DIB section is wrapped, not copied).
//
// Ownership: the pixel memory is held by a PixelBuffer owned by the Bitmap, or borrowed (Wrap),
// in which case its owner keeps it alive for the Bitmap's lifetime. Bitmaps move and do not
// copy implicitly; Clone() makes an owned deep copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/graphics/color.h"
#include "core/graphics/geometry.h"

namespace sapala::graphics {

enum class PixelFormat : std::uint8_t {
  pf1bit = 1,
  pf4bit = 4,
  pf8bit = 8,
  pf24bit = 24,
  pf32bit = 32
};

constexpr int BitsPerPixel(PixelFormat f) { return static_cast<int>(f); }
constexpr bool HasPalette(PixelFormat f) { return BitsPerPixel(f) <= 8; }

// Bytes of one row of `width` pixels, padded to four bytes; throws std::length_error when the
// width is negative or the row would not fit.
std::ptrdiff_t RowBytes(int width, PixelFormat format);

// Memory behind a bitmap's pixels, zero-filled when made. The default factory allocates from
// the heap; the Win32 half installs one that makes DIB sections, so that every engine bitmap
// can be selected into a device context (NativeHandle() then gives its HBITMAP).
class PixelBuffer {
 public:
  virtual ~PixelBuffer() = default;
  virtual std::uint8_t* Row0() noexcept = 0;           // address of the top row
  virtual std::ptrdiff_t Stride() const noexcept = 0;  // row y to row y + 1, in bytes
  virtual void* NativeHandle() const noexcept { return nullptr; }
};
using PixelBufferFactory = std::unique_ptr<PixelBuffer> (*)(int width, int height,
                                                            PixelFormat format);
// Installs the factory used by every new Bitmap; nullptr restores the heap. Not thread-safe:
// call it at start-up, before bitmaps are made.
void SetPixelBufferFactory(PixelBufferFactory factory);

// A palette entry: the RGBQUAD word 0x00RRGGBB (bytes B, G, R, 0 in memory).
using PaletteEntry = std::uint32_t;
constexpr PaletteEntry PaletteRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return std::uint32_t{b} | std::uint32_t{g} << 8 | std::uint32_t{r} << 16;
}

class Bitmap {
 public:
  // Engine-wide limits on the size of a bitmap, so that a damaged picture or a bad rectangle
  // cannot ask for gigabytes. Readers apply their own (configurable, smaller) limits first.
  static constexpr int kMaxDimension = 1 << 16;
  static constexpr std::size_t kMaxBytes = std::size_t{1} << 31;

  Bitmap() = default;
  // A zero-filled bitmap from the installed factory. A width or height of 0 gives an empty
  // bitmap without memory. Throws std::length_error for negative sizes or sizes over the limits.
  Bitmap(int width, int height, PixelFormat format);
  // Memory that the caller fills completely, every byte of every row up to RowBytes (padding
  // included), before anything reads it: from the heap it is not zero-filled (a factory's memory
  // is whatever the factory gives). Same limits and errors as the constructor. For decoders and
  // conversions that write each row whole; anything else takes the zero-filled constructor.
  // `order` is the layout wished for in memory (a decoder of bottom-up files fills such memory
  // in one run): heap memory follows it; an installed factory chooses its own.
  enum class RowOrder : std::uint8_t { TopDown, BottomUp };
  static Bitmap ForOverwrite(int width, int height, PixelFormat format,
                             RowOrder order = RowOrder::TopDown);
  // Borrowed memory: row0 is the top row, stride may be negative. The caller keeps the memory
  // alive and valid for width, height and stride as long as the Bitmap (or its moves) live.
  static Bitmap Wrap(std::uint8_t* row0, int width, int height, std::ptrdiff_t stride,
                     PixelFormat format);
  // Takes ownership of a buffer of a matching size.
  static Bitmap Adopt(std::unique_ptr<PixelBuffer> buffer, int width, int height,
                      PixelFormat format);

  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(Bitmap&& other) noexcept;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  ~Bitmap() = default;

  // Deep copy into owned memory (top-down), with palette and transparency settings.
  Bitmap Clone() const;

  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelFormat Format() const { return format_; }
  int BitsPerPixel() const { return graphics::BitsPerPixel(format_); }
  std::ptrdiff_t Stride() const { return stride_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  Rect Bounds() const { return {0, 0, width_, height_}; }
  // The buffer that owns the pixels (nullptr for borrowed or empty bitmaps).
  PixelBuffer* Buffer() const { return buffer_.get(); }

  // Row y (0 = top). y must be in 0..Height()-1.
  std::uint8_t* ScanLine(int y) { return row0_ + stride_ * y; }
  const std::uint8_t* ScanLine(int y) const { return row0_ + stride_ * y; }
  // Row y of a 32-bit bitmap as pixel words 0xAARRGGBB. Rows are 4-byte aligned.
  std::uint32_t* Row32(int y) { return reinterpret_cast<std::uint32_t*>(ScanLine(y)); }
  const std::uint32_t* Row32(int y) const {
    return reinterpret_cast<const std::uint32_t*>(ScanLine(y));
  }

  // Any pixel as a 32-bit word 0xAARRGGBB: palette formats look up the palette (alpha 255,
  // black for indices past its end), 24-bit gives alpha 255. (x, y) must lie inside.
  std::uint32_t PixelWord(int x, int y) const;
  // The raw value of a pixel: the index for palette formats, else as PixelWord.
  std::uint32_t RawPixel(int x, int y) const;
  // Stores a raw value (index for palette formats, 0xAARRGGBB else; 24-bit drops alpha).
  void SetRawPixel(int x, int y, std::uint32_t value);

  // Palette of 1-, 4- and 8-bit bitmaps (at most 2^bits entries are meaningful).
  std::vector<PaletteEntry>& Palette() { return palette_; }
  const std::vector<PaletteEntry>& Palette() const { return palette_; }

  // Transparent colour for drawing (the platform's TBitmap.Transparent and TransparentColor).
  bool transparent = false;
  TColor transparentColor = clNone;

 private:
  std::unique_ptr<PixelBuffer> buffer_;
  std::uint8_t* row0_ = nullptr;
  std::ptrdiff_t stride_ = 0;
  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::pf32bit;
  std::vector<PaletteEntry> palette_;
};

// A new zero-filled 32-bit bitmap (all pixels 0x00000000).
Bitmap NewBitmap32(int width, int height);
// The same in heap memory, whatever factory is installed: for pictures that live only inside one
// painting step and are never handed to the platform (a factory's bitmap may cost a system
// object to make and to free). Same limits and errors as NewBitmap32.
Bitmap NewScratchBitmap32(int width, int height);
// A new zero-filled bitmap with the size, pixel format and palette of `bitmap`.
Bitmap CloneBitmapShape(const Bitmap& bitmap);
// A 32-bit copy of any bitmap: palette and 24-bit pixels get alpha 255, 32-bit is copied as is.
Bitmap ConvertTo32(const Bitmap& bitmap);
// A 24-bit copy of any bitmap (alpha dropped).
Bitmap ConvertTo24(const Bitmap& bitmap);

}  // namespace sapala::graphics
