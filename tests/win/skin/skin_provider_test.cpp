// The form provider on real skinned windows under Wine: how it attaches and lets go, the
// hit-test map of the skinned frame, caption buttons driven by the frame's mouse messages, the
// system menu, the window image it composes, snapping, and windows and skins coming and going
// many times without a handle or a window procedure left behind.
#include "win/skin/skin_provider.h"

#include <algorithm>
#include <chrono>

#include "core/graphics/pixels.h"
#include "skin_fixture.h"
#include "win/framework/dib.h"
#include "win/framework/menus.h"
#include "win/skin/animations.h"
#include "win/skin/broadcast.h"
#include "win/skin/cbt_hook.h"
#include "win/skin/glow.h"
#include "win/skin/plug_ins.h"
#include "win/skin/skin_menus.h"

namespace sapala::win::testing {
namespace {

namespace sk = sapala::skin;

// A form that records the system commands it gets and carries out none of them (so a test sees
// what a click asked for and the form stays as it is).
class TSysForm : public TForm {
 public:
  explicit TSysForm(TComponent* owner) : TForm(owner) { SetClassName("TSysForm"); }
  void WndProc(Message& m) override {
    if (m.Msg == WM_SYSCOMMAND) {
      commands.push_back(static_cast<UINT>(m.WParam & 0xFFF0));
      m.Result = 0;
      return;
    }
    TForm::WndProc(m);
  }
  std::vector<UINT> commands;
};

// A subclass put on a form after the provider: it must survive the provider going.
struct LaterHook {
  std::function<void(Message&)> previous;
  int seen = 0;
};

class ProviderTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    InstallDibSections();
    RegisterComponentClass<TSysForm>("TSysForm");
    RegisterSkinProvider();
    skin::PlugIns().trackSystemMenu = [this](HMENU menu, POINT at) {
      menus_.push_back({menu, at});
      // What the menu would show, read while it is up.
      grayed_.clear();
      for (UINT c : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}) {
        if (::GetMenuState(menu, c, MF_BYCOMMAND) & MF_GRAYED) grayed_.push_back(c);
      }
      return chosen_;
    };
    host_ = &AddForm("Host", "");
    manager_ = &host_->Create<TsSkinManager>();
    manager_->Core().SetSkinDirectory(AssetSkinFolder());
    manager_->Core().SetSkinName("DiruriZedaz");
    ASSERT_TRUE(manager_->SkinActive());
  }
  void TearDown() override {
    skin::PlugIns() = skin::SkinPlugIns{};
    SkinTest::TearDown();
  }

  TSysForm& ShowForm(const std::string& name, const std::string& body = "") {
    TSysForm& f = app_->Create<TSysForm>();
    f.LoadDescription("object " + name +
                      ": TSysForm\n  Left = 100\n  Top = 80\n  Caption = 'Sapala'\n"
                      "  ClientWidth = 300\n  ClientHeight = 160\n" +
                      body + "end\n");
    f.CreateHandle();
    f.Show();
    ::SetForegroundWindow(f.WindowHandle());
    app_->ProcessMessages();
    return f;
  }
  static POINT Center(const graphics::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static LPARAM ScreenParam(HWND hwnd, POINT windowPoint) {
    RECT wr{};
    ::GetWindowRect(hwnd, &wr);
    return MAKELPARAM(wr.left + windowPoint.x, wr.top + windowPoint.y);
  }
  // A frame mouse message at a window point, posted and run through the loop.
  void Post(TForm& f, UINT msg, POINT windowPoint) {
    HWND hwnd = f.WindowHandle();
    const LPARAM lp = ScreenParam(hwnd, windowPoint);
    const auto code = static_cast<WPARAM>(::SendMessageW(hwnd, WM_NCHITTEST, 0, lp));
    ::PostMessageW(hwnd, msg, code, lp);
    app_->ProcessMessages();
  }
  static const sk::CaptionButtonInfo& Button(TsSkinProvider& p, int index) {
    return p.Buttons().System[static_cast<std::size_t>(index)];
  }

  TRecForm* host_ = nullptr;
  TsSkinManager* manager_ = nullptr;
  std::vector<std::pair<HMENU, POINT>> menus_;
  std::vector<UINT> grayed_;
  UINT chosen_ = 0;
};

constexpr int kClose = 0, kMax = 1, kMin = 2;

TEST_F(ProviderTest, TheHookAttachesOneProviderThatTakesTheSystemMenuStyle) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider* p = TsSkinProvider::Of(f.WindowHandle());
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->AutoCreated());
  EXPECT_FALSE(p->UseGlobalColor);
  EXPECT_FALSE(p->MakeSkinMenu);
  EXPECT_EQ(p->Owner(), &f);
  EXPECT_TRUE(p->FrameSkinned());
  EXPECT_EQ(
      ::SendMessageW(f.WindowHandle(), skin::SM_LUMOCMD, MAKEWPARAM(0, skin::cmdIsSkinned), 0), 1);
  EXPECT_EQ(reinterpret_cast<TsSkinProvider*>(::SendMessageW(
                f.WindowHandle(), skin::SM_LUMOCMD, MAKEWPARAM(0, skin::cmdGetProvider), 0)),
            p);
  EXPECT_TRUE(p->RemembersSystemMenu());
  EXPECT_EQ(::GetWindowLongPtrW(f.WindowHandle(), GWL_STYLE) & WS_SYSMENU, 0);
  // Activating it again attaches nothing twice.
  ::SetForegroundWindow(host_->WindowHandle());
  ::SetForegroundWindow(f.WindowHandle());
  app_->ProcessMessages();
  int providers = 0;
  for (std::size_t i = 0; i < f.ComponentCount(); ++i)
    providers += dynamic_cast<TsSkinProvider*>(f.Component(i)) != nullptr;
  EXPECT_EQ(providers, 1);
}

