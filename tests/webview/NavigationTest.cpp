// Navigations of a view and their events, against files the test writes and a local HTTP
// server it starts.

#include <vector>

#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"
#include "tests/harness/TempDir.h"
#include "tests/webview/LocalHttpServer.h"
#include "webview/BrowserWindow.h"
#include "webview/DocumentWindow.h"
#include "webview/HtmlDocument.h"
#include "webview/NavigationStatus.h"
#include "webview/Url.h"
#include "webview/WebView.h"

namespace {

struct TEventLog {
  struct TEntry {
    std::string Kind;
    std::u16string Url;
    int32_t Status = 0;
    TObject* Disp = nullptr;
  };
  std::vector<TEntry> Entries;
  int Count(const std::string& kind) const {
    int n = 0;
    for (auto& e : Entries) n += e.Kind == kind ? 1 : 0;
    return n;
  }
};

int CountBrowserWindows() {
  int n = 0;
  for (HWND w = FindWindowExW(nullptr, nullptr, u"TBrowserWindow", nullptr); w != nullptr;
       w = FindWindowExW(nullptr, w, u"TBrowserWindow", nullptr))
    ++n;
  return n;
}

void CloseBrowserWindows() {
  while (HWND w = FindWindowExW(nullptr, nullptr, u"TBrowserWindow", nullptr)) {
    SendMessageW(w, WM_CLOSE, 0, 0);
    PumpFor(20);
  }
}

class NavigationTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form_ = new TForm(Application);
    form_->SetBounds(40, 40, 500, 400);
    view_ = new TWebView(form_);
    view_->SetParent(form_);
    view_->SetAlign(TAlign::alClient);
    view_->SetTimeout(3000);
    view_->OnNavigateComplete2 = [this](TObject* sender, TObject* pDisp, const std::u16string& url) {
      EXPECT_EQ(sender, view_);
      log_.Entries.push_back({"complete", url, 0, pDisp});
    };
    view_->OnNavigateError = [this](TObject*, TObject* pDisp, const std::u16string& url, const std::u16string& frame,
                                    int32_t status, bool& cancel) {
      EXPECT_EQ(frame, u"");
      EXPECT_FALSE(cancel);
      log_.Entries.push_back({"error", url, status, pDisp});
      cancel = cancelErrors_;
    };
    form_->Show();
  }
  void TearDown() override {
    form_->Free();
    CloseBrowserWindows();
  }
  bool WaitForEvents(size_t n, int ms = 5000) {
    return PumpUntil([&] { return log_.Entries.size() >= n; }, ms);
  }

  TForm* form_ = nullptr;
  TWebView* view_ = nullptr;
  TEventLog log_;
  bool cancelErrors_ = false;
};

TEST_F(NavigationTest, AddressesTheViewRejectsRaiseAndRaiseNoEvent) {
  const char16_t* rejected[] = {u"", u"   ", u"mailto:someone@example.cn", u"javascript:alert(1)", u"http://",
                                u"res://ieframe.dll/x", u"bad\x01" u"address"};
  for (const char16_t* address : rejected) {
    SCOPED_TRACE(Utf16ToUtf8(address));
    EXPECT_THROW(view_->Navigate(address), EWebViewError);
  }
  PumpFor(100);
  EXPECT_TRUE(log_.Entries.empty());
  EXPECT_FALSE(view_->HasDocument());
}

TEST_F(NavigationTest, AboutBlankIsThereAtOnceAndCompletesFromTheMessageLoop) {
  view_->Navigate(u"about:blank");
  EXPECT_TRUE(view_->HasDocument());
  EXPECT_TRUE(log_.Entries.empty()) << "no event from inside Navigate";
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(log_.Entries[0].Kind, "complete");
  EXPECT_EQ(log_.Entries[0].Url, u"about:blank");
  EXPECT_EQ(log_.Entries[0].Disp, view_);
}

TEST_F(NavigationTest, FilePageCompletesWithItsAddressAndItsText) {
  TTempDir dir;
  std::u16string path = dir.Write(u"页面.html", "<html><head><title>标题</title></head><body><p>文件里的字</p></body></html>");
  view_->Navigate(path);
  EXPECT_TRUE(log_.Entries.empty());
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(log_.Entries[0].Kind, "complete");
  EXPECT_EQ(log_.Entries[0].Url, PathToFileUrl(path));
  EXPECT_EQ(view_->Document().Text(), u"文件里的字");
  EXPECT_EQ(view_->LocationName(), u"标题");
}

