// The SQL texts of the word search, as pure functions of the search field's text.
//
// Encoding: `text` is UTF-8. The search field holds the system's 8-bit text (Windows-1252
// under our Wine prefix); the window side converts it (Cp1252ToUtf8 in text.h) before
// calling these.
//
// The pattern is quoted by doubling every single quote and enclosing the result in single
// quotes, so no text can end the literal early. "%" and "_" typed by the user are not
// escaped: they act as LIKE wildcards. The heads are fixed texts, blanks exactly as given.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sapala::data {

inline constexpr std::string_view kPrefixSearchHead = "select*from warna where [ID] like";
inline constexpr std::string_view kSubstringSearchHead = "select*from warna where[ID] like";

// 'text' with each ' doubled.
std::string QuotedStr(std::string_view text);

// Headwords beginning with `text`: the head followed by QuotedStr(text + "%").
std::string PrefixSearchSql(std::string_view text);

// Headwords containing `text`: the head followed by QuotedStr("%" + text + "%").
std::string SubstringSearchSql(std::string_view text);

// The LIKE pattern of an SQL text that is exactly one of the two search texts (either head
// followed by one quoted literal, nothing after it), unquoted; nullopt for any other text.
std::optional<std::string> SearchPattern(std::string_view sql);

// Whether a LIKE pattern holds a run of at least three characters (code points, not bytes)
// with no wildcard among them: only such a pattern can be looked up by its trigrams.
// Malformed UTF-8 gives false.
bool HasTrigramRun(std::string_view pattern);

}  // namespace sapala::data
