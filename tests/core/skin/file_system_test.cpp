// The host file system: Windows-style paths reach real files, size limits hold, folders list.
#include "core/skin/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace sapala::skin {
namespace {

TEST(HostFileSystem, WindowsStylePathsLimitsAndListing) {
  const auto root =
      std::filesystem::temp_directory_path() / ("sapala_fs_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(root / "Skin");
  std::ofstream(root / "Skin" / "Options.dat", std::ios::binary) << "[GLOBALINFO]\n";
  std::ofstream(root / "a.lsz") << "x";
  const std::string base = root.string();
  HostFileSystem fs;
  const std::string file = base + "\\Skin\\Options.dat";  // backslashes as the manager writes them
  EXPECT_TRUE(fs.FileExists(file));
  EXPECT_FALSE(fs.FileExists(base + "\\Skin"));
  EXPECT_TRUE(fs.DirectoryExists(base + "\\Skin\\"));
  EXPECT_FALSE(fs.DirectoryExists(file));
  auto bytes = fs.ReadFile(file, 100);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "[GLOBALINFO]\n");
  EXPECT_FALSE(fs.ReadFile(file, 5));  // larger than allowed
  EXPECT_FALSE(fs.ReadFile(base + "\\missing", 100));
  auto list = fs.ListDirectory(base);
  ASSERT_EQ(list.size(), 2u);
  std::sort(list.begin(), list.end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  EXPECT_EQ(list[0].name, "Skin");
  EXPECT_TRUE(list[0].isDirectory);
  EXPECT_EQ(list[1].name, "a.lsz");
  EXPECT_FALSE(list[1].isDirectory);
  EXPECT_TRUE(fs.ListDirectory(base + "\\none").empty());
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace sapala::skin