TEST_F(ProviderTest, HitTestMapOfASkinnedWindow) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  HWND hwnd = f.WindowHandle();
  RECT wr{};
  ::GetWindowRect(hwnd, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  const int frame = p.FrameWidth(), caption = p.CaptionHeight();
  ASSERT_GT(caption, 0);
  const graphics::Rect icon = p.IconRect();
  ASSERT_FALSE(icon.empty());
  const struct {
    const char* what;
    POINT at;
    LRESULT want;
  } cases[] = {
      {"close", Center(Button(p, kClose).Rect), HTCLOSE},
      {"maximize", Center(Button(p, kMax).Rect), HTMAXBUTTON},
      {"minimize", Center(Button(p, kMin).Rect), HTMINBUTTON},
      {"icon", Center(icon), HTSYSMENU},
      {"caption", {w / 2, frame + caption / 2}, HTCAPTION},
      {"left border", {1, h / 2}, HTLEFT},
      {"right border", {w - 2, h / 2}, HTRIGHT},
      {"bottom border", {w / 2, h - 2}, HTBOTTOM},
      {"bottom-right corner", {w - 2, h - 2}, HTBOTTOMRIGHT},
      {"client", {w / 2, h / 2}, HTCLIENT},
  };
  // The region the skin's corners cut leaves the client area where the frame puts it.
  RECT client{};
  ::GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 160);
  // The offset children are told is where the client area really lies in the window.
  POINT origin{0, 0};
  ::ClientToScreen(hwnd, &origin);
  const LRESULT offset =
      ::SendMessageW(hwnd, skin::SM_LUMOCMD, MAKEWPARAM(0, skin::cmdGetClientOffset), 0);
  EXPECT_EQ(LOWORD(offset), origin.x - wr.left);
  EXPECT_EQ(HIWORD(offset), origin.y - wr.top);
  for (const auto& c : cases) {
    EXPECT_EQ(::SendMessageW(hwnd, WM_NCHITTEST, 0, ScreenParam(hwnd, c.at)), c.want) << c.what;
  }
}

TEST_F(ProviderTest, AReleaseActsOnlyOverThePressedButton) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  const POINT close = Center(Button(p, kClose).Rect), min = Center(Button(p, kMin).Rect);
  const POINT client{Button(p, kClose).Rect.left, 120};
  const struct {
    const char* what;
    POINT down, up;
    UINT upMsg;
    std::vector<UINT> want;
  } cases[] = {
      {"close over close", close, close, WM_NCLBUTTONUP, {SC_CLOSE}},
      {"minimize over minimize", min, min, WM_NCLBUTTONUP, {SC_MINIMIZE}},
      {"minimize, released over close", min, close, WM_NCLBUTTONUP, {}},
      {"close, released in the client", close, client, WM_NCLBUTTONUP, {}},
  };
  for (const auto& c : cases) {
    f.commands.clear();
    Post(f, WM_NCLBUTTONDOWN, c.down);
    EXPECT_TRUE(p.Tracker().PressPending()) << c.what;
    Post(f, c.upMsg, c.up);
    EXPECT_EQ(f.commands, c.want) << c.what;
    EXPECT_FALSE(p.Tracker().PressPending()) << c.what;
    EXPECT_EQ(p.Tracker().Current(), 0) << c.what;
    EXPECT_NE(::GetCapture(), f.WindowHandle()) << c.what;
  }
  // The press holds the capture, so a release over the client comes as WM_LBUTTONUP.
  f.commands.clear();
  Post(f, WM_NCLBUTTONDOWN, close);
  EXPECT_EQ(::GetCapture(), f.WindowHandle());
  RECT wr{};
  ::GetWindowRect(f.WindowHandle(), &wr);
  POINT pt{wr.left + close.x, wr.top + close.y};
  ::ScreenToClient(f.WindowHandle(), &pt);
  ::PostMessageW(f.WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  app_->ProcessMessages();
  EXPECT_EQ(f.commands, (std::vector<UINT>{SC_CLOSE}));
}

TEST_F(ProviderTest, LeavingTheWindowClearsTheHotButtonAndItsGlow) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  const POINT close = Center(Button(p, kClose).Rect);
  for (UINT leave : {WM_NCMOUSELEAVE, WM_MOUSELEAVE}) {
    Post(f, WM_NCMOUSEMOVE, close);
    EXPECT_EQ(p.Tracker().Current(), HTCLOSE) << leave;
    EXPECT_EQ(p.Tracker().StateOf(HTCLOSE), 1) << leave;
    // The skin gives the close button a glow.
    EXPECT_GE(p.ButtonGlow(), 0) << leave;
    ::PostMessageW(f.WindowHandle(), leave, 0, 0);
    app_->ProcessMessages();
    EXPECT_EQ(p.Tracker().Current(), 0) << leave;
    EXPECT_EQ(p.ButtonGlow(), -1) << leave;
  }
}

