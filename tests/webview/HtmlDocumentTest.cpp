// A page over the headless container: text, selection, what lies under a point, anchors,
// links, and markup that is broken on purpose.
#include <windows.h>

#include <random>

#include "framework/core/Unicode.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/TempDir.h"
#include "webview/HeadlessContainer.h"
#include "webview/HtmlDocument.h"
#include "webview/Url.h"

namespace {

struct TPage {
  THeadlessContainer Container;
  THtmlDocument Document{Container};
  explicit TPage(const std::string& html, const std::u16string& base = u"http://example.cn/dir/page.html") {
    Document.Load(html, base);
    Document.Layout(400, 300);
  }
  void Draw() {
    Container.ClearCalls();
    TDrawTarget target;
    Document.Draw(target, 0, 0, TRect(0, 0, 400, 100000));
  }
  std::u16string SelectedDrawn() {
    Draw();
    std::u16string out;
    for (const TDrawCall& c : Container.Calls())
      if (c.Kind == TDrawCall::dcText && c.Selected) out += c.Text;
    return out;
  }
  const TDrawCall* Text(const std::u16string& text) {
    Draw();
    for (const TDrawCall& c : Container.Calls())
      if (c.Kind == TDrawCall::dcText && c.Text == text) {
        last_ = c;
        return &last_;
      }
    return nullptr;
  }

 private:
  TDrawCall last_;
};

TEST(HtmlDocumentTest, TextPutsBlocksOnLinesAndCellsSideBySide) {
  struct {
    const char* Html;
    const char16_t* Text;
  } cases[] = {
      {"<p>一</p><p>二</p>", u"一\r\n二"},
      {"<p>a   b\n   c</p>", u"a b c"},
      {"<div>甲<b>乙</b>丙</div>", u"甲乙丙"},
      {"<table><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></table>", u"a\tb\r\nc\td"},
      {"<pre>x  y\nz</pre>", u"x  y\r\nz"},
      {"<p>上<br>下</p>", u"上\r\n下"},
      {"<ul><li>甲</li><li>乙</li></ul>", u"甲\r\n乙"},
      {"<title>t</title><script>s</script><p>only</p>", u"only"},
      {"", u""},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.Html);
    TPage page(c.Html);
    EXPECT_EQ(page.Document.Text(), c.Text);
  }
}

TEST(HtmlDocumentTest, SelectAllSelectsEveryRunAndCopiesTheWholeText) {
  TPage page("<p>汉字 and words</p><p>第二段</p>");
  EXPECT_FALSE(page.Document.HasSelection());
  page.Document.SelectAll();
  EXPECT_TRUE(page.Document.HasSelection());
  EXPECT_EQ(page.Document.SelectedText(), u"汉字 and words\r\n第二段");
  EXPECT_EQ(page.SelectedDrawn(), u"汉字 and words第二段");
  page.Document.ClearSelection();
  EXPECT_EQ(page.SelectedDrawn(), u"");
  EXPECT_EQ(page.Document.SelectedText(), u"");
}

TEST(HtmlDocumentTest, DraggingSelectsTheRunsBetweenTheTwoPoints) {
  TPage page("<body style='margin:0'><p style='margin:0'>一二三四五六</p><p style='margin:0'>七八九</p></body>");
  const TDrawCall* two = page.Text(u"二");
  ASSERT_NE(two, nullptr);
  int lineY = two->Box.y + 5;
  int twoX = two->Box.x + 2;  // the left half of 二: the caret goes before it
  const TDrawCall* five = page.Text(u"五");
  int fiveX = five->Box.x + five->Box.width - 2;  // the right half of 五: after it
  struct {
    int FromX, FromY, ToX, ToY;
    const char16_t* Selected;
  } cases[] = {
      {twoX, lineY, fiveX, lineY, u"二三四五"},
      {fiveX, lineY, twoX, lineY, u"二三四五"},  // backwards
      {twoX, lineY, twoX, lineY, u""},
      {twoX, lineY, 12, lineY + 20, u"二三四五六\r\n七"},
      {twoX, lineY, 399, 200, u"二三四五六\r\n七八九"},  // past the end of the page
  };
  for (auto& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.Selected));
    page.Document.StartSelection(c.FromX, c.FromY);
    page.Document.ExtendSelection(c.ToX, c.ToY);
    EXPECT_EQ(page.Document.SelectedText(), c.Selected);
    std::u16string drawn;
    for (char16_t ch : std::u16string(c.Selected))
      if (ch != u'\r' && ch != u'\n') drawn += ch;
    EXPECT_EQ(page.SelectedDrawn(), drawn);
  }
}

