// Conversions of skin text values to numbers.
//
// Integers are decimal with an optional sign, or hexadecimal with a leading "$", "0x" or "0X"
// (an optional "-" may precede the prefix). Hexadecimal values are 32-bit patterns, so "$FFFFFFFF"
// is -1; decimal values must fit a signed 32-bit integer. Anything else is not a whole number.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sapala::skin {

// nullopt when `text` is not a whole number as described above.
std::optional<std::int32_t> ParseInt(std::string_view text);

// Strict conversion: raises SkinError "'text' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

// Lenient conversion: `fallback` for an empty or malformed value.
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

// Reads "VERSION"-style reals with "." as the decimal separator whatever the locale; nullopt
// when malformed. Accepts an optional sign, digits, an optional fraction and exponent.
std::optional<double> ParseReal(std::string_view text);

// Formats a version with "." as the decimal separator and the shortest digits that read back to
// the same value ("7.2", "7.4", "7", "6.35").
std::string FormatVersion(double version);

}  // namespace sapala::skin
