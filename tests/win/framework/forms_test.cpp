// A form built from a description and driven with real window messages through the
// application's loop: stored values, events bound by name, key order, tab order, accelerators,
// exceptions in handlers, painting of windowless controls, and ownership.
#include "win/framework/application.h"

#include <gtest/gtest.h>

#include "../support/app_test.h"

#include <algorithm>
#include <string>
#include <vector>

#include "win/framework/stdctrls.h"

namespace sapala::win {
namespace {

constexpr char kDescription[] = R"(object TestForm: TTestForm
  Left = 10
  Top = 10
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu, biMinimize]
  Caption = 'Tes'
  ClientWidth = 200
  ClientHeight = 120
  Color = clBtnFace
  Position = poScreenCenter
  OnCreate = FormCreate
  object Bevel1: TBevel
    Left = 4
    Top = 4
    Width = 100
    Height = 50
    Shape = bsFrame
    Style = bsRaised
  end
  object Edit2: TEdit
    Left = 8
    Top = 60
    Width = 80
    Height = 20
    TabOrder = 1
  end
  object Edit1: TEdit
    Left = 8
    Top = 30
    Width = 80
    Height = 20
    BorderStyle = bsNone
    Color = clInfoBk
    Font.Name = 'Arial'
    Font.Height = -15
    Font.Style = [fsBold]
    TabOrder = 0
    OnKeyPress = Edit1KeyPress
    OnKeyDown = Edit1KeyDown
  end
  object Go: TSpeedButton
    Left = 120
    Top = 60
    Width = 40
    Height = 20
    Caption = '&Go'
    Flat = True
    OnClick = GoClick
  end
end
)";

class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {
    RegisterHandler("FormCreate", TNotifyEvent([this](TObject&) { log.push_back("create"); }));
    RegisterHandler("Edit1KeyPress", TKeyPressEvent([this](TObject&, wchar_t& key) {
                      // The text as it stands before the field applies the key.
                      log.push_back("press " + std::to_string(key) +
                                    " text=" + std::to_string(Find<TEdit>("Edit1")->Text().size()));
                    }));
    RegisterHandler("Edit1KeyDown", TKeyEvent([this](TObject&, WORD& key, unsigned) {
                      log.push_back("down " + std::to_string(key));
                      if (key == VK_F2) throw std::runtime_error("handler failed");
                    }));
    RegisterHandler("GoClick", TNotifyEvent([this](TObject&) { log.push_back("go"); }));
    LoadDescription(kDescription);
  }
  std::vector<std::string> log;
};

class FormsTest : public testing::AppTest {
 protected:
  void SetUp() override {
    RegisterStandardControls();
    RegisterComponentClass<TTestForm>("TTestForm");
    StartApplication();
    form_ = &app_->CreateForm<TTestForm>();
    form_->Show();
    app_->ProcessMessages();
  }

  TTestForm* form_ = nullptr;
};

