// The effect label on a real form: auto size grows by BR − TL (8 with the defaults, none without
// a shadow), the text sits −TL pixels in, the shadow blends over the label's colour or over what
// lies under it, ktStandard text, the disabled look, and skin shadow settings through a fake
// manager. The grid arithmetic itself is checked byte for byte natively.
#include "win/controls/label_fx.h"

#include "fixture.h"

namespace sapala::win::testing {
namespace {

constexpr TColor kMaroon = 0x000080;

constexpr char kLabel[] = R"(  object FX: TsLabelFX
    Left = 20
    Top = 20
    Caption = 'Tes'
    Font.Color = clBlack
    Font.Height = -20
    Font.Name = 'Tahoma'
    Font.Style = [fsBold]
    Kind.KindType = ktCustom
    Kind.Color = clLime
    Shadow.Mode = smCustom
    Shadow.Color = clMaroon
  end
)";

SIZE TextSize(const TFont& font, const std::wstring& text) {
  WindowDC screen(nullptr);
  TCanvas canvas(screen.get());
  canvas.Font() = font;
  RECT r{0, 0, 0, 0};
  canvas.DrawText(text, r, DT_CALCRECT | DT_EXPANDTABS);
  return {r.right, r.bottom};
}

class LabelFXTest : public ControlsTest {
 protected:
  void SetUp() override {
    Build(kLabel);
    fx_ = &Get<TsLabelFX>("FX");
    text_ = TextSize(fx_->Font(), L"Tes");
  }
  void TearDown() override {
    skin::SetDefaultSkinManager(nullptr);
    ControlsTest::TearDown();
  }
  // Pixels of colour `c` in the label's box.
  int Count(DibSurface& s, TColor c) {
    int n = 0;
    const int right = std::min(fx_->Left() + fx_->Width(), s.Width());
    const int bottom = std::min(fx_->Top() + fx_->Height(), s.Height());
    for (int y = std::max(0, fx_->Top()); y < bottom; ++y)
      for (int x = std::max(0, fx_->Left()); x < right; ++x) n += At(s, x, y) == c;
    return n;
  }
  TsLabelFX* fx_ = nullptr;
  SIZE text_{};
};

TEST_F(LabelFXTest, AutoSizeMargins) {
  EXPECT_EQ(fx_->Width(), text_.cx + 8);  // defaults B = 4, D = 1: TL = −3, BR = 5
  EXPECT_EQ(fx_->Height(), text_.cy + 8);
  struct Case {
    int blur, distance;
    TColor color;
    TsShadowMode mode;
    int growth;
  };
  const Case cases[] = {
      {0, 1, kMaroon, TsShadowMode::smCustom, 0},           // no blur: plain text
      {4, 1, graphics::clNone, TsShadowMode::smCustom, 0},  // no colour: plain text
      {4, -6, kMaroon, TsShadowMode::smCustom, 10},         // TL = −10 is the larger margin
      {2, 3, kMaroon, TsShadowMode::smCustom, 5},          {4, 1, kMaroon, TsShadowMode::smNone, 0},
      {4, 1, kMaroon, TsShadowMode::smSkin1, 8},  // no skin: its own settings
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    fx_->Shadow().SetBlurCount(c.blur);
    fx_->Shadow().SetDistance(c.distance);
    fx_->Shadow().SetColor(c.color);
    fx_->Shadow().SetMode(c.mode);
    fx_->AdjustBounds();
    EXPECT_EQ(fx_->Width(), text_.cx + c.growth) << "case " << i;
    EXPECT_EQ(fx_->Height(), text_.cy + c.growth) << "case " << i;
  }
  fx_->Shadow().SetMode(TsShadowMode::smCustom);
  fx_->Shadow().SetColor(kMaroon);
  fx_->Shadow().SetBlurCount(4);
  fx_->Shadow().SetDistance(1);
  fx_->SetCaption(L"");  // an empty caption still measures one line high
  EXPECT_EQ(fx_->Height(), text_.cy + 8);
}

TEST_F(LabelFXTest, ShadowOverTheLabelColour) {
  fx_->SetTransparent(false);
  fx_->SetColor(graphics::clWhite);
  DibSurface s;
  Snapshot(s);
  const int l = fx_->Left(), t = fx_->Top();
  // Far from the text the grid is 0: c = 255 × 255 div 256 = 254.
  EXPECT_EQ(At(s, l, t), 0xFEFEFE);
  EXPECT_GT(Count(s, 0x00FF00), 10);  // lime text
  // Around the text: maroon blended over white (red stays high, green and blue drop).
  int shadow = 0;
  for (int y = t; y < t + fx_->Height(); ++y)
    for (int x = l; x < l + fx_->Width(); ++x) {
      const TColor c = At(s, x, y);
      if (graphics::RedOf(c) > graphics::GreenOf(c) + 20 &&
          graphics::GreenOf(c) == graphics::BlueOf(c))
        ++shadow;
    }
  EXPECT_GT(shadow, 20);
  // Nothing is drawn outside the label's box.
  EXPECT_EQ(At(s, l - 1, t + 5), 0xFFFFFF);
  EXPECT_EQ(At(s, l + fx_->Width(), t + 5), 0xFFFFFF);
}

TEST_F(LabelFXTest, TransparentShadowOverTheParentsPixels) {
  form_->SetColor(0xF0F0F0);
  DibSurface s;
  Snapshot(s);
  // a = 0 over the parent's F0: 240 × 255 div 256 = 239.
  EXPECT_EQ(At(s, fx_->Left(), fx_->Top()), 0xEFEFEF);
  EXPECT_EQ(At(s, fx_->Left() - 1, fx_->Top()), 0xF0F0F0);
}

TEST_F(LabelFXTest, StandardKindAndDisabled) {
  fx_->Kind().SetKindType(TsKindType::ktStandard);  // text in the label's colour: white on white
  fx_->SetColor(0x00FFFF);
  DibSurface s;
  Snapshot(s);
  EXPECT_EQ(Count(s, 0x00FF00), 0);
  EXPECT_GT(Count(s, 0x00FFFF), 10);
  fx_->SetEnabled(false);  // embossed, no shadow: the untouched background stays exact
  Snapshot(s);
  EXPECT_EQ(At(s, fx_->Left(), fx_->Top()), 0xFFFFFF);
  EXPECT_GT(Count(s, graphics::ColorToRGB(graphics::clBtnShadow)), 10);
  EXPECT_EQ(Count(s, 0x00FFFF), 0);
}

TEST_F(LabelFXTest, TooLargeForAMaskStillPaintsWithoutRaising) {
  fx_->SetAutoSize(false);
  fx_->SetBounds(fx_->Left(), fx_->Top(), 70000, fx_->Height());  // wider than any bitmap
  DibSurface s;
  Snapshot(s);                        // TearDown checks that no error reached the application
  EXPECT_GT(Count(s, 0x00FF00), 10);  // the text, without its shadow
  EXPECT_EQ(At(s, fx_->Left(), fx_->Top()), 0xFFFFFF);
}

class SkinWithShadow : public skin::SkinManagerLink {
 public:
  bool SkinActive() const override { return true; }
  int SectionIndex(std::string_view name) const override { return name == "GLOBALINFO" ? 0 : -1; }
  TColor SectionFontColor(int) const override { return graphics::clFuchsia; }
  int SectionTransparency(int) const override { return 0; }
  bool SectionGivesOwnFont(int) const override { return false; }
  TColor FormFontColor() const override { return graphics::clFuchsia; }
  TColor GlobalFontColor(int n) const override { return n == 2 ? 0xFF0000 : -1; }
  Shadow1 ShadowSettings() const override { return {0x0000FF, blur, 3}; }
  void PaintSection(graphics::Bitmap&, int, POINT, HWND) override {}
  int blur = 2;
};

TEST_F(LabelFXTest, SkinShadowAndKind) {
  SkinWithShadow skin_manager;
  skin::SetDefaultSkinManager(&skin_manager);
  fx_->Shadow().SetMode(TsShadowMode::smSkin1);
  fx_->Kind().SetKindType(TsKindType::ktSkin);
  fx_->AdjustBounds();
  EXPECT_EQ(fx_->Width(), text_.cx + 5);  // the skin's blur 2 and offset 3: TL 0, BR 5
  DibSurface s;
  Snapshot(s);
  EXPECT_GT(Count(s, 0xFF0000), 10);  // GLOBALINFO's second font colour
  skin_manager.blur = -1;             // the skin sets no shadow: the label's own
  fx_->AdjustBounds();
  EXPECT_EQ(fx_->Width(), text_.cx + 8);
}

}  // namespace
}  // namespace sapala::win::testing
