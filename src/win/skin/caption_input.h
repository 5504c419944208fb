// The caption buttons' input on a skinned frame, shared by form providers and dialog hooks:
// hover, press and release (acting only on the pressed button), leaving the window, a lost
// capture, the right click that opens the system menu, the glow of a hot button, and the fade
// of a button from one state to the next.
//
// The frame's owner is the host: it knows the buttons and their rectangles, paints one button
// into its window image, runs the system commands and opens its system menu. CaptionInput
// keeps the state machine (core/skin/caption_buttons.h), the glow handle and the fade, and
// repaints only the rectangle of the button that changed.
//
// The fade runs on a window timer of the host's window (kCaptionFadeTimer): each tick draws one
// step of the blend from the button's old picture to its new one into the window image and
// copies that rectangle to the screen. Reset (the window going, the skin going) stops it and
// frees its pictures; the destructor does the same. Nothing here throws out of a message.
#pragma once

#include <windows.h>

#include <vector>

#include "core/graphics/bitmap.h"
#include "core/skin/caption_buttons.h"
#include "core/skin/form_geometry.h"
#include "win/framework/controls.h"

namespace sapala::win {

class TsSkinManager;

// Identifier of the fade's window timer on the host's window.
inline constexpr UINT_PTR kCaptionFadeTimer = 0x5C41;

class CaptionInputHost {
 public:
  virtual HWND CaptionWindow() const noexcept = 0;
  virtual TsSkinManager* CaptionManager() const noexcept = 0;
  // The frame has a caption (so hit tests are the frame's own).
  virtual bool CaptionShown() const = 0;
  // The WM_NCHITTEST answer of the skinned frame at a window-relative point.
  virtual int CaptionHitTest(POINT windowPoint) = 0;
  virtual sapala::skin::FormRulesInput CaptionRules() const = 0;
  // The visible button with that hit code, nullptr when there is none.
  virtual const sapala::skin::CaptionButtonInfo* CaptionButton(int hitCode) const = 0;
  // The window image, composed now when stale; nullptr when there is none (or no title).
  virtual graphics::Bitmap* CaptionImage() = 0;
  // A DIB section to select for GDI work on the window image (same coordinates).
  virtual HBITMAP CaptionImageSection() = 0;
  // Where the window lies in the window image: (0, 0) unless the image is larger than the
  // window (extended borders around it). Button rectangles are in image coordinates.
  virtual POINT CaptionImageOrigin() const noexcept { return POINT{0, 0}; }
  // Draws button `b` in `state` into the window image over the clean title.
  virtual void PaintCaptionButton(const sapala::skin::CaptionButtonInfo& b, int state) = 0;
  // A system command a button or a double click asks for (SC_MINIMIZE, SC_RESTORE, ...): the
  // host marks what the command changes, then calls PostCaptionCommand.
  virtual void RunCaptionCommand(UINT command) = 0;
  // A user button's OnMouseDown (`down`) or OnMouseUp at a screen point.
  virtual void RunUserButton(int /*index*/, bool /*down*/, POINT /*screen*/) {}
  virtual void OpenCaptionMenu(POINT screen) = 0;
  // A hot minimize, maximize or close button may show the skin's glow (not for child windows).
  virtual bool CaptionGlows() const { return true; }
  // Lets the host answer a hit test first; true when it did (m.Result set).
  virtual bool CaptionExtHitTest(Message&) { return false; }
  // A left press that is not on a caption button (the hot button is already cleared); true
  // when the host handled it.
  virtual bool CaptionFramePress(int /*code*/, POINT /*screen*/, Message&) { return false; }
  // A left double click that is not on a caption button; true when the host handled it.
  virtual bool CaptionDoubleClick(int code, POINT screen, Message& m) = 0;

 protected:
  ~CaptionInputHost() = default;
  // Posts `command` to the window as WM_SYSCOMMAND.
  void PostCaptionCommand(UINT command) const noexcept;
};

// The system command of an action; 0 for the user buttons' events and for the MDI child
// buttons (no MDI here).
UINT CaptionSystemCommand(sapala::skin::CaptionAction action) noexcept;

class CaptionInput {
 public:
  explicit CaptionInput(CaptionInputHost& host) noexcept : host_(host) {}
  ~CaptionInput();
  CaptionInput(const CaptionInput&) = delete;
  CaptionInput& operator=(const CaptionInput&) = delete;

  const sapala::skin::CaptionButtonTracker& Tracker() const noexcept { return tracker_; }
  // The glow shown over the hot button, -1 for none.
  int Glow() const noexcept { return glow_; }
  // Buttons fading now.
  std::size_t Fading() const noexcept { return fades_.size(); }

  // The frame's input messages: hit tests, non-client and captured mouse messages, leaving,
  // capture changes, right clicks, the system's context menu request and the fade's timer.
  // True when the message was answered (m.Result set).
  bool Handle(Message& m);
  // Clears the hot or pressed button (repainting it) and gives the capture back.
  void ClearHot();
  // Forgets the buttons' states without painting: the window or the skin is going. Stops the
  // fade and hides the glow.
  void Reset() noexcept;
  // Stops the fades where they are: the window image is being composed anew and shows every
  // button in its state.
  void StopFades() noexcept;

 private:
  struct Fade {
    int HitCode = 0;
    int Step = 0, Steps = 0;
    graphics::Rect Rect;
    int ImageWidth = 0, ImageHeight = 0;
    graphics::Bitmap From, To;
  };
  POINT WindowPoint(POINT screen) const;
  void Apply(const sapala::skin::CaptionStep& step, POINT screen);
  void Repaint(int hitCode, int state);
  void ShowGlow(const sapala::skin::CaptionButtonInfo& b);
  void HideGlow() noexcept;
  void CopyToWindow(const graphics::Rect& r);
  bool Animates() const;
  void Tick();
  void TrackLeave();

  CaptionInputHost& host_;
  sapala::skin::CaptionButtonTracker tracker_;
  std::vector<std::pair<int, int>> shown_;  // hit code, state last drawn
  std::vector<Fade> fades_;
  bool timer_ = false;
  int glow_ = -1;
  int glow_code_ = 0;
  bool tracking_leave_ = false;
};

}  // namespace sapala::win
