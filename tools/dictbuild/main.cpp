// dictbuild TSV OUT.bat: writes the dictionary workbook (BIFF8, sheet "warna", columns ID,
// warna and Hanacaraka) from the word list. The output is written to a temporary file beside
// OUT and renamed over it, so a failed run leaves no half-written workbook.
#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>

#include "core/data/workbook_writer.h"
#include "dictbuild/dictbuild.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: dictbuild WORDLIST.tsv OUT.bat\n");
    return 2;
  }
  try {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot open ") + argv[1]);
    std::ostringstream text;
    text << in.rdbuf();
    const auto entries = sapala::tools::ParseDictionaryTsv(text.str());
    const auto bytes = sapala::data::WriteWorkbook({sapala::tools::DictionarySheet(entries)});
    const std::string out = argv[2];
    const std::string tmp = out + ".tmp";
    {
      std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
      f.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
      f.close();
      if (!f) throw std::runtime_error("cannot write " + tmp);
    }
    if (std::rename(tmp.c_str(), out.c_str()) != 0) {
      std::remove(tmp.c_str());
      throw std::runtime_error("cannot replace " + out);
    }
    std::printf("dictbuild: %zu headwords written to %s\n", entries.size(), out.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dictbuild: %s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
