// Painting one skin element — a section of the loaded skin in one state — into a 32-bit core
// bitmap (as a rule a control's cache): the background (colour, texture, gradient, transparency
// over what lies under the element), the corner images, the border mask in nine parts and the
// control's hue and saturation shift. Also the corner refresh of a cache against a changed
// parent background.
//
// Contracts shared by every function here:
// - Painting never throws and never reads or writes outside the bitmaps: invalid section or
//   image indices, rectangles outside the target and empty sizes draw nothing.
// - Targets are 32-bit bitmaps; written pixels get alpha 255 unless stated. Skin pictures mark
//   transparent pixels with fuchsia colour bytes (graphics::IsKeyPixel), whatever their alpha.
// - A state index is limited to the section's States − 1 (and an image's FrameCount − 1) first,
//   so state 5 of a two-state section paints the hot look.
// - The tables are those of the manager whose skin is painted (SkinManagerCore::Tables); images
//   without a picture of their own are rectangles of the tables' master bitmap, found through
//   TsMaskData::Owner. An image without an owner draws nothing.
#pragma once

#include "core/graphics/bitmap.h"
#include "core/graphics/color.h"
#include "core/graphics/geometry.h"
#include "core/skin/skin_data.h"
#include "core/skin/skin_tables.h"

namespace sapala::skin {

// What lies under a painted element, built from a background answer of its parent: either a
// bitmap, whose pixel at (x + OffsetX, y + OffsetY) lies behind target pixel (x, y) — for a
// control's cache, where the element starts at (0, 0), the offset is the control's position in
// the parent's bitmap — or a plain colour. A colour of fuchsia (0xFF00FF) without a bitmap means
// that nothing is known about the parent. The `offset` argument of the element functions is
// added to the bitmap offset.
struct ParentBackground {
  const graphics::Bitmap* Bitmap = nullptr;  // not owned; used only when IsBitmap
  int OffsetX = 0;
  int OffsetY = 0;
  TColor Color = kFuchsia;  // RGB (system colours are converted by the makers below)
  bool IsBitmap = false;

