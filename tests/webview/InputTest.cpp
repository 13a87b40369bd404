// Reading a page with the mouse and the keys: the window classes, scroll bars, wheel,
// keys, selection and the clipboard, the hand over links, the context menu and the host's
// say before the view acts.
#include <windows.h>

#include "framework/core/Unicode.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"
#include "tests/webview/MenuWatcher.h"
#include "webview/DocumentWindow.h"
#include "webview/HtmlDocument.h"
#include "webview/WebView.h"

namespace {

std::u16string ClipboardText() {
  std::u16string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const char16_t*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void ClearClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

std::u16string LongPage(int lines) {
  std::u16string html = u"<body style='margin:0'>";
  for (int i = 0; i < lines; ++i) html += u"<div style='height:20px'>第" + IntToStr(i) + u"行</div>";
  return html + u"</body>";
}

struct TRecordingHost : TWebViewHost {
  std::vector<TContextMenuKind> Menus;
  bool TakeMenus = true;
  WPARAM SwallowKey = 0;
  std::vector<WPARAM> Keys;
  bool ShowContextMenu(TWebView*, TContextMenuKind kind, TPoint) override {
    Menus.push_back(kind);
    return TakeMenus;
  }
  bool TranslateAccelerator(TWebView*, const MSG& message) override {
    if (message.message == WM_KEYDOWN) Keys.push_back(message.wParam);
    return message.message == WM_KEYDOWN && message.wParam == SwallowKey;
  }
};

class InputTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form_ = new TForm(Application);
    form_->SetBounds(50, 50, 420, 320);
    view_ = new TWebView(form_);
    view_->SetParent(form_);
    view_->SetAlign(TAlign::alClient);
    form_->Show();
    SetForegroundWindow(form_->Handle());
  }
  void TearDown() override { form_->Free(); }
  HWND Window() { return view_->DocumentWindow()->Handle(); }
  void Load(const std::u16string& html) {
    view_->LoadFromString(html);
    UpdateWindow(Window());
    PumpFor(20);
  }
  void Focus() {
    ::SetFocus(Window());
    PumpFor(10);
  }
  TForm* form_ = nullptr;
  TWebView* view_ = nullptr;
};

TEST_F(InputTest, WindowsCarryTheClassNamesOfTheOldControl) {
  HWND outer = view_->Handle();
  EXPECT_EQ(WindowClass(outer), u"Shell DocObject View");
  HWND inner = GetWindow(outer, GW_CHILD);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(WindowClass(inner), u"Internet Explorer_Server");
  EXPECT_EQ(inner, Window());
  // The focus given to the outer window (as a wheel hook would) lands on the inner one.
  ::SetFocus(outer);
  EXPECT_EQ(GetFocus(), inner);
}

TEST_F(InputTest, ScrollBarsOnlyWhenThePageNeedsThem) {
  struct {
    const char* Name;
    std::u16string Html;
    bool Vertical, Horizontal;
  } cases[] = {
      {"short", u"<p>短</p>", false, false},
      {"long", LongPage(60), true, false},
      {"wide", u"<div style='width:2000px'>宽</div>", false, true},
      {"both", u"<div style='width:2000px;height:3000px'>大</div>", true, true},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Load(c.Html);
    LONG_PTR style = GetWindowLongPtrW(Window(), GWL_STYLE);
    EXPECT_EQ((style & WS_VSCROLL) != 0, c.Vertical);
    EXPECT_EQ((style & WS_HSCROLL) != 0, c.Horizontal);
    if (c.Vertical) {
      SCROLLINFO si{sizeof(si), SIF_ALL};
      GetScrollInfo(Window(), SB_VERT, &si);
      EXPECT_EQ(si.nMax, view_->Document().Height() - 1);
      EXPECT_EQ(static_cast<int>(si.nPage), view_->DocumentWindow()->ClientRect().Height());
    }
  }
}

