// The skin manager component on real windows: its stored settings, applying and removing the
// test skin, the main-window hook (system commands, theme changes, application notices, a skin
// editor's preview records) and timer ticks delivered through the tick window.
#include "win/skin/skin_manager.h"

#include <atomic>
#include <cstring>

#include "core/skin/preview_record.h"
#include "core/threading/threaded_timer.h"
#include "skin_fixture.h"
#include "win/framework/dib.h"
#include "win/skin/animations.h"
#include "win/skin/app_hook.h"
#include "win/skin/broadcast.h"
#include "win/skin/cbt_hook.h"
#include "win/skin/output_window.h"
#include "win/skin/plug_ins.h"
#include "win/skin/ui_thread.h"

namespace sapala::win::testing {
namespace {

using sapala::skin::SkinPreviewRecord;

std::string ManagerText(const std::string& skinName, const std::string& extra = "") {
  return "  object M: TsSkinManager\n    SkinDirectory = '" + TestSkinFolder() +
         "'\n    SkinName = '" + skinName + "'\n" + extra + "  end\n";
}

constexpr char kLabel[] = R"(  object L: TsLabel
    Left = 10
    Top = 10
    Caption = 'Sapala'
    Font.Height = -16
    Font.Name = 'Tahoma'
  end
)";

class SkinManagerTest : public SkinTest {
 protected:
  void Snapshot(TForm& f, DibSurface& out) {
    const RECT r = f.ClientRect();
    out.Resize(r.right, r.bottom);
    ::SendMessageW(f.WindowHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(out.DC()),
                   PRF_CLIENT);
    ::GdiFlush();
  }
  static bool Same(DibSurface& a, DibSurface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y) {
      if (std::memcmp(a.Pixels().Row32(y), b.Pixels().Row32(y),
                      static_cast<std::size_t>(a.Width()) * 4) != 0)
        return false;
    }
    return true;
  }
};

