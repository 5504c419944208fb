// Building the image table, the master bitmap and the pattern table from the value forms of the
// skin text ("!", "@", "^", "~", plain ".BMP" file, "#", and JPEG textures).
//
// Rectangles of the master bitmap come from outside data and are kept as written; everything
// that reads pixels through them (the corner scan here, painting elsewhere) clips to the bitmap.
#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "core/codecs/bmp.h"
#include "core/codecs/jpeg.h"
#include "core/codecs/png.h"
#include "core/skin/file_system.h"
#include "core/skin/skin_build_detail.h"
#include "core/skin/skin_error.h"
#include "core/skin/skin_pack.h"
#include "core/skin/skin_text.h"
#include "core/skin/skin_values.h"

namespace sapala::skin::detail {
namespace {

using graphics::Bitmap;
using graphics::Rect;

constexpr std::size_t kMaxPictureFileBytes = 64u << 20;

// Limits for one skin picture, tighter than the readers' defaults: skin artwork is small, and a
// damaged skin must not make the loader take hundreds of megabytes for one picture.
codecs::DecodeLimits SkinPictureLimits() {
  codecs::DecodeLimits l;
  l.maxWidth = 8192;
  l.maxHeight = 8192;
  l.maxPictureBytes = std::size_t{64} << 20;
  l.maxInflatedBytes = std::size_t{96} << 20;
  return l;
}

// Counts a decoded picture against the load's budget.
void Account(SkinTables& t, const Bitmap& b) {
  const std::size_t bytes =
      static_cast<std::size_t>(b.Width()) * static_cast<std::size_t>(b.Height()) * 4;
  t.DecodedBytes += bytes;
  if (t.DecodedBytes > t.DecodeBudget) {
    throw SkinError("The skin's pictures are too large");
  }
}

bool Contains(std::string_view s, std::string_view what) {
  return s.find(what) != std::string_view::npos;
}

// False when `value` surely names no JPEG file: it has no ".J" or ".j" before a "P" or "p".
bool MayNameJpeg(std::string_view value) {
  for (std::size_t i = value.find('.'); i != std::string_view::npos; i = value.find('.', i + 1)) {
    if (i + 2 < value.size() && (value[i + 1] | 0x20) == 'j' && (value[i + 2] | 0x20) == 'p')
      return true;
  }
  return false;
}

std::int16_t I16(std::int32_t v) { return static_cast<std::int16_t>(v); }

// A field of `len` characters at 1-based position `pos`, read strictly as an integer.
std::int32_t Field(std::string_view value, std::size_t pos, std::size_t len) {
  std::string_view f = pos - 1 < value.size() ? value.substr(pos - 1, len) : std::string_view();
  return StrToInt(TrimBlanks(f));
}

Bitmap To32(Bitmap b) {
  if (b.Format() == graphics::PixelFormat::pf32bit) return b;
  if (b.Format() == graphics::PixelFormat::pf24bit) {
    // Row by row: most skin pictures are 24-bit BMP files, and this is their hot path. Every
    // pixel is written.
    Bitmap out = Bitmap::ForOverwrite(b.Width(), b.Height(), graphics::PixelFormat::pf32bit);
    for (int y = 0; y < b.Height(); ++y) {
      const std::uint8_t* s = b.ScanLine(y);
      std::uint32_t* d = out.Row32(y);
      for (int x = 0; x < b.Width(); ++x, s += 3) {
        d[x] = 0xFF000000u | std::uint32_t{s[0]} | std::uint32_t{s[1]} << 8 |
               std::uint32_t{s[2]} << 16;
      }
    }
    return out;
  }
  return graphics::ConvertTo32(b);
}

// True when the header of a BMP or PNG file declares a width of 0. Such a picture makes no
// image and is no error, while the readers refuse it as malformed.
bool DeclaresZeroWidth(std::span<const std::uint8_t> b) {
  auto le32 = [&](std::size_t o) {
    return static_cast<std::uint32_t>(b[o]) | static_cast<std::uint32_t>(b[o + 1]) << 8 |
           static_cast<std::uint32_t>(b[o + 2]) << 16 | static_cast<std::uint32_t>(b[o + 3]) << 24;
  };
  if (b.size() >= 26 && b[0] == 'B' && b[1] == 'M') {
    const std::uint32_t header = le32(14);
    if (header == 12) return (b[18] | b[19] << 8) == 0;  // core header: 16-bit width
    return le32(18) == 0;
  }
  if (b.size() >= 20 && codecs::IsPng(b)) {
    return b[16] == 0 && b[17] == 0 && b[18] == 0 && b[19] == 0;  // IHDR width, big-endian
  }
  return false;
}

Bitmap DecodeBmp(const PictureBytes& p) {
  if (p.item != nullptr && !p.item->Pixels.Empty()) return p.item->Pixels.Clone();
  if (DeclaresZeroWidth(p.bytes)) return Bitmap();
  return To32(codecs::ReadBmp(p.bytes, SkinPictureLimits()));
}
// PNG pictures are prepared for alpha blending: colours stay unpremultiplied (they are
// premultiplied only when handed to the compositor), but fully transparent white is cleared so
// that blending and filtering cannot bleed it into the edges.
Bitmap DecodePng(const PictureBytes& p) {
  if (DeclaresZeroWidth(p.bytes)) return Bitmap();
  Bitmap b = To32(codecs::ReadPng(p.bytes, SkinPictureLimits()));
  codecs::ClearTransparentWhite(b);
  return b;
}

// The pictures decoded during one load, by how they were found. A skin names one picture file
// under many keys (one glow picture serves every caption button), and a file is read and decoded
// once per load. Every image still gets a picture of its own: hue and saturation changes, and
// anything else that prepares an image, work on one image at a time. The cache lives only while
// the images are made, when nothing changes their pictures yet.
class PictureCache {
 public:
  // The picture that `decode` makes for `name`, decoded on the first request for the same
  // `lookup` and name, and a copy of it on every later one; nullptr when `decode` made an empty
  // bitmap. `lookup` tells apart the ways of finding and decoding a picture, which may give
  // different results for one name.
  template <class Decode>
  std::shared_ptr<Bitmap> Get(std::string_view lookup, std::string_view name, Decode&& decode) {
    std::string key(lookup);
    key += '|';
    key += name;
    auto it = pictures_.find(key);
    if (it != pictures_.end()) {
      return it->second ? std::make_shared<Bitmap>(it->second->Clone()) : nullptr;
    }
    Bitmap pic = decode();
    std::shared_ptr<Bitmap> first =
        pic.Width() == 0 ? nullptr : std::make_shared<Bitmap>(std::move(pic));
    pictures_.emplace(std::move(key), first);
    return first;
  }

