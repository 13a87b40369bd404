// The view's own style sheet and the old presentational attributes, checked on what the
// headless container is asked to draw.
#include <functional>

#include "framework/core/Unicode.h"
#include "tests/harness/Gtest.h"
#include "webview/HeadlessContainer.h"
#include "webview/HtmlDocument.h"
#include "webview/PresentationalElements.h"

namespace {

constexpr int kWidth = 400;

struct TPage {
  THeadlessContainer Container;
  THtmlDocument Document{Container};
  explicit TPage(const std::string& html) {
    Document.Load(html, u"file:///C:/pages/page.html");
    Document.Layout(kWidth, 300);
    TDrawTarget target;
    Document.Draw(target, 0, 0, TRect(0, 0, kWidth, 2000));
  }
  const TDrawCall* TextCall(const std::u16string& text) const {
    for (const TDrawCall& c : Container.Calls())
      if (c.Kind == TDrawCall::dcText && c.Text == text) return &c;
    return nullptr;
  }
  int Count(TDrawCall::TKind kind) const {
    int n = 0;
    for (const TDrawCall& c : Container.Calls()) n += c.Kind == kind ? 1 : 0;
    return n;
  }
};

struct TTextCase {
  const char* Html;
  const char16_t* Text;
  const char16_t* Face;  // null: any
  int Size;              // 0: any
  int Weight;            // 0: any
  int Italic;            // -1: any
  int Decoration;        // -1: any
  int64_t Color;         // -1: any
};

const TTextCase kTextCases[] = {
    {"<p>字</p>", u"字", u"宋体", 16, 400, 0, 0, 0x000000},
    {"<h1>题</h1>", u"题", u"宋体", 32, 700, 0, -1, -1},
    {"<h2>题</h2>", u"题", nullptr, 24, 700, -1, -1, -1},
    {"<b>粗</b>", u"粗", nullptr, 16, 700, 0, -1, -1},
    {"<strong>粗</strong>", u"粗", nullptr, 0, 700, -1, -1, -1},
    {"<table><tr><th>头</th></tr></table>", u"头", nullptr, 0, 700, -1, -1, -1},
    {"<i>斜</i>", u"斜", nullptr, 0, 400, 1, -1, -1},
    {"<em>斜</em>", u"斜", nullptr, 0, 0, 1, -1, -1},
    {"<u>线</u>", u"线", nullptr, 0, 0, -1, 1, -1},
    {"<s>删</s>", u"删", nullptr, 0, 0, -1, 2, -1},
    {"<strike>删</strike>", u"删", nullptr, 0, 0, -1, 2, -1},
    {"<a href='x.html'>链</a>", u"链", nullptr, 0, 0, -1, 1, 0x0000FF},
    {"<a name='x'>锚</a>", u"锚", nullptr, 0, 0, -1, 0, 0x000000},
    {"<font color=red>红</font>", u"红", nullptr, 0, 0, -1, -1, 0xFF0000},
    {"<font color=00ff00>绿</font>", u"绿", nullptr, 0, 0, -1, -1, 0x00FF00},
    {"<font face=楷体_GB2312>楷</font>", u"楷", u"楷体_GB2312", 0, 0, -1, -1, -1},
    {"<font face=\"黑体\">黑</font>", u"黑", u"黑体", 0, 0, -1, -1, -1},
    {"<font face='NoSuchFace, SimSun'>宋</font>", u"宋", u"SimSun", 0, 0, -1, -1, -1},
    {"<font face=KaiTi_GB2312>楷</font>", u"楷", u"楷体_GB2312", 0, 0, -1, -1, -1},
    {"<font size=7>大</font>", u"大", nullptr, 48, 0, -1, -1, -1},
    {"<font size=1>小</font>", u"小", nullptr, 10, 0, -1, -1, -1},
    {"<font size=+1>加</font>", u"加", nullptr, 18, 0, -1, -1, -1},
    {"<font size=-1>减</font>", u"减", nullptr, 13, 0, -1, -1, -1},
    {"<font size=+9>顶</font>", u"顶", nullptr, 48, 0, -1, -1, -1},
    {"<pre>mono</pre>", u"mono", u"DejaVu Sans Mono", 16, 0, -1, -1, -1},
    {"<tt>mono</tt>", u"mono", u"DejaVu Sans Mono", 0, 0, -1, -1, -1},
    {"<small>小</small>", u"小", nullptr, 13, 0, -1, -1, -1},
    {"<p style='font-family:黑体;color:#123456'>样</p>", u"样", u"黑体", 0, 0, -1, -1, 0x123456},
    {"<font face=楷体_GB2312 style='font-family:黑体'>内</font>", u"内", u"黑体", 0, 0, -1, -1, -1},
    {"<body text=#008000>文</body>", u"文", nullptr, 0, 0, -1, -1, 0x008000},
    {"<div style='font-family:serif'>衬</div>", u"衬", u"宋体", 0, 0, -1, -1, -1},
    {"<div style='font-family:sans-serif'>无</div>", u"无", u"黑体", 0, 0, -1, -1, -1},
};

TEST(StyleSheetTest, TextTakesTheFontsAndColoursOfItsMarkup) {
  for (const TTextCase& c : kTextCases) {
    SCOPED_TRACE(c.Html);
    TPage page(c.Html);
    const TDrawCall* call = page.TextCall(c.Text);
    ASSERT_NE(call, nullptr);
    if (c.Face != nullptr) { EXPECT_EQ(call->Face, c.Face); }
    if (c.Size != 0) { EXPECT_EQ(call->Size, c.Size); }
    if (c.Weight > 0) { EXPECT_EQ(call->Weight, c.Weight); }
    if (c.Italic >= 0) { EXPECT_EQ(call->Italic, c.Italic != 0); }
    if (c.Decoration >= 0) { EXPECT_EQ(call->Decoration, static_cast<unsigned>(c.Decoration)); }
    if (c.Color >= 0) { EXPECT_EQ(call->Color, static_cast<uint32_t>(c.Color)); }
  }
}

TEST(StyleSheetTest, HiddenElementsDrawNothing) {
  TPage page("<head><title>题</title><style>p{color:red}</style><script>var a='脚本';</script></head>"
             "<body><noscript>无</noscript></body>");
  EXPECT_EQ(page.Count(TDrawCall::dcText), 0);
  EXPECT_EQ(page.Document.Title(), u"题");
}

TEST(StyleSheetTest, BodyMarginsAlignmentAndLineBreaks) {
  {
    TPage page("<p>甲</p>");
    EXPECT_EQ(page.TextCall(u"甲")->Box.x, 8);
  }
  {
    TPage page("<body leftmargin=0 topmargin=0><div>甲</div></body>");
    EXPECT_EQ(page.TextCall(u"甲")->Box.x, 0);
    EXPECT_EQ(page.TextCall(u"甲")->Box.y, 0);
  }
  {
    TPage page("<center>中</center><p align=right>右</p><div align=center>心</div>");
    const TDrawCall* center = page.TextCall(u"中");
    EXPECT_EQ(center->Box.x + center->Box.width / 2, kWidth / 2);
    EXPECT_EQ(page.TextCall(u"右")->Box.right(), kWidth - 8);
    const TDrawCall* middle = page.TextCall(u"心");
    EXPECT_EQ(middle->Box.x + middle->Box.width / 2, kWidth / 2);
  }
  {
    TPage page("<p>上<br>下</p>");
    EXPECT_GE(page.TextCall(u"下")->Box.y, page.TextCall(u"上")->Box.bottom());
    EXPECT_EQ(page.TextCall(u"下")->Box.x, page.TextCall(u"上")->Box.x);
  }
  {
    TPage page("<p>上<br><br>下</p>");
    const TDrawCall* up = page.TextCall(u"上");
    EXPECT_EQ(page.TextCall(u"下")->Box.y, up->Box.bottom() + up->Box.height) << "one empty line";
  }
  {
    TPage once("<p>上<br>下</p>"), trailing("<p>上<br>下<br></p>");
    EXPECT_EQ(trailing.Document.Height(), once.Document.Height()) << "a last break adds no line";
  }
}

TEST(StyleSheetTest, TablesHaveBordersExactlyWhenTheBorderAttributeAsksForThem) {
  struct {
    const char* Html;
    int Borders;
  } cases[] = {
      {"<table border=1><tr><td>一</td><td>二</td></tr></table>", 3},  // the table and each cell
      {"<table border=\"1\"><tbody><tr><td>一</td></tr></tbody></table>", 2},
      {"<table border=0><tr><td>一</td></tr></table>", 0},
      {"<table><tr><td>一</td></tr></table>", 0},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.Html);
    TPage page(c.Html);
    int drawn = 0;
    for (const TDrawCall& call : page.Container.Calls())
      if (call.Kind == TDrawCall::dcBorders && call.Edges.top.width > 0 &&
          call.Edges.top.style != litehtml::border_style_none)
        ++drawn;
    EXPECT_EQ(drawn, c.Borders);
  }
}

