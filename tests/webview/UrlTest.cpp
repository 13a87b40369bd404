#include "webview/Url.h"

#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "tests/harness/Gtest.h"

namespace {

struct TParseCase {
  const char16_t* Address;
  TUrlKind Kind;
  const char16_t* Text;  // expected reported address
  const char16_t* Path;  // expected local path (File only)
};

const TParseCase kParseCases[] = {
    {u"about:blank", TUrlKind::Blank, u"about:blank", u""},
    {u"  ABOUT:blank ", TUrlKind::Blank, u"ABOUT:blank", u""},
    {u"http://dict.example.cn/hzshow.asp?id=1", TUrlKind::Http, u"http://dict.example.cn/hzshow.asp?id=1", u""},
    {u"HTTPS://example.cn", TUrlKind::Https, u"HTTPS://example.cn", u""},
    {u"ftp://ftp.example.cn/pub", TUrlKind::Ftp, u"ftp://ftp.example.cn/pub", u""},
    {u"www.example.cn/cdad.asp", TUrlKind::Http, u"http://www.example.cn/cdad.asp", u""},
    {u"localhost:8080/x", TUrlKind::Http, u"http://localhost:8080/x", u""},
    {u"C:\\dir\\img\\en2.png", TUrlKind::File, u"file:///C:/dir/img/en2.png", u"C:\\dir\\img\\en2.png"},
    {u"Z:\\tmp\\a b.html", TUrlKind::File, u"file:///Z:/tmp/a%20b.html", u"Z:\\tmp\\a b.html"},
    {u"c:/dir/x.html", TUrlKind::File, u"file:///c:/dir/x.html", u"c:\\dir\\x.html"},
    {u"\\\\server\\share\\x.html", TUrlKind::File, u"file://server/share/x.html", u"\\\\server\\share\\x.html"},
    {u"file:///C:/dir/a%20b.html", TUrlKind::File, u"file:///C:/dir/a%20b.html", u"C:\\dir\\a b.html"},
    {u"file://C:\\dir\\x.html", TUrlKind::File, u"file://C:\\dir\\x.html", u"C:\\dir\\x.html"},
    {u"file:///C|/dir/x.html", TUrlKind::File, u"file:///C|/dir/x.html", u"C:\\dir\\x.html"},
    {u"file://server/share/x", TUrlKind::File, u"file://server/share/x", u"\\\\server\\share\\x"},
    {u"file:///C:/%E8%AF%8D%E5%85%B8.html", TUrlKind::File, u"file:///C:/%E8%AF%8D%E5%85%B8.html", u"C:\\词典.html"},
    {u"", TUrlKind::Invalid, u"", u""},
    {u"   ", TUrlKind::Invalid, u"", u""},
    {u"mailto:a@example.cn", TUrlKind::Invalid, u"", u""},
    {u"javascript:void(0)", TUrlKind::Invalid, u"", u""},
    {u"res://ieframe.dll/dnserror.htm", TUrlKind::Invalid, u"", u""},
    {u"http://", TUrlKind::Invalid, u"", u""},
    {u"http:///x", TUrlKind::Invalid, u"", u""},
    {u"two words", TUrlKind::Invalid, u"", u""},
    {u"line\nbreak", TUrlKind::Invalid, u"", u""},
    {u"/absolute/unix", TUrlKind::Invalid, u"", u""},
};

TEST(UrlTest, ParseAddressClassifiesWhatTemplatesAndUsersWrite) {
  for (const TParseCase& c : kParseCases) {
    SCOPED_TRACE(Utf16ToUtf8(c.Address));
    TUrl url = ParseAddress(c.Address);
    EXPECT_EQ(url.Kind, c.Kind);
    EXPECT_EQ(url.Text, c.Text);
    EXPECT_EQ(url.Path, c.Path);
  }
}

TEST(UrlTest, RelativeFilePathsAndFileUrlsWithoutDriveResolveAgainstTheCurrentDirectory) {
  std::u16string here = ExpandFileName(u"files");
  EXPECT_EQ(ParseAddress(u"file:///files").Path, here);
  EXPECT_EQ(ParseAddress(u"files\\").Path, ExpandFileName(u"files\\"));
  EXPECT_EQ(FileUrlToPath(u"file:files"), here);
}

struct TResolveCase {
  const char16_t* Reference;
  const char16_t* Base;
  const char16_t* Expected;
};

const TResolveCase kResolveCases[] = {
    // Windows paths as the templates write them stand alone.
    {u"C:\\dict\\img\\en2.png", u"about:blank", u"file:///C:/dict/img/en2.png"},
    {u"Z:\\work\\img\\en2.png", u"http://example.cn/a", u"file:///Z:/work/img/en2.png"},
    {u"http://example.cn/x.png", u"file:///C:/a.html", u"http://example.cn/x.png"},
    {u"img/en2.png", u"about:blank", u""},
    {u"#top", u"about:blank", u""},
    {u"", u"http://example.cn/a/b.html", u"http://example.cn/a/b.html"},
    {u"c.html", u"http://example.cn/a/b.html", u"http://example.cn/a/c.html"},
    {u"../c.html", u"http://example.cn/a/b.html", u"http://example.cn/c.html"},
    {u"../../../c.html", u"http://example.cn/a/b.html", u"http://example.cn/c.html"},
    {u"./d/./e.html", u"http://example.cn/a/", u"http://example.cn/a/d/e.html"},
    {u"/root.css", u"http://example.cn/a/b.html?q=1", u"http://example.cn/root.css"},
    {u"?q=2", u"http://example.cn/a/b.html?q=1#f", u"http://example.cn/a/b.html?q=2"},
    {u"#f2", u"http://example.cn/a/b.html#f", u"http://example.cn/a/b.html#f2"},
    {u"//cdn.example.cn/x.js", u"https://example.cn/", u"https://cdn.example.cn/x.js"},
    {u"x.html", u"http://example.cn", u"http://example.cn/x.html"},
    {u"img\\en2.png", u"file:///C:/dict/hz.html", u"file:///C:/dict/img/en2.png"},
    {u"/other.html", u"file:///C:/dict/hz.html", u"file:///C:/other.html"},
    {u"../up.html", u"file:///C:/dict/sub/hz.html", u"file:///C:/dict/up.html"},
    {u"a.html?x=../y", u"http://example.cn/p/q.html", u"http://example.cn/p/a.html?x=../y"},
};

TEST(UrlTest, ResolveUrlMakesPageReferencesAbsolute) {
  for (const TResolveCase& c : kResolveCases) {
    SCOPED_TRACE(Utf16ToUtf8(c.Reference) + " against " + Utf16ToUtf8(c.Base));
    EXPECT_EQ(ResolveUrl(c.Reference, c.Base), c.Expected);
  }
}

TEST(UrlTest, PathsAndFileUrlsRoundTrip) {
  const char16_t* paths[] = {u"C:\\dict\\img\\en2.png", u"Z:\\a b\\c#d.html", u"C:\\百分号%\\x?.txt",
                             u"\\\\server\\share\\x.html"};
  for (const char16_t* path : paths) {
    SCOPED_TRACE(Utf16ToUtf8(path));
    EXPECT_EQ(FileUrlToPath(PathToFileUrl(path)), path);
  }
}

TEST(UrlTest, PercentDecodingTakesUtf8AndLeavesBrokenSequences) {
  EXPECT_EQ(PercentDecode(u"a%20b"), u"a b");
  EXPECT_EQ(PercentDecode(u"%E6%B1%89"), u"汉");
  EXPECT_EQ(PercentDecode(u"100%"), u"100%");
  EXPECT_EQ(PercentDecode(u"%zz%4"), u"%zz%4");
  // Bytes that are no UTF-8 leave the whole text as it was.
  EXPECT_EQ(PercentDecode(u"%C4%E3"), u"%C4%E3");
}

}  // namespace
