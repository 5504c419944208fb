// Whole-file reading: the size limit holds exactly, and failures name the file and the reason.
#include "core/data/file.h"

#include <gtest/gtest.h>

#include "core/data/error.h"
#include "temp_dir.h"

namespace sapala::data {
namespace {

TEST(File, SizeLimitAndFailures) {
  testing::TempDir dir;
  // 200,000 bytes: several read blocks, so the limit is checked across blocks.
  std::vector<std::uint8_t> bytes(200000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  const std::string path = dir.Write("f.bin", bytes);
  EXPECT_EQ(ReadWholeFile(path, bytes.size()), bytes) << "a file exactly at the limit reads";
  EXPECT_TRUE(ReadWholeFile(dir.Write("empty", {}), 0).empty());
  struct Case {
    std::string path;
    std::size_t limit;
    std::string want;
  } cases[] = {
      {path, bytes.size() - 1, "is too large"},
      {path, 65536, "is too large"},
      {dir.File("missing.bat"), 1000, "missing.bat\" cannot be opened: the file does not exist"},
      {dir.File(""), 1000, "cannot be"},  // a folder
  };
  int n = 0;
  for (const auto& c : cases) {
    try {
      ReadWholeFile(c.path, c.limit);
      ADD_FAILURE() << "case " << n << ": have success, want \"" << c.want << "\"";
    } catch (const DataError& e) {
      EXPECT_NE(std::string(e.what()).find(c.want), std::string::npos)
          << "case " << n << ": have \"" << e.what() << "\"";
    }
    ++n;
  }
}

}  // namespace
}  // namespace sapala::data