TEST_F(SkinManagerTest, StoredSettingsReachTheirProperties) {
  TRecForm& f = AddForm("A", ManagerText("TestSkin", R"(    HueOffset = 0
    Saturation = 0
    SkinnedPopups = False
    SkinningRules = [srStdForms, srThirdParty]
    Effects.AllowGlowing = False
    AnimEffects.FormShow.Time = 120
    AnimEffects.FormShow.Mode = atFading
    AnimEffects.BlendOnMoving.BlendValue = 99
    AnimEffects.Buttons.Events = [beMouseDown]
    AnimEffects.Minimizing.Active = False
    MenuSupport.IcoLineSkin = ''
    MenuSupport.ExtraLineWidth = 40
    MenuSupport.ExtraLineFont.Name = 'MS Sans Serif'
    MenuSupport.ExtraLineFont.Height = -11
    ThirdParty.ThirdButtons = 'TButton'#13#10'TMyButton'
    ThirdParty.ThirdEdits = ' '
    SkinInfo = '7.2'
    InternalSkins = <>
)"));
  const auto& c = Get<TsSkinManager>(f, "M").Core();
  EXPECT_EQ(c.SkinInfo(), "7.2");
  EXPECT_TRUE(c.SkinData().Active);
  EXPECT_FALSE(c.SkinnedPopups());
  EXPECT_EQ(c.SkinningRules, sapala::skin::srStdForms | sapala::skin::srThirdParty);
  EXPECT_FALSE(c.Effects.StoredAllowGlowing());
  EXPECT_EQ(c.AnimEffects.FormShow.Time, 120);
  EXPECT_EQ(c.AnimEffects.FormShow.Mode, sapala::skin::TlcAnimType::atFading);
  EXPECT_EQ(c.AnimEffects.BlendOnMoving.BlendValue, 99);
  EXPECT_EQ(c.AnimEffects.Buttons.Events, sapala::skin::beMouseDown);
  EXPECT_FALSE(c.AnimEffects.Minimizing.Active);
  EXPECT_EQ(c.MenuSupport.IcoLineSkin, "ICOLINE");  // empty after loading
  EXPECT_EQ(c.MenuSupport.ExtraLineWidth, 40);
  EXPECT_EQ(c.MenuSupport.ExtraLineFont.Name, "MS Sans Serif");
  EXPECT_EQ(c.ClassLists.KindOf("TMyButton"), 1);
  EXPECT_EQ(c.ClassLists.KindOf(" "), 0);
  // A stored Mode on an animation that does not publish it is not a property.
  TRecForm& g = app_->Create<TRecForm>();
  EXPECT_THROW(g.LoadDescription(
                   "object G: TRecForm\n" +
                   ManagerText("TestSkin", "    AnimEffects.Minimizing.Mode = atAero\n") + "end\n"),
               LoadError);
}

TEST_F(SkinManagerTest, TheExtraLineHandlerIsBoundByNameAndMustHaveItsSignature) {
  TRecForm& f = app_->Create<TRecForm>();
  int calls = 0;
  f.RegisterHandler("FormExtraLine",
                    TlcGetExtraLineData([&](TObject* first, std::string& section, bool& show,
                                            HBITMAP&, std::wstring& text) {
                      ++calls;
                      EXPECT_EQ(first, nullptr);
                      section = "MENULINE";
                      show = false;
                      text = L"Sapala";
                    }));
  f.RegisterHandler("FormClick", TNotifyEvent([](TObject&) {}));
  f.LoadDescription("object A: TRecForm\n" +
                    ManagerText("TestSkin", "    OnGetMenuExtraLineData = FormExtraLine\n") +
                    "end\n");
  auto& m = Get<TsSkinManager>(f, "M");
  ASSERT_TRUE(m.OnGetMenuExtraLineData);
  std::string section = "EXTRALINE";
  bool show = true;
  HBITMAP glyph = nullptr;
  std::wstring text = L"Use OnGetExtraLineData event";
  m.OnGetMenuExtraLineData(nullptr, section, show, glyph, text);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(section, "MENULINE");
  EXPECT_FALSE(show);
  EXPECT_EQ(text, L"Sapala");
  // A handler of another signature, or none of that name, is an error of the description.
  for (const char* handler : {"FormClick", "NoSuchHandler"}) {
    TRecForm& g = app_->Create<TRecForm>();
    g.RegisterHandler("FormClick", TNotifyEvent([](TObject&) {}));
    EXPECT_THROW(
        g.LoadDescription(
            "object G: TRecForm\n" +
            ManagerText("TestSkin", std::string("    OnGetMenuExtraLineData = ") + handler + "\n") +
            "end\n"),
        LoadError)
        << handler;
  }
}

TEST_F(SkinManagerTest, ASkinNotFoundTurnsTheManagerOffSilently) {
  TRecForm& f = AddForm("A", std::string(kLabel) + ManagerText("Missing"));
  auto& m = Get<TsSkinManager>(f, "M");
  EXPECT_FALSE(m.Core().Active());
  EXPECT_FALSE(m.SkinActive());
  EXPECT_EQ(m.CbtHook(), nullptr);
  EXPECT_TRUE(messages_.empty());
  // The form was still being read: its label kept its stored font colour.
  EXPECT_EQ(Get<TsLabel>(f, "L").Font().Color(), graphics::clWindowText);
  EXPECT_TRUE(Log().empty());
}

TEST_F(SkinManagerTest, ApplyingSkinsTheWindowsAndRemovalDrawsThemAsBefore) {
  TRecForm& f = AddForm("A", kLabel, true);
  auto& label = Get<TsLabel>(f, "L");
  DibSurface before, skinned, after;
  Snapshot(f, before);

  // Made at run time: the skin is loaded and applied at once, the hooks go in.
  auto& m = f.Create<TsSkinManager>();
  EXPECT_EQ(skin::DefaultSkinManager(), &m);
  m.Core().SetSkinDirectory(TestSkinFolder());
  m.Core().SetSkinName("TestSkin");
  ASSERT_TRUE(m.SkinActive());
  ASSERT_NE(m.CbtHook(), nullptr);
  EXPECT_EQ(Log(), (std::vector<std::string>{"A:1", "A:16", "A:3"}));  // new skin, then repaint
  Snapshot(f, skinned);
  EXPECT_EQ(label.Font().Color(), 0x102030);  // the skin's form font colour
  EXPECT_FALSE(Same(before, skinned));

  // A skin that is not there: removed, every window told, the hook taken out.
  Log().clear();
  m.Core().SetSkinName("Missing");
  EXPECT_FALSE(m.SkinActive());
  EXPECT_EQ(m.CbtHook(), nullptr);
  EXPECT_EQ(Log(), (std::vector<std::string>{"A:2"}));
  EXPECT_EQ(label.Font().Color(), graphics::clWindowText);
  Snapshot(f, after);
  EXPECT_TRUE(Same(before, after));
  EXPECT_TRUE(messages_.empty());
}

// A new skin on a form with a provider cross-fades it from the frozen old look: the form's
// redraw is off while the skin goes out, then N + 1 blended frames and the new look are drawn
// into the output window, which goes afterwards; the form shows again.
TEST_F(SkinManagerTest, ASkinChangeCrossFadesTheProviderForms) {
  TRecForm& f = AddForm("A", "", true);
  skin::ProviderForms().push_back(&f);
  std::vector<int> weights;
  int redrawOn = 0;  // frames drawn while the form's redraw was on
  skin::SetLayeredFrameObserver([&](const skin::LayeredFrame& fr) {
    weights.push_back(fr.Opacity);
    EXPECT_EQ(fr.Window, skin::OutputWindow()->WindowHandle());
    redrawOn += ::IsWindowVisible(f.WindowHandle()) ? 1 : 0;
  });
  auto& m = f.Create<TsSkinManager>();
  m.Core().AnimEffects.SkinChanging.Time = 36;
  m.Core().SetSkinDirectory(TestSkinFolder());
  m.Core().SetSkinName("TestSkin");
  skin::SetLayeredFrameObserver(nullptr);
  skin::ProviderForms().clear();
  EXPECT_EQ(weights, (std::vector<int>{255, 170, 85, 0, 0}));
  EXPECT_EQ(redrawOn, 0);
  EXPECT_TRUE(::IsWindowVisible(f.WindowHandle()));
  EXPECT_EQ(skin::OutputWindow(), nullptr);

  // Switched off: no frames.
  weights.clear();
  skin::ProviderForms().push_back(&f);
  skin::SetLayeredFrameObserver(
      [&](const skin::LayeredFrame& fr) { weights.push_back(fr.Opacity); });
  m.Core().AnimEffects.SkinChanging.Active = false;
  m.Core().UpdateSkin(true);
  skin::SetLayeredFrameObserver(nullptr);
  skin::ProviderForms().clear();
  EXPECT_TRUE(weights.empty());
}

TEST_F(SkinManagerTest, ALabelOutsideTheDefaultManagersCareKeepsItsColour) {
  TRecForm& f = AddForm("A", kLabel, true);
  auto& label = Get<TsLabel>(f, "L");
  label.SetUseSkinColor(false);
  label.Font().SetColor(graphics::clRed);
  auto& m = f.Create<TsSkinManager>();
  m.Core().SetSkinDirectory(TestSkinFolder());
  m.Core().SetSkinName("TestSkin");
  m.Core().SetActive(false);
  EXPECT_EQ(label.Font().Color(), graphics::clRed);
}

TEST_F(SkinManagerTest, LabelsTakeTheSkinsSectionsAndShadowThroughTheManager) {
  TRecForm& f = AddForm("A", R"(  object Sec: TsLabel
    Left = 10
    Top = 10
    Width = 40
    Height = 20
    AutoSize = False
    Caption = ''
    SkinSection = 'TINT'
  end
  object Fx: TsLabelFX
    Left = 10
    Top = 50
    Caption = 'Sapala'
  end
)",
                        true);
  auto& fx = Get<TsLabelFX>(f, "Fx");
  DibSurface unskinned;
  Snapshot(f, unskinned);
  EXPECT_EQ(fx.Margins().top_left, -3);  // its own shadow: blur 4, distance 1
  EXPECT_EQ(fx.Margins().bottom_right, 5);

  auto& m = f.Create<TsSkinManager>();
  m.Core().SetSkinDirectory(TestSkinFolder());
  m.Core().SetSkinName("TestSkin");
  m.Core().SetCommonSections({"[TINT]", "COLOR=$00FF00"});
  const int tint = m.SectionIndex("TINT");
  ASSERT_GT(tint, 0);
  DibSurface skinned;
  Snapshot(f, skinned);
  const TColor want =
      graphics::ColorToRGB(m.Core().Tables.Sections[static_cast<std::size_t>(tint)].Color);
  const TColor have = graphics::ColorFromPixel(skinned.Pixels().Row32(20)[30]) & 0xFFFFFF;
  EXPECT_EQ(have, want) << std::hex << have;
  EXPECT_NE(graphics::ColorFromPixel(unskinned.Pixels().Row32(20)[30]) & 0xFFFFFF, want);
  // The skin's shadow: blur 3, offset 0.
  EXPECT_EQ(fx.Margins().top_left, -3);
  EXPECT_EQ(fx.Margins().bottom_right, 3);
}

