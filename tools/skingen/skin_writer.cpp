// Skin text formatting, the master-bitmap shelves and the files of the folder.
#include "tools/skingen/skin_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "core/codecs/bmp.h"
#include "core/codecs/png_writer.h"
#include "core/graphics/pixels.h"

namespace sapala::skingen {
namespace {

using graphics::Bitmap;
using graphics::Rect;

int Channel(float v) { return static_cast<int>(std::clamp(std::lround(v), 0L, 255L)); }

// The colour value 0x00BBGGRR of an RGB colour.
int ColorValue(Rgb c) { return Channel(c.r) | Channel(c.g) << 8 | Channel(c.b) << 16; }

// A fixed-width field: the loader reads four digits (or one) at fixed positions.
std::string Digits(int v, int width) {
  if (v < 0 || v >= (width == 4 ? 10000 : width == 2 ? 100 : 10)) {
    throw std::out_of_range("skingen: value " + std::to_string(v) + " does not fit its field");
  }
  char buf[8];
  std::snprintf(buf, sizeof buf, "%0*d", width, v);
  return buf;
}

std::string RectFields(Rect r) {
  return Digits(r.left, 4) + "," + Digits(r.top, 4) + "," + Digits(r.right, 4) + "," +
         Digits(r.bottom, 4);
}

}  // namespace

std::string FormatColor(Rgb c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "$%06X", static_cast<unsigned>(ColorValue(c)));
  return buf;
}

std::string FormatAt(Rect r, int frames, int maskKind) {
  return "@" + RectFields(r) + "," + Digits(frames, 1) + "," + Digits(maskKind, 1);
}

std::string FormatCaret(Rect r, Borders b, int frames, int maskKind, int drawMode,
                        int borderWidth) {
  return "^" + RectFields(r) + "," + Digits(b.left, 4) + "," + Digits(b.top, 4) + "," +
         Digits(b.right, 4) + "," + Digits(b.bottom, 4) + "," + Digits(frames, 1) + "," +
         Digits(maskKind, 1) + "," + Digits(drawMode, 1) + "," + Digits(borderWidth, 1);
}

std::string FormatTilde(Rect r, int drawMode, int maskKind) {
  return "~" + RectFields(r) + "," + Digits(drawMode, 2) + "," + Digits(maskKind, 1);
}

std::string FormatGradient(const std::vector<GradStop>& stops) {
  std::string out;
  for (const GradStop& s : stops) {
    if (!out.empty()) out += ";";
    out += std::to_string(ColorValue(s.from)) + ";" + std::to_string(ColorValue(s.to)) + ";" +
           std::to_string(s.percent) + ";" + std::to_string(s.mode) + ";0";
  }
  return out;
}

void SkinWriter::Section(const std::string& name) {
  if (!text_.empty()) text_ += "\r\n";
  text_ += "[" + name + "]\r\n";
}

void SkinWriter::Value(const std::string& key, const std::string& value) {
  text_ += key + "=" + value + "\r\n";
}

void SkinWriter::Comment(const std::string& text) { text_ += "; " + text + "\r\n"; }

Rect SkinWriter::Place(Bitmap picture) {
  const int w = picture.Width(), h = picture.Height();
  if (w + 1 > atlasWidth_) throw std::length_error("skingen: picture wider than the master bitmap");
  if (shelfX_ + w > atlasWidth_) {
    shelfY_ += shelfHeight_ + 1;
    shelfX_ = 0;
    shelfHeight_ = 0;
  }
  const Rect r = graphics::RectOfSize(shelfX_, shelfY_, w, h);
  shelfX_ += w + 1;
  shelfHeight_ = std::max(shelfHeight_, h);
  placed_.emplace_back(r, std::move(picture));
  return r;
}

Rect SkinWriter::PlaceFrames(const std::vector<Canvas>& frames) {
  if (frames.empty()) throw std::invalid_argument("skingen: an image without frames");
  const int fw = frames[0].Width(), fh = frames[0].Height();
  Canvas strip(fw * static_cast<int>(frames.size()), fh);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (frames[i].Width() != fw || frames[i].Height() != fh) {
      throw std::invalid_argument("skingen: frames of different sizes");
    }
    frames[i].CopyTo(strip, fw * static_cast<int>(i), 0);
  }
  return Place(ToPictureAndMask(strip));
}

Rect SkinWriter::Bordered(const std::string& key, const std::vector<Canvas>& frames, Borders b,
                          int drawMode, int borderWidth) {
  const Rect r = PlaceFrames(frames);
  Value(key, FormatCaret(r, b, static_cast<int>(frames.size()), 1, drawMode, borderWidth));
  return r;
}

Rect SkinWriter::Icon(const std::string& key, const std::vector<Canvas>& frames) {
  const Rect r = PlaceFrames(frames);
  Value(key, FormatAt(r, static_cast<int>(frames.size()), 1));
  return r;
}

Rect SkinWriter::Texture(const std::string& key, const Bitmap& picture, int drawMode) {
  const Rect r = Place(picture.Clone());
  Value(key, FormatTilde(r, drawMode, 0));
  return r;
}

void SkinWriter::PngImage(const std::string& key, const std::string& fileName,
                          const Bitmap& picture, Borders b, int drawMode) {
  const bool known =
      std::any_of(pngs_.begin(), pngs_.end(), [&](const auto& p) { return p.first == fileName; });
  if (!known) pngs_.emplace_back(fileName, codecs::WritePng(picture));
  Value(key, "!" + fileName + "!1!0!0!" + std::to_string(b.left) + "!" + std::to_string(b.top) +
                 "!" + std::to_string(b.right) + "!" + std::to_string(b.bottom) + "!" +
                 std::to_string(drawMode));
}

Bitmap SkinWriter::Master() const {
  int w = 0, h = 0;
  for (const auto& [r, _] : placed_) {
    w = std::max(w, r.right);
    h = std::max(h, r.bottom);
  }
  Bitmap m = graphics::NewBitmap32(w, h);
  for (int y = 0; y < h; ++y) std::fill_n(m.Row32(y), w, graphics::kKeyPixel);
  for (const auto& [r, pic] : placed_) {
    graphics::CopyBitmapRect(m, r.topLeft(), pic, pic.Bounds());
  }
  return m;
}

std::vector<skin::PackEntry> SkinWriter::Files() const {
  std::vector<skin::PackEntry> files;
  files.push_back({"Options.dat", skin::Bytes(text_.begin(), text_.end())});
  files.push_back({kMasterName, codecs::WriteBmp(Master())});
  auto pngs = pngs_;
  std::sort(pngs.begin(), pngs.end());
  for (auto& [name, bytes] : pngs) files.push_back({name, std::move(bytes)});
  return files;
}

}  // namespace sapala::skingen
