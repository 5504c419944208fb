// skinsheet: a contact sheet of a skin, the way to look at a skin without Wine and to compare
// two skins: windows composed from the frame, title and caption-button parts (inactive and
// active), every section in each of its states, and every image of "GLOBALINFO" in each of its
// frames (glows around their buttons), all painted through the engine's element painting into
// one PNG with the names written under them.
//
//   skinsheet [--hue DEGREES] SKIN OUT.png
//
// SKIN is a skin folder (holding Options.dat) or a packed skin file (".lsz"). Elements stand on
// the skin's form colour, caption buttons on its active title colour.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "core/codecs/png_writer.h"
#include "core/graphics/pixels.h"
#include "core/skin/glow_picture.h"
#include "core/skin/skin_paint.h"
#include "tools/common/skin_tool.h"
#include "tools/skinsheet/label_font.h"

namespace {

using namespace sapala;
using graphics::Bitmap;
using graphics::Point;
using graphics::Rect;
using graphics::TColor;
using skin::ParentBackground;
using skin::SkinTables;

constexpr int kSheetWidth = 780;
constexpr int kGap = 12;
constexpr TColor kSheetColor = graphics::RgbColor(0xE4, 0xE2, 0xDE);
constexpr TColor kLabelColor = graphics::RgbColor(0x30, 0x30, 0x38);

struct Block {
  Bitmap picture;
  std::string label;
};

// Blocks flow left to right in rows under a heading.
struct Group {
  std::string heading;
  std::vector<Block> blocks;
};

Bitmap Filled(int w, int h, TColor color) {
  Bitmap b = graphics::NewBitmap32(w, h);
  graphics::FillBitmapRect(b, b.Bounds(), color);
  return b;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }
bool EndsWith(const std::string& s, const char* suffix) {
  const std::string x = suffix;
  return s.size() >= x.size() && s.compare(s.size() - x.size(), x.size(), x) == 0;
}

class SheetPainter {
 public:
  explicit SheetPainter(const skin::SkinManagerCore& manager)
      : t_(manager.Tables), formColor_(manager.FormColor()) {
    const int title = t_.FindSection("FORMTITLE");
    titleColor_ = title >= 0 ? t_.Sections[static_cast<std::size_t>(title)].HotColor
                             : graphics::RgbColor(0, 0, 0x80);
  }

  // A window of w × h with a title band of `band` pixels and the given caption buttons
  // (images of "GLOBALINFO"), in state 0 (inactive) or 1 (active); `hot` is the index of the
  // button drawn in its hot frame (-1 none).
  Bitmap Window(int w, int h, int band, int state, const std::vector<std::string>& buttons, int hot,
                const char* formSection) const {
    Bitmap b = Filled(w, h, kSheetColor);
    const ParentBackground under = ParentBackground::FromColor(kSheetColor);
    const int form = t_.FindSection(formSection);
    skin::PaintSection(t_, form, under, -1, -1, b, {0, 0}, b.Bounds(), state, state);
    const int title = t_.FindSection("FORMTITLE");
    const Rect bandRect{0, 0, w, band};
    skin::PaintSection(t_, title, under, -1, -1, b, {0, 0}, bandRect, state, state);
    // Caption buttons right to left, as the frame lays them out.
    const skin::TsSkinData& d = t_.SkinData;
    int x = w - d.IconRight;
    int total = d.IconRight;
    std::vector<std::pair<const skin::TsMaskData*, Point>> placed;
    for (const std::string& key : buttons) {
      const int i = t_.FindImageExact("GLOBALINFO", key);
      const skin::TsMaskData* m = t_.Image(i);
      if (m == nullptr) continue;
      const int bw = skin::FrameWidth(*m), bh = skin::FrameHeight(*m);
      x -= bw;
      placed.push_back({m, Point{x, (band - bh) / 2}});
      total += bw + d.IconSpacing;
      x -= d.IconSpacing;
    }
    if (const skin::TsMaskData* bar = t_.Image(t_.FindImage(title, "FORMTITLE", "TITLEBAR"))) {
      const Rect barRect{w - total - 2 * skin::FrameWidth(*bar), 0, w, band};
      skin::PaintBorderMask(b, barRect, false, state, *bar, ParentBackground::None());
    }
    const ParentBackground self = ParentBackground::FromBitmap(&b, 0, 0);
    for (std::size_t k = 0; k < placed.size(); ++k) {
      skin::PaintImageAt(b, placed[k].second, static_cast<int>(k) == hot ? 1 : 0, self,
                         *placed[k].first, true);
    }
    return b;
  }