 private:
  std::map<std::string, std::shared_ptr<Bitmap>, std::less<>> pictures_;
};

void CheckRoom(const SkinTables& t) {
  if (t.Images.size() >= static_cast<std::size_t>(SkinTables::kMaxImages)) {
    throw SkinError("The skin defines too many images");
  }
}

// Border widths from thirds of a frame, for images that give none.
void ThirdBorders(TsMaskData& m, int width, int height, int frameCount, int rowsTimes3) {
  const int fc = std::max(1, frameCount);
  m.LeftBorder = I16(width / (fc * 3));
  m.TopBorder = I16(rowsTimes3 > 0 ? height / rowsTimes3 : 0);
  m.RightBorder = m.LeftBorder;
  m.BottomBorder = m.TopBorder;
}

std::int16_t CornerMark(const Bitmap& pic, const TsMaskData& m);

void AddBang(SkinTables& t, PictureCache& pictures, const SkinSource& src, const FileSystem& fs,
             std::string_view section, std::string_view key, std::string_view value) {
  auto words = SplitWords(value, "!");
  if (words.empty()) return;
  std::string_view name = words[0];
  const bool bmp = Contains(name, ".BMP");
  if (!bmp && !Contains(name, ".PNG")) return;
  std::shared_ptr<Bitmap> pic = pictures.Get(bmp ? "!B" : "!P", name, [&] {
    auto bytes = FindPicture(src, fs, name, name);
    if (!bytes) return Bitmap();
    return bmp ? DecodeBmp(*bytes) : DecodePng(*bytes);
  });
  if (!pic) return;
  Account(t, *pic);
  auto word = [&](std::size_t i) {  // 1-based; a missing or non-numeric word counts as 0
    return i <= words.size() ? StrToIntDef(words[i - 1], 0) : 0;
  };
  CheckRoom(t);
  TsMaskData m;
  m.Section = std::string(section);
  m.Key = std::string(key);
  m.Rect = pic->Bounds();
  m.FrameCount = I16(word(2));
  m.MaskKind = I16(word(3));
  m.ImageKind = static_cast<std::uint8_t>(std::clamp(word(4), 0, 4));
  if (words.size() >= 5) {
    m.LeftBorder = I16(word(5));
    m.TopBorder = I16(word(6));
    m.RightBorder = I16(word(7));
    m.BottomBorder = I16(word(8));
  } else {
    ThirdBorders(m, pic->Width(), pic->Height(), m.FrameCount, (m.MaskKind + 1) * 3);
  }
  m.DrawMode = I16(words.size() >= 9 ? word(9) : 1);
  m.Image = std::move(pic);
  if (m.ImageKind == 0) m.TransparentCorners = CornerMark(*m.Image, m);
  t.Images.push_back(std::move(m));
}

// 2 for the huge button's border mask, else the corner scan.
std::int16_t CornerMark(const Bitmap& pic, const TsMaskData& m) {
  if (m.Section == "BUTTON_HUGE" && m.Key == "BORDERSMASK") return 2;
  return ScanCorners(pic, m);
}

Rect FixedRect(std::string_view v) {
  return Rect{Field(v, 2, 4), Field(v, 7, 4), Field(v, 12, 4), Field(v, 17, 4)};
}

void AddAt(SkinTables& t, std::string_view section, std::string_view key, std::string_view v) {
  CheckRoom(t);
  TsMaskData m;
  m.Section = std::string(section);
  m.Key = std::string(key);
  m.Rect = FixedRect(v);
  m.FrameCount = I16(Field(v, 22, 1));
  m.MaskKind = I16(Field(v, 24, 1));
  m.ImageKind = 2;
  t.Images.push_back(std::move(m));
}

void AddCaret(SkinTables& t, double version, std::string_view section, std::string_view key,
              std::string_view v) {
  CheckRoom(t);
  TsMaskData m;
  m.Section = std::string(section);
  m.Key = std::string(key);
  m.Rect = FixedRect(v);
  m.LeftBorder = I16(Field(v, 22, 4));
  m.TopBorder = I16(Field(v, 27, 4));
  m.RightBorder = I16(Field(v, 32, 4));
  m.BottomBorder = I16(Field(v, 37, 4));
  m.FrameCount = I16(Field(v, 42, 1));
  m.MaskKind = I16(Field(v, 44, 1));
  m.DrawMode = I16(Field(v, 46, 1));
  m.BorderWidth = I16(Field(v, 48, 1));
  m.ImageKind = 0;
  const int fc = std::max<int>(1, m.FrameCount);
  if (version < 7.4 && m.MaskKind > 0) {
    const int midW = m.Rect.width() / fc - m.LeftBorder - m.RightBorder;
    const int midH = m.Rect.height() / (m.MaskKind + 1) - m.TopBorder - m.BottomBorder;
    if (midW == 1 && midH == 1) {
      m.DrawMode = I16(m.DrawMode | 1);
    } else {
      m.DrawMode = I16(m.DrawMode & ~1);
    }
  }
  if (m.LeftBorder + m.TopBorder + m.RightBorder + m.BottomBorder == 0) {
    if (m.BorderWidth != 0) {
      m.LeftBorder = m.TopBorder = m.RightBorder = m.BottomBorder = m.BorderWidth;
    } else {
      ThirdBorders(m, m.Rect.width(), m.Rect.height(), m.FrameCount, (m.MaskKind + 1) * 3);
    }
  }
  m.TransparentCorners = CornerMark(t.MasterBitmap, m);
  t.Images.push_back(std::move(m));
}

void AddTilde(SkinTables& t, std::string_view section, std::string_view key, std::string_view v) {
  CheckRoom(t);
  TsMaskData m;
  m.Section = std::string(section);
  m.Key = std::string(key);
  m.Rect = FixedRect(v);
  m.DrawMode = I16(Field(v, 22, 2));
  m.MaskKind = I16(v.size() < 25 ? 0 : Field(v, 25, 1));
  m.ImageKind = 1;
  m.FrameCount = 1;
  t.Images.push_back(std::move(m));
}

// Plain ".BMP" picture file. `packedAllowed` is false for common sections, whose pictures are
// always files beside the skin.
void AddPlainFile(SkinTables& t, PictureCache& pictures, const SkinSource& src,
                  const FileSystem& fs, std::string_view section, std::string_view key,
                  std::string_view value, bool packedAllowed) {
  const std::string upper = UpperAscii(value);
  if (!Contains(upper, ".BMP")) return;
  std::shared_ptr<Bitmap> pic = pictures.Get(packedAllowed ? "=" : "=F", value, [&] {
    auto bytes = packedAllowed ? FindPicture(src, fs, value, upper)
                               : FindPictureFile(src.skinPath, fs, value);
    return bytes ? DecodeBmp(*bytes) : Bitmap();
  });
  if (!pic) return;
  Account(t, *pic);
  CheckRoom(t);
  TsMaskData m;
  m.Section = UpperAscii(section);
  m.Key = UpperAscii(key);
  m.Rect = pic->Bounds();
  m.FrameCount = 3;
  m.MaskKind = 1;
  m.ImageKind = 0;
  m.LeftBorder = I16(pic->Width() / 9);
  m.TopBorder = I16(pic->Height() / 6);
  m.RightBorder = m.LeftBorder;
  m.BottomBorder = m.TopBorder;
  m.Image = std::move(pic);
  m.TransparentCorners = CornerMark(*m.Image, m);
  t.Images.push_back(std::move(m));
}

void AddHash(SkinTables& t, std::string_view section, std::string_view key, std::string_view v) {
  auto words = SplitWords(v, " ()");
  if (words.size() < 2) return;  // no rectangle: nothing to make
  auto r = SplitWords(words[1], " ,");
  if (r.size() < 4) throw SkinError("'" + std::string(v) + "' is not a valid image rectangle");
  std::vector<std::string_view> p;
  if (words.size() >= 3) p = SplitWords(words[2], " ,");
  auto param = [&](std::size_t i, std::int32_t absent) {
    return i < p.size() ? StrToInt(p[i]) : absent;
  };
  CheckRoom(t);
  TsMaskData m;
  m.Section = UpperAscii(section);
  m.Key = UpperAscii(key);
  m.Rect = Rect{StrToInt(r[0]), StrToInt(r[1]), StrToInt(r[2]), StrToInt(r[3])};
  m.FrameCount = I16(std::max(1, param(0, 1)));
  m.MaskKind = I16(std::max(0, param(1, 0)));
  m.BorderWidth = I16(std::max(0, param(2, 0)));
  m.DrawMode = I16(param(3, 1));
  m.ImageKind = 0;
  if (m.BorderWidth != 0) {
    m.LeftBorder = m.TopBorder = m.RightBorder = m.BottomBorder = m.BorderWidth;
  } else {
    ThirdBorders(m, m.Rect.width(), m.Rect.height(), m.FrameCount, m.MaskKind * 3 + 3);
  }
  m.TransparentCorners = CornerMark(t.MasterBitmap, m);
  t.Images.push_back(std::move(m));
}

bool IsMasterKey(std::string_view section, std::string_view key) {
  return section == "GLOBALINFO" && key == "MASTERBITMAP";
}

// True when a value other than the master bitmap's own names `file` (upper-cased, anywhere in
// the value): then the master's picture may be asked for again.
bool NamedElsewhere(const SkinText& text, std::string_view file) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  auto same = [&](char a, char b) { return upper(a) == upper(b); };
  for (const SkinSection& s : text.Sections()) {
    for (const SkinKey& k : s.keys) {
      if (IsMasterKey(s.name, k.name) || k.value.size() < file.size()) continue;
      if (std::search(k.value.begin(), k.value.end(), file.begin(), file.end(), same) !=
          k.value.end()) {
        return true;
      }
    }
  }
  return false;
}

void LoadMaster(SkinTables& t, const SkinSource& src, const FileSystem& fs) {
  auto name = src.text->Read("GLOBALINFO", "MASTERBITMAP");
  if (!name || name->empty()) return;
  // Packed: the item whose upper-cased name equals the value as written. A picture the pack has
  // ready is taken over whole when no other value names its file.
  Bitmap b;
  if (src.packed != nullptr && !NamedElsewhere(*src.text, *name)) b = src.packed->TakePixels(*name);
  if (b.Empty()) {
    auto bytes = FindPicture(src, fs, *name, *name);
    if (!bytes) return;
    b = DecodeBmp(*bytes);
  }
  Account(t, b);
  b.transparent = true;
  b.transparentColor = graphics::clFuchsia;
  t.MasterBitmap = std::move(b);
}

}  // namespace

