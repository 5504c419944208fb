// Validation of a skin editor's preview record; see preview_record.h.
#include "core/skin/preview_record.h"

#include <algorithm>

namespace sapala::skin {

namespace {

// The text of a field that must end with a NUL inside itself; nullopt when it has none.
std::optional<std::string> Field(std::span<const std::uint8_t> field) {
  const auto nul = std::find(field.begin(), field.end(), std::uint8_t{0});
  if (nul == field.end()) return std::nullopt;
  return std::string(field.begin(), nul);
}

}  // namespace

std::optional<SkinPreviewRecord> SkinPreviewRecord::Parse(std::span<const std::uint8_t> data) {
  if (data.size() != kSize) return std::nullopt;
  const std::uint32_t command = std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                                std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24;
  if (command != kCommand) return std::nullopt;
  auto name = Field(data.subspan(kNameOffset, kNameBytes));
  auto folder = Field(data.subspan(kFolderOffset, kFolderBytes));
  auto text = Field(data.subspan(kTextOffset, kTextBytes));
  if (!name || !folder || !text) return std::nullopt;
  SkinPreviewRecord r;
  r.name = std::move(*name);
  r.folder = std::move(*folder);
  r.text = std::move(*text);
  return r;
}

bool IsPreviewSwitch(std::string_view argument) {
  constexpr std::string_view kSwitch = "/lcpreview";
  if (argument.size() != kSwitch.size()) return false;
  for (std::size_t i = 0; i < kSwitch.size(); ++i) {
    char c = argument[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kSwitch[i]) return false;
  }
  return true;
}

}  // namespace sapala::skin