TEST(StyleSheetTest, CellsTakeTheTablesPaddingAndTheirOwnColours) {
  TPage page("<table cellpadding=5 cellspacing=0><tr><td bgcolor=#ff0000>格</td></tr></table>");
  const TDrawCall* text = page.TextCall(u"格");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Box.x, 8 + 5);
  EXPECT_EQ(text->Box.y, 8 + 5);
  bool red = false;
  for (const TDrawCall& call : page.Container.Calls())
    red = red || (call.Kind == TDrawCall::dcBackground && call.Color == 0xFF0000);
  EXPECT_TRUE(red);
}

TEST(StyleSheetTest, ListsDrawTheirMarkers) {
  TPage page("<ul><li>甲<ul><li>乙</li></ul></li></ul><ol><li>一</li><li>二</li></ol>");
  std::vector<int> bullets;
  for (const TDrawCall& call : page.Container.Calls())
    if (call.Kind == TDrawCall::dcMarker) bullets.push_back(call.MarkerType);
  EXPECT_EQ(bullets, (std::vector<int>{litehtml::list_style_type_disc, litehtml::list_style_type_circle}));
  const TDrawCall* one = page.TextCall(u"1.");
  const TDrawCall* two = page.TextCall(u"2.");
  ASSERT_NE(one, nullptr);
  ASSERT_NE(two, nullptr);
  EXPECT_LT(one->Box.right(), page.TextCall(u"一")->Box.x + 1);
  EXPECT_GT(two->Box.y, one->Box.y);
}

