#include "framework/graphics/Canvas.h"

#include <functional>
#include <string>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/GdiHandle.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/harness/Gtest.h"

namespace {

// Counts pixels of a colour inside and outside a rectangle.
struct TColorCount {
  int Inside = 0, Outside = 0;
};

TColorCount CountColor(const TBitmap& b, TColor color, const TRect& r) {
  TColorCount n;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (ColorAt(b, x, y) == color) (r.Contains(TPoint(x, y)) ? n.Inside : n.Outside)++;
  return n;
}

struct TPixelCheck {
  int X, Y;
  TColor Expected;
};

struct TDrawCase {
  const char* Name;
  std::function<void(TCanvas&)> Draw;
  std::vector<TPixelCheck> Checks;
};

TEST(CanvasTest, DrawingCallsPaintTheExpectedPixels) {
  const std::vector<TDrawCase> cases = {
      {"FillRect",
       [](TCanvas& c) {
         c.Brush()->SetColor(clRed);
         c.FillRect(TRect(2, 3, 6, 5));
       },
       {{2, 3, clRed}, {5, 4, clRed}, {6, 4, clWhite}, {5, 5, clWhite}, {1, 3, clWhite}}},
      {"FrameRect",
       [](TCanvas& c) {
         c.Brush()->SetColor(clBlue);
         c.FrameRect(TRect(1, 1, 8, 6));
       },
       {{1, 1, clBlue}, {7, 5, clBlue}, {4, 1, clBlue}, {1, 3, clBlue}, {4, 3, clWhite}, {8, 5, clWhite}}},
      {"MoveTo/LineTo leave out the end point",
       [](TCanvas& c) {
         c.Pen()->SetColor(clGreen);
         c.MoveTo(1, 2);
         c.LineTo(9, 2);
       },
       {{1, 2, clGreen}, {8, 2, clGreen}, {9, 2, clWhite}, {0, 2, clWhite}, {4, 3, clWhite}}},
      {"Polyline",
       [](TCanvas& c) {
         c.Pen()->SetColor(clMaroon);
         c.Polyline({{0, 0}, {5, 0}, {5, 5}});
       },
       {{0, 0, clMaroon}, {5, 0, clMaroon}, {5, 4, clMaroon}, {2, 2, clWhite}}},
      {"Polygon fills and outlines",
       [](TCanvas& c) {
         c.Pen()->SetColor(clNavy);
         c.Brush()->SetColor(clYellow);
         c.Polygon({{1, 1}, {15, 1}, {1, 15}});
       },
       {{1, 1, clNavy}, {8, 1, clNavy}, {1, 8, clNavy}, {4, 4, clYellow}, {13, 13, clWhite}}},
      {"Rectangle with a clear brush",
       [](TCanvas& c) {
         c.Pen()->SetColor(clPurple);
         c.Brush()->SetStyle(TBrushStyle::bsClear);
         c.Rectangle(2, 2, 10, 10);
       },
       {{2, 2, clPurple}, {9, 9, clPurple}, {5, 5, clWhite}, {10, 10, clWhite}}},
      {"Ellipse",
       [](TCanvas& c) {
         c.Brush()->SetColor(clTeal);
         c.Ellipse(0, 0, 16, 16);
       },
       {{8, 8, clTeal}, {0, 0, clWhite}, {15, 15, clWhite}, {8, 0, clBlack}}},
      {"RoundRect keeps the corners",
       [](TCanvas& c) {
         c.Brush()->SetColor(clOlive);
         c.Pen()->SetStyle(TPenStyle::psClear);
         c.RoundRect(0, 0, 16, 16, 8, 8);
       },
       {{8, 8, clOlive}, {0, 0, clWhite}, {8, 1, clOlive}}},
      {"Pixels",
       [](TCanvas& c) { c.SetPixels(3, 4, clAqua); },
       {{3, 4, clAqua}, {4, 4, clWhite}}},
      {"Pen mode not inverts",
       [](TCanvas& c) {
         c.Pen()->SetMode(TPenMode::pmNot);
         c.MoveTo(0, 0);
         c.LineTo(4, 0);
       },
       {{0, 0, clBlack}, {3, 0, clBlack}, {4, 0, clWhite}}},
      {"Pen mode xor twice restores",
       [](TCanvas& c) {
         c.Pen()->SetColor(clRed);
         c.Pen()->SetMode(TPenMode::pmXor);
         c.MoveTo(0, 1);
         c.LineTo(4, 1);
         c.MoveTo(0, 1);
         c.LineTo(2, 1);
       },
       {{0, 1, clWhite}, {2, 1, static_cast<TColor>(0xFFFF00)}}},
      {"System colours resolve",
       [](TCanvas& c) {
         c.Brush()->SetColor(clBtnFace);
         c.FillRect(TRect(0, 0, 2, 2));
       },
       {{1, 1, static_cast<TColor>(GetSysColor(COLOR_BTNFACE))}}},
  };
  for (const TDrawCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TBitmap> bitmap(SolidBitmap(16, 16, clWhite));
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    c.Draw(*bitmap->Canvas());
    for (const TPixelCheck& check : c.Checks)
      EXPECT_EQ(ColorAt(*bitmap, check.X, check.Y), check.Expected) << check.X << "," << check.Y;
  }
}

TEST(CanvasTest, HatchedBrushDrawsLinesWithWhiteBetween) {
  TOwned<TBitmap> bitmap(SolidBitmap(16, 16, clWhite));
  bitmap->Canvas()->Brush()->SetColor(clRed);
  bitmap->Canvas()->Brush()->SetStyle(TBrushStyle::bsHorizontal);
  bitmap->Canvas()->FillRect(TRect(0, 0, 16, 16));
  TColorCount red = CountColor(*bitmap, clRed, TRect(0, 0, 16, 16));
  TColorCount white = CountColor(*bitmap, clWhite, TRect(0, 0, 16, 16));
  EXPECT_GT(red.Inside, 0);
  EXPECT_GT(white.Inside, red.Inside);  // one line in eight
  EXPECT_EQ(red.Inside + white.Inside, 256);
}

TEST(CanvasTest, PenPosFollowsDrawing) {
  TOwned<TBitmap> bitmap(SolidBitmap(8, 8, clWhite));
  TCanvas* canvas = bitmap->Canvas();
  canvas->MoveTo(2, 3);
  EXPECT_EQ(canvas->PenPos(), TPoint(2, 3));
  canvas->LineTo(6, 7);
  EXPECT_EQ(canvas->PenPos(), TPoint(6, 7));
  canvas->TextOut(1, 1, u"ab");
  EXPECT_EQ(canvas->PenPos(), TPoint(1 + canvas->TextWidth(u"ab"), 1));
}

// Text in a colour, without antialiasing, so every changed pixel has that colour.
TEST(CanvasTest, TextIsDrawnInTheFontColourOnTheBrush) {
  struct TCase {
    TColor Font;
    TBrushStyle Brush;
    TColor Background;  // what the text cell shows around the glyphs
  };
  const TCase cases[] = {{clRed, TBrushStyle::bsClear, clWhite},
                         {clBlue, TBrushStyle::bsSolid, clYellow},
                         {clGreen, TBrushStyle::bsSolid, clAqua}};
  for (const TCase& c : cases) {
    TOwned<TBitmap> bitmap(SolidBitmap(80, 40, clWhite));
    TCanvas* canvas = bitmap->Canvas();
    canvas->Font()->SetHeight(-24);
    canvas->Font()->SetStyle(fsBold);
    canvas->Font()->SetQuality(TFontQuality::fqNonAntialiased);
    canvas->Font()->SetColor(c.Font);
    if (c.Brush == TBrushStyle::bsSolid) canvas->Brush()->SetColor(c.Background);
    canvas->Brush()->SetStyle(c.Brush);
    canvas->TextOut(4, 4, u"HW");
    SIZE extent = canvas->TextExtent(u"HW");
    TRect cell = TRect::Bounds(4, 4, extent.cx, extent.cy);
    TColorCount ink = CountColor(*bitmap, c.Font, cell);
    TColorCount background = CountColor(*bitmap, c.Background, cell);
    EXPECT_GT(ink.Inside, 30);
    EXPECT_EQ(ink.Outside, 0);
    EXPECT_EQ(ink.Inside + background.Inside, cell.Width() * cell.Height());
  }
}

TEST(CanvasTest, FontChangesTakeEffectBetweenCalls) {
  TOwned<TBitmap> bitmap(SolidBitmap(200, 60, clWhite));
  TCanvas* canvas = bitmap->Canvas();
  std::vector<int> widths;
  for (int height : {-10, -16, -24, -36}) {
    canvas->Font()->SetHeight(height);
    widths.push_back(canvas->TextWidth(u"WWWW"));
    EXPECT_GE(canvas->TextHeight(u"W"), -height) << height;
  }
  for (size_t i = 1; i < widths.size(); ++i) EXPECT_GT(widths[i], widths[i - 1]) << i;

  canvas->Font()->SetHeight(-20);
  int regular = canvas->TextWidth(u"WWWWWWWW");
  canvas->Font()->SetStyle(fsBold);
  EXPECT_GT(canvas->TextWidth(u"WWWWWWWW"), regular);

  // A colour-only change keeps the HFONT but must still reach the DC.
  canvas->Font()->SetQuality(TFontQuality::fqNonAntialiased);
  canvas->Brush()->SetStyle(TBrushStyle::bsClear);
  canvas->Font()->SetColor(clRed);
  HFONT handle = canvas->Font()->Handle();
  canvas->TextOut(2, 2, u"H");
  canvas->Font()->SetColor(clLime);
  EXPECT_EQ(canvas->Font()->Handle(), handle);
  canvas->TextOut(100, 2, u"H");
  EXPECT_GT(CountColor(*bitmap, clRed, TRect(0, 0, 100, 60)).Inside, 10);
  EXPECT_GT(CountColor(*bitmap, clLime, TRect(100, 0, 200, 60)).Inside, 10);
  EXPECT_EQ(CountColor(*bitmap, clLime, TRect(0, 0, 100, 60)).Inside, 0);
}

TEST(CanvasTest, TextRectClipsAndDrawTextMeasures) {
  TOwned<TBitmap> bitmap(SolidBitmap(60, 30, clWhite));
  TCanvas* canvas = bitmap->Canvas();
  canvas->Font()->SetHeight(-20);
  canvas->Font()->SetColor(clBlack);
  canvas->Font()->SetQuality(TFontQuality::fqNonAntialiased);
  canvas->Brush()->SetColor(clYellow);
  TRect clip(10, 5, 20, 25);
  canvas->TextRect(clip, 12, 5, u"WWWWWW");
  EXPECT_EQ(CountColor(*bitmap, clBlack, clip).Outside, 0);
  EXPECT_GT(CountColor(*bitmap, clBlack, clip).Inside, 0);
  EXPECT_EQ(CountColor(*bitmap, clYellow, clip).Outside, 0);  // opaque only inside

  TRect measured(0, 0, 1000, 0);
  int height = canvas->DrawText(u"Hello", measured, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(measured.Width(), canvas->TextWidth(u"Hello"));
  EXPECT_EQ(measured.Height(), height);
  EXPECT_EQ(CountColor(*bitmap, clBlack, TRect(20, 0, 60, 30)).Inside, 0);  // measuring draws nothing
}

TEST(CanvasTest, StretchDrawScalesEachPixelToABlock) {
  TOwned<TBitmap> source(new TBitmap(2, 2));
  const TColor colors[4] = {clRed, clLime, clBlue, clYellow};
  for (int i = 0; i < 4; ++i) source->Canvas()->SetPixels(i % 2, i / 2, colors[i]);
  TOwned<TBitmap> dest(SolidBitmap(12, 12, clWhite));
  dest->Canvas()->StretchDraw(TRect(1, 1, 11, 11), *source);
  for (int y = 1; y < 11; ++y)
    for (int x = 1; x < 11; ++x)
      EXPECT_EQ(ColorAt(*dest, x, y), colors[(y - 1) / 5 * 2 + (x - 1) / 5]) << x << "," << y;
  EXPECT_EQ(ColorAt(*dest, 0, 0), clWhite);
  EXPECT_EQ(ColorAt(*dest, 11, 11), clWhite);
  dest->Canvas()->Draw(0, 0, *source);
  EXPECT_EQ(ColorAt(*dest, 1, 1), clYellow);
}

// GDI reads each format's pixels (indexed ones through their colour table, not the
// DC's text and background colours) exactly as the bitmap stores them.
TEST(CanvasTest, DrawCopiesEveryPixelFormatExactly) {
  for (TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                              TPixelFormat::pf16bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
    SCOPED_TRACE(static_cast<int>(format));
    TOwned<TBitmap> source(new TBitmap(5, 3, format));
    if (format == TPixelFormat::pf1bit) source->SetPalette({RGBQUAD{0, 0, 200, 0}, RGBQUAD{0, 200, 0, 0}});
    FillPattern(*source);
    TOwned<TBitmap> dest(SolidBitmap(7, 5, clWhite));
    // Colours a monochrome DDB would be painted with: they must not show.
    SetTextColor(dest->Canvas()->Handle(), RGB(255, 255, 0));
    SetBkColor(dest->Canvas()->Handle(), RGB(0, 255, 255));
    dest->Canvas()->Draw(1, 1, *source);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(ColorAt(*dest, x + 1, y + 1), ColorAt(*source, x, y)) << x << "," << y;
    EXPECT_EQ(ColorAt(*dest, 0, 0), clWhite);
    EXPECT_EQ(ColorAt(*dest, 6, 4), clWhite);
  }
}

// The destination keeps its own pixel wherever the source has the transparent colour.
TEST(CanvasTest, TransparentDrawLeavesTheKeyedPixelsOfTheDestination) {
  struct TCase {
    const char* Name;
    TPixelFormat Format;
    bool AutoMode;
    int Scale;
  };
  const TCase cases[] = {{"24 bit, fixed colour", TPixelFormat::pf24bit, false, 1},
                         {"24 bit, bottom-left colour", TPixelFormat::pf24bit, true, 1},
                         {"8 bit", TPixelFormat::pf8bit, false, 1},
                         {"32 bit, stretched", TPixelFormat::pf32bit, false, 3},
                         {"16 bit", TPixelFormat::pf16bit, true, 2}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TBitmap> glyph(SolidBitmap(4, 4, clFuchsia, c.Format));
    glyph->Canvas()->Brush()->SetColor(clBlue);
    glyph->Canvas()->FillRect(TRect(1, 0, 3, 3));  // a blue bar; column 0, 3 and row 3 stay magenta
    glyph->SetTransparent(true);
    if (!c.AutoMode) glyph->SetTransparentColor(clFuchsia);
    TOwned<TBitmap> dest(new TBitmap(16, 16));
    FillPattern(*dest);
    dest->Canvas()->StretchDraw(TRect::Bounds(2, 2, 4 * c.Scale, 4 * c.Scale), *glyph);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        int gx = (x - 2) / c.Scale, gy = (y - 2) / c.Scale;
        bool inside = x >= 2 && y >= 2 && gx < 4 && gy < 4;
        bool blue = inside && gx >= 1 && gx < 3 && gy < 3;
        TColor want = blue ? clBlue : PatternColor(x, y);
        EXPECT_EQ(ColorAt(*dest, x, y), want) << x << "," << y;
      }
    }
  }
}