TEST_F(FormsTest, DescriptionValuesReachTheWindows) {
  EXPECT_EQ(form_->log.front(), "create");
  RECT client;
  ::GetClientRect(form_->WindowHandle(), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 120);
  auto* edit1 = form_->Find<TEdit>("Edit1");
  ASSERT_NE(edit1, nullptr);
  EXPECT_EQ(edit1->Font().Name(), L"Arial");
  EXPECT_EQ(edit1->Font().Height(), -15);
  EXPECT_EQ(edit1->Font().Style(), fsBold);
  EXPECT_FALSE(::GetWindowLongPtrW(edit1->WindowHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(::GetWindowLongPtrW(form_->Find<TEdit>("Edit2")->WindowHandle(), GWL_EXSTYLE) &
              WS_EX_CLIENTEDGE);
  // The edit's background comes from its colour.
  HDC dc = ::GetDC(edit1->WindowHandle());
  ::SendMessageW(form_->WindowHandle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(edit1->WindowHandle()));
  EXPECT_EQ(::GetBkColor(dc), ::GetSysColor(COLOR_INFOBK));
  ::ReleaseDC(edit1->WindowHandle(), dc);
  // Focus starts at tab order 0, whatever the creation order.
  EXPECT_EQ(::GetFocus(), edit1->WindowHandle());
}

TEST_F(FormsTest, KeyPressComesBeforeTheCharacterIsApplied) {
  HWND edit = form_->Find<TEdit>("Edit1")->WindowHandle();
  form_->log.clear();
  Key(edit, 'K');
  Key(edit, 'E');
  EXPECT_EQ(form_->Find<TEdit>("Edit1")->Text(), L"ke");
  const std::vector<std::string> want = {"down 75", "press 107 text=0", "down 69",
                                         "press 101 text=1"};
  EXPECT_EQ(form_->log, want);
}

TEST_F(FormsTest, TabAndShiftTabFollowTabOrder) {
  HWND e1 = form_->Find<TEdit>("Edit1")->WindowHandle();
  HWND e2 = form_->Find<TEdit>("Edit2")->WindowHandle();
  Key(e1, VK_TAB);
  EXPECT_EQ(::GetFocus(), e2);
  Key(e2, VK_TAB);
  EXPECT_EQ(::GetFocus(), e1) << "wraps around";
  Key(e1, VK_TAB, true);
  EXPECT_EQ(::GetFocus(), e2) << "Shift+Tab goes back";
  EXPECT_EQ(form_->ActiveControl(), form_->Find<TEdit>("Edit2"));
}

TEST_F(FormsTest, AltLetterClicksTheWindowlessButton) {
  form_->log.clear();
  ::PostMessageW(form_->Find<TEdit>("Edit1")->WindowHandle(), WM_SYSCHAR, L'g', 1u << 29);
  app_->ProcessMessages();
  EXPECT_EQ(form_->log, std::vector<std::string>{"go"});
  form_->Find<TSpeedButton>("Go")->Hide();
  ::PostMessageW(form_->Find<TEdit>("Edit1")->WindowHandle(), WM_SYSCHAR, L'g', 1u << 29);
  app_->ProcessMessages();
  EXPECT_EQ(form_->log.size(), 1u) << "a hidden button takes no accelerator";
}

TEST_F(FormsTest, MouseClickOnWindowlessButton) {
  form_->log.clear();
  HWND hwnd = form_->WindowHandle();
  ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 70));
  ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(130, 70));
  ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 70));
  ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(190, 70));  // released outside: no click
  app_->ProcessMessages();
  EXPECT_EQ(form_->log, std::vector<std::string>{"go"});
}

TEST_F(FormsTest, ExceptionInHandlerIsShownAndTheLoopGoesOn) {
  HWND edit = form_->Find<TEdit>("Edit1")->WindowHandle();
  Key(edit, VK_F2);
  ASSERT_EQ(errors_, std::vector<std::string>{"handler failed"});
  Key(edit, 'A');
  EXPECT_EQ(form_->Find<TEdit>("Edit1")->Text(), L"a");
  errors_.clear();
}

// A handler that throws leaves the window answering what the default procedure answers; 0
// would mean "nowhere" to a hit test, "no pointer set" and "no keys wanted".
TEST_F(FormsTest, ExceptionInHandlerLeavesTheDefaultAnswer) {
  auto* edit = form_->Find<TEdit>("Edit1");
  const UINT failing[] = {WM_NCHITTEST, WM_SETCURSOR, WM_GETDLGCODE};
  // The three answers of a window, over its client area.
  auto answers = [](HWND hwnd) {
    POINT inside{0, 0};
    ::ClientToScreen(hwnd, &inside);
    inside.x += 5;
    inside.y += 5;
    return std::vector<LRESULT>{
        ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)),
        ::SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
        ::SendMessageW(hwnd, WM_GETDLGCODE, 0, 0)};
  };
  // Hit tests say "client" and the edit's class wants keys (Wine's default procedure answers 0
  // to WM_SETCURSOR here, so that one is compared as it is).
  const std::vector<LRESULT> edit_want = answers(edit->WindowHandle());
  const std::vector<LRESULT> form_want = answers(form_->WindowHandle());
  ASSERT_EQ(edit_want[0], HTCLIENT);
  ASSERT_EQ(form_want[0], HTCLIENT);
  ASSERT_NE(edit_want[2], 0);
  edit->WindowProc = [edit](Message& m) {
    edit->WndProc(m);  // the default has run and answered: the answer must stay
    if (m.Msg == WM_GETDLGCODE) throw std::runtime_error("after");
  };
  EXPECT_EQ(::SendMessageW(edit->WindowHandle(), WM_GETDLGCODE, 0, 0), edit_want[2])
      << "thrown after the default ran";
  for (TWinControl* c : {static_cast<TWinControl*>(edit), static_cast<TWinControl*>(form_)}) {
    c->WindowProc = [c, &failing](Message& m) {
      for (UINT msg : failing) {
        if (m.Msg == msg) throw std::runtime_error("before");
      }
      c->WndProc(m);
    };
  }
  EXPECT_EQ(answers(edit->WindowHandle()), edit_want);
  EXPECT_EQ(answers(form_->WindowHandle()), form_want);
  for (TWinControl* c : {static_cast<TWinControl*>(edit), static_cast<TWinControl*>(form_)}) {
    c->WindowProc = [c](Message& m) { c->WndProc(m); };
  }
  // Each throw was reported (the edit's WM_SETCURSOR asks the form first, which throws too).
  EXPECT_EQ(std::count(errors_.begin(), errors_.end(), "after"), 1);
  EXPECT_GE(std::count(errors_.begin(), errors_.end(), "before"), 6);
  errors_.clear();
}

