// Pixel primitives over 32-bit (and where stated 24-bit and palette) bitmaps.
#include "core/graphics/pixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sapala::graphics {

namespace {

bool Is32(const Bitmap& b) { return !b.Empty() && b.Format() == PixelFormat::pf32bit; }

inline std::uint8_t Byte(std::uint32_t w, int shift) {
  return static_cast<std::uint8_t>(w >> shift);
}

// A source pixel as the keyed copies compare it: 32-bit words as stored, other formats as
// 0x00RRGGBB (so that the key 0x00FF00FF matches fuchsia in 24-bit and palette pictures).
inline std::uint32_t KeyWord(const Bitmap& b, int x, int y) {
  if (b.Format() == PixelFormat::pf32bit) return b.Row32(y)[x];
  if (b.Format() == PixelFormat::pf24bit) {
    const std::uint8_t* p = b.ScanLine(y) + 3 * static_cast<std::ptrdiff_t>(x);
    return std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
  }
  return b.PixelWord(x, y) & 0x00FFFFFFu;
}

// The pixel of a background source at a destination place (already offset), or its colour.
inline std::uint32_t BackgroundWord(const BackgroundSource& bg, int x, int y, bool& found) {
  if (bg.bitmap) {
    const Bitmap& b = *bg.bitmap;
    found = !b.Empty() && x >= 0 && y >= 0 && x < b.Width() && y < b.Height();
    return found ? (b.PixelWord(x, y) | 0xFF000000u) : 0;
  }
  found = true;
  return PixelFromColor(ColorToRGB(bg.color), 255);
}

// Clips a copy of size (w, h) from source position s to destination position d against both
// bitmaps. Returns false when nothing is left.
bool ClipCopy(int& dx, int& dy, int& sx, int& sy, int& w, int& h, int destW, int destH, int srcW,
              int srcH) {
  if (dx < 0) {
    sx -= dx;
    w += dx;
    dx = 0;
  }
  if (dy < 0) {
    sy -= dy;
    h += dy;
    dy = 0;
  }
  if (sx < 0) {
    dx -= sx;
    w += sx;
    sx = 0;
  }
  if (sy < 0) {
    dy -= sy;
    h += sy;
    sy = 0;
  }
  w = std::min({w, destW - dx, srcW - sx});
  h = std::min({h, destH - dy, srcH - sy});
  return w > 0 && h > 0;
}

// dest := (dest × alpha + source × (255 − alpha) + 127) >> 8 for `bytes` bytes. Eight bytes
// at a time as four 16-bit lanes per word: a lane holds at most 255 × 255 + 127 < 65536, so no
// lane carries into the next and the result is exact.
void BlendBytes(std::uint8_t* __restrict d, const std::uint8_t* __restrict s, std::size_t bytes,
                unsigned alpha) {
  const unsigned inv = 255u - alpha;
  constexpr std::uint64_t kLow = 0x00FF00FF00FF00FFull;
  constexpr std::uint64_t kHalf = 0x007F007F007F007Full;
  std::size_t i = 0;
  for (; i + 8 <= bytes; i += 8) {
    std::uint64_t dw, sw;
    std::memcpy(&dw, d + i, 8);
    std::memcpy(&sw, s + i, 8);
    const std::uint64_t even = (((dw & kLow) * alpha + (sw & kLow) * inv + kHalf) >> 8) & kLow;
    const std::uint64_t odd = ((dw >> 8 & kLow) * alpha + (sw >> 8 & kLow) * inv + kHalf) & ~kLow;
    const std::uint64_t out = even | odd;
    std::memcpy(d + i, &out, 8);
  }
  for (; i < bytes; ++i) {
    d[i] = static_cast<std::uint8_t>((d[i] * alpha + s[i] * inv + 127u) >> 8);
  }
}

}  // namespace

void FillBitmapRect(Bitmap& bitmap, Rect rect, TColor color) {
  if (!Is32(bitmap)) return;
  const std::uint32_t px = PixelFromColor(ColorToRGB(color), 255);
  if (bitmap.Height() == 1) {
    const int from = std::max(rect.left, 0);
    if (from < bitmap.Width())
      std::fill(bitmap.Row32(0) + from, bitmap.Row32(0) + bitmap.Width(), px);
    return;
  }
  const Rect r = rect.intersect(bitmap.Bounds());
  for (int y = r.top; y < r.bottom; ++y)
    std::fill(bitmap.Row32(y) + r.left, bitmap.Row32(y) + r.right, px);
}

