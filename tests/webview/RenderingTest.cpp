// What the view draws, read back from its window's pixels; each capture is kept as a PNG.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "framework/core/Unicode.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/PngImage.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"
#include "tests/harness/TempDir.h"
#include "webview/DocumentWindow.h"
#include "webview/HtmlDocument.h"
#include "webview/WebView.h"

namespace {

bool Dark(uint32_t rgb) {
  int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return (r * 3 + g * 6 + b) / 10 < 128;
}

// The dark pixels of an area, cropped to where there are any.
struct TInk {
  int Width = 0, Height = 0;
  std::vector<bool> Mask;
  int Count() const { return static_cast<int>(std::count(Mask.begin(), Mask.end(), true)); }
  // Pixels that differ, when both have the same size; -1 otherwise.
  int Difference(const TInk& other) const {
    if (Width != other.Width || Height != other.Height) return -1;
    int n = 0;
    for (size_t i = 0; i < Mask.size(); ++i) n += Mask[i] != other.Mask[i] ? 1 : 0;
    return n;
  }
};

template <class Pixel>
TInk InkOf(int width, int height, Pixel pixel) {
  int left = width, top = height, right = -1, bottom = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (Dark(pixel(x, y))) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  TInk ink;
  if (right < 0) return ink;
  ink.Width = right - left + 1;
  ink.Height = bottom - top + 1;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) ink.Mask.push_back(Dark(pixel(x, y)));
  return ink;
}

TInk InkInCapture(const TCapture& capture, const TRect& area) {
  return InkOf(area.Width(), area.Height(),
               [&](int x, int y) { return capture.At(area.Left + x, area.Top + y); });
}

// The same character drawn by GDI itself in a face, for comparison.
TInk ReferenceInk(const std::u16string& face, int pixels, const std::u16string& text) {
  TOwned<TBitmap> bitmap(new TBitmap(pixels * 3, pixels * 2, TPixelFormat::pf32bit));
  HDC dc = bitmap->Canvas()->Handle();
  RECT all{0, 0, pixels * 3, pixels * 2};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  LOGFONTW lf{};
  lf.lfHeight = -pixels;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  face.copy(reinterpret_cast<char16_t*>(lf.lfFaceName), face.size());
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, pixels / 2, pixels / 4, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()));
  SelectObject(dc, old);
  DeleteObject(font);
  GdiFlush();
  return InkOf(pixels * 3, pixels * 2, [&](int x, int y) {
    TPixel p = bitmap->PixelAt(x, y);
    return static_cast<uint32_t>((p.R << 16) | (p.G << 8) | p.B);
  });
}

class RenderingTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form_ = new TForm(Application);
    form_->SetBounds(30, 30, 520, 420);
    view_ = new TWebView(form_);
    view_->SetParent(form_);
    view_->SetAlign(TAlign::alClient);
    form_->Show();
  }
  void TearDown() override { form_->Free(); }
  TCapture Show(const std::u16string& html, const std::u16string& artefact) {
    view_->LoadFromString(html);
    HWND window = view_->DocumentWindow()->Handle();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpFor(30);
    TCapture capture = CaptureWindow(window);
    capture.Save(artefact);
    return capture;
  }
  TForm* form_ = nullptr;
  TWebView* view_ = nullptr;
};

TEST_F(RenderingTest, ChineseTextIsDrawnInTheFaceItsMarkupNames) {
  const struct {
    const char16_t* Id;
    const char16_t* Face;
  } faces[] = {{u"song", u"宋体"}, {u"kai", u"楷体_GB2312"}, {u"hei", u"黑体"}};
  std::u16string html = u"<body style='margin:0'>";
  for (auto& f : faces)
    html += u"<div style='height:60px'><span id=" + std::u16string(f.Id) + u" style='font-size:40px'><font face='" +
            f.Face + u"'>永</font></span></div>";
  TCapture capture = Show(html + u"</body>", u"webview-chinese-faces.png");
  std::vector<TInk> refs;
  for (auto& f : faces) refs.push_back(ReferenceInk(f.Face, 40, u"永"));
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(Utf16ToUtf8(faces[i].Face));
    TRect box = view_->Document().BoxOf("#" + Utf16ToUtf8(faces[i].Id));
    ASSERT_FALSE(box.IsEmpty());
    TInk ink = InkInCapture(capture, box);
    EXPECT_GT(ink.Count(), 100) << "the character shows";
    // Drawn as GDI draws it in that face, and unlike the other two faces.
    int same = ink.Difference(refs[i]);
    EXPECT_GE(same, 0);
    EXPECT_LE(same, ink.Count() / 20);
    for (size_t j = 0; j < 3; ++j) {
      if (j == i) continue;
      int other = ink.Difference(refs[j]);
      if (other >= 0) { EXPECT_GT(other, same + ink.Count() / 10); }
    }
  }
}

