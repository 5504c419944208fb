#include "win/controls/slabel.h"

#include <shellapi.h>

#include "win/framework/dib.h"
#include "win/framework/application.h"
#include "win/framework/library.h"
#include "win/framework/loader.h"
#include "win/framework/text.h"

namespace sapala::win {

using skin::ActiveSkinManager;
using skin::SkinManagerLink;

namespace {

// Process-wide guards of the font handling: while one label adjusts its font for painting, the
// font-change notifications of every label are ignored; while one font change is handled, a
// change it causes takes the platform's plain path instead of recursing.
bool adjusting_font = false;
bool handling_font_change = false;

class FlagScope {
 public:
  explicit FlagScope(bool& flag) noexcept : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

bool SameFont(const TFont& a, const TFont& b) {
  return a.Name() == b.Name() && a.Height() == b.Height() && a.Style() == b.Style() &&
         a.Charset() == b.Charset() && a.Pitch() == b.Pitch() && a.Color() == b.Color();
}

bool HasGlobalInfo(const SkinManagerLink& m) { return m.SectionIndex("GLOBALINFO") >= 0; }

}  // namespace

// ---------------------------------------------------------------- TsCustomLabel

TsCustomLabel::TsCustomLabel(TComponent* owner) : TCustomLabel(owner) { SetTransparent(true); }

void TsCustomLabel::SetSkinSection(std::string section) {
  if (section == skin_section_) return;
  skin_section_ = std::move(section);
  Invalidate();
}

int TsCustomLabel::FontGivingSection() const {
  SkinManagerLink* m = ActiveSkinManager();
  if (!m) return -1;
  for (const TWinControl* p = parent_; p;) {
    const int index = skin::ParentSectionIndex(p);
    if (index < 0) return -1;
    if (m->SectionTransparency(index) > 50 && p->Parent()) {
      p = p->Parent();
      continue;
    }
    return m->SectionGivesOwnFont(index) ? index : -1;
  }
  return -1;
}

TFont& TsCustomLabel::CurrentFont() {
  if (SkinManagerLink* m = ActiveSkinManager()) {
    const int section = FontGivingSection();
    const TColor c = section >= 0 ? m->SectionFontColor(section) : m->FormFontColor();
    if (c != graphics::clFuchsia && c != font_.Color()) font_.SetColor(c);
  }
  return font_;
}

void TsCustomLabel::Paint(TCanvas& canvas) {
  if (!Destroying()) {
    if (!adjusting_font) {
      FlagScope scope(adjusting_font);
      const TFont& current = CurrentFont();
      if (&current != &font_ && !SameFont(current, font_)) font_ = current;  // keeps OnChange
      if (SkinManagerLink* m = skin_section_.empty() ? nullptr : ActiveSkinManager()) {
        const int index = m->SectionIndex(skin_section_);
        if (index >= 0) {
          const TColor c = m->SectionFontColor(index);
          if (c != font_.Color()) font_.SetColor(c);
        }
      }
    }
    if (SkinManagerLink* m = skin_section_.empty() ? nullptr : ActiveSkinManager()) {
      const int index = m->SectionIndex(skin_section_);
      // The first section of a skin is not painted under a label.
      if (index > 0 && width_ > 0 && height_ > 0) try {
          DibSurface surface;
          surface.Resize(width_, height_);
          m->PaintSection(
              surface.Pixels(), index, POINT{left_, top_},
              parent_ && parent_->HandleAllocated() ? parent_->WindowHandle() : nullptr);
          ::BitBlt(canvas.Handle(), 0, 0, width_, height_, surface.DC(), 0, 0, SRCCOPY);
        } catch (const std::exception&) {
          // Painting never raises: a label too large for a bitmap goes without its section.
        }
    }
  }
  TCustomLabel::Paint(canvas);
}

void TsCustomLabel::DoDrawText(TCanvas& canvas, RECT& rect, UINT flags) {
  if (enabled_ || !ActiveSkinManager()) {
    TCustomLabel::DoDrawText(canvas, rect, flags);
    return;
  }
  // Disabled under a skin: one flat text, 40 % font colour over 60 % of what lies beneath.
  const std::wstring text = TextToDraw(flags);
  canvas.Font() = font_;
  canvas.Font().SetColor(graphics::MixColors(graphics::ColorToRGB(font_.Color()),
                                             skin::ParentBackgroundColor(parent_), 0.4));
  canvas.DrawText(text, rect, flags);
}

void TsCustomLabel::FontChanged() {
  if (!Destroying() && !handling_font_change) {
    if (adjusting_font) return;  // our own paint-time adjustment
    FlagScope scope(handling_font_change);
    if (AutoSize()) AdjustBounds();
    Invalidate();
    return;
  }
  TCustomLabel::FontChanged();
}

bool TsCustomLabel::SkinCommand(WORD command, LPARAM lp) {
  if (command == skin::cmdRemoveSkin &&
      lp == reinterpret_cast<LPARAM>(skin::DefaultSkinManager()) && lp != 0) {
    font_.SetColor(graphics::clWindowText);
    return true;
  }
  return false;
}

void TsCustomLabel::Dispatch(Message& m) {
  if (m.Msg == skin::SM_LUMOCMD && SkinCommand(HIWORD(m.WParam), m.LParam)) m.Result = 1;
}

bool TsCustomLabel::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "SkinSection") {
    skin_section_ = Narrow(loader.String(p));
    return true;
  }
  return TCustomLabel::ReadProperty(name, p, loader);
}

