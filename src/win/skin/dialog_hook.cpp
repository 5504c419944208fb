// The dialog providers, the dialog hook's frame and input, and the dialog's system menu.
#include "win/skin/dialog_hook.h"

#include "core/skin/ext_border.h"
#include "win/skin/border_form.h"

#include <algorithm>

#include "core/graphics/pixels.h"
#include "core/skin/form_region.h"
#include "core/skin/frame_hit_test.h"
#include "core/skin/skin_manager.h"
#include "core/skin/skin_paint.h"
#include "win/controls/skin_link.h"
#include "win/framework/dib.h"
#include "win/skin/animations.h"
#include "win/skin/button_hook.h"
#include "win/skin/edit_hook.h"
#include "win/skin/hook_factory.h"
#include "win/skin/hook_paint.h"
#include "win/skin/plug_ins.h"
#include "win/skin/skin_manager.h"
#include "win/skin/skin_provider.h"
#include "win/skin/static_hooks.h"

namespace sapala::win {

namespace sk = sapala::skin;
using graphics::Rect;

namespace {

const sk::FrameMetrics& Metrics() {
  static const sk::FrameMetrics m{::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CXDLGFRAME),
                                  ::GetSystemMetrics(SM_CYCAPTION),
                                  ::GetSystemMetrics(SM_CYSMCAPTION)};
  return m;
}

std::string ClassNameOf(HWND hwnd) {
  wchar_t name[256] = {};
  const int n = ::GetClassNameW(hwnd, name, 256);
  std::string out;
  for (int i = 0; i < n; ++i) out.push_back(name[i] < 128 ? static_cast<char>(name[i]) : '?');
  return out;
}

// The window's descendants, each window after its own descendants.
void CollectDescendants(HWND parent, std::vector<HWND>& out, int depth = 0) {
  if (depth > 32) return;  // a foreign tree is bounded
  for (HWND c = ::GetWindow(parent, GW_CHILD); c && out.size() < 4096;
       c = ::GetWindow(c, GW_HWNDNEXT)) {
    CollectDescendants(c, out, depth + 1);
    out.push_back(c);
  }
}

}  // namespace

// ---------------------------------------------------------------- system menu

TlcSystemMenu::TlcSystemMenu() : skin::TsCustomSysMenu(nullptr) {
  SetClassName("TlcSystemMenu");
  struct Row {
    const char* name;
    const wchar_t* caption;
    UINT command;
  };
  static constexpr Row kRows[] = {
      {"miRestore", L"Restore", SC_RESTORE},
      {"miMove", L"Move", SC_MOVE},
      {"miSize", L"Size", SC_SIZE},
      {"miMinimize", L"Minimize", SC_MINIMIZE},
      {"miMaximize", L"Maximize", SC_MAXIMIZE},
      {"miClose", L"Close", SC_CLOSE},
  };
  for (const Row& r : kRows) {
    TMenuItem& item = Items().Add(r.caption);
    item.Name = r.name;
    item.Tag = static_cast<INT_PTR>(r.command);
    item.OnClick = [this](TMenuItem& it) {
      if (::IsWindow(dialog_)) {
        ::PostMessageW(dialog_, WM_SYSCOMMAND, static_cast<WPARAM>(it.Tag), 0);
      }
    };
  }
}

TMenuItem* TlcSystemMenu::ItemByName(std::string_view name) {
  for (int i = 0; i < Items().Count(); ++i) {
    if (Items().Items(i).Name == name) return &Items().Items(i);
  }
  return nullptr;
}

void TlcSystemMenu::Refresh(HWND dialog, const sk::FormRulesInput& rules) {
  dialog_ = dialog;
  rules_ = rules;
  const bool normal = rules.WindowState == sk::TWindowState::wsNormal;
  const bool sizeable = rules.BorderStyle == sk::TFormBorderStyle::bsSizeable ||
                        rules.BorderStyle == sk::TFormBorderStyle::bsSizeToolWin;
  auto set = [this](const char* name, bool visible, bool enabled) {
    if (TMenuItem* it = ItemByName(name)) {
      it->Visible = visible;
      it->Enabled = enabled;
    }
  };
  set("miRestore", VisibleMax() || VisibleMin(), EnabledRestore());
  set("miMove", true, rules.WindowState != sk::TWindowState::wsMaximized);
  set("miSize", sizeable, sizeable && normal);
  set("miMinimize", VisibleMin(), EnabledMin());
  set("miMaximize", VisibleMax(), EnabledMax());
  set("miClose", VisibleClose(), true);
}

// ---------------------------------------------------------------- dialog hook

TlcDialogWnd::TlcDialogWnd(HWND dialog, TsSkinManager* manager, TlcProvider& provider)
    : TlcScrollWnd(dialog, manager, "DIALOG", false), provider_(provider) {}

TlcDialogWnd::~TlcDialogWnd() {
  border_.reset();
  Remove();
  DropRegion();
}

