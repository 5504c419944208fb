// Hand-made skin tables for painting tests: pictures drawn from character grids, images and
// sections added directly (no skin text), and a target bitmap read back as a grid.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/graphics/bitmap.h"
#include "core/skin/skin_tables.h"

namespace sapala::skin::testing {

struct BorderWidthsInit {
  int l = 1, t = 1, r = 1, b = 1;
};

// Pixel words by character: '.' fuchsia (key, alpha 255 as loaded from a 24-bit picture), '0'
// black (mask: take the picture), 'W' white (mask: keep the target), letters a-z distinct
// opaque colours.
inline std::uint32_t GridPixel(char c) {
  switch (c) {
    case '.':
      return 0xFFFF00FFu;
    case '0':
      return 0xFF000000u;
    case 'W':
      return 0xFFFFFFFFu;
    default:
      return 0xFF000000u | static_cast<std::uint32_t>(c - 'a' + 1) * 0x000A0B0Cu;
  }
}

inline graphics::Bitmap GridBitmap(const std::vector<std::string>& rows) {
  graphics::Bitmap b =
      graphics::NewBitmap32(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x)
      b.Row32(y)[x] = GridPixel(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
  }
  return b;
}

// The bitmap as a grid: characters of GridPixel where a pixel matches one (alpha ignored), '?'
// elsewhere.
inline std::vector<std::string> ReadGrid(const graphics::Bitmap& b) {
  std::map<std::uint32_t, char> back;
  back[0xFF00FFu] = '.';
  back[0x000000u] = '0';
  back[0xFFFFFFu] = 'W';
  for (char c = 'a'; c <= 'z'; ++c) back[GridPixel(c) & 0xFFFFFFu] = c;
  std::vector<std::string> out;
  for (int y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int x = 0; x < b.Width(); ++x) {
      auto it = back.find(b.Row32(y)[x] & 0xFFFFFFu);
      row.push_back(it == back.end() ? '?' : it->second);
    }
    out.push_back(row);
  }
  return out;
}

// A 32-bit bitmap filled with one grid character.
inline graphics::Bitmap Filled(int w, int h, char c) {
  graphics::Bitmap b = graphics::NewBitmap32(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.Row32(y)[x] = GridPixel(c);
  }
  return b;
}

// Adds an image whose picture is its own (rows of a grid); returns its index.
inline int AddImage(SkinTables& t, const std::vector<std::string>& rows, int frames, int maskKind,
                    BorderWidthsInit borders = {}, int drawMode = 1, int imageKind = 0,
                    const std::string& section = "S", const std::string& key = "BORDERSMASK") {
  TsMaskData m;
  m.Image = std::make_shared<graphics::Bitmap>(GridBitmap(rows));
  m.Rect = m.Image->Bounds();
  m.FrameCount = static_cast<std::int16_t>(frames);
  m.MaskKind = static_cast<std::int16_t>(maskKind);
  m.LeftBorder = static_cast<std::int16_t>(borders.l);
  m.TopBorder = static_cast<std::int16_t>(borders.t);
  m.RightBorder = static_cast<std::int16_t>(borders.r);
  m.BottomBorder = static_cast<std::int16_t>(borders.b);
  m.DrawMode = static_cast<std::int16_t>(drawMode);
  m.ImageKind = static_cast<std::uint8_t>(imageKind);
  m.Section = section;
  m.Key = key;
  m.Owner = &t;
  t.Images.push_back(std::move(m));
  return static_cast<int>(t.Images.size()) - 1;
}

}  // namespace sapala::skin::testing
