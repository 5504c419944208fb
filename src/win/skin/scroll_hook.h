// The scroll engine: TlcScrollWnd skins the standard scroll bars of any window (an edit, a list
// box, a grid), TlcScrollBar keeps the state of each of its two bars.
//
// The hooked window keeps its scroll information in the system (SetScrollInfo, GetScrollInfo
// and its own keyboard handling work unchanged). The engine takes the bars' space in the
// non-client area itself — the style's scroll bits are cleared while the old procedure sizes
// the frame, so the system reserves nothing — paints the bars from the skin's scroll sections,
// and runs the mouse: arrows and page areas scroll at once, again after 300 ms and then every
// 55 ms while the pointer stays on the pressed element; the thumb is dragged with
// SB_THUMBTRACK and dropped with SB_THUMBPOSITION. After every message the old procedure
// handled, the bars are repainted if the window's scroll information changed.
//
// Only one bar can be pressed at a time in the process: the press is kept in one record, valid
// while the mouse is captured.
#pragma once

#include <array>

#include "core/skin/scroll_geometry.h"
#include "win/skin/hook_base.h"

namespace sapala::win {

class TlcScrollWnd;

class TlcScrollBar {
 public:
  enum Flag : unsigned { kFirstArrowOff = 1, kSecondArrowOff = 2, kInStyle = 8 };
  int Kind = 0;  // 0 horizontal, 1 vertical
  unsigned Flags = 0;
  SCROLLINFO Info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  int ArrowLength = -1;  // −1: by the skin and the system metrics
  int Thickness = -1;    // −1: the system's scroll-bar size
  int MinThumb = sapala::skin::kMinThumbLength;
  bool Shown = false;  // space is reserved for it
  TlcScrollWnd* Owner = nullptr;

  sapala::skin::ScrollRange Range() const noexcept {
    return {Info.nMin, Info.nMax, Info.nPage, Info.nPos};
  }
};

class TlcScrollWnd : public TlcMainWnd {
 public:
  // `subclassMode`: the frame is recalculated at once (the window is already shown).
  TlcScrollWnd(HWND hwnd, TsSkinManager* manager, std::string section, bool subclassMode);
  ~TlcScrollWnd() override;

  bool InstallScroll();  // Install, then the bars' state and the frame

  const TlcScrollBar& Bar(int kind) const noexcept { return bars_[static_cast<std::size_t>(kind)]; }
  // For settings made before InstallScroll (thickness, arrow length, minimum thumb).
  TlcScrollBar& BarSettings(int kind) noexcept { return bars_[static_cast<std::size_t>(kind)]; }
  // The bar's rectangle in window coordinates (empty when not shown).
  RECT BarRect(int kind) const noexcept;
  // The bar's layout along its axis (window coordinates).
  sapala::skin::ScrollBarLayout Layout(int kind) const noexcept;
  // The picture the bar was last painted with (empty before the first paint).
  const graphics::Bitmap* BarPicture(int kind) noexcept;
  // The corner square's last picture when it showed the grip (else nullptr).
  const graphics::Bitmap* CornerPicture() noexcept {
    return corner_.Width() > 0 ? &corner_.Pixels() : nullptr;
  }
  // Re-reads both bars' scroll information; true when it changed.
  bool ReadInfo() noexcept;
  // Paints the shown bars (and the corner) into the window now.
  void PaintBars() noexcept;

 protected:
  void WndProc(Message& m) override;
  // Starts (ms > 0) or stops (ms == 0) one of the engine's timers on the window.
  virtual void SetEngineTimer(UINT_PTR id, UINT ms) noexcept;

 private:
  int Thickness(int kind) const noexcept;
  int Arrow(int kind) const noexcept;
  bool BarEnabled(int kind) const noexcept;
  // The bar under a window point, −1 for none.
  int BarAt(POINT windowPoint) const noexcept;
  POINT CursorInWindow() const noexcept;
  void CalcSize(Message& m) noexcept;
  void HitTest(Message& m) noexcept;
  void Press(int kind, POINT windowPoint) noexcept;
  void Repeat(UINT_PTR id) noexcept;
  void Track(POINT windowPoint) noexcept;
  void Release() noexcept;
  void SendScroll(int kind, int code, int pos) noexcept;
  void HoverTick() noexcept;
  void PaintBar(int kind, HDC dc, const sapala::skin::ScrollBarLayout& layout) noexcept;
  void PaintCorner(HDC dc) noexcept;
  // The window's bottom-right corner (bottom-left with a left bar) is its top-level window's
  // client corner: the corner square then shows the size grip.
  bool CornerMeetsTopClient() const noexcept;

  std::array<TlcScrollBar, 2> bars_;
  sapala::skin::ScrollSpace space_;
  bool left_bar_ = false;
  bool subclass_mode_ = false;
  bool style_guard_ = false;
  std::array<DibSurface, 2> pictures_;
  DibSurface corner_;
  int hot_bar_ = -1;
  int hot_element_ = sapala::skin::kScrollNone;
};

}  // namespace sapala::win
