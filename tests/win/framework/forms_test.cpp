// A form built from a description and driven with real window messages through the
// application's loop: stored values, events bound by name, key order, tab order, accelerators,
// exceptions in handlers, painting of windowless controls, and ownership.
#include "win/framework/application.h"

#include <gtest/gtest.h>

#include "../support/input.h"

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
      log.push_back("press " + std::to_string(key) + " text=" + std::to_string(Find<TEdit>("Edit1")->Text().size()));
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

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStandardControls();
    RegisterComponentClass<TTestForm>("TTestForm");
    app_ = std::make_unique<TApplication>();
    app_->OnException = [this](const std::string& m) { errors_.push_back(m); };
    form_ = &app_->CreateForm<TTestForm>();
    form_->Show();
    app_->ProcessMessages();
  }
  void TearDown() override { app_.reset(); }

  void Key(HWND to, WORD vk, bool shift = false) {
    win::testing::PressKey(*app_, to, vk, shift ? VK_SHIFT : 0);
  }

  std::unique_ptr<TApplication> app_;
  TTestForm* form_ = nullptr;
  std::vector<std::string> errors_;
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
  EXPECT_TRUE(::GetWindowLongPtrW(form_->Find<TEdit>("Edit2")->WindowHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
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
  const std::vector<std::string> want = {"down 75", "press 107 text=0", "down 69", "press 101 text=1"};
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
  ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(190, 70));   // released outside: no click
  app_->ProcessMessages();
  EXPECT_EQ(form_->log, std::vector<std::string>{"go"});
}

TEST_F(FormsTest, ExceptionInHandlerIsShownAndTheLoopGoesOn) {
  HWND edit = form_->Find<TEdit>("Edit1")->WindowHandle();
  Key(edit, VK_F2);
  ASSERT_EQ(errors_, std::vector<std::string>{"handler failed"});
  Key(edit, 'A');
  EXPECT_EQ(form_->Find<TEdit>("Edit1")->Text(), L"a");
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
    Probe(TComponent* owner, std::vector<std::string>* log, std::string n) : TComponent(owner), log_(log), n_(std::move(n)) {}
    ~Probe() override { log_->push_back(n_); }
    std::vector<std::string>* log_;
    std::string n_;
  };
  {
    TComponent owner(nullptr);
    owner.Create<Probe>(&order, "a");
    owner.Create<Probe>(&order, "b").Create<Probe>(&order, "b1");
    owner.Create<Probe>(&order, "c");
    EXPECT_NE(owner.Find<Probe>("x"), owner.Component(0));
  }
  EXPECT_EQ(order, (std::vector<std::string>{"c", "b", "b1", "a"}));
}

TEST(Components, BadDescriptionsNameTheProblem) {
  RegisterStandardControls();
  TApplication app;
  struct Bad : TForm {
    Bad(TComponent* owner, const char* text) : TForm(owner) { SetClassName("TBad"); LoadDescription(text); }
  };
  const char* cases[][2] = {
      {"object F: TBad\n  Nonsense = 1\nend", "line 2, Nonsense: no such property"},
      {"object F: TBad\n  object X: TNoSuchClass\n  end\nend", "class TNoSuchClass is not registered"},
      {"object F: TBad\n  OnCreate = Missing\nend", "the form has no handler Missing"},
      {"object F: TBad\n  Color = clNoColour\nend", "unknown colour clNoColour"},
  };
  for (const auto& c : cases) {
    try {
      Bad bad(&app, c[0]);
      ADD_FAILURE() << "no error for: " << c[0];
    } catch (const LoadError& e) {
      EXPECT_NE(std::string(e.what()).find(c[1]), std::string::npos) << "have " << e.what() << ", want " << c[1];
    }
  }
}

}  // namespace
}  // namespace sapala::win
