#include "core/controls/glaze.h"

namespace sapala::controls {

const std::array<const char*, kColorSlotCount> kColorSlotNames = {
    "ColorFace",         "ColorGrad",          "ColorDark",           "ColorLight",
    "ColorBorder",       "ColorText",          "OverColorFace",       "OverColorGrad",
    "OverColorDark",     "OverColorLight",     "OverColorBorder",     "OverColorText",
    "DownColorFace",     "DownColorGrad",      "DownColorDark",       "DownColorLight",
    "DownColorBorder",   "DownColorText",      "DisabledColorFace",   "DisabledColorGrad",
    "DisabledColorDark", "DisabledColorLight", "DisabledColorBorder", "DisabledColorText",
    "ColorFocusRect"};

const std::array<const char*, kSchemeCount> kSchemeNames = {
    "csNeoDesert", "csNeoSky", "csNeoGrass", "csNeoSilver", "csNeoRose", "csNeoSun", "csDesert",
    "csGrass",     "csSky",    "csSun",      "csRose",      "csSilver",  "csCustom"};

namespace {

// Colours as written in the scheme table: six hex digits blue, green, red, which is exactly the
// TColor value 0x00BBGGRR.
struct Row {
  TColor face, grad, dark, light, border;
};
struct Scheme {
  Row normal, over, down;
  TColor focus;
};

constexpr TColor kNoGrad = -1;  // plain schemes: Grad is not written

constexpr Scheme kSchemes[12] = {
    // csNeoDesert
    {{0xC6ECFF, 0x37BEFF, 0x009CE8, 0xB9E7FF, 0x005680},
     {0xB3E7FF, 0x00A3F0, 0x008ED2, 0x95DAFF, 0x005680},
     {0x2BBAFF, 0x77D2FF, 0x8AD9FF, 0x0077B7, 0x0070A6},
     0x4080FF},
    // csNeoSky
    {{0xFFEEDD, 0xFFB66C, 0xFFA851, 0xFFECD9, 0xB35900},
     {0xFFEBD7, 0xFFA346, 0xFF9E3E, 0xFFE4CA, 0xB35900},
     {0xFFB366, 0xFFCE9D, 0xFFD3A8, 0xFF9E3E, 0xB35900},
     0xFFA953},
    // csNeoGrass
    {{0xDDF9E8, 0x5EDF8E, 0x24B95C, 0xCBF5DB, 0x156F37},
     {0xBFF2D2, 0x3DD877, 0x23B459, 0xB5F0CB, 0x17793D},
     {0x4EDC83, 0x80E6A6, 0x89E7AC, 0x177D3E, 0x167439},
     0x24B95C},
    // csNeoSilver
    {{0xF3F3F3, 0xBCBCBC, 0xA7A7A7, 0xF7F7F7, 0x626262},
     {0xF0F0F0, 0xA6A6A6, 0xA2A2A2, 0xEEEEEE, 0x757575},
     {0xCACACA, 0xDADADA, 0xE9E9E9, 0x7C7C7C, 0x4E4E4E},
     0xADADAD},
    // csNeoRose
    {{0xE8E8FF, 0x9595FF, 0x8282FF, 0xDDDDFF, 0x00009D},
     {0xDFDFFF, 0x7777FF, 0x6A6AFF, 0xD7D7FF, 0x00009D},
     {0xA6A6FF, 0xB9B9FF, 0xCECEFF, 0x5E5EFF, 0x00009D},
     0x5E5EFF},
    // csNeoSun
    {{0xF0FFFF, 0x20D8F9, 0x00BBBB, 0xF2FFFF, 0x006464},
     {0xD5FCFF, 0x05BCDC, 0x00A6A6, 0xCCFFFF, 0x006464},
     {0x05D1F5, 0x66F0FB, 0x66F3FF, 0x008484, 0x006464},
     0x00BBBB},
    // csDesert
    {{0x95DDFF, kNoGrad, 0x009CE8, 0xB9E7FF, 0x005680},
     {0x6FD0FF, kNoGrad, 0x008ED2, 0x95DAFF, 0x005680},
     {0x6FD0FF, kNoGrad, 0x8AD9FF, 0x0077B7, 0x0070A6},
     0x4080FF},
    // csGrass
    {{0x98EBB7, kNoGrad, 0x24B95C, 0xCBF5DB, 0x156F37},
     {0x68E196, kNoGrad, 0x23B459, 0xB5F0CB, 0x17793D},
     {0x4EDC83, kNoGrad, 0x89E7AC, 0x177D3E, 0x167439},
     0x00A421},
    // csSky
    {{0xFFE0C1, kNoGrad, 0xFFA953, 0xFFECD9, 0xB35900},
     {0xFFCD9B, kNoGrad, 0xFFB164, 0xFFE4CA, 0xB35900},
     {0xFFC082, kNoGrad, 0xFFD3A8, 0xFF9122, 0xB35900},
     0xDC9B14},
    // csSun
    {{0xA8FFFF, kNoGrad, 0x00BBBB, 0xF2FFFF, 0x006464},
     {0x66F3FF, kNoGrad, 0x00A6A6, 0xCCFFFF, 0x006464},
     {0x22EEFF, kNoGrad, 0x66F3FF, 0x008484, 0x006464},
     0x008CF4},
    // csRose
    {{0xC6C6FF, kNoGrad, 0x8282FF, 0xDDDDFF, 0x00009D},
     {0xB0B0FF, kNoGrad, 0x6A6AFF, 0xD7D7FF, 0x00009D},
     {0x9F9FFF, kNoGrad, 0x8888FF, 0x5E5EFF, 0x00009D},
     0x5E5EFF},
    // csSilver
    {{0xE0E0E0, kNoGrad, 0xAEAEAE, 0xF7F7F7, 0x626262},
     {0xCFCFCF, kNoGrad, 0x797979, 0xEEEEEE, 0x757575},
     {0xD3D3D3, kNoGrad, 0xE9E9E9, 0x7C7C7C, 0x4E4E4E},
     0x8A8A8A},
};

// The disabled sets shared by the Neo and by the plain schemes (Grad as above).
constexpr Row kNeoDisabled{0xEEEEEE, 0xFFFFFF, 0xD2D2D2, 0xFFFFFF, 0x808080};
constexpr Row kPlainDisabled{0xE2E2E2, kNoGrad, 0xD8D8D8, 0xEAEAEA, 0xC4C4C4};
constexpr TColor kDisabledText = 0x808080;

void PutRow(SchemeColors& out, int base, const Row& row, TColor text) {
  const TColor values[6] = {row.face, row.grad, row.dark, row.light, row.border, text};
  for (int m = 0; m < 6; ++m) {
    if (m == kGrad && row.grad == kNoGrad) continue;
    out.colors[base + m] = values[m];
    out.writes[base + m] = true;
  }
}

}  // namespace

SchemeColors SchemeTable(TColorScheme scheme) {
  SchemeColors out;
  const int ordinal = static_cast<int>(scheme);
  if (ordinal < 0 || ordinal >= 12) return out;  // csCustom: nothing is written
  const Scheme& s = kSchemes[ordinal];
  const bool neo = ordinal < 6;
  PutRow(out, kColorFace, s.normal, graphics::clBlack);
  PutRow(out, kOverColorFace, s.over, graphics::clBlack);
  PutRow(out, kDownColorFace, s.down, graphics::clBlack);
  PutRow(out, kDisabledColorFace, neo ? kNeoDisabled : kPlainDisabled, kDisabledText);
  out.colors[kColorFocusRect] = s.focus;
  out.writes[kColorFocusRect] = true;
  out.gradient = neo;
  return out;
}

std::vector<TColor> GradientLineColors(TColor face, TColor grad, int height) {
  std::vector<TColor> lines;
  if (height <= 0) return lines;
  double r = graphics::RedOf(face), g = graphics::GreenOf(face), b = graphics::BlueOf(face);
  const double dr = (static_cast<double>(graphics::RedOf(grad)) - r) / height;
  const double dg = (static_cast<double>(graphics::GreenOf(grad)) - g) / height;
  const double db = (static_cast<double>(graphics::BlueOf(grad)) - b) / height;
  auto channel = [](double v) {
    const std::int64_t c = graphics::RoundEven(v);
    return static_cast<std::uint8_t>(c < 0 ? 0 : c > 255 ? 255 : c);
  };
  lines.reserve(static_cast<std::size_t>(height) + 1);
  for (int y = 0; y <= height; ++y) {
    lines.push_back(graphics::RgbColor(channel(r), channel(g), channel(b)));
    r += dr;  // accumulated by repeated addition, as drawn line by line
    g += dg;
    b += db;
  }
  return lines;
}

FaceLayout LayoutFace(int width, int height, int text_width, int text_height, bool has_caption,
                      int glyph_width, int glyph_height, TButtonLayout layout, int spacing,
                      bool down) {
  FaceLayout f;
  f.text_x = (width - text_width) / 2;
  f.text_y = (height - text_height) / 2;
  const int gw = glyph_width, gh = glyph_height, s = spacing;
  if (gw > 0 && gh > 0) {
    const int tx = f.text_x, ty = f.text_y;
    switch (layout) {
      case TButtonLayout::blGlyphLeft:
        f.glyph_x = tx - gw / 2;
        f.glyph_y = (height - gh) / 2;
        f.text_x += gw / 2;
        if (has_caption) {
          f.glyph_x -= s / 2 + s % 2;
          f.text_x += s / 2;
        }
        break;
      case TButtonLayout::blGlyphRight:
        f.glyph_x = tx + text_width - gw / 2;
        f.glyph_y = (height - gh) / 2;
        f.text_x -= gw / 2;
        if (has_caption) {
          f.glyph_x += s / 2 + s % 2;
          f.text_x -= s / 2;
        }
        break;
      case TButtonLayout::blGlyphTop:
        f.glyph_x = (width - gw) / 2;
        f.glyph_y = ty - gh / 2 - gh % 2;
        f.text_y += gh / 2;
        if (has_caption) {
          f.glyph_y -= s / 2 + s % 2;
          f.text_y += s / 2;
        }
        break;
      case TButtonLayout::blGlyphBottom:
        f.glyph_x = (width - gw) / 2;
        f.glyph_y = ty + text_height - gh / 2;
        f.text_y -= gh / 2;
        if (has_caption) {
          f.glyph_y += s / 2 + s % 2;
          f.text_y -= s / 2;
        }
        break;
    }
    if (down) {
      ++f.glyph_x;
      ++f.glyph_y;
    }
  }
  if (down) {
    ++f.text_x;
    ++f.text_y;
  }
  return f;
}

}  // namespace sapala::controls
