// Any bytes as a word list: the checker must not crash, and a file it accepts must have a
// header and only allowed headwords.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/lexicon/check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const sapala::lexicon::CheckResult r = sapala::lexicon::CheckTsv(file);
  if (r.issues.empty()) {
    if (file.substr(0, 9) != "ID\twarna\n") std::abort();
    for (const auto& e : r.entries) {
      if (!sapala::lexicon::IsAllowedHeadword(e.headword) || e.meaning.empty()) std::abort();
    }
  }
  return 0;
}
