// Spelling and register rules of the word list; the rules are listed in rules.h.
#include "core/lexicon/rules.h"

#include "core/base/utf8.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace sapala::lexicon {
namespace {

constexpr char32_t kATilde = 0xE3, kEGrave = 0xE8, kEAcute = 0xE9;

// Words that keep their own a's against the a/ã rule, each for a reason:
//  * "lhã", "hã": interjections said with an open [a];
//  * "sénapãti": séna + pati, the a of séna stays [ɔ] inside the compound.
const std::set<std::u32string>& AExceptions() {
  static const std::set<std::u32string> kWords = {U"lhã", U"hã", U"sénapãti"};
  return kWords;
}

// Words that look derived from another headword but are not: "ngemut" (to suck) is from emut
// [əmut], not from the krama "émut" (to remember); "netes" (to hatch) from tetes [tətəs], not
// from "tètès" (a drop); "mãreng" (the turn of the dry season), "semãnten" (so much) and
// "segãnten" (the sea, krama) are roots, not m- + "wãrèng", se- + "mãntèn" or se- + "gãnti" + -an.
const std::set<std::u32string>& DerivedExceptions() {
  static const std::set<std::u32string> kWords = {U"ngemut", U"netes", U"mãreng", U"semãnten",
                                                  U"segãnten"};
  return kWords;
}

std::u32string Decode32(std::string_view s) {
  std::u32string out;
  std::size_t pos = 0;
  while (pos < s.size()) out.push_back(DecodeUtf8(s, pos).value_or(0xFFFD));
  return out;
}

std::string Encode(std::u32string_view s) {
  std::string out;
  for (const char32_t c : s) AppendUtf8(out, c);
  return out;
}

bool IsVowel(char32_t c) {
  return c == 'a' || c == kATilde || c == 'i' || c == 'u' || c == 'e' || c == kEAcute ||
         c == kEGrave || c == 'o';
}

bool IsA(char32_t c) { return c == 'a' || c == kATilde; }

// The headword's letters with ã, é, è written plain.
std::u32string Plain(std::u32string_view w) {
  std::u32string out(w);
  for (char32_t& c : out) {
    if (c == kATilde) c = 'a';
    if (c == kEAcute || c == kEGrave) c = 'e';
  }
  return out;
}

// The words of a headword: runs of letters between blanks and hyphens.
std::vector<std::u32string> Words(std::u32string_view headword) {
  std::vector<std::u32string> words(1);
  for (const char32_t c : headword) {
    if (c == ' ' || c == '-') {
      words.emplace_back();
    } else {
      words.back().push_back(c);
    }
  }
  return words;
}

// The word as the a/ã rule spells it.
std::u32string ExpectedAs(std::u32string_view w) {
  std::u32string out(w);
  std::vector<std::size_t> vowels;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (IsVowel(out[i])) vowels.push_back(i);
    if (IsA(out[i])) out[i] = kATilde;
  }
  if (!vowels.empty() && IsA(out[vowels.back()]) && vowels.back() + 1 == out.size()) {
    out[vowels.back()] = 'a';
    if (vowels.size() >= 2 && IsA(out[vowels[vowels.size() - 2]])) {
      out[vowels[vowels.size() - 2]] = 'a';
    }
  }
  return out;
}

std::size_t VowelCount(std::u32string_view w) {
  return static_cast<std::size_t>(std::count_if(w.begin(), w.end(), IsVowel));
}

// The e's of a word in order, each as 'e' (pepet) or 'T' (taling: é or è).
std::u32string EQualities(std::u32string_view w) {
  std::u32string out;
  for (const char32_t c : w) {
    if (c == 'e')
      out.push_back('e');
    else if (c == kEAcute || c == kEGrave)
      out.push_back('T');
  }
  return out;
}

// The roots the letters `m` (plain) may come from after an active-verb nasal: m itself and the
// forms with the nasal's consonant put back.
std::vector<std::u32string> Denasalised(const std::u32string& m) {
  std::vector<std::u32string> out = {m};
  auto starts = [&](std::u32string_view p) { return m.compare(0, p.size(), p) == 0; };
  if (starts(U"ngg")) {
    out.push_back(m.substr(2));
  } else if (starts(U"nge")) {
    out.push_back(m.substr(3));
    out.push_back(m.substr(2));
  } else if (starts(U"ng")) {
    out.push_back(m.substr(2));
    out.push_back(U"k" + m.substr(2));
  } else if (starts(U"ny")) {
    out.push_back(U"s" + m.substr(2));
    out.push_back(U"c" + m.substr(2));
  } else if (starts(U"mb")) {
    out.push_back(m.substr(1));
  } else if (starts(U"m")) {
    out.push_back(U"p" + m.substr(1));
    out.push_back(U"w" + m.substr(1));
  } else if (starts(U"nd") || starts(U"nj")) {
    out.push_back(m.substr(1));
  } else if (starts(U"n")) {
    out.push_back(U"t" + m.substr(1));
  }
  return out;
}

struct Root {
  std::u32string spelled;  // as in the list, accents and all
};