TEST_F(SkinManagerTest, SwitchingPopupsBackOnHooksThePopupMenusAgain) {
  TRecForm& f = AddForm("A", ManagerText("TestSkin"));
  auto& m = Get<TsSkinManager>(f, "M");
  std::vector<bool> calls;
  skin::PlugIns().setPopupsSkinned = [&](bool on) { calls.push_back(on); };
  m.Core().SetSkinnedPopups(true);  // unchanged
  m.Core().SetSkinnedPopups(false);
  m.Core().SetSkinnedPopups(true);
  skin::PlugIns() = skin::SkinPlugIns{};
  EXPECT_EQ(calls, (std::vector<bool>{true}));
}

// A preview record as a skin editor sends it.
std::vector<std::uint8_t> Preview(const std::string& text) {
  std::vector<std::uint8_t> rec(SkinPreviewRecord::kSize, 0);
  rec[1] = 0xA4;
  const std::string name = "TestSkin";
  const std::string folder = TestSkinFolder();
  std::copy(name.begin(), name.end(), rec.begin() + SkinPreviewRecord::kNameOffset);
  std::copy(folder.begin(), folder.end(), rec.begin() + SkinPreviewRecord::kFolderOffset);
  std::copy(text.begin(), text.end(), rec.begin() + SkinPreviewRecord::kTextOffset);
  return rec;
}