// With the manager's button events on, a button fades towards hot over the fade's steps and
// presses at once; without them every change is drawn at once. A window destroyed mid-fade
// leaves no fade behind.
TEST_F(ProviderTest, ACaptionButtonFadesTowardsHotAndPressesAtOnce) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  HWND hwnd = f.WindowHandle();
  const graphics::Rect close = Button(p, kClose).Rect;
  const POINT over = Center(close);
  const POINT caption{close.left - 60, over.y};
  auto send = [&](UINT msg, POINT at) {
    const LPARAM lp = ScreenParam(hwnd, at);
    ::SendMessageW(hwnd, msg, static_cast<WPARAM>(::SendMessageW(hwnd, WM_NCHITTEST, 0, lp)), lp);
  };
  auto button = [&] {
    graphics::Bitmap* image = p.ComposedImage();
    graphics::Bitmap piece = graphics::NewBitmap32(close.width(), close.height());
    if (image) graphics::CopyBitmapRect(piece, {0, 0}, *image, close);
    return piece;
  };
  auto same = [](const graphics::Bitmap& a, const graphics::Bitmap& b) {
    return graphics::SameRect(a, a.Bounds(), b);
  };
  sk::TlcBtnEvents& events = manager_->Core().AnimEffects.Buttons.Events;
  ASSERT_NE(events, 0);  // every event animates by default

  // The pictures of each state, drawn at once.
  const sk::TlcBtnEvents all = events;
  events = 0;
  const graphics::Bitmap normal = button();
  send(WM_NCMOUSEMOVE, over);
  EXPECT_EQ(p.FadingButtons(), 0u);
  const graphics::Bitmap hot = button();
  send(WM_NCLBUTTONDOWN, over);
  const graphics::Bitmap pressed = button();
  ::ReleaseCapture();  // the capture change ends the press
  ASSERT_EQ(p.Tracker().Current(), 0);
  ASSERT_TRUE(same(button(), normal));
  ASSERT_FALSE(same(hot, normal));
  ASSERT_FALSE(same(pressed, hot));

  events = all;
  send(WM_NCMOUSEMOVE, over);
  EXPECT_EQ(p.Tracker().StateOf(HTCLOSE), 1);
  EXPECT_EQ(p.FadingButtons(), 1u);
  EXPECT_FALSE(same(button(), normal));  // the first step is on the way
  EXPECT_FALSE(same(button(), hot));
  // One step per timer tick until the hot picture stands.
  int ticks = 0;
  for (; ticks < 100 && p.FadingButtons() > 0; ++ticks) {
    ::Sleep(5);
    app_->ProcessMessages();
  }
  EXPECT_EQ(p.FadingButtons(), 0u);
  EXPECT_GE(ticks, 4);
  EXPECT_TRUE(same(button(), hot));

  // Towards pressed: at once.
  send(WM_NCLBUTTONDOWN, over);
  EXPECT_EQ(p.FadingButtons(), 0u);
  EXPECT_TRUE(same(button(), pressed));
  // Released away from it: the button fades back to normal.
  send(WM_NCLBUTTONUP, caption);
  EXPECT_EQ(p.Tracker().Current(), 0);
  EXPECT_EQ(p.FadingButtons(), 1u);
  // The window goes mid-fade; inactive, so that nothing composes its image on the way.
  ::SetForegroundWindow(host_->WindowHandle());
  app_->ProcessMessages();
  ASSERT_FALSE(p.FormActive());
  send(WM_NCMOUSEMOVE, over);
  EXPECT_EQ(p.FadingButtons(), 1u);
  f.DestroyHandle();
  EXPECT_EQ(p.FadingButtons(), 0u);
  app_->ProcessMessages();
}

// The skin's button glow shows only while the manager allows glowing.
TEST_F(ProviderTest, NoButtonGlowWhileGlowingIsNotAllowed) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  const POINT close = Center(Button(p, kClose).Rect);
  const POINT caption{Button(p, kMin).Rect.left - 60, close.y};
  for (const bool allowed : {true, false}) {
    manager_->Core().Effects.SetAllowGlowing(allowed);
    Post(f, WM_NCMOUSEMOVE, close);
    EXPECT_EQ(p.Tracker().StateOf(HTCLOSE), 1) << allowed;
    EXPECT_EQ(p.ButtonGlow() >= 0, allowed) << allowed;
    Post(f, WM_NCMOUSEMOVE, caption);
    EXPECT_EQ(p.ButtonGlow(), -1) << allowed;
  }
}

