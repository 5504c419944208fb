// Internals shared by the files that build the skin tables. Not part of the skin core's API.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/skin/skin_pack.h"
#include "core/skin/skin_tables.h"

namespace sapala::skin::detail {

// Bytes of a picture: borrowed from the packed contents, or read from a file.
struct PictureBytes {
  std::vector<std::uint8_t> owned;
  std::span<const std::uint8_t> bytes;
  // The packed item found; its picture may be ready (Pixels), and `bytes` then holds only the
  // BMP file's header bytes.
  const TlcImageItem* item = nullptr;
};

// Packed: the item whose upper-cased name equals `packedName`. Folder: the file `name` relative
// to the skin path unless it contains ":". nullopt when there is no such picture.
std::optional<PictureBytes> FindPicture(const SkinSource& source, const FileSystem& fs,
                                        std::string_view name, std::string_view packedName);
std::optional<PictureBytes> FindPictureFile(const std::string& skinPath, const FileSystem& fs,
                                            std::string_view name);

// 1 when a pixel of a corner area of the image's first frame is fuchsia, else 0.
std::int16_t ScanCorners(const graphics::Bitmap& picture, const TsMaskData& m);

// Step 1 and 2 of a load: the master bitmap and the image table, then the pattern table.
void LoadImages(SkinTables& t, const SkinSource& source, const BuildSettings& settings,
                const BuildEnvironment& env);
void LoadPatterns(SkinTables& t, const SkinSource& source, const BuildSettings& settings,
                  const BuildEnvironment& env);

// Step 3: global values, version notice, sections, common sections, indices.
void ReadGlobals(SkinTables& t, const SkinText& text, const BuildSettings& settings,
                 const BuildEnvironment& env);
void BuildSections(SkinTables& t, const SkinText& text);
void MergeCommonSections(SkinTables& t, const SkinText& common);

// The look-ups of SkinTables (FindSection, FindImage, FindTexture, FindImageExact) prepared for
// many questions at once: per name, the first section of that name and the images of that
// section in table order (the images of a section are made one after another, so a name is
// hashed once per run). The answers are those of SkinTables. The lookup points into the tables,
// which must keep their sections and images (and their names) while it is used.
class ImageLookup {
 public:
  explicit ImageLookup(const SkinTables& t);
  int FindSection(std::string_view name) const;
  // As FindImage (textures false) and FindTexture (true): up the parent chain, at most as many
  // steps as there are sections.
  int Find(bool textures, int sectionIndex, std::string_view section, std::string_view key) const;
  int FindExact(std::string_view section, std::string_view key) const;

 private:
  struct Name {
    int section = -1;  // the first section of the name
    int first = 0;     // its images: order_[first, first + count)
    int count = 0;
  };
  std::span<const int> ImagesOf(std::string_view section) const;

  struct Section {
    int first = 0;  // the images of its name: order_[first, first + count)
    int count = 0;
    int parent = -1;  // the section its ParentClass names, -1 for none or itself
  };

  const SkinTables& t_;
  std::unordered_map<std::string_view, Name> names_;
  std::vector<int> order_;  // image indices grouped by section name
  std::vector<Section> bySection_;
};

void ResolveIndices(SkinTables& t, const ImageLookup& lookup);
// The standard-part cache of the tables (see SkinTables::RefreshStdCache).
StdPartCache StdPartCacheOf(const ImageLookup& lookup);
void ChangeHueAndSaturation(SkinTables& t, int hueOffset, int saturation);

// Splits at any of `delims`, skipping empty words.
std::vector<std::string_view> SplitWords(std::string_view text, std::string_view delims);

}  // namespace sapala::skin::detail
