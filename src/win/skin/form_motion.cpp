#include "win/skin/form_motion.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "core/graphics/pixels.h"
#include "win/framework/dib.h"
#include "win/framework/handles.h"
#include "win/framework/library.h"
#include "win/skin/glow.h"
#include "win/skin/platform.h"
#include "win/skin/skin_manager.h"
#include "win/skin/taskbar_button.h"
#include "win/skin/ui_thread.h"

namespace sapala::win::skin {

namespace {

using sapala::skin::BlendOnMovingPlan;
using sapala::skin::MinimizeFrame;

LayeredFrameSink& FrameSink() {
  static LayeredFrameSink sink;
  return sink;
}
MoveTickSink& TickSink() {
  static MoveTickSink sink;
  return sink;
}

graphics::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const graphics::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

void ApplyOpacity(HWND window, int opacity) noexcept {
  if (const auto set = LayeredApi().SetLayeredWindowAttributes) {
    set(window, 0, static_cast<BYTE>(std::clamp(opacity, 0, 255)), LWA_ALPHA);
  }
}

// A window made layered at some opacity for a while. The end gives the window back as found:
// a window that was not layered loses the style; one that was (a form with AlphaBlend) gets
// `ownOpacity` again.
class LayeredOpacity {
 public:
  LayeredOpacity(HWND window, int opacity, int ownOpacity) noexcept
      : window_(window),
        ownOpacity_(ownOpacity),
        wasLayered_((::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0) {
    if (!wasLayered_) {
      ::SetWindowLongPtrW(window, GWL_EXSTYLE,
                          ::GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    }
    ApplyOpacity(window, opacity);
  }
  ~LayeredOpacity() {
    if (!::IsWindow(window_)) return;
    if (wasLayered_) {
      ApplyOpacity(window_, ownOpacity_);
    } else {
      ::SetWindowLongPtrW(window_, GWL_EXSTYLE,
                          ::GetWindowLongPtrW(window_, GWL_EXSTYLE) & ~LONG_PTR{WS_EX_LAYERED});
    }
  }
  LayeredOpacity(const LayeredOpacity&) = delete;
  LayeredOpacity& operator=(const LayeredOpacity&) = delete;

 private:
  HWND window_;
  int ownOpacity_;
  bool wasLayered_;
};

// The system's own minimize and restore animation switched off for the scope.
class SystemMinAnimationOff {
 public:
  SystemMinAnimationOff() noexcept {
    ANIMATIONINFO info{sizeof(ANIMATIONINFO), 0};
    if (::SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0) && info.iMinAnimate) {
      info.iMinAnimate = 0;
      switched_ = ::SystemParametersInfoW(SPI_SETANIMATION, sizeof info, &info, 0) != 0;
    }
  }
  ~SystemMinAnimationOff() {
    if (!switched_) return;
    ANIMATIONINFO info{sizeof(ANIMATIONINFO), 1};
    ::SystemParametersInfoW(SPI_SETANIMATION, sizeof info, &info, 0);
  }
  SystemMinAnimationOff(const SystemMinAnimationOff&) = delete;
  SystemMinAnimationOff& operator=(const SystemMinAnimationOff&) = delete;

 private:
  bool switched_ = false;
};

void RedrawWithFrame(HWND window) noexcept {
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// --- The animation window --------------------------------------------------------------------

constexpr wchar_t kAnimationClass[] = L"TlcMinAnimWindow";

LRESULT CALLBACK AnimationProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

Window MakeAnimationWindow(const RECT& r) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (!::GetClassInfoExW(instance, kAnimationClass, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = AnimationProc;
    wc.hInstance = instance;
    wc.lpszClassName = kAnimationClass;
    if (!::RegisterClassExW(&wc)) return Window();
  }
  return Window(::CreateWindowExW(
      WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST,
      kAnimationClass, L"", WS_POPUP, r.left, r.top, std::max<LONG>(1, r.right - r.left),
      std::max<LONG>(1, r.bottom - r.top), nullptr, nullptr, instance, nullptr));
}

// Shows `picture` stretched into `rect` (screen) at `opacity` in a layered window; an empty
// rectangle hides the window.
void ShowLayeredFrame(HWND window, const graphics::Bitmap& picture, const RECT& rect, int opacity) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0 || picture.Empty()) {
    if (FrameSink()) FrameSink()(window, graphics::Bitmap(), rect, opacity);
    ::ShowWindow(window, SW_HIDE);
    return;
  }
  graphics::Bitmap scaled(w, h, graphics::PixelFormat::pf32bit);
  graphics::StretchBitmapRect(scaled, scaled.Bounds(), picture, picture.Bounds());
  if (FrameSink()) FrameSink()(window, scaled, rect, opacity);
  const auto update = LayeredApi().UpdateLayeredWindow;
  Bitmap section = PremultipliedSection(scaled);
  if (!update || !section) return;
  {
    WindowDC screen(nullptr);
    MemoryDC memory(::CreateCompatibleDC(screen.get()));
    SelectedObject selected(memory.get(), section.get());
    POINT src{0, 0}, dst{rect.left, rect.top};
    SIZE size{w, h};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(opacity, 0, 255)),
                        AC_SRC_ALPHA};
    update(window, screen.get(), &dst, &size, memory.get(), &src, 0, &blend, ULW_ALPHA);
  }
  if (!::IsWindowVisible(window)) ::ShowWindow(window, SW_SHOWNOACTIVATE);
}

