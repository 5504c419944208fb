// Number conversions of skin values; see skin_values.h.
#include "core/skin/skin_values.h"

#include <charconv>
#include <string>

#include "core/skin/skin_error.h"

namespace sapala::skin {

std::optional<std::int32_t> ParseInt(std::string_view text) {
  if (text.empty()) return std::nullopt;
  bool negative = false;
  std::size_t i = 0;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    i = 1;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  std::string_view digits = text.substr(i);
  if (digits.empty()) return std::nullopt;
  if (hex) {
    if (digits.size() > 8) {
      // Leading zeros beyond 8 digits are harmless; anything else overflows 32 bits.
      std::size_t nz = digits.find_first_not_of('0');
      if (nz == std::string_view::npos) nz = digits.size() - 1;
      if (digits.size() - nz > 8) return std::nullopt;
      digits = digits.substr(nz);
    }
    std::uint32_t v = 0;
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
    if (ec != std::errc() || p != digits.data() + digits.size()) return std::nullopt;
    std::uint32_t r = negative ? 0u - v : v;
    return static_cast<std::int32_t>(r);
  }
  std::int64_t v = 0;
  auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 10);
  if (ec != std::errc() || p != digits.data() + digits.size()) return std::nullopt;
  if (negative) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

std::int32_t StrToInt(std::string_view text) {
  if (auto v = ParseInt(text)) return *v;
  throw SkinError("'" + std::string(text) + "' is not a valid integer value");
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback) {
  if (auto v = ParseInt(text)) return *v;
  return fallback;
}

std::optional<double> ParseReal(std::string_view text) {
  if (text.empty() || text.size() > 64) return std::nullopt;
  std::size_t i = 0;
  if (text[0] == '+') i = 1;  // from_chars takes "-" but not "+"
  double v = 0;
  auto [p, ec] =
      std::from_chars(text.data() + i, text.data() + text.size(), v, std::chars_format::general);
  if (ec != std::errc() || p != text.data() + text.size()) return std::nullopt;
  return v;
}

std::string FormatVersion(double version) {
  // Shortest text that reads back to the same value; independent of the C locale.
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, version);
  if (ec != std::errc()) return "0";
  return std::string(buf, p);
}

}  // namespace sapala::skin
