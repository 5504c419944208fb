// lexcheck [--script] FILE...: validates dictionary word lists (see core/lexicon/check.h for the
// rules). Prints one line per problem as "FILE:LINE: message" and exits 1 if any file has a
// problem, 2 if a file cannot be read; prints the row count of each valid file and exits 0.
// With --script it also prints "headword<TAB>Javanese script" for every row, for review.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "core/lexicon/check.h"
#include "core/script/hanacaraka.h"

namespace {

constexpr std::streamoff kMaxFileBytes = 64LL << 20;  // the list is well under a megabyte

bool ReadFile(const char* path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxFileBytes) return false;
  in.seekg(0, std::ios::beg);
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  const bool script = argc > 1 && std::string(argv[1]) == "--script";
  if (script) ++first;
  if (argc <= first) {
    std::fprintf(stderr, "usage: lexcheck [--script] FILE...\n");
    return 2;
  }
  int status = 0;
  for (int i = first; i < argc; ++i) {
    std::string bytes;
    if (!ReadFile(argv[i], bytes)) {
      std::fprintf(stderr, "%s: cannot read (missing, unreadable or over 64 MiB)\n", argv[i]);
      status = 2;
      continue;
    }
    const sapala::lexicon::CheckResult result = sapala::lexicon::CheckTsv(bytes);
    if (script) {
      for (const auto& entry : result.entries) {
        std::printf("%s\t%s\n", entry.headword.c_str(),
                    sapala::script::ToHanacaraka(entry.headword).c_str());
      }
    }
    for (const auto& issue : result.issues) {
      std::printf("%s:%zu: %s\n", argv[i], issue.line, issue.message.c_str());
    }
    if (!result.issues.empty()) {
      if (status == 0) status = 1;
    } else {
      std::printf("%s: %zu headwords, valid\n", argv[i], result.entries.size());
    }
  }
  return status;
}
