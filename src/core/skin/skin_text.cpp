// Skin text parsing; see skin_text.h for the contract.
#include "core/skin/skin_text.h"

#include <cstring>

#include "core/skin/skin_error.h"

namespace sapala::skin {

std::string_view TrimBlanks(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
  return s.substr(b, e - b);
}

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool EqualsUpperAscii(std::string_view s, std::string_view upper) {
  if (s.size() != upper.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upper[i]) return false;
  }
  return true;
}

std::optional<std::string_view> SkinSection::Find(std::string_view key) const {
  // Most keys differ from the one asked for in length or first letter: those are passed over
  // without a call to compare them.
  for (const SkinKey& k : keys) {
    if (k.name.size() == key.size() && (key.empty() || k.name[0] == key[0]) && k.name == key)
      return k.value;
  }
  return std::nullopt;
}

SkinText SkinText::Parse(std::string_view text) {
  if (text.size() > kMaxTextBytes) throw SkinError("Skin text is too large");
  // A UTF-8 byte-order mark (editors add one) would otherwise hide the first section header.
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  SkinText out;
  // One copy of the text for the keys to point into; moving `out` keeps its bytes in place.
  auto own = std::make_shared<std::string>(text);
  out.text_ = own;
  text = *own;
  auto& index = out.index_;
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t current = kNone;  // index, not a pointer: the list grows
  std::size_t pos = 0;
  while (pos < text.size()) {
    // The line ends at the first CR or LF: memchr for each (find_first_of would look every
    // byte up in the set of delimiters).
    const char* base = text.data();
    const void* lf = std::memchr(base + pos, '\n', text.size() - pos);
    std::size_t end =
        lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : text.size();
    if (const void* cr = std::memchr(base + pos, '\r', end - pos))
      end = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
    std::string_view line = TrimBlanks(text.substr(pos, end - pos));
    pos = end + 1;
    if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;

    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string_view name = TrimBlanks(line.substr(1, line.size() - 2));
      auto [it, added] = index.emplace(name, out.sections_.size());
      if (added) {
        out.sections_.push_back(SkinSection{std::string(name), {}});
        out.sections_.back().keys.reserve(16);  // sections hold a dozen keys or so
      }
      current = it->second;
      continue;
    }
    if (current == kNone) continue;
    std::vector<SkinKey>& keys = out.sections_[current].keys;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      keys.push_back(SkinKey{line, {}});
    } else {
      keys.push_back(SkinKey{TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1))});
    }
  }
  return out;
}

const SkinSection* SkinText::FindSection(std::string_view name) const {
  const auto it = index_.find(name);
  return it == index_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string_view> SkinText::Read(std::string_view section,
                                               std::string_view key) const {
  const SkinSection* s = FindSection(section);
  if (s == nullptr) return std::nullopt;
  return s->Find(key);
}

}  // namespace sapala::skin