TEST_F(InputTest, KeysScrollThePage) {
  Load(LongPage(200));
  Focus();
  int page = view_->DocumentWindow()->ClientRect().Height() - view_->DocumentWindow()->LineHeight();
  int line = view_->DocumentWindow()->LineHeight();
  int bottom = view_->Document().Height() - view_->DocumentWindow()->ClientRect().Height();
  struct {
    WORD Key;
    bool Shift;
    int ExpectedY;
  } steps[] = {
      {VK_DOWN, false, line},       {VK_DOWN, false, 2 * line}, {VK_UP, false, line},
      {VK_NEXT, false, line + page}, {VK_PRIOR, false, line},  {VK_SPACE, false, line + page},
      {VK_SPACE, true, line},       {VK_END, false, bottom},   {VK_HOME, false, 0},
  };
  for (auto& s : steps) {
    SCOPED_TRACE(s.Key);
    PressKey(s.Key, false, false, s.Shift);
    PumpUntil([&] { return view_->ScrollPosition().Y == s.ExpectedY; }, 500);
    EXPECT_EQ(view_->ScrollPosition().Y, s.ExpectedY);
    SCROLLINFO si{sizeof(si), SIF_POS};
    GetScrollInfo(Window(), SB_VERT, &si);
    EXPECT_EQ(si.nPos, s.ExpectedY) << "the scroll bar follows";
  }
}

