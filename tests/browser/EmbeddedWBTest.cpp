// The browser pane: its data, its options, the HTML-code handler, events, hiding and the
// view window that outlives the pane's own.
#include <windows.h>

#include "browser/EmbeddedWB.h"
#include "framework/core/Property.h"
#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "framework/menus/MenuItem.h"
#include "framework/menus/PopupMenu.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"
#include "tests/harness/TempDir.h"
#include "tests/webview/MenuWatcher.h"
#include "webview/DocumentWindow.h"
#include "webview/HtmlDocument.h"
#include "webview/NavigationStatus.h"
#include "webview/Url.h"

namespace {

class EmbeddedWBTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form_ = new TForm(Application);
    form_->SetBounds(60, 60, 460, 360);
    pane_ = new TEmbeddedWB(form_);
    pane_->SetParent(form_);
    pane_->SetAlign(TAlign::alClient);
    pane_->DefaultInterface()->SetTimeout(1500);
    pane_->OnNavigateComplete2 = [this](TObject* sender, TObject* pDisp, const std::u16string& url) {
      EXPECT_EQ(sender, pane_);
      EXPECT_EQ(pDisp, pane_->DefaultInterface());
      completed_.push_back(url);
    };
    pane_->OnNavigateError = [this](TObject* sender, TObject*, const std::u16string& url, const std::u16string&,
                                    int32_t status, bool&) {
      EXPECT_EQ(sender, pane_);
      failed_.push_back(url);
      statuses_.push_back(status);
    };
    pane_->OnGetHostInfo = [this](TObject*, TDocHostUIInfo&) { ++documents_; };
  }
  void TearDown() override {
    if (form_ != nullptr) form_->Free();
  }
  void ShowForm() {
    form_->Show();
    SetForegroundWindow(form_->Handle());
    PumpFor(20);
  }
  void Assign(std::initializer_list<const char16_t*> lines) {
    TOwned<TStringList> list(new TStringList);
    for (const char16_t* line : lines) list->Add(line);
    pane_->SetHTMLCode(list.get());
  }
  HWND DocumentWindow() { return pane_->DefaultInterface()->DocumentWindow()->Handle(); }
  std::u16string Text() { return pane_->DefaultInterface()->Document().Text(); }

  TForm* form_ = nullptr;
  TEmbeddedWB* pane_ = nullptr;
  std::vector<std::u16string> completed_, failed_;
  std::vector<int32_t> statuses_;
  int documents_ = 0;
};

TEST_F(EmbeddedWBTest, TheOldControlsIdentifiersAreKeptAsData) {
  const TEWBControlData& data = TEWB::ControlData();
  EXPECT_EQ(std::u16string(data.ClassID), u"{8856F961-340A-11D0-A96B-00C04FD705A2}");
  EXPECT_EQ(std::u16string(data.DefaultInterface), u"{D30C1661-CDAF-11D0-8A3E-00C04FC9E26E}");
  EXPECT_EQ(std::u16string(data.EventInterface), u"{34A715A0-6587-11D0-924A-0020AFC7AC4D}");
  const int32_t order[] = {102, 108, 105, 106, 104, 113, 112, 250, 251, 252, 259, 253, 254, 255, 256, 257, 258,
                           260, 261, 262, 264, 265, 266, 267, 263, 268, 269, 270, 271, 225, 226, 227, 272, 273};
  ASSERT_EQ(data.EventCount, 34);
  for (int i = 0; i < 34; ++i) EXPECT_EQ(data.Events[i].DispId, order[i]) << i;
  struct {
    int32_t Id;
    const char16_t* Name;
    bool Raised;
  } known[] = {{252, u"NavigateComplete2", true}, {271, u"NavigateError", true}, {273, u"NewWindow3", true},
               {254, u"OnVisible", true},         {250, u"BeforeNavigate2", false}};
  for (auto& k : known) {
    const TEWBEvent* e = TEWB::FindEvent(k.Id);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(std::u16string(e->Name), k.Name);
    EXPECT_EQ(e->Raised, k.Raised);
  }
  EXPECT_EQ(TEWB::FindEvent(999), nullptr);
}

