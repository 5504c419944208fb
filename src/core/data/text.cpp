// Text conversions; see text.h.
#include "core/data/text.h"

#include "core/base/endian.h"
#include "core/base/utf8.h"

namespace sapala::data {
namespace {

// Windows-1252 0x80..0x9F; the undefined bytes keep their C1 code point.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

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
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(LoadLe16(bytes.data() + 2 * i));
  return Utf16ToUtf8(units);
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