  // A push button of the section on the form colour, with its glow in the hot state.
  Bitmap MessageBox(int state) const {
    Bitmap b = Window(200, 96, 22, state, {"BICONCLOSE"}, -1, "DIALOG");
    PaintChild(b, "BUTTON", graphics::RectOfSize(62, 60, 75, 23), state);
    return b;
  }

  Bitmap Section(int index, int state) const {
    const skin::TsGeneralData& s = t_.Sections[static_cast<std::size_t>(index)];
    const std::string& n = s.SectionName;
    Rect size = TileSize(n);
    Bitmap b = Filled(size.right, size.bottom, formColor_);
    const ParentBackground under = ParentBackground::FromColor(formColor_);
    Rect r = b.Bounds();
    if (n == "DIVIDERV") r = Rect{4, 2, size.right - 4, 4};
    skin::PaintSection(t_, index, under, -1, -1, b, r.topLeft(), r, state, state);
    // Glyphs that the scroll-bar painter puts on its buttons and thumbs.
    if (const skin::TsMaskData* glyph = t_.Image(t_.FindImageExact(n, "GLYPHMASK"))) {
      const Point at{(r.width() - skin::FrameWidth(*glyph)) / 2,
                     (r.height() - skin::FrameHeight(*glyph)) / 2};
      skin::PaintImageAt(b, at, state, ParentBackground::FromBitmap(&b, 0, 0), *glyph, true);
    }
    return b;
  }

  // Every frame of an image side by side, on the title colour for caption buttons and on the
  // form colour for the others.
  Bitmap Frames(const skin::TsMaskData& m) const {
    const int fw = skin::FrameWidth(m), fh = skin::FrameHeight(m);
    const int frames = std::max<int>(1, m.FrameCount);
    const bool caption = StartsWith(m.Key, "BICON") || StartsWith(m.Key, "SICON") ||
                         StartsWith(m.Key, "BICLOSE") || m.Key == "TITLEBUTTON";
    Bitmap b = Filled(frames * (fw + 4) + 4, fh + 8, caption ? titleColor_ : formColor_);
    const ParentBackground self = ParentBackground::FromBitmap(&b, 0, 0);
    for (int k = 0; k < frames; ++k)
      skin::PaintImageAt(b, Point{4 + k * (fw + 4), 4}, k, self, m, true);
    return b;
  }

  // A glow image around a control of w × h shown in its hot frame `icon` (or a section).
  Bitmap Glow(int glowIndex, int w, int h, int margin, const skin::TsMaskData* icon,
              const char* section) const {
    const skin::GlowPicture g =
        skin::BuildGlowPicture(t_, glowIndex, Rect{0, 0, w, h}, Rect{0, 0, w, h}, margin);
    const int pad = 6;
    const int gw = std::max(g.Picture.Width(), w), gh = std::max(g.Picture.Height(), h);
    Bitmap b = Filled(gw + 2 * pad, gh + 2 * pad, section ? formColor_ : titleColor_);
    const Point control{pad - std::min(0, g.Position.x), pad - std::min(0, g.Position.y)};
    if (section) {
      PaintChild(b, section, graphics::RectOfSize(control.x, control.y, w, h), 1);
    } else if (icon != nullptr) {
      skin::PaintImageAt(b, control, 1, ParentBackground::FromBitmap(&b, 0, 0), *icon, true);
    }
    if (!g.Picture.Empty()) {
      const Rect dest = graphics::RectOfSize(control.x + g.Position.x, control.y + g.Position.y,
                                             g.Picture.Width(), g.Picture.Height());
      graphics::ComposeOver(dest, g.Picture.Bounds(), g.Picture, false, {}, b);
    }
    return b;
  }

 private:
  // A control of `section` at `r` in `parent`: painted into a cache of its own over the
  // parent's picture, as a control paints, then copied in.
  void PaintChild(Bitmap& parent, const char* section, Rect r, int state) const {
    Bitmap cache = graphics::NewBitmap32(r.width(), r.height());
    skin::PaintSection(t_, t_.FindSection(section), ParentBackground::FromBitmap(&parent, 0, 0), -1,
                       -1, cache, r.topLeft(), cache.Bounds(), state, state);
    graphics::CopyBitmapRect(parent, r.topLeft(), cache, cache.Bounds());
  }

