// Writing a skin: the skin text in the value forms the loader reads, the master bitmap that the
// "@", "^" and "~" values cut their pictures from, and PNG pictures of their own ("!" values),
// gathered as the files of a skin folder, in a fixed order, so that one drawing gives the same
// bytes every time.
//
// Master bitmap: pictures are placed on shelves left to right in the order they are added, one
// key pixel apart; what no picture covers is the key colour. It is written as a 32-bit BMP whose
// key pixels are the word 0x00FF00FF and every other pixel has alpha 255.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/graphics/bitmap.h"
#include "core/graphics/geometry.h"
#include "core/skin/skin_pack.h"
#include "tools/skingen/paint.h"

namespace sapala::skingen {

struct Borders {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct GradStop {
  Rgb from, to;
  int percent = 100;  // share of the element's height (or width) this band takes
  int mode = 0;       // 0 bands top to bottom, 1 left to right
};

// Value texts of the image forms; character positions as the loader reads them.
std::string FormatColor(Rgb c);  // "$BBGGRR"
std::string FormatAt(graphics::Rect r, int frames, int maskKind);
std::string FormatCaret(graphics::Rect r, Borders b, int frames, int maskKind, int drawMode,
                        int borderWidth);
std::string FormatTilde(graphics::Rect r, int drawMode, int maskKind);
std::string FormatGradient(const std::vector<GradStop>& stops);

class SkinWriter {
 public:
  static constexpr const char* kMasterName = "MASTER.BMP";

  explicit SkinWriter(int atlasWidth) : atlasWidth_(atlasWidth) {}

  void Section(const std::string& name);
  void Value(const std::string& key, const std::string& value);
  void Int(const std::string& key, int value) { Value(key, std::to_string(value)); }
  void Color(const std::string& key, Rgb c) { Value(key, FormatColor(c)); }
  void Gradient(const std::string& key, const std::vector<GradStop>& stops) {
    Value(key, FormatGradient(stops));
  }
  void Comment(const std::string& text);

  // Frames side by side, each drawn with its mask row, as a nine-part border image ("^").
  // All frames have the same size. Returns the rectangle in the master bitmap.
  graphics::Rect Bordered(const std::string& key, const std::vector<Canvas>& frames, Borders b,
                          int drawMode, int borderWidth = 0);
  // Frames side by side with their mask row as a plain rectangle ("@"): icons and glyphs.
  graphics::Rect Icon(const std::string& key, const std::vector<Canvas>& frames);
  // An opaque texture ("~"), one frame without a mask row.
  graphics::Rect Texture(const std::string& key, const graphics::Bitmap& picture, int drawMode);
  // A PNG picture of its own ("!"), one frame, no mask row, image kind 0, with the given border
  // widths and draw mode. Several keys may name the same file; it is written once.
  void PngImage(const std::string& key, const std::string& fileName,
                const graphics::Bitmap& picture, Borders b, int drawMode);

  std::string OptionsText() const { return text_; }
  graphics::Bitmap Master() const;
  // The folder's files: "Options.dat", the master bitmap, then the PNG pictures by name.
  std::vector<skin::PackEntry> Files() const;

 private:
  graphics::Rect Place(graphics::Bitmap picture);
  graphics::Rect PlaceFrames(const std::vector<Canvas>& frames);

  int atlasWidth_;
  std::string text_;
  std::vector<std::pair<graphics::Rect, graphics::Bitmap>> placed_;
  int shelfX_ = 0, shelfY_ = 0, shelfHeight_ = 0;
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> pngs_;
};

}  // namespace sapala::skingen
