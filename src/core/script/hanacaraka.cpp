// Latin -> Javanese script. The contract is in hanacaraka.h; this file reads the UTF-8 input into
// words of letter units (consonants and vowels), then writes each word syllable by syllable.
#include "core/script/hanacaraka.h"

#include "core/base/utf8.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sapala::script {
namespace detail {
namespace {

// Javanese code points used by the writer.
enum : char32_t {
  kCecak = 0xA981,
  kLayar = 0xA982,
  kWignyan = 0xA983,
  kTarung = 0xA9B4,
  kWulu = 0xA9B6,
  kSuku = 0xA9B8,
  kTaling = 0xA9BA,
  kPepet = 0xA9BC,
  kKeret = 0xA9BD,
  kPengkal = 0xA9BE,
  kCakra = 0xA9BF,
  kPangkon = 0xA9C0,
  kPangrangkep = 0xA9CF,
  kHa = 0xA9B2,
  kPaCerek = 0xA989,
  kNgaLelet = 0xA98A,
  kPadaPangkat = 0xA9C7,
  kDigitZero = 0xA9D0,
};

enum class Vowel : std::uint8_t { kA, kI, kU, kTaling, kO, kPepet };

// A consonant unit is its Javanese letter; a vowel unit its kind.
struct Unit {
  bool is_vowel = false;
  Vowel vowel = Vowel::kA;
  char32_t letter = 0;
};

constexpr char32_t kNa = 0xA9A4, kRa = 0xA9AB, kKa = 0xA98F, kSa = 0xA9B1, kNga = 0xA994,
                   kYa = 0xA9AA, kWa = 0xA9AE, kLa = 0xA9AD;

bool IsFinalSignLetter(char32_t c) { return c == kNga || c == kRa || c == kHa; }

char32_t FinalSign(char32_t c) { return c == kNga ? kCecak : c == kRa ? kLayar : kWignyan; }

// One code point at `pos`; a malformed sequence yields U+FFFD and consumes one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
  return DecodeUtf8(s, pos).value_or(0xFFFD);
}

// One input character after case folding: a Latin letter of the dictionary's alphabet as a
// lower-case ASCII letter or one of the three accented code points, else 0.
char32_t FoldLetter(char32_t cp) {
  if (cp >= 'A' && cp <= 'Z') return cp - 'A' + 'a';
  if (cp >= 'a' && cp <= 'z') return cp;
  switch (cp) {
    case 0xE3:
    case 0xC3:
      return 0xE3;  // ã Ã
    case 0xE9:
    case 0xC9:
      return 0xE9;  // é É
    case 0xE8:
    case 0xC8:
      return 0xE8;  // è È
    default:
      return 0;
  }
}

// The input as a sequence of folded letters (0 = not a letter; `raw` keeps the original).
struct Char {
  char32_t letter = 0;
  char32_t raw = 0;
};

std::vector<Char> Decode(std::string_view s) {
  std::vector<Char> chars;
  chars.reserve(s.size());
  std::size_t pos = 0;
  while (pos < s.size()) {
    const char32_t cp = NextCodePoint(s, pos);
    // Decomposed accents: e + U+0301/U+0300, a + U+0303.
    if (!chars.empty() && (cp == 0x301 || cp == 0x300 || cp == 0x303)) {
      Char& prev = chars.back();
      if (prev.letter == 'e' && cp == 0x301) {
        prev.letter = 0xE9;
        continue;
      }
      if (prev.letter == 'e' && cp == 0x300) {
        prev.letter = 0xE8;
        continue;
      }
      if (prev.letter == 'a' && cp == 0x303) {
        prev.letter = 0xE3;
        continue;
      }
    }
    chars.push_back({FoldLetter(cp), cp});
  }
  return chars;
}

// Splits one run of folded letters into consonant and vowel units.
std::vector<Unit> Units(const std::vector<char32_t>& letters) {
  std::vector<Unit> units;
  units.reserve(letters.size());
  auto consonant = [&](char32_t c) { units.push_back({false, Vowel::kA, c}); };
  auto vowel = [&](Vowel v) { units.push_back({true, v, 0}); };
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const char32_t c = letters[i];
    const char32_t next = i + 1 < letters.size() ? letters[i + 1] : 0;
    switch (c) {
      case 'a':
      case 0xE3:
        vowel(Vowel::kA);
        break;
      case 'i':
        vowel(Vowel::kI);
        break;
      case 'u':
        vowel(Vowel::kU);
        break;
      case 0xE9:
      case 0xE8:
        vowel(Vowel::kTaling);
        break;
      case 'o':
        vowel(Vowel::kO);
        break;
      case 'e':
        vowel(Vowel::kPepet);
        break;
      case 'h':
        consonant(kHa);
        break;
      case 'n':
        if (next == 'y') {
          consonant(0xA99A);
          ++i;
        } else if (next == 'g') {
          consonant(kNga);
          ++i;
        } else
          consonant(kNa);
        break;
      case 'c':
        consonant(0xA995);
        break;
      case 'r':
        consonant(kRa);
        break;
      case 'k':
      case 'q':
        consonant(kKa);
        break;
      case 'd':
        if (next == 'h') {
          consonant(0xA99D);
          ++i;
        } else
          consonant(0xA9A2);
        break;
      case 't':
        if (next == 'h') {
          consonant(0xA99B);
          ++i;
        } else
          consonant(0xA9A0);
        break;
      case 's':
        consonant(kSa);
        break;
      case 'w':
      case 'v':
        consonant(0xA9AE);
        break;
      case 'l':
        consonant(0xA9AD);
        break;
      case 'p':
      case 'f':
        consonant(0xA9A5);
        break;
      case 'j':
      case 'z':
        consonant(0xA997);
        break;
      case 'y':
        consonant(kYa);
        break;
      case 'm':
        consonant(0xA9A9);
        break;
      case 'g':
        consonant(0xA992);
        break;
      case 'b':
        consonant(0xA9A7);
        break;
      case 'x':
        consonant(kKa);
        consonant(kSa);
        break;
      default:
        break;  // Unreachable: FoldLetter admits nothing else.
    }
  }
  return units;
}