TEST_F(ProviderTest, TheWindowImageShowsTitleButtonsAndTheInactiveLook) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  ASSERT_TRUE(p.FormActive());
  graphics::Bitmap* image = p.ComposedImage();
  ASSERT_NE(image, nullptr);
  RECT wr{};
  ::GetWindowRect(f.WindowHandle(), &wr);
  ASSERT_EQ(image->Width(), wr.right - wr.left);
  ASSERT_EQ(image->Height(), wr.bottom - wr.top);
  const int titleY = p.FrameWidth() + p.CaptionHeight() / 2;
  const graphics::Rect close = Button(p, kClose).Rect;
  auto pixel = [&](int x, int y) { return image->PixelWord(x, y) & 0xFFFFFFu; };
  // The title is not the form's colour ($E2F1F7), the client part is.
  EXPECT_NE(pixel(image->Width() / 2, titleY), 0xF7F1E2u);
  EXPECT_EQ(pixel(image->Width() / 2, image->Height() / 2), 0xF7F1E2u);
  // The close button is drawn over the clean title.
  int differs = 0;
  for (int y = close.top; y < close.bottom; ++y) {
    for (int x = close.left; x < close.right; ++x)
      differs += pixel(x, y) != (p.CleanTitle().PixelWord(x, y) & 0xFFFFFFu);
  }
  EXPECT_GT(differs, close.width() * close.height() / 4);
  // The skin's rounded top corners are cut out of the window; the middle stays.
  {
    Region region(::CreateRectRgn(0, 0, 0, 0));
    const int kind = ::GetWindowRgn(f.WindowHandle(), region.get());
    EXPECT_EQ(kind, COMPLEXREGION);
    EXPECT_FALSE(::PtInRegion(region.get(), 0, 0));
    EXPECT_TRUE(::PtInRegion(region.get(), image->Width() / 2, image->Height() / 2));
  }
  const graphics::Bitmap active = image->Clone();
  // Inactive: the title and the (half-strength) button change.
  ::SetForegroundWindow(host_->WindowHandle());
  app_->ProcessMessages();
  ASSERT_FALSE(p.FormActive());
  image = p.ComposedImage();
  ASSERT_NE(image, nullptr);
  EXPECT_NE(pixel(image->Width() / 2, titleY),
            active.PixelWord(image->Width() / 2, titleY) & 0xFFFFFFu);
  const POINT c = Center(close);
  EXPECT_NE(pixel(c.x, c.y), active.PixelWord(c.x, c.y) & 0xFFFFFFu);
}

// The title's icon is the form's own, else the application's small icon, else the program's
// own book (the larger picture above 16 pixels), each drawn into the title.
TEST_F(ProviderTest, TheTitleIconIsTheFormsThenTheApplicationsThenOurOwn) {
  auto solid = [](std::uint32_t word) {
    graphics::Bitmap picture = graphics::NewBitmap32(16, 16);
    for (int y = 0; y < 16; ++y) std::fill_n(picture.Row32(y), 16, word);
    return IconFromPicture(picture);
  };
  const Icon own = solid(0xFFFF0000u), application = solid(0xFF00FF00u);
  ASSERT_TRUE(own && application);
  auto iconSize = [](HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return 0;
    const Bitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    ::GetObjectW(info.hbmColor, sizeof bm, &bm);
    return static_cast<int>(bm.bmWidth);
  };
  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  auto centre = [&] {
    const graphics::Rect r = p.IconRect();
    return p.ComposedImage()->PixelWord((r.left + r.right) / 2, (r.top + r.bottom) / 2) & 0xFFFFFFu;
  };
  p.InvalidateWindowImage();
  p.ComposedImage();
  // No icon anywhere: the book, at 16 pixels for the 16-pixel rectangle.
  ASSERT_NE(p.BuiltInIcon(), nullptr);
  EXPECT_EQ(p.TitleIconShown(), p.BuiltInIcon());
  EXPECT_EQ(iconSize(p.BuiltInIcon()), 16);
  const std::uint32_t book = centre();
  EXPECT_TRUE(book == 0xF8F0DCu || book == 0x8C2A1Eu || book == 0x5A4A3Au) << std::hex << book;
  p.TitleIcon.Width = p.TitleIcon.Height = 20;
  p.InvalidateWindowImage();
  p.ComposedImage();
  EXPECT_EQ(iconSize(p.TitleIconShown()), 32);
  p.TitleIcon.Width = p.TitleIcon.Height = 0;

  // The application's main form has a small icon.
  TSysForm& main = app_->CreateForm<TSysForm>();
  ::SendMessageW(main.WindowHandle(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(application.get()));
  p.InvalidateWindowImage();
  EXPECT_EQ(centre(), 0x00FF00u);
  EXPECT_EQ(p.TitleIconShown(), application.get());
  // The form's own icon goes first.
  ::SendMessageW(f.WindowHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(own.get()));
  EXPECT_EQ(centre(), 0xFF0000u);
  EXPECT_EQ(p.TitleIconShown(), own.get());
  // The icons go before the windows do.
  ::SendMessageW(f.WindowHandle(), WM_SETICON, ICON_SMALL, 0);
  ::SendMessageW(main.WindowHandle(), WM_SETICON, ICON_SMALL, 0);
}

// A title section that gives the active state a glow size draws the caption over a halo in its
// glow colour; the inactive state, without one, has none. The halo's picture is kept per state
// and made again only for another text.
TEST_F(ProviderTest, TheCaptionGlowsInTheStatesTheTitleSectionAsksFor) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  ASSERT_TRUE(p.FormActive());
  sk::SkinTables& tables = manager_->Core().Tables;
  const int title = tables.FindSection("FORMTITLE");
  ASSERT_GE(title, 0);
  const graphics::Bitmap plain = p.ComposedImage()->Clone();
  sk::TsGenState& active = tables.Sections[static_cast<std::size_t>(title)].Props[1];
  ASSERT_EQ(active.GlowSize, 0);
  active.GlowSize = 4;
  active.GlowColor = 0x0000FF;  // red
  p.InvalidateWindowImage();
  const graphics::Bitmap* glowing = p.ComposedImage();
  ASSERT_NE(glowing, nullptr);
  const int top = p.FrameWidth(), bottom = top + p.CaptionHeight();
  int redder = 0, otherwise = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < Button(p, kMin).Rect.left; ++x) {
      const std::uint32_t a = plain.PixelWord(x, y), b = glowing->PixelWord(x, y);
      if (a == b) continue;
      const int redA = a >> 16 & 0xFF, redB = b >> 16 & 0xFF;
      (redB > redA ? redder : otherwise)++;
    }
  }
  EXPECT_GT(redder, 100);
  EXPECT_LT(otherwise, redder / 20);  // a few anti-aliased letter edges
  ASSERT_FALSE(p.TitleGlow().Picture(1).Empty());
  EXPECT_TRUE(p.TitleGlow().Picture(0).Empty());
  // Composed again for the same text: the same picture.
  const graphics::Bitmap kept = p.TitleGlow().Picture(1).Clone();
  const std::uint8_t* keptRow = p.TitleGlow().Picture(1).ScanLine(0);
  p.InvalidateWindowImage();
  p.ComposedImage();
  EXPECT_EQ(p.TitleGlow().Picture(1).ScanLine(0), keptRow);
  // Another text: another halo.
  f.SetCaption(L"Sapala Bahasa Vova");
  p.ComposedImage();
  const graphics::Bitmap& again = p.TitleGlow().Picture(1);
  ASSERT_EQ(again.Width(), kept.Width());
  ASSERT_EQ(again.Height(), kept.Height());
  int changed = 0;
  for (int y = 0; y < kept.Height(); ++y) {
    for (int x = 0; x < kept.Width(); ++x) changed += again.ScanLine(y)[x] != kept.ScanLine(y)[x];
  }
  EXPECT_GT(changed, 100);
  // Inactive: no glow size, no halo.
  ::SetForegroundWindow(host_->WindowHandle());
  app_->ProcessMessages();
  ASSERT_FALSE(p.FormActive());
  p.ComposedImage();
  EXPECT_TRUE(p.TitleGlow().Picture(0).Empty());
}

