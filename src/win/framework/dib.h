// Engine bitmaps over DIB sections: once installed, every graphics::Bitmap the core makes lives
// in a bottom-up DIB section (addressed with a negative stride, never copied), so it can be
// selected into a device context and blitted directly.
#pragma once

#include <windows.h>

#include "core/graphics/bitmap.h"

namespace sapala::win {

// Makes every new engine bitmap a DIB section. Call once at start-up, before bitmaps are made.
void InstallDibSections() noexcept;

// The DIB section behind a bitmap, or nullptr for a bitmap in heap or borrowed memory. For 1-,
// 4- and 8-bit bitmaps the bitmap's palette is copied into the section's colour table first.
HBITMAP DibHandle(const graphics::Bitmap& bitmap) noexcept;

// A picture file (PNG, BMP, JPEG) read into a DIB-section bitmap; throws the reader's error.
graphics::Bitmap LoadPicture(const void* data, std::size_t size);

}  // namespace sapala::win
