// The skin "DiruriZedaz". Sizes are chosen for 96 dpi: a title band of frame 3 + caption 19..23
// pixels, caption buttons of 19 × 17 (small 15 × 13), push buttons about 23 pixels high, scroll
// bars 16..17 pixels thick. Border pictures carry a mask row, so their anti-aliased edges blend
// into whatever the element paints beneath them; pixels outside rounded corners are the key
// (the parent shows there, and the window region is cut along them).
#include "tools/skingen/diruri.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace sapala::skingen {
namespace {

// --- Palette -----------------------------------------------------------------------------
constexpr Rgb kIndigoTop = Hex(0x413B8E);
constexpr Rgb kIndigoBottom = Hex(0x221E5C);
constexpr Rgb kIndigo = Hex(0x2C2868);
constexpr Rgb kIndigoDark = Hex(0x120F33);
constexpr Rgb kIndigoInk = Hex(0x1E1A50);
constexpr Rgb kSlateTop = Hex(0x75719A);
constexpr Rgb kSlateBottom = Hex(0x5B5779);
constexpr Rgb kSlate = Hex(0x5E5A7C);
constexpr Rgb kSlateDark = Hex(0x37344F);
constexpr Rgb kGold = Hex(0xD4A93C);
constexpr Rgb kGoldLight = Hex(0xF0D48A);
constexpr Rgb kGoldDeep = Hex(0xA67C1E);
constexpr Rgb kGoldDark = Hex(0x7E5C14);
constexpr Rgb kGoldGlow = Hex(0xF3C24C);
constexpr Rgb kTan = Hex(0xB3A584);
constexpr Rgb kSogan = Hex(0x7A4A22);
constexpr Rgb kSoganDark = Hex(0x4E2E14);
constexpr Rgb kSoganLight = Hex(0xA57C50);
constexpr Rgb kCream = Hex(0xF7F1E2);
constexpr Rgb kCreamLight = Hex(0xFFFCF3);
constexpr Rgb kMenuCream = Hex(0xFBF6EA);
constexpr Rgb kSand = Hex(0xEEE5CF);
constexpr Rgb kSandDark = Hex(0xCDB88E);
constexpr Rgb kInk = Hex(0x3A2414);
constexpr Rgb kTitleText = Hex(0xF6DC96);
constexpr Rgb kTitleTextInactive = Hex(0xE4DEEC);
constexpr Rgb kTerracotta = Hex(0xC85A40);
constexpr Rgb kTerracottaDeep = Hex(0x9A3422);
constexpr Rgb kTerracottaDark = Hex(0x5E1E12);
constexpr Rgb kWhite = Hex(0xFFFFFF);
constexpr Rgb kBlack = Hex(0x000000);

constexpr float kPi = 3.14159265f;

// A whole-canvas rectangle.
Sdf Box(float x0, float y0, float x1, float y1) { return RoundRect(x0, y0, x1, y1, 0); }

// Opacity that falls from `top` at y0 to `bottom` at y1.
std::function<float(float, float)> Fade(const Sdf& shape, float y0, float top, float y1,
                                        float bottom) {
  return [=](float x, float y) {
    const float t = std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f);
    return Coverage(shape, static_cast<int>(x), static_cast<int>(y)) * (top + (bottom - top) * t);
  };
}

// --- Batik texture ---------------------------------------------------------------------------
// Kawung: four-petal flowers on a square grid. Petals are ellipses on the diagonals, each the
// petal of two neighbouring flowers, so the tile repeats seamlessly in both directions.
graphics::Bitmap KawungTile(bool active) {
  constexpr int kSize = 20;
  const Rgb base = active ? Hex(0x302B72) : Hex(0x67638A);
  const Rgb petal = active ? Hex(0x4842A0) : Hex(0x77739A);
  const Rgb rim = active ? Hex(0x221E60) : Hex(0x5A5680);
  const Rgb seed = active ? Hex(0x6E5E7A) : Hex(0x8A8494);
  const Rgb heart = active ? Hex(0xC49C3E) : Hex(0xA39A86);
  Canvas c(kSize, kSize);
  c.Draw(Box(0, 0, kSize, kSize), Solid(base));
  const float q = kSize / 4.0f;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const float ox = static_cast<float>(dx * kSize), oy = static_cast<float>(dy * kSize);
      for (int i = 0; i < 4; ++i) {
        const float cx = ox + q * ((i % 2) ? 3.0f : 1.0f);
        // Shifted down by a quarter cell, so that the tile's top and bottom rows cross petals
        // rather than the flowers' hearts.
        const float cy = oy + q * ((i / 2) ? 3.0f : 1.0f) + q;
        const bool falling = (i == 0 || i == 3);  // on the "\" diagonal
        const Sdf e = Ellipse(cx, cy, 6.0f, 3.1f, falling ? kPi / 4 : -kPi / 4);
        c.Draw(e, Solid(petal));
        c.Draw(Outline(e, 0.9f), Solid(rim));
        c.Draw(Circle(cx, cy, 0.8f), Solid(seed));
      }
      c.Draw(Circle(ox + kSize / 2.0f, oy + kSize / 2.0f + q, 1.15f), Solid(heart));
      c.Draw(Circle(ox, oy + q, 1.15f), Solid(heart));
    }
  }
  return ToOpaque(c, base);
}