bool SameRect(const Bitmap& bitmap, Rect rect, const Bitmap& piece) {
  if (!Is32(bitmap) || !Is32(piece) || rect.empty() || rect.width() != piece.Width() ||
      rect.height() != piece.Height() || rect.intersect(bitmap.Bounds()) != rect) {
    return false;
  }
  const auto bytes = static_cast<std::size_t>(rect.width()) * 4;
  for (int y = 0; y < piece.Height(); ++y) {
    if (std::memcmp(bitmap.Row32(rect.top + y) + rect.left, piece.Row32(y), bytes) != 0) {
      return false;
    }
  }
  return true;
}

void SetOpacityRect(Bitmap& bitmap, Rect rect, std::uint8_t alpha, bool skipKey) {
  if (!Is32(bitmap)) return;
  const Rect r = rect.intersect(bitmap.Bounds());
  const std::uint32_t a = std::uint32_t{alpha} << 24;
  for (int y = r.top; y < r.bottom; ++y) {
    std::uint32_t* row = bitmap.Row32(y);
    for (int x = r.left; x < r.right; ++x) {
      if (skipKey && IsKeyPixel(row[x])) continue;
      row[x] = (row[x] & 0x00FFFFFFu) | a;
    }
  }
}

void MixRectWithColor(Bitmap& bitmap, Rect rect, int percent, TColor color) {
  if (bitmap.Empty()) return;
  const int bpp = bitmap.Format() == PixelFormat::pf32bit   ? 4
                  : bitmap.Format() == PixelFormat::pf24bit ? 3
                                                            : 0;
  if (bpp == 0) return;
  // Inclusive rectangle: right column and bottom row are mixed too.
  const Rect r = Rect{rect.left, rect.top, std::min(rect.right, bitmap.Width() - 1) + 1,
                      std::min(rect.bottom, bitmap.Height() - 1) + 1}
                     .intersect(bitmap.Bounds());
  const TColor c = ColorToRGB(color);
  // The formula depends only on the channel's old value: one table per channel, filled with the
  // very same arithmetic, turns the per-pixel work into three look-ups. An element repainted in
  // the same look asks for the same tables again, so the last ones are kept (per thread).
  // The entries are kept in place for a 32-bit pixel word (green shifted by 8, red by 16), so
  // that a pixel takes three look-ups and two ORs.
  struct Tables {
    bool valid = false;
    int percent = 0;
    TColor color = 0;
    std::uint32_t b[256], g[256], r[256];
  };
  thread_local Tables t;
  if (!t.valid || t.percent != percent || t.color != c) {
    const double p = percent / 100.0;
    const double cb = (1 - p) * BlueOf(c), cg = (1 - p) * GreenOf(c), cr = (1 - p) * RedOf(c);
    for (int v = 0; v < 256; ++v) {
      t.b[v] = ClampByte(RoundEven(p * v + cb));
      t.g[v] = std::uint32_t{ClampByte(RoundEven(p * v + cg))} << 8;
      t.r[v] = std::uint32_t{ClampByte(RoundEven(p * v + cr))} << 16;
    }
    t.valid = true;
    t.percent = percent;
    t.color = c;
  }
  const std::uint32_t* tb = t.b;
  const std::uint32_t* tg = t.g;
  const std::uint32_t* tr = t.r;
  for (int y = r.top; y < r.bottom; ++y) {
    if (bpp == 4) {
      auto mix = [&](std::uint32_t w) {
        return (w & 0xFF000000u) | tb[w & 0xFFu] | tg[w >> 8 & 0xFFu] | tr[w >> 16 & 0xFFu];
      };
      std::uint32_t* px = bitmap.Row32(y) + r.left;
      std::uint32_t* const end = bitmap.Row32(y) + r.right;
      // Four pixels read before any is written: the look-ups of one do not wait for the
      // stores of another.
      for (; end - px >= 4; px += 4) {
        const std::uint32_t w0 = px[0], w1 = px[1], w2 = px[2], w3 = px[3];
        px[0] = mix(w0);
        px[1] = mix(w1);
        px[2] = mix(w2);
        px[3] = mix(w3);
      }
      for (; px != end; ++px) *px = mix(*px);
      continue;
    }
    std::uint8_t* px = bitmap.ScanLine(y) + static_cast<std::ptrdiff_t>(r.left) * bpp;
    for (int x = r.left; x < r.right; ++x, px += bpp) {
      px[0] = static_cast<std::uint8_t>(tb[px[0]]);
      px[1] = static_cast<std::uint8_t>(tg[px[1]] >> 8);
      px[2] = static_cast<std::uint8_t>(tr[px[2]] >> 16);
    }
  }
}

