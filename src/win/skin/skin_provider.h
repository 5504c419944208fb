// TsSkinProvider: the skin of one top-level form. It takes over the form's window procedure,
// paints the whole frame (border, title bar, icon, caption, caption buttons, size grip) into one
// cached window-sized image and copies the frame strips of it to the window, cuts the window's
// region from the skin's transparent corners, and answers the frame's input itself: hit tests,
// hover and press of the caption buttons, double and right clicks, the system menu, activation,
// screen snapping and the engine's SM_LUMOCMD commands.
//
// Ownership: a provider is a component owned by its form (placed in a description, or adopted
// by the form when the skin manager's window-creation hook attaches one). It owns its skin state
// (SkinData, whose Cache is the window image), the window region it set and the glow of a hot
// caption button. It gives the form's window procedure back on destruction only if the form's
// procedure is still its own, and gives WS_SYSMENU back when the skin goes or it goes; a form
// whose window is destroyed first keeps working, and so does a form that outlives its provider.
//
// All of it runs on the form's (the user-interface) thread; nothing here throws out of a message.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/graphics/bitmap.h"
#include "core/skin/caption_buttons.h"
#include "core/skin/form_geometry.h"
#include "core/skin/frame_hit_test.h"
#include "win/framework/component.h"
#include "win/framework/forms.h"
#include "win/framework/handles.h"
#include "win/skin/animated_form.h"
#include "win/skin/caption_glow.h"
#include "win/skin/caption_input.h"
#include "win/skin/common_data.h"

namespace sapala::win {

class TlcCtrlAdapter;
class TMainMenu;

class TsSkinManager;
namespace skin {
class TlcBorderForm;
}

enum class TsGripMode { gmNone, gmRightBottom };
enum class TsResizeMode { rmStandard, rmBorder };

// An extra caption text after the form's caption.
struct TlcAddedTitle {
  std::wstring Text;
  TFont Font;
  bool ShowMainCaption = true;
};

// The caption icon override: a picture and its size (0 = automatic).
struct TsTitleIcon {
  graphics::Bitmap Glyph;
  int Width = 0;
  int Height = 0;
};

// A caption button of the application's own, right of the caption text.
struct TsTitleButton {
  bool Enabled = true;
  graphics::Bitmap Glyph;
  std::wstring Hint;
  std::string Name;
  bool UseSkinData = true;
  bool Visible = true;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
};

// Raised with the hit-test message before the frame answers it; a handler that sets Result
// other than HTNOWHERE answers for the frame.
using TlcNCHitTest = std::function<void(Message& m)>;
using TlcAfterAnimation = std::function<void(skin::TlcAnimEvent animType)>;
// Asked for each child control before it is skinned.
using TAddItemEvent =
    std::function<void(TObject* item, bool& canBeAdded, std::string& skinSection)>;

class TsSkinProvider : public TComponent, public skin::AnimatedForm, private CaptionInputHost {
 public:
  // A provider placed on a form: `owner` must be a form (else it throws the abort message). At
  // run time, when the form already has a provider, an automatic one is freed and replaced and
  // an explicit one makes this one inert.
  explicit TsSkinProvider(TComponent* owner);
  ~TsSkinProvider() override;

  // The automatic path: a provider for `form`, adopted by it, with UseGlobalColor and
  // MakeSkinMenu off; the window is redrawn with its frame. Returns it.
  static TsSkinProvider& AttachAutomatic(TForm& form);
  // The provider attached to `form`'s window, nullptr when none.
  static TsSkinProvider* Of(HWND hwnd) noexcept;

  // --- Published ---
  TlcAddedTitle AddedTitle;
  bool AllowExtBorders = true;
  bool AllowBlendOnMoving = true;
  sapala::skin::CaptionAlignment CaptionAlignment = sapala::skin::CaptionAlignment::taLeftJustify;
  bool DrawNonClientArea = true;
  TsCommonData SkinData;
  TsGripMode GripMode = TsGripMode::gmNone;
  bool MakeSkinMenu = false;
  std::string MenuLineSkin;
  TsResizeMode ResizeMode = TsResizeMode::rmStandard;
  bool ScreenSnap = false;
  int SnapBuffer = 10;
  bool ShowAppIcon = true;
  std::vector<TsTitleButton> TitleButtons;
  TsTitleIcon TitleIcon;
  std::string TitleSkin;
  bool UseGlobalColor = true;
  TlcAfterAnimation OnAfterAnimation;
  TlcNCHitTest OnExtHitTest;
  TAddItemEvent OnSkinItem;

  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;
  void Loaded() override;

