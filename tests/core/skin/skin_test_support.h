// Fakes shared by the skin tests: an in-memory file system with Windows-style paths, a platform
// that records message boxes, a host that records what the manager asks of the windows, and a
// small BMP writer for pictures made in the tests.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/skin/file_system.h"
#include "core/skin/skin_manager.h"
#include "core/skin/skin_platform.h"

namespace sapala::skin::testing {

class MemoryFileSystem : public FileSystem {
 public:
  void Add(const std::string& path, std::vector<std::uint8_t> bytes) {
    files_[path] = std::move(bytes);
  }
  void Add(const std::string& path, const std::string& text) {
    files_[path] = std::vector<std::uint8_t>(text.begin(), text.end());
  }
  void AddDirectory(const std::string& path) { dirs_.push_back(Trim(path)); }
  void Remove(const std::string& path) { files_.erase(path); }

  bool FileExists(const std::string& path) const override { return files_.count(path) != 0; }
  bool DirectoryExists(const std::string& path) const override {
    const std::string p = Trim(path);
    for (const auto& d : dirs_) {
      if (d == p) return true;
    }
    for (const auto& [f, _] : files_) {
      if (f.size() > p.size() && f.compare(0, p.size(), p) == 0 && f[p.size()] == '\\') return true;
    }
    return false;
  }
  std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path,
                                                    std::size_t maxBytes) const override {
    auto it = files_.find(path);
    if (it == files_.end() || it->second.size() > maxBytes) return std::nullopt;
    ++reads;
    return it->second;
  }
  std::vector<DirEntry> ListDirectory(const std::string& path) const override {
    const std::string p = Trim(path) + "\\";
    std::map<std::string, bool> seen;
    auto note = [&](const std::string& full, bool isDir) {
      if (full.size() <= p.size() || full.compare(0, p.size(), p) != 0) return;
      std::string rest = full.substr(p.size());
      auto slash = rest.find('\\');
      if (slash == std::string::npos) {
        seen.emplace(rest, isDir);
      } else {
        seen[rest.substr(0, slash)] = true;
      }
    };
    for (const auto& [f, _] : files_) note(f, false);
    for (const auto& d : dirs_) note(d, true);
    std::vector<DirEntry> out;
    for (const auto& [n, d] : seen) out.push_back(DirEntry{n, d});
    return out;
  }

  mutable int reads = 0;

 private:
  static std::string Trim(std::string p) {
    while (!p.empty() && p.back() == '\\') p.pop_back();
    return p;
  }
  std::map<std::string, std::vector<std::uint8_t>> files_;
  std::vector<std::string> dirs_;
};

class FakePlatform : public SkinPlatform {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  std::string ProgramFolder() const override { return programFolder; }
  std::vector<std::string> CommandLineArguments() const override { return arguments; }
  int SizingFrameWidth() const override { return frameWidth; }
  bool CompositionEnabled() const override { return composition; }
  bool DesignMode() const override { return design; }

  std::vector<std::string> messages;
  std::vector<std::string> errors;
  std::string programFolder = "C:\\Program Files\\Sapala Vova\\";
  std::vector<std::string> arguments;
  int frameWidth = 4;
  bool composition = false;
  bool design = false;
};

class RecordingHost : public SkinManagerHost {
 public:
  bool FormLoading() const override { return loading; }
  void Broadcast(int command) override { calls.push_back("broadcast " + std::to_string(command)); }
  void HideGlows() override { calls.push_back("hide glows"); }
  void SnapshotForms() override { calls.push_back("snapshot"); }
  void PrepareAnimation() override { calls.push_back("prepare"); }
  void MenuSkinChanged() override { calls.push_back("menu"); }
  void InstallHooks() override { calls.push_back("install hooks"); }
  void UninstallHooks() override { calls.push_back("uninstall hooks"); }
  void RepaintAll(bool animate, bool prepared) override {
    calls.push_back(std::string(animate ? "repaint animated" : "repaint") +
                    (prepared ? " prepared" : ""));
  }
  void RehookPopups() override { calls.push_back("rehook popups"); }
  int Count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += c == call ? 1 : 0;
    return n;
  }

  bool loading = false;
  std::vector<std::string> calls;
};

// A 24-bit bottom-up BMP of `w` x `h`; pixel(x, y) gives 0x00RRGGBB with y = 0 the top row.
template <class Pixel>
std::vector<std::uint8_t> MakeBmp24(int w, int h, Pixel pixel) {
  const int row = (w * 3 + 3) & ~3;
  const std::uint32_t dataSize = static_cast<std::uint32_t>(row * h);
  std::vector<std::uint8_t> b;
  auto u16 = [&](std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto u32 = [&](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  b.push_back('B');
  b.push_back('M');
  u32(54 + dataSize);
  u32(0);
  u32(54);
  u32(40);
  u32(static_cast<std::uint32_t>(w));
  u32(static_cast<std::uint32_t>(h));
  u16(1);
  u16(24);
  u32(0);
  u32(dataSize);
  u32(2835);
  u32(2835);
  u32(0);
  u32(0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t rgb = pixel(x, y);
      b.push_back(static_cast<std::uint8_t>(rgb));
      b.push_back(static_cast<std::uint8_t>(rgb >> 8));
      b.push_back(static_cast<std::uint8_t>(rgb >> 16));
    }
    for (int p = w * 3; p < row; ++p) b.push_back(0);
  }
  return b;
}

// The test skin folder in the source tree, Windows style with trailing backslash is not used:
// HostFileSystem turns "\" into "/" on Linux.
inline std::string TestDataDir() {
  return std::string(SAPALA_SOURCE_DIR) + "/tests/core/skin/data";
}

}  // namespace sapala::skin::testing
