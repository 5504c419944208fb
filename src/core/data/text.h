// Text conversions the data layer needs: the 8-bit code pages met in workbooks and in the
// search field, UTF-16 little-endian as stored in workbooks, and UTF-8, the encoding of
// everything the data layer hands out.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/base/utf8.h"

namespace sapala::data {

// Windows-1252 bytes to UTF-8. The five bytes that code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 controls of the same number, as Windows does.
std::string Cp1252ToUtf8(std::string_view bytes);

// ISO 8859-1 bytes (each byte is the code point of the same number) to UTF-8. BIFF8 stores its
// "compressed" strings this way: UTF-16 units whose high byte is zero.
std::string Latin1ToUtf8(std::string_view bytes);

// UTF-16LE bytes to UTF-8; an odd trailing byte is ignored. Unpaired surrogates become
// U+FFFD, so the result is always valid UTF-8.
std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes);

// UTF-8 to UTF-16 and code points to UTF-8: sapala::Utf8ToUtf16 and sapala::AppendUtf8 of
// core/base/utf8.h, with its one replacement rule.
using sapala::AppendUtf8;
using sapala::Utf8ToUtf16;

// Decodes 8-bit text of a workbook's CODEPAGE: 1252 and the Latin-1 family (and 367 ASCII,
// 1200 meaning 8-bit data really is Latin-1) are supported; anything else is read as 1252,
// which is what the workbooks we meet hold in practice.
std::string CodePageToUtf8(std::string_view bytes, std::uint16_t code_page);

}  // namespace sapala::data