TEST(HtmlDocumentTest, HitTestFindsLinksImagesAndTheSelection) {
  TPage page("<body style='margin:0'><a id=l href='../other.html' target=_blank>链接</a> 字 "
             "<img id=i src='pic.png' width=20 height=20></body>");
  TRect link = page.Document.BoxOf("#l");
  TRect image = page.Document.BoxOf("#i");
  ASSERT_FALSE(link.IsEmpty());
  ASSERT_FALSE(image.IsEmpty());
  THtmlDocument::THit hit = page.Document.HitTest(link.Left + 2, link.Top + 2, link.Left + 2, link.Top + 2);
  EXPECT_EQ(hit.Link, u"http://example.cn/other.html");
  EXPECT_EQ(hit.Target, u"_blank");
  EXPECT_EQ(hit.Image, u"");
  EXPECT_FALSE(hit.InSelection);
  hit = page.Document.HitTest(image.Left + 5, image.Top + 5, image.Left + 5, image.Top + 5);
  EXPECT_EQ(hit.Image, u"http://example.cn/dir/pic.png");
  EXPECT_EQ(hit.Link, u"");
  hit = page.Document.HitTest(390, 250, 390, 250);
  EXPECT_EQ(hit.Link, u"");
  EXPECT_EQ(hit.Image, u"");
  page.Document.SelectAll();
  hit = page.Document.HitTest(link.Left + 2, link.Top + 2, link.Left + 2, link.Top + 2);
  EXPECT_TRUE(hit.InSelection);
}

TEST(HtmlDocumentTest, ABaseElementChangesWhereLinksGo) {
  TPage page("<base href='http://other.example.cn/d/'><a id=l href='x.html'>x</a>");
  TRect link = page.Document.BoxOf("#l");
  EXPECT_EQ(page.Document.HitTest(link.Left + 1, link.Top + 1, 0, 0).Link, u"http://other.example.cn/d/x.html");
}

TEST(HtmlDocumentTest, AnchorsByIdAndByName) {
  TPage page("<div style='height:500px'>x</div><a name=here>h</a><div id=there style='margin-top:100px'>t</div>");
  int here = page.Document.AnchorTop(u"here");
  int there = page.Document.AnchorTop(u"there");
  EXPECT_GE(here, 500);
  EXPECT_GE(there, here + 100);
  EXPECT_EQ(page.Document.AnchorTop(u"nowhere"), -1);
  EXPECT_EQ(page.Document.AnchorTop(u"a\"]b"), -1);
  EXPECT_EQ(page.Document.AnchorTop(u""), -1);
}

TEST(HtmlDocumentTest, ClickOnALinkReachesTheContainerAndMovingOverItAsksForTheHand) {
  TPage page("<body style='margin:0'><a id=l href='next.html' target=_blank>下一页</a><p id=p>正文</p></body>");
  std::string href;
  std::string target;
  page.Container.OnAnchorClick = [&](const std::string& h, const litehtml::element::ptr& el) {
    href = h;
    target = el && el->get_attr("target") ? el->get_attr("target") : "";
  };
  TRect link = page.Document.BoxOf("#l");
  TRect text = page.Document.BoxOf("#p");
  page.Document.MouseMove(link.Left + 3, link.Top + 3, link.Left + 3, link.Top + 3);
  EXPECT_EQ(page.Container.Cursor(), "pointer");
  page.Document.MouseMove(text.Left + 3, text.Top + 3, text.Left + 3, text.Top + 3);
  EXPECT_NE(page.Container.Cursor(), "pointer");
  page.Document.LButtonDown(text.Left + 3, text.Top + 3, 0, 0);
  page.Document.LButtonUp(text.Left + 3, text.Top + 3, 0, 0);
  EXPECT_EQ(href, "");
  page.Document.MouseMove(link.Left + 3, link.Top + 3, 0, 0);
  page.Document.LButtonDown(link.Left + 3, link.Top + 3, 0, 0);
  page.Document.LButtonUp(link.Left + 3, link.Top + 3, 0, 0);
  EXPECT_EQ(href, "next.html");
  EXPECT_EQ(target, "_blank");
}