// A form of a root found inside a word: `part` is the word's letters that come from the root
// (accents as the word has them), `i_final` marks the -èni / -èn of a root ending in i.
struct Derivation {
  std::u32string root_plain;
  std::u32string part;
  bool i_final = false;
};

std::vector<Derivation> Derivations(const std::u32string& word, bool in_compound,
                                    const std::map<std::u32string, std::vector<Root>>& roots) {
  static const std::u32string_view kPrefixes[] = {U"",   U"di", U"ke", U"ka",   U"pa", U"pi",
                                                  U"sa", U"se", U"pe", U"kuma", U"ma", U"pra"};
  static const std::u32string_view kSuffixes[] = {
      U"",   U"i",   U"an",  U"ake",  U"ke",   U"ne",   U"e", U"na",   U"ana", U"en",
      U"ni", U"nan", U"ane", U"ipun", U"aken", U"ning", U"a", U"kake", U"ena", U"eni"};
  const std::u32string plain = Plain(word);
  std::vector<Derivation> out;
  for (const auto prefix : kPrefixes) {
    if (plain.compare(0, prefix.size(), prefix) != 0) continue;
    for (const auto suffix : kSuffixes) {
      if (prefix.size() + suffix.size() >= plain.size()) continue;
      if (plain.compare(plain.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
      const std::size_t len = plain.size() - prefix.size() - suffix.size();
      const std::u32string middle = plain.substr(prefix.size(), len);
      const std::u32string part = word.substr(prefix.size(), len);
      const bool affixed = !prefix.empty() || !suffix.empty();
      // The nasal of an active verb stands first, or after pa-/pe- (pamaca, pangripta).
      const bool nasal = prefix.empty() || prefix == U"pa" || prefix == U"pe";
      const std::vector<std::u32string> candidates =
          nasal ? Denasalised(middle) : std::vector<std::u32string>{middle};
      for (const std::u32string& root : candidates) {
        if (!roots.count(root) || suffix == U"eni") continue;
        if (!affixed && root == middle && !in_compound) continue;  // the headword itself
        out.push_back({root, part, false});
      }
      // A root in -i with the suffix -i or -an: ...èni, ...èn (`part` takes in the è).
      if (suffix == U"eni" || suffix == U"en") {
        const std::u32string i_root = middle + U"i";
        for (const std::u32string& root :
             nasal ? Denasalised(i_root) : std::vector<std::u32string>{i_root}) {
          if (roots.count(root)) out.push_back({root, word.substr(prefix.size(), len + 1), true});
        }
      }
    }
  }
  return out;
}

// The level of a tag, or "" if `tag` is no level.
bool IsLevel(std::string_view s) {
  return s == "ngoko" || s == "krama" || s == "krama inggil" || s == "krama andhap";
}

int LevelRank(std::string_view s) {
  return s == "ngoko" ? 0 : s == "krama" ? 1 : s == "krama inggil" ? 2 : 3;
}

constexpr std::string_view kPartnerSep = " \xC2\xB7 ";  // " · "

struct Meaning {
  std::string level;                                                       // the gloss's tag, or ""
  std::vector<std::pair<std::string, std::vector<std::string>>> partners;  // level, headwords
  std::vector<std::string> errors;  // how the partner text is malformed
};

Meaning ParseMeaning(std::string_view meaning) {
  Meaning m;
  std::size_t sep = meaning.find(kPartnerSep);
  const std::string_view gloss = meaning.substr(0, sep);
  m.level = RegisterOf(gloss);
  while (sep != std::string_view::npos) {
    const std::size_t start = sep + kPartnerSep.size();
    sep = meaning.find(kPartnerSep, start);
    const std::string_view group =
        meaning.substr(start, sep == std::string_view::npos ? std::string_view::npos : sep - start);
    const std::size_t colon = group.find(": ");
    if (colon == std::string_view::npos || !IsLevel(group.substr(0, colon))) {
      m.errors.push_back("partner text \"" + std::string(group) +
                         "\" is not \"LEVEL: headword[, headword]\" with LEVEL one of ngoko, "
                         "krama, krama inggil, krama andhap");
      continue;
    }
    std::vector<std::string> words;
    std::string_view rest = group.substr(colon + 2);
    while (true) {
      const std::size_t comma = rest.find(", ");
      words.emplace_back(rest.substr(0, comma));
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 2);
    }
    m.partners.emplace_back(std::string(group.substr(0, colon)), std::move(words));
  }
  for (std::size_t i = 1; i < m.partners.size(); ++i) {
    if (LevelRank(m.partners[i - 1].first) >= LevelRank(m.partners[i].first)) {
      m.errors.push_back(
          "partner levels are not in the order ngoko, krama, krama inggil, "
          "krama andhap, each once");
    }
  }
  return m;
}

std::string Quote(std::string_view s) { return "\"" + std::string(s) + "\""; }

}  // namespace