// --- Frame and title -------------------------------------------------------------------------
// The window frame, three pixels: dark outline, the frame colour, a gold hairline around the
// client area. Frame 0 inactive, 1 active.
Canvas FrameBorder(bool active) {
  Canvas c(7, 7);
  const Sdf box = Box(0, 0, 7, 7);
  c.Draw(Outline(box, 1), Solid(active ? kIndigoDark : kSlateDark));
  c.Draw(Outline(Inset(box, 1), 1), Solid(active ? kIndigo : kSlate));
  c.Draw(Outline(Inset(box, 2), 1), Solid(active ? kGold : kTan));
  // The outermost corner pixels are cut from the window.
  for (int x : {0, 6}) {
    c.SetKey(x, 0);
    c.SetKey(x, 6);
  }
  return c;
}

// The title band's border: rounded top corners (radius 4.5) cut from the window, a dark outline
// with a one-pixel bevel inside it, and the gold hairline along the bottom that continues the
// frame's. Everything else lets the band's gradient and batik show through.
Canvas TitleBorder(bool active) {
  Canvas c(11, 7);
  const Rgb dark = active ? kIndigoDark : kSlateDark;
  const Sdf band = RoundRect(0, 0, 11, 30, 4.5f);
  c.Draw(Outline(band, 1), Solid(dark));
  c.DrawAlpha(Fade(Outline(Inset(band, 1), 1), 1, active ? 0.30f : 0.22f, 6, 0.10f), Solid(kWhite));
  // Bottom row: outline, frame colour, then the hairline; mirrored on the right.
  c.Draw(Box(0, 6, 11, 7), Solid(active ? kGold : kTan));
  c.Draw(Box(0, 6, 1, 7), Solid(dark));
  c.Draw(Box(10, 6, 11, 7), Solid(dark));
  c.Draw(Box(1, 6, 2, 7), Solid(active ? kIndigo : kSlate));
  c.Draw(Box(9, 6, 10, 7), Solid(active ? kIndigo : kSlate));
  c.KeyOutside(band);
  return c;
}

// Behind the caption buttons: the band darkens softly towards the right, leaving the outline,
// the bevel and the hairline alone.
Canvas TitleBarShade(bool active) {
  Canvas c(25, 5);
  const float strength = active ? 0.20f : 0.12f;
  c.DrawAlpha(
      [=](float x, float y) {
        if (y < 2 || y > 4 || x > 23) return 0.0f;
        return strength * std::clamp(x / 21.0f, 0.0f, 1.0f);
      },
      Solid(active ? kIndigoDark : kSlateDark));
  return c;
}

// A faint plaque behind the caption text.
Canvas CaptionPlaque(bool active) {
  Canvas c(13, 9);
  c.Draw(RoundRect(0.5f, 0.5f, 12.5f, 8.5f, 4), Solid(active ? kIndigoDark : kSlateDark),
         active ? 0.10f : 0.06f);
  return c;
}

// --- Caption buttons -----------------------------------------------------------------------------
enum class Glyph { close, max, restore, min, help, none };

// The glyph's shape in a frame of w × h (small frames get a smaller glyph).
Sdf GlyphShape(Glyph g, float w, float h, bool small) {
  const float cx = w / 2, cy = h / 2;
  const float s = small ? 2.4f : 3.4f;     // half extent
  const float hw = small ? 0.72f : 0.85f;  // half stroke
  switch (g) {
    case Glyph::close:
      return Union(Capsule(cx - s, cy - s, cx + s, cy + s, hw),
                   Capsule(cx + s, cy - s, cx - s, cy + s, hw));
    case Glyph::min:
      return Capsule(cx - s, cy + s - 0.4f, cx + s, cy + s - 0.4f, hw);
    case Glyph::max: {
      const Sdf box = RoundRect(cx - s - 0.6f, cy - s - 0.6f, cx + s + 0.6f, cy + s + 0.6f, 1.0f);
      return Union(Outline(box, 1.2f),
                   Box(cx - s - 0.6f, cy - s - 0.6f, cx + s + 0.6f, cy - s + 1.3f));
    }
    case Glyph::restore: {
      const float b = s - 1.1f;
      const Sdf front = RoundRect(cx - s - 0.4f, cy - b + 0.9f, cx + b + 0.2f, cy + s + 0.6f, 0.8f);
      const Sdf back = RoundRect(cx - b + 0.8f, cy - s - 0.6f, cx + s + 0.6f, cy + b - 0.2f, 0.8f);
      return Union(Outline(front, 1.1f), Minus(Outline(back, 1.1f), Inset(front, -0.6f)));
    }
    case Glyph::help: {
      const float r = small ? 1.9f : 2.5f;
      const float ay = cy - (small ? 1.3f : 1.7f);
      const Sdf ring = Outline(Circle(cx, ay, r + hw), 2 * hw);
      const Sdf cut = [=](float x, float y) {  // the lower left of the ring is open
        return (y > ay && x < cx + 0.3f) ? -1.0f : 1.0f;
      };
      const Sdf stem = Capsule(cx + 0.1f, ay + r - 0.2f, cx, ay + r + (small ? 0.9f : 1.4f), hw);
      const Sdf dot = Circle(cx, cy + (small ? 3.1f : 4.2f), hw + 0.15f);
      return Union(Union(Minus(ring, cut), stem), dot);
    }
    case Glyph::none:
      break;
  }
  return [](float, float) { return 1.0f; };
}