sk::FormRulesInput TlcDialogWnd::Rules() const noexcept {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const LONG_PTR ex = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  const bool tool = (ex & WS_EX_TOOLWINDOW) != 0;
  sk::FormRulesInput r;
  if (style & WS_THICKFRAME) {
    r.BorderStyle = tool ? sk::TFormBorderStyle::bsSizeToolWin : sk::TFormBorderStyle::bsSizeable;
  } else if (tool) {
    r.BorderStyle = sk::TFormBorderStyle::bsToolWindow;
  } else if ((style & WS_DLGFRAME) || (ex & WS_EX_DLGMODALFRAME)) {
    r.BorderStyle = sk::TFormBorderStyle::bsDialog;
  } else if (style & WS_BORDER) {
    r.BorderStyle = sk::TFormBorderStyle::bsSingle;
  } else {
    r.BorderStyle = sk::TFormBorderStyle::bsNone;
  }
  r.BorderIcons = 0;
  if (style & WS_SYSMENU) r.BorderIcons |= sk::biSystemMenu;
  if (style & WS_MINIMIZEBOX) r.BorderIcons |= sk::biMinimize;
  if (style & WS_MAXIMIZEBOX) r.BorderIcons |= sk::biMaximize;
  if (ex & WS_EX_CONTEXTHELP) r.BorderIcons |= sk::biHelp;
  r.WindowState = ::IsIconic(hwnd_)   ? sk::TWindowState::wsMinimized
                  : ::IsZoomed(hwnd_) ? sk::TWindowState::wsMaximized
                                      : sk::TWindowState::wsNormal;
  r.HasSystemMenu = (style & WS_SYSMENU) != 0;
  return r;
}

sk::FrameFormInput TlcDialogWnd::FrameInput() const noexcept {
  sk::FrameFormInput f;
  f.Rules = Rules();
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  f.ChildWindow = (style & WS_CHILD) != 0;
  f.ThickFrame = (style & WS_THICKFRAME) != 0;
  f.Border = (style & WS_BORDER) != 0;
  f.FullCaption = (style & WS_CAPTION) == WS_CAPTION;
  RECT wr{};
  ::GetWindowRect(hwnd_, &wr);
  f.Width = wr.right - wr.left;
  return f;
}

// The frame is what the system reserved around the client area: the hook paints into the
// non-client area the dialog's own procedure sized.
int TlcDialogWnd::FrameWidth() const noexcept {
  RECT wr{};
  POINT origin{0, 0};
  ::GetWindowRect(hwnd_, &wr);
  ::ClientToScreen(hwnd_, &origin);
  return std::max<int>(0, origin.x - wr.left);
}

int TlcDialogWnd::CaptionHeight() const noexcept {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  if ((style & WS_CAPTION) != WS_CAPTION && !::IsIconic(hwnd_)) return 0;
  return (::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) ? Metrics().SmallCaption
                                                                      : Metrics().Caption;
}

const sk::CaptionButtonLayout& TlcDialogWnd::Buttons() noexcept {
  if (const auto* t = Tables(); t && Active()) {
    images_ = sk::ChooseButtonImages(*t, Rules());
    layout_ = sk::LayoutCaptionButtons(*t, FrameInput(), Metrics(),
                                       sk::ReadFrameSkinValues(*t, false), images_);
  } else {
    layout_ = {};
  }
  return layout_;
}

HBRUSH TlcDialogWnd::FormBrush(TColor color) noexcept {
  if (!color_brush_ || brush_color_ != color) {
    color_brush_.reset(::CreateSolidBrush(static_cast<COLORREF>(color & 0xFFFFFF)));
    brush_color_ = color;
  }
  return color_brush_.get();
}

TColor TlcDialogWnd::FormColor() const noexcept {
  const auto* s = SectionData();
  return s ? graphics::ColorToRGB(s->Props[0].Color) : graphics::clNone;
}

void TlcDialogWnd::SkinChanged() {
  TlcScrollWnd::SkinChanged();
  const auto* t = Tables();
  title_index_ = t && Active() ? t->FindSection("FORMTITLE") : -1;
  color_brush_.reset();
  brush_color_ = graphics::clNone;
  title_glow_.Clear();
  InvalidateFrame();
}

void TlcDialogWnd::InvalidateFrame() noexcept {
  frame_stale_ = true;
  region_changed_ = true;
}

int TlcDialogWnd::HitTestAt(POINT p) noexcept {
  RECT wr{};
  ::GetWindowRect(hwnd_, &wr);
  sk::FrameHitInput in;
  in.Point = {p.x, p.y};
  in.Width = wr.right - wr.left;
  in.Height = wr.bottom - wr.top;
  in.Frame = FrameWidth();
  in.Caption = CaptionHeight();
  const sk::FrameFormInput f = FrameInput();
  in.ThickFrame = f.ThickFrame;
  in.Rules = f.Rules;
  if (const auto* t = Tables())
    in.Icon = sk::IconRect(f, Metrics(), sk::ReadFrameSkinValues(*t, false));
  in.Buttons = &Buttons();
  return sk::FrameHitTest(in);
}

graphics::Bitmap* TlcDialogWnd::FrameImage() noexcept {
  if (!Active() || section_index_ < 0) return nullptr;
  RECT wr{};
  ::GetWindowRect(hwnd_, &wr);
  if (frame_stale_ || frame_.Width() != wr.right - wr.left ||
      frame_.Height() != wr.bottom - wr.top) {
    try {
      Compose();
    } catch (...) {
      frame_ = graphics::Bitmap();
    }
  }
  return frame_.Empty() ? nullptr : &frame_;
}

