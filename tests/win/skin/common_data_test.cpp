// The control skin state on a real windowed control: section resolution, the commands it
// answers, update brackets, colours given and taken back, background answers and glows.
#include "win/skin/common_data.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/skin/glow_picture.h"
#include "skin_fixture.h"
#include "win/framework/library.h"
#include "win/framework/text.h"
#include "win/skin/animations.h"
#include "win/skin/glow.h"

namespace sapala::win::testing {
namespace {

// A skinned control: passes its messages to its skin state first and records the commands it
// is left to handle itself.
class TSkinBox : public TCustomControl {
 public:
  explicit TSkinBox(TComponent* owner) : TCustomControl(owner), sd(*this, true) {
    SetClassName("TSkinBox");
  }
  void WndProc(Message& m) override {
    if (sd.HandleMessage(m)) return;
    if (m.Msg == skin::SM_LUMOCMD) {
      Record(*this, m.WParam);
      return;
    }
    TCustomControl::WndProc(m);
  }
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override {
    if (name == "Kind") {
      sd.ControlKind = static_cast<int>(loader.Int(p));
      return true;
    }
    if (name.starts_with("SkinData.") && sd.ReadProperty(name.substr(9), p, loader)) return true;
    return TCustomControl::ReadProperty(name, p, loader);
  }
  TsCommonData sd;
};

constexpr char kBox[] = R"(  object Box: TSkinBox
    Left = 20
    Top = 10
    Width = 60
    Height = 25
    Color = clRed
    Kind = 2
  end
)";

class CommonDataTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    RegisterComponentClass<TSkinBox>("TSkinBox");
  }
  void TearDown() override {
    skin::ClearGlows(false);
    SkinTest::TearDown();
  }
  TsSkinManager& Skin(TForm& f, std::vector<std::string> common = {}) {
    auto& m = f.Create<TsSkinManager>();
    m.Core().SetSkinDirectory(TestSkinFolder());
    m.Core().SetSkinName("TestSkin");
    if (!common.empty()) m.Core().SetCommonSections(common);  // merged in by a reload
    return m;
  }
  static LRESULT Cmd(HWND hwnd, WORD cmd, WORD arg = 0, LPARAM lp = 0) {
    return ::SendMessageW(hwnd, skin::SM_LUMOCMD, MAKEWPARAM(arg, cmd), lp);
  }
  static int Count(const std::string& entry) {
    return static_cast<int>(std::count(Log().begin(), Log().end(), entry));
  }
};

TEST_F(CommonDataTest, StoredSettingsReachTheSkinState) {
  TRecForm& f = AddForm("F", R"(  object Box: TSkinBox
    Width = 20
    Height = 20
    SkinData.CustomColor = True
    SkinData.CustomFont = True
    SkinData.SkinSection = 'panel'
    SkinData.SkinManager = Mgr
  end
  object Mgr: TsSkinManager
    SkinDirectory = ')" + TestSkinFolder() +
                                 R"('
    SkinName = 'TestSkin'
  end
)");
  auto& box = Get<TSkinBox>(f, "Box");
  EXPECT_TRUE(box.sd.CustomColor);
  EXPECT_TRUE(box.sd.CustomFont);
  EXPECT_EQ(box.sd.SkinSection(), "PANEL");
  EXPECT_EQ(box.sd.SkinManager(), &Get<TsSkinManager>(f, "Mgr"));
  EXPECT_EQ(box.sd.SectionIndex, box.sd.SkinManager()->SectionIndex("PANEL"));
}