std::vector<std::string_view> SplitWords(std::string_view text, std::string_view delims) {
  std::vector<std::string_view> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of(delims, pos);
    if (end == std::string_view::npos) end = text.size();
    if (end > pos) out.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return out;
}

std::optional<PictureBytes> FindPictureFile(const std::string& skinPath, const FileSystem& fs,
                                            std::string_view name) {
  std::string path = Contains(name, ":") ? std::string(name) : skinPath + std::string(name);
  if (!fs.FileExists(path)) return std::nullopt;
  auto data = fs.ReadFile(path, kMaxPictureFileBytes);
  if (!data) throw SkinError("Cannot read picture file \"" + path + "\"");
  PictureBytes p;
  p.owned = std::move(*data);
  p.bytes = p.owned;
  return p;
}

std::optional<PictureBytes> FindPicture(const SkinSource& source, const FileSystem& fs,
                                        std::string_view name, std::string_view packedName) {
  if (source.packed != nullptr) {
    const TlcImageItem* item = source.packed->FindItem(packedName);
    if (item == nullptr) return std::nullopt;
    PictureBytes p;
    p.bytes = item->Data;
    p.item = item;
    return p;
  }
  return FindPictureFile(source.skinPath, fs, name);
}

std::int16_t ScanCorners(const Bitmap& pic, const TsMaskData& m) {
  if (pic.Empty() || pic.Format() != graphics::PixelFormat::pf32bit) return 0;
  const int fc = std::max<int>(1, m.FrameCount);
  const int rows = m.MaskKind + 1 > 0 ? m.MaskKind + 1 : 1;
  const int left = m.Rect.left;
  const int top = m.Rect.top;
  const int rightStart = left + m.Rect.width() / fc - m.RightBorder;
  const int bottomStart = top + m.Rect.height() / rows - m.BottomBorder;
  // Every range ends before the bitmap's last column and row at the latest.
  const int maxX = pic.Width() - 1;
  const int maxY = pic.Height() - 1;
  auto scan = [&](int x0, int w, int y0, int h) {
    const int x1 = std::min(x0 + std::max(0, w), maxX);
    const int y1 = std::min(y0 + std::max(0, h), maxY);
    for (int y = std::max(0, y0); y < y1; ++y) {
      const std::uint32_t* row = pic.Row32(y);
      for (int x = std::max(0, x0); x < x1; ++x) {
        if (graphics::IsKeyPixel(row[x])) return true;
      }
    }
    return false;
  };
  if (scan(left, m.LeftBorder, top, m.TopBorder) ||
      scan(rightStart, m.RightBorder, top, m.TopBorder) ||
      scan(left, m.LeftBorder, bottomStart, m.BottomBorder) ||
      scan(rightStart, m.RightBorder, bottomStart, m.BottomBorder)) {
    return 1;
  }
  return 0;
}