void FadeToBackground(Bitmap& bitmap, int x, int y, std::uint32_t key, double factor, Rect rect,
                      const Bitmap& background) {
  if (!Is32(bitmap) || !Is32(background)) return;
  const Rect r = rect.intersect(background.Bounds());
  for (int by = r.top; by < r.bottom; ++by) {
    const int ty = by + y;
    if (ty < 0 || ty >= bitmap.Height()) continue;
    const std::uint32_t* back = background.Row32(by);
    std::uint32_t* target = bitmap.Row32(ty);
    for (int bx = r.left; bx < r.right; ++bx) {
      const int tx = bx + x;
      if (tx < 0 || tx >= bitmap.Width() || SameColorBytes(back[bx], key)) continue;
      const std::uint32_t b = back[bx], p = target[tx];
      std::uint32_t out = p & 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        const double bv = Byte(b, shift), pv = Byte(p, shift);
        out |= std::uint32_t{ClampByte(RoundEven(bv - (bv - pv) * factor))} << shift;
      }
      target[tx] = out;
    }
  }
}

void TintBitmap(Bitmap& bitmap, TColor color, double factor) {
  if (!Is32(bitmap)) return;
  const TColor c = ColorToRGB(color);
  const double cc[3] = {static_cast<double>(BlueOf(c)), static_cast<double>(GreenOf(c)),
                        static_cast<double>(RedOf(c))};
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint32_t* row = bitmap.Row32(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (IsKeyPixel(row[x])) continue;
      std::uint32_t out = row[x] & 0xFF000000u;
      for (int i = 0; i < 3; ++i) {
        const double v = Byte(row[x], 8 * i);
        out |= std::uint32_t{ClampByte(RoundEven(factor * (v - cc[i]) + cc[i]))} << (8 * i);
      }
      row[x] = out;
    }
  }
}

void GrayscaleBitmap(Bitmap& bitmap) {
  if (!Is32(bitmap)) return;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint32_t* row = bitmap.Row32(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t w = row[x];
      const std::uint32_t g = (Byte(w, 0) + Byte(w, 8) + Byte(w, 16)) / 3;
      row[x] = (w & 0xFF000000u) | g * 0x010101u;
    }
  }
}

namespace {

template <typename Shift>
void ShiftBitmapColors(Bitmap* bitmap, Shift shift) {
  if (!bitmap || !Is32(*bitmap)) return;
  std::uint32_t lastIn = 0, lastOut = 0;
  bool haveLast = false;
  for (int y = 0; y < bitmap->Height(); ++y) {
    std::uint32_t* row = bitmap->Row32(y);
    for (int x = 0; x < bitmap->Width(); ++x) {
      const std::uint32_t w = row[x];
      if (IsKeyPixel(w)) continue;
      const std::uint32_t rgb = w & 0x00FFFFFFu;
      if (Byte(w, 0) == Byte(w, 8) && Byte(w, 8) == Byte(w, 16)) continue;  // grey
      if (!haveLast || rgb != lastIn) {
        lastIn = rgb;
        lastOut = PixelFromColor(shift(ColorFromPixel(rgb)), 0) & 0x00FFFFFFu;
        haveLast = true;
      }
      row[x] = (w & 0xFF000000u) | lastOut;
    }
  }
}

}  // namespace

void ChangeBitmapHue(Bitmap* bitmap, int degrees) {
  if (degrees == 0) return;
  ShiftBitmapColors(bitmap, [degrees](TColor c) { return ChangeHue(c, degrees); });
}

void ChangeBitmapSaturation(Bitmap* bitmap, int percent) {
  if (percent == 0) return;
  ShiftBitmapColors(bitmap, [percent](TColor c) { return ChangeSaturation(c, percent); });
}