TEST_F(NavigationTest, MissingFileIsANavigateErrorAndShowsTheErrorPage) {
  TTempDir dir;
  std::u16string url = PathToFileUrl(dir.Path() + u"\\nothing-here.html");
  view_->Navigate(url);
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(log_.Entries[0].Kind, "error");
  EXPECT_EQ(log_.Entries[0].Url, url);
  EXPECT_EQ(log_.Entries[0].Status, StatusNotFound);
  EXPECT_NE(view_->Document().Text().find(u"无法显示网页"), std::u16string::npos);
  PumpFor(50);
  EXPECT_EQ(log_.Count("complete"), 0);
}

TEST_F(NavigationTest, CancelledErrorKeepsThePageThatWasShown) {
  view_->LoadFromString(u"<p>原来的页面</p>");
  cancelErrors_ = true;
  TTempDir dir;
  view_->Navigate(PathToFileUrl(dir.Path() + u"\\nothing-here.html"));
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(log_.Entries[0].Kind, "error");
  EXPECT_EQ(view_->Document().Text(), u"原来的页面");
}

TEST_F(NavigationTest, FolderShowsAListingOfItsFoldersAndFiles) {
  TTempDir dir;
  dir.Write(u"b.txt", "b");
  dir.Write(u"A.html", "<p>a</p>");
  dir.MakeDir(u"子目录");
  view_->Navigate(u"file:///" + dir.Path());
  ASSERT_TRUE(WaitForEvents(1));
  ASSERT_EQ(log_.Entries[0].Kind, "complete");
  std::u16string text = view_->Document().Text();
  size_t folder = text.find(u"子目录"), a = text.find(u"A.html"), b = text.find(u"b.txt");
  ASSERT_NE(folder, std::u16string::npos) << Utf16ToUtf8(text);
  ASSERT_NE(a, std::u16string::npos);
  ASSERT_NE(b, std::u16string::npos);
  EXPECT_LT(folder, a) << "folders first";
  EXPECT_LT(a, b) << "then files by name, case ignored";
}

TEST_F(NavigationTest, HttpPageCompletes) {
  TLocalHttpServer server;
  ASSERT_NE(server.Port(), 0);
  server.Set("/page", {200, "text/html; charset=gb2312", std::string("<p>\xC4\xE3\xBA\xC3</p>")});  // 你好 in GBK
  view_->Navigate(server.Url("/page"));
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(log_.Entries[0].Kind, "complete");
  EXPECT_EQ(log_.Entries[0].Url, server.Url("/page"));
  EXPECT_EQ(view_->Document().Text(), u"你好");
}

TEST_F(NavigationTest, RefusedPortIsANavigateError) {
  int port = TLocalHttpServer::RefusedPort();
  ASSERT_NE(port, 0);
  std::u16string url = u"http://127.0.0.1:" + IntToStr(port) + u"/";
  view_->Navigate(url);
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(log_.Entries[0].Kind, "error");
  EXPECT_EQ(log_.Entries[0].Url, url);
  EXPECT_EQ(log_.Entries[0].Status, StatusCannotConnect);
}

TEST_F(NavigationTest, HttpsToAServerWithoutTlsIsASecurityErrorNotThePage) {
  TLocalHttpServer server;
  ASSERT_NE(server.Port(), 0);
  server.Set("/page", {200, "text/html", "<p>plain</p>"});
  std::u16string url = u"https://127.0.0.1:" + IntToStr(server.Port()) + u"/page";
  view_->Navigate(url);
  ASSERT_TRUE(WaitForEvents(1, 8000));
  EXPECT_EQ(log_.Entries[0].Kind, "error");
  EXPECT_EQ(log_.Entries[0].Url, url);
  EXPECT_EQ(log_.Entries[0].Status, StatusSecurityProblem);
  EXPECT_EQ(server.Requests().size(), 0u) << "no request may go out in the clear";
}

TEST_F(NavigationTest, NotFoundIsANavigateErrorWithTheHttpStatus) {
  TLocalHttpServer server;
  ASSERT_NE(server.Port(), 0);
  view_->Navigate(server.Url("/missing"));
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(log_.Entries[0].Kind, "error");
  EXPECT_EQ(log_.Entries[0].Status, 404);
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0], "/missing");
}