TEST_F(RenderingTest, BoldTextHasMoreInk) {
  TCapture capture = Show(u"<body style='margin:0;font-size:40px'><span id=n>汉字</span><br><b id=b>汉字</b></body>",
                          u"webview-bold.png");
  TInk normal = InkInCapture(capture, view_->Document().BoxOf("#n"));
  TInk bold = InkInCapture(capture, view_->Document().BoxOf("#b"));
  EXPECT_GT(normal.Count(), 100);
  EXPECT_GT(bold.Count(), normal.Count() * 11 / 10);
}

TEST_F(RenderingTest, TableWithBordersDrawsItsLines) {
  TCapture capture =
      Show(u"<body style='margin:10px'><table border=1 cellspacing=4 cellpadding=6>"
           u"<tr><td id=a>甲</td><td>乙</td></tr><tr><td>丙</td><td id=d>丁</td></tr></table>"
           u"<table id=plain cellspacing=4 cellpadding=6><tr><td id=p>戊</td></tr></table></body>",
           u"webview-table.png");
  TRect a = view_->Document().BoxOf("#a");
  ASSERT_FALSE(a.IsEmpty());
  int midY = (a.Top + a.Bottom) / 2, midX = (a.Left + a.Right) / 2;
  uint32_t white = 0xFFFFFF;
  EXPECT_NE(capture.At(a.Left, midY), white) << "left edge of the cell";
  EXPECT_NE(capture.At(a.Right - 1, midY), white) << "right edge";
  EXPECT_NE(capture.At(midX, a.Top), white) << "top edge";
  EXPECT_NE(capture.At(midX, a.Bottom - 1), white) << "bottom edge";
  EXPECT_EQ(capture.At(a.Left + 2, midY), white) << "inside the padding";
  EXPECT_EQ(capture.At(a.Left - 2, midY), white) << "the spacing between cells";
  EXPECT_NE(capture.At(10, midY), white) << "the table's own border";
  TRect p = view_->Document().BoxOf("#p");
  EXPECT_EQ(capture.At(p.Left, (p.Top + p.Bottom) / 2), white) << "no border attribute: no lines";
}

TEST_F(RenderingTest, ImageNamedByAWindowsPathWithBackslashesIsDrawn) {
  TTempDir dir;
  TOwned<TBitmap> red(new TBitmap(24, 12, TPixelFormat::pf24bit));
  for (int y = 0; y < 12; ++y) {
    uint8_t* row = red->ScanLine(y);
    for (int x = 0; x < 24; ++x) {
      row[x * 3] = 0;
      row[x * 3 + 1] = 0;
      row[x * 3 + 2] = 0xFF;
    }
  }
  red->Modified();
  CreateDirectoryW(reinterpret_cast<LPCWSTR>((dir.Path() + u"\\img").c_str()), nullptr);
  std::u16string path = dir.Path() + u"\\img\\en2.png";
  SavePng(*red, path);
  ASSERT_NE(path.find(u'\\'), std::u16string::npos);
  TCapture capture = Show(u"<body style='margin:0'><p><img id=i src=\"" + path + u"\"  border=\"0\" ></p></body>",
                          u"webview-image.png");
  TRect box = view_->Document().BoxOf("#i");
  EXPECT_EQ(box.Width(), 24);
  EXPECT_EQ(box.Height(), 12);
  EXPECT_EQ(capture.At(box.Left + 12, box.Top + 6), 0xFF0000u);
  EXPECT_EQ(capture.At(box.Left + 1, box.Top + 1), 0xFF0000u);
  EXPECT_EQ(capture.At(box.Right + 2, box.Top + 6), 0xFFFFFFu);
}

