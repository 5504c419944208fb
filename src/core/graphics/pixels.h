// Pixel primitives on core bitmaps: fills, alpha-weighted copies, key-colour copies, tints and
// colour shifts over whole bitmaps. Every routine clips to the bitmaps it is given and does
// nothing for empty inputs or bitmaps of another pixel format than it works on (32-bit unless
// stated). Rounding is half to even; "div" truncates toward zero; ">>" is an arithmetic shift.
// Transparent ("key") pixels are recognised by their colour bytes alone (IsKeyPixel,
// SameColorBytes in color.h): a key word given to a routine matches whatever the alpha byte.
#pragma once

#include <cstdint>

#include "core/graphics/bitmap.h"
#include "core/graphics/color.h"
#include "core/graphics/geometry.h"

namespace sapala::graphics {

// What lies under a painted element: a bitmap with the element's offset in it, or a colour.
// `bitmap` may be null (colour only); `color` is a colour value (system colours allowed).
struct BackgroundSource {
  const Bitmap* bitmap = nullptr;
  Point offset;  // the element's top-left in `bitmap`
  TColor color = clFuchsia;
};

// Every pixel of `rect` := R, G, B of `color` with alpha 255. In a bitmap of height 1 the row is
// filled from rect.left to its end.
void FillBitmapRect(Bitmap& bitmap, Rect rect, TColor color);
// Writes `alpha` into the fourth byte of every pixel of `rect`; with skipKey key pixels
// (kKeyPixel) are left alone.
void SetOpacityRect(Bitmap& bitmap, Rect rect, std::uint8_t alpha, bool skipKey);
// Each channel := Round(p × pixel + (1 − p) × colour), p = percent / 100, alpha untouched. The
// rectangle is inclusive: its right column and bottom row are mixed too.
void MixRectWithColor(Bitmap& bitmap, Rect rect, int percent, TColor color);
// For each pixel of `rect` in `background` whose word is not `key`: the pixel of `bitmap` at
// the same place moved by (x, y) := Round(back − (back − pixel) × factor) per channel.
void FadeToBackground(Bitmap& bitmap, int x, int y, std::uint32_t key, double factor, Rect rect,
                      const Bitmap& background);
// Every non-key pixel channel := Round(factor × (channel − colourChannel) + colourChannel).
void TintBitmap(Bitmap& bitmap, TColor color, double factor);
// Every pixel's B, G, R := (B + G + R) div 3.
void GrayscaleBitmap(Bitmap& bitmap);
// ChangeHue / ChangeSaturation on every pixel that is neither the key nor a grey. A null bitmap
// is accepted and left alone.
void ChangeBitmapHue(Bitmap* bitmap, int degrees);
void ChangeBitmapSaturation(Bitmap* bitmap, int percent);

// Alpha copy of `sourceRect` of `source` to `destOrigin` in `dest`; for every byte (B, G, R and
// A alike): dest := (dest × alpha + source × (255 − alpha) + 127) >> 8. `alpha` is the weight
// of what is already in dest. Negative origins move the source rectangle's start instead.
void BlendRect(Bitmap& dest, const Bitmap& source, std::uint8_t alpha, Point destOrigin,
               Rect sourceRect);
// Composites `sourceRect` of `source` over `destRect` of `dest` by the source's own alpha a:
// channel := ((source − dest) × a + dest × 256) >> 8; when a > 0 destA += a × (255 − destA) div
// 255. With a background bitmap, source key pixels are not composited: with useBackground they
// take the background's pixel (alpha 255) at the same place moved by its offset.
void ComposeOver(Rect destRect, Rect sourceRect, const Bitmap& source, bool useBackground,
                 const BackgroundSource& background, Bitmap& dest);
// Copies every pixel of `source` (32- or 24-bit) whose value differs from `key` to dest at
// (x, y) with alpha 255. 24-bit pixels compare as 0x00RRGGBB.
void CopyKeyed(Bitmap& dest, const Bitmap& source, int x, int y, std::uint32_t key);
// As CopyKeyed for `sourceRect` of `source`; key pixels take the parent's pixel at the same
// destination place moved by parent.offset when parent holds a bitmap (else they are skipped).
void CopyKeyedWithBackground(Bitmap& dest, Point destPos, const Bitmap& source, Rect sourceRect,
                             std::uint32_t key, const BackgroundSource* parent);
// Masked piece copy: `pieceRect` of `image` and its mask `maskOffsetY` rows below are combined
// into dest at destPos per channel: dest := ((dest − image) × mask + image × 256) >> 8, alpha
// 255. Image pixels equal to `key` are skipped, or with a parent background replaced by its
// pixel (bitmap at destination place + offset) or its colour.
void CopyMaskedPiece(Bitmap& dest, Point destPos, const Bitmap& image, Rect pieceRect,
                     int maskOffsetY, std::uint32_t key, const BackgroundSource* parent);
// Per channel result := (alpha × (a − b) + 256 × b) >> 8 over the common size of the three
// bitmaps (all 32-bit; result may be a or b). With a mask bitmap (32-bit) its channel value is
// the alpha of the same pixel and channel.
void BlendBitmaps(Bitmap& result, const Bitmap& a, const Bitmap& b, std::uint8_t alpha,
                  const Bitmap* mask);

// Plain copy of `sourceRect` to destPos (SRCCOPY), clipped to both bitmaps. Both must have the
// same format of 8, 24 or 32 bits per pixel; otherwise nothing happens.
void CopyBitmapRect(Bitmap& dest, Point destPos, const Bitmap& source, Rect sourceRect);
// True when `piece` holds exactly the 32-bit pixels of `bitmap` at `rect` (same size, every
// byte alike). False for other formats or a rect not wholly inside `bitmap`.
bool SameRect(const Bitmap& bitmap, Rect rect, const Bitmap& piece);
// Nearest-neighbour stretch of `sourceRect` onto `destRect` (colour-on-colour: every
// destination pixel takes the source pixel under its centre), clipped to the destination;
// same format rule as CopyBitmapRect. Source coordinates outside the source bitmap are skipped.
void StretchBitmapRect(Bitmap& dest, Rect destRect, const Bitmap& source, Rect sourceRect);

// The alpha bytes of a 32-bit bitmap as an 8-bit bitmap with the grey palette (for scaling the
// alpha channel on its own when a picture is drawn stretched); empty for other formats.
Bitmap ExtractAlpha(const Bitmap& bitmap);
// Writes an 8-bit bitmap's values into the alpha bytes of a 32-bit one (common size only).
void ReplaceAlpha(Bitmap& bitmap, const Bitmap& alpha8);
// Multiplies B, G, R by alpha: c := (c × a + 127) div 255, for handing a picture to the
// compositor (UpdateLayeredWindow). Engine bitmaps otherwise stay unpremultiplied.
void PremultiplyAlpha(Bitmap& bitmap);

// Fast pixel access to one 32-bit bitmap. Colours read and written are values with alpha in
// the top byte: A<<24 | R | G<<8 | B<<16.
class TlcFast32 {
 public:
  // Attaches; fails (Width becomes 0, returns false) for a missing or non-32-bit bitmap, or one
  // narrower than 1 or lower than 2 pixels.
  bool Attach(Bitmap* bitmap);
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor value);
  // Writes one colour value to every pixel of `rect` (clipped).
  void FillRect(Rect rect, TColor value);