TEST_F(CommonDataTest, SectionsAreHeldUpperCaseAndChosenByKindWhenEmpty) {
  TRecForm& f = AddForm("F", kBox, true);
  auto& m = Skin(f);
  auto& box = Get<TSkinBox>(f, "Box");
  const auto& t = m.Core().Tables;
  EXPECT_EQ(box.sd.SectionIndex, t.FindSection("EDIT"));  // kind 2 is an edit
  EXPECT_EQ(box.sd.BorderMaskIndex,
            t.Sections[static_cast<std::size_t>(t.FindSection("EDIT"))].MaskIndex);
  Log().clear();
  box.sd.SetSkinSection("button");
  EXPECT_EQ(box.sd.SkinSection(), "BUTTON");
  EXPECT_EQ(box.sd.SectionIndex, t.FindSection("BUTTON"));
  EXPECT_EQ(Count("Box:3"), 1);     // re-skinned once
  box.sd.SetSkinSection("BUTTON");  // unchanged: nothing happens
  EXPECT_EQ(Count("Box:3"), 1);
  box.sd.SetSkinSection("NOSUCH");
  EXPECT_EQ(box.sd.SectionIndex, -1);
  EXPECT_EQ(Count("Box:2"), 1);  // not skinned any more
}

TEST_F(CommonDataTest, QueriesAreAnsweredOnTheControlsBehalf) {
  TRecForm& f = AddForm("F", kBox, true);
  Skin(f);
  auto& box = Get<TSkinBox>(f, "Box");
  const HWND h = box.WindowHandle();
  EXPECT_EQ(Cmd(h, skin::cmdIsSkinned), 1);
  Cmd(h, skin::cmdSetSuspended, 1);
  EXPECT_TRUE(box.sd.Suspended);
  EXPECT_EQ(Cmd(h, skin::cmdIsBackgroundDirty), 1);
  Cmd(h, skin::cmdSetSuspended, 0);
  box.sd.BackgroundDirty = false;
  EXPECT_EQ(Cmd(h, skin::cmdIsBackgroundDirty), 0);
  Cmd(h, skin::cmdInvalidateCache);
  EXPECT_TRUE(box.sd.BackgroundDirty);
  Cmd(h, skin::cmdSetImmediatePaint, 1);
  EXPECT_TRUE(box.sd.ImmediatePaint);
  int index = -7;
  Cmd(h, skin::cmdGetSectionIndex, 0, reinterpret_cast<LPARAM>(&index));
  EXPECT_EQ(index, box.sd.SectionIndex);
  Cmd(h, skin::cmdSetSection, 0, reinterpret_cast<LPARAM>("panel"));
  EXPECT_EQ(box.sd.SkinSection(), "PANEL");
  Cmd(h, skin::cmdSetPrintTarget, 0, 1234);
  EXPECT_EQ(box.sd.StateFlags & sfPrinting, sfPrinting);
  Cmd(h, skin::cmdSetPrintTarget, 0, 0);
  EXPECT_EQ(box.sd.StateFlags & sfPrinting, 0);
  EXPECT_EQ(Cmd(h, skin::cmdGetApplication), reinterpret_cast<LRESULT>(&Application()));
  EXPECT_EQ(Cmd(h, 99), 0);  // not ours: the control's own business

  // From another thread a command that writes through LParam is refused.
  int foreign = -7;
  std::atomic<bool> done = false;
  LRESULT answer = -1;
  std::thread worker([&] {
    answer = Cmd(h, skin::cmdGetSectionIndex, 0, reinterpret_cast<LPARAM>(&foreign));
    done = true;
  });
  while (!done) {
    app_->ProcessMessages();
    ::Sleep(1);
  }
  worker.join();
  EXPECT_EQ(foreign, -7);
  EXPECT_EQ(answer, 0);
}

// An inactive control on a plain background paints unless suspended; while an animation takes
// its picture it counts as active, so it waits for a parent whose background is stale.
TEST_F(CommonDataTest, TheAnimationLockMakesEveryControlCountAsActive) {
  TRecForm& f = AddForm("F", R"(  object Outer: TSkinBox
    Width = 100
    Height = 60
    Kind = 2
    object Inner: TSkinBox
      Width = 20
      Height = 20
      Kind = 2
    end
  end
)",
                        true);
  Skin(f);
  auto& outer = Get<TSkinBox>(f, "Outer");
  auto& inner = Get<TSkinBox>(f, "Inner");
  outer.sd.Suspended = true;  // its background is stale
  inner.sd.StateFlags |= sfSimpleBackground;
  inner.sd.Suspended = false;
  ASSERT_EQ(inner.sd.ActiveState(), 0);
  EXPECT_FALSE(inner.sd.PaintingHeldBack());
  {
    skin::AnimationLockScope lock;
    EXPECT_TRUE(inner.sd.PaintingHeldBack());
  }
  EXPECT_FALSE(inner.sd.PaintingHeldBack());
}

