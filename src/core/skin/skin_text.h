// Skin text: the content of a skin's "Options.dat" (or of a packed skin's text entry, or of the
// manager's common sections), parsed into sections of keys.
//
// Contract: lines are trimmed of blanks (any byte up to 0x20) at both ends; empty lines and lines
// beginning with ";" are skipped; "[name]" opens a section; other lines belong to the current
// section as "key=value" (split at the first "=") or as a key without a value; lines before the
// first section are ignored. Names are matched exactly (with case). Sections keep file order and
// keys keep file order; a key read gives its first occurrence. A section header repeated later in
// the text adds its keys to the first section of that name (the way an ini file reads), so each
// name appears once in the list. A leading UTF-8 byte-order mark is skipped.
//
// Key names and values are views into one copy of the text that the SkinText holds (shared by
// its copies): they live as long as some SkinText made by the same Parse.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sapala::skin {

struct SkinKey {
  std::string_view name;
  std::string_view value;  // empty for a line without "="
};

struct SkinSection {
  std::string name;
  std::vector<SkinKey> keys;

  // The value of the first key named `key`; nullopt when the section has no such key.
  std::optional<std::string_view> Find(std::string_view key) const;
};

class SkinText {
 public:
  // Upper bound on the text accepted by Parse; longer input raises SkinError. Real skins are a
  // few hundred kilobytes at most.
  static constexpr std::size_t kMaxTextBytes = 16u << 20;

  SkinText() = default;
  static SkinText Parse(std::string_view text);

  const std::vector<SkinSection>& Sections() const { return sections_; }
  // The section named `name` (exact), or nullptr. Hashed: skin loading asks for a section at
  // every step up a chain of parents.
  const SkinSection* FindSection(std::string_view name) const;
  // Key look-up: nullopt when the section or the key is absent.
  std::optional<std::string_view> Read(std::string_view section, std::string_view key) const;
  bool Empty() const { return sections_.empty(); }

 private:
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept {
      return std::hash<std::string_view>{}(s);
    }
  };
  std::shared_ptr<const std::string> text_;  // what the keys of every section point into
  std::vector<SkinSection> sections_;
  std::unordered_map<std::string_view, std::size_t, NameHash>
      index_;  // name (a view into text_) -> position
};

// Trims bytes <= 0x20 at both ends.
std::string_view TrimBlanks(std::string_view s);
// ASCII upper-casing (bytes outside a-z are kept, so UTF-8 and ANSI names pass unchanged).
std::string UpperAscii(std::string_view s);
// UpperAscii(s) == upper, without making the copy.
bool EqualsUpperAscii(std::string_view s, std::string_view upper);

}  // namespace sapala::skin
