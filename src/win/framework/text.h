// Conversions between the program's text encodings: UTF-8 (core, files, SQLite), UTF-16 (window
// texts) and the system's 8-bit code page (the ANSI text some events speak in).
#pragma once

#include <string>
#include <string_view>

namespace sapala::win {

// UTF-8 and UTF-16 by the core's one replacement rule (core/base/utf8.h).
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// The system's 8-bit code page (CP_ACP); characters it lacks become '?'.
std::string ToAnsi(std::wstring_view wide);
std::wstring FromAnsi(std::string_view ansi);

}  // namespace sapala::win