void BlendRect(Bitmap& dest, const Bitmap& source, std::uint8_t alpha, Point destOrigin,
               Rect sourceRect) {
  if (!Is32(dest) || !Is32(source)) return;
  Rect s = sourceRect;
  Point o = destOrigin;
  if (o.x < 0) {
    s.left -= o.x;
    o.x = 0;
  }
  if (o.y < 0) {
    s.top -= o.y;
    o.y = 0;
  }
  if (s.left < 0) {
    o.x -= s.left;
    s.left = 0;
  }
  if (s.top < 0) {
    o.y -= s.top;
    s.top = 0;
  }
  if (o.x >= dest.Width() || o.y >= dest.Height()) return;
  s.right = std::min({s.right, source.Width(), s.left + dest.Width() - o.x});
  s.bottom = std::min({s.bottom, source.Height(), s.top + dest.Height() - o.y});
  if (s.empty()) return;
  const std::size_t bytes = static_cast<std::size_t>(s.width()) * 4;
  for (int y = 0; y < s.height(); ++y) {
    BlendBytes(dest.ScanLine(o.y + y) + static_cast<std::ptrdiff_t>(o.x) * 4,
               source.ScanLine(s.top + y) + static_cast<std::ptrdiff_t>(s.left) * 4, bytes, alpha);
  }
}

void ComposeOver(Rect destRect, Rect sourceRect, const Bitmap& source, bool useBackground,
                 const BackgroundSource& background, Bitmap& dest) {
  if (!Is32(dest) || !Is32(source)) return;
  int dx = destRect.left, dy = destRect.top, sx = sourceRect.left, sy = sourceRect.top;
  int w = std::min(destRect.width(), sourceRect.width());
  int h = std::min(destRect.height(), sourceRect.height());
  if (!ClipCopy(dx, dy, sx, sy, w, h, dest.Width(), dest.Height(), source.Width(), source.Height()))
    return;
  const bool keyed = background.bitmap != nullptr;
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* s = source.Row32(sy + y) + sx;
    std::uint32_t* d = dest.Row32(dy + y) + dx;
    for (int x = 0; x < w; ++x) {
      const std::uint32_t sw = s[x];
      if (keyed && IsKeyPixel(sw)) {
        if (useBackground) {
          bool found = false;
          const std::uint32_t bw = BackgroundWord(background, dx + x + background.offset.x,
                                                  dy + y + background.offset.y, found);
          if (found) d[x] = bw | 0xFF000000u;
        }
        continue;
      }
      const std::uint32_t a = sw >> 24;
      const std::uint32_t dw = d[x];
      std::uint32_t out = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const std::int32_t sv = Byte(sw, shift), dv = Byte(dw, shift);
        out |=
            static_cast<std::uint32_t>(((sv - dv) * static_cast<std::int32_t>(a) + dv * 256) >> 8)
            << shift;
      }
      std::uint32_t da = dw >> 24;
      if (a > 0) da = da + a * (255u - da) / 255u;
      d[x] = out | da << 24;
    }
  }
}

void CopyKeyed(Bitmap& dest, const Bitmap& source, int x, int y, std::uint32_t key) {
  CopyKeyedWithBackground(dest, {x, y}, source, source.Bounds(), key, nullptr);
}

void CopyKeyedWithBackground(Bitmap& dest, Point destPos, const Bitmap& source, Rect sourceRect,
                             std::uint32_t key, const BackgroundSource* parent) {
  if (!Is32(dest) || source.Empty()) return;
  int dx = destPos.x, dy = destPos.y, sx = sourceRect.left, sy = sourceRect.top;
  int w = sourceRect.width(), h = sourceRect.height();
  if (!ClipCopy(dx, dy, sx, sy, w, h, dest.Width(), dest.Height(), source.Width(), source.Height()))
    return;
  const bool withParent = parent && parent->bitmap;
  for (int y = 0; y < h; ++y) {
    std::uint32_t* d = dest.Row32(dy + y) + dx;
    for (int x = 0; x < w; ++x) {
      const std::uint32_t sw = KeyWord(source, sx + x, sy + y);
      if (SameColorBytes(sw, key)) {
        if (withParent) {
          bool found = false;
          const std::uint32_t bw =
              BackgroundWord(*parent, dx + x + parent->offset.x, dy + y + parent->offset.y, found);
          if (found) d[x] = bw | 0xFF000000u;
        }
        continue;
      }
      d[x] = sw | 0xFF000000u;
    }
  }
}

