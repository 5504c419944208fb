// Compound file writer: the layout details other readers rely on (header fields, directory
// order, the mini-stream cutoff) and the names it refuses. Reading back is tested with the
// reader, in compound_file_test.cpp.
#include "core/data/compound_file_writer.h"

#include <gtest/gtest.h>

#include "core/data/compound_file.h"
#include "core/data/error.h"

namespace sapala::data {
namespace {

std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST(CompoundFileWriter, HeaderAndDirectory) {
  const auto file =
      WriteCompoundFile({{"Workbook", std::vector<std::uint8_t>(5000, 1)},
                         {"\x05SummaryInformation", std::vector<std::uint8_t>(200, 2)}});
  EXPECT_EQ(file.size() % 512, 0u);
  EXPECT_EQ(Get32(file, 0x38), 4096u) << "mini stream cutoff";
  EXPECT_EQ(file[0x1A], 3) << "major version";
  const CompoundFile cf(file);
  const auto& e = cf.entries();
  ASSERT_GE(e.size(), 3u);
  EXPECT_EQ(e[0].name, "Root Entry");
  EXPECT_EQ(e[0].size, 256u) << "the mini stream holds the 200-byte stream in 64-byte units";
  // The root's child tree is ordered: shorter names first ("Workbook" before the other).
  const auto& root_child = e.at(e[0].child);
  EXPECT_EQ(root_child.type, 2);
  const int wb = cf.FindRootStream("Workbook");
  const int si = cf.FindRootStream("\x05SummaryInformation");
  ASSERT_GE(wb, 0);
  ASSERT_GE(si, 0);
  const auto& tree_root = e.at(e[0].child);
  if (tree_root.name == "Workbook") {
    EXPECT_EQ(tree_root.right, static_cast<std::uint32_t>(si));
  } else {
    EXPECT_EQ(tree_root.left, static_cast<std::uint32_t>(wb));
  }
}

TEST(CompoundFileWriter, RefusedNames) {
  const std::vector<std::vector<CompoundStream>> cases = {
      {{"", {}}},
      {{std::string(32, 'x'), {}}},
      {{"Workbook", {}}, {"WORKBOOK", {}}},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_THROW(WriteCompoundFile(c), DataError) << "case " << n;
    ++n;
  }
  EXPECT_NO_THROW(WriteCompoundFile({{std::string(31, 'x'), {}}}));
}

}  // namespace
}  // namespace sapala::data
