// Element painting over core bitmaps; see skin_paint.h.
//
// Parent backgrounds: the parent pixel behind target pixel (x, y) is the parent bitmap's pixel at
// (x + OffsetX, y + OffsetY). For a control's cache (element at 0, 0) the offset is the control's
// position in its parent's bitmap. The `offset` argument of the element functions is added to
// the background's own offset.
#include "core/skin/skin_paint.h"

#include <algorithm>
#include <cstring>

#include "core/graphics/effects.h"
#include "core/graphics/pixels.h"
#include "core/skin/nine_part.h"

namespace sapala::skin {

using graphics::Bitmap;
using graphics::Point;
using graphics::Rect;

ParentBackground ParentBackground::FromColor(TColor color) {
  ParentBackground p;
  p.Color = ColorToRGB(color);
  return p;
}

ParentBackground ParentBackground::FromBitmap(const graphics::Bitmap* bitmap, int offsetX,
                                              int offsetY) {
  ParentBackground p;
  p.Bitmap = bitmap;
  p.OffsetX = offsetX;
  p.OffsetY = offsetY;
  p.IsBitmap = bitmap != nullptr;
  return p;
}

int LimitState(const TsGeneralData& section, int state) {
  return std::clamp(state, 0, std::max(section.States - 1, 0));
}

namespace {

bool Is32(const Bitmap& b) { return !b.Empty() && b.Format() == graphics::PixelFormat::pf32bit; }

// The pixels of an image: its own picture or its owner's master bitmap (null when neither is a
// usable 32-bit bitmap).
const Bitmap* ImagePixels(const TsMaskData& m) {
  const Bitmap* b = m.Image ? m.Image.get() : (m.Owner ? &m.Owner->MasterBitmap : nullptr);
  return b != nullptr && Is32(*b) ? b : nullptr;
}

bool HasMaskRow(const TsMaskData& m) { return m.MaskKind != 0; }
// Rows from a picture to its mask: half the image rectangle's height.
int MaskOffset(const TsMaskData& m) { return m.Rect.height() / 2; }

ParentBackground Shifted(ParentBackground p, Point by) {
  p.OffsetX += by.x;
  p.OffsetY += by.y;
  return p;
}

// The background source the pixel routines take, or null when nothing is known.
bool ToSource(const ParentBackground& p, graphics::BackgroundSource& out) {
  if (p.IsBitmap && p.Bitmap != nullptr && !p.Bitmap->Empty()) {
    out.bitmap = p.Bitmap;
    out.offset = {p.OffsetX, p.OffsetY};
    out.color = kFuchsia;
    return true;
  }
  if (p.Color == kFuchsia) return false;
  out.bitmap = nullptr;
  out.color = p.Color;
  return true;
}

// The parent's background into `rect`: its colour, or its bitmap at the matching place.
void PutParent(Bitmap& bitmap, Rect rect, const ParentBackground& p) {
  if (p.IsBitmap && p.Bitmap != nullptr) {
    if (p.Bitmap == &bitmap) return;
    graphics::CopyBitmapRect(bitmap, rect.topLeft(), *p.Bitmap, rect.offset(p.OffsetX, p.OffsetY));
    return;
  }
  graphics::FillBitmapRect(bitmap, rect, p.Color);
}

// Keyed copy that keeps the source's alpha: pictures of an image's own (PNG glow and shadow
// images) carry their transparency there, and a glow must stay translucent.
void KeyedKeepingAlpha(Bitmap& dest, Point pos, const Bitmap& src, Rect source) {
  const Rect s = source.intersect(src.Bounds());
  for (int y = s.top; y < s.bottom; ++y) {
    const int dy = pos.y + y - source.top;
    if (dy < 0 || dy >= dest.Height()) continue;
    const std::uint32_t* in = src.Row32(y);
    std::uint32_t* out = dest.Row32(dy);
    for (int x = s.left; x < s.right; ++x) {
      const int dx = pos.x + x - source.left;
      if (dx < 0 || dx >= dest.Width() || graphics::IsKeyPixel(in[x])) continue;
      out[dx] = in[x];
    }
  }
}

// Keyed copy of `source` rect to `pos`; key pixels show `parent` when given (a colour parent is
// filled first, which the keyed copy then leaves under the key pixels).
void KeyedPiece(Bitmap& dest, Point pos, const Bitmap& src, Rect source,
                const ParentBackground* parent) {
  graphics::BackgroundSource bg;
  if (parent != nullptr && ToSource(*parent, bg)) {
    if (bg.bitmap == nullptr) {
      graphics::FillBitmapRect(
          dest, graphics::RectOfSize(pos.x, pos.y, source.width(), source.height()), bg.color);
      graphics::CopyKeyedWithBackground(dest, pos, src, source, graphics::kKeyPixel, nullptr);
    } else {
      graphics::CopyKeyedWithBackground(dest, pos, src, source, graphics::kKeyPixel, &bg);
    }
    return;
  }
  graphics::CopyKeyedWithBackground(dest, pos, src, source, graphics::kKeyPixel, nullptr);
}

void MaskedPiece(Bitmap& dest, Point pos, const Bitmap& src, Rect source, int maskOffset,
                 const ParentBackground* parent) {
  graphics::BackgroundSource bg;
  const bool withBg = parent != nullptr && ToSource(*parent, bg);
  graphics::CopyMaskedPiece(dest, pos, src, source, maskOffset, graphics::kKeyPixel,
                            withBg ? &bg : nullptr);
}

// `source` of `src` (clipped to it) as a new 32-bit bitmap.
Bitmap CopyOut(const Bitmap& src, Rect source) {
  const Rect in = source.intersect(src.Bounds());
  if (in.empty()) return Bitmap();
  Bitmap out = graphics::NewScratchBitmap32(in.width(), in.height());
  graphics::CopyBitmapRect(out, {0, 0}, src, in);
  return out;
}

// Scales a picture to w × h: filtered when asked and possible, else nearest pixel.
Bitmap Scale(const Bitmap& piece, int w, int h, bool filtered, int filter) {
  Bitmap out = graphics::NewScratchBitmap32(w, h);
  if (filtered && piece.Width() >= 2 && piece.Height() >= 2) {
    graphics::Resample(piece, out, w, filter, h);
    return out;
  }
  graphics::StretchBitmapRect(out, out.Bounds(), piece, piece.Bounds());
  return out;
}

// A picture piece and its mask piece, each scaled to `destRect`'s size, combined by the masked
// copy rule.
void StretchMaskedPiece(Bitmap& dest, Rect destRect, const Bitmap& src, Rect source, int maskOffset,
                        bool filtered) {
  if (destRect.empty() || source.empty()) return;
  const Bitmap pic = CopyOut(src, source);
  const Bitmap mask = CopyOut(src, source.offset(0, maskOffset));
  if (pic.Empty() || mask.Empty()) return;
  const int w = destRect.width(), h = destRect.height();
  const Bitmap sp = Scale(pic, w, h, filtered, graphics::kFilterMitchell);
  const Bitmap sm = Scale(mask, w, h, filtered, graphics::kFilterHermite);
  Bitmap both = graphics::NewScratchBitmap32(w, 2 * h);
  graphics::CopyBitmapRect(both, {0, 0}, sp, sp.Bounds());
  graphics::CopyBitmapRect(both, {0, h}, sm, sm.Bounds());
  graphics::CopyMaskedPiece(dest, destRect.topLeft(), both, Rect{0, 0, w, h}, h,
                            graphics::kKeyPixel, nullptr);
}

// Tiles `source` over `dest` (rows by TileRuns, or whole rows only).
// The same runs as TileRuns / WholeTileRuns, walked without building a list (this is the inner
// loop of every edge and texture).
template <class Visit>
void ForEachRun(int from, int to, int piece, bool wholeOnly, Visit visit) {
  if (piece <= 0 || to <= from) return;
  if (wholeOnly) {
    for (int pos = from; pos <= to - piece; pos += piece) visit(pos, piece);
    return;
  }
  int pos = from;
  for (; pos < to - piece; pos += piece) visit(pos, piece);
  if (to - pos > 0) visit(pos, to - pos);
}

template <class Place>
void Tile(Rect dest, Rect source, bool wholeRows, Place place) {
  ForEachRun(dest.top, dest.bottom, source.height(), wholeRows, [&](int y, int h) {
    ForEachRun(dest.left, dest.right, source.width(), false, [&](int x, int w) {
      place(Point{x, y}, graphics::RectOfSize(source.left, source.top, w, h));
    });
  });
}

// One edge or the centre: tiled along the element, or stretched (DrawMode bit 1).
void PaintStretchablePiece(Bitmap& dest, Rect d, Rect s, const Bitmap& src, const TsMaskData& m,
                           bool isCenter) {
  if (d.empty() || s.empty()) return;
  const bool masked = HasMaskRow(m);
  if ((m.DrawMode & kBorderStretch) != 0) {
    if (!masked) {
      graphics::StretchBitmapRect(dest, d, src, s);
      return;
    }
    const bool shrinksOneAxis = (d.width() < s.width() && d.height() == s.height()) ||
                                (d.height() < s.height() && d.width() == s.width());
    StretchMaskedPiece(dest, d, src, s, MaskOffset(m), isCenter || shrinksOneAxis);
    return;
  }
  Tile(d, s, false, [&](Point at, Rect piece) {
    if (masked) {
      graphics::CopyMaskedPiece(dest, at, src, piece, MaskOffset(m), graphics::kKeyPixel, nullptr);
    } else {
      graphics::CopyBitmapRect(dest, at, src, piece);
    }
  });
}

// Nine-part painting of frame `state` of `m` over `rect`; `cornersOnly` repaints the corners
// alone (cache corner refresh).
void PaintNine(Bitmap& bitmap, Rect rect, int state, const TsMaskData& m,
               const ParentBackground* cornerParent, bool cornersOnly, int frameCount, int maskKind,
               Rect imageRect) {
  const Bitmap* src = ImagePixels(m);
  if (src == nullptr) return;
  const int fc = std::max(frameCount, 1);
  state = std::clamp(state, 0, fc - 1);
  TsMaskData q = m;  // width queries over the (possibly reinterpreted) layout
  q.FrameCount = static_cast<std::int16_t>(frameCount);
  q.MaskKind = static_cast<std::int16_t>(maskKind);
  q.Rect = imageRect;
  const BorderWidths b = FitBorders({LeftWidth(q), TopWidth(q), RightWidth(q), BottomWidth(q)},
                                    rect.width(), rect.height());
  const int fw = FrameWidth(q), fh = FrameHeight(q);
  const Rect frame = graphics::RectOfSize(imageRect.left + fw * state, imageRect.top, fw, fh);
  const bool masked = maskKind != 0;
  const int sourceBottom = masked ? frame.bottom : imageRect.bottom;
  NinePartLayout l;
  if (!LayoutNineParts(rect, frame, sourceBottom, b, l)) return;
  const int maskOffset = imageRect.height() / 2;
  auto corner = [&](NinePiece p) {
    const Rect& d = l.dest[p];
    const Rect& s = l.source[p];
    if (d.empty() || s.empty()) return;
    if (masked) {
      MaskedPiece(bitmap, d.topLeft(), *src, s, maskOffset, cornerParent);
    } else if (m.Image && cornerParent == nullptr) {
      KeyedKeepingAlpha(bitmap, d.topLeft(), *src, s);
    } else {
      KeyedPiece(bitmap, d.topLeft(), *src, s, cornerParent);
    }
  };
  auto stretchable = [&](NinePiece p) {
    if (cornersOnly) return;
    PaintStretchablePiece(bitmap, l.dest[p], l.source[p], *src, q, p == kPieceCenter);
  };
  corner(kPieceTopLeft);
  stretchable(kPieceLeft);
  stretchable(kPieceTop);
  corner(kPieceBottomLeft);
  stretchable(kPieceBottom);
  corner(kPieceBottomRight);
  corner(kPieceTopRight);
  stretchable(kPieceRight);
  if ((m.DrawMode & kBorderPaintCenter) != 0) stretchable(kPieceCenter);
}

const TsGeneralData* SectionAt(const SkinTables& t, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= t.Sections.size()) return nullptr;
  return &t.Sections[static_cast<std::size_t>(index)];
}

// What the background of one state is made of.
struct Look {
  TColor color = 0;
  int transparency = 0;
  int imagePercent = 0;
  int gradientPercent = 0;
  const std::vector<GradientStop>* gradient = nullptr;
  const TsMaskData* texture = nullptr;
  const TsPatternData* pattern = nullptr;
};

// MixRectWithColor includes the right column and bottom row: the last ones inside are passed so
// that nothing beside `r` is mixed.
void MixInside(Bitmap& bitmap, Rect r, int percent, TColor color) {
  graphics::MixRectWithColor(bitmap, Rect{r.left, r.top, r.right - 1, r.bottom - 1}, percent,
                             color);
}

// Mixes `r` (inside the bitmap) when each of its rows holds one colour.
void MixUniformRows(Bitmap& bitmap, Rect r, int percent, TColor color) {
  if (r.empty()) return;
  MixInside(bitmap, Rect{r.left, r.top, r.left + 1, r.bottom}, percent, color);
  for (int y = r.top; y < r.bottom; ++y) {
    std::uint32_t* row = bitmap.Row32(y);
    std::fill(row + r.left + 1, row + r.right, row[r.left]);
  }
}

// Mixes `r` (inside the bitmap) when all of its rows are alike.
void MixEqualRows(Bitmap& bitmap, Rect r, int percent, TColor color) {
  if (r.empty()) return;
  MixInside(bitmap, Rect{r.left, r.top, r.right, r.top + 1}, percent, color);
  const std::uint32_t* first = bitmap.Row32(r.top) + r.left;
  for (int y = r.top + 1; y < r.bottom; ++y)
    std::copy(first, first + r.width(), bitmap.Row32(y) + r.left);
}

void PaintOpaque(Bitmap& bitmap, Rect rect, const Look& k, const ParentBackground& parent) {
  bool drewTexture = false;
  if (k.imagePercent > 0 && (k.texture != nullptr || k.pattern != nullptr)) {
    Rect covered = rect;
    if (k.texture != nullptr) {
      covered = PaintTexture(bitmap, rect, *k.texture, k.texture->DrawMode, parent);
    } else {
      PaintPattern(bitmap, rect, *k.pattern);
    }
    for (const Rect& r : RectsAround(rect, {covered})) graphics::FillBitmapRect(bitmap, r, k.color);
    drewTexture = true;
  }
  const bool hasGradient = k.gradient != nullptr && !k.gradient->empty();
  if (k.gradientPercent > 0) {
    if (drewTexture) {
      Bitmap g = graphics::NewScratchBitmap32(rect.width(), rect.height());
      if (hasGradient) {
        PaintGradient(g, g.Bounds(), *k.gradient);
      } else {
        graphics::FillBitmapRect(g, g.Bounds(), k.color);
      }
      const int weight = std::min(k.imagePercent * 255 / 100, 255);
      graphics::BlendRect(bitmap, g, static_cast<std::uint8_t>(weight), rect.topLeft(), g.Bounds());
    } else if (hasGradient) {
      PaintGradient(bitmap, rect, *k.gradient);
    } else {
      graphics::FillBitmapRect(bitmap, rect, k.color);
    }
  }
  // An image percent without a texture to show (none found, or refused for the hot look) would
  // leave the element unpainted; the colour takes the texture's share instead.
  const int sum = (drewTexture ? k.imagePercent : 0) + k.gradientPercent;
  if (sum == 0) {
    graphics::FillBitmapRect(bitmap, rect, k.color);
  } else if (sum >= 1 && sum <= 99) {
    // Without a texture the rectangle holds one colour, a vertical gradient (each row one
    // colour) or a horizontal one (every row alike): the mix is then worked out for one column
    // or one row and copied, which gives the very same pixels as mixing each of them.
    const int mode = hasGradient ? k.gradient->front().Mode : -1;
    if (!drewTexture && (mode == -1 || mode == 0)) {
      MixUniformRows(bitmap, rect, sum, k.color);
    } else if (!drewTexture && mode == 1) {
      MixEqualRows(bitmap, rect, sum, k.color);
    } else {
      MixInside(bitmap, rect, sum, k.color);
    }
  }
}

const TsMaskData* TextureImage(const SkinTables& t, int index) {
  const TsMaskData* m = t.Image(index);
  return m != nullptr && ImagePixels(*m) != nullptr ? m : nullptr;
}

const TsPatternData* PatternAt(const SkinTables& t, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= t.Patterns.size()) return nullptr;
  const TsPatternData& p = t.Patterns[static_cast<std::size_t>(index)];
  return p.Picture && Is32(*p.Picture) ? &p : nullptr;
}