// state 0 normal, 1 hot, 2 pressed.
Canvas CaptionButton(int w, int h, int state, Glyph g, bool small, bool close) {
  Canvas c(w, h);
  const float fw = static_cast<float>(w), fh = static_cast<float>(h);
  const Sdf plate = RoundRect(1, 1, fw - 1, fh - 1, small ? 3.0f : 4.0f);
  Rgb ink = kCreamLight;
  if (state == 0) {
    c.Draw(plate, Solid(kWhite), 0.10f);
    c.DrawAlpha(Fade(Outline(plate, 1), 1, 0.30f, fh - 1, 0.10f), Solid(kWhite));
    ink = Hex(0xF4E7C5);
  } else {
    const Rgb top =
        close ? (state == 1 ? kTerracotta : kTerracottaDeep) : (state == 1 ? kGoldLight : kGold);
    const Rgb bottom =
        close ? (state == 1 ? kTerracottaDeep : Hex(0x7A2616)) : (state == 1 ? kGold : kGoldDeep);
    c.Draw(plate, VGrad(1, top, fh - 1, bottom));
    c.Draw(Outline(plate, 1), Solid(close ? kTerracottaDark : kGoldDark));
    if (state == 1) {
      c.DrawAlpha(Fade(Outline(Inset(plate, 1), 1), 2, 0.55f, fh / 2, 0.0f), Solid(kWhite));
    } else {
      c.DrawAlpha(Fade(Outline(Inset(plate, 1), 2), 2, 0.30f, fh / 2, 0.0f), Solid(kBlack));
    }
    ink = close ? Hex(0xFFF1D6) : kIndigoInk;
  }
  if (g != Glyph::none) {
    const float down = state == 2 ? 1.0f : 0.0f;
    const Sdf shape = GlyphShape(g, fw, fh, small);
    const Sdf moved = [=](float x, float y) { return shape(x, y - down); };
    const Sdf shadow = [=](float x, float y) { return shape(x, y - down - 1); };
    if (state == 0 || close) c.Draw(shadow, Solid(kIndigoDark), 0.45f);
    c.Draw(moved, Solid(ink));
  }
  return c;
}

std::vector<Canvas> CaptionFrames(int w, int h, Glyph g, bool small, bool close) {
  return {CaptionButton(w, h, 0, g, small, close), CaptionButton(w, h, 1, g, small, close),
          CaptionButton(w, h, 2, g, small, close)};
}

// A halo around a rounded shape: `inner` is the button's edge in the glow picture; the glow
// starts at that edge and fades out within about `reach` pixels. Nothing inside the button.
graphics::Bitmap Halo(int size, const Sdf& inner, float peak, float reach) {
  Canvas c(size, size);
  c.DrawAlpha(
      [=](float x, float y) {
        const float d = inner(x, y);
        if (d < 0) return 0.0f;
        return peak * std::exp(-(d / reach) * (d / reach));
      },
      Solid(kGoldGlow));
  return ToRgba(c);
}

// --- Controls ----------------------------------------------------------------------------------
// The push button: a pill with a one-pixel sogan edge, a light bevel along its upper inside and a
// soft shadow row under it pre-blended with the cream it stands on. 0 normal, 1 hot, 2 pressed.
Canvas PushButton(int state) {
  constexpr float kW = 19, kH = 19;
  Canvas c(19, 19);
  const Sdf pill = RoundRect(0, 0, kW, kH - 1, 8.5f);
  const Sdf shadow = RoundRect(0.5f, 1, kW - 0.5f, kH, 8.5f);
  // What of each pixel the pill does not cover shows the cream under the button.
  c.DrawAlpha(
      [&](float x, float y) {
        return 1.0f - Coverage(pill, static_cast<int>(x), static_cast<int>(y));
      },
      Solid(kCream));
  c.DrawAlpha(
      [&](float x, float y) {
        const int ix = static_cast<int>(x), iy = static_cast<int>(y);
        return 0.30f * Coverage(shadow, ix, iy) * (1.0f - Coverage(pill, ix, iy));
      },
      Solid(kSogan));
  const Rgb edge = state == 0 ? Hex(0x9A6E42) : state == 1 ? kGoldDeep : kSoganDark;
  c.Draw(Outline(pill, 1), Solid(edge));
  if (state == 2) {
    c.DrawAlpha(Fade(Outline(Inset(pill, 1), 2), 1, 0.22f, 8, 0.0f), Solid(kSoganDark));
  } else {
    c.DrawAlpha(Fade(Outline(Inset(pill, 1), 1), 1, state == 1 ? 0.85f : 0.75f, 10, 0.0f),
                Solid(kWhite));
    c.DrawAlpha(Fade(Outline(Inset(pill, 1), 1), 10, 0.0f, 17, 0.12f), Solid(kSogan));
  }
  c.KeyOutside(Union(pill, shadow));
  return c;
}

