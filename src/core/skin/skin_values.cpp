// Number conversions of skin values; see skin_values.h.
#include "core/skin/skin_values.h"

#include <charconv>
#include <string>

#include "core/skin/skin_error.h"

namespace sapala::skin {

std::optional<std::int32_t> ParseInt(std::string_view text) {
  // Hand-written rather than std::from_chars: skin loading converts a few thousand short values,
  // and from_chars (for the signed type) would take a second sign after the one read here.
  const char* p = text.data();
  const char* const end = p + text.size();
  if (p == end) return std::nullopt;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  bool hex = false;
  if (p < end && *p == '$') {
    hex = true;
    ++p;
  } else if (end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    hex = true;
    p += 2;
  }
  if (p == end) return std::nullopt;
  if (hex) {
    // Leading zeros are harmless; more than eight significant digits overflow 32 bits.
    while (end - p > 1 && *p == '0') ++p;
    if (end - p > 8) return std::nullopt;
    std::uint32_t v = 0;
    for (; p < end; ++p) {
      const unsigned char c = static_cast<unsigned char>(*p);
      std::uint32_t d;
      if (c >= '0' && c <= '9') {
        d = c - '0';
      } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
        d = (c | 0x20) - 'a' + 10;
      } else {
        return std::nullopt;
      }
      v = v << 4 | d;
    }
    return static_cast<std::int32_t>(negative ? 0u - v : v);
  }
  std::int64_t v = 0;
  for (; p < end; ++p) {
    const unsigned d = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
    if (d > 9) return std::nullopt;
    v = v * 10 + d;
    if (v > std::int64_t{INT32_MAX} + 1) return std::nullopt;  // too large either way
  }
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
