#include "win/skin/caption_input.h"

#include <algorithm>

#include "core/graphics/pixels.h"
#include "core/skin/caption_fade.h"
#include "core/skin/frame_hit_test.h"
#include "core/skin/skin_manager.h"
#include "win/framework/handles.h"
#include "win/skin/glow.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace sk = sapala::skin;
using graphics::Rect;

namespace {

POINT PointOf(LPARAM lp) {
  return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

// The glow value and margin of a caption button by its hit code; 0 for buttons without glow.
std::pair<int, int> GlowOf(const sk::TsSkinData& d, int code) {
  switch (code) {
    case sk::kHitClose:
      return {d.CloseGlow, d.CloseGlowMargin};
    case sk::kHitMaxButton:
      return {d.MaxGlow, d.MaxGlowMargin};
    case sk::kHitMinButton:
      return {d.MinGlow, d.MinGlowMargin};
    default:
      return {0, 0};
  }
}

}  // namespace

UINT CaptionSystemCommand(sk::CaptionAction action) noexcept {
  switch (action) {
    case sk::CaptionAction::Minimize:
      return SC_MINIMIZE;
    case sk::CaptionAction::Restore:
      return SC_RESTORE;
    case sk::CaptionAction::Maximize:
      return SC_MAXIMIZE;
    case sk::CaptionAction::Close:
      return SC_CLOSE;
    case sk::CaptionAction::ContextHelp:
      return SC_CONTEXTHELP;
    default:
      return 0;
  }
}

void CaptionInputHost::PostCaptionCommand(UINT command) const noexcept {
  if (command) ::PostMessageW(CaptionWindow(), WM_SYSCOMMAND, command, 0);
}

CaptionInput::~CaptionInput() {
  StopFades();
  HideGlow();
}

POINT CaptionInput::WindowPoint(POINT screen) const {
  RECT wr{};
  ::GetWindowRect(host_.CaptionWindow(), &wr);
  return POINT{screen.x - wr.left, screen.y - wr.top};
}

bool CaptionInput::Handle(Message& m) {
  HWND hwnd = host_.CaptionWindow();
  auto clientToScreen = [hwnd](LPARAM lp) {
    POINT p = PointOf(lp);
    ::ClientToScreen(hwnd, &p);
    return p;
  };
  switch (m.Msg) {
    case WM_TIMER:
      if (m.WParam != kCaptionFadeTimer) return false;
      Tick();
      m.Result = 0;
      return true;
    case WM_NCHITTEST: {
      if (!host_.CaptionShown()) return false;
      if (host_.CaptionExtHitTest(m)) return true;
      const int code = host_.CaptionHitTest(WindowPoint(PointOf(m.LParam)));
      if (sk::HitGoesToDefault(code)) return false;
      m.Result = code;
      return true;
    }
    case WM_NCMOUSEMOVE: {
      const POINT screen = PointOf(m.LParam);
      const int code = host_.CaptionHitTest(WindowPoint(screen));
      if (sk::IsCaptionButtonHit(code)) {
        TrackLeave();
        Apply(tracker_.Hover(code), screen);
        m.Result = 0;
        return true;
      }
      if (tracker_.Current() != 0) Apply(tracker_.Hover(code), screen);
      return false;
    }
    case WM_MOUSEMOVE:
      // A pressed caption button holds the capture: it follows the pointer in and out.
      if (tracker_.PressPending()) {
        const POINT screen = clientToScreen(m.LParam);
        Apply(tracker_.Hover(host_.CaptionHitTest(WindowPoint(screen))), screen);
      }
      return false;
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
      if (m.Msg == WM_NCMOUSELEAVE) tracking_leave_ = false;
      if (tracker_.Current() != 0) ClearHot();
      return false;
    case WM_CAPTURECHANGED:
      if (tracker_.PressPending() && reinterpret_cast<HWND>(m.LParam) != hwnd) ClearHot();
      return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      const POINT screen = PointOf(m.LParam);
      const int code = host_.CaptionHitTest(WindowPoint(screen));
      if (sk::IsCaptionButtonHit(code)) {
        Apply(tracker_.Press(code, host_.CaptionRules()), screen);
        if (tracker_.PressPending()) ::SetCapture(hwnd);
        m.Result = 0;
        return true;
      }
      if (m.Msg == WM_NCLBUTTONDBLCLK) return host_.CaptionDoubleClick(code, screen, m);
      if (tracker_.Current() != 0) ClearHot();
      return host_.CaptionFramePress(code, screen, m);
    }
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: {
      if (!tracker_.PressPending()) return false;
      const POINT screen = m.Msg == WM_LBUTTONUP ? clientToScreen(m.LParam) : PointOf(m.LParam);
      const sk::CaptionStep step =
          tracker_.Release(host_.CaptionHitTest(WindowPoint(screen)), host_.CaptionRules());
      if (::GetCapture() == hwnd) ::ReleaseCapture();
      Apply(step, screen);
      m.Result = 0;
      return true;
    }
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
      if (m.WParam == HTCAPTION || m.WParam == HTSYSMENU) {
        m.Result = 0;
        return true;
      }
      return false;
    case WM_NCRBUTTONUP:
      if (m.WParam == HTCAPTION || m.WParam == HTSYSMENU) {
        ClearHot();
        host_.OpenCaptionMenu(PointOf(m.LParam));
        m.Result = 0;
        return true;
      }
      return false;
    case WM_CONTEXTMENU:
      // The system's answer to a right click in the frame: ours opened already.
      if (reinterpret_cast<HWND>(m.WParam) == hwnd) {
        const int code = host_.CaptionHitTest(WindowPoint(PointOf(m.LParam)));
        if (code == sk::kHitCaption || code == sk::kHitSysMenu) return true;
      }
      return false;
    default:
      return false;
  }
}

