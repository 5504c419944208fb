// Latin -> Javanese script (Hanacaraka, Unicode block U+A980..U+A9DF) for the dictionary's
// headwords, spelled as the program's examples window teaches: "ã" for the open, unrounded a [a]
// (plain "a" is the a that standard Javanese rounds to [ɔ]; the script writes both alike), "é"
// and "è" for the close and the open e, plain "e" for the pepet [ə].
//
// Contract of ToHanacaraka:
//  * Input is UTF-8. Letters a-z, ã, é, è (upper case folded to lower case; "e"/"a" followed by
//    a combining acute, grave or tilde count as é, è, ã) are transliterated. Any other character
//    (blanks, punctuation, other scripts) is copied through unchanged and ends a word. A run of
//    ASCII digits is written in Javanese digits between two pada pangkat marks ("12" -> ꧇꧑꧒꧇)
//    and ends a word too.
//    A byte sequence that is not valid UTF-8 becomes U+FFFD. The function never throws on any
//    input (other than std::bad_alloc) and its output is always valid UTF-8.
//  * Each word is written on its own; blanks between words are kept as they are.
//  * Consonants: the twenty letters ha..nga, with the digraphs "dh", "th", "ny", "ng" always read
//    as one letter (greedy, left to right: "ngg" is nga + ga, "nyny" cannot occur). Loan letters:
//    f -> pa, v -> wa, z -> ja, q -> ka, x -> ka + sa.
//  * Vowels: a and ã inherent; i wulu; u suku; é, è taling; o taling + tarung; e pepet.
//    A vowel at the start of a word is written ha + its sign ("abang"). Right after another
//    vowel it takes the glide: ya after i ("setasiun"), wa after u ("buah"), and ha after any
//    other vowel ("sae", "kyai").
//  * Consonants between two vowels: the last one opens the next syllable. If the last two are a
//    consonant followed by r or y, they open it together: consonant + cakra (keret instead of
//    cakra + pepet when the vowel is the pepet) or consonant + pengkal. Inside a word, after a
//    vowel, ng, r and h never join a cluster: they close the syllable before.
//  * Consonants that close a syllable: ng cecak, r layar, h wignyan (only after a vowel of the
//    same word); any other consonant, and ng/r/h at the start of a word, is written with pangkon.
//    A consonant after a pangkon is thereby drawn by the font as its pasangan.
//  * r and l with the pepet are the syllables pa cerek and nga lelet, at the start of a word and
//    inside it ("rembulan", "lemah", "sarem", "kelabang"). Those have no pasangan form: after a
//    consonant written with pangkon they are ra/la + pepet (the pasangan), and after a consonant
//    that takes cakra, r + pepet is keret.
//  * Capitals take no murda letters and loan sounds no rekan marks.
//  * Hyphenated words: "mlaku-mlaku" (two equal halves) is the half followed by pangrangkep;
//    halves that differ ("bolak-balik") are written one after the other with no separator.
//    A hyphen not between two letters is copied through as any other character.
#pragma once

#include <string>
#include <string_view>

namespace sapala::script {

// Returns the Javanese-script spelling of `latin_utf8` as UTF-8 (see the contract above).
std::string ToHanacaraka(std::string_view latin_utf8);

}  // namespace sapala::script