TEST_F(NavigationTest, SilentServerTimesOutWhileTheWindowKeepsAnswering) {
  TLocalHttpServer server;
  ASSERT_NE(server.Port(), 0);
  TLocalHttpServer::TResponse silent;
  silent.Silent = true;
  server.Set("/never", silent);
  view_->SetTimeout(600);
  DWORD start = GetTickCount();
  view_->Navigate(server.Url("/never"));
  EXPECT_LT(GetTickCount() - start, 200u) << "Navigate must not wait for the server";
  DWORD slowest = 0;
  bool done = PumpUntil([&] {
    DWORD before = GetTickCount();
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(view_->DocumentWindow()->Handle(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer), 0);
    slowest = std::max<DWORD>(slowest, GetTickCount() - before);
    return !log_.Entries.empty();
  }, 4000);
  ASSERT_TRUE(done);
  DWORD took = GetTickCount() - start;
  EXPECT_EQ(log_.Entries[0].Kind, "error");
  EXPECT_EQ(log_.Entries[0].Status, StatusTimeout);
  EXPECT_GE(took, 550u);
  EXPECT_LT(took, 3000u);
  EXPECT_LT(slowest, 200u) << "the window answered messages while the load waited";
}

TEST_F(NavigationTest, LaterNavigationSupersedesOneInProgress) {
  TLocalHttpServer server;
  ASSERT_NE(server.Port(), 0);
  TLocalHttpServer::TResponse silent;
  silent.Silent = true;
  server.Set("/never", silent);
  server.Set("/page", {200, "text/html", "<p>second</p>"});
  view_->Navigate(server.Url("/never"));
  view_->Navigate(server.Url("/page"));
  ASSERT_TRUE(WaitForEvents(1));
  PumpFor(100);
  ASSERT_EQ(log_.Entries.size(), 1u);
  EXPECT_EQ(log_.Entries[0].Kind, "complete");
  EXPECT_EQ(log_.Entries[0].Url, server.Url("/page"));
}

TEST_F(NavigationTest, ImagesOverHttpAreDrawnWhenTheyArrive) {
  TLocalHttpServer server;
  ASSERT_NE(server.Port(), 0);
  // A 2x2 BMP, all pure blue, built here.
  std::string bmp = "BM";
  auto put32 = [&bmp](uint32_t v) { for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<char>((v >> (8 * i)) & 0xFF)); };
  auto put16 = [&bmp](uint16_t v) { bmp.push_back(static_cast<char>(v & 0xFF)); bmp.push_back(static_cast<char>(v >> 8)); };
  put32(54 + 16); put32(0); put32(54);
  put32(40); put32(2); put32(2); put16(1); put16(24); put32(0); put32(16); put32(2835); put32(2835); put32(0); put32(0);
  for (int row = 0; row < 2; ++row) bmp += std::string("\xFF\x00\x00\xFF\x00\x00\x00\x00", 8);
  server.Set("/blue.bmp", {200, "image/bmp", bmp});
  server.Set("/page", {200, "text/html", "<body style='margin:0'><img id=pic src='/blue.bmp' width=40 height=30></body>"});
  view_->Navigate(server.Url("/page"));
  ASSERT_TRUE(WaitForEvents(1));
  ASSERT_TRUE(PumpUntil([&] { return !view_->Busy(); }, 3000));
  PumpFor(50);
  HWND window = view_->DocumentWindow()->Handle();
  UpdateWindow(window);
  TCapture capture = CaptureWindow(window);
  capture.Save(u"webview-http-image.png");
  EXPECT_EQ(capture.At(20, 15), 0x0000FFu);
  EXPECT_EQ(capture.At(45, 15), 0xFFFFFFu);
}