void MakeOpaque(graphics::Bitmap& picture) {
  for (int y = 0; y < picture.Height(); ++y) {
    std::uint32_t* row = picture.Row32(y);
    for (int x = 0; x < picture.Width(); ++x) row[x] |= 0xFF000000u;
  }
}

// --- Minimize state --------------------------------------------------------------------------

struct MinimizeState {
  AnimatedForm* form = nullptr;
  HWND window = nullptr;
  graphics::Bitmap picture;
  RECT start{}, target{};
  int ownOpacity = 255;
  bool minimized = false;  // minimized by us: the form waits at opacity 0 for its restore
  bool restoring = false;
  bool running = false;
  std::vector<MinimizeFrame> frames;
  std::size_t next = 0;
  // Released in reverse: the timer stops before the window goes, and the form's own opacity
  // comes back last.
  std::optional<LayeredOpacity> hidden;
  Window animation;
  std::unique_ptr<TlcMinTimer> timer;

  ~MinimizeState() {
    timer.reset();
    animation.reset();
    hidden.reset();
  }

  void Step();
  void Finish();
};

std::vector<std::unique_ptr<MinimizeState>>& States() {
  static std::vector<std::unique_ptr<MinimizeState>> states;
  return states;
}

MinimizeState* StateOf(const AnimatedForm& form) {
  for (auto& s : States()) {
    if (s->form == &form) return s.get();
  }
  return nullptr;
}

void MinimizeState::Step() {
  if (!running) return;
  if (next < frames.size()) {
    const MinimizeFrame& f = frames[next++];
    if (animation) ShowLayeredFrame(animation.get(), picture, ToRECT(f.Rect), f.Opacity);
  }
  if (next >= frames.size()) Finish();
}

void MinimizeState::Finish() {
  running = false;
  if (timer) timer->SetEnabled(false);  // never freed from inside its own tick
  animation.reset();
  if (restoring) {
    restoring = false;
    minimized = false;
    hidden.reset();
    picture = graphics::Bitmap();
    if (::IsWindow(window)) {
      form->InvalidateWindowImage();
      RedrawWithFrame(window);
    }
  }
}

bool Begin(MinimizeState& s) {
  WindowDispatcher* ui = UiThread();
  s.animation = MakeAnimationWindow(s.start);
  if (!s.animation) return false;
  s.next = 0;
  s.running = true;
  if (!ui) {
    // No tick thread: the frames are skipped and the end state shown at once.
    s.next = s.frames.size();
    s.Finish();
    return true;
  }
  if (!s.timer) {
    s.timer = std::make_unique<TlcMinTimer>(*ui, [state = &s] { state->Step(); });
  }
  s.timer->SetEnabled(true);
  return true;
}

