// Labels that take their text colour from the loaded skin: TsCustomLabel (the base, also of
// the effect label), TsLabel (the skin colour can be turned off) and TsWebLabel (a hyperlink:
// hover font, hand pointer, the link opened by the shell on a press). All are windowless and
// paint on their parent's surface. Without an active skin manager they draw as the platform's
// label does.
#pragma once

#include <string>

#include "win/controls/skin_link.h"
#include "win/framework/label.h"

namespace sapala::win {

class TsCustomLabel : public TCustomLabel {
 public:
  explicit TsCustomLabel(TComponent* owner);

  // Name of a skin section whose background and font colour the label takes; empty for none.
  const std::string& SkinSection() const noexcept { return skin_section_; }
  void SetSkinSection(std::string section);

  void Paint(TCanvas& canvas) override;
  // A command of the skin engine (SM_LUMOCMD) handed to the label by its parent or the
  // manager; true when the label handled it.
  virtual bool SkinCommand(WORD command, LPARAM lp);
  // SM_LUMOCMD handed to the label object by the skin engine's child walk.
  void Dispatch(Message& m) override;
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

 protected:
  // The font to draw with, its colour first brought up to date with the skin.
  virtual TFont& CurrentFont();
  // The section whose font colour the label takes: its parent's (or, through a parent more than
  // 50 % transparent, the grandparent's) when that section gives its own font; -1 for none.
  int FontGivingSection() const;
  void DoDrawText(TCanvas& canvas, RECT& rect, UINT flags) override;
  void FontChanged() override;

 private:
  std::string skin_section_;
};

class TsLabel : public TsCustomLabel {
 public:
  explicit TsLabel(TComponent* owner) : TsCustomLabel(owner) {}
  bool UseSkinColor() const noexcept { return use_skin_color_; }
  void SetUseSkinColor(bool on);
  bool SkinCommand(WORD command, LPARAM lp) override;
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

 protected:
  TFont& CurrentFont() override;

 private:
  bool use_skin_color_ = true;
};

// Show commands handed to the shell; the ordinals are the SW_* values 0..10.
enum class TsWindowShowMode {
  soHide,
  soNormal,
  soShowMinimized,
  soMaximize,
  soShowNoActivate,
  soShow,
  soMinimize,
  soShowMinNoActive,
  soShowNA,
  soRestore,
  soDefault
};

class TsWebLabel : public TsLabel {
 public:
  explicit TsWebLabel(TComponent* owner);

  // Copies `font` into the label's font and its normal-font copy, then paints at once.
  void SetFont(const TFont& font);
  const TFont& NormalFont() const noexcept { return normal_font_; }
  TFont& HoverFont() noexcept { return hover_font_; }
  void SetHoverFont(const TFont& font) { hover_font_ = font; }
  const std::wstring& URL() const noexcept { return url_; }
  void SetURL(std::wstring url) { url_ = std::move(url); }
  TsWindowShowMode ShowMode() const noexcept { return show_mode_; }
  void SetShowMode(TsWindowShowMode mode) noexcept { show_mode_ = mode; }
  bool MouseAbove() const noexcept { return mouse_above_; }

  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(MouseButton button, unsigned shift, int x, int y) override;
  void Loaded() override;
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

 protected:
  TFont& CurrentFont() override;

 private:
  void HoverChanged(bool above);

  TFont hover_font_;
  TFont normal_font_;
  std::wstring url_;
  TsWindowShowMode show_mode_ = TsWindowShowMode::soDefault;
  bool mouse_above_ = false;
};

// Registers the label classes of this header and of the effect label for form descriptions.
void RegisterSkinnedLabels();

}  // namespace sapala::win
