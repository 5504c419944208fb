// What the skin fuzz targets share: a file system holding one small master bitmap, and a
// platform that answers without side effects.
#pragma once

#include <map>
#include <string>

#include "core/skin/file_system.h"
#include "core/skin/skin_platform.h"

namespace sapala::skin::fuzzing {

class FuzzFileSystem : public FileSystem {
 public:
  FuzzFileSystem() {
    // "M.BMP": 8 x 4, 24-bit, fuchsia in the top-left pixel.
    std::vector<std::uint8_t> b = {'B', 'M', 150, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0,  0,
                                   8,   0,   0,   0, 4, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0,  0, 96, 0,
                                   0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0,  0};
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 8; ++x) {
        const bool key = (x == 0 && y == 3);  // bottom-up: the last row is the top
        b.push_back(key ? 255 : 128);
        b.push_back(key ? 0 : 128);
        b.push_back(key ? 255 : 128);
      }
    }
    files_["C:\\S\\M.BMP"] = b;
  }
  bool FileExists(const std::string& p) const override { return files_.count(p) != 0; }
  bool DirectoryExists(const std::string&) const override { return false; }
  std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& p,
                                                    std::size_t) const override {
    auto it = files_.find(p);
    if (it == files_.end()) return std::nullopt;
    return it->second;
  }
  std::vector<DirEntry> ListDirectory(const std::string&) const override { return {}; }

 private:
  std::map<std::string, std::vector<std::uint8_t>> files_;
};

class QuietPlatform : public SkinPlatform {
 public:
  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string&) override {}
  std::string ProgramFolder() const override { return "C:\\P\\"; }
  std::vector<std::string> CommandLineArguments() const override { return {"/lctest"}; }
  int SizingFrameWidth() const override { return 4; }
  bool CompositionEnabled() const override { return true; }
};

}  // namespace sapala::skin::fuzzing
