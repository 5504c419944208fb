// TlcGroupBoxWnd: the hook of a standard group box (a BUTTON of type group box). It paints the
// box into the hook's cache: what the parent shows, the skin section ("GROUPBOX" unless set) as
// the frame from half a caption line down, and the caption on the frame's top line, over the
// parent's background, in the section's font colours (disabled colours when the box is
// disabled). The box's own procedure keeps the rest (a group box is transparent to the mouse).
#pragma once

#include "win/skin/hook_base.h"

namespace sapala::win {

class TlcGroupBoxWnd : public TlcMainWnd {
 public:
  using TlcMainWnd::TlcMainWnd;

  // Rebuilds the cache now; false when there is nothing to paint.
  bool PaintCache() override;
  // Where the frame and the caption lie in the last painted picture (client coordinates).
  RECT FrameRect() const noexcept { return frame_rect_; }
  RECT CaptionRect() const noexcept { return caption_rect_; }

 protected:
  void WndProc(Message& m) override;
  std::string DefaultSection() const override { return "GROUPBOX"; }

 private:
  void PassQuietly(Message& m, bool rereadText = false) noexcept;

  RECT frame_rect_{};
  RECT caption_rect_{};
};

}  // namespace sapala::win