  // --- State ---
  bool AutoCreated() const noexcept { return auto_created_; }
  // A second explicit provider on a form that had one: it hooks nothing.
  bool Inert() const noexcept { return inert_; }
  // The provider skins the frame now: a skin is active, it draws the non-client area, the form's
  // window exists and neither the application nor the form is going.
  bool FrameSkinned() const;
  // The provider's remembered system-menu flag (WS_SYSMENU taken off while skinned).
  bool RemembersSystemMenu() const noexcept { return system_menu_; }
  bool FormActive() const noexcept { return form_active_; }

  // The frame as it is laid out now (window coordinates).
  int FrameWidth() const;
  int CaptionHeight() const;
  const sapala::skin::CaptionButtonLayout& Buttons() const noexcept { return layout_; }
  graphics::Rect IconRect() const;
  const sapala::skin::CaptionButtonTracker& Tracker() const noexcept { return input_.Tracker(); }
  // The WM_NCHITTEST answer of the skinned frame at a window-relative point.
  int HitTestAt(POINT windowPoint);
  // The glow shown over a hot caption button, -1 for none.
  int ButtonGlow() const noexcept { return input_.Glow(); }
  // Caption buttons fading from one state to the next now.
  std::size_t FadingButtons() const noexcept { return input_.Fading(); }
  // The extended-border companion window, nullptr while the form has none.
  skin::TlcBorderForm* BorderForm() const noexcept { return border_form_.get(); }
  // Where the form's window lies in the window image: (0, 0), or the left and top extended
  // border margins while the companion shows the image.
  POINT ImageOrigin() const noexcept;
  // The rmBorder outline drag that runs now (tests draw nothing and read the outline).
  struct OutlineHooks {
    std::function<void(const RECT& outline)> onOutline;  // each outline drawn
  };
  static OutlineHooks& OutlineDragHooks();

  // Opens the system menu at a screen point (the skinned menu when the manager skins popups and
  // one is plugged in, else the platform's own menu with its items enabled by the form's rules).
  void OpenSystemMenu(POINT screen);
  // Enables and grays the restore, move, size, minimize, maximize and close items of `menu` by
  // the form's rules.
  void PrepareSystemMenu(HMENU menu) const;

  // The window image composed now if stale (tests and the background answers).
  graphics::Bitmap* ComposedImage();
  // The form's menu line: rows of its main menu bar now (computed again after a menu or size
  // change; 0 without a menu line) and their height in pixels.
  int MenuLineRows();
  int MenuLineHeight();
  // The menu line as last composed before its items were drawn on it (what a hot or pressed
  // item is drawn over), nullptr when the form shows none; it lies at MenuLineOrigin() in the
  // window.
  const graphics::Bitmap* MenuLineImage() const noexcept {
    return menu_line_.Empty() ? nullptr : &menu_line_;
  }
  POINT MenuLineOrigin() const noexcept { return menu_line_origin_; }

  // The clean title picture (the title band before buttons are drawn).
  const graphics::Bitmap& CleanTitle() const noexcept { return clean_title_; }
  // The icon the title showed at the last composition (nullptr: none, or TitleIcon's picture):
  // the form's own, the application's, or the built-in one.
  HICON TitleIconShown() const noexcept { return drawn_icon_; }
  HICON BuiltInIcon() const noexcept { return builtin_icon_.get(); }
  // The glow pictures kept behind the caption text.
  const CaptionGlow& TitleGlow() const noexcept { return title_glow_; }

  // Runs the manager's show animation on the visible form now, when its FormShow settings
  // animate it (redraw is off meanwhile); false when they do not.
  bool AnimateShowing();

  // --- AnimatedForm ---
  TForm& Form() noexcept override { return form_; }
  TsSkinManager& Manager() noexcept override;
  HWND FormWindow() const noexcept override { return form_.WindowHandle(); }
  graphics::Bitmap* WindowImage() noexcept override;
  void InvalidateWindowImage() noexcept override;
  unsigned FormState() const noexcept override { return form_state_; }
  void SetFormState(unsigned state) noexcept override { form_state_ = state; }
  void AfterAnimation(skin::TlcAnimEvent event) override;
  HWND BorderWindow() const noexcept override;
  RECT BorderMargins() const noexcept override;
  Window ReleaseBorderWindow() noexcept override;
  graphics::Bitmap BorderWindowPicture() override;
  void BorderWindowRestored() noexcept override;

  // The control adapter that hooks the form's standard controls (made on first use), nullptr
  // before the first walk.
  TlcCtrlAdapter* Adapter() const noexcept { return adapter_.get(); }

  // "/lcpreview": the editor's window is told about `form` (message 0xA400, wParam 3, lParam
  // the window), up to 101 tries, until it answers 1 or is gone. True when it answered 1.
  static bool AnnounceToEditor(HWND form);