TEST(CanvasTest, OpaqueDrawOfTheSameGlyphCoversEverything) {
  TOwned<TBitmap> glyph(SolidBitmap(4, 4, clFuchsia));
  TOwned<TBitmap> dest(new TBitmap(8, 8));
  FillPattern(*dest);
  dest->Canvas()->Draw(2, 2, *glyph);
  EXPECT_EQ(CountColor(*dest, clFuchsia, TRect(2, 2, 6, 6)).Inside, 16);
}

TEST(CanvasTest, StraightAlphaIsBlendedOverTheDestination) {
  TOwned<TBitmap> glyph(new TBitmap(3, 1, TPixelFormat::pf32bit));
  const uint8_t pixels[12] = {0, 0, 255, 255,  // opaque red
                              0, 0, 255, 128,  // half red
                              0, 0, 255, 0};   // invisible
  std::copy(pixels, pixels + 12, glyph->ScanLine(0));
  glyph->SetAlphaFormat(TAlphaFormat::afDefined);
  TOwned<TBitmap> dest(SolidBitmap(3, 1, clWhite));
  dest->Canvas()->Draw(0, 0, *glyph);
  EXPECT_EQ(ColorAt(*dest, 0, 0), clRed);
  COLORREF half = static_cast<COLORREF>(ColorAt(*dest, 1, 0));
  EXPECT_EQ(GetRValue(half), 255);
  EXPECT_NEAR(GetGValue(half), 127, 2);
  EXPECT_NEAR(GetBValue(half), 127, 2);
  EXPECT_EQ(ColorAt(*dest, 2, 0), clWhite);
  // Ignored alpha copies the colours as they are.
  glyph->SetAlphaFormat(TAlphaFormat::afIgnored);
  dest->Canvas()->Draw(0, 0, *glyph);
  EXPECT_EQ(ColorAt(*dest, 2, 0), clRed);
}