void PaintBackgroundImpl(const SkinTables& tables, int sectionIndex,
                         const ParentBackground& parentBg, TColor colorOverride, int hotTexture,
                         int texture, Bitmap& bitmap, Point offset, Rect rect, int state) {
  const TsGeneralData* g = SectionAt(tables, sectionIndex);
  if (g == nullptr || !Is32(bitmap)) return;
  rect = rect.intersect(bitmap.Bounds());
  if (rect.empty()) return;
  state = LimitState(*g, state);
  const ParentBackground parent = Shifted(parentBg, offset);

  Look k;
  if (colorOverride == kFuchsia) {
    const bool hot = state != 0;
    k.color = hot ? g->HotColor : g->Color;
    k.transparency = hot ? g->HotTransparency : g->Transparency;
    if (k.transparency != 100) {
      k.imagePercent = hot ? g->HotImagePercent : g->ImagePercent;
      k.gradientPercent = hot ? g->HotGradientPercent : g->GradientPercent;
      if (k.gradientPercent != 0) k.gradient = (hot ? g->HotGradient : g->Gradient).get();
      if (k.imagePercent > 0) {
        const char* key = hot ? "HOTPATTERN" : "PATTERN";
        int index = hot ? hotTexture : texture;
        if (index < 0 && !hot) index = g->TextureIndex;
        if (index < 0) index = tables.FindTexture(sectionIndex, g->SectionName, key);
        k.texture = TextureImage(tables, index);
        // The hot look never takes a texture with a mask row.
        const bool refused = hot && k.texture != nullptr && HasMaskRow(*k.texture);
        if (refused) k.texture = nullptr;
        if (k.texture == nullptr && !refused) {
          k.pattern = PatternAt(tables, tables.FindPattern(sectionIndex, g->SectionName, key));
        }
      }
    }
  } else {
    k.color = colorOverride;
  }
  k.color = ColorToRGB(k.color);

  if (parent.Unknown() || k.transparency <= 0) {
    PaintOpaque(bitmap, rect, k, parent);
  } else if (k.transparency >= 100) {
    PutParent(bitmap, rect, parent);
  } else if ((parent.IsBitmap && parent.Bitmap != nullptr) || k.texture != nullptr ||
             k.pattern != nullptr ||
             (k.gradientPercent > 0 && k.gradient != nullptr && !k.gradient->empty())) {
    Bitmap opaque = graphics::NewScratchBitmap32(rect.width(), rect.height());
    PaintOpaque(opaque, opaque.Bounds(), k, Shifted(parent, rect.topLeft()));
    PutParent(bitmap, rect, parent);
    graphics::BlendRect(bitmap, opaque, static_cast<std::uint8_t>(k.transparency * 255 / 100),
                        rect.topLeft(), opaque.Bounds());
  } else {
    graphics::FillBitmapRect(bitmap, rect,
                             graphics::MixColors(parent.Color, k.color, k.transparency / 100.0));
  }

  if (state == 0) {
    const TsMaskData* masked = TextureImage(tables, texture >= 0 ? texture : hotTexture);
    if (masked != nullptr && HasMaskRow(*masked) && masked->DrawMode == kTextureWholeRows) {
      // Tiled over the whole rect as a masked texture, against the parent background.
      const Bitmap* src = ImagePixels(*masked);
      const Rect tile = graphics::RectOfSize(masked->Rect.left, masked->Rect.top,
                                             FrameWidth(*masked), masked->Rect.height() / 2);
      Tile(rect, tile.intersect(src->Bounds()), false, [&](Point at, Rect piece) {
        MaskedPiece(bitmap, at, *src, piece, MaskOffset(*masked), &parent);
      });
    }
  }
}

