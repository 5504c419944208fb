// Shared by the control tests: a form built from a description and shown, driven with real
// messages through the application's loop, and pictures of windows taken into 32-bit DIBs.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../support/app_test.h"
#include "win/framework/dib.h"
#include "win/controls/glaze_button.h"
#include "win/controls/label_fx.h"
#include "win/framework/application.h"
#include "win/framework/stdctrls.h"

namespace sapala::win::testing {

class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {
    SetClassName("TTestForm");
    RegisterHandler("Clicked", TNotifyEvent([this](TObject& s) {
                      clicks.push_back(static_cast<TComponent&>(s).Name());
                    }));
    RegisterHandler("KeyDowned",
                    TKeyEvent([this](TObject&, WORD& key, unsigned) { keys.push_back(key); }));
    // Mouse events as "Name event [button]", e.g. "Go down middle", "Plain enter".
    static constexpr const char* kButtons[] = {"left", "right", "middle"};
    auto button = [this](const char* what) {
      return TMouseEvent([this, what](TObject& s, MouseButton b, unsigned, int, int) {
        mouse.push_back(static_cast<TComponent&>(s).Name() + " " + what + " " +
                        kButtons[static_cast<int>(b)]);
      });
    };
    RegisterHandler("MouseDowned", button("down"));
    RegisterHandler("MouseUpped", button("up"));
    RegisterHandler("MouseEntered", TNotifyEvent([this](TObject& s) {
                      mouse.push_back(static_cast<TComponent&>(s).Name() + " enter");
                    }));
    RegisterHandler("MouseLeft", TNotifyEvent([this](TObject& s) {
                      mouse.push_back(static_cast<TComponent&>(s).Name() + " leave");
                    }));
  }
  std::vector<std::string> clicks;
  std::vector<WORD> keys;
  std::vector<std::string> mouse;
};

// The form's head: 240 × 160 client pixels, white, at a fixed place; components follow.
inline std::string FormText(const std::string& components) {
  return "object TestForm: TTestForm\n  Left = 10\n  Top = 10\n  BorderStyle = bsSingle\n"
         "  ClientWidth = 240\n  ClientHeight = 160\n  Color = clWhite\n" +
         components + "end\n";
}

class ControlsTest : public AppTest {
 protected:
  void Build(const std::string& components) {
    RegisterGlazeButton();
    RegisterSkinnedLabels();
    RegisterStandardControls();
    ::SetCursorPos(1000, 740);  // away from every test form
    StartApplication();
    form_ = &app_->Create<TTestForm>();
    form_->LoadDescription(FormText(components));
    form_->CreateHandle();
    form_->Show();
    app_->ProcessMessages();
  }
  template <typename T>
  T& Get(const char* name) {
    T* c = form_->Find<T>(name);
    EXPECT_NE(c, nullptr) << name;
    return *c;
  }

  // A mouse message at (x, y) of `to`; the real pointer is put there first, so that what the
  // window system reports on its own (leave tracking, moves after a capture ends) agrees.
  void Mouse(HWND to, UINT msg, int x, int y, WPARAM keys = 0) {
    POINT pt{x, y};
    ::ClientToScreen(to, &pt);
    ::SetCursorPos(pt.x, pt.y);
    ::Sleep(20);
    app_->ProcessMessages();  // what the window system makes of the move comes first
    Post(to, msg, keys,
         MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                    static_cast<WORD>(static_cast<short>(y))));
  }
  void Key(HWND to, WORD vk, bool down, BYTE shift_key = 0) {
    BYTE state[256] = {};
    if (shift_key) state[shift_key] = 0x80;
    ::SetKeyboardState(state);
    Post(to, down ? WM_KEYDOWN : WM_KEYUP, vk, down ? 1 : static_cast<LPARAM>(0xC0000001));
    state[shift_key] = 0;
    ::SetKeyboardState(state);
  }

  // The form's client area as its own paint code draws it (WM_PRINTCLIENT into a DIB).
  void Snapshot(DibSurface& out) {
    const RECT r = form_->ClientRect();
    out.Resize(r.right, r.bottom);
    ::SendMessageW(form_->WindowHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(out.DC()),
                   PRF_CLIENT);
    ::GdiFlush();
  }
  static TColor At(DibSurface& s, int x, int y) {
    return graphics::ColorFromPixel(s.Pixels().Row32(y)[x]) & 0xFFFFFF;
  }

  TTestForm* form_ = nullptr;
};

}  // namespace sapala::win::testing
