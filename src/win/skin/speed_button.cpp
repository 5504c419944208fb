// The speed-button handler: state, painting and its ties to the button.
#include "win/skin/speed_button.h"

#include <algorithm>

#include "core/graphics/color.h"
#include "core/skin/skin_text_paint.h"
#include "win/controls/skin_link.h"
#include "win/skin/common_data.h"
#include "win/skin/hook_base.h"
#include "win/skin/hook_paint.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace {

constexpr int kSmallSide = 16;
constexpr int kGlyphSpacing = 4;  // between the glyph and the caption

// What the parent shows under `button`: its answer to cmdGetBackgroundInfo, else its colour.
sapala::skin::ParentBackground BackgroundUnder(const TSpeedButton& button, TsBackgroundInfo& info) {
  info = TsBackgroundInfo{};
  info.Rect = {0, 0, button.Width(), button.Height()};
  TWinControl* parent = button.Parent();
  if (parent && parent->HandleAllocated())
    SendLumo(parent->WindowHandle(), skin::cmdGetBackgroundInfo, 0,
             reinterpret_cast<LPARAM>(&info));
  if (info.Kind == 2 && info.Bitmap)
    return sapala::skin::ParentBackground::FromBitmap(info.Bitmap, info.OffsetX, info.OffsetY);
  if (info.Kind == 1 && info.Color != graphics::clFuchsia)
    return sapala::skin::ParentBackground::FromColor(info.Color);
  if (parent)
    return sapala::skin::ParentBackground::FromColor(graphics::ColorToRGB(parent->Color()));
  return sapala::skin::ParentBackground::FromColor(
      static_cast<TColor>(::GetSysColor(COLOR_BTNFACE)));
}

}  // namespace

TlcSpeedButtonHandler::TlcSpeedButtonHandler(TSpeedButton& button, TsSkinManager* manager,
                                             std::string section)
    : button_(&button), manager_(manager), section_(std::move(section)) {
  if (section_.empty()) section_ = SpeedButtonSection(button.Width(), button.Height());
  button.FreeNotification(this);
}

TlcSpeedButtonHandler::~TlcSpeedButtonHandler() {
  Remove();
  if (button_) button_->RemoveFreeNotification(this);
}

const char* TlcSpeedButtonHandler::SpeedButtonSection(int width, int height) noexcept {
  return std::min(width, height) < kSmallSide ? "SPEEDBUTTON_SMALL" : "SPEEDBUTTON";
}

TsSkinManager* TlcSpeedButtonHandler::Manager() const noexcept {
  return manager_ ? manager_ : TsSkinManager::Default();
}

bool TlcSpeedButtonHandler::Install() {
  if (!button_ || installed_ || button_->Painter()) return false;
  button_->SetPainter(this);
  installed_ = true;
  button_->Invalidate();
  return true;
}

void TlcSpeedButtonHandler::Remove() noexcept {
  if (!installed_) return;
  installed_ = false;
  if (!button_) return;
  if (button_->Painter() == this) button_->SetPainter(nullptr);
  try {
    button_->Invalidate();
  } catch (...) {
  }
}

void TlcSpeedButtonHandler::ComponentFreed(TComponent& component) noexcept {
  if (&component != button_) return;
  // The button is being destroyed: nothing of it may be touched any more.
  button_ = nullptr;
  installed_ = false;
}

int TlcSpeedButtonHandler::State() const noexcept {
  if (!button_) return 0;
  const ButtonState s = button_->State();
  if (s == ButtonState::bsDown || s == ButtonState::bsExclusive) return 2;
  if (!button_->Enabled()) return 0;
  return button_->MouseInControl() ? 1 : 0;
}

bool TlcSpeedButtonHandler::PaintCache() {
  TsSkinManager* mgr = Manager();
  if (!button_ || !mgr || !mgr->SkinActive()) return false;
  const auto& tables = mgr->Core().Tables;
  int index = mgr->SectionIndex(section_);
  // A skin without the small section paints small buttons as the others.
  if (index < 0 && section_ == "SPEEDBUTTON_SMALL") index = mgr->SectionIndex("SPEEDBUTTON");
  if (index < 0 || index >= static_cast<int>(tables.Sections.size())) return false;
  const int w = button_->Width(), h = button_->Height();
  if (w <= 0 || h <= 0) return false;
  cache_.Resize(w, h);
  graphics::Bitmap& picture = cache_.Pixels();
  ClearPicture(picture);
  const int state = State();

  sapala::skin::ElementRef element;
  element.SectionIndex = index;
  element.BorderMaskIndex = tables.Sections[static_cast<std::size_t>(index)].MaskIndex;
  TsBackgroundInfo info;
  const auto bg = BackgroundUnder(*button_, info);
  const POINT origin{button_->Left(), button_->Top()};
  sapala::skin::PaintElement(tables, element, bg, true, picture, {origin.x, origin.y},
                             picture.Bounds(), state);

  // The glyph left of the caption, the pair centred.
  HDC dc = cache_.DC();
  HFONT font = button_->Font().Handle();
  SelectedObject selected(dc,
                          font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  const std::wstring& caption = button_->Caption();
  UINT flags = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
  RECT measured{0, 0, 0, 0};
  if (!caption.empty())
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                flags | DT_CALCRECT);
  const graphics::Bitmap& glyph = button_->Glyph();
  const int gw = glyph.Empty() ? 0 : glyph.Width(), gh = glyph.Empty() ? 0 : glyph.Height();
  const int tw = measured.right - measured.left, th = measured.bottom - measured.top;
  const int spacing = gw > 0 && tw > 0 ? kGlyphSpacing : 0;
  const int shift = state == 2 ? 1 : 0;
  const int left = (w - (gw + spacing + tw)) / 2 + shift;
  glyph_rect_ = {left, (h - gh) / 2 + shift, left + gw, (h - gh) / 2 + shift + gh};
  text_rect_ = {left + gw + spacing, (h - th) / 2 + shift, left + gw + spacing + tw,
                (h - th) / 2 + shift + th};
  if (HBITMAP handle = gw > 0 ? DibHandle(glyph) : nullptr) {
    TCanvas canvas(dc);
    canvas.Draw(glyph_rect_.left, glyph_rect_.top, handle,
                glyph.transparent ? glyph.transparentColor : graphics::clNone);
  }
  const bool enabled = button_->Enabled();
  if (!caption.empty()) {
    CacheTextCanvas canvas(dc);
    sapala::skin::SkinnedTextOwner owner;
    owner.Element = element;
    owner.Skinned = true;
    owner.Cache = &picture;
    sapala::skin::WriteSkinnedText(
        canvas, AsU16(caption), enabled, state > 0, tables, owner, flags,
        {text_rect_.left, text_rect_.top, text_rect_.right, text_rect_.bottom});
  }
  ::GdiFlush();
  MakeOpaque(picture);
  if (!enabled) FadeInto(picture, bg, origin, 40);
  return true;
}

void TlcSpeedButtonHandler::PaintControl(TControl& control, TCanvas& canvas) noexcept {
  bool painted = false;
  try {
    painted = &control == button_ && PaintCache();
  } catch (...) {
    painted = false;
  }
  if (painted) {
    ::BitBlt(canvas.Handle(), 0, 0, cache_.Width(), cache_.Height(), cache_.DC(), 0, 0, SRCCOPY);
    return;
  }
  // No skin to paint with (removed, or the section is missing): the button's own look.
  try {
    control.Paint(canvas);
  } catch (...) {
  }
}

}  // namespace sapala::win