// --- Previews --------------------------------------------------------------------------------

const PreviewApi*& PreviewOverride() {
  static const PreviewApi* api = nullptr;
  return api;
}
const PreviewApi& CurrentPreviewApi() {
  return PreviewOverride() ? *PreviewOverride() : SystemPreviewApi();
}

// `picture` scaled to `size` as a premultiplied section.
Bitmap ScaledSection(const graphics::Bitmap& picture, sapala::skin::FitSize size) {
  graphics::Bitmap scaled(size.Width, size.Height, graphics::PixelFormat::pf32bit);
  graphics::StretchBitmapRect(scaled, scaled.Bounds(), picture, picture.Bounds());
  MakeOpaque(scaled);
  return PremultipliedSection(scaled);
}

bool SendThumbnail(HWND window, const graphics::Bitmap& picture, int maxWidth, int maxHeight) {
  const auto fit =
      sapala::skin::FitKeepingAspect(picture.Width(), picture.Height(), maxWidth, maxHeight);
  if (fit.Width == 0) return false;
  Bitmap section = ScaledSection(picture, fit);
  if (!section) return false;
  CurrentPreviewApi().SetIconicThumbnail(window, section.get(), 0);
  return true;
}

}  // namespace

// --- Timers ------------------------------------------------------------------------------------

TlcMoveTimer::TlcMoveTimer(threading::UiDispatcher& ui, HWND window, BlendOnMovingPlan plan)
    : TlcThreadedTimer(ui, nullptr, true), window_(window), plan_(plan), opacity_(plan.Start) {
  SetInterval(sapala::skin::kMoveTimerIntervalMs);
  SetEnabled(plan_.Start != plan_.Target);
}

TlcMoveTimer::~TlcMoveTimer() { StopTimer(); }

void TlcMoveTimer::TimerEvent() {
  opacity_ = sapala::skin::NextBlendOpacity(plan_, opacity_);
  ApplyOpacity(window_, opacity_);
  if (TickSink()) TickSink()(window_, opacity_);
  if (opacity_ == plan_.Target) SetEnabled(false);
}

TlcMinTimer::TlcMinTimer(threading::UiDispatcher& ui, std::function<void()> onTick)
    : TlcThreadedTimer(ui, nullptr, true), onTick_(std::move(onTick)) {
  SetInterval(sapala::skin::kMinTimerIntervalMs);
}

TlcMinTimer::~TlcMinTimer() { StopTimer(); }

void TlcMinTimer::TimerEvent() {
  if (onTick_) onTick_();
}

// --- Blend on moving ---------------------------------------------------------------------------

void MoveWithBlend(AnimatedForm& form, bool allowBlendOnMoving, POINT cursor) {
  HWND formWindow = form.FormWindow();
  if (!formWindow) return;
  HWND window = form.BorderWindow() ? form.BorderWindow() : formWindow;
  const LPARAM at = MAKELPARAM(static_cast<WORD>(cursor.x), static_cast<WORD>(cursor.y));
  if (!LayeredApi().SetLayeredWindowAttributes) {
    ::SendMessageW(formWindow, WM_SYSCOMMAND, SC_MOVE + 2, at);
    return;
  }
  const BlendOnMovingPlan plan = sapala::skin::PlanBlendOnMoving(
      form.FormOpacity(), form.Manager().Core().AnimEffects.BlendOnMoving, allowBlendOnMoving);
  {
    LayeredOpacity layered(window, plan.Start, form.FormOpacity());
    std::optional<TlcMoveTimer> timer;
    if (WindowDispatcher* ui = UiThread()) {
      timer.emplace(*ui, window, plan);
    } else {
      ApplyOpacity(window, plan.Target);
    }
    ::SendMessageW(formWindow, WM_SYSCOMMAND, SC_MOVE + 2, at);
  }  // the timer stops before the opacity is given back
  form.InvalidateWindowImage();
  RedrawWithFrame(formWindow);
}