// A check box or radio glyph of `size` pixels; state 0 normal, 1 hot, 2 pressed; mark 0 none,
// 1 checked, 2 grayed.
Canvas CheckGlyph(int size, bool radio, int state, int mark) {
  Canvas c(size, size);
  const float s = static_cast<float>(size);
  const Sdf box = radio ? Circle(s / 2, s / 2, s / 2) : RoundRect(0, 0, s, s, 2.5f);
  const Rgb top = state == 2 ? Hex(0xEADCBC) : kCreamLight;
  const Rgb bottom = state == 2 ? Hex(0xDDCBA4) : Hex(0xEFE4CA);
  c.Draw(box, VGrad(0, top, s, bottom));
  c.Draw(Outline(box, 1), Solid(state == 0 ? kSoganLight : kGoldDeep));
  if (state == 1) c.Draw(Outline(Inset(box, 1), 1), Solid(kGold), 0.55f);
  const float m = s / 13.0f;  // drawn for 13 pixels, scaled
  if (mark == 1 && radio) {
    c.Draw(Circle(s / 2, s / 2, 2.6f * m), Solid(kIndigo));
    c.Draw(Circle(s / 2 - 0.7f * m, s / 2 - 0.8f * m, 0.9f * m), Solid(kWhite), 0.5f);
  } else if (mark == 1) {
    c.Draw(Union(Capsule(3.3f * m, 6.6f * m, 5.5f * m, 8.9f * m, 0.95f * m),
                 Capsule(5.5f * m, 8.9f * m, 9.8f * m, 3.9f * m, 0.95f * m)),
           Solid(kIndigo));
  } else if (mark == 2) {
    const Sdf dot = radio ? Circle(s / 2, s / 2, 2.4f * m)
                          : RoundRect(3.5f * m, 3.5f * m, s - 3.5f * m, s - 3.5f * m, 1);
    c.Draw(dot, Solid(kIndigo), 0.55f);
  }
  c.KeyOutside(box);
  return c;
}

std::vector<Canvas> CheckFrames(int size, bool radio, int mark) {
  return {CheckGlyph(size, radio, 0, mark), CheckGlyph(size, radio, 1, mark),
          CheckGlyph(size, radio, 2, mark)};
}

// Size grips: 2 × 2 dots, a dark sogan pixel pair under a light one.
Canvas Dots(int w, int h, const std::vector<std::pair<int, int>>& at) {
  Canvas c(w, h);
  for (auto [x, y] : at) {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    c.Draw(Box(fx + 1, fy + 1, fx + 3, fy + 3), Solid(kWhite), 0.9f);
    c.Draw(Box(fx, fy, fx + 2, fy + 2), Solid(kSoganLight));
  }
  return c;
}

// A plain edged frame: `rings` from the outside in, each a colour and an opacity.
Canvas Rings(int w, int h, float radius, const std::vector<std::pair<Rgb, float>>& rings,
             bool keyOutside) {
  Canvas c(w, h);
  const Sdf outer = RoundRect(0, 0, static_cast<float>(w), static_cast<float>(h), radius);
  for (std::size_t i = 0; i < rings.size(); ++i) {
    c.Draw(Outline(Inset(outer, static_cast<float>(i)), 1), Solid(rings[i].first), rings[i].second);
  }
  if (keyOutside) c.KeyOutside(outer);
  return c;
}

// Scroll-bar arrow: a chevron pointing along (dx, dy).
Canvas Arrow(int state, int dx, int dy) {
  Canvas c(9, 9);
  const float cx = 4.5f, cy = 4.5f;
  // Tip and the two ends for an upward chevron, turned to the direction.
  auto at = [&](float u, float v) {  // u across, v along (negative v = towards the tip)
    return std::pair<float, float>{cx + u * static_cast<float>(-dy) + v * static_cast<float>(-dx),
                                   cy + u * static_cast<float>(dx) + v * static_cast<float>(-dy)};
  };
  auto [tx, ty] = at(0, -1.3f);
  auto [ax, ay] = at(-2.6f, 1.3f);
  auto [bx, by] = at(2.6f, 1.3f);
  const Sdf chevron = Union(Capsule(ax, ay, tx, ty, 0.95f), Capsule(tx, ty, bx, by, 0.95f));
  const Rgb ink = state == 0 ? kSogan : state == 1 ? kIndigoInk : kCreamLight;
  c.Draw(chevron, Solid(ink));
  return c;
}

Canvas ScrollButton(int state) {
  Canvas c(15, 15);
  const Sdf plate = RoundRect(2, 2, 13, 13, 3.5f);
  if (state == 0) {
    c.Draw(plate, Solid(kWhite), 0.40f);
    c.Draw(Outline(plate, 1), Solid(kSoganLight), 0.45f);
  } else {
    c.Draw(plate, VGrad(2, state == 1 ? kGoldLight : kGold, 13, state == 1 ? kGold : kGoldDeep));
    c.Draw(Outline(plate, 1), Solid(kGoldDark));
  }
  return c;
}

// A vertical scroll thumb: an indigo pill (gold when hot, deep gold when pressed).
Canvas ThumbV(int state) {
  Canvas c(15, 15);
  const Sdf pill = RoundRect(3, 1, 12, 14, 4.5f);
  const Rgb left = state == 0 ? Hex(0x5B55A6) : state == 1 ? kGoldLight : kGold;
  const Rgb right = state == 0 ? Hex(0x3F3A8A) : state == 1 ? kGold : kGoldDeep;
  c.Draw(pill, HGrad(3, left, 12, right));
  c.Draw(Outline(pill, 1), Solid(state == 0 ? Hex(0x26215E) : kGoldDark));
  c.Draw(Outline(Inset(pill, 1), 1), Solid(kWhite), state == 0 ? 0.18f : 0.35f);
  c.KeyOutside(pill);
  return c;
}

