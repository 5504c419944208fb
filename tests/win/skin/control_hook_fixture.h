// Shared by the tests of the common-control hooks: the test skin copied into a folder of its own
// with the sections these hooks paint with added (the committed skins lack most of them), the
// common control classes registered, and helpers that read the hooks' pictures.
#pragma once

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/graphics/color.h"
#include "hook_fixture.h"
#include "win/skin/painted_hook.h"

namespace sapala::win::testing {

// Colours are given blue, green, red; each section's own colours differ from all others.
inline constexpr char kControlSections[] = R"(
[PAGECONTROL]
STATES=1
COLOR=$30A0A0
FONTCOLOR=$000000

[TABTOP]
STATES=3
COLOR=$A08000
HOTCOLOR=$2000C0
FONTCOLOR=$FFFFFF
HOTFONTCOLOR=$00FFFF

[UPDOWNBTN]
STATES=3
COLOR=$507050
HOTCOLOR=$90F090
FONTCOLOR=$000000

[SPEEDBUTTON_SMALL]
STATES=3
COLOR=$C0C0C0
HOTCOLOR=$00E000
FONTCOLOR=$000000
HOTFONTCOLOR=$FF0000

[TRACKBAR]
STATES=1
COLOR=$E0D0C0
FONTCOLOR=$101010

[SLIDERCHANNEL]
STATES=1
COLOR=$404040

[TOOLBAR]
STATES=1
COLOR=$D0D0D0
FONTCOLOR=$000000

[TOOLBUTTON]
STATES=3
COLOR=$B0B0B0
HOTCOLOR=$00F0F0
FONTCOLOR=$000000
HOTFONTCOLOR=$000000

[DIVIDER]
STATES=1
COLOR=$0000FF

[STATUSBAR]
STATES=1
COLOR=$E0C0A0
FONTCOLOR=$200000

[CHECKBOX]
STATES=2
COLOR=$F8F8F8
FONTCOLOR=$003000
HOTFONTCOLOR=$C00000
)";
// Added to the skin's global section: the size grip's picture, a part of the master bitmap.
inline constexpr char kGripLine[] = "GRIPIMAGE=@0064,0000,0080,0016,1,0\r\n";

class ControlHookTest : public HookTest {
 protected:
  void SetUp() override {
    HookTest::SetUp();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    ::InitCommonControlsEx(&icc);
    MakeSkin();
    manager_->Core().SetSkinDirectory(Narrow(dir_));
    manager_->Core().SetSkinName("CtlSkin");
    ASSERT_TRUE(manager_->SkinActive());
    ASSERT_GE(manager_->SectionIndex("TABTOP"), 0);
  }
  void TearDown() override {
    HookTest::TearDown();
    const std::wstring skin = dir_ + L"\\CtlSkin";
    for (const auto& f : files_) ::DeleteFileW((skin + L"\\" + f).c_str());
    ::RemoveDirectoryW(skin.c_str());
    ::RemoveDirectoryW(dir_.c_str());
  }

  // The RGB colour (0x00BBGGRR) of a section in the normal or hot state.
  TColor ColorOf(const char* section, bool hot = false) {
    const int i = manager_->SectionIndex(section);
    EXPECT_GE(i, 0) << section;
    if (i < 0) return 0;
    const auto& s = manager_->Core().Tables.Sections[static_cast<std::size_t>(i)];
    return graphics::ColorToRGB(hot ? s.HotColor : s.Color);
  }
  // The picture's colour at (x, y) as 0x00BBGGRR.
  static TColor At(const graphics::Bitmap* p, int x, int y) {
    if (!p || x < 0 || y < 0 || x >= p->Width() || y >= p->Height()) return 0xFFFFFFFF;
    const std::uint32_t w = p->PixelWord(x, y);
    return ((w >> 16) & 0xFF) | (w & 0xFF00) | ((w & 0xFF) << 16);
  }
  static TColor At(TlcMainWnd& hook, POINT p) { return At(hook.CachePicture(), p.x, p.y); }
  // The centre of a rectangle.
  static POINT Mid(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  // How many pixels of the picture inside `r` have colour `c`.
  static int Count(const graphics::Bitmap* p, const RECT& r, TColor c) {
    int n = 0;
    for (int y = r.top; p && y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(p, x, y) == c;
    return n;
  }
  // Paints the window now through its own WM_PAINT (the hook's painting path).
  static void PaintNow(HWND h) {
    ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }

 private:
  static std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }
  void MakeSkin() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    dir_ = std::wstring(temp) + L"sapala-ctl-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring skin = dir_ + L"\\CtlSkin";
    ::CreateDirectoryW(dir_.c_str(), nullptr);
    ::CreateDirectoryW(skin.c_str(), nullptr);
    std::string source = TestSkinFolder() + "\\TestSkin\\";
    const std::wstring from(source.begin(), source.end());
    files_ = {L"Options.dat", L"MASTER.BMP", L"GLYPH.PNG", L"plain.bmp",
              L"lower.bmp",   L"big.jpg",    L"small.jpg"};
    for (const auto& f : files_) {
      ASSERT_TRUE(::CopyFileW((from + f).c_str(), (skin + L"\\" + f).c_str(), FALSE)) << "copy";
    }
    const std::wstring options = skin + L"\\Options.dat";
    std::string text(1 << 16, '\0');
    DWORD got = 0;
    HANDLE in = ::CreateFileW(options.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(in, INVALID_HANDLE_VALUE);
    ::ReadFile(in, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    ::CloseHandle(in);
    text.resize(got);
    const std::size_t global = text.find("[GLOBALINFO]");
    ASSERT_NE(global, std::string::npos);
    text.insert(text.find('\n', global) + 1, kGripLine);
    text += kControlSections;
    HANDLE out = ::CreateFileW(options.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(out);
  }

  std::wstring dir_;
  std::vector<std::wstring> files_;
};

template <typename T>
T* HookAs(HWND h) {
  return dynamic_cast<T*>(TlcMainWnd::FromWindow(h));
}

}  // namespace sapala::win::testing