TEST_F(EmbeddedWBTest, UserInterfaceOptionsSumTheirFlags) {
  const uint32_t flags[] = {0x1,     0x2,     0x4,      0x8,      0x10,     0x20,      0x40,      0x80,
                            0x100,   0x200,   0x400,    0x800,    0x1000,   0x2000,    0x4000,    0x10000,
                            0x20000, 0x40000, 0x80000,  0x100000, 0x200000, 0x400000,  0x800000,  0x1000000,
                            0x2000000, 0x4000000, 0x8000000, 0x10000000, 0x20000000};
  for (int i = 0; i < 29; ++i) {
    auto option = static_cast<TUserInterfaceOption>(i);
    EXPECT_EQ(UserInterfaceOptionFlag(option), flags[i]) << EnumName(option).size();
    EXPECT_EQ(UserInterfaceFlags(SetOf(option)), flags[i]);
  }
  EXPECT_EQ(UserInterfaceFlags(0), 0u);
  EXPECT_EQ(UserInterfaceFlags((1u << 29) - 1), 0x3FFF7FFFu) << "all but 0x8000";
  // The panes of the program keep the default set.
  EXPECT_EQ(pane_->UserInterfaceOptions(),
            SetOf(TUserInterfaceOption::EnablesFormsAutoComplete) | SetOf(TUserInterfaceOption::EnableThemes));
  EXPECT_EQ(pane_->HostInfoFlags(), 0x44000u);
  pane_->SetUserInterfaceOptions(0);
  EXPECT_EQ(pane_->HostInfoFlags(), 0u);
  EXPECT_TRUE(SetPropText(pane_, u"UserInterfaceOptions", u"[DisableTextSelect,DontUseScrollBars]"));
  EXPECT_EQ(pane_->HostInfoFlags(), 0x9u);
  EXPECT_EQ(GetSetProp(pane_, u"UserInterfaceOptions"), u"[DisableTextSelect,DontUseScrollBars]");
}

TEST_F(EmbeddedWBTest, HostInformationCarriesTheFlagsAndTheHostStyleSheet) {
  TDocHostUIInfo info;
  info.dwFlags = 0xDEAD;
  pane_->GetHostInfo(pane_->DefaultInterface(), info);
  EXPECT_EQ(info.cbSize, 20u);
  EXPECT_EQ(info.dwFlags, 0x44000u);
  EXPECT_EQ(info.pchHostCss, u"");
  pane_->SetHostCSS(u"p { color: #ff0000 }");
  pane_->SetHostNS(u"ns");
  pane_->GetHostInfo(pane_->DefaultInterface(), info);
  EXPECT_EQ(info.pchHostCss, u"p { color: #ff0000 }");
  EXPECT_EQ(info.pchHostNS, u"ns");
  // The optional event goes first; what it fills in stays.
  pane_->OnGetHostInfo = [](TObject*, TDocHostUIInfo& i) {
    i.dwFlags |= 0x1;
    i.pchHostCss = u"b { color: blue }";
  };
  pane_->GetHostInfo(pane_->DefaultInterface(), info);
  EXPECT_EQ(info.dwFlags, 0x44001u);
  EXPECT_EQ(info.pchHostCss, u"b { color: blue }");
  EXPECT_EQ(info.pchHostNS, u"ns");
}

TEST_F(EmbeddedWBTest, TheHostStyleSheetAndFlagsReachThePage) {
  ShowForm();
  pane_->SetHostCSS(u"p { color: #ff0000 }");
  pane_->SetUserInterfaceOptions(SetOf(TUserInterfaceOption::DontUseScrollBars));
  std::u16string page = u"<body style='margin:0'><p id=t style='margin:0;font-size:40px'>红字</p>";
  for (int i = 0; i < 80; ++i) page += u"<p>行</p>";
  Assign({page.c_str()});
  HWND window = DocumentWindow();
  UpdateWindow(window);
  TCapture capture = CaptureWindow(window);
  capture.Save(u"browser-host-css.png");
  TRect box = pane_->DefaultInterface()->Document().BoxOf("#t");
  int red = 0;
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left; x < box.Right; ++x) {
      uint32_t p = capture.At(x, y);
      if (((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80) ++red;
    }
  EXPECT_GT(red, 50);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL, 0) << "DontUseScrollBars";
}