void PaintCornersAndBorder(const SkinTables& tables, const TsGeneralData& g, int maskIndex,
                           const ParentBackground& parent, bool withParent, Bitmap& bitmap,
                           Rect rect, int state, int maskState, bool& stop) {
  const ParentBackground self = ParentBackground::FromBitmap(&bitmap, 0, 0);
  for (int c = 0; c < 4; ++c) {
    const TsMaskData* m = tables.Image(g.CornerIndex[static_cast<std::size_t>(c)]);
    if (m == nullptr) continue;
    const int fw = FrameWidth(*m), fh = FrameHeight(*m);
    const Point at = c == 0   ? Point{rect.left, rect.top}
                     : c == 1 ? Point{rect.right - fw, rect.top}
                     : c == 2 ? Point{rect.left, rect.bottom - fh}
                              : Point{rect.right - fw, rect.bottom - fh};
    PaintImageAt(bitmap, at, state, self, *m, true);
  }
  const TsMaskData* mask = tables.Image(maskIndex);
  if (mask != nullptr && !(maskState == 0 && (mask->DrawMode & kBorderNoNormal) != 0)) {
    PaintBorderMask(bitmap, rect, withParent, maskState, *mask, parent);
  } else if (g.Props[static_cast<std::size_t>(std::min(state, 1))].Transparency != 0) {
    stop = true;
  }
}

}  // namespace