Canvas ThumbGrip(int state) {
  Canvas c(7, 7);
  for (float y : {1.5f, 3.5f, 5.5f}) {
    c.Draw(Capsule(1.2f, y, 5.8f, y, 0.5f), Solid(state == 0 ? kCreamLight : kGoldDark),
           state == 0 ? 0.65f : 0.8f);
  }
  return c;
}

std::vector<Canvas> Transposed(const std::vector<Canvas>& frames) {
  std::vector<Canvas> out;
  for (const Canvas& f : frames) out.push_back(f.Transposed());
  return out;
}

template <class F>
std::vector<Canvas> Three(F make) {
  return {make(0), make(1), make(2)};
}

// --- Sections -------------------------------------------------------------------------------
void GlobalInfo(SkinWriter& w) {
  w.Section("GLOBALINFO");
  w.Value("VERSION", "7.2");
  w.Value("AUTHOR", "Sapala");
  w.Value("DESCRIPTION", "DiruriZedaz: indigo, sogan and gold, with a kawung batik title");
  w.Value("MASTERBITMAP", SkinWriter::kMasterName);
  w.Color("COLOR", kCream);
  w.Color("FONTCOLOR", kInk);
  w.Color("TCLEFT", kSogan);        // text of labels that follow the skin
  w.Color("TCTOP", Hex(0xA66A12));  // web label under the mouse
  w.Int("TCRIGHT", -1);
  w.Color("TCBOTTOM", Hex(0x2E2A8A));  // web label
  w.Color("HOTCOLOR", Hex(0xFFF8E6));
  w.Color("SHADOW1COLOR", kSoganDark);
  w.Int("SHADOW1OFFSET", 1);
  w.Int("SHADOW1BLUR", 2);
  w.Int("SHADOW1TRANSPARENCY", 40);
  w.Int("BORDERWIDTH", 4);
  w.Int("TITLEHEIGHT", 26);
  w.Int("MAXHEIGHT", 24);
  w.Int("FORMOFFSET", 4);
  w.Int("ALIGNOFFSET", 0);
  w.Int("CENTEROFFSET", 0);
  w.Int("BORDERMODE", 0);
  w.Color("BORDERCOLOR", kSandDark);
  w.Int("BISPACE", 2);
  w.Int("BIVALIGN", 0);
  w.Int("BIRIGHT", 4);
  w.Int("BILEFT", 4);
  w.Int("BITOP", 2);
  w.Int("BIKEEPHUE", 1);
  w.Int("BICONCLOSEGLOW", 6);
  w.Int("BICONCLOSEGLOWMARGIN", 4);
  w.Int("BICONMAXGLOW", 6);
  w.Int("BICONMAXGLOWMARGIN", 4);
  w.Int("BICONMINGLOW", 6);
  w.Int("BICONMINGLOWMARGIN", 4);

  w.Comment("Caption buttons: normal, hot, pressed; picture above its mask.");
  w.Icon("BICONCLOSE", CaptionFrames(19, 17, Glyph::close, false, true));
  w.Icon("BICLOSEALONE", CaptionFrames(27, 17, Glyph::close, false, true));
  w.Icon("BICONMAX", CaptionFrames(19, 17, Glyph::max, false, false));
  w.Icon("BICONNORM", CaptionFrames(19, 17, Glyph::restore, false, false));
  w.Icon("BICONMIN", CaptionFrames(19, 17, Glyph::min, false, false));
  w.Icon("BICONHELP", CaptionFrames(19, 17, Glyph::help, false, false));
  w.Icon("SICONCLOSE", CaptionFrames(15, 13, Glyph::close, true, true));
  w.Icon("SICONMAX", CaptionFrames(15, 13, Glyph::max, true, false));
  w.Icon("SICONNORM", CaptionFrames(15, 13, Glyph::restore, true, false));
  w.Icon("SICONMIN", CaptionFrames(15, 13, Glyph::min, true, false));
  w.Icon("SICONHELP", CaptionFrames(15, 13, Glyph::help, true, false));
  w.Icon("TITLEBUTTON", CaptionFrames(19, 17, Glyph::none, false, false));

  // The glow window reaches 10 - 4 = 6 pixels beyond the button: in the 21-pixel picture the
  // button's edge lies at 6 and its plate (one pixel inside) at 7, where the halo starts.
  w.Comment("Gold glows of the caption buttons.");
  const graphics::Bitmap glow = Halo(21, RoundRect(7, 7, 14, 14, 4), 0.70f, 2.4f);
  for (const char* icon :
       {"BICONCLOSE", "BICLOSEALONE", "BICONMAX", "BICONNORM", "BICONMIN", "BICONHELP",
        "SICONCLOSE", "SICONMAX", "SICONNORM", "SICONMIN", "SICONHELP"}) {
    w.PngImage(std::string(icon) + "GLOW0", "GLOWCAPTION.PNG", glow, {10, 10, 10, 10}, 1);
  }

  w.Comment("Check boxes and radio buttons: normal, hot, pressed.");
  w.Icon("BOXCHECKED", CheckFrames(13, false, 1));
  w.Icon("BOXUNCHECKED", CheckFrames(13, false, 0));
  w.Icon("BOXGRAYED", CheckFrames(13, false, 2));
  w.Icon("RADIOCHECKED", CheckFrames(13, true, 1));
  w.Icon("RADIOUNCHECKED", CheckFrames(13, true, 0));
  w.Icon("RADIOGRAYED", CheckFrames(13, true, 2));
  w.Icon("SMALLCHECKED", CheckFrames(11, false, 1));
  w.Icon("SMALLUNCHECKED", CheckFrames(11, false, 0));
  w.Icon("SMALLGRAYED", CheckFrames(11, false, 2));
  {
    Canvas check(13, 13);
    check.Draw(Union(Capsule(3.3f, 6.6f, 5.5f, 8.9f, 1.0f), Capsule(5.5f, 8.9f, 9.8f, 3.9f, 1.0f)),
               Solid(kIndigo));
    w.Icon("CHECK", {check});
  }
  w.Icon("GRIPIMAGE", {Dots(12, 12, {{9, 1}, {5, 5}, {9, 5}, {1, 9}, {5, 9}, {9, 9}})});
  w.Icon("GRIPHORZ", {Dots(12, 4, {{1, 1}, {5, 1}, {9, 1}})});
  w.Icon("GRIPVERT", {Dots(4, 12, {{1, 1}, {1, 5}, {1, 9}})});
}