// The title shows the form's icon as it is now, after every WM_SETICON.
TEST_F(ProviderTest, ANewFormIconReachesTheWindowImage) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  const graphics::Rect r = p.IconRect();
  ASSERT_FALSE(r.empty());
  auto reds = [&] {
    const graphics::Bitmap* image = p.ComposedImage();
    int n = 0;
    for (int y = r.top; image && y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += (image->PixelWord(x, y) & 0xFFFFFFu) == 0xFF0000u;
    }
    return n;
  };
  EXPECT_LT(reds(), r.width() * r.height() / 2);
  // A red square with an all-opaque mask.
  const int side = ::GetSystemMetrics(SM_CXSMICON);
  std::vector<std::uint32_t> red(static_cast<std::size_t>(side * side), 0x00FF0000u);
  std::vector<std::uint8_t> opaque(static_cast<std::size_t>((side + 15) / 16 * 2 * side), 0);
  const Bitmap color(::CreateBitmap(side, side, 1, 32, red.data()));
  const Bitmap mask(::CreateBitmap(side, side, 1, 1, opaque.data()));
  ICONINFO info{TRUE, 0, 0, mask.get(), color.get()};
  const Icon icon(::CreateIconIndirect(&info));
  ASSERT_TRUE(icon);
  ::SendMessageW(f.WindowHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
  EXPECT_GT(reds(), r.width() * r.height() / 2);
  ::SendMessageW(f.WindowHandle(), WM_SETICON, ICON_SMALL, 0);  // before the icon goes
  EXPECT_LT(reds(), r.width() * r.height() / 2);
}

// The window image keeps its memory and its caption picture across caption changes, resizes
// and activation: whatever it reuses, it must equal the image of a window made at that size.
TEST_F(ProviderTest, AResizedWindowsImageEqualsAFreshWindowsImage) {
  auto differing = [](const graphics::Bitmap& x, const graphics::Bitmap* y) {
    if (!y || x.Width() != y->Width() || x.Height() != y->Height()) return -1;
    int n = 0;
    for (int row = 0; row < x.Height(); ++row) {
      for (int col = 0; col < x.Width(); ++col)
        n += x.PixelWord(col, row) != y->PixelWord(col, row);
    }
    return n;
  };
  TSysForm& a = ShowForm("A", "  BorderStyle = bsSizeable\n");
  TsSkinProvider& pa = *TsSkinProvider::Of(a.WindowHandle());
  ASSERT_NE(pa.ComposedImage(), nullptr);
  {
    // Skinned while it was shown, the window shows its active frame: the title's middle on the
    // screen is the image's.
    const graphics::Bitmap& image = *pa.ComposedImage();
    const int x = image.Width() / 2, y = pa.FrameWidth() + pa.CaptionHeight() / 2;
    WindowDC dc(a.WindowHandle(), true);
    const COLORREF shown = ::GetPixel(dc.get(), x, y);
    const std::uint32_t word = image.PixelWord(x, y);
    EXPECT_EQ(shown, RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF));
  }
  a.SetCaption(L"Sapala Bahasa Vova");
  ASSERT_NE(pa.ComposedImage(), nullptr);
  RECT wr{};
  ::GetWindowRect(a.WindowHandle(), &wr);
  // Smaller: the image is now the corner of a wider memory.
  ::SetWindowPos(a.WindowHandle(), nullptr, 0, 0, wr.right - wr.left - 37, wr.bottom - wr.top - 21,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(pa.FormActive());
  const graphics::Bitmap active = pa.ComposedImage()->Clone();
  ::SetForegroundWindow(host_->WindowHandle());
  app_->ProcessMessages();
  ASSERT_FALSE(pa.FormActive());
  const graphics::Bitmap inactive = pa.ComposedImage()->Clone();

  TSysForm& b = ShowForm("B",
                         "  BorderStyle = bsSizeable\n  Caption = 'Sapala Bahasa Vova'\n"
                         "  ClientWidth = 263\n  ClientHeight = 139\n");
  TsSkinProvider& pb = *TsSkinProvider::Of(b.WindowHandle());
  ASSERT_TRUE(pb.FormActive());
  EXPECT_EQ(differing(active, pb.ComposedImage()), 0);
  ::SetForegroundWindow(host_->WindowHandle());
  app_->ProcessMessages();
  ASSERT_FALSE(pb.FormActive());
  EXPECT_EQ(differing(inactive, pb.ComposedImage()), 0);
}