TEST(HtmlDocumentTest, ImagesNamedByWindowsPathsLoadAndTakeTheirSize) {
  TTempDir dir;
  // A 3x2 BMP, built here.
  std::string bmp = "BM";
  auto put32 = [&bmp](uint32_t v) { for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<char>((v >> (8 * i)) & 0xFF)); };
  auto put16 = [&bmp](uint16_t v) { bmp.push_back(static_cast<char>(v & 0xFF)); bmp.push_back(static_cast<char>(v >> 8)); };
  put32(54 + 24); put32(0); put32(54);
  put32(40); put32(3); put32(2); put16(1); put16(24); put32(0); put32(24); put32(0); put32(0); put32(0); put32(0);
  bmp += std::string(24, '\x40');
  std::u16string path = dir.Write(u"img\\en2.bmp", bmp);
  TPage page("<body style='margin:0'><img id=i src=\"" + Utf16ToUtf8(path) + "\">后</body>", u"about:blank");
  TRect image = page.Document.BoxOf("#i");
  EXPECT_EQ(image.Width(), 3);
  EXPECT_EQ(image.Height(), 2);
  EXPECT_EQ(page.Container.Images().State(PathToFileUrl(path)), TImageState::Ready);
  page.Draw();
  bool drawn = false;
  for (const TDrawCall& c : page.Container.Calls())
    drawn = drawn || (c.Kind == TDrawCall::dcImage && c.Text == PathToFileUrl(path) && c.Opaque);
  EXPECT_TRUE(drawn);
}

TEST(HtmlDocumentTest, MalformedMarkupRendersOrFailsCleanly) {
  TTempDir dir;
  std::u16string broken = dir.Write(u"broken.png", std::string("\x89PNG\r\n\x1A\nthis is no picture", 26));
  std::string nested;
  for (int i = 0; i < 1024 * 1024 / 5; ++i) nested += "<div>";
  nested += "end";
  std::mt19937 random(7);
  std::string noise(20000, '\0');
  for (char& c : noise) c = static_cast<char>(random() & 0xFF);
  struct {
    const char* Name;
    std::string Html;
    const char16_t* MustShow;
  } cases[] = {
      {"unclosed tags", "<div><b>粗<i>斜<table><tr><td>格<ul><li>项<p>段", u"格"},
      {"a megabyte of nested divs", nested, u"end"},
      {"a broken image", "<img src=\"" + Utf16ToUtf8(broken) + "\">图后", u"图后"},
      {"a missing image", "<img src='C:\\no\\such\\en2.png'>缺图", u"缺图"},
      {"stray end tags", "</td></tr></table></div>字", u"字"},
      {"huge spans", "<table><tr><td colspan=2147483647 rowspan=99999999>跨</td></tr></table>", u"跨"},
      {"huge sizes", "<img src=x width=99999999 height=99999999><font size=99999>大</font>", u"大"},
      {"bad css", "<style>p{color:;;;{{}}} @media ((( {</style><p style='font-size:-5px;width:;'>样</p>", u"样"},
      {"binary noise", noise, nullptr},
      {"nul bytes", std::string("<p>前\0后</p>", 12), nullptr},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    DWORD start = GetTickCount();
    TPage page(c.Html, u"about:blank");
    page.Draw();
    EXPECT_LT(GetTickCount() - start, 5000u);
    if (c.MustShow != nullptr) { EXPECT_NE(page.Document.Text().find(c.MustShow), std::u16string::npos); }
  }
  TPage page("<img src=\"" + Utf16ToUtf8(broken) + "\">", u"about:blank");
  EXPECT_EQ(page.Container.Images().State(PathToFileUrl(broken)), TImageState::Broken);
}

TEST(HtmlDocumentTest, LayoutIsRedoneOnlyWhenTheSizeOrThePageChanged) {
  TPage page("<p>字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字字</p>");
  int wide = page.Document.Height();
  page.Document.Layout(100, 300);
  EXPECT_GT(page.Document.Height(), wide) << "narrower: more lines";
  EXPECT_EQ(page.Document.LayoutWidth(), 100);
  page.Document.Layout(400, 300);
  EXPECT_EQ(page.Document.Height(), wide);
  EXPECT_FALSE(page.Document.NeedsLayout());
}

}  // namespace