void FormSections(SkinWriter& w) {
  w.Section("FORM");
  w.Int("STATES", 2);  // 0 inactive, 1 active
  w.Color("COLOR", kCream);
  w.Color("HOTCOLOR", kCream);
  w.Color("FONTCOLOR", kInk);
  w.Color("HOTFONTCOLOR", kInk);
  w.Bordered("BORDERSMASK", {FrameBorder(false), FrameBorder(true)}, {3, 3, 3, 3}, 0);

  w.Section("DIALOG");
  w.Value("PARENTCLASS", "FORM");

  w.Section("FORMTITLE");
  w.Int("STATES", 2);
  w.Color("COLOR", kSlateBottom);
  w.Gradient("GRADIENTDATA", {{kSlateTop, kSlateBottom, 100, 0}});
  w.Int("GRADIENTPERCENT", 50);
  w.Int("IMAGEPERCENT", 50);
  w.Texture("PATTERN", KawungTile(false), 0);
  w.Color("FONTCOLOR", kTitleTextInactive);
  w.Color("TCBOTTOM", kSlateDark);
  w.Color("HOTCOLOR", kIndigoBottom);
  w.Gradient("HOTGRADIENTDATA", {{kIndigoTop, kIndigoBottom, 100, 0}});
  w.Int("HOTGRADIENTPERCENT", 50);
  w.Int("HOTIMAGEPERCENT", 50);
  w.Texture("HOTPATTERN", KawungTile(true), 0);
  w.Color("HOTFONTCOLOR", kTitleText);
  w.Color("HOTTCBOTTOM", kIndigoDark);
  w.Bordered("BORDERSMASK", {TitleBorder(false), TitleBorder(true)}, {5, 5, 5, 1}, 0);
  w.Bordered("TITLEBAR", {TitleBarShade(false), TitleBarShade(true)}, {21, 2, 3, 2}, 0);

  w.Section("CAPTION");
  w.Int("STATES", 2);
  w.Color("COLOR", kIndigoBottom);
  w.Int("TRANSPARENCY", 100);
  w.Color("HOTCOLOR", kIndigoBottom);
  w.Int("HOTTRANSPARENCY", 100);
  w.Color("FONTCOLOR", kTitleTextInactive);
  w.Color("HOTFONTCOLOR", kTitleText);
  w.Bordered("BORDERSMASK", {CaptionPlaque(false), CaptionPlaque(true)}, {6, 4, 6, 4}, 4);
}

