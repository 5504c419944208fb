// Shared by the hook tests: a shown form with the test skin applied, and standard windows made
// on it either as foreign windows (CreateWindowExW) or through a control object.
#pragma once

#include "skin_fixture.h"
#include "win/controls/skin_link.h"
#include "win/framework/controls.h"
#include "win/skin/hook_base.h"

namespace sapala::win::testing {

// A standard push button owned by a control object, as the platform's forms make them.
class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner) : TWinControl(owner) { SetClassName("TButton"); }

 protected:
  void CreateParams(struct CreateParams& params) override {
    TWinControl::CreateParams(params);
    params.window_class = L"BUTTON";
    params.standard_class = true;
    params.style |= BS_PUSHBUTTON | WS_TABSTOP;
  }
};

class HookTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    RegisterComponentClass<TButton>("TButton");
    form_ = &AddForm("F", "", true);
    manager_ = &form_->Create<TsSkinManager>();
    manager_->Core().SetSkinDirectory(TestSkinFolder());
    manager_->Core().SetSkinName("TestSkin");
    ASSERT_TRUE(manager_->SkinActive());
  }
  void TearDown() override {
    for (HWND h : windows_) {
      if (::IsWindow(h)) ::DestroyWindow(h);
    }
    SkinTest::TearDown();
  }
  // A foreign child window of the form (destroyed at the end of the test if still there).
  HWND Child(const wchar_t* cls, DWORD style, int x, int y, int w, int h,
             const wchar_t* text = L"") {
    HWND hwnd = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                  form_->WindowHandle(), nullptr, nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    windows_.push_back(hwnd);
    return hwnd;
  }
  static LRESULT Cmd(HWND hwnd, WORD cmd, WORD arg = 0, LPARAM lp = 0) {
    return ::SendMessageW(hwnd, skin::SM_LUMOCMD, MAKEWPARAM(arg, cmd), lp);
  }
  static WNDPROC ProcOf(HWND hwnd) {
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  }
  void Pump() { app_->ProcessMessages(); }

  TRecForm* form_ = nullptr;
  TsSkinManager* manager_ = nullptr;
  std::vector<HWND> windows_;
};

}  // namespace sapala::win::testing
