// The skin manager's loading sequence: folder rules, packed file versus folder versus stored
// skin, errors shown and the previous name kept, turning inactive, listing skins, the version
// text and the colour queries.
#include "core/skin/skin_manager.h"

#include <gtest/gtest.h>

#include "core/skin/skin_error.h"
#include "core/skin/skin_pack.h"
#include "skin_test_support.h"

namespace sapala::skin {
namespace {

using testing::FakePlatform;
using testing::MemoryFileSystem;
using testing::RecordingHost;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes Pack(const std::string& text) {
  const PackEntry e[] = {{"Options.dat", B(text)}};
  return WritePacked(e);
}

struct Fixture {
  MemoryFileSystem fs;
  FakePlatform platform;
  RecordingHost host;
  std::unique_ptr<SkinManagerCore> m;

  Fixture() { Make(); }
  void Make() {
    m.reset();
    m = std::make_unique<SkinManagerCore>(fs, platform, host);
    m->SetSkinDirectory("C:\\Skins");
  }
  void Folder(const std::string& name, const std::string& text) {
    fs.Add("C:\\Skins\\" + name + "\\Options.dat", text);
  }
};

TEST(SkinManager, DefaultsAfterConstruction) {
  MemoryFileSystem fs;
  FakePlatform p;
  RecordingHost h;
  SkinManagerCore m(fs, p, h);
  EXPECT_TRUE(m.Active());
  EXPECT_EQ(m.SkinDirectory(), "c:\\Skins");
  EXPECT_EQ(m.SkinInfo(), "N/A");
  EXPECT_EQ(SkinManagerCore::Version(), "7.40");
  EXPECT_TRUE(m.IsDefault());
  EXPECT_EQ(m.SkinningRules, kAllSkinningRules);
  EXPECT_TRUE(m.SkinnedPopups());
  EXPECT_EQ(m.ThirdParty.Get(1), "TButton");
  EXPECT_TRUE(m.ClassLists.Contains(1, "TButton"));
  SkinManagerCore second(fs, p, h);
  EXPECT_FALSE(second.IsDefault());  // the first manager stays the default
  second.SetIsDefault(false);
  EXPECT_TRUE(m.IsDefault());
}

TEST(SkinManager, StartUpShowsTheVersionOnRequest) {
  struct Case {
    std::vector<std::string> args;
    std::size_t messages;
  };
  const Case cases[] = {{{}, 0}, {{"/LCVER"}, 1}, {{"x", "/lcver"}, 1}, {{"/lcver2"}, 0}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    FakePlatform p;
    p.arguments = cases[i].args;
    SkinManagerCore::StartUp(p);
    ASSERT_EQ(p.messages.size(), cases[i].messages) << "case " << i;
    if (!p.messages.empty()) {
      EXPECT_EQ(p.messages[0], "LumoControls v7.40");
    }
  }
}

TEST(SkinManager, ResolvingTheSkinFolder) {
  struct Case {
    const char* setting;
    const char* want;
  };
  const Case cases[] = {
      {"..\\Skins", "C:\\Program Files\\Skins"},
      {"../Skins", "C:\\Program Files\\Skins"},
      {".\\Skins", "C:\\Program Files\\Sapala Vova\\Skins"},
      {"./Skins", "C:\\Program Files\\Sapala Vova\\Skins"},
      {"Skins\\Sub", "C:\\Program Files\\Sapala Vova\\Skins\\Sub"},
      {"D:\\Skins", "D:\\Skins"},
      {"\\\\server\\share", "\\\\server\\share"},
  };
  Fixture f;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    f.m->SetSkinDirectory(cases[i].setting);
    EXPECT_EQ(f.m->ResolvedSkinDirectory(), cases[i].want) << "case " << i;
    EXPECT_EQ(f.m->SkinData().SkinPath, SkinManagerCore::FolderPart(cases[i].want)) << "case " << i;
  }
}

TEST(SkinManager, FolderPartOfFileNames) {
  struct Case {
    const char* dir;
    const char* want;
  };
  const Case cases[] = {{"C:\\Skins\\", "C:\\Skins\\"},
                        {"C:\\Skins/", "C:\\Skins\\"},
                        {"D", "D:\\"},
                        {"C:\\Skins", "C:\\Skins\\"},
                        {"", "\\"}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(SkinManagerCore::FolderPart(cases[i].dir), cases[i].want) << "case " << i;
  }
}

TEST(SkinManager, PackedFileWinsOverTheFolder) {
  Fixture f;
  f.Folder("Diri", "[GLOBALINFO]\nVERSION=7.1\n");
  f.fs.Add("C:\\Skins\\Diri.lsz", Pack("[GLOBALINFO]\nVERSION=7.3\n"));
  f.m->SetSkinName("Diri");
  EXPECT_TRUE(f.m->IsPacked());
  EXPECT_EQ(f.m->SkinInfo(), "7.3");
  EXPECT_EQ(f.m->SkinData().SkinPath, "C:\\Skins\\");
  EXPECT_TRUE(f.platform.errors.empty());
}

TEST(SkinManager, LszSuffixInAnyCaseIsDropped) {
  const char* names[] = {"Diri.lsz", "Diri.LSZ", "Diri.LsZ"};
  for (const char* name : names) {
    Fixture f;
    f.fs.Add("C:\\Skins\\Diri.lsz", Pack("[GLOBALINFO]\nVERSION=7.3\n"));
    f.m->SetSkinName(name);
    EXPECT_EQ(f.m->SkinName(), "Diri") << name;
    EXPECT_EQ(f.m->SkinInfo(), "7.3") << name;
  }
  Fixture f;
  f.Folder(".lsz", "[GLOBALINFO]\nVERSION=7.1\n");  // four characters only: kept as it is
  f.m->SetSkinName(".lsz");
  EXPECT_EQ(f.m->SkinName(), ".lsz");
  EXPECT_EQ(f.m->SkinInfo(), "7.1");
}

TEST(SkinManager, FolderSkinAndTheApplySequence) {
  Fixture f;
  f.Folder("Diri", "[GLOBALINFO]\nVERSION=7.2\n");
  int before = 0, after = 0;
  f.m->OnBeforeChange = [&] { ++before; };
  f.m->OnAfterChange = [&] { ++after; };
  f.m->SetSkinName("Diri");
  EXPECT_FALSE(f.m->IsPacked());
  EXPECT_EQ(f.m->SkinData().SkinPath, "C:\\Skins\\Diri\\");
  EXPECT_TRUE(f.m->SkinData().Active);
  EXPECT_EQ(f.m->SkinInfo(), "7.2");
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
  const std::vector<std::string> want = {
      "hide glows", "prepare", "menu", "broadcast 1", "install hooks", "repaint animated prepared"};
  EXPECT_EQ(f.host.calls, want);
  EXPECT_FALSE(SkinManagerCore::SkinLoading());
}

TEST(SkinManager, StoredSkinFallBack) {
  Fixture f;
  TsStoredSkin& s = f.m->InternalSkins().Add();
  s.Name = "Inner";
  s.Data = Pack("[GLOBALINFO]\nVERSION=7.25\n");
  f.m->SetSkinName("NoSuchSkin");
  EXPECT_EQ(f.m->SkinName(), "Inner");
  EXPECT_TRUE(f.m->IsPacked());
  EXPECT_EQ(f.m->SkinData().SkinPath, "");
  EXPECT_EQ(f.m->SkinInfo(), "7.25");
  EXPECT_TRUE(f.m->Active());

  // A stored skin with empty data gives no skin text: an empty skin, still applied.
  Fixture g;
  g.m->InternalSkins().Add().Name = "Empty";
  g.m->SetSkinName("Empty");
  EXPECT_TRUE(g.m->Active());
  EXPECT_FALSE(g.m->IsPacked());
  EXPECT_TRUE(g.m->Tables.Sections.empty());
}

TEST(SkinManager, NothingFoundTurnsTheManagerInactiveSilently) {
  Fixture f;
  f.m->SetSkinName("Missing");
  EXPECT_FALSE(f.m->Active());
  EXPECT_TRUE(f.platform.errors.empty());
  EXPECT_EQ(f.host.Count("broadcast 2"), 1);
  EXPECT_EQ(f.host.Count("broadcast 1"), 0);
  EXPECT_EQ(f.m->SkinInfo(), "N/A");
  // Setting Active back loads again by the same name.
  f.Folder("Missing", "[GLOBALINFO]\nVERSION=7\n");
  f.m->SetActive(true);
  EXPECT_TRUE(f.m->Active());
  EXPECT_EQ(f.m->SkinInfo(), "7");
}

TEST(SkinManager, LoadErrorsAreShownAndKeepTheOldName) {
  struct Case {
    const char* what;
    Bytes pack;
    const char* message;  // nullptr: any
  };
  Bytes badMagic = Pack("[GLOBALINFO]\n");
  badMagic[0] = 'X';
  const PackEntry noText[] = {{"a.bmp", B("x")}};
  const Case cases[] = {
      {"bad magic", badMagic, kNotPackedMessage},
      {"no Options.dat", WritePacked(noText), nullptr},
      {"strict key", Pack("[GLOBALINFO]\nSHADOW1BLUR=x\n"), "'x' is not a valid integer value"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Fixture f;
    f.Folder("Good", "[GLOBALINFO]\nVERSION=7.2\n");
    f.m->SetSkinName("Good");
    f.fs.Add("C:\\Skins\\Bad.lsz", cases[i].pack);
    f.host.calls.clear();
    f.m->SetSkinName("Bad");
    ASSERT_EQ(f.platform.errors.size(), 1u) << "case " << i << " (" << cases[i].what << ")";
    if (cases[i].message != nullptr) {
      EXPECT_EQ(f.platform.errors[0], cases[i].message) << "case " << i;
    }
    EXPECT_EQ(f.m->SkinName(), "Good") << "case " << i;
    EXPECT_TRUE(f.m->Active()) << "case " << i;
    EXPECT_EQ(f.host.Count("broadcast 1"), 1) << "case " << i << ": what was built is applied";
  }
}

TEST(SkinManager, ActiveOffRemovesAndOnReloads) {
  Fixture f;
  f.Folder("Diri", "[GLOBALINFO]\nVERSION=7.2\n[EDIT]\nx=1\n");
  f.m->SetSkinName("Diri");
  f.m->SetActive(false);
  EXPECT_FALSE(f.m->SkinData().Active);
  EXPECT_TRUE(f.m->Tables.Sections.empty());
  EXPECT_EQ(f.host.Count("uninstall hooks"), 1);
  EXPECT_EQ(f.m->SkinInfo(), "N/A");
  f.m->SetActive(true);
  EXPECT_EQ(f.m->Tables.Sections.size(), 2u);
  EXPECT_EQ(f.m->SkinInfo(), "7.2");
}

TEST(SkinManager, WhileTheFormIsReadTheTablesLoadButNothingIsApplied) {
  Fixture f;
  f.Folder("Diri", "[GLOBALINFO]\nVERSION=7.2\n");
  f.host.loading = true;
  f.m->SetSkinName("Diri");
  EXPECT_EQ(f.m->Tables.Sections.size(), 1u);
  EXPECT_EQ(f.host.Count("broadcast 1"), 0);
  f.host.loading = false;
  f.m->MenuSupport.IcoLineSkin.clear();
  f.m->ThirdParty.Set(0, "");
  f.m->Loaded();
  EXPECT_EQ(f.m->MenuSupport.IcoLineSkin, "ICOLINE");
  EXPECT_EQ(f.m->ThirdParty.Get(0), " ");
  EXPECT_EQ(f.host.Count("broadcast 1"), 1);
  EXPECT_EQ(f.host.Count("repaint animated"), 0);  // applied without animation
  EXPECT_EQ(f.m->SkinInfo(), "7.2");
}

TEST(SkinManager, PreviewTextReplacesTheFolderText) {
  Fixture f;
  f.Folder("Diri", "[GLOBALINFO]\nVERSION=7.1\n");
  f.fs.Add("C:\\Skins\\Diri.lsz", Pack("[GLOBALINFO]\nVERSION=7.3\n"));
  f.m->PreviewText = "[GLOBALINFO]\nVERSION=7.05\n";
  // With an editor driving, an existing folder of that name wins over the packed file.
  f.m->SetSkinName("Diri");
  EXPECT_EQ(f.m->SkinInfo(), "7.05");
  f.m->PreviewText.reset();
}

TEST(SkinManager, SkinEditorPreviewIsLoadedFromItsTextAndAppliedOnce) {
  std::vector<std::uint8_t> rec(SkinPreviewRecord::kSize, 0);
  rec[0] = 0x00;
  rec[1] = 0xA4;
  auto put = [&](std::size_t at, const std::string& s) {
    std::copy(s.begin(), s.end(), rec.begin() + static_cast<std::ptrdiff_t>(at));
  };
  put(4, "Edited");
  put(4 + 128, "C:\\Skins");
  put(4 + 128 + 513, "[GLOBALINFO]\nVERSION=7.33\n");
  auto parsed = SkinPreviewRecord::Parse(rec);
  ASSERT_TRUE(parsed);

  Fixture f;
  f.Folder("Edited", "[GLOBALINFO]\nVERSION=7.1\n");  // the folder exists: the text still wins
  EXPECT_EQ(f.m->ApplyPreview(*parsed), 1);
  EXPECT_EQ(f.m->SkinInfo(), "7.33");
  EXPECT_FALSE(f.m->PreviewText);
  EXPECT_FALSE(f.m->Updating);
  EXPECT_EQ(f.host.Count("broadcast 1"), 1);  // applied once, after loading
  EXPECT_EQ(f.host.Count("repaint animated"), 0);
}

TEST(SkinManager, CommonSectionsLoseTheirBlanksAndReload) {
  Fixture f;
  f.Folder("Diri", "[GLOBALINFO]\nVERSION=7.2\n");
  f.m->SetSkinName("Diri");
  f.m->SetCommonSections({"[MY SECTION]", "COLOR = $0A0B0C", "; a comment stays as it is", ""});
  EXPECT_EQ(f.m->CommonSections()[0], "[MYSECTION]");
  EXPECT_EQ(f.m->CommonSections()[1], "COLOR=$0A0B0C");
  EXPECT_EQ(f.m->CommonSections()[2], "; a comment stays as it is");
  const int i = f.m->Tables.FindSection("MYSECTION");
  ASSERT_GE(i, 0);
  EXPECT_EQ(f.m->Tables.Sections[static_cast<std::size_t>(i)].Color, 0x0A0B0C);
}

TEST(SkinManager, HueChangeReloadsFromTheSameSource) {
  Fixture f;
  f.fs.Add("C:\\Skins\\Diri.lsz", Pack("[S]\nCOLOR=$0000FF\n"));
  f.m->SetSkinName("Diri");
  f.m->SetHueOffset(120);
  EXPECT_EQ(f.m->Tables.Sections[0].Color, 0x00FF00);
  EXPECT_EQ(f.host.Count("repaint"), 1);
  f.m->SetHueOffset(0);
  EXPECT_EQ(f.m->Tables.Sections[0].Color, 0x0000FF);  // from the file again, not rotated back
}

// A description may name the hue and saturation after the skin: the final values are in force
// once the form is loaded, whatever their order.
TEST(SkinManager, HueAndSaturationSetAfterTheSkinNameWhileLoadingApply) {
  Fixture f;
  f.fs.Add("C:\\Skins\\Diri.lsz", Pack("[S]\nCOLOR=$0000FF\n"));
  f.host.loading = true;
  f.m->SetSkinName("Diri");
  f.m->SetHueOffset(120);
  f.host.loading = false;
  f.m->Loaded();
  EXPECT_EQ(f.m->Tables.Sections[0].Color, 0x00FF00);
  // Set in the other order, or not at all, the tables are built once.
  Fixture g;
  g.fs.Add("C:\\Skins\\Diri.lsz", Pack("[S]\nCOLOR=$0000FF\n"));
  g.host.loading = true;
  g.m->SetHueOffset(120);
  g.m->SetSkinName("Diri");
  g.host.loading = false;
  g.m->Loaded();
  EXPECT_EQ(g.m->Tables.Sections[0].Color, 0x00FF00);
  EXPECT_EQ(g.fs.reads, 1);
}

// A skin with standard parts, so that a stale cache shows.
constexpr const char* kWithParts =
    "[GLOBALINFO]\nVERSION=7.2\nBOXCHECKED=@0000,0000,0004,0004,1,0\n"
    "[COMBOBTN]\nx=1\n";

TEST(SkinManager, LosingTheSkinRemovesItAndRefreshesTheCache) {
  Fixture f;
  f.Folder("Diri", kWithParts);
  f.m->SetSkinName("Diri");
  ASSERT_EQ(f.m->Tables.Cache.GlobalInfo, 0);
  ASSERT_GE(f.m->Tables.Cache.CheckBoxes[0], 0);
  // Another skin that is not found anywhere: the skin goes, the windows are told, no index
  // points into the emptied tables.
  f.m->SetSkinName("Missing");
  EXPECT_FALSE(f.m->Active());
  EXPECT_TRUE(f.m->Tables.Sections.empty());
  EXPECT_EQ(f.m->Tables.Cache.GlobalInfo, -1);
  EXPECT_EQ(f.m->Tables.Cache.CheckBoxes[0], -1);
  EXPECT_EQ(f.m->Tables.Cache.ComboBtn, -1);
  EXPECT_EQ(f.host.Count("broadcast 2"), 1);
  EXPECT_TRUE(f.platform.errors.empty());
}

TEST(SkinManager, AReloadThatFindsNothingRemovesTheSkin) {
  Fixture f;
  f.Folder("Diri", kWithParts);
  f.m->SetSkinName("Diri");
  f.fs.Remove("C:\\Skins\\Diri\\Options.dat");
  f.host.calls.clear();
  f.m->SetHueOffset(30);
  EXPECT_FALSE(f.m->Active());
  EXPECT_FALSE(f.m->SkinData().Active);
  EXPECT_TRUE(f.m->Tables.Sections.empty());
  EXPECT_EQ(f.m->Tables.Cache.GlobalInfo, -1);
  EXPECT_EQ(f.host.Count("broadcast 2"), 1);
  EXPECT_EQ(f.host.Count("repaint"), 0);
  // The saturation setter takes the same way (nothing more to remove).
  f.m->SetSaturation(10);
  EXPECT_EQ(f.host.Count("broadcast 2"), 1);
}

TEST(SkinManager, WindowDataPublishedByTheManager) {
  Fixture f;
  // Popups are hooked again only when switched on, on the default manager.
  f.m->SetSkinnedPopups(false);
  f.m->SetSkinnedPopups(true);
  EXPECT_EQ(f.host.Count("rehook popups"), 1);
  f.m->SetSkinnedPopups(true);
  EXPECT_EQ(f.host.Count("rehook popups"), 1);
  {
    RecordingHost h2;
    SkinManagerCore other(f.fs, f.platform, h2);
    other.SetSkinnedPopups(false);
    other.SetSkinnedPopups(true);
    EXPECT_EQ(h2.Count("rehook popups"), 0);
  }
  // The last system command, whatever its low four bits.
  f.m->NoteSystemCommand(0xF020);
  EXPECT_EQ(f.m->LastSystemCommand(), scMinimize);
  f.m->NoteSystemCommand(0xF122);
  EXPECT_EQ(f.m->LastSystemCommand(), scRestore);
  f.m->NoteSystemCommand(0xF060);
  EXPECT_EQ(f.m->LastSystemCommand(), scNone);

  // The section name is published, upper-cased, for the length of the broadcast.
  struct Host : RecordingHost {
    void Broadcast(int command) override {
      seen.push_back(std::to_string(command) + " " + SkinManagerCore::RepaintSectionName() +
                     (SkinManagerCore::RepaintPending() ? " pending" : ""));
    }
    std::vector<std::string> seen;
  } h;
  SkinManagerCore m(f.fs, f.platform, h);
  m.RepaintSection("button");
  EXPECT_EQ(h.seen, std::vector<std::string>{"13 BUTTON pending"});
  EXPECT_EQ(SkinManagerCore::RepaintSectionName(), "");
  SkinManagerCore::ClearRepaintPending();
  EXPECT_FALSE(SkinManagerCore::RepaintPending());
}

TEST(SkinManager, LabelFontColour) {
  Fixture f;
  f.Folder("A", "[LABEL]\nFONTCOLOR=$112233\n[FORM]\nFONTCOLOR=$445566\n");
  f.Folder("B", "[FORM]\nFONTCOLOR=$445566\n");
  f.Folder("C", "[GLOBALINFO]\nFONTCOLOR=$778899\n");
  f.m->SetSkinName("A");
  EXPECT_EQ(f.m->LabelFontColor(), 0x112233);
  f.m->SetSkinName("B");
  EXPECT_EQ(f.m->LabelFontColor(), 0x445566);
  f.m->SetSkinName("C");
  EXPECT_EQ(f.m->LabelFontColor(), kFuchsia);
}

TEST(SkinManager, CollectSkinNames) {
  Fixture f;
  f.m->InternalSkins().Add().Name = "Stored";
  f.Folder("Zeta", "[GLOBALINFO]\n");
  f.fs.AddDirectory("C:\\Skins\\NoOptions");
  f.fs.Add("C:\\Skins\\alpha.lsz", B("x"));
  f.fs.Add("C:\\Skins\\Beta.two.lsz", B("x"));
  f.fs.Add("C:\\Skins\\Upper.LSZ", B("x"));  // the extension is compared with case
  f.fs.Add("C:\\Skins\\.hidden.lsz", B("x"));
  f.fs.Add("C:\\Skins\\readme.txt", B("x"));
  struct Case {
    int kinds;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {0, {"alpha", "Beta", "Stored", "Zeta"}},
      {1, {"alpha", "Beta", "Stored"}},
      {2, {"alpha", "Beta", "Stored", "Zeta"}},
      {3, {"Stored"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> list = {"old"};
    const std::string first = f.m->CollectSkinNames(list, c.kinds);
    EXPECT_EQ(list, c.want) << "kinds " << c.kinds;
    EXPECT_EQ(first, "Stored") << "kinds " << c.kinds;  // the first added, not the first sorted
  }
}

TEST(SkinManager, ColourQueries) {
  graphics::SetSystemColorTable(nullptr);  // the built-in defaults
  using graphics::ColorToRGB;
  struct Case {
    const char* text;
    TColor form, formFont, formHot, editFont, sel, selHot, selFont, selFontHot;
  };
  const TColor btnFace = ColorToRGB(graphics::clBtnFace);
  const TColor window = ColorToRGB(graphics::clWindow);
  const TColor windowText = ColorToRGB(graphics::clWindowText);
  const TColor highlight = ColorToRGB(graphics::clHighlight);
  const TColor highlightText = ColorToRGB(graphics::clHighlightText);
  const Case cases[] = {
      {"[X]\n", btnFace, kFuchsia, window, windowText, highlight, highlight, highlightText,
       highlightText},
      {"[GLOBALINFO]\nCOLOR=$010203\nFONTCOLOR=$040506\nHOTCOLOR=$070809\n"
       "[EDIT]\nFONTCOLOR=$0A0B0C\n"
       "[SELECTION]\nSTATES=2\nCOLOR=$111111\nHOTCOLOR=$222222\nFONTCOLOR=$333333\nHOTFONTCOLOR=$"
       "444444\n",
       0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x111111, 0x222222, 0x333333, 0x444444},
      // One state: the hot query answers the normal colour.
      {"[SELECTION]\nSTATES=1\nCOLOR=$111111\nFONTCOLOR=$333333\n", btnFace, kFuchsia, window,
       windowText, 0x111111, 0x111111, 0x333333, 0x333333},
      // Fuchsia and -1 fall through to the menu item; white is refused there for the colour.
      {"[SELECTION]\nCOLOR=$FF00FF\nHOTCOLOR=$FF00FF\nFONTCOLOR=$FF00FF\nHOTFONTCOLOR=$FF00FF\n"
       "[MENUITEM]\nHOTCOLOR=$FFFFFF\nHOTFONTCOLOR=$FFFFFF\n",
       btnFace, kFuchsia, window, windowText, highlight, highlight, 0xFFFFFF, 0xFFFFFF},
      {"[MENUITEM]\nHOTCOLOR=$123456\nHOTFONTCOLOR=$FF00FF\n", btnFace, kFuchsia, window,
       windowText, 0x123456, 0x123456, highlightText, highlightText},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Fixture f;
    f.Folder("S", cases[i].text);
    f.m->SetSkinName("S");
    const Case& c = cases[i];
    EXPECT_EQ(f.m->FormColor(), c.form) << "case " << i;
    EXPECT_EQ(f.m->FormFontColor(), c.formFont) << "case " << i;
    EXPECT_EQ(f.m->FormHotColor(), c.formHot) << "case " << i;
    EXPECT_EQ(f.m->EditFontColor(), c.editFont) << "case " << i;
    EXPECT_EQ(f.m->SelectionColor(false), c.sel) << "case " << i;
    EXPECT_EQ(f.m->SelectionColor(true), c.selHot) << "case " << i;
    EXPECT_EQ(f.m->SelectionFontColor(false), c.selFont) << "case " << i;
    EXPECT_EQ(f.m->SelectionFontColor(true), c.selFontHot) << "case " << i;
  }
}

TEST(SkinManager, DestructionRemovesTheSkinAndGivesUpBeingDefault) {
  MemoryFileSystem fs;
  FakePlatform p;
  RecordingHost h;
  fs.Add("c:\\Skins\\A\\Options.dat", std::string("[GLOBALINFO]\n"));
  {
    SkinManagerCore m(fs, p, h);
    m.SetSkinName("A");
    m.ClassLists.LoadFrom(m.ThirdParty);
    EXPECT_EQ(SkinManagerCore::DefaultManager(), &m);
  }
  EXPECT_EQ(SkinManagerCore::DefaultManager(), nullptr);
  EXPECT_EQ(h.Count("broadcast 2"), 1);
}

}  // namespace
}  // namespace sapala::skin

namespace sapala::skin {
namespace {

struct FakeGlow final : GlowPlatform {
  bool layered = true;
  bool LayeredWindowsAvailable() const override { return layered; }
  bool DesignMode() const override { return false; }
  bool Wow64WithoutComposition() const override { return false; }
};

// Switching extended borders reloads the skin and repaints; the shadow pictures and margins are
// there only while the platform offers layered windows.
TEST(SkinManager, ExtendedBordersReloadAndNeedLayeredWindows) {
  const BuiltInShadows shadows = LoadBuiltInShadows();
  for (const bool layered : {true, false}) {
    SCOPED_TRACE(layered ? "layered windows" : "no layered windows");
    MemoryFileSystem fs;
    FakePlatform platform;
    RecordingHost host;
    FakeGlow glow;
    glow.layered = layered;
    fs.Add("C:\\Skins\\Diri\\Options.dat", "[GLOBALINFO]\nBORDERWIDTH=4\n[FORM]\nCOLOR=$0000FF\n");
    SkinManagerCore m(fs, platform, host, &glow, &shadows);
    m.SetSkinDirectory("C:\\Skins");
    m.SetSkinName("Diri");
    ASSERT_TRUE(m.Tables.SkinData.Active);
    const int repaints = host.Count("repaint");
    m.SetExtendedBorders(true);
    EXPECT_EQ(host.Count("repaint"), repaints + 1);
    EXPECT_EQ(m.ExtendedBordersInEffect(), layered);
    const ExtBorderPictures& e = m.Tables.ExtBorders;
    if (layered) {
      EXPECT_EQ(e.Left, 11);
      EXPECT_EQ(e.Top, 10);
      EXPECT_EQ(e.Right, 11);
      EXPECT_EQ(e.Bottom, 12);
      EXPECT_EQ(e.Active.Width(), 32);
      EXPECT_EQ(e.Inactive.Width(), 31);
    } else {
      EXPECT_EQ(e.Left + e.Top + e.Right + e.Bottom, 0);
      EXPECT_TRUE(e.Active.Empty());
    }
    m.SetExtendedBorders(true);  // no change, no reload
    EXPECT_EQ(host.Count("repaint"), repaints + 1);
    m.SetExtendedBorders(false);
    EXPECT_EQ(host.Count("repaint"), repaints + 2);
    EXPECT_EQ(m.Tables.ExtBorders.Left, 0);
    EXPECT_TRUE(m.Tables.ExtBorders.Active.Empty());
  }
}

}  // namespace
}  // namespace sapala::skin
