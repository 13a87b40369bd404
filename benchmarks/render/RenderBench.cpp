// ./bench render: a long detail page (a few hundred lines of Chinese explanations, a table,
// pictures named by Windows paths and the link line) laid out and painted by the HTML view.
//   render CASE p50_ms=… p95_ms=…
// Cases: layout+paint at a new width (a resized pane), load+layout+paint (a new page in a
// pane, as HTMLCode does it; also for a short entry of a screen or two), paint at another
// scroll position, and the whole view path (LoadFromString and the window's own WM_PAINT).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "benchmarks/Timing.h"
#include "framework/core/Unicode.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/PngImage.h"
#include "webview/DocumentWindow.h"
#include "webview/GdiContainer.h"
#include "webview/HtmlDocument.h"
#include "webview/WebView.h"

namespace {

constexpr int kRuns = 200;
constexpr int kWidth = 700, kHeight = 500;

void Report(const char* name, const std::vector<double>& times) {
  std::printf("render %s p50_ms=%.3f p95_ms=%.3f\n", name, Percentile(times, 0.5), Percentile(times, 0.95));
  std::fflush(stdout);
}

// Pictures beside the page, as the program keeps img\ beside its executable.
std::u16string WritePictures() {
  WCHAR temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::u16string folder = std::u16string(reinterpret_cast<const char16_t*>(temp)) + u"qinghe-render-bench\\";
  CreateDirectoryW(reinterpret_cast<LPCWSTR>(folder.c_str()), nullptr);
  CreateDirectoryW(reinterpret_cast<LPCWSTR>((folder + u"img").c_str()), nullptr);
  const struct {
    const char16_t* Name;
    int W, H;
    uint8_t R, G, B;
  } pictures[] = {{u"img\\en2.png", 60, 18, 40, 90, 200}, {u"img\\bh.png", 120, 120, 200, 60, 60},
                  {u"img\\line.png", 600, 4, 120, 160, 120}};
  for (auto& p : pictures) {
    TOwned<TBitmap> bitmap(new TBitmap(p.W, p.H, TPixelFormat::pf24bit));
    for (int y = 0; y < p.H; ++y) {
      uint8_t* row = bitmap->ScanLine(y);
      for (int x = 0; x < p.W; ++x) {
        row[x * 3] = p.B;
        row[x * 3 + 1] = p.G;
        row[x * 3 + 2] = p.R;
      }
    }
    bitmap->Modified();
    SavePng(*bitmap, folder + p.Name);
  }
  return folder;
}

std::u16string DetailPage(const std::u16string& folder, int lines, int rows) {
  static const char16_t* kWords[] = {u"中", u"国", u"汉", u"字", u"词", u"典", u"青", u"禾", u"解", u"释",
                                     u"部", u"首", u"笔", u"画", u"读", u"音", u"意", u"义", u"例", u"句"};
  std::u16string page = u"<html><head><title>字</title><style>.py{color:#c00000}.ex{line-height:1.6}</style></head>"
                        u"<body bgcolor=#FFFFF0 leftmargin=10 topmargin=6>";
  page += u"<table width=100% border=1 cellspacing=0 cellpadding=4 bordercolor=#cccccc><tr><td rowspan=3 width=130>"
          u"<img src=\"" + folder + u"img\\bh.png\"></td><td><font face=楷体_GB2312 size=6>中</font></td></tr>"
          u"<tr><td class=py>zhōng zhòng</td></tr><tr><td>部首：丨　笔画：4　五笔：KHK</td></tr></table>";
  page += u"<img src=\"" + folder + u"img\\line.png\">";
  for (int i = 0; i < lines; ++i) {
    page += u"<p class=ex><b>" + IntToStr(i + 1) + u".</b> ";
    for (int w = 0; w < 28; ++w) page += kWords[(i * 7 + w * 3) % 20];
    if (i % 10 == 0) page += u" <font face=黑体 color=#336699>［例］</font><i>example sentence " + IntToStr(i) + u"</i>";
    page += u"</p>\n";
  }
  page += u"<table border=1 cellpadding=2>";
  for (int r = 0; r < rows; ++r) {
    page += u"<tr>";
    for (int c = 0; c < 4; ++c) page += u"<td>" + std::u16string(kWords[(r + c) % 20]) + IntToStr(r * 4 + c) + u"</td>";
    page += u"</tr>";
  }
  page += u"</table>";
  page += u"<p align=center><a href=\"http://dict.example.cn/hzshow.asp?id=123\" target=_blank ><img src=\"" + folder +
          u"img\\en2.png\"  border=\"0\" ></a></p></br></body></html>";
  return page;
}

}  // namespace

