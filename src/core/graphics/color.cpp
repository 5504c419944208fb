// Colour values: system colour table, mixing, hue and saturation shifts.
#include "core/graphics/color.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <cmath>

namespace sapala::graphics {

namespace {

std::atomic<const SystemColorTable*> g_systemColors{nullptr};

constexpr TColor kDefaultSysColors[31] = {
    RgbColor(200, 200, 200), RgbColor(0, 0, 0),       RgbColor(153, 180, 209),
    RgbColor(191, 205, 219), RgbColor(240, 240, 240), RgbColor(255, 255, 255),
    RgbColor(100, 100, 100), RgbColor(0, 0, 0),       RgbColor(0, 0, 0),
    RgbColor(0, 0, 0),       RgbColor(180, 180, 180), RgbColor(244, 247, 252),
    RgbColor(171, 171, 171), RgbColor(51, 153, 255),  RgbColor(255, 255, 255),
    RgbColor(240, 240, 240), RgbColor(160, 160, 160), RgbColor(109, 109, 109),
    RgbColor(0, 0, 0),       RgbColor(67, 78, 84),    RgbColor(255, 255, 255),
    RgbColor(105, 105, 105), RgbColor(227, 227, 227), RgbColor(0, 0, 0),
    RgbColor(255, 255, 225), RgbColor(0, 0, 0),       RgbColor(0, 102, 204),
    RgbColor(185, 209, 234), RgbColor(215, 228, 242), RgbColor(51, 153, 255),
    RgbColor(240, 240, 240)};

TColor WithTop(TColor original, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return ColorFromBits((ColorBits(original) & 0xFF000000u) | ColorBits(RgbColor(r, g, b)));
}

}  // namespace

std::int64_t RoundEven(double v) {
  // Out-of-range values and NaN (from absurd weights handed in) saturate instead of being
  // converted with undefined behaviour; every caller clamps the result to a channel anyway.
  if (!(v == v)) return 0;
  constexpr double kLimit = 9.0e18;
  if (v >= kLimit) return static_cast<std::int64_t>(kLimit);
  if (v <= -kLimit) return -static_cast<std::int64_t>(kLimit);
  // nearbyint rounds in the current mode, which is to-nearest-even unless someone changed it.
  return static_cast<std::int64_t>(std::nearbyint(v));
}

void SetSystemColorTable(const SystemColorTable* table) { g_systemColors.store(table); }

TColor DefaultSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kDefaultSysColors))) return clBlack;
  return kDefaultSysColors[index];
}

TColor ColorToRGB(TColor c) {
  if (c >= 0) return c;
  const int index = static_cast<int>(ColorBits(c) & 0xFFu);
  if (const SystemColorTable* table = g_systemColors.load()) return table->SysColor(index);
  return DefaultSysColor(index);
}

TColor MixColors(TColor a, TColor b, double p) {
  auto mix = [p](std::uint8_t x, std::uint8_t y) { return RoundToByte(x * p + y * (1.0 - p)); };
  return WithTop(a, mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)),
                 mix(BlueOf(a), BlueOf(b)));
}

TColor ChangeHue(TColor color, int degrees) {
  if (degrees == 0) return color;
  const double r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
  const double v = std::max({r, g, b});
  const double m = std::min({r, g, b});
  const double s = v == 0 ? 0.0 : (v - m) / v;
  if (s == 0) return color;
  double h;
  if (r == v) {
    h = 60.0 * (g - b) / (v - m);
  } else if (g == v) {
    h = 120.0 + 60.0 * (b - r) / (v - m);
  } else {
    h = 240.0 + 60.0 * (r - g) / (v - m);
  }
  if (h < 0) h += 360.0;
  // Remainder with the sign of the dividend; a negative sum (a negative shift) is brought back
  // into 0..359, so that it rotates the other way instead of leaving the six sectors.
  std::int64_t shifted = RoundEven(h + degrees) % 360;
  if (shifted < 0) shifted += 360;
  const double hh = static_cast<double>(shifted) / 60.0;
  const std::int64_t k = static_cast<std::int64_t>(hh);  // integer part, toward zero
  const double f = hh - static_cast<double>(k);
  auto chan = [](double x) { return RoundToByte(std::clamp(x, 0.0, 255.0)); };
  const std::uint8_t V = chan(v);
  const std::uint8_t p = chan(v * (1 - s));
  const std::uint8_t q = chan(v * (1 - f * s));
  const std::uint8_t t = chan(v * (1 - (1 - f) * s));
  switch (k) {
    case 0:
      return WithTop(color, V, t, p);
    case 1:
      return WithTop(color, q, V, p);
    case 2:
      return WithTop(color, p, V, t);
    case 3:
      return WithTop(color, p, q, V);
    case 4:
      return WithTop(color, t, p, V);
    default:
      return WithTop(color, V, p, q);
  }
}

TColor ChangeSaturation(TColor color, int percent) {
  if (percent == 0) return color;
  const double r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
  const double avg = (r + g + b) / 3.0;
  const double s = percent / 100.0;
  auto chan = [&](double c) { return RoundToByte(c - (avg - c) * s); };
  return WithTop(color, chan(r), chan(g), chan(b));
}

TColor SwapRedBlue(TColor color) {
  const std::uint32_t bits = ColorBits(color);
  return ColorFromBits((bits & 0xFF00FF00u) | (bits & 0xFFu) << 16 | (bits >> 16 & 0xFFu));
}

}  // namespace sapala::graphics