TEST_F(RenderingTest, TheLinkLineOfADetailPageShowsItsPictureCentredAndOpensOutside) {
  TTempDir dir;
  TOwned<TBitmap> blue(new TBitmap(30, 10, TPixelFormat::pf24bit));
  for (int y = 0; y < 10; ++y) {
    uint8_t* row = blue->ScanLine(y);
    for (int x = 0; x < 30; ++x) {
      row[x * 3] = 0xFF;
      row[x * 3 + 1] = 0;
      row[x * 3 + 2] = 0;
    }
  }
  blue->Modified();
  std::u16string folder = dir.Path() + u"\\";
  CreateDirectoryW(reinterpret_cast<LPCWSTR>((folder + u"img").c_str()), nullptr);
  SavePng(*blue, folder + u"img\\en2.png");
  // Word for word as the renderer appends it to every dictionary page.
  std::u16string line = u"<p align=center><a href=\"http://dict.example.cn/hzshow.asp?id=123\" target=_blank ><img src=\"" +
                        folder + u"img\\en2.png\"  border=\"0\" ></a></p></br>";
  std::u16string asked;
  view_->OnNewWindow3 = [&](TObject*, TObject*&, bool& cancel, uint32_t, const std::u16string&, const std::u16string& url) {
    asked = url;
    cancel = true;
  };
  TCapture capture = Show(u"<p>字</p>" + line, u"webview-link-line.png");
  TRect image = view_->Document().BoxOf("img");
  ASSERT_EQ(image.Width(), 30);
  TRect client = view_->DocumentWindow()->ClientRect();
  EXPECT_NEAR((image.Left + image.Right) / 2, client.Width() / 2, 1);
  EXPECT_EQ(capture.At(image.Left + 15, image.Top + 5), 0x0000FFu);
  ClickAt(view_->DocumentWindow()->Handle(), image.Left + 15, image.Top + 5);
  ASSERT_TRUE(PumpUntil([&] { return !asked.empty(); }));
  EXPECT_EQ(asked, u"http://dict.example.cn/hzshow.asp?id=123");
}

TEST_F(RenderingTest, BodyColourFillsTheWholeWindow) {
  TCapture capture = Show(u"<body bgcolor=#FFFFE0><p>短</p></body>", u"webview-body-colour.png");
  EXPECT_EQ(capture.At(capture.Width - 3, capture.Height - 3), 0xFFFFE0u);
  EXPECT_EQ(capture.At(2, 2), 0xFFFFE0u) << "the body's margin too";
}

TEST_F(RenderingTest, MalformedPagesPaintAndTheWindowGoesOn) {
  TTempDir dir;
  std::u16string broken = dir.Write(u"broken.jpg", std::string("\xFF\xD8\xFF\xE0 not a picture", 20));
  std::u16string nested;
  for (int i = 0; i < 1024 * 1024 / 5; ++i) nested += u"<div>";
  const struct {
    const char* Name;
    std::u16string Html;
    const char16_t* Text;
  } cases[] = {
      {"unclosed tags", u"<table border=1><tr><td><b>粗<i>斜<ul><li>项<p>段落", u"段落"},
      {"a megabyte of nested divs", nested + u"深处", u"深处"},
      {"a broken image", u"<img src=\"" + broken + u"\" width=50 height=50>图后", u"图后"},
      {"huge sizes", u"<img src='C:\\none.png' width=99999999 height=40><font size=99>大</font>"
                     u"<div style='font-size:5000px;border:900px solid red'>巨</div>", u"巨"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TCapture capture = Show(c.Html, u"webview-malformed.png");
    EXPECT_GT(capture.Width, 0);
    EXPECT_NE(view_->Document().Text().find(c.Text), std::u16string::npos);
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(view_->DocumentWindow()->Handle(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer), 0);
    // Scrolled to the far end, it still paints.
    view_->ScrollTo(1 << 30, 1 << 30);
    UpdateWindow(view_->DocumentWindow()->Handle());
  }
}

}  // namespace
