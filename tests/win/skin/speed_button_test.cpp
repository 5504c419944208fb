// The speed-button handler on a real form: the section by size, the picture of each state,
// painting through the parent window, hover, press and clicks that still reach the button
// through its parent's mouse messages, the adapter's graphic items, and a button freed before its
// handler.
#include "win/skin/speed_button.h"

#include "control_hook_fixture.h"
#include "core/skin/effects.h"
#include "win/skin/control_adapter.h"

namespace sapala::win::testing {
namespace {

using sapala::skin::ThirdPartyKind;

class SpeedButtonTest : public ControlHookTest {
 protected:
  TSpeedButton& Speed(int x, int y, int w, int h, const char* cls = "TSpeedButton") {
    auto& b = form_->Create<TSpeedButton>();
    b.SetClassName(cls);
    b.SetParent(form_);
    b.SetBounds(x, y, w, h);
    return b;
  }
  void List(ThirdPartyKind kind, const char* names) {
    auto& core = manager_->Core();
    core.ThirdParty.Set(static_cast<int>(kind), names);
    core.ClassLists.LoadFrom(core.ThirdParty);
  }
  LRESULT Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
    return ::SendMessageW(form_->WindowHandle(), msg, keys, MAKELPARAM(x, y));
  }
};

TEST_F(SpeedButtonTest, SmallButtonsTakeTheSmallSection) {
  struct Case {
    int w, h;
    const char* want;
  } cases[] = {{23, 22, "SPEEDBUTTON"},
               {16, 16, "SPEEDBUTTON"},
               {15, 40, "SPEEDBUTTON_SMALL"},
               {40, 12, "SPEEDBUTTON_SMALL"}};
  for (const Case& k : cases) {
    TSpeedButton& b = Speed(10, 10, k.w, k.h);
    TlcSpeedButtonHandler handler(b, manager_, "");
    EXPECT_STREQ(handler.Section().c_str(), k.want) << k.w << "x" << k.h;
  }
}

TEST_F(SpeedButtonTest, EachStatePaintsItsOwnPictureAndClicksStillFire) {
  TSpeedButton& b = Speed(10, 10, 14, 14);
  int clicks = 0;
  b.OnClick = [&](TObject&) { ++clicks; };
  TlcSpeedButtonHandler handler(b, manager_, "");
  ASSERT_TRUE(handler.Install());
  ASSERT_TRUE(handler.PaintCache());
  const POINT mid{7, 7};
  EXPECT_EQ(handler.State(), 0);
  EXPECT_EQ(At(handler.CachePicture(), mid.x, mid.y), ColorOf("SPEEDBUTTON_SMALL"));

  Mouse(WM_MOUSEMOVE, 15, 15);  // over the button: hot
  EXPECT_EQ(handler.State(), 1);
  ASSERT_TRUE(handler.PaintCache());
  EXPECT_EQ(At(handler.CachePicture(), mid.x, mid.y), ColorOf("SPEEDBUTTON_SMALL", true));

  Mouse(WM_LBUTTONDOWN, 15, 15, MK_LBUTTON);
  EXPECT_EQ(handler.State(), 2);
  Mouse(WM_LBUTTONUP, 15, 15);
  EXPECT_EQ(clicks, 1);           // the button's own behaviour, through its parent's messages
  Mouse(WM_MOUSEMOVE, 200, 200);  // away again
  EXPECT_EQ(handler.State(), 0);

  b.SetEnabled(false);
  EXPECT_EQ(handler.State(), 0);
  ASSERT_TRUE(handler.PaintCache());
  const TColor white = 0xFFFFFF;  // the form's colour
  EXPECT_EQ(At(handler.CachePicture(), mid.x, mid.y),
            graphics::MixColors(ColorOf("SPEEDBUTTON_SMALL"), white, 0.6));
}

TEST_F(SpeedButtonTest, ParentPaintsTheSkinnedPictureAndGivesTheOwnLookBack) {
  TSpeedButton& b = Speed(20, 20, 14, 14);
  auto handler = std::make_unique<TlcSpeedButtonHandler>(b, manager_, "");
  ASSERT_TRUE(handler->Install());
  // A second painter is refused while the first holds the button.
  TlcSpeedButtonHandler second(b, manager_, "");
  EXPECT_FALSE(second.Install());
  RECT client{};
  ::GetClientRect(form_->WindowHandle(), &client);
  DibSurface surface;
  surface.Resize(client.right, client.bottom);
  auto print = [&] {
    ::SendMessageW(form_->WindowHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()),
                   PRF_CLIENT);
    ::GdiFlush();
    return At(&surface.Pixels(), 27, 27);
  };
  EXPECT_EQ(print(), ColorOf("SPEEDBUTTON_SMALL"));
  handler.reset();
  EXPECT_EQ(b.Painter(), nullptr);
  EXPECT_NE(print(), ColorOf("SPEEDBUTTON_SMALL"));
}