void CaptionInput::ClearHot() {
  const bool wasPending = tracker_.PressPending();
  Apply(tracker_.Leave(), POINT{});
  HWND hwnd = host_.CaptionWindow();
  if (wasPending && hwnd && ::GetCapture() == hwnd) ::ReleaseCapture();
}

void CaptionInput::Reset() noexcept {
  StopFades();
  HideGlow();
  tracker_.Leave();
  shown_.clear();
  tracking_leave_ = false;
}

void CaptionInput::Apply(const sk::CaptionStep& step, POINT screen) {
  for (const sk::ButtonRepaint& r : step.Repaints) Repaint(r.HitCode, r.State);
  if (step.Action == sk::CaptionAction::UserDown || step.Action == sk::CaptionAction::UserUp) {
    host_.RunUserButton(step.UserIndex, step.Action == sk::CaptionAction::UserDown, screen);
  } else if (const UINT command = CaptionSystemCommand(step.Action)) {
    host_.RunCaptionCommand(command);
  }
}

void CaptionInput::TrackLeave() {
  if (tracking_leave_) return;
  TRACKMOUSEEVENT t{sizeof t, TME_LEAVE | TME_NONCLIENT, host_.CaptionWindow(), 0};
  tracking_leave_ = ::TrackMouseEvent(&t) != FALSE;
}

bool CaptionInput::Animates() const {
  TsSkinManager* m = host_.CaptionManager();
  HWND hwnd = host_.CaptionWindow();
  return m && m->Core().AnimEffects.Buttons.Events != 0 && !::IsIconic(hwnd);
}

void CaptionInput::Repaint(int code, int state) {
  if (state != 1 && code == glow_code_) HideGlow();
  auto shown =
      std::find_if(shown_.begin(), shown_.end(), [code](const auto& s) { return s.first == code; });
  const int old = shown != shown_.end() ? shown->second : 0;
  if (shown != shown_.end()) {
    shown->second = state;
  } else {
    shown_.emplace_back(code, state);
  }
  const sk::CaptionButtonInfo* b = host_.CaptionButton(code);
  TsSkinManager* m = host_.CaptionManager();
  if (!b || !m) return;
  graphics::Bitmap* image = host_.CaptionImage();
  HWND hwnd = host_.CaptionWindow();
  if (!image || !::IsWindowVisible(hwnd)) return;
  const Rect r = b->Rect.intersect(image->Bounds());
  if (r.empty()) return;
  std::erase_if(fades_, [code](const Fade& f) { return f.HitCode == code; });
  const int steps =
      Animates() ? sk::CaptionFadeSteps(old, state, m->Core().AnimEffects.Buttons.Events) : 1;
  if (steps <= 1) {
    host_.PaintCaptionButton(*b, state);
    CopyToWindow(r);
  } else {
    // The old picture is what shows now (a fade under way included); the new one is painted
    // into the image and taken back out, and the first step goes in its place.
    Fade f;
    f.HitCode = code;
    f.Step = 1;
    f.Steps = steps;
    f.Rect = r;
    f.ImageWidth = image->Width();
    f.ImageHeight = image->Height();
    f.From = graphics::NewBitmap32(r.width(), r.height());
    graphics::CopyBitmapRect(f.From, {0, 0}, *image, r);
    host_.PaintCaptionButton(*b, state);
    f.To = graphics::NewBitmap32(r.width(), r.height());
    graphics::CopyBitmapRect(f.To, {0, 0}, *image, r);
    if (!timer_) {
      timer_ = ::SetTimer(hwnd, kCaptionFadeTimer, sk::kCaptionFadeIntervalMs, nullptr) != 0;
    }
    if (timer_) {
      sk::DrawCaptionFadeStep(f.From, f.To, 1, steps, *image, r.topLeft());
      fades_.push_back(std::move(f));
    }
    CopyToWindow(r);
  }
  if (state == 1 && host_.CaptionGlows()) ShowGlow(*b);
}