void TlcDialogWnd::Compose() {
  const auto* tables = Tables();
  RECT wr{};
  ::GetWindowRect(hwnd_, &wr);
  const int w = std::clamp<int>(wr.right - wr.left, 0, graphics::Bitmap::kMaxDimension);
  const int h = std::clamp<int>(wr.bottom - wr.top, 0, graphics::Bitmap::kMaxDimension);
  if (!tables || w <= 0 || h <= 0) return;
  // The new image shows every caption button in its state: a fade under way ends here.
  input_.StopFades();
  if (frame_.Width() != w || frame_.Height() != h) frame_ = graphics::NewBitmap32(w, h);
  const int state = active_ ? 1 : 0;
  const auto none = sk::ParentBackground::None();
  sk::PaintSection(*tables, section_index_, none, -1, -1, frame_, {0, 0}, frame_.Bounds(), state,
                   state);
  const int frame = FrameWidth();
  const int caption = CaptionHeight();
  const Rect titleRect{0, 0, w, std::min(h, frame + caption)};
  Buttons();
  if (caption > 0 && title_index_ >= 0) {
    sk::PaintSection(*tables, title_index_, none, -1, -1, frame_, {0, 0}, titleRect, state, state);
    if (HBITMAP section = DibHandle(frame_)) {
      MemoryDC dc(::CreateCompatibleDC(nullptr));
      SelectedObject selected(dc.get(), section);
      const sk::FrameFormInput f = FrameInput();
      const sk::FrameSkinValues s = sk::ReadFrameSkinValues(*tables, false);
      Rect band{frame + 4, frame, w - frame - layout_.TotalWidth - 4, frame + caption};
      const Rect icon = sk::IconRect(f, Metrics(), s);
      if (!icon.empty()) band.left = std::max(band.left, icon.right + 4);
      PaintTitleText(dc.get(), state, band);
      ::GdiFlush();
    }
    graphics::SetOpacityRect(frame_, titleRect, 255, false);
    clean_title_ = graphics::NewBitmap32(w, titleRect.bottom);
    graphics::CopyBitmapRect(clean_title_, {0, 0}, frame_, titleRect);
    for (const sk::CaptionButtonInfo& b : layout_.System) {
      if (b.Visible) PaintButton(b, input_.Tracker().StateOf(b.HitCode));
    }
  } else {
    clean_title_ = graphics::Bitmap();
  }
  frame_stale_ = false;
  border_stale_ = true;
}

void TlcDialogWnd::DropBorder() noexcept { border_.reset(); }

void TlcDialogWnd::SyncBorder() {
  TsSkinManager* m = Manager();
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const bool want = m && Active() && section_index_ >= 0 && m->Core().ExtendedBorders() &&
                    m->Core().ExtendedBordersInEffect() && !(style & WS_CHILD) &&
                    (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) != 0;
  if (want == (border_ != nullptr)) return;
  if (!want) {
    border_.reset();
    return;
  }
  auto border = std::make_unique<skin::TlcBorderForm>(hwnd_);
  if (border->Handle()) {
    border_ = std::move(border);
    border_stale_ = true;
  }
}

void TlcDialogWnd::ShowBorder() noexcept {
  const auto* tables = Tables();
  graphics::Bitmap* image = border_ ? FrameImage() : nullptr;
  if (!image || !tables) return;
  try {
    const sk::BorderWidths m = sk::ExtBorderMargins(*tables);
    const sk::ExtBorderFrame ext = sk::ExtBorderFrameOf(image->Width(), image->Height(), m);
    graphics::Bitmap picture = graphics::NewBitmap32(ext.Width, ext.Height);
    graphics::CopyBitmapRect(picture, ext.Form.topLeft(), *image, image->Bounds());
    graphics::SetOpacityRect(picture, ext.Form, 255, false);
    sk::PaintExtBorderRing(picture,
                           active_ ? tables->ExtBorders.Active : tables->ExtBorders.Inactive,
                           sk::ExtBorderSlices(*tables));
    border_stale_ = false;
    border_->Update(picture, RECT{m.left, m.top, m.right, m.bottom}, 255);
  } catch (...) {
    // Out of memory for the picture: the dialog goes without its shadow this time.
  }
}

void TlcDialogWnd::PaintTitleText(HDC dc, int state, const Rect& band) {
  if (band.width() <= 0 || band.height() <= 0 || text_.empty()) return;
  const sk::TsGeneralData& sec = Tables()->Sections[static_cast<std::size_t>(title_index_)];
  const int st = sk::LimitState(sec, state);
  if (!caption_font_) caption_font_ = SystemCaptionFont();
  SavedDC saved(dc);
  SelectedObject selected(dc, caption_font_.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(
      dc,
      static_cast<COLORREF>(
          graphics::ColorToRGB(sec.Props[static_cast<std::size_t>(st)].FontColors[0]) & 0xFFFFFF));
  RECT rc{band.left, band.top, band.right, band.bottom};
  constexpr UINT kFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  const sk::TsGenState& props = sec.Props[static_cast<std::size_t>(st)];
  if (props.GlowSize > 0) {
    ::GdiFlush();
    title_glow_.Draw(frame_, st, caption_font_.get(), text_, band, kFlags, props.GlowColor,
                     props.GlowSize);
  }
  ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &rc, kFlags);
}

void TlcDialogWnd::PaintButton(const sk::CaptionButtonInfo& b, int state) {
  const auto* tables = Tables();
  if (!tables || b.Rect.empty() || clean_title_.Empty()) return;
  const Rect r = b.Rect.intersect(frame_.Bounds()).intersect(clean_title_.Bounds());
  if (r.empty()) return;
  graphics::Bitmap piece = graphics::NewBitmap32(r.width(), r.height());
  graphics::CopyBitmapRect(piece, {0, 0}, clean_title_, r);
  if (const sk::TsMaskData* img = tables->Image(b.ImageIndex)) {
    const int frames = std::max<int>(1, img->FrameCount);
    graphics::Bitmap under = piece.Clone();
    sk::PaintImageAt(piece, {b.Rect.left - r.left, b.Rect.top - r.top},
                     std::clamp(state, 0, frames - 1),
                     sk::ParentBackground::FromBitmap(&under, 0, 0), *img, true);
  }
  // A normal button of an inactive dialog, or a disabled one, at half strength.
  if (state == 0 && (!active_ || !b.Enabled)) {
    graphics::BlendRect(frame_, piece, 128, r.topLeft(), piece.Bounds());
  } else {
    graphics::CopyBitmapRect(frame_, r.topLeft(), piece, piece.Bounds());
  }
}