  static Rect TileSize(const std::string& n) {
    auto sz = [](int w, int h) { return Rect{0, 0, w, h}; };
    if (StartsWith(n, "SCROLLBAR")) return EndsWith(n, "V") ? sz(17, 60) : sz(60, 17);
    if (StartsWith(n, "SCROLLBTN")) return sz(17, 17);
    if (n == "SCROLLSLIDERV") return sz(17, 40);
    if (n == "SCROLLSLIDERH") return sz(40, 17);
    if (n == "FORMTITLE" || n == "CAPTION") return sz(120, 22);
    if (n == "FORM" || n == "DIALOG") return sz(90, 50);
    if (n == "MAINMENU" || StartsWith(n, "PANEL") || n == "GROUPBOX") return sz(80, 40);
    if (n == "ICOLINE") return sz(26, 40);
    if (n == "EXTRALINE") return sz(20, 50);
    if (n == "DIVIDERV") return sz(80, 6);
    if (n == "MENULINE") return sz(100, 19);
    if (n == "MENUITEM") return sz(100, 20);
    if (n == "CHECKBOX" || n == "RADIOBUTTON" || n == "WEBBUTTON") return sz(60, 17);
    return sz(75, 23);
  }

  const SkinTables& t_;
  TColor formColor_;
  TColor titleColor_;
};

// Several pictures side by side, 4 pixels apart.
Bitmap SideBySide(std::vector<Bitmap> parts) {
  int w = 0, h = 0;
  for (const Bitmap& p : parts) {
    w += p.Width() + 4;
    h = std::max(h, p.Height());
  }
  Bitmap b = Filled(std::max(1, w - 4), std::max(1, h), kSheetColor);
  int x = 0;
  for (const Bitmap& p : parts) {
    graphics::CopyBitmapRect(b, Point{x, 0}, p, p.Bounds());
    x += p.Width() + 4;
  }
  return b;
}

Bitmap Compose(const std::string& title, const std::vector<Group>& groups) {
  constexpr int kLabelH = skinsheet::kGlyphHeight + 4;
  // First pass: positions.
  struct Place {
    const Block* block;
    Point at;
  };
  std::vector<Place> places;
  std::vector<std::pair<std::string, Point>> headings;
  int y = kGap + skinsheet::kGlyphHeight + kGap;
  for (const Group& g : groups) {
    headings.push_back({g.heading, Point{kGap, y}});
    y += skinsheet::kGlyphHeight + 6;
    int x = kGap, rowH = 0;
    for (const Block& b : g.blocks) {
      const int bw = std::max(b.picture.Width(), skinsheet::LabelWidth(b.label));
      if (x > kGap && x + bw > kSheetWidth - kGap) {
        x = kGap;
        y += rowH + kGap;
        rowH = 0;
      }
      places.push_back({&b, Point{x, y}});
      x += bw + kGap;
      rowH = std::max(rowH, b.picture.Height() + kLabelH);
    }
    y += rowH + 2 * kGap;
  }
  Bitmap sheet = Filled(kSheetWidth, y, kSheetColor);
  skinsheet::DrawLabel(sheet, kGap, kGap, title, kLabelColor);
  for (const auto& [text, at] : headings) {
    skinsheet::DrawLabel(sheet, at.x, at.y, text, graphics::RgbColor(0x80, 0x20, 0x20));
  }
  for (const Place& p : places) {
    graphics::CopyBitmapRect(sheet, p.at, p.block->picture, p.block->picture.Bounds());
    skinsheet::DrawLabel(sheet, p.at.x, p.at.y + p.block->picture.Height() + 3, p.block->label,
                         kLabelColor);
  }
  return sheet;
}

int Usage() {
  std::fprintf(stderr, "usage: skinsheet [--hue DEGREES] SKIN OUT.png\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int hue = 0;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--hue" && i + 1 < argc) {
      try {
        hue = std::stoi(argv[++i]);
      } catch (const std::exception&) {
        return Usage();
      }
    } else {
      args.push_back(a);
    }
  }
  if (args.size() != 2) return Usage();
  tools::SkinTool tool;
  if (!tool.Prepare(args[0])) return Usage();
  tool.manager->SetHueOffset(hue);
  if (!tool.Load("skinsheet")) return 1;
  const SkinTables& t = tool.manager->Tables;
  const SheetPainter paint(*tool.manager);

