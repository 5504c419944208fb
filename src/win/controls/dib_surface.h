// A 32-bit top-down DIB section with its own memory DC, seen by the core as a graphics::Bitmap.
// The labels draw GDI text into it and run the core's pixel work on the same memory; it is
// resized (remade) only when the size changes and lives as long as its owner.
#pragma once

#include <windows.h>

#include "core/graphics/bitmap.h"
#include "win/framework/handles.h"

namespace sapala::win {

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

  Bitmap bitmap_;
  MemoryDC dc_;
  HGDIOBJ old_ = nullptr;
  graphics::Bitmap view_;
  int width_ = 0, height_ = 0;
};

}  // namespace sapala::win
