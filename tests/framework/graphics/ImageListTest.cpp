#include "framework/graphics/ImageList.h"

#include <vector>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/harness/Gtest.h"

namespace {

const TColor kFaces[3] = {clRed, clLime, clBlue};

// A strip of three 16 x 16 images on magenta: image i has a square of kFaces[i]
// at (4..11, 4..11).
TOwned<TBitmap> Strip() {
  TOwned<TBitmap> strip(SolidBitmap(48, 16, clFuchsia));
  for (int i = 0; i < 3; ++i) {
    strip->Canvas()->Brush()->SetColor(kFaces[i]);
    strip->Canvas()->FillRect(TRect(i * 16 + 4, 4, i * 16 + 12, 12));
  }
  return strip;
}

bool InSquare(int x, int y) { return x >= 4 && x < 12 && y >= 4 && y < 12; }

TEST(ImageListTest, DefaultsAndPublishedSize) {
  TOwned<TImageList> list(new TImageList(nullptr));
  EXPECT_EQ(list->Width(), 16);
  EXPECT_EQ(list->Height(), 16);
  EXPECT_EQ(list->Count(), 0);
  EXPECT_TRUE(SetOrdProp(list.get(), u"Width", 80));
  EXPECT_TRUE(SetOrdProp(list.get(), u"Height", 80));
  EXPECT_EQ(GetOrdProp(list.get(), u"Width"), 80);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list->Handle(), &cx, &cy);
  EXPECT_EQ(cx, 80);
  EXPECT_EQ(cy, 80);
}

TEST(ImageListTest, AMaskedStripAddsOneImagePerWidthAndDrawsTransparently) {
  TOwned<TImageList> list(new TImageList(nullptr));
  TOwned<TBitmap> strip = Strip();
  int changes = 0;
  list->OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(list->AddMasked(*strip, clFuchsia), 0);
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(ColorAt(*strip, 0, 0), clFuchsia);  // the caller's bitmap is untouched

  for (int index = 0; index < 3; ++index) {
    SCOPED_TRACE(index);
    TOwned<TBitmap> dest(new TBitmap(20, 20));
    FillPattern(*dest);
    list->Draw(*dest->Canvas(), 2, 2, index);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        bool face = InSquare(x - 2, y - 2);
        EXPECT_EQ(ColorAt(*dest, x, y), face ? kFaces[index] : PatternColor(x, y)) << x << "," << y;
      }
  }
}

TEST(ImageListTest, AddWithAMaskBitmap) {
  TOwned<TImageList> list(new TImageList(nullptr));
  TOwned<TBitmap> image(SolidBitmap(16, 16, clYellow));
  TOwned<TBitmap> mask(SolidBitmap(16, 16, clWhite, TPixelFormat::pf1bit));
  mask->Canvas()->Brush()->SetColor(clBlack);
  mask->Canvas()->FillRect(TRect(0, 0, 8, 16));  // left half opaque
  EXPECT_EQ(list->Add(*image, mask.get()), 0);
  EXPECT_EQ(list->Add(*image, nullptr), 1);  // no mask: all opaque
  TOwned<TBitmap> dest(SolidBitmap(32, 16, clNavy));
  list->Draw(*dest->Canvas(), 0, 0, 0);
  list->Draw(*dest->Canvas(), 16, 0, 1);
  EXPECT_EQ(ColorAt(*dest, 3, 5), clYellow);
  EXPECT_EQ(ColorAt(*dest, 12, 5), clNavy);
  EXPECT_EQ(ColorAt(*dest, 28, 5), clYellow);
}

TEST(ImageListTest, DisabledDrawingIsGreyedAndKeepsTheBackground) {
  TOwned<TImageList> list(new TImageList(nullptr));
  list->AddMasked(*Strip(), clFuchsia);
  TOwned<TBitmap> enabled(new TBitmap(16, 16)), disabled(new TBitmap(16, 16));
  FillPattern(*enabled);
  FillPattern(*disabled);
  list->Draw(*enabled->Canvas(), 0, 0, 0, true);
  list->Draw(*disabled->Canvas(), 0, 0, 0, false);
  int differing = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      TPixel p = disabled->PixelAt(x, y);
      if (InSquare(x, y)) {
        EXPECT_TRUE(p.R == p.G && p.G == p.B) << x << "," << y;  // grey
        differing += ColorAt(*disabled, x, y) != ColorAt(*enabled, x, y);
      } else {
        EXPECT_EQ(ColorAt(*disabled, x, y), PatternColor(x, y)) << x << "," << y;
      }
    }
  EXPECT_EQ(differing, 64);
}

TEST(ImageListTest, GetBitmapDeleteClearAndResize) {
  TOwned<TImageList> list(new TImageList(nullptr));
  list->AddMasked(*Strip(), clFuchsia);
  TOwned<TBitmap> copy(new TBitmap);
  copy->Canvas()->Brush()->SetColor(clWhite);
  list->GetBitmap(2, *copy);
  EXPECT_EQ(copy->Width(), 16);
  EXPECT_EQ(ColorAt(*copy, 6, 6), clBlue);
  EXPECT_EQ(ColorAt(*copy, 0, 0), clWhite);
  EXPECT_THROW(list->GetBitmap(3, *copy), EInvalidOperation);
  EXPECT_THROW(list->Draw(*copy->Canvas(), 0, 0, -1), EInvalidOperation);

  list->Delete(0);
  EXPECT_EQ(list->Count(), 2);
  list->GetBitmap(0, *copy);
  EXPECT_EQ(ColorAt(*copy, 6, 6), clLime);
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  list->AddMasked(*Strip(), clFuchsia);
  list->SetSize(24, 24);
  EXPECT_EQ(list->Count(), 0);
  TOwned<TBitmap> empty(new TBitmap);
  EXPECT_THROW(list->AddMasked(*empty, clFuchsia), EInvalidOperation);
}

TEST(ImageListTest, AnImageWhoseCanvasIsInUseCanBeAdded) {
  TOwned<TImageList> list(new TImageList(nullptr));
  TOwned<TBitmap> strip = Strip();
  strip->Canvas()->Lock();  // its DC holds the bitmap
  EXPECT_EQ(list->AddMasked(*strip, clFuchsia), 0);
  strip->Canvas()->Unlock();
  EXPECT_EQ(list->Count(), 3);
}

}  // namespace
