// DIB sections. Engine bitmaps over DIB sections: once installed, every graphics::Bitmap the
// core makes lives in a bottom-up DIB section (addressed with a negative stride, never copied),
// so it can be selected into a device context and blitted directly. DibSurface: a 32-bit
// top-down section with its own memory DC, for drawing GDI text and running pixel work on the
// same memory.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "core/graphics/bitmap.h"
#include "win/framework/handles.h"

namespace sapala::win {

// Makes every new engine bitmap a DIB section. Call once at start-up, before bitmaps are made.
void InstallDibSections() noexcept;
// The factory InstallDibSections installs: a zero-filled DIB section for one bitmap; throws
// std::bad_alloc when the system cannot make it. For factories that wrap it (tests).
std::unique_ptr<graphics::PixelBuffer> MakeDibBuffer(int width, int height,
                                                     graphics::PixelFormat format);

// The DIB section behind a bitmap, or nullptr for a bitmap in heap or borrowed memory. For 1-,
// 4- and 8-bit bitmaps the bitmap's palette is copied into the section's colour table first.
HBITMAP DibHandle(const graphics::Bitmap& bitmap) noexcept;

// A picture file (PNG, BMP, JPEG) read into a DIB-section bitmap; throws the reader's error.
graphics::Bitmap LoadPicture(const void* data, std::size_t size);

// A 32-bit top-down DIB section with its own memory DC, seen by the core as a graphics::Bitmap.
// It is resized (remade) only when the size changes and lives as long as its owner.
class DibSurface {
 public:
  DibSurface() = default;
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;
  ~DibSurface() { Release(); }

  // Makes the surface width × height (negative sizes count as 0); pixels are zero after a
  // resize and kept otherwise. Throws std::bad_alloc when the section cannot be made.
  void Resize(int width, int height);
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  // The memory DC with the section selected; nullptr while the surface is empty.
  HDC DC() const noexcept { return dc_.get(); }
  graphics::Bitmap& Pixels() noexcept { return view_; }

 private:
  void Release() noexcept;

  // Released in reverse: the selection is undone before the DC and the section go.
  Bitmap bitmap_;
  MemoryDC dc_;
  std::optional<SelectedObject> selection_;
  graphics::Bitmap view_;
  int width_ = 0, height_ = 0;
};

}  // namespace sapala::win
