// The hooks of the standard controls that pick a value from a range:
// - TlcSpinWnd: an up-down control. Each arrow is painted with the hook's section
//   ("SPEEDBUTTON_SMALL" unless set; the scroll arrows of a tab control use "UPDOWNBTN") in its
//   own state (2 pressed, 1 under the pointer, 0 else) with an arrow glyph in the section's font
//   colour.
// - TlcTrackWnd: a track bar: its section ("TRACKBAR" unless set) as the background, the channel
//   with "SLIDERCHANNEL" (a sunken edge when the skin has none), the ticks (the section's
//   "TICKHORZ"/"TICKVERT" image, else short lines in its font colour) and the thumb (the
//   section's "SLIDERMASK" image, "SLIDERVMASK" for a vertical bar, in the frame of its state;
//   a raised button face when the skin has none).
// Values, keys, clicks, timers and notifications stay with the controls.
#pragma once

#include <vector>

#include "core/skin/control_layout.h"
#include "win/skin/painted_hook.h"

namespace sapala::win {

class TlcSpinWnd : public TlcPaintedWnd {
 public:
  using TlcPaintedWnd::TlcPaintedWnd;

  // The arrow (1 up or left, 2 down or right, 0 none) under the pointer and the one pressed.
  int HotArrow() const noexcept { return hot_; }
  int PressedArrow() const noexcept { return pressed_; }
  // The states the arrows were last painted in.
  int FirstState() const noexcept { return states_[0]; }
  int SecondState() const noexcept { return states_[1]; }

 protected:
  std::string DefaultSection() const override { return "SPEEDBUTTON_SMALL"; }
  void PaintPicture(Canvas& c) override;
  bool Changes(const Message& m) override;

 private:
  sapala::skin::SpinArrows Arrows() const noexcept;

  int hot_ = 0;
  int pressed_ = 0;
  int states_[2] = {0, 0};
};

class TlcTrackWnd : public TlcPaintedWnd {
 public:
  using TlcPaintedWnd::TlcPaintedWnd;

  // What the last paint drew (client coordinates): the thumb, and the pixel along the axis of
  // each tick.
  RECT ThumbRect() const noexcept { return thumb_; }
  const std::vector<int>& TickPixels() const noexcept { return ticks_; }
  int ThumbState() const noexcept { return thumb_state_; }

 protected:
  std::string DefaultSection() const override { return "TRACKBAR"; }
  void PaintPicture(Canvas& c) override;
  bool Changes(const Message& m) override;
  void WndProc(Message& m) override;

 private:
  bool Vertical() const noexcept;
  RECT ControlThumb() noexcept;

  RECT thumb_{};
  std::vector<int> ticks_;
  int thumb_state_ = 0;
  int frequency_ = 1;  // the last TBM_SETTICFREQ
  bool thumb_hot_ = false;
};

}  // namespace sapala::win
