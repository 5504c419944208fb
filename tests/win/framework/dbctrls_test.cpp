// The data-aware grid and navigator over a 200-row query, driven with window messages through
// the application's loop: the grid keeps the current record on screen whichever way it moves
// (keys, scroll-bar arrows and pages, the wheel, a click), its scroll bar
// shows the current record among all of them, and the navigator's buttons are enabled by
// where the current record is and move it when clicked.
#include "win/framework/dbctrls.h"

#include <gtest/gtest.h>

#include "../support/input.h"

#include <memory>
#include <string>
#include <vector>

#include "core/data/workbook.h"
#include "core/data/workbook_writer.h"
#include "win/framework/application.h"
#include "win/framework/forms.h"
#include "win/framework/stdctrls.h"

namespace sapala::win {
namespace {

constexpr char kDescription[] = R"(object GridForm: TGridForm
  Left = 10
  Top = 10
  BorderStyle = bsSingle
  Caption = 'Grid'
  ClientWidth = 240
  ClientHeight = 160
  object DBGrid1: TDBGrid
    Left = 8
    Top = 8
    Width = 129
    Height = 113
    DataSource = DataSource1
    Options = [dgIndicator, dgRowSelect, dgAlwaysShowSelection]
    ReadOnly = True
    TabOrder = 0
    OnCellClick = DBGrid1CellClick
    Columns = <
      item
        FieldName = 'ID'
      end>
  end
  object DBNavigator1: TDBNavigator
    Left = 8
    Top = 130
    Width = 136
    Height = 18
    DataSource = DataSource1
    VisibleButtons = [nbFirst, nbPrior, nbNext, nbLast]
    TabOrder = 1
  end
  object ADOConnection1: TADOConnection
    LoginPrompt = False
  end
  object ADOQuery1: TADOQuery
    Connection = ADOConnection1
    CursorType = ctStatic
  end
  object DataSource1: TDataSource
    DataSet = ADOQuery1
  end
end
)";

class TGridForm : public TForm {
 public:
  explicit TGridForm(TComponent* owner) : TForm(owner) {
    RegisterHandler("DBGrid1CellClick", TNotifyEvent([this](TObject&) { ++cell_clicks; }));
    LoadDescription(kDescription);
  }
  int cell_clicks = 0;
};

constexpr std::size_t kRows = 200;

class DbControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStandardControls();
    RegisterDataControls();
    RegisterComponentClass<TGridForm>("TGridForm");
    app_ = std::make_unique<TApplication>();
    app_->OnException = [this](const std::string& m) { errors_.push_back(m); };
    form_ = &app_->CreateForm<TGridForm>();
    grid_ = form_->Find<TDBGrid>("DBGrid1");
    nav_ = form_->Find<TDBNavigator>("DBNavigator1");
    query_ = form_->Find<TADOQuery>("ADOQuery1");
    std::vector<std::vector<std::string>> rows{{"ID", "warna"}};
    for (std::size_t i = 0; i < kRows; ++i) rows.push_back({"w" + std::to_string(1000 + i), "m"});
    auto db = std::make_unique<data::Database>();
    db->Load(data::ReadWorkbook(data::WriteWorkbook({{"warna", rows}})));
    form_->Find<TADOConnection>("ADOConnection1")->Core().OpenDatabase(std::move(db), "test");
    query_->SetSql("select*from warna");
    query_->Open();
    form_->Show();
    app_->ProcessMessages();
    visible_ = static_cast<std::size_t>(grid_->VisibleRowCount());
    ASSERT_GT(visible_, 2u);
    ASSERT_LT(visible_, 20u);
  }
  void TearDown() override {
    app_.reset();
    EXPECT_TRUE(errors_.empty()) << errors_.front();
  }

  HWND Grid() const { return grid_->WindowHandle(); }
  void Post(HWND to, UINT msg, WPARAM w, LPARAM l) {
    ::PostMessageW(to, msg, w, l);
    app_->ProcessMessages();
  }
  // The current record is on screen, and the scroll bar shows it among all the records.
  void ExpectShown(const char* step) {
    const std::size_t recno = query_->RecNo();
    EXPECT_GE(recno - 1, grid_->TopRow()) << step;
    EXPECT_LT(recno - 1, grid_->TopRow() + visible_) << step;
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(Grid(), SB_VERT, &si);
    EXPECT_EQ(si.nMax, static_cast<int>(kRows - 1)) << step;
    EXPECT_EQ(si.nPos, static_cast<int>(recno - 1)) << step;
  }

  std::unique_ptr<TApplication> app_;
  TGridForm* form_ = nullptr;
  TDBGrid* grid_ = nullptr;
  TDBNavigator* nav_ = nullptr;
  TADOQuery* query_ = nullptr;
  std::size_t visible_ = 0;
  std::vector<std::string> errors_;
};

