// What the skin tools (skindump, skinsheet) share: a console stand-in for the platform's message
// boxes, and loading a skin named by a path through the skin manager's loading sequence.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/skin/file_system.h"
#include "core/skin/skin_manager.h"
#include "core/skin/skin_platform.h"

namespace sapala::tools {

// Message boxes go to standard error; errors are counted.
class ConsolePlatform : public skin::SkinPlatform {
 public:
  void ShowMessage(const std::string& text) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  }
  void ShowError(const std::string& text) override {
    std::fprintf(stderr, "error: %s\n", text.c_str());
    ++errors;
  }
  // Absolute folders are given to the manager, so nothing is prepended.
  std::string ProgramFolder() const override { return ""; }
  std::vector<std::string> CommandLineArguments() const override { return {}; }
  int SizingFrameWidth() const override { return 4; }
  bool CompositionEnabled() const override { return false; }
  int errors = 0;
};

// A skin loaded from a folder (holding Options.dat) or a packed file (".lsz") given by path.
// The manager's settings are applied before the one load.
struct SkinTool {
  skin::HostFileSystem fs;
  ConsolePlatform platform;
  skin::SkinManagerHost host;
  skin::BuiltInShadows shadows = skin::LoadBuiltInShadows();
  std::unique_ptr<skin::SkinManagerCore> manager;
  std::filesystem::path path;  // absolute, without a trailing separator
  std::string name;            // the last part of the path
  std::string dir;             // the folder holding it

  // False when the path cannot be made absolute.
  bool Prepare(const std::string& skinPath) {
    std::error_code ec;
    path = std::filesystem::absolute(skinPath, ec).lexically_normal();
    if (ec) return false;
    if (path.filename().empty()) path = path.parent_path();  // "folder/" given
    name = path.filename().string();
    dir = path.parent_path().string();
    manager = std::make_unique<skin::SkinManagerCore>(fs, platform, host, nullptr, &shadows);
    manager->SetActive(false);  // settings first, then one load
    manager->SetSkinDirectory(dir);
    return true;
  }
  // Loads the skin; false (with a message) when none was found.
  bool Load(const char* tool) {
    manager->SetSkinName(name);
    manager->SetActive(true);
    if (!manager->Active()) {
      std::fprintf(stderr, "%s: no skin \"%s\" in %s\n", tool, name.c_str(), dir.c_str());
      return false;
    }
    return true;
  }
  // The file the loaded skin was read from: the packed file or the folder's Options.dat.
  std::filesystem::path Source() const {
    const std::filesystem::path folder = path.parent_path();
    return manager->IsPacked() ? folder / (manager->SkinName() + ".lsz")
                               : folder / manager->SkinName() / "Options.dat";
  }
};

}  // namespace sapala::tools