void CopyMaskedPiece(Bitmap& dest, Point destPos, const Bitmap& image, Rect pieceRect,
                     int maskOffsetY, std::uint32_t key, const BackgroundSource* parent) {
  if (!Is32(dest) || image.Empty()) return;
  // The piece and its mask must both lie inside the image.
  Rect piece = pieceRect;
  piece.bottom = std::min(piece.bottom, image.Height() - maskOffsetY);
  int dx = destPos.x, dy = destPos.y, sx = piece.left, sy = piece.top;
  int w = piece.width(), h = piece.height();
  if (sy + maskOffsetY < 0) {  // mask above the image: clip the rows whose mask is missing
    const int cut = -(sy + maskOffsetY);
    sy += cut;
    dy += cut;
    h -= cut;
  }
  if (!ClipCopy(dx, dy, sx, sy, w, h, dest.Width(), dest.Height(), image.Width(), image.Height()))
    return;
  const bool image32 = image.Format() == PixelFormat::pf32bit;
  for (int y = 0; y < h; ++y) {
    std::uint32_t* d = dest.Row32(dy + y) + dx;
    if (image32 && !parent) {
      // Fast path for the usual case (32-bit skin pictures, key pixels skipped): row pointers.
      const std::uint32_t* img = image.Row32(sy + y) + sx;
      const std::uint32_t* msk = image.Row32(sy + y + maskOffsetY) + sx;
      int x = 0;
#if defined(__SSE2__)
      // Four pixels a step. Per channel (d × m + i × (256 − m)) >> 8 is the formula below in
      // another order; every term stays under 2^16 (at most 255 × 256 in all), so 16-bit lanes
      // hold it. Key pixels keep what the destination had.
      const __m128i zero = _mm_setzero_si128();
      const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
      const __m128i keyWord = _mm_set1_epi32(static_cast<int>(key & 0x00FFFFFFu));
      const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
      const __m128i full = _mm_set1_epi16(256);
      for (; w - x >= 4; x += 4) {
        const __m128i iv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(img + x));
        const __m128i mv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(msk + x));
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + x));
        const __m128i isKey = _mm_cmpeq_epi32(_mm_and_si128(iv, colour), keyWord);
        // The intrinsics are called by name: they have no address to pass around.
        auto half = [&](__m128i d16, __m128i i16, __m128i m16) {
          const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(d16, m16),
                                            _mm_mullo_epi16(i16, _mm_sub_epi16(full, m16)));
          return _mm_srli_epi16(sum, 8);
        };
        const __m128i low = half(_mm_unpacklo_epi8(dv, zero), _mm_unpacklo_epi8(iv, zero),
                                 _mm_unpacklo_epi8(mv, zero));
        const __m128i high = half(_mm_unpackhi_epi8(dv, zero), _mm_unpackhi_epi8(iv, zero),
                                  _mm_unpackhi_epi8(mv, zero));
        const __m128i mixed = _mm_or_si128(_mm_packus_epi16(low, high), opaque);
        const __m128i out = _mm_or_si128(_mm_and_si128(isKey, dv), _mm_andnot_si128(isKey, mixed));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x), out);
      }
#endif
      for (; x < w; ++x) {
        const std::uint32_t iw = img[x];
        if (SameColorBytes(iw, key)) continue;
        const std::uint32_t mw = msk[x], dw = d[x];
        const std::uint32_t m = mw & 0xFFu;
        if ((mw >> 8 & 0xFFu) == m && (mw >> 16 & 0xFFu) == m) {
          // A grey mask weighs every channel alike: (d × m + i × (256 − m)) >> 8 per channel,
          // the same value as below, with blue and red in one multiply (each lane stays under
          // 255 × 256, so no lane carries into the next).
          const std::uint32_t inv = 256u - m;
          const std::uint32_t br = ((dw & 0xFF00FFu) * m + (iw & 0xFF00FFu) * inv) >> 8 & 0xFF00FFu;
          const std::uint32_t g = ((dw & 0xFF00u) * m + (iw & 0xFF00u) * inv) >> 8 & 0xFF00u;
          d[x] = 0xFF000000u | br | g;
          continue;
        }
        auto channel = [&](int shift) {
          const std::int32_t dv = Byte(dw, shift), iv = Byte(iw, shift), mv = Byte(mw, shift);
          return static_cast<std::uint32_t>(((dv - iv) * mv + iv * 256) >> 8) << shift;
        };
        d[x] = 0xFF000000u | channel(0) | channel(8) | channel(16);
      }
      continue;
    }
    for (int x = 0; x < w; ++x) {
      const std::uint32_t iw = KeyWord(image, sx + x, sy + y);
      if (SameColorBytes(iw, key)) {
        if (parent) {
          bool found = false;
          const std::uint32_t bw =
              BackgroundWord(*parent, dx + x + parent->offset.x, dy + y + parent->offset.y, found);
          if (found) d[x] = bw | 0xFF000000u;
        }
        continue;
      }
      const std::uint32_t mw = KeyWord(image, sx + x, sy + y + maskOffsetY);
      const std::uint32_t dw = d[x];
      std::uint32_t out = 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        const std::int32_t dv = Byte(dw, shift), iv = Byte(iw, shift), mv = Byte(mw, shift);
        out |= static_cast<std::uint32_t>(((dv - iv) * mv + iv * 256) >> 8) << shift;
      }
      d[x] = out;
    }
  }
}

