// Colour values as the skin tables hold them: 32-bit 0x00BBGGRR (red in the low byte), signed,
// because -1 means "none" and a negative value with high byte 0xFF names a system colour whose
// low byte is the system colour index.
#pragma once

#include <cstdint>

namespace sapala::skin {

using TColor = std::int32_t;

inline constexpr TColor kFuchsia = 0xFF00FF;   // "no colour known" in skin answers
inline constexpr TColor kNoColor = -1;         // "none"
inline constexpr TColor kWhite = 0xFFFFFF;

// System colour values (high byte 0xFF, low byte = index into the system colour table).
inline constexpr TColor SysColorValue(int index) {
  return static_cast<TColor>(0xFF000000u | static_cast<std::uint32_t>(index));
}
inline constexpr TColor clWindow = SysColorValue(5);
inline constexpr TColor clWindowText = SysColorValue(8);
inline constexpr TColor clHighlight = SysColorValue(13);
inline constexpr TColor clHighlightText = SysColorValue(14);
inline constexpr TColor clBtnFace = SysColorValue(15);

// The platform's system colour table, behind ColorToRGB. The Win32 side answers with
// GetSysColor; tests answer with a fixed table.
class SystemColors {
 public:
  virtual ~SystemColors() = default;
  // RGB (0x00BBGGRR) of system colour `index` (0..255).
  virtual TColor SysColor(int index) const = 0;
};

// ColorToRGB: a negative value names a system colour (its low byte selects it); any other value
// is returned unchanged. Without a table, system colours answer 0 (black).
inline TColor ColorToRGB(TColor c, const SystemColors* table) {
  if (c >= 0) return c;
  return table != nullptr ? table->SysColor(c & 0xFF) : 0;
}

}  // namespace sapala::skin