  static ParentBackground FromColor(TColor color);  // ColorToRGB(color), no bitmap
  static ParentBackground FromBitmap(const graphics::Bitmap* bitmap, int offsetX, int offsetY);
  // Nothing known (fuchsia, no bitmap).
  static ParentBackground None() { return {}; }
  // True when neither a bitmap nor a colour is known.
  bool Unknown() const { return !(IsBitmap && Bitmap != nullptr) && Color == kFuchsia; }
};

// The per-control painting inputs that the control skin state keeps (TsCommonData fills this
// from its own fields; form providers and the labels do the same).
struct ElementRef {
  int SectionIndex = -1;     // in Tables.Sections; -1 = not skinned
  int BorderMaskIndex = -1;  // the section's "BORDERSMASK" image
  int PatternIndex = -1;     // "PATTERN" texture, -1 = none (looked up again by name)
  int HotPatternIndex = -1;  // "HOTPATTERN" texture
  // The owner's colour in RGB when it keeps its own colour (CustomColor; a form provider's
  // form colour), else fuchsia: the section's colours are used.
  TColor ColorOverride = kFuchsia;
  int HueShift = 0;         // degrees, 0 = none
  int SaturationShift = 0;  // percent, 0 = none
};

// The fill modes of a texture image (its DrawMode).
enum TextureMode : int {
  kTextureTile = 0,         // tiled from the top-left, last column and row cut
  kTextureStretch = 1,      // stretched over the whole rectangle
  kTextureTopRow = 2,       // one row of tiles along the top edge
  kTextureLeftColumn = 3,   // one column of tiles along the left edge
  kTextureTopStretch = 4,   // stretched across the width along the top, at its own height
  kTextureLeftStretch = 5,  // stretched down the height along the left, at its own width
  kTextureBottomRow = 6,    // one row of tiles along the bottom edge
  kTextureRightColumn = 7,  // 7, 8 and 9: one column of tiles along the right edge
  kTextureWholeRows = 10,   // tiled like 0, but only whole rows
};

// DrawMode bits of a border mask.
enum BorderDrawMode : int {
  kBorderStretch = 1,     // stretch edges and centre instead of tiling them
  kBorderNoNormal = 2,    // draw nothing in state 0
  kBorderPaintCenter = 4  // paint the centre piece too
};

// Limits a state index to 0 .. States − 1 of the section (0 for a negative state).
int LimitState(const TsGeneralData& section, int state);

// The section of an ElementRef in `state` into `bitmap` at `rect` (which must lie wholly inside
// the bitmap). `offset` is the element's top-left in the parent background. Background, corner
// images (against the bitmap itself), the border mask (its corners against the parent background
// when `withParent`), then the hue and saturation shift over the whole bitmap.
void PaintElement(const SkinTables& tables, const ElementRef& element,
                  const ParentBackground& parentBg, bool withParent, graphics::Bitmap& bitmap,
                  graphics::Point offset, graphics::Rect rect, int state);

// The same for a section given by index (menus, title bars, scroll bars, tabs), with the
// textures given (-1: the section's own) and `maskState` as the border mask's frame. No hue or
// saturation step.
void PaintSection(const SkinTables& tables, int sectionIndex, const ParentBackground& parentBg,
                  int hotTexture, int texture, graphics::Bitmap& bitmap, graphics::Point offset,
                  graphics::Rect rect, int state, int maskState);

// The background only. `colorOverride` fuchsia: the section's colour, transparency, texture and
// gradient of the state; any other colour: that colour, opaque, no texture, no gradient.
// Transparency layering: t = 0 or nothing known under the element: opaque background; t = 100:
// the parent's colour or bitmap; 0 < t < 100: the opaque background blended over the parent's
// background so that the parent shows through by t percent.
void PaintElementBackground(const SkinTables& tables, int sectionIndex,
                            const ParentBackground& parentBg, TColor colorOverride, int hotTexture,
                            int texture, graphics::Bitmap& bitmap, graphics::Point offset,
                            graphics::Rect rect, int state);

// One image in nine parts over `rect` in frame `state`. Corner pieces let the parent background
// show through their fuchsia pixels when `withParent` and the image has TransparentCorners;
// edges and centre never do. Images with a mask row are combined with their mask; stretched or
// tiled by DrawMode bit 1; the centre only with bit 4. Nothing for rects narrower or lower than
// 2 pixels, for state 0 with DrawMode bit 2, or for an image without owner.
void PaintBorderMask(graphics::Bitmap& bitmap, graphics::Rect rect, bool withParent, int state,
                     const TsMaskData& image, const ParentBackground& parentBg);

// One frame of an image at `point`, unscaled; negative coordinates cut the picture's left/top.
// Images with a picture of their own or a mask row: masked copy, key pixels take the parent
// background. Others: keyed copy over the parent background when `withParent`, else the frame
// faded half-way into the target.
void PaintImageAt(graphics::Bitmap& bitmap, graphics::Point point, int state,
                  const ParentBackground& parentBg, const TsMaskData& image, bool withParent);

// A texture image in fill `mode` over `rect` (clipped to the bitmap). Textures with a mask row
// are tiled masked, their key pixels showing `parentBg`. Returns the part of `rect` covered;
// the caller fills the rest (modes 2-9) with the element's colour.
graphics::Rect PaintTexture(graphics::Bitmap& bitmap, graphics::Rect rect, const TsMaskData& image,
                            int mode, const ParentBackground& parentBg);
// A large JPEG texture of the pattern table, tiled (mode 0).
void PaintPattern(graphics::Bitmap& bitmap, graphics::Rect rect, const TsPatternData& pattern);

// A gradient over `rect` (clipped to the bitmap). The first stop's Mode selects: 0 horizontal
// bands top to bottom, 1 vertical bands left to right, 2 four triangles meeting at the centre;
// anything else draws nothing. `offset` is added to the height when band ends are computed
// (normally 0).
void PaintGradient(graphics::Bitmap& bitmap, graphics::Rect rect,
                   const std::vector<GradientStop>& gradient, int offset = 0);

// Paints the four corner pieces of the border mask of `element` in `state` again over
// `parentBg`, so that transparent corner pixels of `cache` show the current parent. Only for a
// valid mask with TransparentCorners. The cache covers the whole element (rect 0, 0, w, h).
void RefreshCacheCorners(const SkinTables& tables, const ElementRef& element,
                         graphics::Bitmap& cache, int state, const ParentBackground& parentBg);

}  // namespace sapala::skin
