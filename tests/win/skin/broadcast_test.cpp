// The order in which SM_LUMOCMD reaches forms, controls and hooked windows, with real windows.
#include "win/skin/broadcast.h"

#include "skin_fixture.h"

namespace sapala::win::testing {
namespace {

using Strings = std::vector<std::string>;

// A plain windowed container with a windowless child, a windowless control, and a skinned
// windowed control whose own windowless child is its business, not the walk's.
constexpr char kTree[] = R"(  object %w: TRecWin
    Left = 0
    Top = 0
    Width = 50
    Height = 50
    object %wa: TRecDot
      Width = 5
      Height = 5
    end
  end
  object %d: TRecDot
    Width = 5
    Height = 5
  end
  object %s: TRecWin
    Left = 60
    Width = 50
    Height = 50
    Skinned = True
    object %sa: TRecDot
      Width = 5
      Height = 5
    end
  end
)";

std::string Tree(const std::string& prefix) {
  std::string s = kTree;
  for (std::size_t at; (at = s.find('%')) != std::string::npos;) s.replace(at, 1, prefix);
  return s;
}

skin::Lumo Command(WORD cmd) { return skin::Lumo{skin::SM_LUMOCMD, MAKEWPARAM(0, cmd), 0}; }

class BroadcastTest : public SkinTest {};

TEST_F(BroadcastTest, FormsLastFirstThenProviderFormsThenVisibleHookedWindows) {
  AddForm("A", Tree("A"));
  AddForm("B", Tree("B"));
  // Forms outside the application: one with a provider, two skinned by the hook.
  TComponent holder(nullptr);
  TRecForm& withProvider = holder.Create<TRecForm>();
  withProvider.LoadDescription("object P: TRecForm\n" + Tree("P") + "end\n");
  withProvider.CreateHandle();
  TRecForm& hooked = holder.Create<TRecForm>();
  hooked.LoadDescription("object H: TRecForm\nend\n");
  hooked.CreateHandle();
  hooked.Show();
  TRecForm& hidden = holder.Create<TRecForm>();
  hidden.LoadDescription("object Hidden: TRecForm\nend\n");
  hidden.CreateHandle();

  std::vector<TForm*> providers{&withProvider};
  skin::BroadcastToAll(*app_, providers, {hidden.WindowHandle(), hooked.WindowHandle()},
                       Command(3));
  const Strings want{"B:3", "Bwa:3", "Bd:3", "Bs:3",  // last form first
                     "A:3", "Awa:3", "Ad:3", "As:3",
                     "P:3", "Pwa:3", "Pd:3", "Ps:3",  // the form with a provider
                     "H:3"};                          // the visible hooked window only
  EXPECT_EQ(Log(), want);
}

TEST_F(BroadcastTest, EachWindowedChildIsAskedOnceWhetherItIsSkinned) {
  TRecForm& a = AddForm("A", Tree("A"));
  auto& plain = Get<TRecWin>(a, "Aw");
  auto& skinned = Get<TRecWin>(a, "As");
  skin::BroadcastToAll(*app_, {}, {}, Command(1));
  skin::BroadcastToAll(*app_, {}, {}, Command(3));
  EXPECT_EQ(plain.isSkinnedQueries, 2);
  EXPECT_EQ(skinned.isSkinnedQueries, 2);
}

TEST_F(BroadcastTest, ASkinnedFormIsLeftToItsProviderAndADyingChildEndsItsFormsWalk) {
  TRecForm& a = AddForm("A", Tree("A"));
  TRecForm& b = AddForm("B", Tree("B"));
  b.skinned = true;                                    // answered by a provider: step 2's business
  Get<TRecDot>(a, "Ad").SetState(csDestroying, true);  // ends A's child walk there
  skin::BroadcastToAll(*app_, {}, {}, Command(2));
  EXPECT_EQ(Log(), (Strings{"A:2", "Awa:2"}));
  Get<TRecDot>(a, "Ad").SetState(csDestroying, false);
}

TEST_F(BroadcastTest, AControlWithoutItsWindowYetGetsTheMessageOnItsObject) {
  TRecForm& a = app_->Create<TRecForm>();
  a.LoadDescription("object A: TRecForm\n" + Tree("A") + "end\n");  // no window made
  skin::BroadcastToAll(*app_, {}, {}, Command(1));
  // Without windows nothing can be asked: every control gets it directly, children included
  // only where the walk reaches them (a windowed control's object passes nothing on).
  EXPECT_EQ(Log(), (Strings{"A:1", "Aw:1", "Ad:1", "As:1"}));
}

}  // namespace
}  // namespace sapala::win::testing
