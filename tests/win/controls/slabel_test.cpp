// The skinned labels without a skin manager (the platform label's drawing and sizing), the web
// label's hover font, pointer and link, and the skin branches through a fake manager.
#include "win/controls/slabel.h"

#include <array>
#include <fstream>
#include <sstream>

#include "fixture.h"
#include "win/framework/text.h"

namespace sapala::win::testing {
namespace {

constexpr char kLabels[] = R"(  object Plain: TsLabel
    Left = 10
    Top = 10
    Caption = 'Tes'
    Font.Color = clBlack
    Font.Height = -13
    Font.Name = 'Tahoma'
    OnMouseEnter = MouseEntered
    OnMouseLeave = MouseLeft
  end
  object Web: TsWebLabel
    Left = 10
    Top = 60
    Caption = 'qeto@sapala.example'
    Font.Color = clTeal
    Font.Height = -12
    Font.Name = 'Tahoma'
    UseSkinColor = False
    HoverFont.Color = clGreen
    HoverFont.Height = -20
    HoverFont.Name = 'Tahoma'
    ShowMode = soNormal
    OnClick = Clicked
  end
)";

class SLabelTest : public ControlsTest {
 protected:
  void SetUp() override { Build(kLabels); }
  void TearDown() override {
    skin::SetDefaultSkinManager(nullptr);
    ControlsTest::TearDown();
  }
  // Counts the pixels of colour `c` inside the control's bounds.
  int Count(DibSurface& s, const TControl& c, TColor color) {
    int n = 0;
    const int right = std::min(c.Left() + c.Width(), s.Width());
    const int bottom = std::min(c.Top() + c.Height(), s.Height());
    for (int y = std::max(0, c.Top()); y < bottom; ++y)
      for (int x = std::max(0, c.Left()); x < right; ++x) n += At(s, x, y) == color;
    return n;
  }
};

SIZE TextSize(const TFont& font, const std::wstring& text) {
  WindowDC screen(nullptr);
  TCanvas canvas(screen.get());
  canvas.Font() = font;
  RECT r{0, 0, 0, 0};
  canvas.DrawText(text, r, DT_CALCRECT | DT_EXPANDTABS);
  return {r.right, r.bottom};
}

TEST_F(SLabelTest, AutoSizeAndEmptyCaption) {
  auto& plain = Get<TsLabel>("Plain");
  const SIZE text = TextSize(plain.Font(), L"Tes");
  EXPECT_EQ(plain.Width(), text.cx);
  EXPECT_EQ(plain.Height(), text.cy);
  plain.SetCaption(L"");  // still one line high
  EXPECT_EQ(plain.Height(), text.cy);
  EXPECT_GT(plain.Width(), 0);
  plain.SetCaption(L"&");  // a lone accelerator mark measures as a blank too
  EXPECT_EQ(plain.Height(), text.cy);
  plain.SetCaption(L"Tes");
  plain.Font().SetHeight(-26);  // a font change re-measures
  EXPECT_EQ(plain.Height(), TextSize(plain.Font(), L"Tes").cy);
  EXPECT_GT(plain.Height(), text.cy);
}

TEST_F(SLabelTest, UnskinnedDrawing) {
  auto& plain = Get<TsLabel>("Plain");
  EXPECT_TRUE(plain.Transparent());
  DibSurface s;
  Snapshot(s);
  EXPECT_GT(Count(s, plain, 0x000000), 3);  // black text on the white form
  plain.SetEnabled(false);                  // the platform's embossed pair
  Snapshot(s);
  EXPECT_EQ(Count(s, plain, 0x000000), 0);
  EXPECT_GT(Count(s, plain, graphics::ColorToRGB(graphics::clBtnShadow)), 3);
  plain.SetEnabled(true);
  plain.SetTransparent(false);
  plain.SetColor(0x0000FF);
  Snapshot(s);
  EXPECT_EQ(At(s, plain.Left(), plain.Top()), 0x0000FF);
}

TEST_F(SLabelTest, WebLabelHover) {
  auto& web = Get<TsWebLabel>("Web");
  EXPECT_EQ(web.Cursor(), crHandPoint);
  const int normal_height = web.Height();
  EXPECT_EQ(web.Font().Color(), 0x808000);  // teal, from the description
  const HWND form = form_->WindowHandle();
  Mouse(form, WM_MOUSEMOVE, web.Left() + 3, web.Top() + 3);
  EXPECT_TRUE(web.MouseAbove());
  EXPECT_EQ(web.Font().Color(), 0x008000);  // the hover font is painted...
  EXPECT_GT(web.Height(), normal_height);   // ...and measured
  // The pointer over the label is the hand.
  ::SendMessageW(form, WM_SETCURSOR, reinterpret_cast<WPARAM>(form),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
  // A press with no URL opens nothing (and is no error); the click still comes on release.
  Mouse(form, WM_LBUTTONDOWN, web.Left() + 3, web.Top() + 3, MK_LBUTTON);
  Mouse(form, WM_LBUTTONUP, web.Left() + 3, web.Top() + 3);
  Mouse(form, WM_MOUSEMOVE, 230, 150);
  EXPECT_FALSE(web.MouseAbove());
  EXPECT_EQ(web.Height(), normal_height);
  EXPECT_EQ(web.Font().Color(), 0x808000);
  // A disabled web label keeps its look under the mouse.
  web.SetEnabled(false);
  Mouse(form, WM_MOUSEMOVE, web.Left() + 3, web.Top() + 3);
  EXPECT_FALSE(web.MouseAbove());
}

TEST_F(SLabelTest, EnterAndLeaveWhateverTheEnabledState) {
  auto& plain = Get<TsLabel>("Plain");
  const HWND form = form_->WindowHandle();
  for (bool enabled : {true, false}) {
    plain.SetEnabled(enabled);
    form_->mouse.clear();
    Mouse(form, WM_MOUSEMOVE, plain.Left() + 2, plain.Top() + 2);
    Mouse(form, WM_MOUSEMOVE, 230, 150);
    EXPECT_EQ(form_->mouse, (std::vector<std::string>{"Plain enter", "Plain leave"}))
        << "enabled " << enabled;
  }
}

// The recorder the project's Wine prefix uses as its browser (scripts/wine-prefix.sh).
std::string UrlLog() {
  std::ifstream in(SAPALA_SOURCE_DIR "/build/wine/urls.log");
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST_F(SLabelTest, WebLabelOpensItsUrlOnThePress) {
  std::ifstream probe(SAPALA_SOURCE_DIR "/build/wine/browser.sh");
  if (!probe) GTEST_SKIP() << "not running in the project's Wine prefix (no URL recorder)";
  auto& web = Get<TsWebLabel>("Web");
  const std::string url = "http://sapala.example/tes-" + std::to_string(::GetTickCount());
  web.SetURL(Widen(url));
  const HWND form = form_->WindowHandle();
  Mouse(form, WM_LBUTTONDOWN, web.Left() + 3, web.Top() + 3, MK_LBUTTON);
  bool seen = false;
  for (int i = 0; i < 100 && !seen; ++i) {
    seen = UrlLog().find(url) != std::string::npos;
    if (!seen) ::Sleep(100);
  }
  Mouse(form, WM_LBUTTONUP, web.Left() + 3, web.Top() + 3);
  EXPECT_TRUE(seen) << "the browser was not given " << url;
}

// A skin manager with one active skin: sections by name, fixed colours.
class FakeSkin : public skin::SkinManagerLink {
 public:
  bool SkinActive() const override { return active; }
  int SectionIndex(std::string_view name) const override {
    if (name == "GLOBALINFO") return 0;
    if (name == "PANEL") return 3;
    return -1;
  }
  TColor SectionFontColor(int) const override { return 0x00FF00; }
  int SectionTransparency(int) const override { return 0; }
  bool SectionGivesOwnFont(int) const override { return true; }
  TColor FormFontColor() const override { return 0x0000FF; }
  TColor GlobalFontColor(int n) const override {
    return n == 3 ? 0xFF0000 : n == 5 ? 0x00FFFF : -1;
  }
  Shadow1 ShadowSettings() const override { return {}; }
  void PaintSection(graphics::Bitmap& target, int section, POINT offset, HWND) override {
    painted.push_back({section, offset.x, offset.y});
    for (int y = 0; y < target.Height(); ++y)
      for (int x = 0; x < target.Width(); ++x) target.Row32(y)[x] = 0xFF00FFFF;  // cyan
  }
  bool active = true;
  std::vector<std::array<int, 3>> painted;
};

TEST_F(SLabelTest, SkinBranches) {
  FakeSkin fake;
  skin::SetDefaultSkinManager(&fake);
  auto& plain = Get<TsLabel>("Plain");
  auto& web = Get<TsWebLabel>("Web");
  DibSurface s;
  Snapshot(s);
  EXPECT_EQ(plain.Font().Color(), 0x0000FF);  // the manager's form font colour
  EXPECT_EQ(web.Font().Color(), 0x808000);    // UseSkinColor off: its own
  // A disabled label under a skin: one flat text, 40 % font colour over 60 % background.
  plain.SetEnabled(false);
  Snapshot(s);
  EXPECT_GT(Count(s, plain, graphics::MixColors(0x0000FF, 0xFFFFFF, 0.4)), 3);
  EXPECT_EQ(Count(s, plain, graphics::ColorToRGB(graphics::clBtnShadow)), 0);
  // Removing the skin: clWindowText for a TsLabel that uses skin colours, not for one that does
  // not.
  EXPECT_FALSE(plain.SkinCommand(skin::cmdRemoveSkin, 12345));  // not our manager
  EXPECT_TRUE(plain.SkinCommand(skin::cmdRemoveSkin, reinterpret_cast<LPARAM>(&fake)));
  EXPECT_EQ(plain.Font().Color(), graphics::clWindowText);
  web.Font().SetColor(0x111111);
  EXPECT_TRUE(web.SkinCommand(skin::cmdRemoveSkin, reinterpret_cast<LPARAM>(&fake)));
  EXPECT_EQ(web.Font().Color(), 0x111111);
  // A label with a skin section: the section's font colour; its background is painted unless
  // it is the skin's first section.
  plain.SetSkinSection("PANEL");
  Snapshot(s);
  ASSERT_EQ(fake.painted.size(), 1u);
  EXPECT_EQ(fake.painted[0], (std::array<int, 3>{3, plain.Left(), plain.Top()}));
  EXPECT_EQ(At(s, plain.Left(), plain.Top()), 0xFFFF00);
  EXPECT_EQ(plain.Font().Color(), 0x00FF00);
  plain.SetSkinSection("GLOBALINFO");
  plain.Font().SetColor(0x000000);
  Snapshot(s);
  EXPECT_EQ(fake.painted.size(), 1u);
  EXPECT_EQ(At(s, plain.Left(), plain.Top()), 0xFFFFFF);
  EXPECT_EQ(plain.Font().Color(), 0x00FF00);
  plain.SetSkinSection("");
  // An inactive manager counts as none.
  fake.active = false;
  plain.SetEnabled(true);
  plain.Font().SetColor(0x000000);
  Snapshot(s);
  EXPECT_EQ(plain.Font().Color(), 0x000000);
}

}  // namespace
}  // namespace sapala::win::testing
