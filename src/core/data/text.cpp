// Text conversions; see text.h.
#include "core/data/text.h"

#include "core/base/utf8.h"

namespace sapala::data {
namespace {

// Windows-1252 0x80..0x9F; the undefined bytes keep their C1 code point.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) { sapala::AppendUtf8(out, cp); }

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    AppendUtf8(out, (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b);
  }
  return out;
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    char32_t u = bytes[2 * i] | (bytes[2 * i + 1] << 8);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      const char32_t low = bytes[2 * i + 2] | (bytes[2 * i + 3] << 8);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, u);  // a lone surrogate becomes U+FFFD here
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    char32_t cp = kReplacement;
    std::size_t len = 1;
    if (b0 < 0x80) {
      cp = b0;
    } else if (b0 >= 0xC2 && b0 <= 0xF4) {
      const std::size_t need = b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
      char32_t v = b0 & (need == 2 ? 0x1F : need == 3 ? 0x0F : 0x07);
      std::size_t k = 1;
      for (; k < need && i + k < utf8.size(); ++k) {
        const auto b = static_cast<unsigned char>(utf8[i + k]);
        if ((b & 0xC0) != 0x80) break;
        v = (v << 6) | (b & 0x3F);
      }
      if (k == need) {
        const bool overlong = (need == 3 && v < 0x800) || (need == 4 && v < 0x10000);
        const bool bad = overlong || (v >= 0xD800 && v <= 0xDFFF) || v > 0x10FFFF;
        cp = bad ? kReplacement : v;
        len = need;
      } else {
        len = k;  // skip the broken sequence as one replacement
      }
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string CodePageToUtf8(std::string_view bytes, std::uint16_t code_page) {
  switch (code_page) {
    case 1200:   // UTF-16 workbooks: their 8-bit strings are compressed UTF-16
    case 28591:  // ISO 8859-1
    case 367:    // US-ASCII
      return Latin1ToUtf8(bytes);
    default:
      return Cp1252ToUtf8(bytes);
  }
}

}  // namespace sapala::data