TEST_F(CommonDataTest, OnlyTheOutermostEndUpdateTellsTheOwner) {
  TRecForm& f = AddForm("F", kBox, true);
  auto& box = Get<TSkinBox>(f, "Box");
  Log().clear();
  box.sd.BeginUpdate();
  box.sd.BeginUpdate();
  EXPECT_EQ(box.sd.StateFlags & sfUpdating, sfUpdating);
  box.sd.EndUpdate(false);
  EXPECT_EQ(Count("Box:32"), 0);
  box.sd.EndUpdate(false);
  EXPECT_EQ(Count("Box:31"), 2);
  EXPECT_EQ(Count("Box:32"), 1);
  EXPECT_EQ(box.sd.LockCount, 0);
}

TEST_F(CommonDataTest, ColoursFollowTheSkinAndComeBackOnRemovalUnlessCustom) {
  TRecForm& f = AddForm("F", kBox + std::string(R"(  object Own: TSkinBox
    Left = 100
    Width = 30
    Height = 20
    Color = clLime
    Kind = 2
  end
)"),
                        true);
  auto& own = Get<TSkinBox>(f, "Own");
  own.sd.CustomColor = true;
  auto& m = Skin(f);
  auto& box = Get<TSkinBox>(f, "Box");
  const auto& edit = m.Core().Tables.Sections[static_cast<std::size_t>(box.sd.SectionIndex)];
  EXPECT_EQ(box.Color(), graphics::ColorToRGB(edit.Color));  // given on cmdRefresh
  EXPECT_EQ(box.Font().Color(), graphics::ColorToRGB(edit.Props[0].FontColors[0]));
  EXPECT_EQ(own.Color(), graphics::clLime);
  m.Core().SetActive(false);
  EXPECT_EQ(box.Color(), graphics::clWindow);
  EXPECT_EQ(box.Font().Color(), graphics::clWindowText);
  EXPECT_EQ(own.Color(), graphics::clLime);
  EXPECT_EQ(box.sd.SectionIndex, -1);
  EXPECT_TRUE(box.sd.Cache->Empty());
}

// Whether the window draws with a visual style: OpenThemeData finds none once the style was
// switched off with blank names.
bool HasVisualStyle(HWND hwnd) {
  static const OptionalLibrary uxtheme(L"uxtheme.dll");
  using Open = HANDLE(WINAPI*)(HWND, LPCWSTR);
  using Close = HRESULT(WINAPI*)(HANDLE);
  static const auto open = uxtheme.Find<Open>("OpenThemeData");
  static const auto close = uxtheme.Find<Close>("CloseThemeData");
  HANDLE theme = open ? open(hwnd, L"Button") : nullptr;
  if (theme) close(theme);
  return theme != nullptr;
}

TEST_F(CommonDataTest, UiStateIsSwallowedWhenSkinnedElseTheVisualStyleComesBack) {
  if (!skin::ThemesInUse()) GTEST_SKIP() << "the system draws without visual styles";
  TRecForm& f = AddForm("F", kBox, true);
  auto& m = Skin(f);
  HWND box = Get<TSkinBox>(f, "Box").WindowHandle();
  const WPARAM wp = MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS);
  ASSERT_TRUE(skin::SetWindowThemeNames(box, L" ", L" "));
  ASSERT_FALSE(HasVisualStyle(box));
  EXPECT_EQ(::SendMessageW(box, WM_UPDATEUISTATE, wp, 0), 1);
  EXPECT_FALSE(HasVisualStyle(box));  // the skin draws it
  m.Core().SetActive(false);
  EXPECT_EQ(::SendMessageW(box, WM_UPDATEUISTATE, wp, 0), 0);
  EXPECT_TRUE(HasVisualStyle(box));
}