void LoadImages(SkinTables& t, const SkinSource& src, const BuildSettings& settings,
                const BuildEnvironment& env) {
  t.Images.clear();
  t.MasterBitmap = Bitmap();
  if (src.text == nullptr) return;
  LoadMaster(t, src, env.fs);
  PictureCache pictures;
  double version = 0;
  if (auto v = src.text->Read("GLOBALINFO", "VERSION")) version = ParseReal(*v).value_or(0);

  for (const SkinSection& s : src.text->Sections()) {
    for (const SkinKey& k : s.keys) {
      if (IsMasterKey(s.name, k.name)) continue;
      std::string_view v = k.value;
      if (v.empty()) continue;
      switch (v.front()) {
        case '!':
          AddBang(t, pictures, src, env.fs, s.name, k.name, v);
          break;
        case '@':
          AddAt(t, s.name, k.name, v);
          break;
        case '^':
          AddCaret(t, version, s.name, k.name, v);
          break;
        case '~':
          AddTilde(t, s.name, k.name, v);
          break;
        default:
          if (!Contains(v, "#")) {
            AddPlainFile(t, pictures, src, env.fs, s.name, k.name, v, true);
          } else if (v != "#") {
            AddHash(t, s.name, k.name, v);
          }
          break;
      }
    }
  }
  // The pictures of common sections: plain files beside the skin, and "#" rectangles when the
  // skin has a master bitmap.
  if (settings.commonSections != nullptr) {
    for (const SkinSection& s : settings.commonSections->Sections()) {
      for (const SkinKey& k : s.keys) {
        std::string_view v = k.value;
        if (v.empty() || IsMasterKey(s.name, k.name)) continue;
        if (!Contains(v, "#")) {
          if (v.front() != '!' && v.front() != '@' && v.front() != '^' && v.front() != '~') {
            AddPlainFile(t, pictures, src, env.fs, s.name, k.name, v, false);
          }
        } else if (v != "#" && !t.MasterBitmap.Empty()) {
          AddHash(t, s.name, k.name, v);
        }
      }
    }
  }
}