 private:
  // The provider's place in the form's procedure chain. A subclass put on after us keeps a copy
  // of our thunk as its "previous"; when we go first the link forgets us and the thunk hands every
  // message straight to the procedure we had taken over.
  struct Link {
    TsSkinProvider* provider;
    std::function<void(Message&)> old;
  };
  struct Thunk {
    std::shared_ptr<Link> link;
    void operator()(Message& m) const {
      const std::shared_ptr<Link> keep = link;  // the provider may go while it handles m
      if (keep->provider) {
        keep->provider->WndProc(m);
      } else if (keep->old) {
        keep->old(m);
      }
    }
  };
  enum class AutoTag { automatic };
  TsSkinProvider(TForm& form, AutoTag);

  static TForm& RequireForm(TComponent* owner);
  void Hook();
  void Unhook() noexcept;
  void CallOld(Message& m);
  void WndProc(Message& m);
  bool HandleCommand(Message& m);
  bool HandleFrameMessage(Message& m);

  // Geometry from the form and the skin. The system's frame metrics are read once.
  static const sapala::skin::FrameMetrics& Metrics();
  sapala::skin::FormRulesInput Rules() const;
  sapala::skin::FrameFormInput FrameInput() const;
  sapala::skin::FrameSkinValues SkinValues() const;
  void UpdateLayout();
  void NewSkin();
  void RemoveSkin();
  void ApplySystemMenuStyle();
  int TitleSection();
  int CaptionSection();

  // The manager's FormShow (`show`) or FormHide settings when they animate this form now: a
  // top-level form, not minimized, outside another animation, with at least one step.
  const sapala::skin::TlcFormAnimation* FormAnimation(bool show) const;
  void StopPendingShow() noexcept;

  // A caption drag fades the form (the manager's blend on moving, full-window dragging on).
  bool BlendsOnMoving() const;
  // Offers `control` (nullptr: every control of the form) to the control adapter.
  void Adapt(TControl* control);

  // The menu line (provider_menu.cpp). The main menu the frame draws a line for, nullptr when
  // none (no menu, merged, no items, an MDI child or a dialog).
  TMainMenu* ShownMenu() const;
  void PaintMenuLine(graphics::Bitmap& cache, int frame, int caption);
  void MenuChanged();
  // Extended borders and the outline drag (provider_borders.cpp).
  // The form may show extended borders now: the manager offers them and the form has a border,
  // draws its frame, and is neither a child nor an MDI child.
  bool WantsBorderForm() const;
  // Makes or drops the companion as WantsBorderForm says; a change re-lays the frame.
  void SyncBorderForm();
  void DropBorderForm() noexcept;
  // Hands a newly composed image to the companion.
  void ShowBorderPicture();
  // WM_NCCALCSIZE with extended borders: the skin's frame width and caption height.
  bool CalcExtendedClient(Message& m);
  // An rmBorder press on the caption (move) or a border (size): the outline follows the mouse
  // until the button is released (the window then takes the outline's place) or the drag is
  // cancelled (Escape, losing the capture). True when the press started such a drag.
  bool OutlineDrag(int hitCode, POINT screen);
  // The companion's band was pressed: an outline drag or the system's size loop.
  bool BorderPressed(int hitCode, POINT screen);

  // Painting (provider_paint.cpp).
  void Compose();
  // The DIB section to select for GDI work on the window image (same coordinates).
  HBITMAP ImageDib() const noexcept;
  // Where the icon and caption go on the title, and what they look like.
  struct TitleTextLook {
    std::wstring Text;
    HFONT Font = nullptr;
    HICON Icon = nullptr;
    TColor Color = 0;
    TColor GlowColor = 0;
    int GlowSize = 0;
    int State = 0;
    int CaptionSection = -1;
    graphics::Rect IconRect, Band, Area;
    int Left = 0, TextTop = 0, Right = 0;
    SIZE TextSize{};
    bool operator==(const TitleTextLook& o) const {
      return Text == o.Text && Font == o.Font && Icon == o.Icon && Color == o.Color &&
             GlowColor == o.GlowColor && GlowSize == o.GlowSize && State == o.State &&
             CaptionSection == o.CaptionSection && IconRect == o.IconRect &&
             Band.top == o.Band.top && Band.bottom == o.Band.bottom && Band.left == o.Band.left &&
             Area == o.Area && Left == o.Left && TextTop == o.TextTop && Right == o.Right;
    }
  };
  // The icon and caption as last drawn through GDI, with the title pixels under them before and
  // after: a composition with the same look over the same pixels (a resize that leaves the
  // caption alone) copies them back instead of drawing again. Not kept for a title icon picture
  // or an added title, whose pixels can change without a change of look.
  struct TitleTextPicture {
    bool Valid = false;
    TitleTextLook Look;
    graphics::Bitmap Under, Drawn;
  };
  bool TitleTextLookOf(graphics::Bitmap& cache, int state, TitleTextLook& look);
  // The title's icon when TitleIcon has no picture, for an icon rectangle that high: the form's
  // icon, else the application's small icon, else the built-in one (made on first use, owned).
  HICON TitleIconOf(int iconHeight);
  void PaintTitleTexts(graphics::Bitmap& cache, int state);
  void DrawTitleTexts(HDC dc, graphics::Bitmap& cache, const TitleTextLook& look, int state);
  void PaintButton(graphics::Bitmap& cache, const sapala::skin::CaptionButtonInfo& b, int state);
  void PaintFrame(HDC windowDC);
  void PaintFrameNow();
  void UpdateRegion();
  static bool SetRegion(HWND hwnd, HRGN region) noexcept;
  const sapala::skin::CaptionButtonInfo* ButtonOf(int hitCode) const;

