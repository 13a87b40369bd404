// GetGuiResources is not reliable under Wine, so the layer counts its own handles:
// every handle it creates and deletes goes through GdiHandle, which also checks after
// each deletion that the handle is really gone (GDI only postpones deleting an object
// still selected into a DC).  What this cannot see: handles made by the platform on
// our behalf inside a call (an image list's own bitmaps, a DC's stock objects).
#include <functional>
#include <string>
#include <vector>

#include "framework/core/Stream.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/GdiHandle.h"
#include "framework/graphics/Icon.h"
#include "framework/graphics/ImageList.h"
#include "framework/graphics/JPEGImage.h"
#include "framework/graphics/PngImage.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/harness/Gtest.h"

namespace {

const TGdiKind kKinds[] = {TGdiKind::Font, TGdiKind::Brush,  TGdiKind::Pen,      TGdiKind::Bitmap,
                           TGdiKind::DC,   TGdiKind::Icon,   TGdiKind::ImageList};

struct TCycle {
  const char* Name;
  std::function<void()> Run;
};

TEST(ResourceTest, RepeatedUseLeavesNoHandleBehind) {
  const std::vector<TCycle> cycles = {
      {"bitmap with canvas, fonts, pens and brushes",
       [] {
         TOwned<TBitmap> b(SolidBitmap(24, 24, clWhite));
         TCanvas* c = b->Canvas();
         c->Font()->SetHeight(-12);
         c->TextOut(1, 1, u"abc");
         c->Font()->SetStyle(fsBold);  // replaced while selected
         c->TextOut(1, 1, u"abc");
         c->Pen()->SetColor(clRed);
         c->LineTo(20, 20);
         c->Pen()->SetWidth(3);
         c->LineTo(2, 20);
         c->Brush()->SetStyle(TBrushStyle::bsCross);
         c->Rectangle(2, 2, 10, 10);
         c->Brush()->SetBitmap(b.get());
         c->FillRect(TRect(0, 0, 4, 4));
         b->SetSize(30, 30);
         b->SetPixelFormat(TPixelFormat::pf8bit);
       }},
      {"transparent and alpha drawing",
       [] {
         TOwned<TBitmap> glyph(SolidBitmap(8, 8, clFuchsia));
         glyph->SetTransparent(true);
         TOwned<TBitmap> alpha(new TBitmap(8, 8, TPixelFormat::pf32bit));
         alpha->SetAlphaFormat(TAlphaFormat::afDefined);
         TOwned<TBitmap> dest(new TBitmap(16, 16));
         dest->Canvas()->Draw(0, 0, *glyph);
         dest->Canvas()->StretchDraw(TRect(0, 0, 16, 16), *glyph);
         dest->Canvas()->Draw(4, 4, *alpha);
         glyph->Canvas()->SetPixels(0, 0, clRed);  // remakes the mask
         dest->Canvas()->Draw(0, 0, *glyph);
         glyph->Mask(clFuchsia);
       }},
      {"assign, save and load",
       [] {
         TOwned<TBitmap> a(SolidBitmap(5, 5, clBlue));
         TOwned<TBitmap> b(new TBitmap);
         b->Assign(a.get());
         TOwned<TMemoryStream> s(new TMemoryStream);
         b->SaveToStream(*s);
         s->SetPosition(0);
         a->LoadFromStream(*s);
         TOwned<TPngImage> png(new TPngImage);
         png->Assign(a.get());
         TOwned<TJPEGImage> jpeg(new TJPEGImage);
         jpeg->Assign(a.get());
         TOwned<TBitmap> dest(new TBitmap(8, 8));
         dest->Canvas()->Draw(0, 0, *png);
         dest->Canvas()->Draw(0, 0, *jpeg);
       }},
      {"icons and image lists",
       [] {
         TOwned<TIcon> icon(new TIcon);
         icon->SetHandle(CopyIcon(static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, 0, 0, LR_SHARED))));
         TOwned<TMemoryStream> s(new TMemoryStream);
         icon->SaveToStream(*s);
         TOwned<TImageList> list(new TImageList(nullptr));
         TOwned<TBitmap> strip(SolidBitmap(32, 16, clFuchsia));
         list->AddMasked(*strip, clFuchsia);
         list->AddIcon(*icon);
         TOwned<TBitmap> dest(new TBitmap(16, 16));
         list->Draw(*dest->Canvas(), 0, 0, 0, true);
         list->Draw(*dest->Canvas(), 0, 0, 1, false);
       }},
      {"external DC",
       [] {
         HDC dc = CreateCompatibleDC(nullptr);
         TOwned<TCanvas> canvas(new TCanvas);
         canvas->SetHandle(dc);
         canvas->Font()->SetName(u"Arial");
         canvas->TextWidth(u"x");
         canvas->Font()->SetHeight(-30);
         canvas->TextWidth(u"x");
         canvas->Brush()->SetColor(clRed);
         canvas->FillRect(TRect(0, 0, 1, 1));
         canvas.reset();  // destroyed while still bound
         DeleteDC(dc);
       }},
  };
  for (const TCycle& cycle : cycles) {
    SCOPED_TRACE(cycle.Name);
    cycle.Run();  // first use may set up lasting state (common controls)
    FreeMemoryContexts();
    const TGdiTally before = GdiTally();
    for (int i = 0; i < 30; ++i) cycle.Run();
    FreeMemoryContexts();
    const TGdiTally& after = GdiTally();
    EXPECT_EQ(after.FailedDeletes, before.FailedDeletes);
    for (TGdiKind kind : kKinds) {
      EXPECT_EQ(after.Live(kind), before.Live(kind)) << "kind " << static_cast<int>(kind);
      const int k = static_cast<int>(kind);
      EXPECT_EQ(after.Created[k] - before.Created[k], after.Deleted[k] - before.Deleted[k]);
    }
    EXPECT_EQ(MemoryContextCount(), 0);
  }
  // The tally really counts: the cycles above made handles of every kind.
  for (TGdiKind kind : kKinds) EXPECT_GT(GdiTally().Created[static_cast<int>(kind)], 0) << static_cast<int>(kind);
}

// A deletion GDI postpones (object still selected) is counted as failed.
TEST(ResourceTest, TheTallySeesADeletionOfASelectedObject) {
  const int64_t failed = GdiTally().FailedDeletes;
  HDC dc = CreateCompatibleDC(nullptr);
  {
    TBrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
    HGDIOBJ old = SelectObject(dc, brush.Get());
    brush.Reset();  // still selected: GDI keeps it
    EXPECT_EQ(GdiTally().FailedDeletes, failed + 1);
    SelectObject(dc, old);
  }
  DeleteDC(dc);
}

}  // namespace