TEST_F(NavigationTest, BlankTargetLinkRaisesNewWindow3WithItsAddress) {
  TTempDir dir;
  std::u16string path = dir.Write(u"links.html",
                                  "<body style='margin:0'><p><a id=out href='http://dict.example.cn/hzshow.asp?id=7' "
                                  "target=_blank>在新窗口打开</a></p><p><a id=in href='second.html'>本窗口</a></p></body>");
  dir.Write(u"second.html", "<p>第二页</p>");
  view_->Navigate(path);
  ASSERT_TRUE(WaitForEvents(1));
  struct TNewWindow {
    uint32_t Flags;
    std::u16string Context, Url;
  };
  std::vector<TNewWindow> asked;
  bool cancel = true;
  view_->OnNewWindow3 = [&](TObject* sender, TObject*& ppDisp, bool& Cancel, uint32_t flags,
                            const std::u16string& context, const std::u16string& url) {
    EXPECT_EQ(sender, view_);
    EXPECT_EQ(ppDisp, nullptr);
    EXPECT_FALSE(Cancel);
    asked.push_back({flags, context, url});
    Cancel = cancel;
  };
  TRect link = view_->Document().BoxOf("#out");
  ASSERT_FALSE(link.IsEmpty());
  HWND window = view_->DocumentWindow()->Handle();
  int windowsBefore = CountBrowserWindows();
  ClickAt(window, link.Left + 4, link.Top + link.Height() / 2);
  ASSERT_TRUE(PumpUntil([&] { return !asked.empty(); }));
  EXPECT_EQ(asked[0].Url, u"http://dict.example.cn/hzshow.asp?id=7");
  EXPECT_EQ(asked[0].Context, PathToFileUrl(path));
  EXPECT_EQ(asked[0].Flags, static_cast<uint32_t>(NewWindowUserInited | NewWindowFirst));
  // Cancelled: the view stays where it was and opens nothing.
  PumpFor(150);
  EXPECT_EQ(view_->LocationURL(), PathToFileUrl(path));
  EXPECT_EQ(CountBrowserWindows(), windowsBefore);
  EXPECT_EQ(log_.Entries.size(), 1u);

  // An ordinary link navigates in place.
  TRect in = view_->Document().BoxOf("#in");
  ClickAt(window, in.Left + 4, in.Top + in.Height() / 2);
  ASSERT_TRUE(WaitForEvents(2));
  EXPECT_EQ(log_.Entries[1].Kind, "complete");
  EXPECT_EQ(log_.Entries[1].Url, PathToFileUrl(dir.Path() + u"\\second.html"));
  EXPECT_EQ(asked.size(), 1u);
}

TEST_F(NavigationTest, NewWindowNotCancelledOpensAWindowOfTheViewsOwn) {
  TTempDir dir;
  std::u16string target = dir.Write(u"target.html", "<title>新窗口</title><p>新窗口的页</p>");
  view_->LoadFromString(u"<body style='margin:0'><a id=out href='" + PathToFileUrl(target) +
                        u"' target=_blank>打开</a></body>");
  int asked = 0;
  view_->OnNewWindow3 = [&](TObject*, TObject*&, bool&, uint32_t, const std::u16string&, const std::u16string&) { ++asked; };
  int before = CountBrowserWindows();
  TRect link = view_->Document().BoxOf("#out");
  PumpFor(50);
  ClickAt(view_->DocumentWindow()->Handle(), link.Left + 4, link.Top + link.Height() / 2);
  ASSERT_TRUE(PumpUntil([&] { return CountBrowserWindows() == before + 1; }));
  EXPECT_EQ(asked, 1);
  HWND opened = FindWindowExW(nullptr, nullptr, u"TBrowserWindow", nullptr);
  auto* window = As<TBrowserWindow>(TWinControl::FindControl(opened));
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return window->View()->LocationURL() == PathToFileUrl(target); }));
  EXPECT_EQ(window->View()->Document().Text(), u"新窗口的页");
  PumpUntil([&] { return WindowText(opened) == u"新窗口"; }, 1000);
  EXPECT_EQ(WindowText(opened), u"新窗口");
}

TEST_F(NavigationTest, NewWindowGivenAnotherViewOpensThePageThere) {
  auto* other = new TWebView(form_);
  other->SetParent(form_);
  other->SetBounds(0, 0, 100, 100);
  TTempDir dir;
  std::u16string target = dir.Write(u"t.html", "<p>那边</p>");
  view_->OnNewWindow3 = [&](TObject*, TObject*& ppDisp, bool&, uint32_t, const std::u16string&, const std::u16string&) {
    ppDisp = other;
  };
  int before = CountBrowserWindows();
  view_->RequestNewWindow(PathToFileUrl(target), 0);
  ASSERT_TRUE(PumpUntil([&] { return other->LocationURL() == PathToFileUrl(target); }));
  EXPECT_EQ(other->Document().Text(), u"那边");
  EXPECT_EQ(CountBrowserWindows(), before);
}

}  // namespace