void ControlSections(SkinWriter& w) {
  w.Section("BUTTON");
  w.Int("STATES", 3);
  w.Color("COLOR", Hex(0xF6EEDA));
  w.Gradient("GRADIENTDATA", {{Hex(0xFFF9EC), Hex(0xE9DAB6), 100, 0}});
  w.Int("GRADIENTPERCENT", 100);
  w.Color("FONTCOLOR", kInk);
  w.Color("HOTCOLOR", Hex(0xF8E4AE));
  w.Gradient("HOTGRADIENTDATA", {{Hex(0xFFF5D6), Hex(0xEFCB76), 100, 0}});
  w.Int("HOTGRADIENTPERCENT", 100);
  w.Color("HOTFONTCOLOR", Hex(0x2A1A0C));
  w.Int("SHOWFOCUS", 1);
  w.Int("GLOW", 1);
  w.Int("GLOWMARGIN", 8);
  w.Color("GCOL", kGoldGlow);
  w.Color("HGCOL", kGoldGlow);
  w.Bordered("BORDERSMASK", Three(PushButton), {9, 9, 9, 9}, 0);
  w.PngImage("GLOW0", "GLOWBUTTON.PNG", Halo(33, RoundRect(8, 8, 25, 24, 8.5f), 0.62f, 3.2f),
             {16, 16, 16, 16}, 1);

  w.Section("SPEEDBUTTON");
  w.Value("PARENTCLASS", "BUTTON");

  w.Section("SPEEDBUTTON_SMALL");
  w.Int("STATES", 3);
  w.Color("COLOR", Hex(0xF4ECD8));
  w.Color("FONTCOLOR", kInk);
  w.Color("HOTCOLOR", Hex(0xF6DFA4));
  w.Color("HOTFONTCOLOR", kIndigoInk);
  w.Bordered("BORDERSMASK",
             {Rings(9, 9, 3, {{kSoganLight, 0.35f}, {kWhite, 0.5f}}, true),
              Rings(9, 9, 3, {{kGoldDeep, 1.0f}, {kWhite, 0.55f}}, true),
              Rings(9, 9, 3, {{kSoganDark, 1.0f}, {kSogan, 0.18f}}, true)},
             {4, 4, 4, 4}, 0);

  w.Section("CHECKBOX");
  w.Int("STATES", 2);
  w.Color("COLOR", kCream);
  w.Int("TRANSPARENCY", 100);
  w.Color("FONTCOLOR", kInk);
  w.Color("HOTCOLOR", kCream);
  w.Int("HOTTRANSPARENCY", 100);
  w.Color("HOTFONTCOLOR", kIndigoInk);

  w.Section("RADIOBUTTON");
  w.Value("PARENTCLASS", "CHECKBOX");

  w.Section("EDIT");
  w.Int("STATES", 2);  // 1 while focused
  w.Color("COLOR", kCreamLight);
  w.Color("FONTCOLOR", Hex(0x2A1A0C));
  w.Color("HOTCOLOR", kCreamLight);
  w.Color("HOTFONTCOLOR", Hex(0x2A1A0C));
  w.Bordered("BORDERSMASK",
             {Rings(5, 5, 1.5f, {{Hex(0xB89A72), 1.0f}, {kSogan, 0.10f}}, false),
              Rings(5, 5, 1.5f, {{Hex(0xC0922C), 1.0f}, {kGold, 0.30f}}, false)},
             {2, 2, 2, 2}, 0);

  w.Section("COMBOBOX");
  w.Value("PARENTCLASS", "EDIT");

  w.Section("GROUPBOX");
  w.Int("STATES", 1);
  w.Color("COLOR", kCream);
  w.Int("TRANSPARENCY", 100);
  w.Color("FONTCOLOR", kSogan);
  w.Bordered("BORDERSMASK", {Rings(9, 9, 3.5f, {{kSandDark, 1.0f}, {kWhite, 0.7f}}, false)},
             {4, 4, 4, 4}, 0);

  w.Section("PANEL");
  w.Int("STATES", 1);
  w.Color("COLOR", Hex(0xF2EAD6));
  w.Color("FONTCOLOR", kInk);
  {
    Canvas raised(3, 3);
    raised.Draw(Box(0, 0, 3, 3), Solid(kSogan), 0.35f);
    raised.Draw(Box(0, 0, 2, 2), Solid(kWhite), 0.85f);
    w.Bordered("BORDERSMASK", {raised}, {1, 1, 1, 1}, 0);
  }

  w.Section("PANEL_LOW");
  w.Value("PARENTCLASS", "PANEL");
  {
    Canvas sunken(3, 3);
    sunken.Draw(Box(0, 0, 3, 3), Solid(kWhite), 0.85f);
    sunken.Draw(Box(0, 0, 2, 2), Solid(kSogan), 0.35f);
    w.Bordered("BORDERSMASK", {sunken}, {1, 1, 1, 1}, 0);
  }

  w.Section("SELECTION");
  w.Int("STATES", 2);
  w.Color("COLOR", Hex(0x3A3480));
  w.Color("FONTCOLOR", Hex(0xFFF4D8));
  w.Color("HOTCOLOR", kGold);
  w.Color("HOTFONTCOLOR", kIndigoInk);

  w.Section("WEBBUTTON");
  w.Int("STATES", 2);
  w.Color("COLOR", kCream);
  w.Int("TRANSPARENCY", 100);
  w.Color("FONTCOLOR", Hex(0x2E2A8A));
  w.Color("HOTCOLOR", kCream);
  w.Int("HOTTRANSPARENCY", 100);
  w.Color("HOTFONTCOLOR", Hex(0xA66A12));
}

