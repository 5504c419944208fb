// The caption buttons' hover, press and release sequences and the commands they give.
#include "core/skin/caption_buttons.h"

#include <gtest/gtest.h>

#include "core/skin/frame_hit_test.h"

namespace sapala::skin {
namespace {

using R = std::vector<ButtonRepaint>;
using A = CaptionAction;

FormRulesInput Rules(TWindowState state = TWindowState::wsNormal,
                     TBorderIcons icons = biSystemMenu | biMinimize | biMaximize) {
  FormRulesInput f;
  f.WindowState = state;
  f.BorderIcons = icons;
  return f;
}

TEST(CaptionButtons, HoverMovesTheHotButton) {
  CaptionButtonTracker t;
  EXPECT_EQ(t.Hover(kHitClose).Repaints, (R{{20, 1}}));
  EXPECT_EQ(t.Hover(kHitClose).Repaints, R{});
  EXPECT_EQ(t.Hover(kHitMaxButton).Repaints, (R{{20, 0}, {9, 1}}));
  EXPECT_EQ(t.StateOf(kHitMaxButton), 1);
  EXPECT_EQ(t.StateOf(kHitClose), 0);
  EXPECT_EQ(t.Hover(2).Repaints, (R{{9, 0}}));
  EXPECT_EQ(t.Current(), 0);
  t.Hover(1003);
  EXPECT_EQ(t.Leave().Repaints, (R{{1003, 0}}));
  EXPECT_EQ(t.Current(), 0);
}

TEST(CaptionButtons, ReleaseActsOnlyOnThePressedButton) {
  struct Case {
    TWindowState state;
    TBorderIcons icons;
    int press, release;
    A want;
  };
  const TBorderIcons all = biSystemMenu | biMinimize | biMaximize;
  const Case cases[] = {
      {TWindowState::wsNormal, all, kHitMinButton, kHitClose, A::None},  // must not close
      {TWindowState::wsNormal, all, kHitClose, kHitMinButton, A::None},
      {TWindowState::wsNormal, all, kHitClose, 2, A::None},  // released outside every button
      {TWindowState::wsNormal, all, kHitClose, kHitClose, A::Close},
      {TWindowState::wsNormal, all, kHitMinButton, kHitMinButton, A::Minimize},
      {TWindowState::wsMinimized, all, kHitMinButton, kHitMinButton, A::Restore},
      {TWindowState::wsNormal, all, kHitMaxButton, kHitMaxButton, A::Maximize},
      {TWindowState::wsMaximized, all, kHitMaxButton, kHitMaxButton, A::Restore},
      {TWindowState::wsNormal, biSystemMenu, kHitMaxButton, kHitMaxButton, A::None},
      {TWindowState::wsNormal, all, kHitHelp, kHitHelp, A::ContextHelp},
      {TWindowState::wsNormal, all, kHitMdiClose, kHitMdiClose, A::MdiClose},
      {TWindowState::wsMaximized, all, kHitMdiRestore, kHitMdiRestore, A::MdiRestore},
      {TWindowState::wsNormal, all, kHitMdiRestore, kHitMdiRestore, A::None},
      {TWindowState::wsNormal, all, kHitMdiMinimize, kHitMdiMinimize, A::MdiMinimize},
      {TWindowState::wsNormal, all, 1002, 1002, A::UserUp},
      {TWindowState::wsNormal, all, 1002, 1001, A::None},
      {TWindowState::wsNormal, all, 2, kHitClose, A::None},  // no press on a button
  };
  int n = 0;
  for (const Case& c : cases) {
    CaptionButtonTracker t;
    const FormRulesInput f = Rules(c.state, c.icons);
    t.Hover(c.press);
    t.Press(c.press, f);
    const CaptionStep s = t.Release(c.release, f);
    EXPECT_EQ(s.Action, c.want) << "case " << n;
    EXPECT_EQ(t.Current(), 0) << "case " << n;
    EXPECT_FALSE(t.PressPending()) << "case " << n;
    EXPECT_EQ(t.StateOf(c.press), 0) << "case " << n;
    ++n;
  }
}

TEST(CaptionButtons, PressedButtonFollowsThePointer) {
  CaptionButtonTracker t;
  const FormRulesInput f = Rules();
  t.Hover(kHitClose);
  EXPECT_EQ(t.Press(kHitClose, f).Repaints, (R{{20, 2}}));
  EXPECT_TRUE(t.PressPending());
  // Away: shown normal; other buttons do not become hot while the press lasts.
  EXPECT_EQ(t.Hover(kHitMinButton).Repaints, (R{{20, 0}}));
  EXPECT_EQ(t.StateOf(kHitMinButton), 0);
  EXPECT_EQ(t.Hover(2).Repaints, R{});
  EXPECT_EQ(t.Hover(kHitClose).Repaints, (R{{20, 2}}));
  EXPECT_EQ(t.Release(kHitClose, f).Action, A::Close);

  // A disabled maximize is never pressed.
  const FormRulesInput noMax = Rules(TWindowState::wsNormal, biSystemMenu | biMinimize);
  t.Hover(kHitMaxButton);
  EXPECT_EQ(t.Press(kHitMaxButton, noMax).Repaints, (R{{9, 0}}));
  EXPECT_FALSE(t.PressPending());

  // A user button reports its press at once.
  const CaptionStep down = t.Press(1001, f);
  EXPECT_EQ(down.Action, A::UserDown);
  EXPECT_EQ(down.UserIndex, 1);
  EXPECT_EQ(t.Release(1001, f).UserIndex, 1);
}

TEST(CaptionButtons, LeavingEndsHotAndPressedButtons) {
  CaptionButtonTracker t;
  const FormRulesInput f = Rules();
  t.Hover(kHitClose);
  t.Press(kHitClose, f);
  EXPECT_EQ(t.Leave().Repaints, (R{{20, 0}}));
  EXPECT_FALSE(t.PressPending());
  // The release after coming back over the button no longer closes.
  t.Hover(kHitClose);
  EXPECT_EQ(t.Release(kHitClose, f).Action, A::None);
  EXPECT_EQ(t.StateOf(kHitClose), 1);
}

TEST(CaptionButtons, DoubleClick) {
  using WS = TWindowState;
  const TBorderIcons all = biSystemMenu | biMinimize | biMaximize;
  const TBorderIcons minOnly = biSystemMenu | biMinimize;
  struct Case {
    int code;
    TFormBorderStyle style;
    WS state;
    TBorderIcons icons;
    A want;
    bool systemMenu = true;
  };
  const Case cases[] = {
      // Without a system menu there is no maximize button to act for.
      {2, TFormBorderStyle::bsSizeable, WS::wsNormal, all, A::None, false},
      {2, TFormBorderStyle::bsSizeable, WS::wsMinimized, all, A::Restore, false},
      {2, TFormBorderStyle::bsSizeable, WS::wsNormal, all, A::Maximize},
      {2, TFormBorderStyle::bsSizeable, WS::wsMaximized, all, A::Restore},
      {2, TFormBorderStyle::bsSizeable, WS::wsMinimized, all, A::Restore},
      {2, TFormBorderStyle::bsSingle, WS::wsNormal, minOnly, A::None},  // no maximize button
      {2, TFormBorderStyle::bsSingle, WS::wsMinimized, minOnly, A::Restore},
      {2, TFormBorderStyle::bsToolWindow, WS::wsNormal, all, A::None},
      {3, TFormBorderStyle::bsSingle, WS::wsNormal, all, A::Close},
      {1, TFormBorderStyle::bsSizeable, WS::wsNormal, all, A::None},
      {kHitClose, TFormBorderStyle::bsSizeable, WS::wsNormal, all, A::None},
  };
  int n = 0;
  for (const Case& c : cases) {
    FormRulesInput f = Rules(c.state, c.icons);
    f.BorderStyle = c.style;
    f.HasSystemMenu = c.systemMenu;
    EXPECT_EQ(CaptionDoubleClick(c.code, f), c.want) << "case " << n;
    ++n;
  }
}

}  // namespace
}  // namespace sapala::skin
