// Fuzzes the skin editor's preview record: any bytes, of any length, are either refused or give
// three texts that lie inside their fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/skin/preview_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using sapala::skin::SkinPreviewRecord;
  const auto r = SkinPreviewRecord::Parse(std::span(data, size));
  if (r && (size != SkinPreviewRecord::kSize || r->name.size() >= SkinPreviewRecord::kNameBytes ||
            r->folder.size() >= SkinPreviewRecord::kFolderBytes ||
            r->text.size() >= SkinPreviewRecord::kTextBytes)) {
    std::abort();
  }
  return 0;
}