TEST_F(EmbeddedWBTest, PrintOptionsAreData) {
  TPrintOptions* options = pane_->PrintOptions();
  ASSERT_EQ(options->HTMLHeader()->Count(), 1);
  EXPECT_EQ(options->HTMLHeader()->Get(0), u"<HTML></HTML>");
  EXPECT_EQ(options->Orientation(), TPrintOrientation::poPortrait);
  // As the forms set them, by name.
  TObject* margins = GetObjectProp(options, u"Margins");
  ASSERT_NE(margins, nullptr);
  for (const char16_t* side : {u"Left", u"Right", u"Top", u"Bottom"}) EXPECT_TRUE(SetStrProp(margins, side, u"19.05"));
  EXPECT_TRUE(SetStrProp(options, u"Header", u"&w&b页码，&p/&P"));
  EXPECT_TRUE(SetStrProp(options, u"Footer", u"&u&b&d"));
  EXPECT_TRUE(SetEnumProp(options, u"Orientation", u"poPortrait"));
  EXPECT_DOUBLE_EQ(options->Margins()->Left(), 19.05);
  EXPECT_DOUBLE_EQ(options->Margins()->Bottom(), 19.05);
  EXPECT_EQ(GetStrProp(margins, u"Top"), u"19.05");
  EXPECT_EQ(options->Header(), u"&w&b页码，&p/&P");
  EXPECT_EQ(options->Footer(), u"&u&b&d");
  SetStrProp(margins, u"Left", u"wide");
  EXPECT_DOUBLE_EQ(options->Margins()->Left(), 19.05) << "no number: the margin stays";
}

TEST_F(EmbeddedWBTest, TextIntoAFreshPaneShowsAtOnce) {
  ShowForm();
  EXPECT_FALSE(pane_->HasDocument());
  Assign({u"<p>你好，世界</p>"});
  EXPECT_TRUE(pane_->HasDocument());
  EXPECT_EQ(Text(), u"你好，世界");
  HWND window = DocumentWindow();
  UpdateWindow(window);
  TCapture capture = CaptureWindow(window);
  int ink = 0;
  for (uint32_t p : capture.Pixels) ink += p != 0xFFFFFF ? 1 : 0;
  EXPECT_GT(ink, 30) << "the text is on the screen";
  PumpFor(100);
  EXPECT_EQ(Text(), u"你好，世界") << "no blank page arrives later";
}

TEST_F(EmbeddedWBTest, TextBeforeThePaneHasAWindowShowsWhenItGetsOne) {
  Assign({u"<p>先装</p>", u"<p>后显示</p>"});
  EXPECT_FALSE(pane_->HandleAllocated());
  EXPECT_EQ(Text(), u"先装\r\n后显示");
  ShowForm();
  EXPECT_EQ(Text(), u"先装\r\n后显示");
}

TEST_F(EmbeddedWBTest, ALineBeginningWithATagLoadsAsADocument) {
  ShowForm();
  Assign({u"<b>粗体</b>的一行"});
  EXPECT_EQ(Text(), u"粗体的一行");
  EXPECT_EQ(pane_->LocationURL(), u"about:blank");
  PumpFor(100);
  EXPECT_TRUE(failed_.empty());
}

TEST_F(EmbeddedWBTest, OneLineBeginningWithWwwInAnyCaseIsAnAddress) {
  ShowForm();
  for (const char16_t* line : {u"www.example.invalid/a", u"WwW.example.invalid/b", u"WWW.example.invalid/c"}) {
    SCOPED_TRACE(Utf16ToUtf8(line));
    failed_.clear();
    completed_.clear();
    pane_->DefaultInterface()->LoadFromString(u"<p>之前</p>");
    Assign({line});
    EXPECT_EQ(Text(), u"之前") << "not shown as text: the pane goes there";
    // No such host: the address comes back as an error (or a time-out).
    ASSERT_TRUE(PumpUntil([&] { return !failed_.empty(); }, 4000));
    EXPECT_EQ(failed_[0], std::u16string(u"http://") + line);
  }
  // The same address in two lines is a document.
  Assign({u"www.example.invalid/a", u"second line"});
  EXPECT_EQ(Text(), u"www.example.invalid/a second line");
}

