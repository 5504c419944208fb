// The tables of a loaded skin and their look-ups, and the builder that makes them from a skin
// text, its pictures (packed contents or files beside the text) and the manager's settings.
//
// Ownership: SkinTables owns every record and picture of the loaded skin. Build replaces the
// whole content; on an error part of the tables may have been built (the caller shows the error
// and still applies what is there).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/graphics/bitmap.h"
#include "core/skin/skin_data.h"

namespace sapala::skin {

class FileSystem;
class SkinPlatform;
class SkinText;
class TlcSkinConvertor;

// Indices of the standard parts, refreshed after every load; -1 when missing.
struct StdPartCache {
  int GlobalInfo = -1;
  // BOXCHECKED, BOXUNCHECKED, BOXGRAYED, RADIOCHECKED, RADIOUNCHECKED, RADIOGRAYED,
  // SMALLCHECKED, SMALLUNCHECKED, SMALLGRAYED
  std::array<int, 9> CheckBoxes = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
  int ExBorder = -1;
  int GripImage = -1, GripHorz = -1, GripVert = -1;
  int ComboBtn = -1, ComboBtnMask = -1, ComboBtnPattern = -1, ComboBtnHotPattern = -1;
  int ComboGlyph = -1;
  // TABTOP, TABBOTTOM, TABLEFT, TABRIGHT
  std::array<int, 4> Tabs = {-1, -1, -1, -1};
  std::array<int, 4> TabMasks = {-1, -1, -1, -1};
  // SCROLLBTNTOP, SCROLLBTNBOTTOM, SCROLLBTNLEFT, SCROLLBTNRIGHT, SCROLLSLIDERV, SCROLLSLIDERH
  std::array<int, 6> ScrollParts = {-1, -1, -1, -1, -1, -1};
  std::array<int, 6> ScrollMasks = {-1, -1, -1, -1, -1, -1};
  std::array<int, 6> ScrollGlyphs = {-1, -1, -1, -1, -1, -1};
  std::array<int, 6> ScrollPatterns = {-1, -1, -1, -1, -1, -1};
  std::array<int, 6> ScrollHotPatterns = {-1, -1, -1, -1, -1, -1};
  // SCROLLBAR1H, SCROLLBAR1V, SCROLLBAR2H, SCROLLBAR2V
  std::array<int, 4> ScrollBars = {-1, -1, -1, -1};
  std::array<int, 4> ScrollBarMasks = {-1, -1, -1, -1};
  std::array<int, 4> ScrollBarPatterns = {-1, -1, -1, -1};
  std::array<int, 4> ScrollBarHotPatterns = {-1, -1, -1, -1};
  int WebButton = -1;
};

// The outer shadow of extended borders: active and inactive picture and the margins by which
// it exceeds the window (all 0 when extended borders are off).
struct ExtBorderPictures {
  graphics::Bitmap Active;
  graphics::Bitmap Inactive;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The built-in shadow pictures "lcSHDA" and "lcSHDI" (decoded once at start-up).
struct BuiltInShadows {
  graphics::Bitmap Active;
  graphics::Bitmap Inactive;
};
// Decodes the two compiled-in shadow PNGs.
BuiltInShadows LoadBuiltInShadows();

// What a load reads from.
struct SkinSource {
  const SkinText* text = nullptr;  // the skin text; null or empty = no sections
  // The packed contents when the skin is packed. The build may take the master bitmap out of it.
  TlcSkinConvertor* packed = nullptr;
  std::string skinPath;  // folder for picture files, with trailing "\"
};

// The manager's settings a load depends on.
struct BuildSettings {
  std::string skinName;  // for the old-version notice
  const SkinText* commonSections = nullptr;
  int hueOffset = 0;
  int saturation = 0;
  bool extendedBorders = false;  // in effect (the platform offers layered windows)
  bool active = true;
  // Budget for all pictures decoded by this load; tests make it small.
  std::size_t maxDecodedBytes = std::size_t{512} << 20;
};

struct BuildEnvironment {
  const FileSystem& fs;
  SkinPlatform& platform;
  const BuiltInShadows* shadows = nullptr;
};

class SkinTables {
 public:
  static constexpr int kMaxSections = 4096;
  static constexpr int kMaxImages = 8192;
  static constexpr int kPatternMinPixels = 900000;

  TsSkinData SkinData;
  std::vector<TsGeneralData> Sections;  // TsGeneralDataArray
  std::vector<TsMaskData> Images;       // TsMaskArray
  std::vector<TsPatternData> Patterns;  // TsPatternArray
  graphics::Bitmap MasterBitmap;        // empty when the skin has none
  StdPartCache Cache;
  ExtBorderPictures ExtBorders;
  // Bytes of pictures decoded by the current load, checked against the settings' budget (a key
  // may name the same picture many times, so the budget is over decodes, not files).
  std::size_t DecodedBytes = 0;
  std::size_t DecodeBudget = 0;

  // Builds every table in order: images and master bitmap, patterns, global values (and the
  // version notice), sections, common sections, mask and texture indices, hue and saturation,
  // the standard-part cache and the extended-border pictures.
  void Build(const SkinSource& source, const BuildSettings& settings, const BuildEnvironment& env);

  // Frees the images, master bitmap, patterns and sections.
  void Clear();

  int FindSection(std::string_view name) const;
  int FindImage(int sectionIndex, std::string_view section, std::string_view key) const;
  int FindImageExact(std::string_view section, std::string_view key) const;
  int FindTexture(int sectionIndex, std::string_view section, std::string_view key) const;
  int FindPattern(int sectionIndex, std::string_view section, std::string_view key) const;
  // The image record or nullptr for an index out of range.
  const TsMaskData* Image(int index) const;

  void RefreshStdCache();
  // Rebuilds the extended-border pictures (margins 0 when not in effect).
  void BuildExtBorders(bool inEffect, const SkinPlatform& platform, const BuiltInShadows* shadows);

 private:
  enum class Table { images, textures, patterns };
  int FindIn(Table table, int sectionIndex, std::string_view section, std::string_view key) const;
};

}  // namespace sapala::skin