void PaintElementBackground(const SkinTables& tables, int sectionIndex,
                            const ParentBackground& parentBg, TColor colorOverride, int hotTexture,
                            int texture, Bitmap& bitmap, Point offset, Rect rect, int state) {
  try {
    PaintBackgroundImpl(tables, sectionIndex, parentBg, colorOverride, hotTexture, texture, bitmap,
                        offset, rect, state);
  } catch (...) {
    // Painting never raises (an allocation that failed leaves the element partly painted).
  }
}

void PaintElement(const SkinTables& tables, const ElementRef& e, const ParentBackground& parentBg,
                  bool withParent, Bitmap& bitmap, Point offset, Rect rect, int state) {
  try {
    const TsGeneralData* g = SectionAt(tables, e.SectionIndex);
    if (g == nullptr || !Is32(bitmap) || rect.empty() || rect.left < 0 || rect.top < 0 ||
        rect.right > bitmap.Width() || rect.bottom > bitmap.Height()) {
      return;
    }
    state = LimitState(*g, state);
    PaintBackgroundImpl(tables, e.SectionIndex, parentBg, e.ColorOverride, e.HotPatternIndex,
                        e.PatternIndex, bitmap, offset, rect, state);
    bool stop = false;
    PaintCornersAndBorder(tables, *g, e.BorderMaskIndex, Shifted(parentBg, offset), withParent,
                          bitmap, rect, state, state, stop);
    if (stop) return;
    if (e.HueShift != 0) graphics::ChangeBitmapHue(&bitmap, e.HueShift);
    if (e.SaturationShift != 0) graphics::ChangeBitmapSaturation(&bitmap, e.SaturationShift);
  } catch (...) {
  }
}