TEST_F(EmbeddedWBTest, AddressLinesOfEachKindNavigate) {
  ShowForm();
  TTempDir dir;
  std::u16string page = dir.Write(u"p.html", "<p>文件页</p>");
  struct {
    std::u16string Line;
    std::u16string Url;
  } cases[] = {{PathToFileUrl(page), PathToFileUrl(page)},
               {u"FILE:///" + page.substr(0, 2) + u"/" + page.substr(3), u"FILE:///" + page.substr(0, 2) + u"/" + page.substr(3)},
               {u"HTTP://127.0.0.1:" + IntToStr(1) + u"/x", u"HTTP://127.0.0.1:1/x"}};
  for (auto& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.Line));
    completed_.clear();
    failed_.clear();
    Assign({c.Line.c_str()});
    ASSERT_TRUE(PumpUntil([&] { return !completed_.empty() || !failed_.empty(); }, 4000));
    std::u16string url = !completed_.empty() ? completed_[0] : failed_[0];
    EXPECT_EQ(url, c.Url);
  }
  EXPECT_EQ(statuses_.back(), StatusCannotConnect);
}

TEST_F(EmbeddedWBTest, AFileLineNamingAFolderGoesToFileSlashSlashSlashAndTheLine) {
  ShowForm();
  TTempDir dir;
  dir.MakeDir(u"files");
  dir.Write(u"files\\条目.txt", "x");
  WCHAR saved[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, saved);
  ASSERT_TRUE(SetCurrentDirectoryW(reinterpret_cast<LPCWSTR>(dir.Path().c_str())));
  Assign({u"files"});
  bool done = PumpUntil([&] { return !completed_.empty() || !failed_.empty(); }, 4000);
  SetCurrentDirectoryW(saved);
  ASSERT_TRUE(done);
  ASSERT_EQ(completed_.size(), 1u);
  EXPECT_EQ(completed_[0], u"file:///files");
  EXPECT_NE(Text().find(u"条目.txt"), std::u16string::npos) << "the folder's listing";
}

TEST_F(EmbeddedWBTest, AssigningTheSameTextTwiceLoadsItTwice) {
  ShowForm();
  TOwned<TStringList> lines(new TStringList);
  lines->Add(u"<p>同一段</p>");
  pane_->SetHTMLCode(lines.get());
  int first = documents_;
  pane_->DefaultInterface()->SelectAll();
  EXPECT_TRUE(pane_->DefaultInterface()->Document().HasSelection());
  pane_->SetHTMLCode(lines.get());
  EXPECT_EQ(documents_, first + 1);
  EXPECT_FALSE(pane_->DefaultInterface()->Document().HasSelection()) << "a new document";
  EXPECT_EQ(lines->Count(), 1) << "the caller keeps its list";
  pane_->SetHTMLCode(nullptr);
  EXPECT_EQ(documents_, first + 1) << "no list: nothing";
}

TEST_F(EmbeddedWBTest, LoadingLinesPutsALineBreakAfterEach) {
  ShowForm();
  TOwned<TStringList> lines(new TStringList);
  lines->Add(u"<pre>一");
  lines->Add(u"二</pre>");
  EXPECT_EQ(pane_->LoadFromStrings(*lines), 0);
  EXPECT_EQ(Text(), u"一\r\n二");
  TOwned<TMemoryStream> stream(new TMemoryStream);
  stream->WriteBuffer("<p>\xE6\xB5\x81</p>", 10);
  EXPECT_EQ(pane_->LoadFromStream(*stream), 0) << "read from its start";
  EXPECT_EQ(Text(), u"流");
}

TEST_F(EmbeddedWBTest, NavigateRaisesForAnAddressTheViewRejects) {
  ShowForm();
  EXPECT_THROW(pane_->Navigate(u"mailto:x@example.cn"), EWebViewError);
  EXPECT_THROW(pane_->Navigate(u""), EWebViewError);
  EXPECT_NO_THROW(pane_->Navigate(u"about:blank"));
  ASSERT_TRUE(PumpUntil([&] { return !completed_.empty(); }));
  EXPECT_EQ(completed_[0], u"about:blank");
}

TEST_F(EmbeddedWBTest, NewWindow3ComesFromThePaneAndAPaneNamedAsTheWindowGetsThePage) {
  ShowForm();
  auto* other = new TEmbeddedWB(form_);
  other->SetParent(form_);
  other->SetBounds(0, 0, 50, 50);
  TTempDir dir;
  std::u16string target = dir.Write(u"t.html", "<p>新页</p>");
  TObject* sender = nullptr;
  pane_->OnNewWindow3 = [&](TObject* s, TObject*& ppDisp, bool&, uint32_t, const std::u16string&, const std::u16string&) {
    sender = s;
    ppDisp = other;
  };
  pane_->DefaultInterface()->RequestNewWindow(PathToFileUrl(target), 0);
  EXPECT_EQ(sender, pane_);
  ASSERT_TRUE(PumpUntil([&] { return other->LocationURL() == PathToFileUrl(target); }));
  EXPECT_EQ(other->DefaultInterface()->Document().Text(), u"新页");
}