TEST(CanvasTest, CopyRectAndClipRect) {
  TOwned<TBitmap> source(new TBitmap(6, 6));
  FillPattern(*source);
  TOwned<TBitmap> dest(SolidBitmap(6, 6, clWhite));
  dest->Canvas()->CopyRect(TRect(0, 0, 3, 3), *source->Canvas(), TRect(2, 2, 5, 5));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(ColorAt(*dest, x, y), PatternColor(x + 2, y + 2));
  EXPECT_EQ(ColorAt(*dest, 3, 3), clWhite);
  dest->Canvas()->SetCopyMode(NOTSRCCOPY);
  dest->Canvas()->CopyRect(TRect(3, 3, 4, 4), *source->Canvas(), TRect(0, 0, 1, 1));
  EXPECT_EQ(ColorAt(*dest, 3, 3), static_cast<TColor>(~static_cast<uint32_t>(PatternColor(0, 0)) & 0xFFFFFF));
  EXPECT_EQ(dest->Canvas()->ClipRect(), TRect(0, 0, 6, 6));
  EXPECT_EQ(dest->Canvas()->Pixels(50, 50), clNone);
}

TEST(CanvasTest, LocksNest) {
  TOwned<TCanvas> canvas(new TCanvas);
  canvas->Lock();
  canvas->Lock();
  EXPECT_EQ(canvas->LockCount(), 2);
  canvas->Unlock();
  EXPECT_EQ(canvas->LockCount(), 1);
  canvas->Unlock();
  EXPECT_EQ(canvas->LockCount(), 0);
  EXPECT_THROW(canvas->Unlock(), EInvalidOperation);
  EXPECT_EQ(canvas->LockCount(), 0);
}

