// The main and examples windows built from the program's own descriptions over a small test
// workbook, driven with window messages through the application's loop: the start state, the
// word search as the user types, the pane switching and keyboard cycle, the help buttons.
#include "win/app/unit1.h"

#include <gtest/gtest.h>

#include "../support/app_test.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/data/workbook_writer.h"
#include "win/app/unit2.h"
#include "win/framework/application.h"
#include "win/framework/dib.h"
#include "win/framework/text.h"

namespace sapala::app {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

const std::string& StoredDescription() {
  static const std::string text = ReadFile(SAPALA_SOURCE_DIR "/src/win/app/forms/Unit1.dfm");
  return text;
}

// A folder that holds no skin: what the tests see does not depend on whether a skin happens to
// be installed in the prefix (`make run` installs one).
std::string NoSkinFolder() {
  wchar_t dir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  const std::wstring folder = std::wstring(dir) + L"sapala-no-skin";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return win::Narrow(folder);
}

// The committed skin "DiruriZedaz", as the program installs it, seen through Wine's Z: drive.
std::string CommittedSkinFolder() {
  std::string path = "Z:" SAPALA_SOURCE_DIR "/assets/skin";
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// The program's description with the workbook path replaced by `workbook` and the skin folder
// by `skin_folder`.
std::string DescriptionFor(const std::string& workbook,
                           const std::string& skin_folder = NoSkinFolder()) {
  std::string text = StoredDescription();
  const auto start = text.find("    ConnectionString =");
  const auto end = text.find("    LoginPrompt", start);
  EXPECT_NE(start, std::string::npos);
  text.replace(
      start, end - start,
      "    ConnectionString = 'Provider=MSDASQL.1;Extended Properties=\"DSN=Excel Files;DBQ=" +
          workbook + ";\"'\n");
  const auto skin = text.find("    SkinDirectory =");
  EXPECT_NE(skin, std::string::npos);
  text.replace(skin, text.find('\n', skin) - skin, "    SkinDirectory = '" + skin_folder + "'");
  return text;
}

std::string TempWorkbook(const std::vector<std::vector<std::string>>& rows) {
  wchar_t dir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  const std::string path = win::Narrow(dir) + "sapala-test.bat";
  std::vector<data::SheetData> sheets{{"warna", rows}};
  const auto bytes = data::WriteWorkbook(sheets);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path;
}

const std::vector<std::vector<std::string>> kWords = {
    {"ID", "warna", "Hanacaraka"}, {"kali", "sungai", "\xEA\xA6\x8F\xEA\xA6\xAD\xEA\xA6\xB6"},
    {"kembang", "bunga", "x"},     {"kebo", "kerbau", "x"},
    {"lélé", "ikan lele", "x"},    {"sega", "nasi", "x"},
    {"abang", "merah", "x"},       {"a'b", "kata uji", "x"},
    {"banyu", "air", "x"},
};

class Form1Test : public win::testing::AppTest {
 protected:
  void SetUp() override {
    win::InstallDibSections();
    RegisterProgramClasses();
    StartApplication();
    Form1 = &app_->CreateForm<TForm1>(DescriptionFor(TempWorkbook(kWords)));
    Form2 = &app_->CreateForm<TForm2>();
    form_ = Form1;
    form_->Show();
    app_->ProcessMessages();
  }
  void TearDown() override {
    AppTest::TearDown();
    Form1 = nullptr;
    Form2 = nullptr;
  }
  void Type(const std::wstring& text) {
    for (wchar_t ch : text) {
      ::PostMessageW(::GetFocus(), WM_CHAR, ch, 1);
      app_->ProcessMessages();
    }
  }
  static std::vector<std::string> Rows(win::TADOQuery* q) {
    std::vector<std::string> out;
    if (!q->Active()) return out;
    for (std::size_t r = 0; r < q->RecordCount(); ++r) out.push_back(*q->Core().Value(r, 0));
    std::sort(out.begin(), out.end());
    return out;
  }
  bool PrefixPairShown() const {
    return form_->DBRichEdit2->Visible() && form_->DBNavigator1->Visible() &&
           !form_->DBRichEdit4->Visible() && !form_->DBNavigator2->Visible();
  }
  bool SubstringPairShown() const {
    return !form_->DBRichEdit2->Visible() && !form_->DBNavigator1->Visible() &&
           form_->DBRichEdit4->Visible() && form_->DBNavigator2->Visible();
  }

  TForm1* form_ = nullptr;
};

TEST_F(Form1Test, TheSkinManagerIsOffWhileItsSkinIsMissing) {
  // The stored settings; the skin folder given holds no "DiruriZedaz", so the window is unskinned.
  EXPECT_NE(StoredDescription().find("SkinDirectory = 'C:\\Program Files\\Sapala Vova'"),
            std::string::npos);
  const auto& c = form_->sSkinManager1->Core();
  EXPECT_EQ(c.SkinDirectory(), NoSkinFolder());
  EXPECT_EQ(c.SkinName(), "DiruriZedaz");
  EXPECT_EQ(c.MenuSupport.IcoLineSkin, "ICOLINE");
  EXPECT_EQ(c.ClassLists.KindOf("TButton"), 1);
  EXPECT_EQ(c.ClassLists.Lines(0), (std::vector<std::string>{" "}));
  EXPECT_FALSE(c.Active());
  EXPECT_EQ(form_->sSkinManager1->CbtHook(), nullptr);
  EXPECT_EQ(win::skin::DefaultSkinManager(), form_->sSkinManager1);
}

TEST_F(Form1Test, OpensInItsInitialState) {
  RECT client;
  ::GetClientRect(form_->WindowHandle(), &client);
  EXPECT_EQ(client.right, 321);
  EXPECT_EQ(client.bottom, 366);
  const LONG_PTR style = ::GetWindowLongPtrW(form_->WindowHandle(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  RECT frame;
  ::GetWindowRect(form_->WindowHandle(), &frame);
  EXPECT_LE(std::abs(frame.left - (::GetSystemMetrics(SM_CXSCREEN) - frame.right)), 1)
      << "centred, not at 192";
  // Both queries ran once at load and were cleared by FormCreate.
  EXPECT_FALSE(form_->ADOQuery1->Active());
  EXPECT_FALSE(form_->ADOQuery2->Active());
  EXPECT_TRUE(form_->ADOQuery1->Sql().empty());
  EXPECT_TRUE(form_->ADOConnection1->Connected());
  EXPECT_TRUE(PrefixPairShown());
  EXPECT_TRUE(form_->SpeedButton1->Visible());
  EXPECT_FALSE(form_->SpeedButton2->Visible());
  EXPECT_FALSE(Form2->Visible());
  EXPECT_EQ(::GetFocus(), form_->Edit1->WindowHandle());
  EXPECT_EQ(form_->DBRichEdit1->Text(), L"");
}

TEST_F(Form1Test, PrefixListLagsOneKeyBehindTheField) {
  Type(L"k");
  EXPECT_FALSE(form_->ADOQuery1->Active()) << "the first key searched with the empty text";
  Type(L"e");
  EXPECT_EQ(Rows(form_->ADOQuery1), (std::vector<std::string>{"kali", "kebo", "kembang"}));
  Type(L"m");
  EXPECT_EQ(Rows(form_->ADOQuery1), (std::vector<std::string>{"kebo", "kembang"}));
  EXPECT_EQ(form_->Edit1->Text(), L"kem");
  Type(L"\b");  // Backspace searches with the character still in place
  EXPECT_EQ(Rows(form_->ADOQuery1), (std::vector<std::string>{"kembang"}));
  EXPECT_EQ(form_->Edit1->Text(), L"ke");
  EXPECT_FALSE(form_->ADOQuery2->Active()) << "typing leaves the substring list alone";
  // The panes follow the current record.
  EXPECT_EQ(form_->DBRichEdit1->Text(), L"bunga");
}

TEST_F(Form1Test, EnterSearchesBothListsWithTheTextAsSeen) {
  Type(L"ba");
  Key(form_->Edit1->WindowHandle(), VK_RETURN);
  EXPECT_EQ(Rows(form_->ADOQuery2), (std::vector<std::string>{"abang", "banyu", "kembang"}));
  EXPECT_EQ(Rows(form_->ADOQuery1), (std::vector<std::string>{"banyu"}));
  EXPECT_EQ(::GetFocus(), form_->Edit1->WindowHandle());
}

TEST_F(Form1Test, EnterOnAnEmptyFieldLeavesBothListsEmpty) {
  Key(form_->Edit1->WindowHandle(), VK_RETURN);
  EXPECT_FALSE(form_->ADOQuery1->Active());
  EXPECT_FALSE(form_->ADOQuery2->Active());
  EXPECT_TRUE(form_->ADOQuery2->Sql().empty());
}

TEST_F(Form1Test, WildcardsAndQuotes) {
  Type(L"%a_");
  Key(form_->Edit1->WindowHandle(), VK_RETURN);
  // "%" and "_" act as wildcards: any headword with an "a" followed by one more character.
  EXPECT_EQ(Rows(form_->ADOQuery2),
            (std::vector<std::string>{"a'b", "abang", "banyu", "kali", "kembang"}));
  form_->Edit1->SetText(L"");
  Type(L"a'b");
  Key(form_->Edit1->WindowHandle(), VK_RETURN);
  EXPECT_EQ(Rows(form_->ADOQuery2), (std::vector<std::string>{"a'b"}))
      << "a quote cannot break the SQL";
}

TEST_F(Form1Test, KeyboardCycleAndPaneSwitching) {
  Type(L"kx");
  Type(L"\b");
  Type(L"e");  // prefix list: words beginning with "k"
  HWND edit = form_->Edit1->WindowHandle();
  Key(edit, VK_DOWN, /*shift=*/true);
  EXPECT_EQ(::GetFocus(), form_->DBGrid1->WindowHandle())
      << "Down moves to the prefix list, Shift or not";
  EXPECT_TRUE(PrefixPairShown()) << "moving the focus changes no pane";
  Key(form_->DBGrid1->WindowHandle(), VK_DOWN);
  EXPECT_EQ(form_->ADOQuery1->RecNo(), 2u) << "arrows move the current record";
  EXPECT_TRUE(PrefixPairShown());
  Type(L"q");
  EXPECT_TRUE(SubstringPairShown()) << "a letter in the prefix list shows the other pair";
  EXPECT_EQ(::GetFocus(), form_->DBGrid1->WindowHandle()) << "and the focus stays";
  Key(form_->DBGrid1->WindowHandle(), VK_RETURN);
  EXPECT_EQ(::GetFocus(), form_->DBGrid2->WindowHandle());
  EXPECT_TRUE(SubstringPairShown());
  Key(form_->DBGrid2->WindowHandle(), VK_RETURN);
  EXPECT_EQ(::GetFocus(), edit);
  EXPECT_TRUE(PrefixPairShown());
}

// The result panes are read-only rich edits: Escape there does nothing (it once closed the main
// window and ended the program), Tab and Shift+Tab move on in tab order as from every control.
TEST_F(Form1Test, EscapeAndTabInTheResultPanes) {
  struct Case {
    const char* name;
    win::TWinControl* pane;
    win::TWinControl* next;
    win::TWinControl* previous;
  };
  auto check = [&](const Case& c) {
    c.pane->SetFocus();
    app_->ProcessMessages();
    ASSERT_EQ(::GetFocus(), c.pane->WindowHandle()) << c.name;
    Key(c.pane->WindowHandle(), VK_ESCAPE);
    EXPECT_FALSE(app_->Terminated()) << c.name << ": Escape ended the program";
    EXPECT_TRUE(form_->Visible()) << c.name;
    EXPECT_EQ(::GetFocus(), c.pane->WindowHandle()) << c.name << ": Escape moved the focus";
    Key(c.pane->WindowHandle(), VK_TAB);
    EXPECT_EQ(::GetFocus(), c.next->WindowHandle()) << c.name << ": Tab";
    c.pane->SetFocus();
    app_->ProcessMessages();
    Key(c.pane->WindowHandle(), VK_TAB, /*shift=*/true);
    EXPECT_EQ(::GetFocus(), c.previous->WindowHandle()) << c.name << ": Shift+Tab";
  };
  ASSERT_TRUE(PrefixPairShown());
  // Navigators are no tab stops; the hidden fourth pane is passed over.
  check({"DBRichEdit1", form_->DBRichEdit1, form_->DBRichEdit2, form_->DBGrid1});
  check({"DBRichEdit2", form_->DBRichEdit2, form_->DBGrid2, form_->DBRichEdit1});
  check({"DBRichEdit3", form_->DBRichEdit3, form_->Edit1, form_->DBGrid2});
  form_->DBRichEdit2->Hide();
  form_->DBRichEdit4->Show();
  check({"DBRichEdit4", form_->DBRichEdit4, form_->Edit1, form_->DBRichEdit3});
  EXPECT_FALSE(app_->Terminated());
}

TEST_F(Form1Test, CellClicksBringTheirOwnPairForward) {
  Type(L"k");
  Key(form_->Edit1->WindowHandle(), VK_RETURN);  // substring search for "k"
  ASSERT_TRUE(form_->ADOQuery2->Active());
  const int row_h = form_->DBGrid2->DefaultRowHeight();
  ::PostMessageW(form_->DBGrid2->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(40, row_h + 2));
  ::PostMessageW(form_->DBGrid2->WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(40, row_h + 2));
  app_->ProcessMessages();
  EXPECT_TRUE(SubstringPairShown());
  EXPECT_EQ(form_->ADOQuery2->RecNo(), 2u) << "the clicked row becomes current";
  ::PostMessageW(form_->DBGrid1->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 2));
  ::PostMessageW(form_->DBGrid1->WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(40, 2));
  app_->ProcessMessages();
  EXPECT_TRUE(PrefixPairShown());
}

TEST_F(Form1Test, HelpButtonsAndTheExamplesWindowsCloseBox) {
  HWND main = form_->WindowHandle();
  auto click = [&](int x, int y) {
    ::PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(main, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    app_->ProcessMessages();
  };
  click(170, 335);
  EXPECT_TRUE(Form2->Visible());
  EXPECT_TRUE(::IsWindowVisible(Form2->WindowHandle()));
  EXPECT_TRUE(form_->SpeedButton2->Visible());
  EXPECT_FALSE(form_->SpeedButton1->Visible());
  // The close box only hides the window and leaves the buttons alone.
  ::PostMessageW(Form2->WindowHandle(), WM_CLOSE, 0, 0);
  app_->ProcessMessages();
  EXPECT_FALSE(Form2->Visible());
  EXPECT_TRUE(::IsWindow(Form2->WindowHandle()));
  EXPECT_TRUE(form_->SpeedButton2->Visible());
  click(170, 335);  // closes the already hidden window, brings SpeedButton1 back
  EXPECT_FALSE(Form2->Visible());
  EXPECT_TRUE(form_->SpeedButton1->Visible());
  click(170, 335);
  EXPECT_TRUE(Form2->Visible());
  // Closing the main window while the examples window is open ends the program.
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  app_->ProcessMessages();
  EXPECT_TRUE(app_->Terminated());
}

// With the skin installed the manager loads it and hooks window creation; the windows work and
// the program closes cleanly (the form frees its data sources before the controls showing them).
TEST(Form1Start, WithTheSkinInstalledTheManagerIsOnAndClosingIsClean) {
  win::InstallDibSections();
  RegisterProgramClasses();
  {
    win::TApplication app;
    auto& form =
        app.CreateForm<TForm1>(DescriptionFor(TempWorkbook(kWords), CommittedSkinFolder()));
    form.Show();
    app.ProcessMessages();
    const auto& c = form.sSkinManager1->Core();
    EXPECT_TRUE(c.Active());
    EXPECT_EQ(c.SkinInfo(), "7.2");
    EXPECT_NE(form.sSkinManager1->CbtHook(), nullptr);
    ::PostMessageW(form.Edit1->WindowHandle(), WM_CHAR, L'k', 1);
    app.ProcessMessages();
    ::PostMessageW(form.WindowHandle(), WM_CLOSE, 0, 0);
    app.ProcessMessages();
    EXPECT_TRUE(app.Terminated());
  }
  EXPECT_EQ(win::skin::DefaultSkinManager(), nullptr);
}

TEST(Form1Start, MissingWorkbookIsAnErrorNamingTheFile) {
  RegisterProgramClasses();
  win::TApplication app;
  try {
    app.CreateForm<TForm1>(DescriptionFor("C:\\no\\such\\folder\\sapala.bat"));
    ADD_FAILURE() << "no error";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("sapala.bat"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace sapala::app

namespace sapala::app {
namespace {

TEST_F(Form1Test, GradientButtonsAndLabels) {
  using sapala::controls::TColorScheme;
  EXPECT_EQ(form_->GlazeButton1->ColorScheme(), TColorScheme::csNeoGrass);
  EXPECT_EQ(form_->GlazeButton1->IndexedColor(sapala::controls::kColorFace), 0xDDF9E8);
  EXPECT_EQ(form_->GlazeButton2->ColorScheme(), TColorScheme::csNeoRose);
  EXPECT_TRUE(form_->GlazeButton2->Gradient());
  // The title starts 8 px above the client area; auto size adds the shadow's 8 px.
  EXPECT_EQ(form_->sLabelFX1->Top(), -8);
  EXPECT_EQ(form_->sLabelFX1->Kind().Color(), 0x00FF00);
  EXPECT_EQ(form_->sLabelFX1->Shadow().Color(), 0x000080);
  EXPECT_EQ(form_->sLabelFX1->Layout(), win::TTextLayout::tlCenter);
  EXPECT_EQ(form_->sWebLabel1->Caption(), L"qeto@sapala.example");
  EXPECT_EQ(form_->sWebLabel1->HoverFont().Color(), 0x008000);
  EXPECT_TRUE(form_->sWebLabel1->URL().empty());
  EXPECT_EQ(Form2->sLabelFX2->Caption(), L"\u00e3 (Alt+0227)= m\u00e3ng\u00e3n");
  EXPECT_EQ(Form2->sLabelFX3->Caption(), L"e ................ = liwet ");
  EXPECT_EQ(Form2->sLabelFX5->Shadow().Color(), 0x00FFFF);

  // Alt+C: both searches with the field's text, and the focus back in the field.
  Type(L"ke");
  ::PostMessageW(form_->Edit1->WindowHandle(), WM_SYSCHAR, 'c', 1 << 29);
  app_->ProcessMessages();
  EXPECT_EQ(Rows(form_->ADOQuery1), (std::vector<std::string>{"kebo", "kembang"}));
  EXPECT_EQ(Rows(form_->ADOQuery2), (std::vector<std::string>{"kebo", "kembang"}));
  EXPECT_EQ(::GetFocus(), form_->Edit1->WindowHandle());
  // Alt+K: the exit button closes the main window, which ends the program.
  ::PostMessageW(form_->Edit1->WindowHandle(), WM_SYSCHAR, 'k', 1 << 29);
  app_->ProcessMessages();
  EXPECT_TRUE(app_->Terminated());
}

}  // namespace
}  // namespace sapala::app