// --- keys --------------------------------------------------------------------------------------

TEST_F(EmbeddedWBTest, CtrlShortcutsAreSwallowedByTheExactRule) {
  struct {
    const char* Name;
    bool LeftCtrl, RightCtrl, LeftAlt, RightAlt;
    UINT Message;
    WPARAM Key;
    const char16_t* Letters;
    bool Swallowed;
  } cases[] = {
      {"left Ctrl+N", true, false, false, false, WM_KEYDOWN, 'N', u"N", true},
      {"right Ctrl+N", false, true, false, false, WM_KEYDOWN, 'N', u"N", true},
      {"left Ctrl+left Alt+N", true, false, true, false, WM_KEYDOWN, 'N', u"N", false},
      {"left Ctrl+right Alt+N", true, false, false, true, WM_KEYDOWN, 'N', u"N", false},
      {"right Ctrl+right Alt+N", false, true, false, true, WM_KEYDOWN, 'N', u"N", true},
      {"right Ctrl+left Alt+N", false, true, true, false, WM_KEYDOWN, 'N', u"N", false},
      {"N alone", false, false, false, false, WM_KEYDOWN, 'N', u"N", false},
      {"Ctrl+P not listed", true, false, false, false, WM_KEYDOWN, 'P', u"N", false},
      {"Ctrl+P listed", true, false, false, false, WM_KEYDOWN, 'P', u"NP", true},
      {"lower-case letters never match", true, false, false, false, WM_KEYDOWN, 'N', u"n", false},
      {"no letters", true, false, false, false, WM_KEYDOWN, 'N', u"", false},
      {"key up", true, false, false, false, WM_KEYUP, 'N', u"N", false},
      {"system key down", true, false, false, false, WM_SYSKEYDOWN, 'N', u"N", false},
  };
  std::vector<char16_t> masked;
  pane_->OnMaskedCtrlChar = [&](TObject*, char16_t key) { masked.push_back(key); };
  BYTE original[256];
  GetKeyboardState(original);
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    BYTE state[256] = {};
    auto down = [&state](int vk, bool on) {
      if (on) state[vk] = 0x80;
    };
    down(VK_LCONTROL, c.LeftCtrl);
    down(VK_RCONTROL, c.RightCtrl);
    down(VK_CONTROL, c.LeftCtrl || c.RightCtrl);
    down(VK_LMENU, c.LeftAlt);
    down(VK_RMENU, c.RightAlt);
    down(VK_MENU, c.LeftAlt || c.RightAlt);
    SetKeyboardState(state);
    pane_->SetDisableCtrlShortcuts(c.Letters);
    masked.clear();
    MSG msg{nullptr, c.Message, c.Key, 0, 0, {}};
    EXPECT_EQ(pane_->TranslateAccelerator(pane_->DefaultInterface(), msg), c.Swallowed);
    EXPECT_EQ(masked.size(), c.Swallowed ? 1u : 0u);
    if (c.Swallowed && !masked.empty()) { EXPECT_EQ(masked[0], static_cast<char16_t>(c.Key)); }
  }
  SetKeyboardState(original);
  auto* fresh = new TEmbeddedWB(form_);
  EXPECT_EQ(GetStrProp(fresh, u"DisableCtrlShortcuts"), u"N") << "the default";
}