// --- Minimize and restore ----------------------------------------------------------------------

bool StartMinimizeAnimation(AnimatedForm& form) {
  const auto& setting = form.Manager().Core().AnimEffects.Minimizing;
  HWND window = form.FormWindow();
  if (!setting.Active || !window || !LayeredApi().UpdateLayeredWindow ||
      !LayeredApi().SetLayeredWindowAttributes || ::IsIconic(window) ||
      !::IsWindowVisible(window)) {
    return false;
  }
  graphics::Bitmap picture;
  if (const graphics::Bitmap* image = form.WindowImage(); image && !image->Empty()) {
    picture = image->Clone();
  } else {
    picture = CaptureWindowImage(window);
  }
  if (picture.Empty() || picture.Format() != graphics::PixelFormat::pf32bit) return false;
  MakeOpaque(picture);

  MinimizeState* s = StateOf(form);
  if (!s) {
    States().push_back(std::make_unique<MinimizeState>());
    s = States().back().get();
    s->form = &form;
  }
  if (s->running) {
    s->restoring = false;
    s->running = false;
    if (s->timer) s->timer->SetEnabled(false);
    s->animation.reset();
  }
  s->window = window;
  s->picture = std::move(picture);
  ::GetWindowRect(window, &s->start);
  s->target = MinimizeTarget(::GetAncestor(window, GA_ROOTOWNER), s->start);
  if (!s->hidden) {
    s->ownOpacity = form.FormOpacity();
    s->hidden.emplace(window, 0, s->ownOpacity);
  }
  s->minimized = true;
  s->restoring = false;
  s->frames = sapala::skin::MinimizeFrames(ToRect(s->start), ToRect(s->target), s->ownOpacity,
                                           setting.Time);
  if (!Begin(*s)) {
    EndFormMotion(form);
    return false;
  }
  // The picture stands where the window was until the first tick moves it.
  if (s->animation) ShowLayeredFrame(s->animation.get(), s->picture, s->start, s->ownOpacity);
  return true;
}

bool StartRestoreAnimation(AnimatedForm& form) {
  MinimizeState* s = StateOf(form);
  if (!s || !s->minimized || s->restoring) return false;
  if (s->running) {
    s->running = false;
    if (s->timer) s->timer->SetEnabled(false);
    s->animation.reset();
  }
  s->restoring = true;
  s->frames = sapala::skin::RestoreFrames(ToRect(s->start), ToRect(s->target), s->ownOpacity,
                                          form.Manager().Core().AnimEffects.Minimizing.Time);
  if (!LayeredApi().UpdateLayeredWindow || !Begin(*s)) {
    s->running = true;
    s->Finish();
  }
  return true;
}

bool WaitsForRestore(const AnimatedForm& form) noexcept {
  const MinimizeState* s = StateOf(form);
  return s && s->minimized && !s->restoring;
}

bool MotionRunning(const AnimatedForm& form) noexcept {
  const MinimizeState* s = StateOf(form);
  return s && s->running;
}

void EndFormMotion(AnimatedForm& form) noexcept {
  auto& states = States();
  for (auto it = states.begin(); it != states.end(); ++it) {
    if ((*it)->form == &form) {
      std::unique_ptr<MinimizeState> gone = std::move(*it);
      states.erase(it);
      return;  // `gone` stops the timer, frees the window and gives the opacity back
    }
  }
}

void MinimizeWithAnimation(AnimatedForm& form) {
  HWND window = form.FormWindow();
  if (!window) return;
  const bool animated = StartMinimizeAnimation(form);
  std::optional<SystemMinAnimationOff> off;
  if (animated) off.emplace();
  ::ShowWindow(window, SW_MINIMIZE);
}

