// UTF-8, the text encoding of the core: one strict decoder and one encoder for everyone.
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

}  // namespace sapala