void LoadPatterns(SkinTables& t, const SkinSource& src, const BuildSettings& settings,
                  const BuildEnvironment& env) {
  t.Patterns.clear();
  auto isJpeg = [](std::string_view upper) {
    return Contains(upper, ".JPG") || Contains(upper, ".JPEG");
  };
  if (src.text != nullptr) {
    for (const SkinSection& s : src.text->Sections()) {
      for (const SkinKey& k : s.keys) {
        // Upper-cased only when it may name a JPEG file: most values name none.
        if (!MayNameJpeg(k.value)) continue;
        const std::string upper = UpperAscii(k.value);
        if (!isJpeg(upper)) continue;
        auto bytes = FindPicture(src, env.fs, k.value, upper);
        if (!bytes) continue;
        if (bytes->item != nullptr && (bytes->item->PixelsTaken || !bytes->item->Pixels.Empty())) {
          bytes->owned = EntryFileBytes(*bytes->item);  // a BMP entry named like a JPEG file
          bytes->bytes = bytes->owned;
        }
        Bitmap pic = To32(codecs::ReadJpeg(bytes->bytes, SkinPictureLimits()));
        if (pic.Width() == 0) continue;
        Account(t, pic);
        const std::int64_t pixels = std::int64_t{pic.Width()} * pic.Height();
        if (pixels >= SkinTables::kPatternMinPixels) {
          t.Patterns.push_back(TsPatternData{std::make_shared<Bitmap>(std::move(pic)),
                                             UpperAscii(s.name), UpperAscii(k.name)});
        } else {
          CheckRoom(t);
          TsMaskData m;
          m.Section = UpperAscii(s.name);
          m.Key = UpperAscii(k.name);
          m.Rect = pic.Bounds();
          m.ImageKind = 1;
          m.FrameCount = 1;
          m.Image = std::make_shared<Bitmap>(std::move(pic));
          t.Images.push_back(std::move(m));
        }
      }
    }
  }
  if (settings.commonSections != nullptr) {
    for (const SkinSection& s : settings.commonSections->Sections()) {
      for (const SkinKey& k : s.keys) {
        if (!MayNameJpeg(k.value)) continue;
        const std::string upper = UpperAscii(k.value);
        if (!isJpeg(upper)) continue;
        auto bytes = FindPictureFile(src.skinPath, env.fs, k.value);
        if (!bytes) continue;
        Bitmap pic = To32(codecs::ReadJpeg(bytes->bytes, SkinPictureLimits()));
        if (pic.Width() == 0) continue;
        Account(t, pic);
        t.Patterns.push_back(TsPatternData{std::make_shared<Bitmap>(std::move(pic)),
                                           UpperAscii(s.name), UpperAscii(k.name)});
      }
    }
  }
}

}  // namespace sapala::skin::detail