void RestoreWithAnimation(AnimatedForm& form) {
  HWND window = form.FormWindow();
  if (!window) return;
  const MinimizeState* s = StateOf(form);
  {
    std::optional<SystemMinAnimationOff> off;
    if (s && s->minimized) off.emplace();
    ::ShowWindow(window, SW_RESTORE);
  }
  StartRestoreAnimation(form);
}

// --- Previews ----------------------------------------------------------------------------------

const PreviewApi& SystemPreviewApi() noexcept {
  static const PreviewApi api = [] {
    static const OptionalLibrary dwm(L"dwmapi.dll");
    PreviewApi a;
    a.SetIconicThumbnail = dwm.Find<decltype(a.SetIconicThumbnail)>("DwmSetIconicThumbnail");
    a.SetIconicLivePreviewBitmap =
        dwm.Find<decltype(a.SetIconicLivePreviewBitmap)>("DwmSetIconicLivePreviewBitmap");
    return a;
  }();
  return api;
}

ScopedPreviewApi::ScopedPreviewApi(const PreviewApi& api) noexcept
    : previous_(std::exchange(PreviewOverride(), &api)) {}
ScopedPreviewApi::~ScopedPreviewApi() { PreviewOverride() = previous_; }

bool AnswerPreviewRequest(AnimatedForm& form, UINT msg, WPARAM, LPARAM lParam) {
  HWND window = form.FormWindow();
  if (!window) return false;
  const PreviewApi& api = CurrentPreviewApi();
  if (msg == kSendIconicThumbnail) {
    if (!api.SetIconicThumbnail) return false;
    const int maxWidth = HIWORD(lParam), maxHeight = LOWORD(lParam);
    if (maxWidth == 0 || maxHeight == 0) return false;
    const MinimizeState* s = StateOf(form);
    if (s && s->running && !s->picture.Empty()) {
      return SendThumbnail(window, s->picture, maxWidth, maxHeight);
    }
    const graphics::Bitmap* cache = form.WindowImage();
    if (!cache || cache->Empty() || !SendThumbnail(window, *cache, maxWidth, maxHeight)) {
      return false;
    }
    // The cache holds the client as it was last painted; a fresh picture shows it as it is.
    const graphics::Bitmap fresh = CaptureWindowImage(window);
    if (!fresh.Empty()) SendThumbnail(window, fresh, maxWidth, maxHeight);
    return true;
  }
  if (msg == kSendIconicLivePreview) {
    if (!api.SetIconicLivePreviewBitmap) return false;
    graphics::Bitmap picture = CaptureWindowImage(window);
    if (picture.Empty()) {
      const graphics::Bitmap* cache = form.WindowImage();
      if (!cache || cache->Empty()) return false;
      picture = cache->Clone();
    }
    Bitmap section = ScaledSection(picture, {picture.Width(), picture.Height()});
    if (!section) return false;
    POINT origin{0, 0};
    api.SetIconicLivePreviewBitmap(window, section.get(), &origin, 0);
    return true;
  }
  return false;
}

// --- Pictures ----------------------------------------------------------------------------------

graphics::Bitmap CaptureWindowImage(HWND window) {
  RECT r{};
  if (!window || !::GetWindowRect(window, &r)) return {};
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return {};
  DibSurface surface;
  surface.Resize(w, h);
  if (!::PrintWindow(window, surface.DC(), 0)) {
    WindowDC dc(window, true);
    if (!::BitBlt(surface.DC(), 0, 0, w, h, dc.get(), 0, 0, SRCCOPY)) return {};
  }
  ::GdiFlush();
  graphics::Bitmap out(w, h, graphics::PixelFormat::pf32bit);
  for (int y = 0; y < h; ++y) std::copy_n(surface.Pixels().Row32(y), w, out.Row32(y));
  MakeOpaque(out);
  return out;
}

void SetLayeredFrameSink(LayeredFrameSink sink) { FrameSink() = std::move(sink); }
void SetMoveTickSink(MoveTickSink sink) { TickSink() = std::move(sink); }

}  // namespace sapala::win::skin