// The manager's FormShow and FormHide settings animate a skinned form's showing and hiding;
// the program's own settings (time 0) and times below one step show and hide at once.
TEST_F(ProviderTest, ShowingAndHidingAFormRunTheManagersAnimations) {
  struct Case {
    int time;
    std::size_t showPictures;  // at 0, N + 1 steps, the last
    std::size_t hidePictures;  // at 255, N + 1 steps
  } cases[] = {{0, 0, 0}, {11, 0, 0}, {36, 6, 5}};
  std::vector<skin::LayeredFrame> seen;
  skin::SetLayeredFrameObserver([&seen](const skin::LayeredFrame& f) { seen.push_back(f); });
  for (const Case& c : cases) {
    SCOPED_TRACE("time " + std::to_string(c.time));
    auto& effects = manager_->Core().AnimEffects;
    effects.FormShow.Time = effects.FormHide.Time = static_cast<std::uint16_t>(c.time);
    effects.FormShow.Mode = effects.FormHide.Mode = sk::TlcAnimType::atFading;
    TSysForm& f = app_->Create<TSysForm>();
    f.LoadDescription("object A" + std::to_string(c.time) +
                      ": TSysForm\n  Left = 100\n  Top = 80\n  Caption = 'Sapala'\n"
                      "  ClientWidth = 300\n  ClientHeight = 160\nend\n");
    f.CreateHandle();
    std::vector<skin::TlcAnimEvent> events;
    // The first showing (the hook skins the form while it shows: its provider is not there to
    // be asked for events before), then a second one.
    for (int round = 0; round < 2; ++round) {
      SCOPED_TRACE("showing " + std::to_string(round + 1));
      seen.clear();
      f.Show();
      app_->ProcessMessages();
      TsSkinProvider* p = TsSkinProvider::Of(f.WindowHandle());
      ASSERT_NE(p, nullptr);
      if (round == 0) {
        p->OnAfterAnimation = [&events](skin::TlcAnimEvent e) { events.push_back(e); };
      }
      EXPECT_TRUE(::IsWindowVisible(f.WindowHandle()));
      EXPECT_EQ(p->FormState() & skin::fsShowing, 0u);
      RECT wr{};
      ::GetWindowRect(f.WindowHandle(), &wr);
      ASSERT_EQ(seen.size(), c.showPictures);
      if (c.showPictures) {
        EXPECT_EQ(seen.front().Opacity, 0);
        EXPECT_EQ(seen.back().Opacity, 255);
        EXPECT_TRUE(::EqualRect(&seen.back().Bounds, &wr));
        if (round > 0) {
          EXPECT_EQ(events, std::vector<skin::TlcAnimEvent>{skin::TlcAnimEvent::aeShowing});
        }
      } else {
        EXPECT_TRUE(events.empty());
      }
      seen.clear();
      events.clear();
      f.Hide();
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
      while (skin::HideTimer() && skin::HideTimer()->Running() &&
             std::chrono::steady_clock::now() < until) {
        app_->ProcessMessages();
        ::Sleep(1);
      }
      EXPECT_FALSE(::IsWindowVisible(f.WindowHandle()));
      ASSERT_EQ(seen.size(), c.hidePictures);
      if (c.hidePictures) {
        EXPECT_EQ(seen.front().Opacity, 255);
        EXPECT_TRUE(::EqualRect(&seen.front().Bounds, &wr))
            << "the picture stays where the form was";
        EXPECT_EQ(events, std::vector<skin::TlcAnimEvent>{skin::TlcAnimEvent::aeHiding});
      } else {
        EXPECT_TRUE(events.empty());
      }
      events.clear();
    }
    app_->Extract(&f).reset();
  }
  skin::SetLayeredFrameObserver(nullptr);
}

TEST_F(ProviderTest, TheSystemMenuOpensFromIconRightClickAltSpaceAndTheTaskBar) {
  // The platform's own menu: the one left when popups are not skinned.
  manager_->Core().SetSkinnedPopups(false);
  TSysForm& f =
      ShowForm("F", "  BorderStyle = bsSingle\n  BorderIcons = [biSystemMenu, biMinimize]\n");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  HWND hwnd = f.WindowHandle();
  const graphics::Rect icon = p.IconRect();
  ASSERT_FALSE(icon.empty());
  // No maximize button on this form; minimize sits left of close.
  EXPECT_FALSE(Button(p, kMax).Visible);
  EXPECT_TRUE(Button(p, kMin).Visible);
  Post(f, WM_NCLBUTTONDOWN, Center(icon));
  ASSERT_EQ(menus_.size(), 1u);
  // bsSingle cannot be sized, a normal window not restored, and there is no maximize.
  std::sort(grayed_.begin(), grayed_.end());
  EXPECT_EQ(grayed_, (std::vector<UINT>{SC_SIZE, SC_MAXIMIZE, SC_RESTORE}));
  Post(f, WM_NCRBUTTONUP, {f.Width() / 2, p.FrameWidth() + 3});
  EXPECT_EQ(menus_.size(), 2u);
  ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  EXPECT_EQ(menus_.size(), 3u);
  ::SendMessageW(hwnd, 0x313, 0, 0);
  EXPECT_EQ(menus_.size(), 4u);
  // The chosen command is posted to the form; the system menu style stays off.
  chosen_ = SC_MINIMIZE;
  f.commands.clear();
  Post(f, WM_NCLBUTTONDOWN, Center(icon));
  EXPECT_EQ(f.commands, (std::vector<UINT>{SC_MINIMIZE}));
  EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_SYSMENU, 0);
  // A caption double click on a form that cannot maximize does nothing.
  f.commands.clear();
  Post(f, WM_NCLBUTTONDBLCLK, {f.Width() / 2, p.FrameWidth() + 3});
  EXPECT_TRUE(f.commands.empty());
}

