// The gradient button: construction and schemes, loading from a description (a named scheme
// wins over stored colours), pixels of the face painted into a DIB, the state table driven by
// real messages (mouse, focus, keys, dialog keys, accelerator), and the four sound resources.
#include "win/controls/glaze_button.h"

#include "fixture.h"

namespace sapala::win::testing {
namespace {

using namespace sapala::controls;
using VS = TGlazeButton::VisualState;

constexpr char kButtons[] = R"(  object Edit1: TEdit
    Left = 150
    Top = 100
    Width = 60
    Height = 20
    TabOrder = 0
  end
  object Go: TGlazeButton
    Left = 20
    Top = 20
    Width = 80
    Height = 26
    Caption = '&Cari'
    TabOrder = 1
    OnClick = Clicked
    OnKeyDown = KeyDowned
    OnMouseDown = MouseDowned
    OnMouseUp = MouseUpped
  end
  object Quit: TGlazeButton
    Left = 20
    Top = 60
    Width = 80
    Height = 26
    Caption = 'Keluar'
    Cancel = True
    TabOrder = 2
    OnClick = Clicked
  end
)";

class GlazeButtonTest : public ControlsTest {
 protected:
  void SetUp() override {
    Build(kButtons);
    go_ = &Get<TGlazeButton>("Go");
    quit_ = &Get<TGlazeButton>("Quit");
  }
  HWND go() { return go_->WindowHandle(); }
  // The face as a repaint draws it.
  void Face(TGlazeButton& b, DibSurface& s) {
    s.Resize(b.Width(), b.Height());
    b.DrawFace(s.DC());
    ::GdiFlush();
  }
  TGlazeButton* go_ = nullptr;
  TGlazeButton* quit_ = nullptr;
};

TEST_F(GlazeButtonTest, ConstructionDefaults) {
  TGlazeButton b(nullptr);
  EXPECT_EQ(b.Width(), 75);
  EXPECT_EQ(b.Height(), 25);
  EXPECT_EQ(b.ColorScheme(), TColorScheme::csNeoDesert);
  EXPECT_TRUE(b.Gradient());
  EXPECT_TRUE(b.Ctl3D());
  EXPECT_TRUE(b.TabStop());
  EXPECT_TRUE(b.HotTrack());
  EXPECT_TRUE(b.TransparentGlyph());
  EXPECT_EQ(b.Spacing(), 4);
  EXPECT_FALSE(b.Cancel() || b.Default() || b.UseSound());
  EXPECT_EQ(b.Sound(), TSoundScheme::ssPistol);
  const SchemeColors desert = SchemeTable(TColorScheme::csNeoDesert);
  for (int slot = 0; slot < kColorSlotCount; ++slot) {
    const bool white =
        slot == kOverColorGrad || slot == kDownColorGrad || slot == kDisabledColorGrad;
    EXPECT_EQ(b.IndexedColor(slot), white ? graphics::clWhite : desert.colors[slot])
        << kColorSlotNames[slot];
  }
}

TEST_F(GlazeButtonTest, Schemes) {
  TGlazeButton b(nullptr);
  b.SetColorScheme(TColorScheme::csNeoSun);
  b.SetColorScheme(TColorScheme::csSky);  // plain after Neo: Neo's Grad colours stay, unseen
  EXPECT_FALSE(b.Gradient());
  EXPECT_EQ(b.ColorScheme(), TColorScheme::csSky);
  EXPECT_EQ(b.IndexedColor(kColorGrad), 0x20D8F9);
  EXPECT_EQ(b.IndexedColor(kDisabledColorGrad), 0xFFFFFF);
  EXPECT_EQ(b.IndexedColor(kColorFace), 0xFFE0C1);
  EXPECT_EQ(b.IndexedColor(kDisabledColorFace), 0xE2E2E2);

  b.SetIndexedColor(kOverColorBorder, 0x123456);  // one colour: the scheme becomes custom
  EXPECT_EQ(b.ColorScheme(), TColorScheme::csCustom);
  b.SetColorScheme(TColorScheme::csCustom);  // changes no colour
  EXPECT_EQ(b.IndexedColor(kOverColorBorder), 0x123456);
  EXPECT_EQ(b.IndexedColor(kColorFace), 0xFFE0C1);
  b.SetColorScheme(TColorScheme::csSky);  // the named scheme restores all of its colours
  EXPECT_EQ(b.IndexedColor(kOverColorBorder), 0xB35900);
}

TEST_F(GlazeButtonTest, StoredColoursThenNamedSchemeWins) {
  // As stored: colours first, then the scheme, which overwrites them.
  std::string text = FormText(
      "  object A: TGlazeButton\n    ColorFace = $00010203\n    ColorGrad = $00040506\n"
      "    ColorScheme = csNeoRose\n  end\n"
      "  object B: TGlazeButton\n    ColorFace = $00010203\n    ColorScheme = csCustom\n  end\n");
  TTestForm form(nullptr);
  form.LoadDescription(text);
  auto& a = *form.Find<TGlazeButton>("A");
  auto& b = *form.Find<TGlazeButton>("B");
  EXPECT_EQ(a.IndexedColor(kColorFace), 0xE8E8FF);
  EXPECT_EQ(a.IndexedColor(kColorGrad), 0x9595FF);
  EXPECT_EQ(a.ColorScheme(), TColorScheme::csNeoRose);
  EXPECT_EQ(b.IndexedColor(kColorFace), 0x010203);
  EXPECT_EQ(b.ColorScheme(), TColorScheme::csCustom);

  // Written and read back: the same button, and the colours come before ColorScheme.
  b.SetLayout(TButtonLayout::blGlyphBottom);
  b.SetCancel(true);
  b.SetModalResult(mrCancel);
  b.SetSound(TSoundScheme::ssHealth);
  graphics::Bitmap glyph = graphics::NewBitmap32(3, 2);
  glyph.Row32(1)[2] = 0xFF123456;
  b.SetGlyph(glyph);
  std::string stored = "  object C: TGlazeButton\n";
  std::vector<std::string> order;
  for (const auto& [name, value] : b.StoredProperties()) {
    stored += "    " + name + " = " + value + "\n";
    order.push_back(name);
  }
  stored += "  end\n";
  ASSERT_GE(order.size(), 26u);
  EXPECT_EQ(order[0], "ColorFace");
  EXPECT_EQ(order[24], "ColorFocusRect");
  EXPECT_EQ(order[25], "ColorScheme");
  EXPECT_EQ(std::count(order.begin(), order.end(), "Default"), 0);  // False is not written
  TTestForm again(nullptr);
  again.LoadDescription(FormText(stored));
  auto& c = *again.Find<TGlazeButton>("C");
  for (int slot = 0; slot < kColorSlotCount; ++slot)
    EXPECT_EQ(c.IndexedColor(slot), b.IndexedColor(slot)) << slot;
  EXPECT_EQ(c.ColorScheme(), TColorScheme::csCustom);
  EXPECT_EQ(c.Layout(), TButtonLayout::blGlyphBottom);
  EXPECT_TRUE(c.Cancel());
  EXPECT_EQ(c.ModalResult(), mrCancel);
  EXPECT_EQ(c.Sound(), TSoundScheme::ssHealth);
  ASSERT_EQ(c.Glyph().Width(), 3);
  EXPECT_EQ(c.Glyph().Row32(1)[2] & 0xFFFFFF, 0x123456u);
  EXPECT_EQ(order[26], "Ctl3D");
  EXPECT_EQ(order[28], "Glyph.Data");
}

TEST_F(GlazeButtonTest, FacePixels) {
  TGlazeButton& b = *quit_;
  b.SetCaption(L"");
  b.SetCtl3D(false);
  b.SetColorScheme(TColorScheme::csNeoGrass);
  DibSurface s;
  Face(b, s);
  const int w = b.Width(), h = b.Height();
  const auto lines = GradientLineColors(0xDDF9E8, 0x5EDF8E, h);
  for (int y = 1; y < h - 1; ++y) EXPECT_EQ(At(s, w / 2, y), lines[y]) << "row " << y;
  EXPECT_EQ(At(s, 0, 0), 0x156F37);  // border
  EXPECT_EQ(At(s, w - 1, h - 1), 0x156F37);
  EXPECT_EQ(At(s, w / 2, h - 1), 0x156F37);

  // A system colour: the plain fill resolves it, the gradient takes its raw bytes (0F, 00, 00).
  b.SetIndexedColor(kColorFace, graphics::clBtnFace);
  b.SetIndexedColor(kColorGrad, graphics::clBtnFace);
  b.SetGradient(false);
  Face(b, s);
  EXPECT_EQ(At(s, w / 2, h / 2), static_cast<TColor>(::GetSysColor(COLOR_BTNFACE)));
  b.SetGradient(true);
  Face(b, s);
  EXPECT_EQ(At(s, w / 2, h / 2), 0x00000F);

  // The 3-D edge: light on the left and top, dark on the right and bottom; the down set is
  // sunken (its light is the darker colour).
  b.SetColorScheme(TColorScheme::csNeoGrass);
  b.SetCtl3D(true);
  Face(b, s);
  EXPECT_EQ(At(s, 1, h / 2), 0xCBF5DB);
  EXPECT_EQ(At(s, w / 2, 1), 0xCBF5DB);
  EXPECT_EQ(At(s, w - 2, h / 2), 0x24B95C);
  EXPECT_EQ(At(s, w / 2, h - 2), 0x24B95C);
  EXPECT_EQ(At(s, 1, h - 2), 0xCBF5DB);  // the dark line stops short of the light one's start
  EXPECT_EQ(At(s, 2, h - 2), 0x24B95C);
}

TEST_F(GlazeButtonTest, GlyphWithItsTopLeftColourTransparent) {
  TGlazeButton& b = *quit_;  // 80 x 26
  b.SetCaption(L"");         // no caption: Spacing is ignored, the glyph is centred
  b.SetSpacing(9);
  // Blue, with the key (magenta) at the top-left and at (3, 2), and green at the bottom-left:
  // the key is the top-left pixel's colour, not the bottom-left one's.
  graphics::Bitmap glyph = graphics::NewBitmap32(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) glyph.Row32(y)[x] = 0xFF0000FF;
  glyph.Row32(0)[0] = glyph.Row32(2)[3] = 0xFFFF00FF;
  glyph.Row32(3)[0] = 0xFF00FF00;
  b.SetGlyph(glyph);
  DibSurface s;
  Face(b, s);
  // Glyph left = 80 div 2 − 6 div 2 = 37, top = (26 − 4) div 2 = 11.
  EXPECT_EQ(At(s, 38, 11), 0xFF0000);
  EXPECT_EQ(At(s, 42, 14), 0xFF0000);
  EXPECT_NE(At(s, 37, 11), 0xFF00FF);  // the key colour is left out...
  EXPECT_NE(At(s, 40, 13), 0xFF00FF);  // ...wherever it is
  EXPECT_EQ(At(s, 37, 14), 0x00FF00);  // the bottom-left colour is drawn
  EXPECT_NE(At(s, 43, 12), 0xFF0000);
  b.SetTransparentGlyph(false);
  Face(b, s);
  EXPECT_EQ(At(s, 37, 11), 0xFF00FF);
  // Pressed: one pixel right and down.
  Mouse(quit_->WindowHandle(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  Face(b, s);
  EXPECT_EQ(At(s, 38, 12), 0xFF00FF);
  EXPECT_NE(At(s, 37, 11), 0xFF00FF);
  EXPECT_EQ(At(s, 43, 12), 0xFF0000);
  Mouse(quit_->WindowHandle(), WM_LBUTTONUP, 300, 300);
}

TEST_F(GlazeButtonTest, StatesPaintTheirSets) {
  TGlazeButton& b = *go_;
  b.SetColorScheme(TColorScheme::csNeoRose);
  DibSurface s;
  const int w = b.Width(), h = b.Height();
  Mouse(go(), WM_MOUSEMOVE, 5, 5);
  ASSERT_EQ(b.State(), VS::Over);
  Face(b, s);
  EXPECT_EQ(At(s, 0, 0), 0x00009D);
  EXPECT_EQ(At(s, 1, h / 2), 0xD7D7FF);  // over light
  Mouse(go(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  ASSERT_EQ(b.State(), VS::Down) << b.MouseHeld() << b.HasFocusFlag();
  ASSERT_TRUE(b.HasFocusFlag());
  Face(b, s);
  EXPECT_EQ(At(s, 1, h / 2), 0x5E5EFF);      // down light
  EXPECT_EQ(At(s, w - 2, h / 2), 0xCECEFF);  // down dark
  EXPECT_EQ(At(s, 3, h / 2), 0x5E5EFF);      // focus rectangle (3, 3, W − 3, H − 3)
  EXPECT_EQ(At(s, w - 4, h / 2), 0x5E5EFF);
  // Disabled wins whatever the state.
  b.SetEnabled(false);
  Face(b, s);
  EXPECT_EQ(At(s, 0, 0), 0x808080);
  EXPECT_EQ(At(s, 1, h / 2), 0xFFFFFF);
  EXPECT_EQ(At(s, w - 2, h / 2), 0xD2D2D2);
}

TEST_F(GlazeButtonTest, MouseStateTable) {
  TGlazeButton& b = *go_;
  struct Step {
    UINT msg;
    int x, y;
    VS want;
    bool held;
    std::size_t clicks;
  };
  const Step steps[] = {
      {WM_MOUSEMOVE, 10, 10, VS::Over, false, 0},
      {WM_LBUTTONDOWN, 10, 10, VS::Down, true, 0},
      {WM_MOUSEMOVE, -5, 40, VS::Normal, true, 0},  // held, outside: normal
      {WM_MOUSEMOVE, 10, 10, VS::Down, true, 0},    // back inside: down again
      {WM_LBUTTONUP, 10, 10, VS::Over, false, 1},   // click, then over (hot tracking)
      {WM_LBUTTONDOWN, 10, 10, VS::Down, true, 1},
      {WM_LBUTTONUP, 0, 10, VS::Normal, false, 2},   // left column: clicks, the state stays
      {WM_MOUSEMOVE, 10, 10, VS::Normal, false, 2},  // still inside: no new enter
      {WM_MOUSELEAVE, 300, 300, VS::Normal, false, 2},
      {WM_MOUSEMOVE, 10, 10, VS::Over, false, 2},
      {WM_LBUTTONDOWN, 10, 10, VS::Down, true, 2},
      {WM_MOUSEMOVE, 200, 10, VS::Normal, true, 2},
      {WM_LBUTTONUP, 200, 10, VS::Normal, false, 2},  // released outside: no click
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const Step& st = steps[i];
    Mouse(go(), st.msg, st.x, st.y,
          st.msg == WM_LBUTTONDOWN || (st.held && st.msg == WM_MOUSEMOVE) ? MK_LBUTTON : 0);
    EXPECT_EQ(b.State(), st.want) << "step " << i << ": have " << static_cast<int>(b.State());
    EXPECT_EQ(b.MouseHeld(), st.held) << "step " << i;
    EXPECT_EQ(form_->clicks.size(), st.clicks) << "step " << i;
  }
  // Any button's release ends the hold: the middle one too, and its events reach the handlers.
  form_->mouse.clear();
  Mouse(go(), WM_MOUSEMOVE, 10, 10);
  Mouse(go(), WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
  ASSERT_TRUE(b.MouseHeld());
  Mouse(go(), WM_MBUTTONDOWN, 10, 10, MK_LBUTTON | MK_MBUTTON);
  Mouse(go(), WM_MBUTTONUP, 10, 10, MK_LBUTTON);
  EXPECT_FALSE(b.MouseHeld()) << "the middle button's release";
  EXPECT_EQ(b.State(), VS::Over);
  EXPECT_EQ(form_->mouse,
            (std::vector<std::string>{"Go down left", "Go down middle", "Go up middle"}));
  Mouse(go(), WM_LBUTTONUP, 10, 10);
  EXPECT_EQ(form_->clicks.size(), 3u);
  // Without hot tracking the mouse changes nothing until pressed.
  b.SetHotTrack(false);
  Mouse(go(), WM_MOUSELEAVE, 300, 300);
  Mouse(go(), WM_MOUSEMOVE, 10, 10);
  EXPECT_EQ(b.State(), VS::Normal);
  Mouse(go(), WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
  Mouse(go(), WM_LBUTTONUP, 10, 10);
  EXPECT_EQ(b.State(), VS::Normal);
  EXPECT_EQ(form_->clicks.size(), 4u);
}

TEST_F(GlazeButtonTest, KeysFocusAndDialogKeys) {
  TGlazeButton& b = *go_;
  b.SetFocus();
  app_->ProcessMessages();
  EXPECT_TRUE(b.HasFocusFlag());
  Mouse(go(), WM_MOUSEMOVE, 10, 10);
  ASSERT_EQ(b.State(), VS::Over);
  Key(go(), VK_SPACE, true);
  EXPECT_EQ(b.State(), VS::Down);
  EXPECT_TRUE(form_->clicks.empty());
  Key(go(), VK_SPACE, false);
  EXPECT_EQ(b.State(), VS::Normal);  // a keyboard click leaves normal, even with the mouse over
  EXPECT_EQ(form_->clicks, (std::vector<std::string>{"Go"}));
  Key(go(), VK_RETURN, true);  // Enter clicks at once (the focused button's dialog key)
  Key(go(), VK_RETURN, false);
  EXPECT_EQ(form_->clicks.size(), 2u);
  EXPECT_TRUE(form_->keys.empty());      // OnKeyDown is never raised
  Key(go(), VK_ESCAPE, true, VK_SHIFT);  // Shift held: Escape is not Cancel's
  EXPECT_EQ(form_->clicks.size(), 2u);
  Key(go(), VK_ESCAPE, true);
  EXPECT_EQ(form_->clicks.back(), "Quit");
  // The accelerator, by dialog character; not while disabled.
  Post(go(), WM_SYSCHAR, 'c', 0);
  EXPECT_EQ(form_->clicks.size(), 4u);
  b.SetEnabled(false);
  Post(quit_->WindowHandle(), WM_SYSCHAR, 'C', 0);
  EXPECT_EQ(form_->clicks.size(), 4u);
  b.SetEnabled(true);
  // Losing the focus: flag off and the normal state.
  Get<TEdit>("Edit1").SetFocus();
  app_->ProcessMessages();
  EXPECT_FALSE(b.HasFocusFlag());
}

TEST_F(GlazeButtonTest, DefaultAnswersEnterOnlyAndModalResultGoesToTheForm) {
  TGlazeButton& b = *go_;
  b.SetDefault(true);
  Get<TEdit>("Edit1").SetFocus();
  app_->ProcessMessages();
  const HWND edit = Get<TEdit>("Edit1").WindowHandle();
  Key(edit, VK_RETURN, true);
  EXPECT_EQ(form_->clicks, (std::vector<std::string>{"Go"}));
  quit_->SetCancel(false);
  Key(edit, VK_ESCAPE, true);  // Escape does not click a default button
  EXPECT_EQ(form_->clicks.size(), 1u);

  form_->SetModalResult(mrNone);
  b.SetModalResult(mrOk);
  b.Click();
  EXPECT_EQ(form_->ModalResult(), mrOk);
  b.SetModalResult(mrNone);  // 0 is handed on as well
  b.Click();
  EXPECT_EQ(form_->ModalResult(), mrNone);
}

TEST(GlazeButtonSounds, FourWaveResources) {
  const DWORD sizes[] = {6742, 1046, 7754, 2102};
  HMODULE module = ::GetModuleHandleW(nullptr);
  for (int id = 1; id <= 4; ++id) {
    HRSRC res = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"WAVE");
    ASSERT_NE(res, nullptr) << "sound " << id;
    const DWORD size = ::SizeofResource(module, res);
    EXPECT_EQ(size, sizes[id - 1]) << "sound " << id;
    const auto* b = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(module, res)));
    ASSERT_NE(b, nullptr);
    auto u16 = [&](int at) { return b[at] | b[at + 1] << 8; };
    auto u32 = [&](int at) { return static_cast<DWORD>(u16(at) | u16(at + 2) << 16); };
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b), 4), "RIFF");
    EXPECT_EQ(u32(4), size - 8);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b) + 8, 8), "WAVEfmt ");
    EXPECT_EQ(u16(20), 1);  // PCM
    EXPECT_EQ(u16(22), 1);  // mono
    EXPECT_EQ(u32(24), 11025u);
    EXPECT_EQ(u16(34), 8);  // bits
    EXPECT_EQ(u32(40), size - 44);
  }
}

}  // namespace
}  // namespace sapala::win::testing
