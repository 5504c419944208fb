// Fuzzes skin text all the way into the tables: parsing, every image value form against a small
// master bitmap, sections with inheritance, the common-sections merge (the part of the input after
// the first NUL byte), indices, hue and saturation, the standard-part cache and extended borders.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "../skin_fuzz_support.h"
#include "core/skin/skin_tables.h"
#include "core/skin/skin_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sapala::skin;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string_view skin = input.substr(0, nul);
  const std::string_view common =
      nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
  fuzzing::FuzzFileSystem fs;
  fuzzing::QuietPlatform platform;
  try {
    const SkinText text = SkinText::Parse(skin);
    const SkinText commonText = SkinText::Parse(common);
    SkinSource src;
    src.text = &text;
    src.skinPath = "C:\\S\\";
    BuildSettings settings;
    settings.skinName = "F";
    settings.commonSections = commonText.Empty() ? nullptr : &commonText;
    settings.hueOffset = size % 360;
    settings.saturation = static_cast<int>(size % 211) - 105;
    settings.extendedBorders = true;
    SkinTables t;
    t.Build(src, settings, BuildEnvironment{fs, platform, nullptr});
    // Look-ups over whatever was built.
    for (std::size_t i = 0; i < t.Sections.size(); ++i) {
      const auto& s = t.Sections[i];
      t.FindImage(static_cast<int>(i), s.SectionName, "BORDERSMASK");
      t.FindPattern(static_cast<int>(i), s.SectionName, "PATTERN");
    }
    for (const auto& m : t.Images) {
      (void)(LeftWidth(m) + TopWidth(m) + RightWidth(m) + BottomWidth(m) + FrameWidth(m) +
             FrameHeight(m));
    }
  } catch (const std::exception&) {
    // Refusing malformed input with an error is the expected outcome.
  }
  return 0;
}
