// lexcheck [--script] [--summary] FILE...: validates dictionary word lists (see
// core/lexicon/check.h and rules.h for the rules). Prints one line per problem as
// "FILE:LINE: [rule] message" and exits 1 if any file has a problem, 2 if a file cannot be read;
// prints the row count of each valid file and exits 0. With --script it also prints
// "headword<TAB>Javanese script" for every row, for review; with --summary, after the problems of
// a file, how many problems and rows each rule found, and the number of register partner pairs.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "core/lexicon/check.h"
#include "core/lexicon/rules.h"
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
  bool script = false;
  bool summary = false;
  for (; first < argc; ++first) {
    const std::string option = argv[first];
    if (option == "--script")
      script = true;
    else if (option == "--summary")
      summary = true;
    else
      break;
  }
  if (argc <= first) {
    std::fprintf(stderr, "usage: lexcheck [--script] [--summary] FILE...\n");
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
      std::printf("%s:%zu: [%s] %s\n", argv[i], issue.line, issue.rule.c_str(),
                  issue.message.c_str());
    }
    if (summary) {
      std::map<std::string, std::pair<std::size_t, std::set<std::size_t>>> by_rule;
      for (const auto& issue : result.issues) {
        ++by_rule[issue.rule].first;
        by_rule[issue.rule].second.insert(issue.line);
      }
      for (const auto& [rule, counts] : by_rule) {
        std::printf("%s: rule %s: %zu problems on %zu rows\n", argv[i], rule.c_str(), counts.first,
                    counts.second.size());
      }
      std::set<std::pair<std::string, std::string>> pairs;
      for (const auto& entry : result.entries) {
        for (const std::string& partner : sapala::lexicon::PartnersOf(entry.meaning)) {
          pairs.insert(entry.headword < partner ? std::pair(entry.headword, partner)
                                                : std::pair(partner, entry.headword));
        }
      }
      std::printf("%s: %zu register partner pairs\n", argv[i], pairs.size());
    }
    if (!result.issues.empty()) {
      if (status == 0) status = 1;
    } else {
      std::printf("%s: %zu headwords, valid\n", argv[i], result.entries.size());
    }
  }
  return status;
}