TEST_F(DbControlsTest, KeysMoveTheRecordAndTheGridFollows) {
  ::SetFocus(Grid());
  struct Step {
    WORD key;
    int times;
    std::size_t recno, top;  // top: 0-based first row on screen
  } steps[] = {
      {VK_DOWN, 1, 2, 0},
      {VK_DOWN, static_cast<int>(visible_), visible_ + 2, 2},  // scrolled by the rows it went past
      {VK_UP, 1, visible_ + 1, 2},                             // back inside: no scrolling
      {VK_NEXT, 1, 2 * visible_ + 1, visible_ + 1},
      {VK_END, 1, kRows, kRows - visible_},
      {VK_DOWN, 1, kRows, kRows - visible_},  // at the end it stays
      {VK_PRIOR, 1, kRows - visible_, kRows - visible_ - 1},
      {VK_HOME, 1, 1, 0},
      {VK_UP, 1, 1, 0},
  };
  int n = 0;
  for (const Step& s : steps) {
    for (int i = 0; i < s.times; ++i) win::testing::PressKey(*app_, Grid(), s.key);
    EXPECT_EQ(query_->RecNo(), s.recno) << "case " << n;
    EXPECT_EQ(grid_->TopRow(), s.top) << "case " << n;
    ExpectShown(("case " + std::to_string(n)).c_str());
    ++n;
  }
}

TEST_F(DbControlsTest, ScrollBarArrowsPagesAndWheel) {
  struct Step {
    UINT msg;
    WPARAM w;
    std::size_t recno;
  } steps[] = {
      {WM_VSCROLL, SB_LINEDOWN, 2},
      {WM_VSCROLL, SB_PAGEDOWN, 2 + visible_},
      {WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
       3 + visible_},  // towards the user: down
      {WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 2 + visible_},
      {WM_VSCROLL, SB_PAGEUP, 2},
      {WM_VSCROLL, SB_BOTTOM, kRows},
      {WM_VSCROLL, SB_LINEUP, kRows - 1},
      {WM_VSCROLL, SB_TOP, 1},
  };
  int n = 0;
  for (const Step& s : steps) {
    POINT screen{20, 20};
    ::ClientToScreen(Grid(), &screen);
    Post(Grid(), s.msg, s.w, s.msg == WM_MOUSEWHEEL ? MAKELPARAM(screen.x, screen.y) : 0);
    EXPECT_EQ(query_->RecNo(), s.recno) << "case " << n;
    ExpectShown(("case " + std::to_string(n)).c_str());
    ++n;
  }
}

// The scroll bar's own tracking loop cannot be driven here (posted clicks and SendInput do not
// start it under Wine), so the bar is put where a drag would leave its thumb and the grid gets
// the messages the bar sends while dragging and on release. The grid reads the position from
// the bar, not from the message's 16 bits, which cannot hold a row past 65,535.
TEST_F(DbControlsTest, ThumbDragMovesToTheRowOfThePosition) {
  struct Step {
    WORD code;
    int pos;  // where the thumb stands: the 0-based row
  } steps[] = {
      {SB_THUMBTRACK, 150},    {SB_THUMBTRACK, 151},
      {SB_THUMBPOSITION, 151}, {SB_THUMBTRACK, static_cast<int>(kRows - 1)},
      {SB_THUMBPOSITION, 0},   {SB_THUMBTRACK, static_cast<int>(visible_)},
  };
  int n = 0;
  for (const Step& s : steps) {
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, s.pos, 0};
    ::SetScrollInfo(Grid(), SB_VERT, &si, FALSE);
    Post(Grid(), WM_VSCROLL, MAKEWPARAM(s.code, static_cast<WORD>(s.pos)), 0);
    EXPECT_EQ(query_->RecNo(), static_cast<std::size_t>(s.pos) + 1) << "case " << n;
    ExpectShown(("case " + std::to_string(n)).c_str());
    ++n;
  }
}

