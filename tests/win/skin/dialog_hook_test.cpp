// System dialogs under a loaded skin: real message boxes of every button set, owned and
// unowned, inspected from a timer inside their modal loop (dialog hook, button, text and icon
// hooks, the composed frame and its hit test), the skinning rules, removal of the skin while a
// box is open, and the handle census over a thousand boxes.
#include "win/skin/dialog_hook.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "core/codecs/png_writer.h"
#include "core/graphics/pixels.h"
#include "core/skin/frame_hit_test.h"
#include "skin_fixture.h"
#include "win/controls/skin_link.h"
#include "win/framework/dib.h"
#include "win/skin/animations.h"
#include "win/skin/border_form.h"
#include "win/skin/button_hook.h"
#include "win/skin/cbt_hook.h"
#include "win/skin/plug_ins.h"
#include "win/skin/static_hooks.h"
#include "win/skin/frame_hooks.h"
#include "win/skin/range_hooks.h"
#include "win/skin/tab_hook.h"

namespace sapala::win::testing {
namespace {

namespace sk = sapala::skin;
using graphics::Rect;

std::string CommittedSkinFolder() {
  std::string path = "Z:" SAPALA_SOURCE_DIR "/assets/skin";
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::wstring ClassOf(HWND h) {
  wchar_t name[64] = {};
  ::GetClassNameW(h, name, 64);
  return name;
}

// The visible system dialog of this thread, nullptr when none is up.
HWND OpenBox() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND h, LPARAM lp) -> BOOL {
        if (ClassOf(h) == L"#32770" && ::IsWindowVisible(h)) {
          *reinterpret_cast<HWND*>(lp) = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> out;
  for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
  return out;
}

// Evidence, not a check: with SAPALA_DIALOG_SHOT set, the box as the screen shows it is written
// to that PNG file.
void ShootWhenAsked(HWND box) {
  const char* path = std::getenv("SAPALA_DIALOG_SHOT");
  if (!path) return;
  ::RedrawWindow(box, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT r{};
  ::GetWindowRect(box, &r);
  graphics::Bitmap shot = graphics::NewBitmap32(r.right - r.left + 40, r.bottom - r.top + 40);
  {
    WindowDC screen(nullptr);
    MemoryDC dc(::CreateCompatibleDC(screen.get()));
    SelectedObject selected(dc.get(), DibHandle(shot));
    ::BitBlt(dc.get(), 0, 0, shot.Width(), shot.Height(), screen.get(), r.left - 20, r.top - 20,
             SRCCOPY);
    ::GdiFlush();
  }
  graphics::SetOpacityRect(shot, shot.Bounds(), 255, false);
  const std::vector<std::uint8_t> png = codecs::WritePng(shot);
  if (FILE* f = std::fopen(path, "wb")) {
    std::fwrite(png.data(), 1, png.size(), f);
    std::fclose(f);
  }
}

LRESULT Cmd(HWND hwnd, WORD cmd) {
  return ::SendMessageW(hwnd, skin::SM_LUMOCMD, MAKEWPARAM(0, cmd), 0);
}

// What the timer saw inside a box's modal loop.
struct Seen {
  bool found = false;
  bool dialogSkinned = false;
  bool hasProvider = false;
  int visibleButtons = 0;
  int hookedButtons = 0;
  int textHooks = 0;
  int iconHooks = 0;
  bool frameImage = false;
  int captionHeight = -1;
  int hitAtClose = 0;
  bool regionSet = false;
  TColor dialogBrush = graphics::clNone;
  TColor formColor = graphics::clNone;
};

// Runs `inspect` on the open box from a thread timer in the box's modal loop, then closes it
// with WM_COMMAND `closeId`.
struct BoxProbe {
  static BoxProbe*& Current() {
    static BoxProbe* p = nullptr;
    return p;
  }
  std::function<void(HWND)> inspect;
  WORD closeId = IDOK;
  int ticks = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    BoxProbe* self = Current();
    if (!self) return;
    HWND box = OpenBox();
    if (!box && ++self->ticks < 200) return;
    if (box) {
      self->inspect(box);
      ::PostMessageW(box, WM_COMMAND, self->closeId, 0);
    }
    Current() = nullptr;
  }
};

// Opens a message box and runs `inspect` inside it; returns the box's answer.
int RunBox(HWND owner, UINT type, WORD closeId, std::function<void(HWND)> inspect) {
  BoxProbe probe;
  probe.inspect = std::move(inspect);
  probe.closeId = closeId;
  BoxProbe::Current() = &probe;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 1, &BoxProbe::Tick);
  const int answer = ::MessageBoxW(owner, L"Tembung ora ketemu.\nCoba maneh?", L"Sapala", type);
  ::KillTimer(nullptr, timer);
  BoxProbe::Current() = nullptr;
  return answer;
}

Seen Inspect(HWND box) {
  Seen s;
  s.found = true;
  s.dialogSkinned = Cmd(box, skin::cmdIsSkinned) != 0;
  TlcProvider* provider = skin::DialogProviderOf(box);
  s.hasProvider = provider != nullptr;
  for (HWND c : ChildrenOf(box)) {
    TlcMainWnd* hook = TlcMainWnd::FromWindow(c);
    const std::wstring cls = ClassOf(c);
    if (_wcsicmp(cls.c_str(), L"button") == 0 && ::IsWindowVisible(c)) {
      ++s.visibleButtons;
      if (dynamic_cast<TlcBtnWnd*>(hook) && Cmd(c, skin::cmdIsSkinned)) ++s.hookedButtons;
    }
    if (dynamic_cast<TlcIconWnd*>(hook)) {
      ++s.iconHooks;
    } else if (dynamic_cast<TlcStaticWnd*>(hook)) {
      ++s.textHooks;
    }
  }
  if (provider && provider->DialogHook()) {
    TlcDialogWnd& d = *provider->DialogHook();
    graphics::Bitmap* image = d.FrameImage();
    RECT wr{};
    ::GetWindowRect(box, &wr);
    s.frameImage =
        image && image->Width() == wr.right - wr.left && image->Height() == wr.bottom - wr.top;
    s.captionHeight = d.CaptionHeight();
    Region probe(::CreateRectRgn(0, 0, 0, 0));
    s.regionSet = ::GetWindowRgn(box, probe.get()) != ERROR;
    s.formColor = d.FormColor();
    WindowDC dc(box);
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
        box, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(box)));
    LOGBRUSH lb{};
    if (brush && ::GetObjectW(brush, sizeof lb, &lb)) s.dialogBrush = lb.lbColor;
    for (const auto& b : d.Buttons().System) {
      if (b.Visible && b.HitCode == sk::kHitClose) {
        s.hitAtClose =
            d.HitTestAt({(b.Rect.left + b.Rect.right) / 2, (b.Rect.top + b.Rect.bottom) / 2});
      }
    }
  }
  return s;
}

class DialogHookTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    InstallDibSections();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    ::InitCommonControlsEx(&icc);
    skin::RegisterDialogSkinning();
    host_ = &AddForm("Host", "", true);
    manager_ = &host_->Create<TsSkinManager>();
    manager_->Core().SetSkinDirectory(CommittedSkinFolder());
    manager_->Core().SetSkinName("DiruriZedaz");
    ASSERT_TRUE(manager_->SkinActive());
    ASSERT_NE(manager_->CbtHook(), nullptr);
  }
  void TearDown() override {
    skin::PlugIns() = skin::SkinPlugIns{};
    SkinTest::TearDown();
  }
  // Lets the providers of closed boxes be freed (they go from a timer, outside every message).
  void SweepProviders() {
    for (int i = 0; i < 50 && skin::DialogProviderCount() > 0; ++i) {
      ::Sleep(2);
      app_->ProcessMessages();
    }
  }
  TRecForm* host_ = nullptr;
  TsSkinManager* manager_ = nullptr;
};

TEST_F(DialogHookTest, MessageBoxesOfEveryButtonSetAreSkinnedOwnedAndUnowned) {
  struct Case {
    const char* name;
    UINT type;
    int buttons;
    WORD close;
  };
  const Case cases[] = {
      {"ok", MB_OK | MB_ICONINFORMATION, 1, IDOK},
      {"ok-cancel", MB_OKCANCEL | MB_ICONQUESTION, 2, IDCANCEL},
      {"abort-retry-ignore", MB_ABORTRETRYIGNORE | MB_ICONERROR, 3, IDIGNORE},
      {"yes-no-cancel", MB_YESNOCANCEL | MB_ICONWARNING, 3, IDNO},
      {"yes-no", MB_YESNO | MB_ICONQUESTION, 2, IDYES},
      {"retry-cancel", MB_RETRYCANCEL | MB_ICONERROR, 2, IDRETRY},
      {"cancel-try-continue", MB_CANCELTRYCONTINUE | MB_ICONWARNING, 3, IDCONTINUE},
  };
  for (const bool owned : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (owned ? " owned" : " unowned"));
      Seen seen;
      const int answer =
          RunBox(owned ? host_->WindowHandle() : nullptr, c.type, c.close, [&](HWND box) {
            seen = Inspect(box);
            if (owned && c.type == (MB_YESNOCANCEL | MB_ICONWARNING)) ShootWhenAsked(box);
          });
      ASSERT_TRUE(seen.found);
      EXPECT_EQ(answer, c.close);
      EXPECT_TRUE(seen.dialogSkinned);
      EXPECT_TRUE(seen.hasProvider);
      EXPECT_EQ(seen.visibleButtons, c.buttons);
      EXPECT_EQ(seen.hookedButtons, c.buttons);
      EXPECT_EQ(seen.textHooks, 1);
      EXPECT_EQ(seen.iconHooks, 1);
      EXPECT_TRUE(seen.frameImage);
      EXPECT_EQ(seen.captionHeight, ::GetSystemMetrics(SM_CYCAPTION));
      EXPECT_EQ(seen.hitAtClose, sk::kHitClose);
      EXPECT_TRUE(seen.regionSet);  // the skin's frame masks have transparent corners
      EXPECT_EQ(seen.dialogBrush, seen.formColor);
    }
  }
}