std::string RegisterOf(std::string_view meaning) {
  const std::size_t sep = meaning.find(kPartnerSep);
  const std::string_view gloss = meaning.substr(0, sep);
  if (gloss.empty() || gloss.back() != ')') return "";
  const std::size_t open = gloss.rfind(" (");
  if (open == std::string_view::npos) return "";
  const std::string_view tag = gloss.substr(open + 2, gloss.size() - open - 3);
  return IsLevel(tag) ? std::string(tag) : "";
}

std::vector<std::string> PartnersOf(std::string_view meaning) {
  std::vector<std::string> out;
  for (const auto& level_words : ParseMeaning(meaning).partners) {
    out.insert(out.end(), level_words.second.begin(), level_words.second.end());
  }
  return out;
}

std::vector<Issue> CheckSpelling(const std::vector<Entry>& entries) {
  std::map<std::u32string, std::vector<Root>> roots;  // plain spelling -> spellings in the list
  for (const Entry& e : entries) {
    const std::u32string h = Decode32(e.headword);
    if (h.find_first_of(U" -") != std::u32string::npos || VowelCount(h) < 2) continue;
    roots[Plain(h)].push_back({h});
  }
  std::vector<Issue> issues;
  for (const Entry& e : entries) {
    const std::vector<std::u32string> words = Words(Decode32(e.headword));
    const bool compound = words.size() > 1;
    for (const std::u32string& w : words) {
      if (w.empty()) continue;
      const std::u32string want = ExpectedAs(w);
      if (want != w && !AExceptions().count(w)) {
        issues.push_back({e.line,
                          "\"" + Encode(w) + "\" in " + Quote(e.headword) + ": want \"" +
                              Encode(want) +
                              "\" (a for [ɔ] in the last open syllable and the one "
                              "before it, ã elsewhere)",
                          "a"});
      }
      if (DerivedExceptions().count(w)) continue;
      bool agrees = false;
      std::string complaint;
      std::string rule;
      for (const Derivation& d : Derivations(w, compound, roots)) {
        for (const Root& root : roots.at(d.root_plain)) {
          std::u32string have = EQualities(d.part);
          if (d.i_final) {
            if (d.part.empty() || d.part.back() != kEGrave) {
              if (complaint.empty() || rule != "i-final") {
                complaint = "\"" + Encode(w) + "\" in " + Quote(e.headword) + ": the root \"" +
                            Encode(root.spelled) + "\" ends in i, so -i/-an make it -èni/-èn";
                rule = "i-final";
              }
              continue;
            }
            have.pop_back();
            const std::u32string root_head = root.spelled.substr(0, root.spelled.size() - 1);
            if (have == EQualities(root_head)) agrees = true;
            continue;
          }
          if (have == EQualities(root.spelled)) {
            agrees = true;
          } else if (complaint.empty()) {
            complaint = "\"" + Encode(w) + "\" in " + Quote(e.headword) +
                        ": its e's (pepet e or é/è) differ from those of the root \"" +
                        Encode(root.spelled) + "\"";
            rule = "derived";
          }
        }
      }
      // A word that comes twice in a compound ("enggãl-enggãl") is reported once.
      if (!agrees && !complaint.empty() &&
          (issues.empty() || issues.back().line != e.line || issues.back().message != complaint)) {
        issues.push_back({e.line, complaint, rule});
      }
    }
  }
  return issues;
}

std::vector<Issue> CheckRegisters(const std::vector<Entry>& entries) {
  std::map<std::string, Meaning> parsed;
  for (const Entry& e : entries) parsed.emplace(e.headword, ParseMeaning(e.meaning));
  std::vector<Issue> issues;
  auto issue = [&](const Entry& e, std::string message) {
    issues.push_back({e.line, Quote(e.headword) + ": " + std::move(message), "register"});
  };
  for (const Entry& e : entries) {
    const Meaning& m = parsed.at(e.headword);
    for (const std::string& error : m.errors) issue(e, error);
    if (m.level.empty()) {
      if (!m.partners.empty()) issue(e, "names partners but has no level tag of its own");
      continue;
    }
    if (m.partners.empty()) {
      issue(e, "tagged (" + m.level + ") but names no partner");
      continue;
    }
    if (m.level != "ngoko" && m.partners.front().first != "ngoko") {
      issue(e, "tagged (" + m.level + ") but names no ngoko partner");
    }
    for (const auto& [level, words] : m.partners) {
      for (const std::string& word : words) {
        const auto it = parsed.find(word);
        if (word == e.headword) {
          issue(e, "names itself as a partner");
        } else if (it == parsed.end()) {
          issue(e, "partner " + Quote(word) + " is not a headword");
        } else if (it->second.level != level) {
          issue(e, "partner " + Quote(word) + " is named as " + level + " but tagged (" +
                       (it->second.level.empty() ? "no level" : it->second.level) + ")");
        } else {
          bool named_back = false;
          for (const auto& [back_level, back_words] : it->second.partners) {
            if (back_level == m.level &&
                std::find(back_words.begin(), back_words.end(), e.headword) != back_words.end()) {
              named_back = true;
            }
          }
          if (!named_back) {
            issue(e, "partner " + Quote(word) + " does not name it back as " + m.level);
          }
        }
      }
    }
  }
  return issues;
}

}  // namespace sapala::lexicon