TEST(StyleSheetTest, RulesAndImagesTakeTheirAttributes) {
  {
    TPage page("<hr size=6 color=red width=50%>");
    bool found = false;
    for (const TDrawCall& call : page.Container.Calls())
      if (call.Kind == TDrawCall::dcBackground && call.Color == 0xFF0000) {
        found = true;
        EXPECT_EQ(call.Box.height, 6);
        EXPECT_EQ(call.Box.width, (kWidth - 16) / 2 + 2) << "half the body, and the borders";
      }
    EXPECT_TRUE(found);
  }
  {
    TPage page("<img src='C:\\nowhere\\x.png' width=30 height=20 hspace=4>后");
    const TDrawCall* after = page.TextCall(u"后");
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->Box.x, 8 + 4 + 30 + 4);
  }
  {
    TPage page("<img src='C:\\nowhere\\x.png' width=30 height=20 align=right>左");
    for (const TDrawCall& call : page.Container.Calls())
      if (call.Kind == TDrawCall::dcImage) { EXPECT_EQ(call.Box.right(), kWidth - 8); }
    EXPECT_EQ(page.TextCall(u"左")->Box.x, 8);
  }
}

TEST(StyleSheetTest, TheCanvasTakesTheBodysBackground) {
  {
    TPage page("<body bgcolor=#ffff00>黄</body>");
    EXPECT_EQ(page.Document.CanvasColor(), RGB(255, 255, 0));
    ASSERT_FALSE(page.Container.Calls().empty());
    const TDrawCall& canvas = page.Container.Calls().front();
    EXPECT_EQ(canvas.Kind, TDrawCall::dcBackground);
    EXPECT_EQ(canvas.Color, 0xFFFF00u);
    EXPECT_EQ(canvas.Box.width, kWidth);
  }
  {
    TPage page("<html style='background:#0000ff'><body bgcolor=#ffff00>蓝</body></html>");
    EXPECT_EQ(page.Document.CanvasColor(), RGB(0, 0, 255));
  }
  {
    TPage page("<p>白</p>");
    EXPECT_EQ(page.Document.CanvasColor(), RGB(255, 255, 255));
  }
}

TEST(StyleSheetTest, AttributeValuesTurnIntoStyle) {
  struct {
    const char* Value;
    int Pixels;
  } sizes[] = {{"1", 10}, {"2", 13}, {"3", 16}, {"4", 18}, {"5", 24}, {"6", 32}, {"7", 48}, {"0", 10},
               {"9", 48}, {"+2", 24}, {"-2", 10}, {" 4 ", 18}, {"big", 0}, {"", 0}, {"+", 0}};
  for (auto& c : sizes) {
    SCOPED_TRACE(c.Value);
    EXPECT_EQ(FontSizeAttributeToPixels(c.Value), c.Pixels);
  }
  EXPECT_EQ(ColorAttributeToCss("ff0000"), "#ff0000");
  EXPECT_EQ(ColorAttributeToCss("#f00"), "#f00");
  EXPECT_EQ(ColorAttributeToCss("Red"), "Red");
  EXPECT_EQ(ColorAttributeToCss("red;x:y"), "");
  EXPECT_EQ(ColorAttributeToCss(nullptr), "");
  EXPECT_EQ(LengthAttributeToCss("50"), "50px");
  EXPECT_EQ(LengthAttributeToCss("50%"), "50%");
  EXPECT_EQ(LengthAttributeToCss("12px"), "12px");
  EXPECT_EQ(LengthAttributeToCss("wide"), "");
  EXPECT_EQ(LengthAttributeToCss("99999999"), "");
}

}  // namespace