// While the manager skins popups, the icon opens the skinned system menu: the menu painter draws
// its rows (restore, move, size, minimize, maximize, close carry their commands as tags).
TEST_F(ProviderTest, WithSkinnedPopupsTheIconOpensTheSkinnedSystemMenu) {
  ASSERT_TRUE(manager_->Core().SkinnedPopups());
  TSysForm& f =
      ShowForm("F", "  BorderStyle = bsSingle\n  BorderIcons = [biSystemMenu, biMinimize]\n");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  std::vector<INT_PTR> drawn;
  manager_->Menus().OnDrawItem = [&](TMenuItem& item, HDC, graphics::Bitmap&, int, UINT,
                                     const RECT&) {
    drawn.push_back(item.Tag);
    if (item.Tag == SC_CLOSE) ::EndMenu();
  };
  // A timer ends the menu loop should nothing be drawn.
  const UINT_PTR timer =
      ::SetTimer(nullptr, 0, 2000, [](HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); });
  Post(f, WM_NCLBUTTONDOWN, Center(p.IconRect()));
  ::KillTimer(nullptr, timer);
  manager_->Menus().OnDrawItem = nullptr;
  EXPECT_TRUE(menus_.empty());  // not the platform's menu
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), SC_MOVE), drawn.end());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), SC_CLOSE), drawn.end());
}

// A picture of the whole window (what the show and hide animations take) carries the skinned
// frame, not the system's.
TEST_F(ProviderTest, APictureOfTheWindowHasTheSkinnedFrame) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  const graphics::Bitmap* image = p.ComposedImage();
  ASSERT_NE(image, nullptr);
  graphics::Bitmap shot = graphics::NewBitmap32(image->Width(), image->Height());
  skin::SnapshotWindow(shot, f, 0, 0, &p);
  // The middle of the title band, left of the buttons, and a point of the left border.
  const int titleY = p.FrameWidth() + p.CaptionHeight() / 2;
  for (const POINT pt : {POINT{image->Width() / 2 - 20, titleY}, POINT{1, image->Height() / 2}}) {
    EXPECT_EQ(shot.PixelWord(pt.x, pt.y) & 0xFFFFFFu, image->PixelWord(pt.x, pt.y) & 0xFFFFFFu)
        << "at " << pt.x << "," << pt.y;
  }
}

TEST_F(ProviderTest, ScreenSnapIsOffUntilTurnedOn) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  HWND hwnd = f.WindowHandle();
  MONITORINFO mi{sizeof mi, {}, {}, 0};
  ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi));
  auto moveTo = [&](int x) {
    ::SetWindowPos(hwnd, nullptr, x, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r.left;
  };
  EXPECT_FALSE(p.ScreenSnap);
  EXPECT_EQ(moveTo(mi.rcWork.left + 7), mi.rcWork.left + 7);
  p.ScreenSnap = true;
  EXPECT_EQ(moveTo(mi.rcWork.left + 7), mi.rcWork.left);
  EXPECT_EQ(moveTo(mi.rcWork.left + 10), mi.rcWork.left + 10);  // the distance must be below 10
}