  std::vector<Group> groups;
  Group windows{"WINDOWS: INACTIVE AND ACTIVE", {}};
  for (int state : {0, 1}) {
    windows.blocks.push_back(
        {paint.Window(200, 90, 22, state, {"BICONCLOSE", "BICONMIN"}, state ? 1 : -1, "FORM"),
         state ? "MAIN WINDOW (MIN HOT)" : "MAIN WINDOW"});
  }
  for (int state : {0, 1}) {
    windows.blocks.push_back(
        {paint.Window(168, 70, 19, state, {"SICONCLOSE"}, state ? 0 : -1, "FORM"),
         state ? "TOOL WINDOW (CLOSE HOT)" : "TOOL WINDOW"});
  }
  for (int state : {0, 1}) {
    windows.blocks.push_back(
        {paint.MessageBox(state), state ? "DIALOG, BUTTON HOT" : "DIALOG, BUTTON"});
  }
  groups.push_back(std::move(windows));

  Group sections{"SECTIONS, EACH STATE FROM 0", {}};
  for (int i = 0; i < static_cast<int>(t.Sections.size()); ++i) {
    const skin::TsGeneralData& s = t.Sections[static_cast<std::size_t>(i)];
    if (s.SectionName == "GLOBALINFO") continue;
    std::vector<Bitmap> states;
    for (int st = 0; st < std::max(1, s.States); ++st) states.push_back(paint.Section(i, st));
    sections.blocks.push_back({SideBySide(std::move(states)), s.SectionName});
  }
  groups.push_back(std::move(sections));

  Group images{"GLOBALINFO IMAGES, EACH FRAME; GLOWS AROUND THEIR BUTTONS", {}};
  const skin::TsSkinData& d = t.SkinData;
  for (int i = 0; i < static_cast<int>(t.Images.size()); ++i) {
    const skin::TsMaskData& m = t.Images[static_cast<std::size_t>(i)];
    if (m.Section != "GLOBALINFO") continue;
    if (EndsWith(m.Key, "GLOW0")) {
      const std::string iconKey = m.Key.substr(0, m.Key.size() - 5);
      const skin::TsMaskData* icon = t.Image(t.FindImageExact("GLOBALINFO", iconKey));
      if (icon == nullptr) continue;
      const int margin =
          StartsWith(iconKey, "BICONMIN") || StartsWith(iconKey, "SICONMIN")
              ? d.MinGlowMargin
              : (iconKey.find("CLOSE") != std::string::npos ? d.CloseGlowMargin : d.MaxGlowMargin);
      images.blocks.push_back(
          {paint.Glow(i, skin::FrameWidth(*icon), skin::FrameHeight(*icon), margin, icon, nullptr),
           m.Key});
      continue;
    }
    images.blocks.push_back({paint.Frames(m), m.Key});
  }
  const int button = t.FindSection("BUTTON");
  const int buttonGlow = skin::FindGlowImage(t, "BUTTON", "GLOW");
  if (button >= 0 && buttonGlow >= 0) {
    images.blocks.push_back(
        {paint.Glow(buttonGlow, 75, 23, t.Sections[static_cast<std::size_t>(button)].GlowMargin,
                    nullptr, "BUTTON"),
         "BUTTON GLOW0"});
  }
  groups.push_back(std::move(images));

  std::string title = "SKIN " + tool.manager->SkinName() + " " + tool.manager->SkinInfo();
  if (hue != 0) title += ", HUE " + std::to_string(hue);
  const Bitmap sheet = Compose(title, groups);
  const auto png = codecs::WritePng(sheet);
  std::ofstream out(args[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "skinsheet: cannot write %s\n", args[1].c_str());
    return 1;
  }
  std::printf("%s: %d x %d, %zu sections, %zu images\n", args[1].c_str(), sheet.Width(),
              sheet.Height(), t.Sections.size(), t.Images.size());
  return tool.platform.errors == 0 ? 0 : 1;
}