void CaptionInput::ShowGlow(const sk::CaptionButtonInfo& b) {
  TsSkinManager* m = host_.CaptionManager();
  HWND hwnd = host_.CaptionWindow();
  const auto [glow, margin] = GlowOf(m->Core().SkinData(), b.HitCode);
  const sk::TsMaskData* img = m->Core().Tables.Image(b.ImageIndex);
  if (glow <= 0 || !img || !m->Core().Effects.AllowGlowing()) return;
  HideGlow();
  RECT wr{};
  ::GetWindowRect(hwnd, &wr);
  const POINT origin = host_.CaptionImageOrigin();
  ::OffsetRect(&wr, -origin.x, -origin.y);
  const RECT screen{wr.left + b.Rect.left, wr.top + b.Rect.top, wr.left + b.Rect.right,
                    wr.top + b.Rect.bottom};
  const RECT visible{0, 0, b.Rect.width(), b.Rect.height()};
  // The glow image is named after the button's mask.
  glow_ = skin::ShowGlow(screen, visible, "GLOBALINFO", m, hwnd, 255, margin, img->Key + "GLOW");
  glow_code_ = glow_ >= 0 ? b.HitCode : 0;
}

void CaptionInput::HideGlow() noexcept {
  if (glow_ >= 0) skin::HideGlow(glow_);
  glow_ = -1;
  glow_code_ = 0;
}

void CaptionInput::CopyToWindow(const Rect& r) {
  HWND hwnd = host_.CaptionWindow();
  HBITMAP section = host_.CaptionImageSection();
  if (!section || r.empty()) return;
  WindowDC wdc(hwnd, true);
  MemoryDC dc(::CreateCompatibleDC(wdc.get()));
  SelectedObject selected(dc.get(), section);
  const POINT origin = host_.CaptionImageOrigin();
  ::BitBlt(wdc.get(), r.left - origin.x, r.top - origin.y, r.width(), r.height(), dc.get(), r.left,
           r.top, SRCCOPY);
}

void CaptionInput::Tick() {
  // Taking the image may compose it anew, which stops the fades (the image then shows every
  // button in its state).
  graphics::Bitmap* image = host_.CaptionImage();
  if (!image || fades_.empty() || !::IsWindowVisible(host_.CaptionWindow())) {
    StopFades();
    return;
  }
  for (Fade& f : fades_) {
    if (image->Width() != f.ImageWidth || image->Height() != f.ImageHeight) {
      f.Step = f.Steps;
      continue;
    }
    ++f.Step;
    sk::DrawCaptionFadeStep(f.From, f.To, f.Step, f.Steps, *image, f.Rect.topLeft());
    CopyToWindow(f.Rect);
  }
  std::erase_if(fades_, [](const Fade& f) { return f.Step >= f.Steps; });
  if (fades_.empty()) StopFades();
}

void CaptionInput::StopFades() noexcept {
  if (timer_) {
    HWND hwnd = host_.CaptionWindow();
    if (hwnd && ::IsWindow(hwnd)) ::KillTimer(hwnd, kCaptionFadeTimer);
  }
  timer_ = false;
  fades_.clear();
}

}  // namespace sapala::win