void PaintSection(const SkinTables& tables, int sectionIndex, const ParentBackground& parentBg,
                  int hotTexture, int texture, Bitmap& bitmap, Point offset, Rect rect, int state,
                  int maskState) {
  try {
    const TsGeneralData* g = SectionAt(tables, sectionIndex);
    if (g == nullptr || !Is32(bitmap) || rect.empty() || rect.left < 0 || rect.top < 0 ||
        rect.right > bitmap.Width() || rect.bottom > bitmap.Height()) {
      return;
    }
    state = LimitState(*g, state);
    PaintBackgroundImpl(tables, sectionIndex, parentBg, kFuchsia, hotTexture, texture, bitmap,
                        offset, rect, state);
    bool stop = false;
    PaintCornersAndBorder(tables, *g, g->MaskIndex, Shifted(parentBg, offset), true, bitmap, rect,
                          state, maskState, stop);
  } catch (...) {
  }
}

void PaintBorderMask(Bitmap& bitmap, Rect rect, bool withParent, int state, const TsMaskData& image,
                     const ParentBackground& parentBg) {
  try {
    if ((state == 0 && (image.DrawMode & kBorderNoNormal) != 0) || rect.width() < 2 ||
        rect.height() < 2 || image.Owner == nullptr || !Is32(bitmap)) {
      return;
    }
    const bool cornersShowParent = withParent && image.TransparentCorners > 0;
    PaintNine(bitmap, rect, state, image, cornersShowParent ? &parentBg : nullptr, false,
              image.FrameCount, image.MaskKind, image.Rect);
  } catch (...) {
  }
}