TEST_F(FormsTest, RaisedFramePaintsItsEdges) {
  HWND hwnd = form_->WindowHandle();
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = ::GetDC(hwnd);
  const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_BTNSHADOW);
  // bsFrame, raised: outer light line at the top-left, inner dark line one pixel in.
  EXPECT_EQ(::GetPixel(dc, 4 + 10, 4), light);
  EXPECT_EQ(::GetPixel(dc, 4 + 10, 5), dark);
  EXPECT_EQ(::GetPixel(dc, 4 + 10, 4 + 49), dark);
  EXPECT_EQ(::GetPixel(dc, 4 + 10, 4 + 48), light);
  ::ReleaseDC(hwnd, dc);
}

TEST(Components, OwnerFreesInReverseOrder) {
  std::vector<std::string> order;
  struct Probe : TComponent {
    Probe(TComponent* owner, std::vector<std::string>* log, std::string n)
        : TComponent(owner), log_(log), n_(std::move(n)) {}
    ~Probe() override { log_->push_back(n_); }
    std::vector<std::string>* log_;
    std::string n_;
  };
  {
    TComponent owner(nullptr);
    owner.Create<Probe>(&order, "a");
    Probe& b = owner.Create<Probe>(&order, "b");
    b.SetName("B");
    b.Create<Probe>(&order, "b1").SetName("B1");
    owner.Create<Probe>(&order, "c");
    // Find looks at the components an owner owns directly, by name.
    EXPECT_EQ(owner.Find<Probe>("B"), &b);
    EXPECT_EQ(owner.Find<Probe>("B1"), nullptr);
    EXPECT_EQ(owner.Find<TForm>("B"), nullptr) << "a component of another class";
  }
  EXPECT_EQ(order, (std::vector<std::string>{"c", "b", "b1", "a"}));
}

TEST(Components, BadDescriptionsNameTheProblem) {
  RegisterStandardControls();
  TApplication app;
  struct Bad : TForm {
    Bad(TComponent* owner, const char* text) : TForm(owner) {
      SetClassName("TBad");
      LoadDescription(text);
    }
  };
  const char* cases[][2] = {
      {"object F: TBad\n  Nonsense = 1\nend", "line 2, Nonsense: no such property"},
      {"object F: TBad\n  object X: TNoSuchClass\n  end\nend",
       "class TNoSuchClass is not registered"},
      {"object F: TBad\n  OnCreate = Missing\nend", "the form has no handler Missing"},
      {"object F: TBad\n  Color = clNoColour\nend", "unknown colour clNoColour"},
      {"object F: TBad\n  BorderStyle = bsRound\nend",
       "line 2, BorderStyle: unknown border style bsRound"},
      {"object F: TBad\n  object B: TBevel\n    Shape = bsOval\n  end\nend",
       "unknown bevel shape bsOval"},
  };
  for (const auto& c : cases) {
    try {
      Bad bad(&app, c[0]);
      ADD_FAILURE() << "no error for: " << c[0];
    } catch (const LoadError& e) {
      EXPECT_NE(std::string(e.what()).find(c[1]), std::string::npos)
          << "have " << e.what() << ", want " << c[1];
    }
  }
}

}  // namespace
}  // namespace sapala::win