int main() {
  new TApplication(nullptr);
  std::u16string folder = WritePictures();
  std::u16string page = DetailPage(folder, 300, 50);
  std::string utf8 = Utf16ToUtf8(page);
  // What most entries look like: a screen or two.
  std::string shortPage = Utf16ToUtf8(DetailPage(folder, 20, 5));

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
  HGDIOBJ old = SelectObject(memory, bitmap);
  TDrawTarget target;
  target.DC = memory;
  TRect viewport(0, 0, kWidth, kHeight);
  {
    TGdiContainer container;
    THtmlDocument doc(container);
    doc.Load(utf8, u"about:blank");
    doc.Layout(kWidth, kHeight);
    doc.Draw(target, 0, 0, viewport);
    std::fprintf(stderr, "page: %zu characters, %d x %d pixels\n", page.size(), doc.Width(), doc.Height());

    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
      double t0 = NowMs();
      doc.Layout(kWidth - (i % 2), kHeight);
      doc.Draw(target, 0, 0, viewport);
      times.push_back(NowMs() - t0);
    }
    Report("layout+paint", times);

    times.clear();
    for (int i = 0; i < kRuns; ++i) {
      double t0 = NowMs();
      doc.Load(utf8, u"about:blank");
      doc.Layout(kWidth, kHeight);
      doc.Draw(target, 0, 0, viewport);
      times.push_back(NowMs() - t0);
    }
    Report("load+layout+paint", times);

    times.clear();
    for (int i = 0; i < kRuns; ++i) {
      double t0 = NowMs();
      doc.Load(shortPage, u"about:blank");
      doc.Layout(kWidth, kHeight);
      doc.Draw(target, 0, 0, viewport);
      times.push_back(NowMs() - t0);
    }
    Report("short-page-load+layout+paint", times);
    doc.Load(utf8, u"about:blank");
    doc.Layout(kWidth, kHeight);

    times.clear();
    int range = std::max(doc.Height() - kHeight, 1);
    for (int i = 0; i < kRuns; ++i) {
      double t0 = NowMs();
      doc.Draw(target, 0, (i * 997) % range, viewport);
      times.push_back(NowMs() - t0);
    }
    Report("paint-scrolled", times);
  }

  auto* form = new TForm(Application);
  form->SetBounds(0, 0, kWidth + 20, kHeight + 40);
  auto* view = new TWebView(form);
  view->SetParent(form);
  view->SetAlign(TAlign::alClient);
  form->Show();
  std::vector<double> times;
  HWND window = view->DocumentWindow()->Handle();
  for (int i = 0; i < kRuns / 4; ++i) {
    double t0 = NowMs();
    view->LoadFromString(page);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    times.push_back(NowMs() - t0);
    Application->ProcessMessages();
  }
  Report("view-load+paint", times);
  form->Free();

  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (const char16_t* name : {u"img\\en2.png", u"img\\bh.png", u"img\\line.png"})
    DeleteFileW(reinterpret_cast<LPCWSTR>((folder + name).c_str()));
  RemoveDirectoryW(reinterpret_cast<LPCWSTR>((folder + u"img").c_str()));
  RemoveDirectoryW(reinterpret_cast<LPCWSTR>(folder.c_str()));
  FreeObject(Application);
  return 0;
}