void PaintImageAt(Bitmap& bitmap, Point point, int state, const ParentBackground& parentBg,
                  const TsMaskData& image, bool withParent) {
  try {
    const Bitmap* src = ImagePixels(image);
    if (src == nullptr || !Is32(bitmap)) return;
    const int fc = std::max<int>(image.FrameCount, 1);
    const int fw = FrameWidth(image), fh = FrameHeight(image);
    const Rect frame = graphics::RectOfSize(image.Rect.left + fw * std::clamp(state, 0, fc - 1),
                                            image.Rect.top, fw, fh);
    if (HasMaskRow(image)) {
      MaskedPiece(bitmap, point, *src, frame, MaskOffset(image), &parentBg);
    } else if (image.Image) {
      // A picture of its own without a mask row carries its transparency in its alpha bytes.
      graphics::BackgroundSource bg;
      if (!ToSource(parentBg, bg) || bg.bitmap == nullptr) bg = {};
      graphics::ComposeOver(graphics::RectOfSize(point.x, point.y, fw, fh), frame, *src, true, bg,
                            bitmap);
    } else if (withParent) {
      KeyedPiece(bitmap, point, *src, frame, &parentBg);
    } else {
      graphics::FadeToBackground(bitmap, point.x - frame.left, point.y - frame.top,
                                 graphics::kKeyPixel, 0.5, frame, *src);
    }
  } catch (...) {
  }
}