TEST_F(EmbeddedWBTest, CtrlNIsSwallowedAndCtrlAltNReachesTheView) {
  ShowForm();
  Assign({u"<p>键</p>"});
  ::SetFocus(DocumentWindow());
  PumpFor(20);
  std::vector<WORD> reached;
  pane_->DefaultInterface()->DocumentWindow()->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    if (key == 'N') reached.push_back(key);
  };
  int newWindows = 0;
  pane_->OnNewWindow3 = [&](TObject*, TObject*&, bool& cancel, uint32_t, const std::u16string&, const std::u16string&) {
    ++newWindows;
    cancel = true;
  };
  int masked = 0;
  pane_->OnMaskedCtrlChar = [&](TObject*, char16_t) { ++masked; };
  PressKey('N', true);
  PumpFor(80);
  EXPECT_EQ(masked, 1);
  EXPECT_TRUE(reached.empty());
  EXPECT_EQ(newWindows, 0) << "Ctrl+N opened no window";
  PressKey('N', true, true);  // Ctrl + the left Alt
  ASSERT_TRUE(PumpUntil([&] { return !reached.empty(); }, 1000));
  EXPECT_EQ(masked, 1);
  // Without the letter the view's own Ctrl+N asks for a window again.
  pane_->SetDisableCtrlShortcuts(u"");
  PressKey('N', true);
  ASSERT_TRUE(PumpUntil([&] { return newWindows == 1; }, 1000));
}

TEST_F(EmbeddedWBTest, OtherKeysGoToTheOptionalAcceleratorEvent) {
  MSG msg{nullptr, WM_KEYDOWN, VK_F5, 0, 0, {}};
  EXPECT_FALSE(pane_->TranslateAccelerator(pane_->DefaultInterface(), msg));
  std::vector<WPARAM> offered;
  pane_->OnTranslateAccelerator = [&](TObject*, const MSG& m, int32_t& result) {
    offered.push_back(m.wParam);
    if (m.wParam == VK_F5) result = HostOk;
  };
  EXPECT_TRUE(pane_->TranslateAccelerator(pane_->DefaultInterface(), msg));
  msg.wParam = VK_F6;
  EXPECT_FALSE(pane_->TranslateAccelerator(pane_->DefaultInterface(), msg));
  EXPECT_EQ(offered, (std::vector<WPARAM>{VK_F5, VK_F6}));
}

// --- context menus ----------------------------------------------------------------------------

TEST_F(EmbeddedWBTest, SuppressedMenuKindsByTheSet) {
  struct {
    const char* Name;
    TIEPopupMenus Disabled;
    TContextMenuKind Kind;
    bool Handled;
  } cases[] = {
      {"nothing suppressed", 0, TContextMenuKind::Default, false},
      {"rcmAll: text", SetOf(TIEPopupMenu::rcmAll), TContextMenuKind::Default, true},
      {"rcmAll: link", SetOf(TIEPopupMenu::rcmAll), TContextMenuKind::Anchor, true},
      {"rcmAll: unknown kind", SetOf(TIEPopupMenu::rcmAll), static_cast<TContextMenuKind>(11), true},
      {"anchors only: link", SetOf(TIEPopupMenu::rcmAnchor), TContextMenuKind::Anchor, true},
      {"anchors only: text", SetOf(TIEPopupMenu::rcmAnchor), TContextMenuKind::Default, false},
      {"images: image", SetOf(TIEPopupMenu::rcmImage), TContextMenuKind::Image, true},
      {"selection: selection", SetOf(TIEPopupMenu::rcmSelText), TContextMenuKind::TextSelect, true},
      {"kind 10 has no member", SetOf(TIEPopupMenu::rcmDefault), static_cast<TContextMenuKind>(10), false},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    pane_->SetDisabledPopupMenus(c.Disabled);
    EXPECT_EQ(pane_->ShowContextMenu(pane_->DefaultInterface(), c.Kind, TPoint(10, 10)), c.Handled);
  }
  // The optional event decides first.
  pane_->SetDisabledPopupMenus(0);
  pane_->OnShowContextMenu = [](TObject*, uint32_t id, TPoint, int32_t& result) {
    EXPECT_EQ(result, HostNotImplemented);
    if (id == 0) result = HostOk;
  };
  EXPECT_TRUE(pane_->ShowContextMenu(pane_->DefaultInterface(), TContextMenuKind::Default, TPoint()));
  EXPECT_FALSE(pane_->ShowContextMenu(pane_->DefaultInterface(), TContextMenuKind::Anchor, TPoint()));
}