void MenuSections(SkinWriter& w) {
  w.Section("MAINMENU");
  w.Int("STATES", 1);
  w.Color("COLOR", kMenuCream);
  w.Color("FONTCOLOR", kInk);
  w.Bordered("BORDERSMASK",
             {Rings(7, 7, 3, {{kSogan, 1.0f}, {kGold, 0.9f}, {kCreamLight, 1.0f}}, true)},
             {3, 3, 3, 3}, 0, 3);

  w.Section("MENUITEM");
  w.Int("STATES", 2);
  w.Color("COLOR", kMenuCream);
  w.Int("TRANSPARENCY", 100);
  w.Color("FONTCOLOR", kInk);
  w.Color("HOTCOLOR", Hex(0xF3DC9C));
  w.Gradient("HOTGRADIENTDATA", {{Hex(0xF8E8BA), Hex(0xEDCD7E), 100, 0}});
  w.Int("HOTGRADIENTPERCENT", 100);
  w.Color("HOTFONTCOLOR", kIndigoInk);
  w.Bordered("BORDERSMASK",
             {Canvas(7, 7), Rings(7, 7, 2.5f, {{kGoldDeep, 0.85f}, {kWhite, 0.45f}}, true)},
             {3, 3, 3, 3}, 2);

  w.Section("MENULINE");
  w.Int("STATES", 1);
  w.Color("COLOR", Hex(0xEFE5CC));
  w.Color("FONTCOLOR", kInk);
  {
    Canvas line(3, 4);
    line.Draw(Box(0, 0, 3, 1), Solid(kWhite), 0.5f);
    line.Draw(Box(0, 2, 3, 3), Solid(kSogan), 0.12f);
    line.Draw(Box(0, 3, 3, 4), Solid(kSogan), 0.35f);
    w.Bordered("BORDERSMASK", {line}, {1, 1, 1, 2}, 0);
  }

  w.Section("ICOLINE");
  w.Int("STATES", 1);
  w.Color("COLOR", Hex(0xF0E6CE));
  {
    Canvas column(4, 3);
    column.Draw(Box(2, 0, 3, 3), Solid(kGold), 0.55f);
    column.Draw(Box(3, 0, 4, 3), Solid(kWhite), 0.6f);
    w.Bordered("BORDERSMASK", {column}, {1, 1, 2, 1}, 0);
  }

  w.Section("DIVIDERV");
  w.Int("STATES", 1);
  w.Color("COLOR", kMenuCream);
  {
    Canvas line(9, 2);
    const auto ends = [](float x, float) {
      return std::clamp(std::min(x, 9.0f - x) / 4.0f, 0.0f, 1.0f);
    };
    line.DrawAlpha([&](float x, float y) { return y < 1 ? 0.55f * ends(x, y) : 0.0f; },
                   Solid(kSoganLight));
    line.DrawAlpha([&](float x, float y) { return y > 1 ? 0.85f * ends(x, y) : 0.0f; },
                   Solid(kWhite));
    w.Bordered("BORDERSMASK", {line}, {4, 1, 4, 1}, 0);
  }

  w.Section("TOOLBAR");
  w.Int("STATES", 1);
  w.Color("COLOR", kIndigo);
  w.Gradient("GRADIENTDATA", {{Hex(0x3A3480), Hex(0x2A2566), 100, 0}});
  w.Int("GRADIENTPERCENT", 100);
  w.Color("FONTCOLOR", kGoldLight);

  w.Section("EXTRALINE");
  w.Int("STATES", 1);
  w.Color("COLOR", kIndigo);
  w.Gradient("GRADIENTDATA", {{Hex(0x2A2566), Hex(0x3F398C), 100, 0}});
  w.Int("GRADIENTPERCENT", 100);
  w.Color("FONTCOLOR", kGoldLight);
}

void ScrollSections(SkinWriter& w) {
  // Tracks: a sand groove with a hairline along the content side; pressed darker.
  for (const char* name : {"SCROLLBAR1V", "SCROLLBAR2V", "SCROLLBAR1H", "SCROLLBAR2H"}) {
    const bool vertical = name[std::string(name).size() - 1] == 'V';
    w.Section(name);
    w.Int("STATES", 3);
    w.Color("COLOR", kSand);
    w.Color("HOTCOLOR", Hex(0xE6D8B8));
    std::vector<Canvas> frames;
    for (int s = 0; s < 3; ++s) {
      Canvas c(5, 5);
      c.Draw(vertical ? Box(0, 0, 1, 5) : Box(0, 0, 5, 1), Solid(kSandDark), s == 2 ? 1.0f : 0.8f);
      frames.push_back(c);
    }
    w.Bordered("BORDERSMASK", frames, {2, 2, 2, 2}, 0);
  }
  const struct {
    const char* name;
    int dx, dy;
  } buttons[] = {{"SCROLLBTNTOP", 0, -1},
                 {"SCROLLBTNBOTTOM", 0, 1},
                 {"SCROLLBTNLEFT", -1, 0},
                 {"SCROLLBTNRIGHT", 1, 0}};
  for (const auto& b : buttons) {
    w.Section(b.name);
    w.Int("STATES", 3);
    w.Color("COLOR", kSand);
    w.Color("HOTCOLOR", kSand);
    w.Color("FONTCOLOR", kSogan);
    w.Color("HOTFONTCOLOR", kIndigoInk);
    w.Bordered("BORDERSMASK", Three(ScrollButton), {7, 7, 7, 7}, 0);
    w.Icon("GLYPHMASK", Three([&](int s) { return Arrow(s, b.dx, b.dy); }));
  }
  w.Section("SCROLLSLIDERV");
  w.Int("STATES", 3);
  w.Color("COLOR", kSand);
  w.Color("HOTCOLOR", kSand);
  w.Bordered("BORDERSMASK", Three(ThumbV), {7, 7, 7, 7}, 4);
  w.Icon("GLYPHMASK", Three(ThumbGrip));
  w.Section("SCROLLSLIDERH");
  w.Int("STATES", 3);
  w.Color("COLOR", kSand);
  w.Color("HOTCOLOR", kSand);
  w.Bordered("BORDERSMASK", Transposed(Three(ThumbV)), {7, 7, 7, 7}, 4);
  w.Icon("GLYPHMASK", Transposed(Three(ThumbGrip)));
}

}  // namespace

void DrawDiruriZedaz(SkinWriter& w) {
  w.Comment("DiruriZedaz: drawn by skingen; regenerate with the build target \"skin\".");
  GlobalInfo(w);
  FormSections(w);
  ControlSections(w);
  MenuSections(w);
  ScrollSections(w);
}

}  // namespace sapala::skingen