void BlendBitmaps(Bitmap& result, const Bitmap& a, const Bitmap& b, std::uint8_t alpha,
                  const Bitmap* mask) {
  if (!Is32(result) || !Is32(a) || !Is32(b)) return;
  if (mask && !Is32(*mask)) return;
  int w = std::min({result.Width(), a.Width(), b.Width()});
  int h = std::min({result.Height(), a.Height(), b.Height()});
  if (mask) {
    w = std::min(w, mask->Width());
    h = std::min(h, mask->Height());
  }
  const std::size_t bytes = static_cast<std::size_t>(w) * 4;
  for (int y = 0; y < h; ++y) {
    std::uint8_t* r = result.ScanLine(y);
    const std::uint8_t* pa = a.ScanLine(y);
    const std::uint8_t* pb = b.ScanLine(y);
    const std::uint8_t* pm = mask ? mask->ScanLine(y) : nullptr;
    for (std::size_t i = 0; i < bytes; ++i) {
      const std::int32_t al = pm ? pm[i] : alpha;
      r[i] = static_cast<std::uint8_t>(
          (al * (std::int32_t{pa[i]} - pb[i]) + 256 * std::int32_t{pb[i]}) >> 8);
    }
  }
}

namespace {

int CopyableBytes(const Bitmap& dest, const Bitmap& source) {
  if (dest.Empty() || source.Empty() || dest.Format() != source.Format()) return 0;
  switch (dest.Format()) {
    case PixelFormat::pf8bit:
      return 1;
    case PixelFormat::pf24bit:
      return 3;
    case PixelFormat::pf32bit:
      return 4;
    default:
      return 0;
  }
}

}  // namespace

void CopyBitmapRect(Bitmap& dest, Point destPos, const Bitmap& source, Rect sourceRect) {
  const int bpp = CopyableBytes(dest, source);
  if (bpp == 0) return;
  int dx = destPos.x, dy = destPos.y, sx = sourceRect.left, sy = sourceRect.top;
  int w = sourceRect.width(), h = sourceRect.height();
  if (!ClipCopy(dx, dy, sx, sy, w, h, dest.Width(), dest.Height(), source.Width(), source.Height()))
    return;
  for (int y = 0; y < h; ++y) {
    std::memmove(dest.ScanLine(dy + y) + static_cast<std::ptrdiff_t>(dx) * bpp,
                 source.ScanLine(sy + y) + static_cast<std::ptrdiff_t>(sx) * bpp,
                 static_cast<std::size_t>(w) * static_cast<std::size_t>(bpp));
  }
}

void StretchBitmapRect(Bitmap& dest, Rect destRect, const Bitmap& source, Rect sourceRect) {
  const int bpp = CopyableBytes(dest, source);
  if (bpp == 0 || destRect.empty() || sourceRect.empty() || &dest == &source) return;
  const Rect clip = destRect.intersect(dest.Bounds());
  const std::int64_t dw = destRect.width(), dh = destRect.height();
  const std::int64_t sw = sourceRect.width(), sh = sourceRect.height();
  for (int y = clip.top; y < clip.bottom; ++y) {
    const std::int64_t syl = sourceRect.top + ((2 * (y - destRect.top) + 1) * sh) / (2 * dh);
    if (syl < 0 || syl >= source.Height()) continue;
    const std::uint8_t* in = source.ScanLine(static_cast<int>(syl));
    std::uint8_t* out = dest.ScanLine(y);
    for (int x = clip.left; x < clip.right; ++x) {
      const std::int64_t sxl = sourceRect.left + ((2 * (x - destRect.left) + 1) * sw) / (2 * dw);
      if (sxl < 0 || sxl >= source.Width()) continue;
      std::memcpy(out + static_cast<std::ptrdiff_t>(x) * bpp, in + sxl * bpp,
                  static_cast<std::size_t>(bpp));
    }
  }
}

