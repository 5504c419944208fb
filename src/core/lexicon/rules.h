// Spelling and register rules of the word list, checked over all rows together (the format
// rules are in check.h; CheckTsv runs these as well once the rows could be read).
//
// Spelling (each word of a compound on its own; "word" below is a run of letters):
//  * a and ã: an a in an open last syllable is plain "a" [ɔ], and so is an a in the syllable
//    before it; every other a is "ã" [a]. A short list of words keeps its own a's (interjections
//    and letter names said with [a], compounds whose parts keep their own a's).
//  * A derived form keeps the vowel quality of its root: where the root has é or è, the form has
//    é or è (not the pepet "e"), and the other way round. A root is another single-word headword
//    of two or more vowels; a form is the root with a prefix (di-, ke-, ka-, pa-, pi-, sa-, se-,
//    pe-, ma-, kuma-, pra-, or the nasal of an active verb, alone or after pa-/pe-) and/or a
//    suffix, or the same word inside a compound. A few forms whose root is a homograph missing
//    from the list are exempt (listed in rules.cpp). é and è may alternate (dhéwé, dhèwèké): only
//    pepet against é/è counts. Where several headwords share the root's letters, agreeing with one
//    of them is enough.
//  * A root ending in i takes è before the suffixes -i and -an: tali -> nalèni, bali -> balèn.
//
// Registers (the meaning text):
//    meaning  = gloss [" · " level ": " headword {", " headword}]...
//    gloss    ends in "(ngoko)", "(krama)", "(krama inggil)" or "(krama andhap)" when the word
//             belongs to one speech level (krama andhap: the humble forms, said of oneself)
//  * the levels after the gloss are partners: other headwords that say the same at that level,
//    named in the fixed order ngoko, krama, krama inggil, krama andhap, each level once;
//  * every partner is a headword, is tagged with the level it is named under, and names this
//    headword back under this headword's level;
//  * a headword with a level tag names at least one partner, and a krama, krama inggil or krama
//    andhap headword names its ngoko partner; a headword without a tag names none.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/lexicon/check.h"

namespace sapala::lexicon {

// The speech level a meaning is tagged with ("ngoko", "krama", "krama inggil", "krama andhap"),
// or "" if it has none.
std::string RegisterOf(std::string_view meaning);

// The headwords a meaning names as register partners, at every level, in order.
std::vector<std::string> PartnersOf(std::string_view meaning);

// Every headword word that breaks the a/ã rule, the derived-form rule or the i-final rule.
std::vector<Issue> CheckSpelling(const std::vector<Entry>& entries);

// Every broken rule of the register tags and partners.
std::vector<Issue> CheckRegisters(const std::vector<Entry>& entries);

}  // namespace sapala::lexicon