Rect PaintTexture(Bitmap& bitmap, Rect rect, const TsMaskData& image, int mode,
                  const ParentBackground& parentBg) {
  try {
    const Bitmap* src = ImagePixels(image);
    rect = rect.intersect(bitmap.Bounds());
    if (src == nullptr || !Is32(bitmap) || rect.empty()) return {};
    const bool masked = HasMaskRow(image);
    const int th = masked ? image.Rect.height() / 2 : image.Rect.height();
    const Rect tile = graphics::RectOfSize(image.Rect.left, image.Rect.top, FrameWidth(image), th)
                          .intersect(src->Bounds());
    if (tile.empty()) return {};
    const int tw = tile.width(), tileH = tile.height();
    const Rect covered = TextureCoverage(mode, rect, tw, tileH);
    if (covered.empty()) return {};
    auto place = [&](Point at, Rect piece) {
      if (masked) {
        MaskedPiece(bitmap, at, *src, piece, MaskOffset(image), &parentBg);
      } else {
        graphics::CopyBitmapRect(bitmap, at, *src, piece);
      }
    };
    auto stretch = [&](Rect d) {
      if (masked) {
        StretchMaskedPiece(bitmap, d, *src, tile, MaskOffset(image), false);
      } else {
        graphics::StretchBitmapRect(bitmap, d, *src, tile);
      }
    };
    switch (mode) {
      case kTextureStretch:
      case kTextureTopStretch:
      case kTextureLeftStretch:
        stretch(covered);
        break;
      case kTextureWholeRows:
        Tile(rect, tile, true, place);
        break;
      default:
        Tile(covered, tile, false, place);
        break;
    }
    return covered;
  } catch (...) {
    return {};
  }
}

void PaintPattern(Bitmap& bitmap, Rect rect, const TsPatternData& pattern) {
  if (!pattern.Picture || !Is32(*pattern.Picture) || !Is32(bitmap)) return;
  rect = rect.intersect(bitmap.Bounds());
  Tile(rect, pattern.Picture->Bounds(), false, [&](Point at, Rect piece) {
    graphics::CopyBitmapRect(bitmap, at, *pattern.Picture, piece);
  });
}

namespace {

std::uint32_t Lerp(TColor a, TColor b, std::int64_t i, std::int64_t n) {
  // Colour of step i of n (0 .. n − 1) from a to b, per channel, rounded half to even.
  const double f = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.0;
  auto ch = [&](std::uint8_t x, std::uint8_t y) {
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(
        graphics::RoundEven(x + (static_cast<double>(y) - x) * f), 0, 255));
  };
  return graphics::PixelFromColor(graphics::RgbColor(ch(graphics::RedOf(a), graphics::RedOf(b)),
                                                     ch(graphics::GreenOf(a), graphics::GreenOf(b)),
                                                     ch(graphics::BlueOf(a), graphics::BlueOf(b))));
}

