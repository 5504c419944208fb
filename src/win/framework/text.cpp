#include "win/framework/text.h"

#include <windows.h>

#include <climits>

#include "core/base/utf8.h"

namespace sapala::win {

namespace {

std::wstring ToWide(UINT cp, std::string_view s) {
  if (s.empty() || s.size() > INT_MAX) return {};
  const int n = ::MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::string FromWide(UINT cp, std::wstring_view s) {
  if (s.empty() || s.size() > INT_MAX / 4) return {};
  const int n = ::WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

}  // namespace

// UTF-8 goes through the core's conversions, so that window texts and data follow one
// replacement rule (core/base/utf8.h). wchar_t is a UTF-16 unit on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring Widen(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}
std::string Narrow(std::wstring_view wide) {
  return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}
std::string ToAnsi(std::wstring_view wide) { return FromWide(CP_ACP, wide); }
std::wstring FromAnsi(std::string_view ansi) { return ToWide(CP_ACP, ansi); }

}  // namespace sapala::win