// The screen point at the middle of a box's close button, as a mouse message's lParam.
LPARAM CloseButtonPoint(HWND box, TlcDialogWnd& d) {
  RECT wr{};
  ::GetWindowRect(box, &wr);
  Rect close;
  for (const auto& b : d.Buttons().System) {
    if (b.Visible && b.HitCode == sk::kHitClose) close = b.Rect;
  }
  return MAKELPARAM(wr.left + (close.left + close.right) / 2,
                    wr.top + (close.top + close.bottom) / 2);
}

// The close button of a box: hot under the pointer, pressed by a click, and a release acts only
// over the button that was pressed.
TEST_F(DialogHookTest, CloseButtonHoversPressesAndClosesOnlyWhenReleasedOverIt) {
  int hot = 0, pressed = 0;
  bool closedAway = true, closedOver = false;
  const int answer = RunBox(nullptr, MB_OKCANCEL, IDOK, [&](HWND box) {
    TlcDialogWnd* d = skin::DialogProviderOf(box)->DialogHook();
    const LPARAM over = CloseButtonPoint(box, *d);
    RECT wr{};
    ::GetWindowRect(box, &wr);
    const LPARAM away = MAKELPARAM(wr.left + 40, wr.top + 8);  // on the caption
    ::SendMessageW(box, WM_NCMOUSEMOVE, HTCLOSE, over);
    hot = d->Tracker().StateOf(sk::kHitClose);
    ::SendMessageW(box, WM_NCLBUTTONDOWN, HTCLOSE, over);
    pressed = d->Tracker().StateOf(sk::kHitClose);
    ::SendMessageW(box, WM_NCLBUTTONUP, HTCAPTION, away);
    MSG msg{};
    closedAway = ::PeekMessageW(&msg, box, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE);
    ::SendMessageW(box, WM_NCLBUTTONDOWN, HTCLOSE, over);
    ::SendMessageW(box, WM_NCLBUTTONUP, HTCLOSE, over);
    closedOver = ::PeekMessageW(&msg, box, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE) &&
                 (msg.wParam & 0xFFF0) == SC_CLOSE;
    // Carried out now, so that its IDCANCEL is queued before the probe's IDOK.
    if (closedOver) ::DispatchMessageW(&msg);
  });
  EXPECT_EQ(hot, 1);
  EXPECT_EQ(pressed, 2);
  EXPECT_FALSE(closedAway);
  EXPECT_TRUE(closedOver);
  EXPECT_EQ(answer, IDCANCEL);
}

// A box's close button fades towards hot through the same input as a form's, with the skin's
// glow over it; a box destroyed mid-fade leaves neither fade nor glow behind.
TEST_F(DialogHookTest, TheCloseButtonFadesAndGlowsAndGoesWithTheBox) {
  std::size_t fading = 0, fadingAfter = 1;
  int glow = -1, glowAfter = 0;
  RunBox(nullptr, MB_OKCANCEL, IDOK, [&](HWND box) {
    TlcDialogWnd* d = skin::DialogProviderOf(box)->DialogHook();
    const LPARAM over = CloseButtonPoint(box, *d);
    ::SendMessageW(box, WM_NCMOUSEMOVE, HTCLOSE, over);
    fading = d->FadingButtons();
    glow = d->ButtonGlow();
    ::DestroyWindow(box);
    fadingAfter = d->FadingButtons();
    glowAfter = d->ButtonGlow();
  });
  EXPECT_EQ(fading, 1u);
  EXPECT_GE(glow, 0);
  EXPECT_EQ(fadingAfter, 0u);
  EXPECT_EQ(glowAfter, -1);
  SweepProviders();
}

