#include "win/framework/dib.h"

#include <algorithm>
#include <new>
#include <span>

#include "core/codecs/picture.h"
#include "win/framework/handles.h"

namespace sapala::win {

namespace {

class DibBuffer final : public graphics::PixelBuffer {
 public:
  DibBuffer(int width, int height, graphics::PixelFormat format) {
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;  // positive: bottom-up rows
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(graphics::BitsPerPixel(format));
    info.header.biCompression = BI_RGB;
    if (graphics::HasPalette(format)) info.header.biClrUsed = 1u << info.header.biBitCount;
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                     &bits, nullptr, 0));
    if (!bitmap_ || !bits) throw std::bad_alloc();
    const std::ptrdiff_t row = graphics::RowBytes(width, format);
    stride_ = -row;
    row0_ = static_cast<std::uint8_t*>(bits) + row * (height - 1);
  }
  std::uint8_t* Row0() noexcept override { return row0_; }
  std::ptrdiff_t Stride() const noexcept override { return stride_; }
  void* NativeHandle() const noexcept override { return bitmap_.get(); }

 private:
  Bitmap bitmap_;
  std::uint8_t* row0_ = nullptr;
  std::ptrdiff_t stride_ = 0;
};

}  // namespace

std::unique_ptr<graphics::PixelBuffer> MakeDibBuffer(int width, int height,
                                                     graphics::PixelFormat format) {
  return std::make_unique<DibBuffer>(width, height, format);
}

void InstallDibSections() noexcept { graphics::SetPixelBufferFactory(&MakeDibBuffer); }

HBITMAP DibHandle(const graphics::Bitmap& bitmap) noexcept {
  if (!bitmap.Buffer()) return nullptr;
  auto* handle = static_cast<HBITMAP>(bitmap.Buffer()->NativeHandle());
  if (handle && graphics::HasPalette(bitmap.Format()) && !bitmap.Palette().empty()) {
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), handle);
    const auto& pal = bitmap.Palette();
    ::SetDIBColorTable(dc.get(), 0, static_cast<UINT>(std::min<std::size_t>(pal.size(), 256)),
                       reinterpret_cast<const RGBQUAD*>(pal.data()));
  }
  return handle;
}

graphics::Bitmap LoadPicture(const void* data, std::size_t size) {
  return codecs::ReadPicture(
      std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(data), size));
}

void DibSurface::Release() noexcept {
  selection_.reset();
  view_ = graphics::Bitmap();
  dc_.reset();
  bitmap_.reset();
  width_ = height_ = 0;
}

void DibSurface::Resize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == width_ && height == height_) return;
  Release();
  if (width == 0 || height == 0) return;
  if (width > graphics::Bitmap::kMaxDimension || height > graphics::Bitmap::kMaxDimension)
    throw std::bad_alloc();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first in memory
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  dc_.reset(::CreateCompatibleDC(nullptr));
  if (!bitmap_ || !bits || !dc_) {
    Release();
    throw std::bad_alloc();
  }
  selection_.emplace(dc_.get(), bitmap_.get());
  view_ = graphics::Bitmap::Wrap(static_cast<std::uint8_t*>(bits), width, height,
                                 static_cast<std::ptrdiff_t>(width) * 4,
                                 graphics::PixelFormat::pf32bit);
  width_ = width;
  height_ = height;
}

}  // namespace sapala::win