// ---------------------------------------------------------------- TsLabel

void TsLabel::SetUseSkinColor(bool on) {
  if (on == use_skin_color_) return;
  use_skin_color_ = on;
  Invalidate();
}

TFont& TsLabel::CurrentFont() {
  if (use_skin_color_ && !Destroying()) return TsCustomLabel::CurrentFont();
  return font_;
}

bool TsLabel::SkinCommand(WORD command, LPARAM lp) {
  if (command != skin::cmdRemoveSkin) return TsCustomLabel::SkinCommand(command, lp);
  if (lp == 0 || lp != reinterpret_cast<LPARAM>(skin::DefaultSkinManager())) return false;
  if (use_skin_color_) font_.SetColor(graphics::clWindowText);
  return true;
}

bool TsLabel::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "UseSkinColor") {
    use_skin_color_ = loader.Bool(p);
    return true;
  }
  return TsCustomLabel::ReadProperty(name, p, loader);
}

// ---------------------------------------------------------------- TsWebLabel

TsWebLabel::TsWebLabel(TComponent* owner) : TsLabel(owner) {
  cursor_ = crHandPoint;
  normal_font_ = font_;
}

void TsWebLabel::SetFont(const TFont& font) {
  font_ = font;
  normal_font_ = font;
  Repaint();
}

TFont& TsWebLabel::CurrentFont() {
  SkinManagerLink* m = ActiveSkinManager();
  if (mouse_above_ && !(ComponentState() & csDesigning)) {
    TColor c = hover_font_.Color();
    if (UseSkinColor() && m && HasGlobalInfo(*m)) c = m->GlobalFontColor(3);  // TCTOP
    if (c == -1) c = graphics::clRed;
    hover_font_.SetColor(c);
    return hover_font_;
  }
  if (!Destroying() && m && UseSkinColor() && HasGlobalInfo(*m)) {
    const int section = FontGivingSection();
    const TColor c =
        section >= 0 ? m->SectionFontColor(section) : m->GlobalFontColor(5);  // TCBOTTOM
    if (c != graphics::clFuchsia && c != normal_font_.Color()) normal_font_.SetColor(c);
  }
  return normal_font_;
}

void TsWebLabel::HoverChanged(bool above) {
  if (!enabled_) return;
  mouse_above_ = above;
  if (AutoSize()) {
    Invalidate();
    Repaint();
    AdjustBounds();  // the hover font may be of another size
  }
  if (parent_ && parent_->HandleAllocated()) {
    const RECT r = BoundsRect();
    ::RedrawWindow(parent_->WindowHandle(), &r, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void TsWebLabel::MouseEnter() {
  TsLabel::MouseEnter();
  HoverChanged(true);
}

void TsWebLabel::MouseLeave() {
  TsLabel::MouseLeave();
  HoverChanged(false);
}

void TsWebLabel::MouseDown(MouseButton button, unsigned shift, int x, int y) {
  TsLabel::MouseDown(button, shift, x, y);
  if (button != MouseButton::mbLeft || url_.empty()) return;
  // The link opens on the press; a failure is not reported.
  HWND owner = Application().MainForm() ? Application().MainForm()->WindowHandle() : nullptr;
  // shell32 is loaded with the first link opened, not at start-up.
  static const OptionalLibrary shell32(L"shell32.dll");
  static const auto shell_open = shell32.Find<decltype(&::ShellExecuteW)>("ShellExecuteW");
  if (shell_open)
    shell_open(owner, L"open", url_.c_str(), nullptr, nullptr, static_cast<int>(show_mode_));
}

void TsWebLabel::Loaded() {
  normal_font_ = font_;  // the stored Font (or the parent's) is the normal font
  TsLabel::Loaded();
  font_ = normal_font_;
}

bool TsWebLabel::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name.starts_with("HoverFont.")) {
    loader.ReadFont(hover_font_, name.substr(10), p);
    return true;
  }
  if (name == "URL") {
    url_ = loader.String(p);
    return true;
  }
  if (name == "ShowMode") {
    static const char* const modes[] = {"soHide",     "soNormal",          "soShowMinimized",
                                        "soMaximize", "soShowNoActivate",  "soShow",
                                        "soMinimize", "soShowMinNoActive", "soShowNA",
                                        "soRestore",  "soDefault"};
    show_mode_ = loader.Enum<TsWindowShowMode>(p, modes, "show mode");
    return true;
  }
  if (name == "Cursor") {
    cursor_ = loader.Enum<TCursor>(p,
                                   {{"crHandPoint", crHandPoint},
                                    {"crDefault", crDefault},
                                    {"crArrow", crArrow},
                                    {"crIBeam", crIBeam}},
                                   "cursor");
    return true;
  }
  return TsLabel::ReadProperty(name, p, loader);
}

}  // namespace sapala::win