// A title section that gives the active state a glow size puts a halo around a box's caption.
TEST_F(DialogHookTest, TheCaptionGlowsWhenTheTitleSectionAsksForIt) {
  sk::SkinTables& tables = manager_->Core().Tables;
  const int title = tables.FindSection("FORMTITLE");
  ASSERT_GE(title, 0);
  sk::TsGenState& active = tables.Sections[static_cast<std::size_t>(title)].Props[1];
  int changed = -1;
  RunBox(nullptr, MB_OK, IDOK, [&](HWND box) {
    TlcDialogWnd* d = skin::DialogProviderOf(box)->DialogHook();
    const graphics::Bitmap plain = d->FrameImage()->Clone();
    active.GlowSize = 4;
    active.GlowColor = 0x0000FF;
    ::SendMessageW(box, skin::SM_LUMOCMD, MAKEWPARAM(0, skin::cmdRefresh), manager_->Id());
    const graphics::Bitmap* glowing = d->FrameImage();
    changed = 0;
    for (int y = d->FrameWidth(); y < d->FrameWidth() + d->CaptionHeight(); ++y) {
      for (int x = 0; x < plain.Width() / 2; ++x) {
        changed += (glowing->PixelWord(x, y) >> 16 & 0xFF) > (plain.PixelWord(x, y) >> 16 & 0xFF);
      }
    }
  });
  active.GlowSize = 0;
  EXPECT_GT(changed, 100);
  SweepProviders();
}

// Activation changes the title's state: the frame is composed again in the other look.
TEST_F(DialogHookTest, ActivationRepaintsTheTitleInItsState) {
  bool activeBefore = false, activeAfter = true;
  std::uint32_t titleActive = 0, titleInactive = 0;
  RunBox(nullptr, MB_OK, IDOK, [&](HWND box) {
    TlcDialogWnd* d = skin::DialogProviderOf(box)->DialogHook();
    activeBefore = d->FormActive();
    const int y = d->FrameWidth() + d->CaptionHeight() / 2;
    titleActive = d->FrameImage()->PixelWord(12, y);
    ::SendMessageW(box, WM_NCACTIVATE, FALSE, 0);
    activeAfter = d->FormActive();
    titleInactive = d->FrameImage()->PixelWord(12, y);
  });
  EXPECT_TRUE(activeBefore);
  EXPECT_FALSE(activeAfter);
  EXPECT_NE(titleActive, titleInactive);
}

// With the dialog-hide animation on, "Yes" and "Cancel" leave the box's picture fading out over
// its place; "No" and an animation time of 0 do not.
TEST_F(DialogHookTest, YesAndCancelFadeTheBoxOut) {
  struct Case {
    WORD id;
    std::uint16_t time;
    bool fades;
  };
  const Case cases[] = {
      {IDYES, 150, true}, {IDCANCEL, 150, true}, {IDNO, 150, false}, {IDYES, 0, false}};
  for (const Case& c : cases) {
    manager_->Core().AnimEffects.DialogHide.Active = true;
    manager_->Core().AnimEffects.DialogHide.Time = c.time;
    RECT box{};
    std::vector<RECT> frames;
    skin::SetLayeredFrameObserver([&](const skin::LayeredFrame& f) { frames.push_back(f.Bounds); });
    RunBox(nullptr, MB_YESNOCANCEL, c.id, [&](HWND h) { ::GetWindowRect(h, &box); });
    for (int i = 0; i < 30 && skin::HideTimer() && skin::HideTimer()->Running(); ++i) {
      ::Sleep(10);
      app_->ProcessMessages();
    }
    skin::SetLayeredFrameObserver(nullptr);
    const bool overTheBox = !frames.empty() && ::EqualRect(&frames.front(), &box);
    EXPECT_EQ(overTheBox, c.fades) << "id " << c.id << ", time " << c.time;
  }
}

