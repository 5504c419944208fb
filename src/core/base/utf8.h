// UTF-8, the text encoding of the core: one strict decoder and one encoder for everyone, and the
// conversions to and from UTF-16 (window texts, workbook strings) built on them.
//
// The replacement rule, everywhere: each byte that does not begin a well-formed sequence
// becomes one U+FFFD and decoding goes on at the next byte (an encoded surrogate, ED A0 80, is
// three replacements); in UTF-16, a surrogate without its partner becomes one U+FFFD.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sapala {

// Decodes the code point at `pos` and moves past it. A malformed sequence (a bad lead byte, a
// truncated or overlong sequence, a surrogate, a value beyond U+10FFFF) gives nullopt and moves
// one byte on. `pos` must be inside `s`.
std::optional<char32_t> DecodeUtf8(std::string_view s, std::size_t& pos) noexcept;

// Appends the UTF-8 form of `cp`; surrogates and values beyond U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

// Whole strings, by the rule above.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace sapala
