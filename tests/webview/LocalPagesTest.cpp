#include "webview/LocalPages.h"

#include "framework/core/Unicode.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/TempDir.h"
#include "webview/NavigationStatus.h"
#include "webview/Url.h"

namespace {

TEST(LocalPagesTest, ContentTypesByExtension) {
  struct {
    const char16_t* Path;
    const char16_t* Type;
    TContentShape Shape;
  } cases[] = {
      {u"C:\\a\\page.HTM", u"text/html", TContentShape::Html},
      {u"x.html", u"text/html", TContentShape::Html},
      {u"x.txt", u"text/plain", TContentShape::Text},
      {u"x.PNG", u"image/png", TContentShape::Image},
      {u"x.jpeg", u"image/jpeg", TContentShape::Image},
      {u"x.bmp", u"image/bmp", TContentShape::Image},
      {u"x.exe", u"", TContentShape::Html},
      {u"C:\\dir.d\\noextension", u"", TContentShape::Html},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.Path));
    EXPECT_EQ(ContentTypeOfFile(c.Path), c.Type);
    EXPECT_EQ(ShapeOfContent(c.Type), c.Shape);
  }
  EXPECT_EQ(ShapeOfContent(u"application/octet-stream"), TContentShape::Unknown);
  EXPECT_EQ(ShapeOfContent(u"TEXT/HTML; charset=gbk"), TContentShape::Html);
  EXPECT_EQ(ShapeOfContent(u"text/css"), TContentShape::Text);
}

TEST(LocalPagesTest, EscapesMarkup) {
  EXPECT_EQ(HtmlEscape(u"<a href=\"x\">&</a>"), u"&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;");
  EXPECT_EQ(TextPage("a<b>&c"), "<html><body><pre>a&lt;b&gt;&amp;c</pre></body></html>");
}

TEST(LocalPagesTest, FolderListingLinksFoldersThenFilesAndTheParent) {
  TTempDir dir;
  dir.Write(u"z.txt", "1234");
  dir.Write(u"&a.txt", "");
  dir.MakeDir(u"目录");
  std::u16string page = Utf8ToUtf16(FolderListingPage(dir.Path()));
  size_t folder = page.find(u">目录\\</a>"), z = page.find(u">z.txt</a>"), odd = page.find(u">&amp;a.txt</a>");
  ASSERT_NE(folder, std::u16string::npos) << Utf16ToUtf8(page);
  ASSERT_NE(z, std::u16string::npos);
  ASSERT_NE(odd, std::u16string::npos);
  EXPECT_LT(folder, odd);
  EXPECT_LT(odd, z);
  EXPECT_NE(page.find(u"href=\"" + PathToFileUrl(dir.Path() + u"\\z.txt") + u"\""), std::u16string::npos);
  EXPECT_NE(page.find(u"[上级目录]"), std::u16string::npos);
  EXPECT_NE(page.find(u"4 字节"), std::u16string::npos);
  EXPECT_NE(page.find(u"<title>" + HtmlEscape(dir.Path()) + u"</title>"), std::u16string::npos);
}

TEST(LocalPagesTest, ErrorPageNamesTheAddressAndTheReason) {
  struct {
    int32_t Status;
    const char16_t* Reason;
  } cases[] = {{StatusCannotConnect, u"无法连接到服务器"}, {StatusNotFound, u"找不到该地址"},
               {StatusTimeout, u"连接超时"}, {404, u"服务器返回错误 404"}, {StatusDownloadFailure, u"下载失败"}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.Status);
    std::u16string page = Utf8ToUtf16(ErrorPage(u"http://x/<y>", c.Status));
    EXPECT_NE(page.find(c.Reason), std::u16string::npos);
    EXPECT_NE(page.find(u"http://x/&lt;y&gt;"), std::u16string::npos);
  }
}

}  // namespace