// Gouraud-shaded triangles from the centre to the four sides: every pixel takes the
// barycentric mix of the colours of the triangle its centre lies in.
void PaintTriangles(Bitmap& bitmap, Rect r, const std::vector<GradientStop>& stops) {
  TColor v[5];
  v[0] = stops[0].Color1;
  for (std::size_t k = 1; k < 5; ++k) v[k] = k < stops.size() ? stops[k].Color1 : v[k - 1];
  const double l = r.left, t = r.top, rr = r.right, b = r.bottom;
  const double cx = (l + rr) / 2, cy = (t + b) / 2;
  struct P {
    double x, y;
  };
  const P pts[5] = {{l, t}, {cx, cy}, {rr, t}, {rr, b}, {l, b}};
  const int tris[4][3] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
  const double w = rr - l, h = b - t;
  for (int y = r.top; y < r.bottom; ++y) {
    std::uint32_t* row = bitmap.Row32(y);
    for (int x = r.left; x < r.right; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      // Which quarter: compare against both diagonals (normalised to the rect's shape).
      const double u = (px - l) / w, vv = (py - t) / h;
      int tri;
      if (vv <= u && vv <= 1 - u)
        tri = 0;  // top
      else if (vv <= u)
        tri = 1;  // right
      else if (vv <= 1 - u)
        tri = 2;  // left
      else
        tri = 3;  // bottom
      const P& a = pts[tris[tri][0]];
      const P& bb = pts[tris[tri][1]];
      const P& c = pts[tris[tri][2]];
      const double det = (bb.y - c.y) * (a.x - c.x) + (c.x - bb.x) * (a.y - c.y);
      double wa = 0, wb = 0;
      if (det != 0) {
        wa = ((bb.y - c.y) * (px - c.x) + (c.x - bb.x) * (py - c.y)) / det;
        wb = ((c.y - a.y) * (px - c.x) + (a.x - c.x) * (py - c.y)) / det;
      }
      const double wc = 1 - wa - wb;
      const TColor ca = v[tris[tri][0]], cb = v[tris[tri][1]], cc = v[tris[tri][2]];
      auto mix = [&](std::uint8_t (*get)(TColor)) {
        return static_cast<std::uint8_t>(std::clamp<std::int64_t>(
            graphics::RoundEven(get(ca) * wa + get(cb) * wb + get(cc) * wc), 0, 255));
      };
      row[x] = graphics::PixelFromColor(
          graphics::RgbColor(mix(graphics::RedOf), mix(graphics::GreenOf), mix(graphics::BlueOf)));
    }
  }
}

}  // namespace

void PaintGradient(Bitmap& bitmap, Rect rect, const std::vector<GradientStop>& gradient,
                   int offset) {
  if (!Is32(bitmap)) return;
  rect = rect.intersect(bitmap.Bounds());
  if (rect.empty() || gradient.empty()) return;
  const int mode = gradient.front().Mode;
  if (mode == 0) {
    const std::int64_t span = static_cast<std::int64_t>(rect.height()) + offset;
    int start = rect.top;
    for (std::size_t k = 0; k < gradient.size() && start < rect.bottom; ++k) {
      const GradientStop& s = gradient[k];
      std::int64_t end = start + span * s.Percent / 100;
      if (k + 1 == gradient.size()) end = rect.bottom;
      end = std::clamp<std::int64_t>(end, start, rect.bottom);
      const std::int64_t n = end - start;
      for (std::int64_t i = 0; i < n; ++i) {
        const std::uint32_t px = Lerp(s.Color1, s.Color2, i, n);
        std::uint32_t* row = bitmap.Row32(static_cast<int>(start + i));
        std::fill(row + rect.left, row + rect.right, px);
      }
      start = static_cast<int>(end);
    }
  } else if (mode == 1) {
    const double width = rect.width();
    int start = rect.left;
    for (std::size_t k = 0; k < gradient.size() && start < rect.right; ++k) {
      const GradientStop& s = gradient[k];
      std::int64_t end = graphics::RoundEven(s.Percent * width / 100 + start);
      if (k + 1 == gradient.size()) end = rect.right;
      end = std::clamp<std::int64_t>(end, start, rect.right);
      const std::int64_t n = end - start;
      for (int y = rect.top; y < rect.bottom; ++y) {
        std::uint32_t* row = bitmap.Row32(y);
        for (std::int64_t i = 0; i < n; ++i) row[start + i] = Lerp(s.Color1, s.Color2, i, n);
      }
      start = static_cast<int>(end);
    }
  } else if (mode == 2) {
    PaintTriangles(bitmap, rect, gradient);
  }
}

void RefreshCacheCorners(const SkinTables& tables, const ElementRef& e, Bitmap& cache, int state,
                         const ParentBackground& parentBg) {
  try {
    const TsGeneralData* g = SectionAt(tables, e.SectionIndex);
    const TsMaskData* m = tables.Image(e.BorderMaskIndex);
    if (g == nullptr || m == nullptr || m->TransparentCorners == 0 || !Is32(cache) ||
        m->Owner == nullptr) {
      return;
    }
    state = LimitState(*g, state);
    const Bitmap* src = ImagePixels(*m);
    if (src == nullptr) return;
    // A picture of its own without frames is three frames above their mask.
    const bool ownWithoutFrames = m->Image && m->FrameCount == 0;
    PaintNine(cache, cache.Bounds(), state, *m, &parentBg, true,
              ownWithoutFrames ? 3 : m->FrameCount, ownWithoutFrames ? 1 : m->MaskKind,
              ownWithoutFrames ? src->Bounds() : m->Rect);
  } catch (...) {
  }
}

}  // namespace sapala::skin
