#include "win/controls/dib_surface.h"

#include <algorithm>
#include <new>

namespace sapala::win {

void DibSurface::Release() noexcept {
  if (dc_ && old_) ::SelectObject(dc_.get(), old_);
  old_ = nullptr;
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
  if (width > graphics::Bitmap::kMaxDimension || height > graphics::Bitmap::kMaxDimension) throw std::bad_alloc();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;   // top-down: row 0 first in memory
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
  old_ = ::SelectObject(dc_.get(), bitmap_.get());
  view_ = graphics::Bitmap::Wrap(static_cast<std::uint8_t*>(bits), width, height,
                                 static_cast<std::ptrdiff_t>(width) * 4, graphics::PixelFormat::pf32bit);
  width_ = width;
  height_ = height;
}

}  // namespace sapala::win