// Only the non-client strips are copied: the client area belongs to the dialog and its children.
void TlcDialogWnd::PaintFrame(HDC windowDC) noexcept {
  graphics::Bitmap* image = FrameImage();
  if (!image || !windowDC) return;
  HBITMAP section = DibHandle(*image);
  if (!section) return;
  RECT wr{}, client{};
  ::GetWindowRect(hwnd_, &wr);
  ::GetClientRect(hwnd_, &client);
  POINT origin{0, 0};
  ::ClientToScreen(hwnd_, &origin);
  const int cx = origin.x - wr.left, cy = origin.y - wr.top;
  SavedDC saved(windowDC);
  ::ExcludeClipRect(windowDC, cx, cy, cx + client.right, cy + client.bottom);
  MemoryDC dc(::CreateCompatibleDC(windowDC));
  SelectedObject selected(dc.get(), section);
  ::BitBlt(windowDC, 0, 0, image->Width(), image->Height(), dc.get(), 0, 0, SRCCOPY);
}

void TlcDialogWnd::PaintFrameNow() noexcept {
  if (!::IsWindowVisible(hwnd_)) return;
  {
    WindowDC dc(hwnd_, true);
    PaintFrame(dc.get());
  }
  UpdateRegion();
  if (border_ && border_stale_) ShowBorder();
}

void TlcDialogWnd::UpdateRegion() noexcept {
  if (!region_changed_ || !Active()) return;
  const auto* tables = Tables();
  if (!tables) return;
  region_changed_ = false;
  RECT wr{};
  ::GetWindowRect(hwnd_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  const int state = active_ ? 1 : 0;
  const int caption = CaptionHeight();
  std::vector<Rect> cuts;
  try {
    if (const sk::TsMaskData* mask = tables->Image(mask_index_)) {
      cuts = sk::CornerCutRects(*mask, state, Rect{0, 0, w, h}, true, true);
    }
    if (title_index_ >= 0 && caption > 0) {
      const int titleMask = tables->FindImage(
          title_index_, tables->Sections[static_cast<std::size_t>(title_index_)].SectionName,
          "BORDERSMASK");
      if (const sk::TsMaskData* mask = tables->Image(titleMask)) {
        const auto more =
            sk::CornerCutRects(*mask, state, Rect{0, 0, w, FrameWidth() + caption}, true, false);
        cuts.insert(cuts.end(), more.begin(), more.end());
      }
    }
  } catch (...) {
    cuts.clear();
  }
  if (cuts.empty()) {
    DropRegion();
    return;
  }
  Region region(::CreateRectRgn(0, 0, w, h));
  for (const Rect& r : cuts) {
    Region cut(::CreateRectRgn(r.left, r.top, r.right, r.bottom));
    ::CombineRgn(region.get(), region.get(), cut.get(), RGN_DIFF);
  }
  // The window owns the region once it has taken it.
  if (SetSkinnedWindowRegion(hwnd_, region.get())) {
    (void)region.release();
    region_set_ = true;
  }
}

void TlcDialogWnd::DropRegion() noexcept {
  if (region_set_ && ::IsWindow(hwnd_) && !WindowDestroyed()) {
    ::SetWindowRgn(hwnd_, nullptr, ::IsWindowVisible(hwnd_));
  }
  region_set_ = false;
  region_changed_ = true;
}

const sk::CaptionButtonInfo* TlcDialogWnd::CaptionButton(int code) const {
  for (const auto& i : layout_.System) {
    if (i.Visible && i.HitCode == code) return &i;
  }
  return nullptr;
}

graphics::Bitmap* TlcDialogWnd::CaptionImage() {
  graphics::Bitmap* image = FrameImage();
  return image && !clean_title_.Empty() ? image : nullptr;
}

HBITMAP TlcDialogWnd::CaptionImageSection() { return DibHandle(frame_); }

void TlcDialogWnd::PaintCaptionButton(const sk::CaptionButtonInfo& b, int state) {
  try {
    PaintButton(b, state);
  } catch (...) {
    // The button keeps its old picture.
  }
}

bool TlcDialogWnd::CaptionDoubleClick(int code, POINT, Message& m) {
  const sk::FormRulesInput r = Rules();
  if (code == sk::kHitCaption && (sk::VisibleMax(r) && sk::EnabledMax(r))) {
    RunCaptionCommand(::IsZoomed(hwnd_) || ::IsIconic(hwnd_) ? SC_RESTORE : SC_MAXIMIZE);
    if (system_menu_) system_menu_->Refresh(hwnd_, Rules());
    m.Result = 0;
    return true;
  }
  if (code == sk::kHitSysMenu) {
    RunCaptionCommand(SC_CLOSE);
    m.Result = 0;
    return true;
  }
  return false;
}

void TlcDialogWnd::RunCaptionCommand(UINT command) {
  if (command == SC_MINIMIZE || command == SC_RESTORE) InvalidateFrame();
  PostCaptionCommand(command);
}

void TlcDialogWnd::OpenSystemMenu(POINT screen) {
  TsSkinManager* m = Manager();
  if (m && m->Core().SkinnedPopups()) {
    if (!system_menu_) system_menu_ = std::make_unique<TlcSystemMenu>();
    system_menu_->Refresh(hwnd_, Rules());
    // The items get the menu painter's handlers.
    if (skin::PlugIns().setPopupsSkinned) skin::PlugIns().setPopupsSkinned(true);
    system_menu_->Popup(screen.x, screen.y);
    return;
  }
  HMENU menu = ::GetSystemMenu(hwnd_, FALSE);  // owned by the window
  if (!menu) return;
  if (skin::PlugIns().trackSystemMenu) {
    const UINT chosen = skin::PlugIns().trackSystemMenu(menu, screen);
    if (chosen) ::PostMessageW(hwnd_, WM_SYSCOMMAND, chosen, 0);
    return;
  }
  const BOOL chosen = ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                                       hwnd_, nullptr);
  if (chosen) ::PostMessageW(hwnd_, WM_SYSCOMMAND, static_cast<WPARAM>(chosen), 0);
}

