// The records of a loaded skin: global values (`TsSkinData`), one record per skin section
// (`TsGeneralData` with its two looks `Props[0]` normal and `Props[1]` hot), one record per skin
// image (`TsMaskData`), large JPEG textures (`TsPatternData`) and gradient stops.
//
// Gradients are shared, not copied: a section's `Gradient` and its `Props[0].Gradient` are the
// same array object, so a colour change applied to one (hue and saturation after a load) is seen
// through both.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/graphics/bitmap.h"
#include "core/graphics/geometry.h"
#include "core/skin/skin_colors.h"

namespace sapala::skin {

class SkinTables;

struct GradientStop {
  std::int32_t Color1 = 0;
  std::int32_t Color2 = 0;
  std::uint8_t Percent = 0;  // 0..100
  std::int32_t Mode = 0;
  bool operator==(const GradientStop&) const = default;
};

// A shared dynamic array of stops (never null once a record is built).
using TsGradArray = std::shared_ptr<std::vector<GradientStop>>;
inline TsGradArray NewGradArray() { return std::make_shared<std::vector<GradientStop>>(); }

// Parses gradient text: words at ";" (empty words skipped), word count div 5 stops, stop k from
// words 5k+1..5k+4 (Color1 and Color2 at least 0, Percent clamped to 0..100, Mode as is); the
// fifth word of a group is not used. A used word that is not a whole number raises SkinError.
TsGradArray ParseGradient(std::string_view text);

using FontColorArray = std::array<TColor, 5>;  // text, then outline left, top, right, bottom
inline constexpr FontColorArray kDefaultFontColors = {0, -1, -1, -1, -1};

struct TsGenState {
  TColor Color = 0;
  FontColorArray FontColors = kDefaultFontColors;
  std::int32_t GradientPercent = 0;
  std::string GradientData;
  TsGradArray Gradient = NewGradArray();
  std::int32_t ImagePercent = 0;
  TColor GlowColor = 0;
  std::uint8_t GlowSize = 0;
  std::int32_t Transparency = 0;
};
using TsProps = std::array<TsGenState, 2>;

struct TsGeneralData {
  std::string ParentClass;
  std::string SectionName;
  std::int32_t States = 4;
  TsProps Props;
  bool GiveOwnFont = false;
  bool ReservedBoolean = false;
  bool ShowFocus = false;
  std::int32_t Glow = 0;
  std::int32_t GlowMargin = 0;
  std::int32_t MaskIndex = -1;
  std::array<std::int32_t, 4> CornerIndex = {-1, -1, -1, -1};
  std::int32_t TextureIndex = -1;
  TColor Color = kWhite;
  std::int32_t Transparency = 0;
  std::int32_t GradientPercent = 0;
  std::string GradientData = " ";
  TsGradArray Gradient = NewGradArray();
  std::int32_t ImagePercent = 0;
  FontColorArray FontColors = kDefaultFontColors;
  TColor HotColor = kWhite;
  std::int32_t HotTransparency = 0;
  std::int32_t HotGradientPercent = 0;
  std::string HotGradientData;
  TsGradArray HotGradient = NewGradArray();
  std::int32_t HotImagePercent = 0;
  FontColorArray HotFontColors = kDefaultFontColors;
  bool FadingEnabled = false;
  std::int32_t FadingIterations = 5;
  TColor HotGlowColor = kWhite;
  TColor GlowColor = kWhite;
  std::uint8_t HotGlowSize = 0;
  std::uint8_t GlowSize = 0;

  // Props[0] := the section's normal fields; Props[1] := its hot fields when States >= 2, else a
  // copy of Props[0]. Gradient arrays are shared with the section fields.
  void FillProps();
};

struct TsMaskData {
  // A picture of the image's own; null = the image is `Rect` of the master bitmap. Shared so that
  // copies of the table (for instance the kept icons during a hue change) need no deep copy.
  std::shared_ptr<graphics::Bitmap> Image;
  std::string Section;
  std::string Key;
  graphics::Rect Rect;
  std::int16_t FrameCount = 1;
  std::int16_t MaskKind = 0;
  std::int16_t BorderWidth = 0;
  std::int16_t DrawMode = 1;
  std::uint8_t ImageKind = 0;  // 0 bordered mask, 1 texture, 2 plain rectangle, 3 and 4 others
  // The tables (of the manager) that hold the image; their master bitmap backs images without a
  // picture of their own. Set when the tables are built; painting draws nothing without it.
  const SkinTables* Owner = nullptr;
  std::int16_t LeftBorder = 0;
  std::int16_t TopBorder = 0;
  std::int16_t RightBorder = 0;
  std::int16_t BottomBorder = 0;
  std::int16_t TransparentCorners = 0;
};

struct TsPatternData {
  std::shared_ptr<graphics::Bitmap> Picture;  // 32-bit
  std::string Section;                        // upper-case
  std::string Key;                            // upper-case
};

struct TsSkinData {
  std::string SkinPath;
  bool Active = false;
  double Version = 0;
  std::string Author;
  std::string Description;
  TColor Shadow1Color = 0;
  std::int16_t Shadow1Offset = 0;
  std::int16_t Shadow1Blur = -1;
  std::int16_t Shadow1Transparency = 0;
  std::int16_t ExtBorderWidth = 4;
  std::int16_t ExtTitleHeight = 30;
  std::int16_t ExtMaxHeight = 0;
  std::int16_t ExtFormOffset = 0;
  std::int16_t ExtAlignOffset = 0;
  std::int16_t ExtCenterOffset = 0;
  std::int16_t ExtBorderMode = 0;
  TColor BorderColor = 0;
  std::int16_t IconSpacing = 0;
  std::int16_t IconVAlign = 0;
  std::int16_t IconRight = 0;
  std::int16_t IconLeft = 0;
  std::int16_t IconTop = 0;
  std::int16_t IconKeepHue = 0;
  std::int16_t CloseGlow = 0;
  std::int16_t CloseGlowMargin = 0;
  std::int16_t MaxGlow = 0;
  std::int16_t MaxGlowMargin = 0;
  std::int16_t MinGlow = 0;
  std::int16_t MinGlowMargin = 0;
};

// Width queries of an image. FrameCount 0 counts as 1 where a width is divided by it, and a
// MaskKind below -1 gives no height (no division by zero or by a negative count).
int FrameWidth(const TsMaskData& m);
int FrameHeight(const TsMaskData& m);
int LeftWidth(const TsMaskData& m);
int RightWidth(const TsMaskData& m);
int TopWidth(const TsMaskData& m);
int BottomWidth(const TsMaskData& m);

}  // namespace sapala::skin