TEST_F(CommonDataTest, BackgroundAnswersByTransparency) {
  TRecForm& f = AddForm("F", kBox, true);
  auto& m = Skin(f, {"[GLASS]", "TRANSPARENCY=100", "[HALF]", "COLOR=$000000", "TRANSPARENCY=50"});
  auto& box = Get<TSkinBox>(f, "Box");
  const HWND h = box.WindowHandle();
  // Opaque plain section: its colour.
  TsBackgroundInfo info;
  Cmd(h, skin::cmdGetBackgroundInfo, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.Kind, 1);
  EXPECT_EQ(info.Color, box.sd.BackgroundColor(0));
  // Fully transparent over a parent that is not skinned: the parent's colour, and the child's
  // place in it.
  box.sd.SetSkinSection("GLASS");
  info = TsBackgroundInfo{};
  Cmd(h, skin::cmdGetBackgroundInfo, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.Kind, 1);
  EXPECT_EQ(info.Color, graphics::clWhite);
  EXPECT_EQ(info.OffsetX, 20);
  EXPECT_EQ(info.OffsetY, 10);
  EXPECT_EQ(static_cast<TColor>(Cmd(h, skin::cmdGetBackgroundColor)),
            graphics::clWhite);  // the parent's colour
  // Half transparent: the cache, once painted.
  box.sd.SetSkinSection("HALF");
  ASSERT_TRUE(box.sd.PaintCache(0));
  info = TsBackgroundInfo{};
  Cmd(h, skin::cmdGetBackgroundInfo, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.Kind, 2);
  EXPECT_EQ(info.Bitmap, box.sd.Cache.get());
  // Over white, black at 50 %: the colour answer mixes in integers.
  const TColor mixed = static_cast<TColor>(Cmd(h, skin::cmdGetBackgroundColor));
  EXPECT_EQ(mixed & 0xFF, (50 * (0xFF - 0) + 256 * 0) >> 8) << std::hex << mixed;
  (void)m;
}

TEST_F(CommonDataTest, AGlowIsALayeredClickThroughWindowJustOverItsHost) {
  TRecForm& f = AddForm("F", kBox, true);
  auto& m = Skin(f, {"[GLOWY]", "GLOW0=#(0,16,12,24)(1,0,2,1)"});
  const int image = sapala::skin::FindGlowImage(m.Core().Tables, "GLOWY", "GLOW");
  ASSERT_GE(image, 0);
  const auto& img = *m.Core().Tables.Image(image);
  const int l = sapala::skin::LeftWidth(img), t = sapala::skin::TopWidth(img);
  const int r = sapala::skin::RightWidth(img), b = sapala::skin::BottomWidth(img);
  const HWND host = f.WindowHandle();
  ::SetForegroundWindow(host);
  app_->ProcessMessages();

  const RECT control{300, 200, 360, 225};
  const int handle = skin::ShowGlow(control, RECT{0, 0, 60, 25}, "GLOWY", &m, host, 255, 1, "GLOW");
  ASSERT_GE(handle, 0);
  const skin::TlcGlowEffect* g = skin::GlowOf(handle);
  ASSERT_NE(g, nullptr);
  const HWND w = g->WindowHandle();
  EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(w, GWL_EXSTYLE)) & skin::kGlowExStyle,
            skin::kGlowExStyle);
  EXPECT_TRUE(::IsWindowVisible(w));
  RECT wr;
  ::GetWindowRect(w, &wr);
  EXPECT_EQ(wr.left, 300 + 1 - l);
  EXPECT_EQ(wr.top, 200 + 1 - t);
  EXPECT_EQ(wr.right - wr.left, 60 + l + r - 2);
  EXPECT_EQ(wr.bottom - wr.top, 25 + t + b - 2);
  EXPECT_EQ(g->Picture().Width(), 60 + l + r - 2);
  EXPECT_EQ(::SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(wr.left + 1, wr.top + 1)), HTTRANSPARENT);
  EXPECT_EQ(::GetWindow(w, GW_HWNDNEXT), host);  // directly over its host
  EXPECT_NE(::GetForegroundWindow(), w);

  // Scrolled half out at the left: the picture is cut there and moves right.
  const int cut = skin::ShowGlow(control, RECT{10, 0, 60, 25}, "GLOWY", &m, host, 255, 1, "GLOW");
  ASSERT_GE(cut, 0);
  RECT cr;
  ::GetWindowRect(skin::GlowOf(cut)->WindowHandle(), &cr);
  EXPECT_EQ(cr.left, 300 + (l + 10 - 1) + 1 - l);
  EXPECT_EQ(cr.right - cr.left, (60 + l + r - 2) - (l + 10 - 1));

  skin::HideGlow(handle);
  EXPECT_EQ(skin::GlowOf(handle), nullptr);
  EXPECT_FALSE(::IsWindow(w));
  skin::HideGlow(handle);  // twice: nothing
  skin::HideGlow(-1);
  skin::HideGlow(1000);
  EXPECT_EQ(skin::GlowSlots(), 2);
  EXPECT_EQ(skin::ShowGlow(control, RECT{0, 0, 60, 25}, "EDIT", &m, host, 255, 0, "GLOW"),
            -1);  // no image
  skin::ClearGlows(false);
  EXPECT_EQ(skin::GlowSlots(), 0);
}