void TlcDialogWnd::StartHideAnimation() noexcept {
  TsSkinManager* m = Manager();
  if (!m || !::IsWindowVisible(hwnd_) || ::IsIconic(hwnd_)) return;
  const auto& settings = m->Core().AnimEffects.DialogHide;
  if (!settings.Active || settings.Time == 0) return;
  RECT wr{};
  ::GetWindowRect(hwnd_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0 || w > graphics::Bitmap::kMaxDimension ||
      h > graphics::Bitmap::kMaxDimension)
    return;
  try {
    graphics::Bitmap picture = graphics::NewBitmap32(w, h);
    HBITMAP section = DibHandle(picture);
    if (!section) return;
    {
      // The dialog as it is on the screen, frame and children included.
      WindowDC window(hwnd_, true);
      MemoryDC dc(::CreateCompatibleDC(window.get()));
      SelectedObject selected(dc.get(), section);
      ::BitBlt(dc.get(), 0, 0, w, h, window.get(), 0, 0, SRCCOPY);
      ::GdiFlush();
    }
    graphics::SetOpacityRect(picture, picture.Bounds(), 255, false);
    Window layered = skin::CreateAnimationWindow(true);
    if (!layered) return;
    ::SetWindowPos(layered.get(), nullptr, wr.left, wr.top, w, h,
                   SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOREDRAW);
    skin::StartHideAnimation(std::move(layered), std::move(picture), settings.Time, settings.Mode,
                             255);
  } catch (...) {
    // No animation: the dialog simply goes.
  }
}