TEST_F(InputTest, WheelAndScrollBarMessagesScroll) {
  Load(LongPage(200));
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  // Sent to the outer window, where the old control's wheel hook put the focus.
  SendMessageW(view_->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(view_->ScrollPosition().Y, static_cast<int>(lines) * 19);
  SendMessageW(Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(view_->ScrollPosition().Y, 0);
  SendMessageW(Window(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(view_->ScrollPosition().Y, view_->DocumentWindow()->LineHeight());
  SendMessageW(Window(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  SendMessageW(Window(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(view_->ScrollPosition().Y, view_->Document().Height() - view_->DocumentWindow()->ClientRect().Height());
  SendMessageW(Window(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(view_->ScrollPosition().Y, 0);
}

TEST_F(InputTest, MouseSelectsCtrlCCopiesUnicodeTextCtrlASelectsAll) {
  Load(u"<body style='margin:0'><p id=p style='margin:0'>一二三四五六</p><p style='margin:0'>第二行</p></body>");
  Focus();
  TRect line = view_->Document().BoxOf("#p");
  int y = line.Top + line.Height() / 2;
  // From the middle of 二's left half to the right half of 四, at 16 px a character.
  POINT from{line.Left + 16 + 3, y}, to{line.Left + 3 * 16 + 12, y};
  ClientToScreen(Window(), &from);
  ClientToScreen(Window(), &to);
  auto send = [](DWORD flags, POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = static_cast<LONG>((p.x * 65535 + w / 2) / (w - 1));
    in.mi.dy = static_cast<LONG>((p.y * 65535 + h / 2) / (h - 1));
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof(in));
    PumpFor(20);
  };
  send(0, from);
  send(MOUSEEVENTF_LEFTDOWN, from);
  send(0, to);
  send(MOUSEEVENTF_LEFTUP, to);
  EXPECT_EQ(view_->SelectedText(), u"二三四");
  ClearClipboard();
  PressKey('C', true);
  ASSERT_TRUE(PumpUntil([] { return !ClipboardText().empty(); }, 1000));
  EXPECT_EQ(ClipboardText(), u"二三四");
  PressKey('A', true);
  PumpUntil([&] { return view_->SelectedText().size() > 3; }, 500);
  EXPECT_EQ(view_->SelectedText(), u"一二三四五六\r\n第二行");
  PressKey('C', true);
  PumpUntil([] { return ClipboardText().size() > 3; }, 1000);
  EXPECT_EQ(ClipboardText(), u"一二三四五六\r\n第二行");
  // A click without a drag ends the selection.
  ClickAt(Window(), 200, 200);
  PumpFor(30);
  EXPECT_EQ(view_->SelectedText(), u"");
}

TEST_F(InputTest, TheHandShowsOverLinksOnly) {
  Load(u"<body style='margin:0'><p><a id=a href='x.html'>链接文字</a></p><p id=t>普通文字</p></body>");
  TRect link = view_->Document().BoxOf("#a");
  TRect text = view_->Document().BoxOf("#t");
  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND), arrow = LoadCursorW(nullptr, IDC_ARROW);
  MoveMouseTo(Window(), link.Left + 5, link.Top + link.Height() / 2);
  PumpUntil([&] { return GetCursor() == hand; }, 500);
  EXPECT_EQ(GetCursor(), hand);
  MoveMouseTo(Window(), text.Left + 5, text.Top + text.Height() / 2);
  PumpUntil([&] { return GetCursor() == arrow; }, 500);
  EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(InputTest, RightClickShowsTheStandardMenuWithCopyAndSelectAll) {
  Load(u"<body style='margin:0'><p id=t>右键菜单</p></body>");
  TRect text = view_->Document().BoxOf("#t");
  TMenuWatcher menus;
  ClickAt(Window(), text.Left + 5, text.Top + 5, true);
  ASSERT_TRUE(PumpUntil([&] { return !menus.Menus().empty(); }));
  const auto& items = menus.Menus()[0];
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0], u"复制(&C)\tCtrl+C");
  EXPECT_EQ(items[2], u"全选(&A)\tCtrl+A");
  EXPECT_NE(menus.LastStates()[0] & MF_GRAYED, 0u) << "nothing selected: copy is grey";
  EXPECT_EQ(menus.LastStates()[2] & MF_GRAYED, 0u);
}

TEST_F(InputTest, TheHostIsAskedAboutTheMenuWithItsKindFirst) {
  TRecordingHost host;
  view_->SetHost(&host);
  Load(u"<body style='margin:0'><p><a id=a href='x.html'>链接</a></p><p id=t>文字</p>"
       u"<p><img id=i src='C:\\nowhere\\x.png' width=30 height=30></p></body>");
  struct {
    const char* Element;
    TContextMenuKind Kind;
  } cases[] = {{"#a", TContextMenuKind::Anchor}, {"#t", TContextMenuKind::Default}, {"#i", TContextMenuKind::Image}};
  TMenuWatcher menus;
  for (auto& c : cases) {
    SCOPED_TRACE(c.Element);
    host.Menus.clear();
    TRect box = view_->Document().BoxOf(c.Element);
    ClickAt(Window(), box.Left + 5, box.Top + 5, true);
    ASSERT_TRUE(PumpUntil([&] { return !host.Menus.empty(); }));
    EXPECT_EQ(host.Menus[0], c.Kind);
  }
  view_->SelectAll();
  host.Menus.clear();
  TRect box = view_->Document().BoxOf("#t");
  ClickAt(Window(), box.Left + 5, box.Top + 5, true);
  ASSERT_TRUE(PumpUntil([&] { return !host.Menus.empty(); }));
  EXPECT_EQ(host.Menus[0], TContextMenuKind::TextSelect);
  PumpFor(50);
  EXPECT_TRUE(menus.Menus().empty()) << "the host took them all";
  // A host that passes lets the view show its own menu.
  host.TakeMenus = false;
  ClickAt(Window(), box.Left + 5, box.Top + 5, true);
  ASSERT_TRUE(PumpUntil([&] { return !menus.Menus().empty(); }));
  view_->SetHost(nullptr);
}

TEST_F(InputTest, TheHostMaySwallowAKeyBeforeTheViewSeesIt) {
  TRecordingHost host;
  host.SwallowKey = VK_NEXT;
  view_->SetHost(&host);
  Load(LongPage(200));
  Focus();
  std::vector<WORD> seen;
  view_->DocumentWindow()->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { seen.push_back(key); };
  PressKey(VK_NEXT);
  PressKey(VK_DOWN);
  PumpUntil([&] { return view_->ScrollPosition().Y != 0; }, 500);
  PumpFor(30);
  EXPECT_EQ(view_->ScrollPosition().Y, view_->DocumentWindow()->LineHeight()) << "only the arrow moved the page";
  EXPECT_EQ(seen, std::vector<WORD>{VK_DOWN});
  ASSERT_GE(host.Keys.size(), 2u);
  EXPECT_EQ(host.Keys[0], static_cast<WPARAM>(VK_NEXT));
  EXPECT_EQ(host.Keys[1], static_cast<WPARAM>(VK_DOWN));
  view_->SetHost(nullptr);
}

TEST_F(InputTest, CtrlNAsksForTheCurrentPageInANewWindow) {
  Load(u"<p>页</p>");
  Focus();
  std::vector<std::u16string> asked;
  view_->OnNewWindow3 = [&](TObject*, TObject*&, bool& cancel, uint32_t, const std::u16string&, const std::u16string& url) {
    asked.push_back(url);
    cancel = true;
  };
  PressKey('N', true);
  ASSERT_TRUE(PumpUntil([&] { return !asked.empty(); }, 1000));
  EXPECT_EQ(asked[0], view_->LocationURL());
}

}  // namespace