TEST_F(EmbeddedWBTest, RightClickShowsNothingWithRcmAllAndTheStandardMenuElsewhere) {
  ShowForm();
  Assign({u"<body style='margin:0'><p id=t>右键</p></body>"});
  TRect text = pane_->DefaultInterface()->Document().BoxOf("#t");
  TMenuWatcher menus;
  // A detail pane: the view's standard menu.
  ClickAt(DocumentWindow(), text.Left + 4, text.Top + 4, true);
  ASSERT_TRUE(PumpUntil([&] { return menus.Menus().size() == 1; }));
  EXPECT_EQ(menus.Menus()[0].back(), u"全选(&A)\tCtrl+A");
  // ewb11, EWB1, ewb22, EWB2: nothing at all.
  EXPECT_TRUE(SetPropText(pane_, u"DisabledPopupMenus", u"[rcmAll]"));
  ClickAt(DocumentWindow(), text.Left + 4, text.Top + 4, true);
  PumpFor(300);
  EXPECT_EQ(menus.Menus().size(), 1u);
  // With a menu of the pane's own, that one instead.
  auto* own = new TPopupMenu(form_);
  auto* item = new TMenuItem(own);
  item->SetCaption(u"窗格菜单");
  own->Items()->Add(item);
  pane_->SetPopupMenu(own);
  ClickAt(DocumentWindow(), text.Left + 4, text.Top + 4, true);
  ASSERT_TRUE(PumpUntil([&] { return menus.Menus().size() == 2; }));
  ASSERT_EQ(menus.Menus()[1].size(), 1u);
  EXPECT_EQ(menus.Menus()[1][0], u"窗格菜单");
}

// --- the pane's window -------------------------------------------------------------------------

TEST_F(EmbeddedWBTest, HidingHidesThePaneAndItsViewAndSaysSo) {
  ShowForm();
  Assign({u"<p>盖</p>"});
  std::vector<bool> visible;
  pane_->OnVisible = [&](TObject*, bool v) { visible.push_back(v); };
  HWND view = pane_->DefaultInterface()->Handle();
  EXPECT_TRUE(IsWindowVisible(view));
  pane_->Hide();
  EXPECT_FALSE(pane_->Visible());
  EXPECT_FALSE(IsWindowVisible(pane_->Handle()));
  EXPECT_FALSE(IsWindowVisible(view));
  EXPECT_FALSE(pane_->DefaultInterface()->Visible());
  pane_->Show();
  EXPECT_TRUE(IsWindowVisible(view));
  EXPECT_EQ(visible, (std::vector<bool>{false, true}));
}

TEST_F(EmbeddedWBTest, TheViewsWindowOutlivesTheRecreatedPaneWindow) {
  ShowForm();
  Assign({u"<p>留下的页</p>"});
  HWND oldPane = pane_->Handle();
  HWND view = pane_->DefaultInterface()->Handle();
  pane_->RecreateWnd();
  HWND newPane = pane_->Handle();
  EXPECT_NE(newPane, oldPane);
  EXPECT_FALSE(IsWindow(oldPane));
  EXPECT_TRUE(IsWindow(view)) << "the same window, kept";
  EXPECT_EQ(pane_->DefaultInterface()->Handle(), view);
  EXPECT_EQ(GetParent(view), newPane) << "taken back";
  RECT r;
  GetWindowRect(view, &r);
  MapWindowPoints(HWND_DESKTOP, newPane, reinterpret_cast<POINT*>(&r), 2);
  RECT client;
  GetClientRect(newPane, &client);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, client.right);
  EXPECT_EQ(r.bottom, client.bottom);
  EXPECT_EQ(Text(), u"留下的页");
}

TEST_F(EmbeddedWBTest, WhileThePaneHasNoWindowTheViewWaitsOnTheApplicationWindow) {
  ShowForm();
  HWND view = pane_->DefaultInterface()->Handle();
  // A pane's window destroyed without the pane (what a parent change does first).
  struct TOpenPane : TEmbeddedWB {
    using TEmbeddedWB::DestroyWnd;
  };
  auto destroyWindow = &TOpenPane::DestroyWnd;
  (pane_->*destroyWindow)();
  EXPECT_FALSE(pane_->HandleAllocated());
  EXPECT_TRUE(IsWindow(view));
  EXPECT_EQ(GetParent(view), Application->Handle());
  pane_->HandleNeeded();
  EXPECT_EQ(GetParent(view), pane_->Handle());
}

TEST_F(EmbeddedWBTest, FreeingThePaneTakesTheViewsWindowWithIt) {
  ShowForm();
  HWND view = pane_->DefaultInterface()->Handle();
  pane_->Free();
  pane_ = nullptr;
  EXPECT_FALSE(IsWindow(view));
}

}  // namespace