void TlcDialogWnd::AnimateShowing() noexcept {
  TsSkinManager* m = Manager();
  if (!m || skin::AnimationLock() || !::IsWindowVisible(hwnd_) || ::IsIconic(hwnd_)) return;
  const auto& settings = m->Core().AnimEffects.DialogShow;
  if (!settings.Active || sk::AnimationStepCount(settings.Time) == 0) return;
  graphics::Bitmap* frame = FrameImage();
  if (!frame) return;
  bool redrawOff = false;
  try {
    // The picture: the frame, the skinned client background, and each visible child as it
    // prints itself, all at their places in the window.
    graphics::Bitmap picture = graphics::NewBitmap32(frame->Width(), frame->Height());
    graphics::CopyBitmapRect(picture, {0, 0}, *frame, frame->Bounds());
    HBITMAP section = DibHandle(picture);
    if (!section) return;
    CallPrevious(WM_SETREDRAW, FALSE, 0);
    redrawOff = true;
    {
      RECT wr{};
      ::GetWindowRect(hwnd_, &wr);
      POINT origin{0, 0};
      ::ClientToScreen(hwnd_, &origin);
      MemoryDC dc(::CreateCompatibleDC(nullptr));
      SelectedObject selected(dc.get(), section);
      {
        SavedDC saved(dc.get());
        ::SetViewportOrgEx(dc.get(), origin.x - wr.left, origin.y - wr.top, nullptr);
        EraseBackground(dc.get());
      }
      for (HWND c = ::GetWindow(hwnd_, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (!(::GetWindowLongPtrW(c, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT cr{};
        ::GetWindowRect(c, &cr);
        SavedDC saved(dc.get());
        ::SetViewportOrgEx(dc.get(), cr.left - wr.left, cr.top - wr.top, nullptr);
        ::SendMessageW(c, WM_PRINT, reinterpret_cast<WPARAM>(dc.get()),
                       PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
      }
      ::GdiFlush();
    }
    graphics::SetOpacityRect(picture, picture.Bounds(), 255, false);
    skin::ShowWindowAnimated(hwnd_, picture, settings.Time, 255, settings.Mode);
  } catch (...) {
    // No animation: the dialog simply shows.
    if (redrawOff) {
      CallPrevious(WM_SETREDRAW, TRUE, 0);
      ::RedrawWindow(hwnd_, nullptr, nullptr,
                     RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
  }
}

void TlcDialogWnd::EraseBackground(HDC dc) {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const TColor color = FormColor();
  // Until the picture has the dialog's size, the plain colour goes first.
  if (cache_.Width() != client.right || cache_.Height() != client.bottom) {
    Brush brush(::CreateSolidBrush(static_cast<COLORREF>(color & 0xFFFFFF)));
    ::FillRect(dc, &client, brush.get());
  }
  if (client.right <= 0 || client.bottom <= 0) return;
  if (stale_ || cache_.Width() != client.right || cache_.Height() != client.bottom) {
    cache_.Resize(client.right, client.bottom);
    const auto* tables = Tables();
    if (!tables) return;
    sk::PaintElementBackground(*tables, section_index_, sk::ParentBackground::None(),
                               graphics::clFuchsia, -1, -1, cache_.Pixels(), {0, 0},
                               Rect{0, 0, client.right, client.bottom}, active_ ? 1 : 0);
    graphics::SetOpacityRect(cache_.Pixels(), cache_.Pixels().Bounds(), 255, false);
    stale_ = false;
  }
  ::BitBlt(dc, 0, 0, cache_.Width(), cache_.Height(), cache_.DC(), 0, 0, SRCCOPY);
}

void TlcDialogWnd::PaintOwnerDrawnStatic(const DRAWITEMSTRUCT& item) noexcept {
  // Only for the dialog's own children: the structure comes with the message and is checked.
  HWND child = item.hwndItem;
  if (!item.hDC || !child || !::IsWindow(child) || ::GetParent(child) != hwnd_) return;
  try {
    POINT origin{0, 0};
    ::MapWindowPoints(child, hwnd_, &origin, 1);
    SavedDC saved(item.hDC);
    const RECT& r = item.rcItem;
    ::IntersectClipRect(item.hDC, r.left, r.top, r.right, r.bottom);
    // The dialog's background, placed so that the part under the static lands on it.
    POINT old{};
    ::OffsetViewportOrgEx(item.hDC, -origin.x, -origin.y, &old);
    EraseBackground(item.hDC);
    ::SetViewportOrgEx(item.hDC, old.x, old.y, nullptr);
    const auto* tables = Tables();
    TsSkinManager* mgr = Manager();
    if (!tables || !mgr) return;
    std::wstring text(
        static_cast<std::size_t>(std::clamp(::GetWindowTextLengthW(child), 0, 4096)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        std::max(0, ::GetWindowTextW(child, text.data(), static_cast<int>(text.size())))));
    if (text.empty()) return;
    auto font = reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0));
    SelectedObject selected(item.hDC,
                            font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    const int section = mgr->SectionIndex("CHECKBOX");
    const UINT flags = TlcStaticWnd::TextFlags(::GetWindowLongPtrW(child, GWL_STYLE),
                                               ::GetWindowLongPtrW(child, GWL_EXSTYLE));
    CacheTextCanvas canvas(item.hDC);
    sk::WriteSectionText(canvas, AsU16(text), ::IsWindowEnabled(child) != FALSE, *tables, false,
                         section >= 0 ? section : section_index_, flags,
                         {r.left, r.top, r.right, r.bottom});
  } catch (...) {
    // Painting never raises.
  }
}

void TlcDialogWnd::WndProc(Message& m) {
  if (m.Msg == skin::SM_LUMOCMD) {
    const WORD cmd = HIWORD(m.WParam);
    TsSkinManager* mgr = Manager();
    const bool fromOurs = mgr && m.LParam == mgr->Id();
    if (cmd == skin::cmdRemoveSkin && fromOurs) {
      // Hooks of a foreign window are not reached by the skin's broadcast: the dialog gives
      // its children back itself.
      border_.reset();
      input_.ClearHot();
      DropRegion();
      provider_.RemoveHooks();
      RepaintNow();
      m.Result = 0;
      return;
    }
    TlcScrollWnd::WndProc(m);
    if (cmd == skin::cmdNewSkin && fromOurs) {
      provider_.HookChildren();
      PaintFrameNow();
    } else if (cmd == skin::cmdRefresh && fromOurs) {
      SyncBorder();
      InvalidateFrame();
      PaintFrameNow();
    }
    return;
  }
  if (input_.Handle(m)) return;
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (::IsWindowEnabled(hwnd_)) {
        if (TsSkinManager* mgr = Manager()) mgr->SetHotControl(nullptr);
      }
      CallPrevious(m);
      return;
    case WM_NCACTIVATE: {
      const bool visible = ::IsWindowVisible(hwnd_) != FALSE;
      if (visible) CallPrevious(WM_SETREDRAW, FALSE, 0);
      // lParam -1 keeps the system from painting its own frame.
      Message plain{m.Msg, m.WParam, static_cast<LPARAM>(-1)};
      CallPrevious(plain);
      m.Result = plain.Result;
      const bool active = m.WParam != 0;
      if (active != active_) InvalidateFrame();
      active_ = active;
      if (visible) CallPrevious(WM_SETREDRAW, TRUE, 0);
      if (!active && input_.Tracker().Current() != 0) input_.ClearHot();
      PaintFrameNow();
      return;
    }
    case WM_NCPAINT:
      if (::IsWindowVisible(hwnd_)) {
        ReadText();
        // The companion is shown with the frame when it is hidden.
        SyncBorder();
        if (border_ && !border_->Visible()) border_stale_ = true;
        PaintFrameNow();
      }
      m.Result = 1;
      return;
    case WM_CTLCOLORSTATIC: {
      // A read-only or disabled edit in dialog mode shows the dialog's colour, not the system's.
      auto* edit =
          dynamic_cast<TlcEditWnd*>(TlcMainWnd::FromWindow(reinterpret_cast<HWND>(m.LParam)));
      const TColor color = FormColor();
      if (!edit || !edit->DialogMode() || color == graphics::clNone || !m.WParam) break;
      CallPrevious(m);
      ::SetBkColor(reinterpret_cast<HDC>(m.WParam), static_cast<COLORREF>(color & 0xFFFFFF));
      m.Result = reinterpret_cast<LRESULT>(FormBrush(color));
      return;
    }
    case WM_CTLCOLORDLG: {
      const TColor color = FormColor();
      if (color == graphics::clNone) break;
      m.Result = reinterpret_cast<LRESULT>(FormBrush(color));
      return;
    }
    case WM_ERASEBKGND:
      if (!walked_) {
        walked_ = true;
        provider_.HookChildren();
      }
      if (m.WParam) EraseBackground(reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      if (::BeginPaint(hwnd_, &ps)) ::EndPaint(hwnd_, &ps);
      m.Result = 0;
      return;
    }
    case WM_SHOWWINDOW:
      CallPrevious(m);
      if (m.WParam) {
        provider_.HookChildren();
        // Its own showing (not its owner's restore): through the show animation once the
        // window is on the screen.
        show_pending_ = m.LParam == 0 && !::IsWindowVisible(hwnd_);
      }
      return;
    case WM_WINDOWPOSCHANGED: {
      TlcScrollWnd::WndProc(m);
      if (border_) border_->Follow();
      const auto* wp = reinterpret_cast<const WINDOWPOS*>(m.LParam);
      if (show_pending_ && wp && (wp->flags & SWP_SHOWWINDOW)) {
        show_pending_ = false;
        AnimateShowing();
      }
      return;
    }
    case WM_COMMAND:
      // The picture is taken while the dialog still shows; the dialog then goes as usual.
      if (LOWORD(m.WParam) == IDCANCEL || LOWORD(m.WParam) == IDYES) StartHideAnimation();
      CallPrevious(m);
      return;
    case WM_USER + 1:
    case WM_USER + 302:
      CallPrevious(m);
      provider_.HookChildren();
      return;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
      if (!item || item->CtlType != ODT_STATIC) break;
      PaintOwnerDrawnStatic(*item);
      // Its owner still draws what it draws over the skinned background.
      CallPrevious(m);
      m.Result = TRUE;
      return;
    }
    case WM_SETTEXT:
    case WM_SETICON:
      // The system paints its own caption on these; ours goes over it at once.
      CallPrevious(m);
      ReadText();
      InvalidateFrame();
      PaintFrameNow();
      return;
    case WM_SIZE:
      InvalidateFrame();
      stale_ = true;
      CallPrevious(m);
      return;
    case WM_SYSCOMMAND: {
      CallPrevious(m);
      const WPARAM command = m.WParam & 0xFFF0;
      if ((m.WParam & 0xFFFF) == SC_MOVE + 2) {
        InvalidateFrame();
        ::UpdateWindow(hwnd_);
        PaintFrameNow();
      } else if (command == SC_MAXIMIZE || command == SC_RESTORE) {
        input_.Reset();
        InvalidateFrame();
        PaintFrameNow();
      }
      return;
    }
    default:
      break;
  }
  TlcScrollWnd::WndProc(m);
}

// ---------------------------------------------------------------- children

std::unique_ptr<TlcMainWnd> MakeDialogChildHook(sk::DialogHookKind kind, HWND child,
                                                TsSkinManager* manager, std::string section) {
  using K = sk::DialogHookKind;
  switch (kind) {
    case K::button:
    case K::checkBox:
    case K::groupBox: {
      // Buttons go by their whole type: owner-drawn, split and command-link buttons and the
      // push-like check boxes keep the system's face (or their owner's).
      const HookKind button = ButtonHookKindOf(child);
      if (button == HookKind::none) return nullptr;
      return MakeHook(button, child, manager, button == HookKind::button ? section : "");
    }
    // The edit-like controls of a system dialog run in dialog mode (see TlcEditWnd); a drop-down
    // list met on its own is hooked as a plain list.
    case K::edit:
      return MakeHook(HookKind::edit, child, manager, section,
                      _stricmp(ClassNameOf(child).c_str(), "combolbox") != 0);
    case K::listView:
      return MakeHook(HookKind::listView, child, manager, section, true);
    case K::treeView:
      return MakeHook(HookKind::treeView, child, manager, section, true);
    case K::comboBox:
      return MakeHook(HookKind::comboBox, child, manager, section);
    case K::staticText:
      return std::make_unique<TlcStaticWnd>(child, manager, std::move(section));
    case K::icon:
      return std::make_unique<TlcIconWnd>(child, manager, std::move(section));
    case K::edge:
      return MakeHook(HookKind::edge, child, manager, section);
    case K::transPanel:
      return MakeHook(HookKind::transPanel, child, manager, section);
    case K::panel:
      return MakeHook(HookKind::panel, child, manager, section);
    case K::silentPanel:
      return MakeHook(HookKind::silentPanel, child, manager, section);
    case K::sizer:
      return MakeHook(HookKind::sizer, child, manager, section);
    case K::tabControl:
      return MakeHook(HookKind::tabControl, child, manager, section);
    case K::spin:
      return MakeHook(HookKind::spin, child, manager, section);
    case K::trackBar:
      return MakeHook(HookKind::trackBar, child, manager, section);
    case K::link:
      return MakeHook(HookKind::link, child, manager, section);
    case K::toolBar:
      return MakeHook(HookKind::toolBar, child, manager, section);
    default:
      return nullptr;
  }
}

TlcProvider::TlcProvider(HWND dialog, TsSkinManager* manager) : dialog_(dialog), manager_(manager) {
  left_bar_ = (::GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
}

TlcProvider::~TlcProvider() { RemoveHooks(); }

bool TlcProvider::Attach() {
  if (hook_ && hook_->WindowDestroyed()) hook_.reset();
  if (!hook_) {
    hook_ = std::make_unique<TlcDialogWnd>(dialog_, manager_, *this);
    if (!hook_->InstallScroll()) {
      hook_.reset();
      return false;
    }
  }
  HookChildren();
  SendLumo(dialog_, skin::cmdNewSkin, 0, manager_ ? manager_->Id() : 0);
  return true;
}

void TlcProvider::HookChild(HWND child) {
  if (!(::GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD)) return;
  if (SendLumo(child, skin::cmdIsSkinned) != 0) return;
  const auto style = static_cast<std::uint32_t>(::GetWindowLongPtrW(child, GWL_STYLE));
  const auto ex = static_cast<std::uint32_t>(::GetWindowLongPtrW(child, GWL_EXSTYLE));
  const sk::DialogChildHook which =
      sk::ClassifyDialogChild(ClassNameOf(child), style, ex, (style & WS_VISIBLE) != 0);
  auto hook = MakeDialogChildHook(which.Kind, child, manager_, std::string(which.Section));
  if (!hook || (!hook->Installed() && !hook->Install())) return;
  children_.push_back(std::move(hook));
}

void TlcProvider::HookChildren() {
  if (!hook_ || !hook_->Installed() || !::IsWindow(dialog_)) return;
  std::vector<HWND> all;
  CollectDescendants(dialog_, all);
  for (HWND child : all) HookChild(child);
}

void TlcProvider::RemoveHooks() noexcept {
  for (auto& c : children_) c->Remove();
  if (hook_) {
    hook_->DropBorder();
    hook_->Remove();
  }
}

bool TlcProvider::Finished() const noexcept {
  return !hook_ || !hook_->Installed() || !::IsWindow(dialog_);
}

// ---------------------------------------------------------------- the providers' list

namespace skin {

namespace {

std::vector<std::unique_ptr<TlcProvider>>& Providers() {
  static std::vector<std::unique_ptr<TlcProvider>> list;
  return list;
}

UINT_PTR sweep_timer = 0;

// Frees finished providers when no hook message is on the stack; else tries again later.
void CALLBACK Sweep(HWND, UINT, UINT_PTR id, DWORD) noexcept {
  if (id == sweep_timer) {
    ::KillTimer(nullptr, sweep_timer);
    sweep_timer = 0;
  }
  if (TlcMainWnd::MessageDepth() != 0) {
    sweep_timer = ::SetTimer(nullptr, 0, 10, &Sweep);
    return;
  }
  std::erase_if(Providers(), [](const auto& p) { return p->Finished(); });
}

void ScheduleSweep() noexcept {
  if (!sweep_timer) sweep_timer = ::SetTimer(nullptr, 0, 0, &Sweep);
}

void DialogDestroyed(HWND hwnd) {
  for (auto& p : Providers()) {
    if (p->Dialog() == hwnd) {
      p->RemoveHooks();
      ScheduleSweep();
    }
  }
}

bool HasToolBarDescendant(HWND dialog) {
  std::vector<HWND> all;
  CollectDescendants(dialog, all);
  return std::any_of(all.begin(), all.end(), [](HWND h) {
    return sk::ClassifyDialogChild(ClassNameOf(h), 0, 0, true).Kind == sk::DialogHookKind::toolBar;
  });
}

}  // namespace

bool AttachDialog(HWND dialog) {
  TsSkinManager* manager = TsSkinManager::Default();
  if (!manager || !manager->SkinActive() || !::IsWindow(dialog)) return false;
  if (DialogProviderOf(dialog)) return false;
  if (TlcMainWnd::MessageDepth() == 0) {
    std::erase_if(Providers(), [](const auto& p) { return p->Finished(); });
  }
  int visible = 0;
  for (const auto& p : Providers()) {
    if (!p->Finished() && ::IsWindowVisible(p->Dialog())) ++visible;
  }
  const bool rules = (manager->Core().SkinningRules & sk::srStdDialogs) != 0;
  if (!sk::SkinsNewDialog(rules, visible, visible > 1 && HasToolBarDescendant(dialog))) {
    return false;
  }
  auto provider = std::make_unique<TlcProvider>(dialog, manager);
  if (!provider->Attach()) return false;
  Providers().push_back(std::move(provider));
  return true;
}

TlcProvider* DialogProviderOf(HWND dialog) noexcept {
  for (const auto& p : Providers()) {
    if (p->Dialog() == dialog && !p->Finished()) return p.get();
  }
  return nullptr;
}

void RemoveDialogSkins(LPARAM managerId) noexcept {
  std::vector<HWND> dialogs;
  for (const auto& p : Providers()) {
    if (!p->Finished()) dialogs.push_back(p->Dialog());
  }
  for (HWND d : dialogs) SendLumo(d, cmdRemoveSkin, 0, managerId);
  if (!dialogs.empty()) ScheduleSweep();
}

std::size_t DialogProviderCount() noexcept { return Providers().size(); }

void ReleaseDialogProviders() noexcept {
  if (sweep_timer) ::KillTimer(nullptr, sweep_timer);
  sweep_timer = 0;
  Providers().clear();
}

void RegisterDialogSkinning() {
  PlugIns().attachDialog = [](HWND dialog) { return AttachDialog(dialog); };
  PlugIns().windowDestroyed = [](HWND hwnd) { DialogDestroyed(hwnd); };
}

}  // namespace skin

}  // namespace sapala::win