TEST_F(CommonDataTest, HoverMakesTheControlHotAndGlowsUntilTheMouseLeaves) {
  TRecForm& f = AddForm("F", kBox + std::string(R"(  object Next: TSkinBox
    Left = 100
    Width = 30
    Height = 20
  end
)"),
                        true);
  auto& m = Skin(f, {"[GLOWY]", "GLOW=4", "GLOWMARGIN=1", "GLOW0=#(0,16,12,24)(1,0,2,1)"});
  auto& box = Get<TSkinBox>(f, "Box");
  auto& next = Get<TSkinBox>(f, "Next");
  box.sd.ControlKind = 0;
  box.sd.SetSkinSection("GLOWY");
  next.sd.SetSkinSection("GLOWY");
  box.sd.MouseEnter();
  EXPECT_TRUE(box.sd.Hovered);
  EXPECT_EQ(m.HotControl(), box.WindowHandle());
  ASSERT_GE(box.sd.GlowHandle, 0);
  const HWND glow = skin::GlowOf(box.sd.GlowHandle)->WindowHandle();
  // The next sibling taking the hover takes it from the first one, glow included.
  next.sd.MouseEnter();
  EXPECT_FALSE(box.sd.Hovered);
  EXPECT_FALSE(::IsWindow(glow));
  EXPECT_EQ(m.HotControl(), next.WindowHandle());
  next.sd.MouseLeave();
  EXPECT_FALSE(next.sd.Hovered);
  EXPECT_EQ(next.sd.GlowHandle, -1);
  EXPECT_EQ(skin::GlowSlots(), 0);
  // A never-glowing kind hovers without a glow.
  box.sd.ControlKind = 51;
  box.sd.MouseEnter();
  EXPECT_TRUE(box.sd.Hovered);
  EXPECT_EQ(box.sd.GlowHandle, -1);
}

TEST(Glow, ThePictureIsPremultipliedOnlyInTheCopyForTheCompositor) {
  graphics::Bitmap pic = graphics::NewBitmap32(2, 1);
  pic.Row32(0)[0] = 0x80FFFFFF;  // white at half alpha
  pic.Row32(0)[1] = 0xFF336699;  // opaque
  Bitmap section = skin::PremultipliedSection(pic);
  ASSERT_TRUE(section);
  DIBSECTION ds{};
  ASSERT_EQ(::GetObjectW(section.get(), sizeof ds, &ds), static_cast<int>(sizeof ds));
  const auto* px = static_cast<const std::uint32_t*>(ds.dsBm.bmBits);
  EXPECT_EQ(px[0], 0x80808080u);
  EXPECT_EQ(px[1], 0xFF336699u);
  EXPECT_EQ(pic.Row32(0)[0], 0x80FFFFFFu);  // the picture itself stays as painted
}

}  // namespace
}  // namespace sapala::win::testing
