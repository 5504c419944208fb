// Hooks of small standard windows of dialogs:
// - TlcSizerWnd: the size grip of a sizeable dialog (a scroll bar with SBS_SIZEGRIP): what the
//   parent shows, with the skin's grip image (frame 0) in the bottom-right corner. Without a grip
//   image the grip stays the system's.
// - TlcEdgeWnd: a picture static with a static edge: the hook's section ("EDIT" unless set) as
//   its background with the static's icon or bitmap over it, and the section's border over the
//   window's edge.
// - TlcLinkWnd: a link control: what the parent shows, the text in the section's font colour
//   and the links underlined in its hot font colour; the focused link gets a focus rectangle.
//   Clicks and keys stay with the control.
#pragma once

#include <vector>

#include "win/skin/painted_hook.h"

namespace sapala::win {

class TlcSizerWnd : public TlcPaintedWnd {
 public:
  using TlcPaintedWnd::TlcPaintedWnd;

  // Where the grip image was last painted (client coordinates).
  RECT GripRect() const noexcept { return grip_; }

 protected:
  std::string DefaultSection() const override { return "CHECKBOX"; }
  bool HasLook() const noexcept override;
  void PaintPicture(Canvas& c) override;

 private:
  RECT grip_{};
};

class TlcEdgeWnd : public TlcPaintedWnd {
 public:
  using TlcPaintedWnd::TlcPaintedWnd;

  // Paints the section's border over the window's edge now; false when there is none.
  bool PaintFrame() noexcept;
  graphics::Bitmap* FramePicture() noexcept {
    return frame_.Width() > 0 ? &frame_.Pixels() : nullptr;
  }

 protected:
  std::string DefaultSection() const override { return "EDIT"; }
  void WndProc(Message& m) override;
  void PaintPicture(Canvas& c) override;

 private:
  DibSurface frame_;  // the whole window's picture, of which the edge is shown
};

class TlcLinkWnd : public TlcPaintedWnd {
 public:
  using TlcPaintedWnd::TlcPaintedWnd;

  // The rectangles the links' text took in the last paint (client coordinates), in order.
  const std::vector<RECT>& LinkRects() const noexcept { return links_; }

 protected:
  std::string DefaultSection() const override { return "CHECKBOX"; }
  void PaintPicture(Canvas& c) override;
  bool Changes(const Message& m) override;

 private:
  std::vector<RECT> links_;
};

}  // namespace sapala::win