// With the dialog-show animation on, a box appears through its picture fading in over its
// place: the transparent picture, N + 1 steps rising to full opacity, then the whole picture.
// A time below 12 ms shows it at once.
TEST_F(DialogHookTest, ABoxFadesInWhenTheDialogShowAnimationIsOn) {
  const struct {
    std::uint16_t time;
    std::size_t frames;
  } cases[] = {{120, 13}, {11, 0}};
  int i = 0;
  for (const auto& c : cases) {
    manager_->Core().AnimEffects.DialogShow.Active = true;
    manager_->Core().AnimEffects.DialogShow.Time = c.time;
    std::vector<skin::LayeredFrame> frames;
    skin::SetLayeredFrameObserver([&](const skin::LayeredFrame& f) {
      frames.push_back(f);
      frames.back().Picture = nullptr;
    });
    RECT box{};
    bool visible = false;
    RunBox(nullptr, MB_OK, IDOK, [&](HWND h) {
      ::GetWindowRect(h, &box);
      visible = ::IsWindowVisible(h) != FALSE;
    });
    skin::SetLayeredFrameObserver(nullptr);
    EXPECT_TRUE(visible) << "case " << i;
    ASSERT_EQ(frames.size(), c.frames) << "case " << i;
    for (std::size_t k = 0; k < frames.size(); ++k) {
      EXPECT_TRUE(::EqualRect(&frames[k].Bounds, &box)) << "case " << i << ", frame " << k;
      if (k > 0) {
        EXPECT_GE(frames[k].Opacity, frames[k - 1].Opacity) << "case " << i;
      }
    }
    if (!frames.empty()) {
      EXPECT_EQ(frames.front().Opacity, 0) << "case " << i;
      EXPECT_EQ(frames.back().Opacity, 255) << "case " << i;
    }
    ++i;
  }
  manager_->Core().AnimEffects.DialogShow.Time = 0;
  SweepProviders();
}

