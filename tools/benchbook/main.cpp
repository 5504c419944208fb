// benchbook WORDLIST OUT.xls [ROWS]: the benchmark workbook of the data layer. Headwords are
// the real Javanese words of WORDLIST (one a line, as dawg2wordlist prints Debian's
// tesseract-ocr-jav word list), taken in order and, once used up, again with a number after
// them; meanings are generated from other words of the list; the Hanacaraka column comes from
// the transliterator. BIFF8 holds 65,536 rows a sheet, so the ROWS (default 200,000) are
// spread over sheets "warna1", "warna2", ... of 50,000 records each. Benchmark data only: it
// is made under the build tree and never installed.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "core/data/workbook_writer.h"
#include "core/script/hanacaraka.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: benchbook WORDLIST OUT.xls [ROWS]\n");
    return 2;
  }
  try {
    const long rows = argc == 4 ? std::strtol(argv[3], nullptr, 10) : 200000;
    if (rows < 1 || rows > 2000000) throw std::runtime_error("ROWS must be 1 to 2,000,000");
    std::ifstream in(argv[1]);
    if (!in) throw std::runtime_error(std::string("cannot open ") + argv[1]);
    std::vector<std::string> words;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) words.push_back(line);
    }
    if (words.size() < 10) throw std::runtime_error("the word list has fewer than 10 words");
    constexpr std::size_t kPerSheet = 50000;
    std::vector<sapala::data::SheetData> sheets;
    for (std::size_t i = 0; i < static_cast<std::size_t>(rows); ++i) {
      if (i % kPerSheet == 0) {
        sheets.push_back(
            {"warna" + std::to_string(sheets.size() + 1), {{"ID", "warna", "Hanacaraka"}}});
      }
      const std::size_t round = i / words.size();
      std::string head = words[i % words.size()];
      if (round > 0) head += std::to_string(round + 1);
      const std::string meaning = "tegese: " + words[(i * 7919 + 13) % words.size()] + ", " +
                                  words[(i * 104729 + 7) % words.size()] + " (" +
                                  std::to_string(i % 97) + ")";
      sheets.back().rows.push_back({head, meaning, sapala::script::ToHanacaraka(head)});
    }
    const auto bytes = sapala::data::WriteWorkbook(sheets);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error(std::string("cannot write ") + argv[2]);
    std::printf("benchbook: %ld rows from %zu words, %zu bytes\n", rows, words.size(),
                bytes.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchbook: %s\n", e.what());
    return 1;
  }
  return 0;
}