TEST(CanvasTest, AnUnboundPlainCanvasRefusesToDraw) {
  TOwned<TCanvas> canvas(new TCanvas);
  EXPECT_FALSE(canvas->HandleAllocated());
  EXPECT_THROW(canvas->Handle(), EInvalidOperation);
  EXPECT_THROW(canvas->FillRect(TRect(0, 0, 1, 1)), EInvalidOperation);
}

// A DC that belongs to someone else: its objects and colours are back after unbinding,
// nothing of its own is deleted, and each handle the canvas made is deleted once.
TEST(CanvasTest, ExternalDCGetsItsOwnObjectsBack) {
  const TGdiTally before = GdiTally();
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 20;
  info.bmiHeader.biHeight = -20;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP surface = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldBitmap = SelectObject(dc, surface);
  HFONT ownFont = CreateFontW(-9, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Arial");
  HBRUSH ownBrush = CreateSolidBrush(RGB(1, 2, 3));
  HPEN ownPen = CreatePen(PS_SOLID, 1, RGB(4, 5, 6));
  HGDIOBJ oldFont = SelectObject(dc, ownFont);
  HGDIOBJ oldBrush = SelectObject(dc, ownBrush);
  HGDIOBJ oldPen = SelectObject(dc, ownPen);
  SetTextColor(dc, RGB(7, 8, 9));
  SetBkColor(dc, RGB(10, 11, 12));
  SetBkMode(dc, OPAQUE);
  SetROP2(dc, R2_COPYPEN);
  MoveToEx(dc, 3, 4, nullptr);

  TCanvas* canvas = new TCanvas;
  canvas->SetHandle(dc);
  EXPECT_TRUE(canvas->HandleAllocated());
  canvas->Brush()->SetColor(clRed);
  canvas->FillRect(TRect(0, 0, 10, 10));
  canvas->Font()->SetColor(clLime);
  canvas->Brush()->SetStyle(TBrushStyle::bsClear);
  canvas->TextOut(0, 0, u"x");
  canvas->Pen()->SetColor(clBlue);
  canvas->Pen()->SetMode(TPenMode::pmXor);
  canvas->LineTo(15, 15);
  // Changes while bound: the old handles are replaced while selected.
  canvas->Font()->SetHeight(-30);
  canvas->Pen()->SetWidth(3);
  canvas->Pen()->SetMode(TPenMode::pmCopy);
  canvas->Brush()->SetColor(clGreen);
  canvas->Rectangle(1, 1, 12, 12);
  EXPECT_EQ(GetPixel(dc, 6, 6), RGB(0, 128, 0));
  EXPECT_EQ(GetPixel(dc, 1, 6), RGB(0, 0, 255));
  canvas->TextOut(0, 0, u"y");

  canvas->SetHandle(nullptr);
  EXPECT_FALSE(canvas->HandleAllocated());
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), ownFont);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), ownBrush);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), ownPen);
  EXPECT_EQ(GetTextColor(dc), RGB(7, 8, 9));
  EXPECT_EQ(GetBkColor(dc), RGB(10, 11, 12));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
  POINT at{};
  GetCurrentPositionEx(dc, &at);
  EXPECT_EQ(at.x, 3);
  EXPECT_EQ(at.y, 4);
  canvas->Free();

  const TGdiTally& after = GdiTally();
  EXPECT_EQ(after.FailedDeletes, before.FailedDeletes);
  for (TGdiKind kind : {TGdiKind::Font, TGdiKind::Brush, TGdiKind::Pen})
    EXPECT_EQ(after.Live(kind), before.Live(kind)) << static_cast<int>(kind);
  EXPECT_GT(after.Created[static_cast<int>(TGdiKind::Font)], before.Created[static_cast<int>(TGdiKind::Font)] + 1);
  // The DC's own objects are intact.
  EXPECT_EQ(GetObjectType(ownFont), static_cast<DWORD>(OBJ_FONT));
  EXPECT_EQ(GetObjectType(ownBrush), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(GetObjectType(ownPen), static_cast<DWORD>(OBJ_PEN));

  SelectObject(dc, oldFont);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBitmap);
  DeleteObject(ownFont);
  DeleteObject(ownBrush);
  DeleteObject(ownPen);
  DeleteObject(surface);
  DeleteDC(dc);
}

TEST(CanvasTest, RebindingMovesTheObjectsToTheNewDC) {
  HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(nullptr);
  HFONT secondFont = CreateFontW(-9, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Arial");
  SelectObject(second, secondFont);
  HGDIOBJ firstFont = GetCurrentObject(first, OBJ_FONT);
  TOwned<TCanvas> canvas(new TCanvas);
  canvas->SetHandle(first);
  canvas->TextWidth(u"a");
  EXPECT_EQ(GetCurrentObject(first, OBJ_FONT), canvas->Font()->Handle());
  canvas->SetHandle(second);
  EXPECT_EQ(GetCurrentObject(first, OBJ_FONT), firstFont);
  canvas->TextWidth(u"a");
  EXPECT_EQ(GetCurrentObject(second, OBJ_FONT), canvas->Font()->Handle());
  canvas.reset();
  EXPECT_EQ(GetCurrentObject(second, OBJ_FONT), secondFont);
  DeleteDC(first);
  DeleteDC(second);
  DeleteObject(secondFont);
}

}  // namespace