  Bitmap* bitmap = nullptr;
  int Width = 0;
  int Height = 0;
  std::uint8_t* Start = nullptr;
  std::ptrdiff_t Delta = 0;
};

// Fast access to a source and destination pair of 32-bit bitmaps.
class TlcFastSum32 {
 public:
  // Fails (returns false, Width 0) when either bitmap is missing, not 32-bit, or narrower or
  // lower than 2 pixels. Width and Height are the smaller of the two sizes.
  bool Attach(const Bitmap* source, Bitmap* dest);
  // dest rect := alpha copy of the source rect (DestWeight is the weight of dest).
  void BlendRect();

  const Bitmap* SourceBitmap = nullptr;
  Bitmap* DestBitmap = nullptr;
  int Width = 0;
  int Height = 0;
  const std::uint8_t* SourceStart = nullptr;
  std::uint8_t* DestStart = nullptr;
  std::ptrdiff_t SourceDelta = 0;
  std::ptrdiff_t DestDelta = 0;
  std::uint8_t DestWeight = 0;
  int DestX1 = 0, DestY1 = 0, DestX2 = 0, DestY2 = 0;
  int SourceX1 = 0, SourceY1 = 0, SourceX2 = 0, SourceY2 = 0;
};

}  // namespace sapala::graphics
