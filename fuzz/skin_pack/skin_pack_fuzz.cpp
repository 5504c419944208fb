// Fuzzes the packed-skin reader and, for what it accepts, the table build from the packed
// contents (pictures decoded from the entries).
#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>

#include "../skin_fuzz_support.h"
#include "core/skin/skin_pack.h"
#include "core/skin/skin_tables.h"
#include "core/skin/skin_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sapala::skin;
  fuzzing::FuzzFileSystem fs;
  fuzzing::QuietPlatform platform;
  try {
    TlcSkinConvertor pack;
    pack.ReadPacked(std::span<const std::uint8_t>(data, size));
    for (const auto& item : pack.Items()) pack.FindItem(UpperAscii(item.Name));
    const SkinText text = SkinText::Parse(pack.SkinText());
    SkinSource src;
    src.text = &text;
    src.packed = &pack;
    src.skinPath = "C:\\S\\";
    BuildSettings settings;
    SkinTables t;
    t.Build(src, settings, BuildEnvironment{fs, platform, nullptr});
  } catch (const std::exception&) {
  }
  return 0;
}