  // Input: the caption buttons' part is CaptionInput's, over this host.
  HWND CaptionWindow() const noexcept override { return form_.WindowHandle(); }
  TsSkinManager* CaptionManager() const noexcept override { return SkinData.SkinManagerOf(); }
  bool CaptionShown() const override { return CaptionHeight() != 0; }
  int CaptionHitTest(POINT windowPoint) override { return HitTestAt(windowPoint); }
  sapala::skin::FormRulesInput CaptionRules() const override { return Rules(); }
  const sapala::skin::CaptionButtonInfo* CaptionButton(int hitCode) const override {
    return ButtonOf(hitCode);
  }
  graphics::Bitmap* CaptionImage() override;
  HBITMAP CaptionImageSection() override { return ImageDib(); }
  POINT CaptionImageOrigin() const noexcept override { return ImageOrigin(); }
  void PaintCaptionButton(const sapala::skin::CaptionButtonInfo& b, int state) override;
  void RunCaptionCommand(UINT command) override;
  void RunUserButton(int index, bool down, POINT screen) override;
  void OpenCaptionMenu(POINT screen) override { OpenSystemMenu(screen); }
  bool CaptionGlows() const override;
  bool CaptionExtHitTest(Message& m) override;
  bool CaptionFramePress(int code, POINT screen, Message& m) override;
  bool CaptionDoubleClick(int code, POINT screen, Message& m) override;
  POINT SystemMenuPointBelowIcon() const;

  TForm& form_;
  bool auto_created_ = false;
  bool inert_ = false;
  bool hooked_ = false;
  std::shared_ptr<Link> link_;
  bool system_menu_ = false;
  bool form_active_ = false;
  bool region_changed_ = true;
  bool show_pending_ = false;
  bool defer_frame_paint_ = false;  // while attaching: the frame is painted after, once  // a show
                                    // animation waits for the window to be shown
  unsigned form_state_ = 0;
  int title_index_ = -1;
  int caption_index_ = -1;
  sapala::skin::CaptionButtonImages images_;
  sapala::skin::CaptionButtonLayout layout_;
  graphics::Bitmap clean_title_;
  graphics::Bitmap cache_memory_;  // the DIB whose top-left corner SkinData.Cache shows
  Font caption_font_;              // the system's caption font, made on first use
  SIZE caption_extent_{};          // of caption_text_ in caption_font_
  std::wstring caption_text_;
  TitleTextPicture title_text_;
  CaptionGlow title_glow_;
  Icon builtin_icon_;
  int builtin_icon_size_ = 0;
  HICON drawn_icon_ = nullptr;
  bool region_set_ = false;  // the window holds a region we gave it
  bool adapted_ = false;     // the controls were walked since the last skin change
  std::unique_ptr<TlcCtrlAdapter> adapter_;
  int menu_rows_ = -1;  // -1: to be computed
  graphics::Bitmap menu_line_;
  POINT menu_line_origin_{0, 0};
  std::unique_ptr<skin::TlcBorderForm> border_form_;
  bool border_picture_stale_ = false;  // composed since the companion last got the image
  // Last: its fade timer and glow go before anything it reads.
  CaptionInput input_{*this};
};

// Gives a skinned top-level window `region` (nullptr: none) without the system's own redraw and
// repaints its frame; the window owns the region once this returns true.
bool SetSkinnedWindowRegion(HWND hwnd, HRGN region) noexcept;
// The system's caption font (non-client metrics) with the default character set.
Font SystemCaptionFont();
// An icon of the picture's colours and alpha (a 32-bit picture, not premultiplied); none when
// the picture is not 32-bit or the system refuses.
Icon IconFromPicture(const graphics::Bitmap& picture) noexcept;

// Registers TsSkinProvider for form descriptions and plugs the automatic path into the
// window-creation hook.
void RegisterSkinProvider();

}  // namespace sapala::win
