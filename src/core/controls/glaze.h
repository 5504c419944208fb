// The window-free half of the gradient button: its 25 colour slots, the table of named colour
// schemes, the colours of the face gradient and the placement of glyph and caption. The Win32
// button (win/controls/glaze_button.h) draws with these; they are pure so that every figure can
// be checked natively.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/graphics/color.h"

namespace sapala::controls {

using graphics::TColor;

// The 25 colour properties in stored order; the value is the index of the one indexed setter.
enum ColorSlot : int {
  kColorFace,
  kColorGrad,
  kColorDark,
  kColorLight,
  kColorBorder,
  kColorText,
  kOverColorFace,
  kOverColorGrad,
  kOverColorDark,
  kOverColorLight,
  kOverColorBorder,
  kOverColorText,
  kDownColorFace,
  kDownColorGrad,
  kDownColorDark,
  kDownColorLight,
  kDownColorBorder,
  kDownColorText,
  kDisabledColorFace,
  kDisabledColorGrad,
  kDisabledColorDark,
  kDisabledColorLight,
  kDisabledColorBorder,
  kDisabledColorText,
  kColorFocusRect,
  kColorSlotCount
};

// Property names of the slots, in slot order ("ColorFace" ... "ColorFocusRect").
extern const std::array<const char*, kColorSlotCount> kColorSlotNames;

// Offsets inside one six-colour group (normal, over, down, disabled start at 0, 6, 12, 18).
enum ColorMember : int { kFace, kGrad, kDark, kLight, kBorder, kText };

enum class TColorScheme : std::uint8_t {
  csNeoDesert,
  csNeoSky,
  csNeoGrass,
  csNeoSilver,
  csNeoRose,
  csNeoSun,
  csDesert,
  csGrass,
  csSky,
  csSun,
  csRose,
  csSilver,
  csCustom
};
constexpr int kSchemeCount = 13;
extern const std::array<const char*, kSchemeCount> kSchemeNames;  // "csNeoDesert" ...

// What choosing a named scheme writes: `colors[i]` for every slot with `writes[i]` set (the plain
// schemes leave the four Grad slots alone), and the gradient flag.
struct SchemeColors {
  std::array<TColor, kColorSlotCount> colors{};
  std::array<bool, kColorSlotCount> writes{};
  bool gradient = false;
};
// The table row of a named scheme; csCustom writes nothing.
SchemeColors SchemeTable(TColorScheme scheme);

// The pen colour of each of the H + 1 gradient lines (y = 0 .. H) from `face` to `grad`: each
// channel starts at face's byte and grows by (grad − face) / H per line, accumulated in double
// precision and rounded half to even. Colours are split into bytes as stored: a system colour's
// raw low bytes are used, not its RGB value. Height 0 (or less) gives no lines.
std::vector<TColor> GradientLineColors(TColor face, TColor grad, int height);

enum class TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct FaceLayout {
  int glyph_x = 0, glyph_y = 0;  // top-left of the glyph (meaningless without a glyph)
  int text_x = 0, text_y = 0;    // text origin
};
// Where glyph and caption go on a W × H button (div truncates toward zero, mod takes the
// dividend's sign, as C++ does). TW × TH is the caption measured with its accelerator marks;
// a glyph of 0 × 0 means none. `down` moves both by (1, 1).
FaceLayout LayoutFace(int width, int height, int text_width, int text_height, bool has_caption,
                      int glyph_width, int glyph_height, TButtonLayout layout, int spacing,
                      bool down);

}  // namespace sapala::controls
