// The preview record a skin editor hands to the program with WM_COPYDATA (WParam 7): a 32-bit
// command 0xA400 (little-endian), the skin name (128 bytes), the skin folder (513 bytes) and the
// skin text (30001 bytes), 30646 bytes in all. Each text field holds its text followed by a NUL
// inside the field; whatever follows the NUL in a field is padding and ignored.
//
// The record comes from another process, so it is validated to the byte before anything is
// taken from it: a record of any other length, with another command, or with a field that has no
// NUL inside it is refused as a whole (the caller ignores it and answers 0).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sapala::skin {

struct SkinPreviewRecord {
  static constexpr std::uint32_t kCommand = 0xA400;
  static constexpr std::uint32_t kCopyDataKind = 7;  // COPYDATASTRUCT.dwData of a preview
  static constexpr std::size_t kCommandBytes = 4;
  static constexpr std::size_t kNameBytes = 128;
  static constexpr std::size_t kFolderBytes = 513;
  static constexpr std::size_t kTextBytes = 30001;
  static constexpr std::size_t kNameOffset = kCommandBytes;
  static constexpr std::size_t kFolderOffset = kNameOffset + kNameBytes;
  static constexpr std::size_t kTextOffset = kFolderOffset + kFolderBytes;
  static constexpr std::size_t kSize = kTextOffset + kTextBytes;
  static_assert(kSize == 30646);

  std::string name;
  std::string folder;
  std::string text;

  // The record in `data`, or nullopt when `data` is not exactly one well-formed record.
  static std::optional<SkinPreviewRecord> Parse(std::span<const std::uint8_t> data);
};

// The program's first argument asks it to announce its main window to the skin editor
// ("/lcpreview"), compared as the other switches are: ASCII letters in any case.
bool IsPreviewSwitch(std::string_view argument);

}  // namespace sapala::skin
