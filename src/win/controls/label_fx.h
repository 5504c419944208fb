// TsLabelFX: a caption label that draws its text over a soft shadow (or glow): the text is
// drawn white into a mask, spread by B rounds of stamping and in-place blurring on a byte grid,
// and the shadow colour is blended by the grid's values over the label's background (or over
// what the parent painted under a transparent label). The text colour comes from TsKind, the
// shadow's colour, blur and distance from TsShadow; both can follow the skin.
#pragma once

#include "core/controls/label_shadow.h"
#include "win/framework/dib.h"
#include "win/controls/slabel.h"

namespace sapala::win {

class TsLabelFX;

enum class TsKindType { ktStandard, ktCustom, ktSkin };

// Where the text colour comes from. Owned by one label; setters invalidate it.
class TsKind {
 public:
  explicit TsKind(TsLabelFX& owner) : owner_(owner) {}
  TsKindType KindType() const noexcept { return kind_type_; }
  void SetKindType(TsKindType type);
  TColor Color() const noexcept { return color_; }
  void SetColor(TColor color);

 private:
  TsLabelFX& owner_;
  TsKindType kind_type_ = TsKindType::ktSkin;
  TColor color_ = graphics::clWhite;
};

enum class TsShadowMode { smNone, smCustom, smSkin1 };

// The shadow settings, and the RGB bytes of the shadow colour in force (the channel cache).
class TsShadow {
 public:
  // Blur passes are capped here: each pass walks every pixel of the label, and a stored count
  // of millions would hang the paint.
  static constexpr int kMaxBlurCount = 64;

  explicit TsShadow(TsLabelFX& owner);
  TsShadowMode Mode() const noexcept { return mode_; }
  void SetMode(TsShadowMode mode);
  TColor Color() const noexcept { return color_; }
  void SetColor(TColor color);
  int BlurCount() const noexcept { return blur_count_; }
  void SetBlurCount(int count);
  int Distance() const noexcept { return distance_; }
  void SetDistance(int distance);

  // The cached shadow channels as an RGB value.
  TColor CachedRGB() const noexcept { return graphics::RgbColor(r_, g_, b_); }
  void RefreshCache(TColor color) noexcept;

 private:
  TsLabelFX& owner_;
  TsShadowMode mode_ = TsShadowMode::smSkin1;
  TColor color_ = graphics::clBlack;
  int blur_count_ = 4;
  int distance_ = 1;
  std::uint8_t r_ = 0, g_ = 0, b_ = 0;
};

class TsLabelFX : public TsCustomLabel {
 public:
  explicit TsLabelFX(TComponent* owner);

  TsKind& Kind() noexcept { return kind_; }
  TsShadow& Shadow() noexcept { return shadow_; }
  // The margins of the last draw (TL <= 0, BR >= 0).
  sapala::controls::ShadowMargins Margins() const noexcept { return margins_; }

  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

 protected:
  void DoDrawText(TCanvas& canvas, RECT& rect, UINT flags) override;

 private:
  // Builds the shadow image for `text` laid out in `rect` and copies it to the label's surface.
  void PaintShadow(TCanvas& canvas, const RECT& rect, UINT flags, const std::wstring& text, int tl,
                   int br, int distance, int blur);

  TsKind kind_;
  TsShadow shadow_;
  DibSurface mask_;
  sapala::controls::ShadowGrid grid_;
  sapala::controls::ShadowMargins margins_;
};

}  // namespace sapala::win