LRESULT SendCopyData(HWND to, ULONG_PTR kind, const std::vector<std::uint8_t>& bytes,
                     std::size_t n) {
  COPYDATASTRUCT cds{kind, static_cast<DWORD>(n),
                     n ? const_cast<std::uint8_t*>(bytes.data()) : nullptr};
  return ::SendMessageW(to, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
}

TEST_F(SkinManagerTest, PreviewRecordsAreTakenOnlyWhenWellFormed) {
  TRecForm& f = AddForm("A", ManagerText("TestSkin"));
  auto& m = Get<TsSkinManager>(f, "M");
  ASSERT_EQ(m.Core().SkinInfo(), "7.2");
  const HWND hwnd = f.WindowHandle();
  auto rec = Preview("[GLOBALINFO]\nVERSION=7.33\n");
  rec.resize(SkinPreviewRecord::kSize + 8, 0);
  const std::size_t lengths[] = {0,
                                 1,
                                 3,
                                 4,
                                 5,
                                 SkinPreviewRecord::kTextOffset,
                                 SkinPreviewRecord::kSize - 1,
                                 SkinPreviewRecord::kSize + 1,
                                 SkinPreviewRecord::kSize + 8};
  for (std::size_t n : lengths) {
    EXPECT_EQ(SendCopyData(hwnd, 7, rec, n), 0) << "length " << n;
  }
  EXPECT_EQ(SendCopyData(hwnd, 6, rec, SkinPreviewRecord::kSize), 0);  // not a preview
  auto unterminated = rec;
  std::fill_n(unterminated.begin() + SkinPreviewRecord::kNameOffset, SkinPreviewRecord::kNameBytes,
              'n');
  EXPECT_EQ(SendCopyData(hwnd, 7, unterminated, SkinPreviewRecord::kSize), 0);
  EXPECT_EQ(m.Core().SkinInfo(), "7.2");
  EXPECT_EQ(m.Core().SkinName(), "TestSkin");

  EXPECT_EQ(SendCopyData(hwnd, 7, rec, SkinPreviewRecord::kSize), 1);
  EXPECT_EQ(m.Core().SkinInfo(), "7.33");
  EXPECT_FALSE(m.Core().PreviewText);
}

TEST_F(SkinManagerTest, MainWindowHookKeepsSystemCommandsSwallowsThemeChangesAndNotifiesForms) {
  TRecForm& a = AddForm("A", ManagerText("TestSkin"), true);
  AddForm("B", "");
  auto& m = Get<TsSkinManager>(a, "M");
  ASSERT_NE(m.AppWindowHook(), nullptr);
  const HWND hwnd = a.WindowHandle();

  ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(m.Core().LastSystemCommand(), sapala::skin::scMinimize);
  ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(m.Core().LastSystemCommand(), sapala::skin::scRestore);
  ::SendMessageW(hwnd, WM_SYSCOMMAND, 0xF1F0, 0);
  EXPECT_EQ(m.Core().LastSystemCommand(), sapala::skin::scNone);

  ::SendMessageW(hwnd, WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(a.themeChanges, 0);

  Log().clear();
  ::SendMessageW(hwnd, skin::TlcAppWindowHook::kAppNotify, 0, 0);
  EXPECT_EQ(Log(), (std::vector<std::string>{"B:18", "A:18"}));
}

TEST_F(SkinManagerTest, TheMainWindowGetsItsProcedureBackWhenTheManagerGoes) {
  TRecForm& a = AddForm("A", "", true);
  {
    TsSkinManager m(&a);  // owned here, not by the form, so that it can go first
    ASSERT_NE(m.AppWindowHook(), nullptr);
    ::SendMessageW(a.WindowHandle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(a.themeChanges, 0);
  }
  ::SendMessageW(a.WindowHandle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(a.themeChanges, 1);
}

TEST_F(SkinManagerTest, ADestroyedHotControlIsNoLongerHot) {
  TForm& f = AddForm("F", ManagerText("TestSkin"));
  TsSkinManager* m = TsSkinManager::Default();
  ASSERT_NE(m, nullptr);
  HWND child = ::CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD, 0, 0, 10, 10, f.WindowHandle(),
                                 nullptr, nullptr, nullptr);
  m->SetHotControl(child);
  EXPECT_EQ(m->HotControl(), child);
  ::DestroyWindow(child);
  EXPECT_EQ(m->HotControl(), nullptr);
}

TEST_F(SkinManagerTest, TimerTicksReachTheUiThreadThroughAPlainMessageLoop) {
  // A loop that only dispatches messages, as the system's modal loops do: the ticks come as
  // posted messages to the tick window and run on this thread.
  const DWORD ui = ::GetCurrentThreadId();
  int ticks = 0;
  bool elsewhere = false;
  {
    threading::TlcThreadedTimer timer(*skin::UiThread());
    timer.SetInterval(20);
    timer.SetOnTimer([&](threading::TlcThreadedTimer&) {
      ++ticks;
      elsewhere |= ::GetCurrentThreadId() != ui;
    });
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 400 && ticks < 4) {
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  EXPECT_GE(ticks, 4);
  EXPECT_FALSE(elsewhere);
}

}  // namespace
}  // namespace sapala::win::testing
