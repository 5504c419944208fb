// Shared by the skin engine's Windows tests: the unit started and stopped around each test
// (its tick window is one of our handles), message boxes recorded instead of shown, forms built
// from descriptions, and recording controls that log every SM_LUMOCMD they get.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win/controls/label_fx.h"
#include "win/framework/application.h"
#include "win/framework/loader.h"
#include "win/framework/stdctrls.h"
#include "win/skin/platform.h"
#include "win/skin/skin_manager.h"

namespace sapala::win::testing {

// "Name:command" for each SM_LUMOCMD that reached a recorder, in order.
inline std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

inline void Record(const TComponent& c, WPARAM wp) {
  Log().push_back(c.Name() + ":" + std::to_string(HIWORD(wp)));
}

// A form that records what it gets.
class TRecForm : public TForm {
 public:
  explicit TRecForm(TComponent* owner) : TForm(owner) { SetClassName("TRecForm"); }
  void WndProc(Message& m) override {
    if (m.Msg == skin::SM_LUMOCMD) {
      if (HIWORD(m.WParam) == skin::cmdIsSkinned) {
        m.Result = skinned ? 1 : 0;
        return;
      }
      Record(*this, m.WParam);
      return;
    }
    if (m.Msg == WM_THEMECHANGED) themeChanges++;
    TForm::WndProc(m);
  }
  bool skinned = false;
  int themeChanges = 0;
};

// A windowed control that records; with Skinned it answers cmdIsSkinned and so gets the
// broadcast sent to its window (its children are then its own business).
class TRecWin : public TCustomControl {
 public:
  explicit TRecWin(TComponent* owner) : TCustomControl(owner) { SetClassName("TRecWin"); }
  void WndProc(Message& m) override {
    if (m.Msg == skin::SM_LUMOCMD) {
      if (HIWORD(m.WParam) == skin::cmdIsSkinned) {
        ++isSkinnedQueries;
        m.Result = skinned ? 1 : 0;
        return;
      }
      Record(*this, m.WParam);
      return;
    }
    TCustomControl::WndProc(m);
  }
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override {
    if (name == "Skinned") {
      skinned = loader.Bool(p);
      return true;
    }
    return TCustomControl::ReadProperty(name, p, loader);
  }
  bool skinned = false;
  int isSkinnedQueries = 0;
};

// A windowless control that records what is handed to it.
class TRecDot : public TGraphicControl {
 public:
  explicit TRecDot(TComponent* owner) : TGraphicControl(owner) { SetClassName("TRecDot"); }
  void Dispatch(Message& m) override {
    if (m.Msg == skin::SM_LUMOCMD) Record(*this, m.WParam);
  }
};

inline std::string TestSkinFolder() {
  std::string dir = "Z:" SAPALA_SOURCE_DIR "/tests/core/skin/data";
  for (char& c : dir) {
    if (c == '/') c = '\\';
  }
  return dir;
}

// The program's own skin, as installed beside it (the committed DiruriZedaz).
inline std::string AssetSkinFolder() {
  std::string dir = "Z:" SAPALA_SOURCE_DIR "/assets/skin";
  for (char& c : dir) {
    if (c == '/') c = '\\';
  }
  return dir;
}

// What runs while a popup menu is open: called from a thread timer inside the menu loop
// (SetTimer(nullptr, 0, ms, CloseMenuTick)), which is then closed with EndMenu.
inline std::function<void()>& WhileMenuOpen() {
  static std::function<void()> f;
  return f;
}
inline void CALLBACK CloseMenuTick(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  if (WhileMenuOpen()) WhileMenuOpen()();
  ::EndMenu();
}

// The visible popup menu window ("#32768") of this thread, nullptr when none is open.
inline HWND ShownPopupMenuWindow() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        wchar_t cls[16]{};
        ::GetClassNameW(w, cls, 16);
        if (std::wstring(cls) == L"#32768" && ::IsWindowVisible(w)) {
          *reinterpret_cast<HWND*>(out) = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class SkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterComponentClass<TRecForm>("TRecForm");
    RegisterComponentClass<TRecWin>("TRecWin");
    RegisterComponentClass<TRecDot>("TRecDot");
    RegisterStandardControls();
    RegisterSkinnedLabels();
    RegisterSkinManager();
    skin::SetMessageSink([this](const std::string& text, bool error) {
      (error ? errors_ : messages_).push_back(text);
    });
    app_ = std::make_unique<TApplication>();
    app_->OnException = [this](const std::string& m) { errors_.push_back(m); };
    StartUpSkinUnit();
    Log().clear();
  }
  void TearDown() override {
    app_.reset();
    ShutDownSkinUnit();
    skin::SetMessageSink(nullptr);
    EXPECT_TRUE(errors_.empty()) << (errors_.empty() ? "" : errors_.front());
  }
  // A form of the application from a description body (the components inside the form).
  TRecForm& AddForm(const std::string& name, const std::string& body, bool show = false) {
    TRecForm& f = app_->Create<TRecForm>();
    f.LoadDescription("object " + name +
                      ": TRecForm\n  Left = 20\n  Top = 20\n"
                      "  ClientWidth = 200\n  ClientHeight = 120\n  Color = clWhite\n" +
                      body + "end\n");
    f.CreateHandle();
    if (show) f.Show();
    app_->ProcessMessages();
    return f;
  }
  template <typename T>
  T& Get(TComponent& form, const char* name) {
    T* c = form.Find<T>(name);
    EXPECT_NE(c, nullptr) << name;
    return *c;
  }

  std::unique_ptr<TApplication> app_;
  std::vector<std::string> messages_;
  std::vector<std::string> errors_;
};

}  // namespace sapala::win::testing
