#include "win/framework/dib.h"

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
    info.header.biHeight = height;   // positive: bottom-up rows
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

std::unique_ptr<graphics::PixelBuffer> MakeDib(int width, int height, graphics::PixelFormat format) {
  return std::make_unique<DibBuffer>(width, height, format);
}

}  // namespace

void InstallDibSections() noexcept { graphics::SetPixelBufferFactory(&MakeDib); }

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
  return codecs::ReadPicture(std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(data), size));
}

}  // namespace sapala::win
