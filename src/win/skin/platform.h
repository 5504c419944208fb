// What the skin engine asks of Windows outside of windows and painting: message boxes, the
// program's folder and command line, system metrics, and the optional functions looked up by
// name at start-up (layered windows in user32, desktop composition in dwmapi).
//
// Message boxes can be redirected (tests): while a sink is set, the texts go there instead of
// to a box that would wait for a click.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/skin/effects.h"
#include "core/skin/skin_platform.h"

namespace sapala::win::skin {

// The layered-window functions, nullptr where the system lacks them.
struct LayeredWindowApi {
  decltype(&::UpdateLayeredWindow) UpdateLayeredWindow = nullptr;
  decltype(&::SetLayeredWindowAttributes) SetLayeredWindowAttributes = nullptr;
};
// Looked up once in "user32.dll", on first use (the unit's start-up makes that first use).
const LayeredWindowApi& LayeredApi() noexcept;

// Desktop composition is on (DwmIsCompositionEnabled, looked up in "dwmapi.dll"; off when the
// system has no such function).
bool CompositionEnabled() noexcept;

// Visual styles are in use: the system's theme is active and this program draws with it
// (IsThemeActive and IsAppThemed of "uxtheme.dll", looked up on first use; false without them).
bool ThemesInUse() noexcept;
// SetWindowTheme of "uxtheme.dll": blank names (L" ") switch the window's visual style off,
// nullptr names give it the default style back. False when the system has no such function
// or it failed.
bool SetWindowThemeNames(HWND hwnd, const wchar_t* subApp, const wchar_t* idList) noexcept;

// Whether a command line holds anything after the program's name (by the rules by which
// CommandLineToArgvW finds that name).
bool CommandLineHasArguments(std::wstring_view line) noexcept;

class Win32SkinPlatform final : public sapala::skin::SkinPlatform {
 public:
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  std::string ProgramFolder() const override;
  std::vector<std::string> CommandLineArguments() const override;
  int SizingFrameWidth() const override;
  bool CompositionEnabled() const override;
};

class Win32GlowPlatform final : public sapala::skin::GlowPlatform {
 public:
  bool LayeredWindowsAvailable() const override;
  bool DesignMode() const override { return false; }
  bool Wow64WithoutComposition() const override;
};

// While set, message boxes of the engine are handed here (text, true for an error box).
using MessageSink = std::function<void(const std::string& text, bool error)>;
void SetMessageSink(MessageSink sink);

}  // namespace sapala::win::skin