TEST_F(DialogHookTest, SystemMenuItemsFollowTheDialogsStyle) {
  struct Case {
    const char* name;
    DWORD style, exStyle;
    const char* shown;  // the visible items, "+" enabled, "-" grayed
  };
  const Case cases[] = {
      {"modal frame", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME,
       "+miMove +miClose"},
      {"sizeable with boxes", WS_POPUP | WS_OVERLAPPEDWINDOW, 0,
       "-miRestore +miMove +miSize +miMinimize +miMaximize +miClose"},
  };
  for (const Case& c : cases) {
    Window dialog(::CreateWindowExW(c.exStyle, MAKEINTATOM(32770), L"d", c.style, 0, 0, 200, 100,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(dialog);
    TlcProvider* provider = skin::DialogProviderOf(dialog.get());
    ASSERT_NE(provider, nullptr) << c.name;
    TlcSystemMenu menu;
    menu.Refresh(dialog.get(), provider->DialogHook()->Rules());
    std::string shown;
    for (const char* name :
         {"miRestore", "miMove", "miSize", "miMinimize", "miMaximize", "miClose"}) {
      const TMenuItem* item = menu.ItemByName(name);
      ASSERT_NE(item, nullptr) << name;
      if (!item->Visible) continue;
      shown += (shown.empty() ? "" : " ") + std::string(item->Enabled ? "+" : "-") + name;
    }
    EXPECT_EQ(shown, c.shown) << c.name;
  }
}

TEST_F(DialogHookTest, RightClickOnTheCaptionOpensTheSystemMenu) {
  manager_->Core().SetSkinnedPopups(false);
  std::vector<POINT> opened;
  skin::PlugIns().trackSystemMenu = [&](HMENU, POINT at) {
    opened.push_back(at);
    return 0u;
  };
  RunBox(nullptr, MB_OK, IDOK, [&](HWND box) {
    RECT wr{};
    ::GetWindowRect(box, &wr);
    const LPARAM at = MAKELPARAM(wr.left + 30, wr.top + 8);
    ::SendMessageW(box, WM_NCRBUTTONDOWN, HTCAPTION, at);
    ::SendMessageW(box, WM_NCRBUTTONUP, HTCAPTION, at);
  });
  ASSERT_EQ(opened.size(), 1u);
}

// With two skinned dialogs on the screen, a third is taken only when it holds a tool bar (the
// shell's file dialogs): it is looked at again when it is activated, by then with its children.
TEST_F(DialogHookTest, AThirdVisibleDialogNeedsAToolBar) {
  auto make = [](bool visible) {
    return Window(::CreateWindowExW(0, MAKEINTATOM(32770), L"d",
                                    WS_POPUP | WS_CAPTION | WS_SYSMENU | (visible ? WS_VISIBLE : 0),
                                    0, 0, 200, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                    nullptr));
  };
  Window a = make(true), b = make(true);
  ASSERT_NE(skin::DialogProviderOf(a.get()), nullptr);
  ASSERT_NE(skin::DialogProviderOf(b.get()), nullptr);
  Window plain = make(false), withBar = make(false);
  EXPECT_EQ(skin::DialogProviderOf(plain.get()), nullptr);
  EXPECT_EQ(skin::DialogProviderOf(withBar.get()), nullptr);
  ASSERT_NE(::CreateWindowExW(0, L"ToolbarWindow32", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                              withBar.get(), nullptr, ::GetModuleHandleW(nullptr), nullptr),
            nullptr);
  for (HWND h : {plain.get(), withBar.get()}) {
    ::ShowWindow(h, SW_SHOW);
    ::SetForegroundWindow(h);
    app_->ProcessMessages();
  }
  EXPECT_EQ(skin::DialogProviderOf(plain.get()), nullptr);
  EXPECT_NE(skin::DialogProviderOf(withBar.get()), nullptr);
}

TEST_F(DialogHookTest, WithoutTheDialogRuleNoBoxIsSkinned) {
  manager_->Core().SkinningRules = sk::srStdForms;
  Seen seen;
  RunBox(nullptr, MB_OKCANCEL | MB_ICONINFORMATION, IDOK, [&](HWND box) { seen = Inspect(box); });
  ASSERT_TRUE(seen.found);
  EXPECT_FALSE(seen.dialogSkinned);
  EXPECT_FALSE(seen.hasProvider);
  EXPECT_EQ(seen.hookedButtons, 0);
  EXPECT_EQ(seen.textHooks + seen.iconHooks, 0);
}

TEST_F(DialogHookTest, RemovingTheSkinGivesEveryWindowBack) {
  bool skinnedBefore = false;
  int hooksAfter = -1;
  bool dialogAfter = true, regionAfter = true;
  RunBox(nullptr, MB_YESNO | MB_ICONQUESTION, IDNO, [&](HWND box) {
    skinnedBefore = Cmd(box, skin::cmdIsSkinned) != 0;
    manager_->Core().SetActive(false);
    hooksAfter = 0;
    for (HWND c : ChildrenOf(box)) {
      if (TlcMainWnd::FromWindow(c) || Cmd(c, skin::cmdIsSkinned)) ++hooksAfter;
    }
    dialogAfter = Cmd(box, skin::cmdIsSkinned) != 0 || TlcMainWnd::FromWindow(box);
    Region probe(::CreateRectRgn(0, 0, 0, 0));
    regionAfter = ::GetWindowRgn(box, probe.get()) != ERROR;
  });
  EXPECT_TRUE(skinnedBefore);
  EXPECT_EQ(hooksAfter, 0);
  EXPECT_FALSE(dialogAfter);
  EXPECT_FALSE(regionAfter);
}

// With the manager's extended borders a box shows the shadow around its frame in a companion
// that lies under it, comes back on the next frame paint when hidden, and goes with the box.
TEST_F(DialogHookTest, WithExtendedBordersABoxShowsItsShadowAndTakesItAlong) {
  manager_->Core().SetExtendedBorders(true);
  std::vector<std::pair<HWND, graphics::Bitmap>> pictures;
  skin::SetLayeredFrameObserver(
      [&](const skin::LayeredFrame& f) { pictures.emplace_back(f.Window, f.Picture->Clone()); });
  HWND border = nullptr;
  bool under = false, placed = false, clearEdge = false, opaqueBox = false, back = false;
  RunBox(nullptr, MB_OK, IDOK, [&](HWND box) {
    TlcDialogWnd* d = skin::DialogProviderOf(box)->DialogHook();
    if (!d->BorderForm()) return;
    border = d->BorderForm()->Handle();
    const RECT margins = d->BorderForm()->Margins();
    RECT wr{}, br{};
    ::GetWindowRect(box, &wr);
    ::GetWindowRect(border, &br);
    // Under the box once it follows it (Wine's display driver may stack a layered window it
    // has just mapped on top when it syncs with X, whenever that comes).
    d->BorderForm()->Follow();
    under = ::GetWindow(box, GW_HWNDNEXT) == border && ::IsWindowVisible(border);
    placed = br.left == wr.left - margins.left && br.top == wr.top - margins.top &&
             br.right == wr.right + margins.right && br.bottom == wr.bottom + margins.bottom;
    const graphics::Bitmap* last = nullptr;
    for (const auto& [window, picture] : pictures) {
      if (window == border) last = &picture;
    }
    if (last && last->Width() == br.right - br.left) {
      clearEdge = (last->PixelWord(0, 0) >> 24) == 0;
      opaqueBox = (last->PixelWord(last->Width() / 2, last->Height() / 2) >> 24) == 255;
    }
    ::ShowWindow(border, SW_HIDE);
    ::SendMessageW(box, WM_NCPAINT, 1, 0);
    back = ::IsWindowVisible(border) != FALSE;
  });
  skin::SetLayeredFrameObserver(nullptr);
  ASSERT_NE(border, nullptr);
  EXPECT_TRUE(under);
  EXPECT_TRUE(placed);
  EXPECT_TRUE(clearEdge);
  EXPECT_TRUE(opaqueBox);
  EXPECT_TRUE(back);
  EXPECT_FALSE(::IsWindow(border)) << "gone with the box";
  SweepProviders();
}

TEST_F(DialogHookTest, HandleCensusIsFlatAfterAThousandBoxes) {
  // One box first: the caption font, the shadows and other once-made objects exist after it.
  RunBox(host_->WindowHandle(), MB_OK, IDOK, [](HWND) {});
  SweepProviders();
  ASSERT_EQ(skin::DialogProviderCount(), 0u);
  const HandleCensus census;
  const auto start = std::chrono::steady_clock::now();
  int skinned = 0;
  constexpr int kBoxes = 1000;
  for (int i = 0; i < kBoxes; ++i) {
    RunBox(i % 2 ? host_->WindowHandle() : nullptr, MB_YESNO | MB_ICONQUESTION, IDYES,
           [&](HWND box) { skinned += Cmd(box, skin::cmdIsSkinned) != 0; });
  }
  SweepProviders();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%d message boxes in %.1f s\n", kBoxes, seconds);
  EXPECT_EQ(skinned, kBoxes);
  EXPECT_EQ(census.Difference(), "");
  EXPECT_EQ(skin::DialogProviderCount(), 0u);
}

// A dialog template in memory: a header, then items, each DWORD-aligned.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short w, short h) {
    Dword(style | DS_SETFONT);
    Dword(0);
    count_ = words_.size();
    words_.push_back(0);
    for (short v : {short{0}, short{0}, w, h}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the dialog class
    Text(L"Controls");
    words_.push_back(8);
    Text(L"MS Shell Dlg");
  }
  void Item(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex, WORD id, short x,
            short y, short w, short h) {
    if (words_.size() % 2) words_.push_back(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(ex);
    for (short v : {x, y, w, h}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(id);
    Text(cls);
    Text(text);
    words_.push_back(0);  // no creation data
    ++words_[count_];
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Dword(DWORD v) {
    words_.push_back(LOWORD(v));
    words_.push_back(HIWORD(v));
  }
  void Text(const wchar_t* t) {
    while (*t) words_.push_back(static_cast<WORD>(*t++));
    words_.push_back(0);
  }
  std::vector<WORD> words_;
  std::size_t count_ = 0;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
  return msg == WM_INITDIALOG ? TRUE : FALSE;
}

TEST_F(DialogHookTest, CommonControlsOfADialogGetTheirHooksAndKeepTheirKeys) {
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME, 240, 160);
  t.Item(L"SysTabControl32", L"", 0, 0, 10, 5, 5, 120, 40);
  t.Item(L"msctls_trackbar32", L"", WS_TABSTOP | TBS_AUTOTICKS, 0, 11, 5, 50, 120, 20);
  t.Item(L"msctls_updown32", L"", 0, 0, 12, 130, 5, 10, 20);
  t.Item(L"SysLink", L"<a>link</a>", WS_TABSTOP, 0, 13, 130, 30, 60, 10);
  t.Item(L"STATIC", L"Owner", SS_OWNERDRAW, 0, 14, 5, 80, 80, 20);
  t.Item(L"SCROLLBAR", L"", SBS_SIZEGRIP, 0, 15, 225, 145, 15, 15);
  t.Item(L"STATIC", L"", SS_ICON, WS_EX_STATICEDGE, 16, 100, 80, 30, 30);
  t.Item(L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP, 0, IDOK, 150, 120, 50, 14);
  HWND dlg = ::CreateDialogIndirectParamW(nullptr, t.Get(), nullptr, &PlainDialogProc, 0);
  ASSERT_NE(dlg, nullptr);
  app_->ProcessMessages();
  EXPECT_NE(TlcMainWnd::FromWindow(dlg), nullptr);
  auto item = [&](int id) { return ::GetDlgItem(dlg, id); };
  EXPECT_NE(dynamic_cast<TlcTabControlWnd*>(TlcMainWnd::FromWindow(item(10))), nullptr);
  EXPECT_NE(dynamic_cast<TlcTrackWnd*>(TlcMainWnd::FromWindow(item(11))), nullptr);
  EXPECT_NE(dynamic_cast<TlcSpinWnd*>(TlcMainWnd::FromWindow(item(12))), nullptr);
  EXPECT_NE(dynamic_cast<TlcLinkWnd*>(TlcMainWnd::FromWindow(item(13))), nullptr);
  EXPECT_EQ(TlcMainWnd::FromWindow(item(14)), nullptr);  // owner-drawn: its owner paints it
  EXPECT_NE(dynamic_cast<TlcSizerWnd*>(TlcMainWnd::FromWindow(item(15))), nullptr);
  EXPECT_NE(dynamic_cast<TlcEdgeWnd*>(TlcMainWnd::FromWindow(item(16))), nullptr);

  // The dialog's keys: arrows move the track bar, Tab moves on to the next tab stop.
  auto key = [&](HWND to, WPARAM vk) {
    MSG m{to, WM_KEYDOWN, vk, 0, 0, {}};
    if (!::IsDialogMessageW(dlg, &m)) {
      ::TranslateMessage(&m);
      ::DispatchMessageW(&m);
    }
  };
  ::SetFocus(item(11));
  key(item(11), VK_RIGHT);
  EXPECT_EQ(::SendMessageW(item(11), TBM_GETPOS, 0, 0), 1);
  key(item(11), VK_TAB);
  EXPECT_NE(::GetFocus(), item(11));
  EXPECT_TRUE(::GetFocus() == item(13) || ::GetFocus() == item(IDOK));

  // An owner-drawn static is painted over the dialog's background in the skin's text colour;
  // a drawing request that names a window of someone else draws nothing.
  ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const graphics::Bitmap* dialogPicture = TlcMainWnd::FromWindow(dlg)->CachePicture();
  ASSERT_NE(dialogPicture, nullptr);
  RECT r{};
  ::GetClientRect(item(14), &r);
  POINT at{0, 0};
  ::MapWindowPoints(item(14), dlg, &at, 1);
  auto draw = [&](HWND who) {
    graphics::Bitmap out = graphics::NewBitmap32(r.right, r.bottom);
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), DibHandle(out));
    DRAWITEMSTRUCT dis{ODT_STATIC, 14, 0, ODA_DRAWENTIRE, 0, who, dc.get(), r, 0};
    ::SendMessageW(dlg, WM_DRAWITEM, 14, reinterpret_cast<LPARAM>(&dis));
    ::GdiFlush();
    return out;
  };
  const graphics::Bitmap painted = draw(item(14));
  const int corner = painted.Width() - 2;
  EXPECT_EQ(painted.PixelWord(corner, r.bottom - 2) & 0xFFFFFF,
            dialogPicture->PixelWord(at.x + corner, at.y + r.bottom - 2) & 0xFFFFFF);
  const auto& s =
      manager_->Core()
          .Tables.Sections[static_cast<std::size_t>(manager_->SectionIndex("CHECKBOX"))];
  const TColor font = graphics::ColorToRGB(s.FontColors[0]);
  const std::uint32_t fontWord = ((font & 0xFF) << 16) | (font & 0xFF00) | ((font >> 16) & 0xFF);
  int text = 0;
  for (int y = 0; y < painted.Height(); ++y)
    for (int x = 0; x < painted.Width(); ++x)
      text += (painted.PixelWord(x, y) & 0xFFFFFF) == fontWord;
  EXPECT_GT(text, 0);
  const graphics::Bitmap foreign = draw(host_->WindowHandle());
  EXPECT_EQ(foreign.PixelWord(corner, r.bottom - 2) & 0xFFFFFF, 0u);
  ::DestroyWindow(dlg);
  SweepProviders();
}

}  // namespace
}  // namespace sapala::win::testing