TEST_F(DbControlsTest, ClickMakesTheRowUnderTheMouseCurrent) {
  Post(Grid(), WM_VSCROLL, SB_BOTTOM, 0);
  const int row_h = grid_->DefaultRowHeight();
  const std::size_t top = grid_->TopRow();
  ASSERT_EQ(top, kRows - visible_);
  Post(Grid(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 2 * row_h + 1));
  Post(Grid(), WM_LBUTTONUP, 0, MAKELPARAM(40, 2 * row_h + 1));
  EXPECT_EQ(query_->RecNo(), top + 3);
  EXPECT_EQ(grid_->TopRow(), top) << "a click on a shown row does not scroll";
  EXPECT_EQ(form_->cell_clicks, 1);
  // The indicator column is no cell.
  Post(Grid(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 1));
  Post(Grid(), WM_LBUTTONUP, 0, MAKELPARAM(3, 1));
  EXPECT_EQ(query_->RecNo(), top + 3);
  EXPECT_EQ(form_->cell_clicks, 1);
  // Only the rows on screen are painted.
  ::RedrawWindow(Grid(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(grid_->RowsPainted(), static_cast<int>(visible_));
}

TEST_F(DbControlsTest, NavigatorButtonsFollowTheRecordAndMoveIt) {
  auto enabled = [this] {
    std::string s;
    for (NavigateButton b : {nbFirst, nbPrior, nbNext, nbLast})
      s += nav_->ButtonEnabled(b) ? '1' : '0';
    return s;
  };
  auto click = [this](NavigateButton b) {
    const RECT r = nav_->ButtonRect(b);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Post(nav_->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    Post(nav_->WindowHandle(), WM_LBUTTONUP, 0, at);
  };
  struct Step {
    NavigateButton button;
    std::size_t recno;
    const char* enabled;  // first, prior, next, last
  } steps[] = {
      {nbNext, 2, "1111"},          {nbLast, kRows, "1100"},
      {nbNext, kRows, "1100"},  // disabled: no move
      {nbPrior, kRows - 1, "1111"}, {nbFirst, 1, "0011"},
      {nbPrior, 1, "0011"},
  };
  EXPECT_EQ(enabled(), "0011");
  int n = 0;
  for (const Step& s : steps) {
    click(s.button);
    EXPECT_EQ(query_->RecNo(), s.recno) << "case " << n;
    EXPECT_EQ(enabled(), s.enabled) << "case " << n;
    ++n;
  }
  // The grid followed the navigator.
  click(nbLast);
  ExpectShown("after the navigator's last");
  // A closed query and an empty result enable nothing.
  query_->ClearSql();
  EXPECT_EQ(enabled(), "0000");
  query_->SetSql("select*from warna where ID = 'none'");
  query_->Open();
  EXPECT_EQ(enabled(), "0000");
  EXPECT_EQ(grid_->TopRow(), 0u);
}

// The form frees its components newest first, and its description lists the controls before the
// data source they show: the source goes first. The controls must forget it then, not keep a
// pointer to freed memory that their own destructors later use.
TEST(DataSourceLifetime, ControlsForgetASourceFreedBeforeThem) {
  RegisterStandardControls();
  RegisterDataControls();
  RegisterComponentClass<TGridForm>("TGridForm");
  auto app = std::make_unique<TApplication>();
  auto& form = app->CreateForm<TGridForm>();
  auto* grid = form.Find<TDBGrid>("DBGrid1");
  auto* nav = form.Find<TDBNavigator>("DBNavigator1");
  auto source = std::make_unique<TDataSource>(nullptr);
  source->SetDataSet(form.Find<TADOQuery>("ADOQuery1"));
  grid->SetDataSource(source.get());
  nav->SetDataSource(source.get());
  source.reset();
  EXPECT_EQ(grid->DataSource(), nullptr);
  EXPECT_EQ(nav->DataSource(), nullptr);
  form.Show();
  app->ProcessMessages();  // both paint without a source
  grid->SetDataSource(form.Find<TDataSource>("DataSource1"));
  EXPECT_EQ(grid->DataSource(), form.Find<TDataSource>("DataSource1"));
}
}  // namespace
}  // namespace sapala::win