TEST_F(ProviderTest, TheProcedureChainIsGivenBackWhicheverGoesFirst) {
  // The provider goes first: the form answers as an unskinned form and keeps working.
  TSysForm& f = ShowForm("F");
  TsSkinProvider* p = TsSkinProvider::Of(f.WindowHandle());
  ASSERT_NE(p, nullptr);
  f.Extract(p).reset();
  EXPECT_EQ(TsSkinProvider::Of(f.WindowHandle()), nullptr);
  EXPECT_NE(::GetWindowLongPtrW(f.WindowHandle(), GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_EQ(
      ::SendMessageW(f.WindowHandle(), skin::SM_LUMOCMD, MAKEWPARAM(0, skin::cmdIsSkinned), 0), 0);
  EXPECT_TRUE(std::find(skin::ProviderForms().begin(), skin::ProviderForms().end(), &f) ==
              skin::ProviderForms().end());
  // A subclass put on after the provider keeps the form when the provider goes.
  TSysForm& g = ShowForm("G");
  TsSkinProvider* q = TsSkinProvider::Of(g.WindowHandle());
  ASSERT_NE(q, nullptr);
  auto later = std::make_shared<LaterHook>();
  later->previous = std::move(g.WindowProc);
  g.WindowProc = [later](Message& m) {
    ++later->seen;
    later->previous(m);
  };
  g.Extract(q).reset();
  later->seen = 0;
  ::SendMessageW(g.WindowHandle(), WM_NULL, 0, 0);
  EXPECT_GT(later->seen, 0);
  // The window goes first: the provider lets go of nothing twice and gives the procedure back.
  TSysForm& h = ShowForm("H");
  TsSkinProvider* r = TsSkinProvider::Of(h.WindowHandle());
  ASSERT_NE(r, nullptr);
  h.DestroyHandle();
  h.Extract(r).reset();
  Message m{WM_NULL, 0, 0};
  h.WindowProc(m);  // the form's own procedure again
}

TEST_F(ProviderTest, AnExplicitProviderReplacesAnAutomaticOneAndASecondIsInert) {
  TSysForm& f = ShowForm("F");
  TsSkinProvider* automatic = TsSkinProvider::Of(f.WindowHandle());
  ASSERT_NE(automatic, nullptr);
  TsSkinProvider& explicitOne = f.Create<TsSkinProvider>();
  EXPECT_FALSE(explicitOne.Inert());
  EXPECT_EQ(TsSkinProvider::Of(f.WindowHandle()), &explicitOne);
  TsSkinProvider& second = f.Create<TsSkinProvider>();
  EXPECT_TRUE(second.Inert());
  EXPECT_EQ(TsSkinProvider::Of(f.WindowHandle()), &explicitOne);
  // Only forms carry one.
  EXPECT_THROW(host_->Create<TEdit>().Create<TsSkinProvider>(), std::logic_error);
}

TEST_F(ProviderTest, AProviderPlacedOnTheFormSkinsItsWindowWithItsOwnTitleButton) {
  TSysForm& f = app_->Create<TSysForm>();
  std::vector<std::string> events;
  f.RegisterHandler("PinDown", TMouseEvent([&](TObject&, MouseButton b, unsigned, int, int) {
                      events.push_back(b == MouseButton::mbLeft ? "down left" : "down");
                    }));
  f.RegisterHandler("PinUp", TMouseEvent([&](TObject&, MouseButton, unsigned, int, int) {
                      events.push_back("up");
                    }));
  f.LoadDescription(
      "object F: TSysForm\n  Caption = 'Pinned'\n  ClientWidth = 300\n  ClientHeight = 160\n"
      "  object Prov: TsSkinProvider\n    CaptionAlignment = taCenter\n    SnapBuffer = 4\n"
      "    TitleButtons = <\n      item\n        Name = 'Pin'\n        OnMouseDown = PinDown\n"
      "        OnMouseUp = PinUp\n      end>\n  end\nend\n");
  f.CreateHandle();
  f.Show();
  app_->ProcessMessages();
  auto* p = f.Find<TsSkinProvider>("Prov");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(TsSkinProvider::Of(f.WindowHandle()), p);
  EXPECT_FALSE(p->AutoCreated());
  EXPECT_TRUE(p->UseGlobalColor);
  EXPECT_EQ(p->SnapBuffer, 4);
  EXPECT_EQ(p->CaptionAlignment, sk::CaptionAlignment::taCenter);
  EXPECT_TRUE(p->FrameSkinned());
  ASSERT_EQ(p->Buttons().User.size(), 1u);
  const sk::CaptionButtonInfo& pin = p->Buttons().User[0];
  ASSERT_TRUE(pin.Visible);
  // Left of the system buttons, as wide as one frame of the skin's TITLEBUTTON (57 / 3).
  EXPECT_LT(pin.Rect.right, Button(*p, kMin).Rect.left);
  EXPECT_EQ(pin.Rect.width(), 19);
  EXPECT_EQ(::SendMessageW(f.WindowHandle(), WM_NCHITTEST, 0,
                           ScreenParam(f.WindowHandle(), Center(pin.Rect))),
            sk::kHitUserButton);
  Post(f, WM_NCLBUTTONDOWN, Center(pin.Rect));
  Post(f, WM_NCLBUTTONUP, Center(pin.Rect));
  EXPECT_EQ(events, (std::vector<std::string>{"down left", "up"}));
  EXPECT_TRUE(f.commands.empty());
}

TEST_F(ProviderTest, WindowsAndSkinsComeAndGoWithoutLeftovers) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 1000; ++i) {
    TSysForm& f = ShowForm("Cycle");
    ASSERT_NE(TsSkinProvider::Of(f.WindowHandle()), nullptr) << i;
    app_->Extract(&f).reset();
  }
  const auto cycles = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(skin::ProviderForms().empty());
  EXPECT_TRUE(manager_->CbtHook()->HookedWindows().empty());

  TSysForm& f = ShowForm("F");
  TsSkinProvider& p = *TsSkinProvider::Of(f.WindowHandle());
  for (int i = 0; i < 100; ++i) {
    manager_->Core().SetActive(i % 2 != 0);
    const bool skinned = i % 2 != 0;
    ASSERT_EQ(p.FrameSkinned(), skinned) << i;
    ASSERT_EQ((::GetWindowLongPtrW(f.WindowHandle(), GWL_STYLE) & WS_SYSMENU) == 0, skinned) << i;
    app_->ProcessMessages();
  }
  EXPECT_EQ(TsSkinProvider::Of(f.WindowHandle()), &p);
  const auto all = std::chrono::steady_clock::now() - start;
  std::printf(
      "1000 skinned form cycles: %lld ms; with 100 skin switches: %lld ms\n",
      static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(cycles).count()),
      static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(all).count()));
}

}  // namespace
}  // namespace sapala::win::testing
