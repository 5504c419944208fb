// Latin -> Javanese script (Hanacaraka, Unicode block U+A980..U+A9DF) for the dictionary's
// headwords, spelled as the program's examples window teaches: "ã" for the rounded a, "é"/"è" for
// the two e's, plain "e" for the pepet.
//
// Contract of ToHanacaraka:
//  * Input is UTF-8. Letters a-z, ã, é, è (upper case folded to lower case; "e"/"a" followed by
//    a combining acute, grave or tilde count as é, è, ã) are transliterated. Any other character
//    (blanks, digits, punctuation, other scripts) is copied through unchanged and ends a word.
//    A byte sequence that is not valid UTF-8 becomes U+FFFD. The function never throws on any
//    input (other than std::bad_alloc) and its output is always valid UTF-8.
//  * Each word is written on its own; blanks between words are kept as they are.
//  * Consonants: the twenty letters ha..nga, with the digraphs "dh", "th", "ny", "ng" always read
//    as one letter (greedy, left to right: "ngg" is nga + ga, "nyny" cannot occur). Loan letters:
//    f -> pa, v -> wa, z -> ja, q -> ka, x -> ka + sa.
//  * Vowels: a and ã inherent; i wulu; u suku; é, è taling; o taling + tarung; e pepet.
//    A vowel at the start of a word or right after another vowel is written ha + its sign
//    ("abang", "sae", "kyai").
//  * Consonants between two vowels: the last one opens the next syllable. If the last two are a
//    consonant followed by r or y, they open it together: consonant + cakra (keret instead of
//    cakra + pepet when the vowel is the pepet) or consonant + pengkal. Inside a word, after a
//    vowel, ng, r and h never join a cluster: they close the syllable before.
//  * Consonants that close a syllable: ng cecak, r layar, h wignyan (only after a vowel of the
//    same word); any other consonant, and ng/r/h at the start of a word, is written with pangkon.
//    A consonant after a pangkon is thereby drawn by the font as its pasangan.
//  * Plain letters only: a pepet after r or l at the start of a word is ra/la + pepet (no pa
//    cerek or nga lelet), capitals take no murda letters and loan sounds no rekan marks.
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
