#include "win/controls/label_fx.h"

#include <algorithm>
#include <stdexcept>

#include "win/framework/loader.h"

namespace sapala::win {

using skin::ActiveSkinManager;

// ---------------------------------------------------------------- TsKind, TsShadow

void TsKind::SetKindType(TsKindType type) {
  if (type == kind_type_) return;
  kind_type_ = type;
  owner_.Invalidate();
}

void TsKind::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  owner_.Invalidate();
}

TsShadow::TsShadow(TsLabelFX& owner) : owner_(owner) { RefreshCache(color_); }

void TsShadow::RefreshCache(TColor color) noexcept {
  const TColor rgb = graphics::ColorToRGB(color);
  r_ = graphics::RedOf(rgb);
  g_ = graphics::GreenOf(rgb);
  b_ = graphics::BlueOf(rgb);
}

void TsShadow::SetMode(TsShadowMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  RefreshCache(color_);
  owner_.Invalidate();
}

void TsShadow::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  RefreshCache(color_);
  owner_.Invalidate();
}

void TsShadow::SetBlurCount(int count) {
  if (count == blur_count_) return;
  blur_count_ = count;
  owner_.Invalidate();
}

void TsShadow::SetDistance(int distance) {
  if (distance == distance_) return;
  distance_ = distance;
  owner_.Invalidate();
}

// ---------------------------------------------------------------- TsLabelFX

TsLabelFX::TsLabelFX(TComponent* owner) : TsCustomLabel(owner), kind_(*this), shadow_(*this) {}

void TsLabelFX::PaintShadow(TCanvas& canvas, const RECT& rect, UINT flags, const std::wstring& text,
                            int tl, int br, int distance, int blur) {
  const int w = std::max<int>(0, rect.right - rect.left),
            h = std::max<int>(0, rect.bottom - rect.top);
  mask_.Resize(w, h);
  if (mask_.DC()) {
    graphics::Bitmap& mask = mask_.Pixels();
    for (int y = 0; y < h; ++y) std::fill_n(mask.Row32(y), w, 0u);
    {
      TCanvas mc(mask_.DC());
      mc.Font() = canvas.Font();
      mc.Font().SetColor(graphics::clWhite);
      RECT r{rect.left - tl + distance, rect.top - tl + distance, rect.right - br + distance,
             rect.bottom - br + distance};
      mc.DrawText(text, r, flags);
    }
    ::GdiFlush();
    grid_.Build(mask, blur);
    if (Transparent()) {
      ::BitBlt(mask_.DC(), 0, 0, w, h, canvas.Handle(), 0, 0, SRCCOPY);
      ::GdiFlush();
    }
    sapala::controls::ComposeShadow(mask, grid_, shadow_.CachedRGB(), Transparent(),
                                    graphics::ColorToRGB(EffectiveColor()));
    ::BitBlt(canvas.Handle(), 0, 0, w, h, mask_.DC(), 0, 0, SRCCOPY);
  }
}

void TsLabelFX::DoDrawText(TCanvas& canvas, RECT& rect, UINT flags) {
  if (shadow_.Mode() == TsShadowMode::smNone) {
    TsCustomLabel::DoDrawText(canvas, rect, flags);
    return;
  }
  skin::SkinManagerLink* manager = ActiveSkinManager();
  // The shadow in force.
  TColor sc = shadow_.Color();
  int blur = shadow_.BlurCount(), distance = shadow_.Distance();
  if (shadow_.Mode() == TsShadowMode::smSkin1) {
    if (manager) {
      const auto skin = manager->ShadowSettings();
      if (skin.blur != -1) {
        sc = skin.color;
        blur = skin.blur;
        distance = skin.offset;
      }
    }
    shadow_.RefreshCache(sc);
  }
  blur = std::min(blur, TsShadow::kMaxBlurCount);
  distance =
      std::clamp(distance, -graphics::Bitmap::kMaxDimension, graphics::Bitmap::kMaxDimension);
  margins_ = sapala::controls::MarginsFor(distance, blur);
  const int tl = margins_.top_left, br = margins_.bottom_right;

  const bool measuring = (flags & DT_CALCRECT) != 0;
  const std::wstring text = TextToDraw(flags);
  canvas.Font() = font_;

  if (!enabled_) {
    DrawDisabledText(canvas, rect, text, flags);
    return;
  }

  TColor text_color = kind_.Color();
  switch (kind_.KindType()) {
    case TsKindType::ktStandard:
      text_color = graphics::ColorToRGB(EffectiveColor());
      break;
    case TsKindType::ktCustom:
      text_color = graphics::ColorToRGB(kind_.Color());
      break;
    case TsKindType::ktSkin:
      if (manager && manager->SectionIndex("GLOBALINFO") >= 0 &&
          manager->GlobalFontColor(2) != -1) {
        text_color = manager->GlobalFontColor(2);
      }
      break;
  }
  canvas.Font().SetColor(text_color);

  const bool shadowed = sc != graphics::clNone && blur != 0;
  if (measuring || !shadowed) {
    canvas.DrawText(text, rect, flags);
    if (measuring && shadowed) {
      rect.right += br - tl;
      rect.bottom += br - tl;
    }
    return;
  }

  // The shadow image, in the label's client coordinates. Painting never raises: a box too large
  // for a mask or a grid gets its text without the shadow.
  try {
    PaintShadow(canvas, rect, flags, text, tl, br, distance, blur);
  } catch (const std::exception&) {
  }
  RECT r{rect.left - tl, rect.top - tl, rect.right - br, rect.bottom - br};
  canvas.DrawText(text, r, flags);
}

bool TsLabelFX::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "Kind.KindType") {
    kind_.SetKindType(loader.Enum<TsKindType>(p,
                                              {{"ktStandard", TsKindType::ktStandard},
                                               {"ktCustom", TsKindType::ktCustom},
                                               {"ktSkin", TsKindType::ktSkin}},
                                              "kind"));
    return true;
  }
  if (name == "Kind.Color") {
    kind_.SetColor(loader.Color(p));
    return true;
  }
  if (name == "Shadow.Mode") {
    shadow_.SetMode(loader.Enum<TsShadowMode>(p,
                                              {{"smNone", TsShadowMode::smNone},
                                               {"smCustom", TsShadowMode::smCustom},
                                               {"smSkin1", TsShadowMode::smSkin1}},
                                              "shadow mode"));
    return true;
  }
  if (name == "Shadow.Color") {
    shadow_.SetColor(loader.Color(p));
    return true;
  }
  if (name == "Shadow.BlurCount") {
    shadow_.SetBlurCount(static_cast<int>(loader.Int(p)));
    return true;
  }
  if (name == "Shadow.Distance") {
    shadow_.SetDistance(static_cast<int>(loader.Int(p)));
    return true;
  }
  return TsCustomLabel::ReadProperty(name, p, loader);
}

void RegisterSkinnedLabels() {
  RegisterComponentClass<TsLabel>("TsLabel");
  RegisterComponentClass<TsWebLabel>("TsWebLabel");
  RegisterComponentClass<TsLabelFX>("TsLabelFX");
}

}  // namespace sapala::win