Bitmap ExtractAlpha(const Bitmap& bitmap) {
  if (!Is32(bitmap)) return Bitmap();
  Bitmap alpha(bitmap.Width(), bitmap.Height(), PixelFormat::pf8bit);
  alpha.Palette().resize(256);
  for (std::uint32_t i = 0; i < 256; ++i) alpha.Palette()[i] = i * 0x010101u;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint32_t* src = bitmap.Row32(y);
    std::uint8_t* dst = alpha.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) dst[x] = static_cast<std::uint8_t>(src[x] >> 24);
  }
  return alpha;
}

void ReplaceAlpha(Bitmap& bitmap, const Bitmap& alpha8) {
  if (!Is32(bitmap) || alpha8.Empty() || alpha8.Format() != PixelFormat::pf8bit) return;
  const int w = std::min(bitmap.Width(), alpha8.Width()),
            h = std::min(bitmap.Height(), alpha8.Height());
  for (int y = 0; y < h; ++y) {
    std::uint32_t* dst = bitmap.Row32(y);
    const std::uint8_t* a = alpha8.ScanLine(y);
    for (int x = 0; x < w; ++x) dst[x] = (dst[x] & 0x00FFFFFFu) | std::uint32_t{a[x]} << 24;
  }
}

void PremultiplyAlpha(Bitmap& bitmap) {
  if (!Is32(bitmap)) return;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint32_t* row = bitmap.Row32(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t w = row[x], a = w >> 24;
      if (a == 255) continue;
      std::uint32_t out = w & 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8)
        out |= std::uint32_t{MulDiv255(w >> shift & 0xFFu, a)} << shift;
      row[x] = out;
    }
  }
}

bool TlcFast32::Attach(Bitmap* b) {
  bitmap = b;
  Width = Height = 0;
  Start = nullptr;
  Delta = 0;
  if (!b || b->Format() != PixelFormat::pf32bit || b->Width() < 1 || b->Height() < 2) return false;
  Width = b->Width();
  Height = b->Height();
  Start = b->ScanLine(0);
  Delta = b->Stride();
  return true;
}

TColor TlcFast32::Pixel(int x, int y) const {
  std::uint32_t w;
  std::memcpy(&w, Start + y * Delta + 4 * static_cast<std::ptrdiff_t>(x), 4);
  return ColorFromPixel(w);
}

void TlcFast32::SetPixel(int x, int y, TColor value) {
  const std::uint32_t w = PixelFromColor(value, TopByteOf(value));
  std::memcpy(Start + y * Delta + 4 * static_cast<std::ptrdiff_t>(x), &w, 4);
}

void TlcFast32::FillRect(Rect rect, TColor value) {
  if (Width == 0) return;
  const Rect r = rect.intersect({0, 0, Width, Height});
  const std::uint32_t w = PixelFromColor(value, TopByteOf(value));
  for (int y = r.top; y < r.bottom; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(Start + y * Delta);
    std::fill(row + r.left, row + r.right, w);
  }
}

bool TlcFastSum32::Attach(const Bitmap* source, Bitmap* dest) {
  SourceBitmap = source;
  DestBitmap = dest;
  Width = Height = 0;
  if (!source || !dest || source->Format() != PixelFormat::pf32bit ||
      dest->Format() != PixelFormat::pf32bit || source->Width() < 2 || source->Height() < 2 ||
      dest->Width() < 2 || dest->Height() < 2) {
    return false;
  }
  Width = std::min(source->Width(), dest->Width());
  Height = std::min(source->Height(), dest->Height());
  SourceStart = source->ScanLine(0);
  DestStart = dest->ScanLine(0);
  SourceDelta = source->Stride();
  DestDelta = dest->Stride();
  return true;
}

void TlcFastSum32::BlendRect() {
  if (Width == 0) return;
  graphics::BlendRect(*DestBitmap, *SourceBitmap, DestWeight, {DestX1, DestY1},
                      {SourceX1, SourceY1, std::min(SourceX2, SourceX1 + DestX2 - DestX1),
                       std::min(SourceY2, SourceY1 + DestY2 - DestY1)});
}

}  // namespace sapala::graphics
