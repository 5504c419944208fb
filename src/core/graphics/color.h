// Colour values as the skin engine passes them around.
//
// TColor is 32 bits laid out 0x00BBGGRR: red in the low byte, blue in the third. A value whose
// top byte is 0xFF names a system colour (its low byte is the index into the system colour
// table) and must go through ColorToRGB before any pixel work. clNone (0x1FFFFFFF) means "no
// colour"; in skin answers fuchsia (0xFF00FF) means that no colour is known and -1 means none.
// The colour routines carry the top byte of their input through unchanged.
//
// The system colour table is only known on Windows; the Win32 half installs its own table
// (GetSysColor) with SetSystemColorTable, native code and tests get the Windows 7 defaults.
#pragma once

#include <cstdint>

namespace sapala::graphics {

using TColor = std::int32_t;

constexpr TColor ColorFromBits(std::uint32_t bits) { return static_cast<TColor>(bits); }
constexpr std::uint32_t ColorBits(TColor c) { return static_cast<std::uint32_t>(c); }

// Channel access and construction (not named after the Windows macros, which <windows.h>
// defines and would clash with).
constexpr std::uint8_t RedOf(TColor c) { return static_cast<std::uint8_t>(ColorBits(c)); }
constexpr std::uint8_t GreenOf(TColor c) { return static_cast<std::uint8_t>(ColorBits(c) >> 8); }
constexpr std::uint8_t BlueOf(TColor c) { return static_cast<std::uint8_t>(ColorBits(c) >> 16); }
constexpr std::uint8_t TopByteOf(TColor c) { return static_cast<std::uint8_t>(ColorBits(c) >> 24); }
constexpr TColor RgbColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return ColorFromBits(std::uint32_t{r} | std::uint32_t{g} << 8 | std::uint32_t{b} << 16);
}

// The engine's transparent pixel word in 32-bit images (B, G, R, A = FF, 00, FF, 00).
constexpr std::uint32_t kKeyPixel = 0x00FF00FFu;
// The one transparent-pixel rule of the engine: a pixel is transparent when its colour bytes are
// fuchsia (B, G, R = FF, 00, FF), whatever its alpha byte. Pictures converted to 32 bits carry
// alpha 255, pictures made by the engine alpha 0; both must read as transparent.
constexpr bool IsKeyPixel(std::uint32_t px) { return (px & 0x00FFFFFFu) == 0x00FF00FFu; }
// The same rule for any key word: colour bytes compared, alpha ignored.
constexpr bool SameColorBytes(std::uint32_t a, std::uint32_t b) {
  return ((a ^ b) & 0x00FFFFFFu) == 0;
}

constexpr TColor clNone = ColorFromBits(0x1FFFFFFFu);
constexpr TColor clDefault = ColorFromBits(0x20000000u);
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clFuchsia = 0xFF00FF;  // also "no colour known" in background answers
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;

// System colours: 0xFF000000 | index into the system colour table (the COLOR_* numbers).
constexpr TColor SystemColor(int index) {
  return ColorFromBits(0xFF000000u | static_cast<std::uint32_t>(index & 0xFF));
}
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);
constexpr TColor clMenuHighlight = SystemColor(29);
constexpr TColor clMenuBar = SystemColor(30);

constexpr bool IsSystemColor(TColor c) { return c < 0; }

// Where ColorToRGB looks up system colours. Implementations must be callable from the GUI
// thread at any time while installed; the installer keeps the object alive until it installs
// another one or nullptr.
class SystemColorTable {
 public:
  virtual ~SystemColorTable() = default;
  // RGB (0x00BBGGRR) of the system colour with this COLOR_* index.
  virtual TColor SysColor(int index) const = 0;
};

// Installs the table ColorToRGB uses; nullptr restores the built-in defaults.
void SetSystemColorTable(const SystemColorTable* table);
// The Windows 7 default value of a system colour index (black for unknown indices).
TColor DefaultSysColor(int index);

// A system colour becomes its RGB value; every other value (clNone included) is returned as is.
TColor ColorToRGB(TColor c);

// Per channel R, G, B: Round(a × p + b × (1 − p)) with round-half-to-even; the top byte is a's.
// p is a weight 0..1.
TColor MixColors(TColor a, TColor b, double p);
// Rotates the hue by `degrees` (HSV model). Greys and 0 degrees return the colour unchanged.
// Shifts are meant to be 0..359; a negative hue sum falls into the last sector.
TColor ChangeHue(TColor color, int degrees);
// Moves every channel away from (positive percent) or toward (negative) the grey average.
TColor ChangeSaturation(TColor color, int percent);
// Exchanges the low and third bytes; keeps the second and top bytes.
TColor SwapRedBlue(TColor color);

// The colour of a skinned element for a control: hue first, then saturation.
inline TColor ShiftedColor(TColor color, int hueShift, int saturationShift) {
  return ChangeSaturation(ChangeHue(color, hueShift), saturationShift);
}

// Conversions between colour values and 32-bit pixel words (0xAARRGGBB in memory order B, G,
// R, A). PixelFromColor puts `alpha` into the top byte; ColorFromPixel keeps the pixel's alpha
// as the colour's top byte (the TlcFast32 reading convention).
constexpr std::uint32_t PixelFromColor(TColor c, std::uint8_t alpha = 255) {
  return std::uint32_t{BlueOf(c)} | std::uint32_t{GreenOf(c)} << 8 | std::uint32_t{RedOf(c)} << 16 |
         std::uint32_t{alpha} << 24;
}
constexpr TColor ColorFromPixel(std::uint32_t px) {
  return ColorFromBits((px & 0xFF000000u) | (px >> 16 & 0xFFu) | (px & 0xFF00u) |
                       (px & 0xFFu) << 16);
}

// Channel arithmetic shared by the colour and pixel routines, one contract each.
// Round half to even, the rounding every formula of the engine uses; NaN gives 0, huge values
// saturate.
std::int64_t RoundEven(double v);
// v limited to 0..255.
constexpr std::uint8_t ClampByte(std::int64_t v) noexcept {
  return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}
// A computed channel value as a byte: RoundEven, then ClampByte.
inline std::uint8_t RoundToByte(double v) { return ClampByte(RoundEven(v)); }
// a × b / 255 rounded to the nearest integer, for a, b in 0..255 (a quotient by 255 is never
// exactly half-way): the product of two 8-bit fractions, as alpha premultiplication needs it.
constexpr std::uint8_t MulDiv255(unsigned a, unsigned b) noexcept {
  return static_cast<std::uint8_t>((a * b + 127u) / 255u);
}

}  // namespace sapala::graphics