TEST_F(SpeedButtonTest, GlyphAndCaptionSitSideBySideAndMoveWhenPressed) {
  TSpeedButton& b = Speed(10, 10, 90, 24);
  b.SetCaption(L"Cari");
  graphics::Bitmap glyph(12, 12, graphics::PixelFormat::pf32bit);
  b.SetGlyph(std::move(glyph));
  TlcSpeedButtonHandler handler(b, manager_, "");
  ASSERT_TRUE(handler.Install());
  ASSERT_TRUE(handler.PaintCache());
  const RECT g = handler.GlyphRect(), t = handler.TextRect();
  EXPECT_EQ(g.right - g.left, 12);
  EXPECT_LT(g.right, t.left);
  // The pair is centred: as much room left of the glyph as right of the caption (±1).
  EXPECT_LE(std::abs(g.left - (90 - t.right)), 1);
  Mouse(WM_LBUTTONDOWN, 50, 20, MK_LBUTTON);
  ASSERT_TRUE(handler.PaintCache());
  EXPECT_EQ(handler.GlyphRect().left, g.left + 1);
  EXPECT_EQ(handler.TextRect().top, t.top + 1);
  Mouse(WM_LBUTTONUP, 50, 20);
}

TEST_F(SpeedButtonTest, AdapterGivesListedSpeedButtonsAHandlerAndSurvivesTheirEnd) {
  List(ThirdPartyKind::SpeedButton, "TSpeedButton\nTBigSpeed");
  TlcCtrlAdapter adapter(*form_, manager_);
  TSpeedButton& listed = Speed(10, 10, 23, 22);
  TSpeedButton& small = Speed(40, 10, 14, 14);
  TSpeedButton& other = Speed(60, 10, 23, 22, "TOtherSpeed");
  TSpeedButton& lower = Speed(90, 10, 23, 22, "Tspeedbutton");
  TSpeedButton& excluded = Speed(120, 10, 23, 22);
  excluded.SetTag(-98);
  TSpeedButton& refused = Speed(150, 10, 23, 22, "TBigSpeed");
  std::string offered;
  adapter.OnSkinItem = [&](TControl& c, bool& canBeAdded, std::string& section) {
    offered += section + ";";
    if (&c == &refused) canBeAdded = false;
  };
  adapter.AdaptAll();
  ASSERT_NE(adapter.GraphItemOf(listed), nullptr);
  EXPECT_EQ(adapter.GraphItemOf(listed)->Handler->Section(), "SPEEDBUTTON");
  ASSERT_NE(adapter.GraphItemOf(small), nullptr);
  EXPECT_EQ(adapter.GraphItemOf(small)->Handler->Section(), "SPEEDBUTTON_SMALL");
  EXPECT_EQ(listed.Painter(), adapter.GraphItemOf(listed)->Handler.get());
  for (TSpeedButton* b : {&other, &lower, &excluded, &refused}) {
    EXPECT_EQ(adapter.GraphItemOf(*b), nullptr) << b->ClassName();
    EXPECT_EQ(b->Painter(), nullptr) << b->ClassName();
  }
  EXPECT_EQ(offered, "SPEEDBUTTON;SPEEDBUTTON_SMALL;SPEEDBUTTON;");
  adapter.AdaptAll();  // a second walk adds nothing
  EXPECT_EQ(adapter.GraphItems().size(), 2u);

  // The button goes before the adapter: its handler lets go, the next walk drops the item.
  TlcSpeedButtonHandler* handler = adapter.GraphItemOf(listed)->Handler.get();
  form_->Extract(&listed).reset();
  EXPECT_EQ(handler->Button(), nullptr);
  EXPECT_FALSE(handler->Installed());
  PaintNow(form_->WindowHandle());
  adapter.AdaptAll();
  EXPECT_EQ(adapter.GraphItems().size(), 1u);
  adapter.Clear();
  EXPECT_EQ(small.Painter(), nullptr);
}

TEST_F(SpeedButtonTest, ProgramListsLeaveSpeedButtonsAlone) {
  // Only "TButton" is listed, as in the program: speed buttons keep their own look.
  List(ThirdPartyKind::SpeedButton, " ");
  List(ThirdPartyKind::Button, "TButton");
  TlcCtrlAdapter adapter(*form_, manager_);
  TSpeedButton& b = Speed(10, 10, 23, 22);
  adapter.AdaptAll();
  EXPECT_TRUE(adapter.GraphItems().empty());
  EXPECT_EQ(b.Painter(), nullptr);
}

}  // namespace
}  // namespace sapala::win::testing