void PutVowelSign(std::string& out, Vowel v) {
  switch (v) {
    case Vowel::kA:
      break;
    case Vowel::kI:
      AppendUtf8(out, kWulu);
      break;
    case Vowel::kU:
      AppendUtf8(out, kSuku);
      break;
    case Vowel::kTaling:
      AppendUtf8(out, kTaling);
      break;
    case Vowel::kO:
      AppendUtf8(out, kTaling);
      AppendUtf8(out, kTarung);
      break;
    case Vowel::kPepet:
      AppendUtf8(out, kPepet);
      break;
  }
}

// A consonant that closes a syllable (or stands before the onset at the start of a word).
// Returns true if it was written with pangkon, so that the next consonant is its pasangan.
bool PutClosing(std::string& out, char32_t letter, bool after_vowel) {
  if (after_vowel && IsFinalSignLetter(letter)) {
    AppendUtf8(out, FinalSign(letter));
    return false;
  }
  AppendUtf8(out, letter);
  AppendUtf8(out, kPangkon);
  return true;
}

// Writes one word (letters only, no hyphen).
void WriteWord(std::string& out, const std::vector<char32_t>& letters) {
  const std::vector<Unit> units = Units(letters);
  bool after_vowel = false;  // a vowel-bearing syllable of this word has been written
  std::size_t i = 0;
  while (i < units.size()) {
    std::size_t j = i;
    while (j < units.size() && !units[j].is_vowel) ++j;
    if (j == units.size()) {  // consonants at the end of the word
      for (std::size_t k = i; k < j; ++k) PutClosing(out, units[k].letter, after_vowel);
      break;
    }
    const Vowel v = units[j].vowel;
    if (j == i) {  // a vowel with no consonant before it
      // Right after i or u the glide is written (ya, wa); otherwise ha carries the vowel.
      const bool after_i = i > 0 && units[i - 1].is_vowel && units[i - 1].vowel == Vowel::kI;
      const bool after_u = i > 0 && units[i - 1].is_vowel && units[i - 1].vowel == Vowel::kU;
      const char32_t carrier = after_i ? kYa : after_u ? kWa : char32_t{kHa};
      AppendUtf8(out, carrier);
      PutVowelSign(out, v);
    } else {
      std::size_t onset = j - 1;
      char32_t medial = 0;
      const char32_t last = units[j - 1].letter;
      if (j - i >= 2 && (last == kRa || last == kYa)) {
        const char32_t before = units[j - 2].letter;
        if (!(after_vowel && IsFinalSignLetter(before))) {
          onset = j - 2;
          medial = last;
        }
      }
      bool pasangan = false;  // the onset follows a pangkon
      for (std::size_t k = i; k < onset; ++k) {
        pasangan = PutClosing(out, units[k].letter, after_vowel);
      }
      const char32_t onset_letter = units[onset].letter;
      if (medial == 0 && v == Vowel::kPepet && !pasangan &&
          (onset_letter == kRa || onset_letter == kLa)) {
        // rê and lê are syllables of their own; they have no pasangan form.
        AppendUtf8(out, onset_letter == kRa ? kPaCerek : kNgaLelet);
      } else {
        AppendUtf8(out, onset_letter);
        if (medial == kRa && v == Vowel::kPepet) {
          AppendUtf8(out, kKeret);
        } else {
          if (medial == kRa) AppendUtf8(out, kCakra);
          if (medial == kYa) AppendUtf8(out, kPengkal);
          PutVowelSign(out, v);
        }
      }
    }
    after_vowel = true;
    i = j + 1;
  }
}

}  // namespace
}  // namespace detail

std::string ToHanacaraka(std::string_view latin_utf8) {
  using namespace detail;
  const std::vector<Char> chars = Decode(latin_utf8);
  std::string out;
  out.reserve(latin_utf8.size() * 3);
  std::size_t i = 0;
  while (i < chars.size()) {
    if (chars[i].raw >= '0' && chars[i].raw <= '9') {  // a number between pada pangkat marks
      AppendUtf8(out, kPadaPangkat);
      for (; i < chars.size() && chars[i].raw >= '0' && chars[i].raw <= '9'; ++i) {
        AppendUtf8(out, kDigitZero + (chars[i].raw - '0'));
      }
      AppendUtf8(out, kPadaPangkat);
      continue;
    }
    if (chars[i].letter == 0) {
      AppendUtf8(out, chars[i].raw);
      ++i;
      continue;
    }
    // A word: runs of letters joined by single hyphens.
    std::vector<std::vector<char32_t>> halves(1);
    while (i < chars.size()) {
      if (chars[i].letter != 0) {
        halves.back().push_back(chars[i].letter);
        ++i;
      } else if (chars[i].raw == '-' && i + 1 < chars.size() && chars[i + 1].letter != 0) {
        halves.emplace_back();
        ++i;
      } else {
        break;
      }
    }
    if (halves.size() == 2 && halves[0] == halves[1]) {
      WriteWord(out, halves[0]);
      AppendUtf8(out, kPangrangkep);
    } else {
      for (const auto& half : halves) WriteWord(out, half);
    }
  }
  return out;
}

}  // namespace sapala::script
