#include "framework/graphics/Picture.h"

#include <string>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/core/Stream.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Icon.h"
#include "framework/graphics/JPEGImage.h"
#include "framework/graphics/PngImage.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/graphics/TestImageWriters.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/TempDir.h"

namespace {

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::vector<uint8_t> BmpBytes(int w, int h) {
  TOwned<TBitmap> b(SolidBitmap(w, h, clRed));
  TOwned<TMemoryStream> s(new TMemoryStream);
  b->SaveToStream(*s);
  return s->Bytes();
}

std::vector<uint8_t> PngBytes(int w, int h) {
  TTestPng p;
  p.Width = w;
  p.Height = h;
  p.ColorType = 2;
  p.Rows.assign(static_cast<size_t>(w * h * 3), 0x40);
  return WriteTestPng(p);
}

std::vector<uint8_t> JpegBytes(int w, int h) {
  return WriteTestJpeg(w, h, 3, std::vector<uint8_t>(static_cast<size_t>(w * h * 3), 0x80), 90, false);
}

std::vector<uint8_t> IcoBytes() {
  TOwned<TIcon> icon(new TIcon);
  icon->SetHandle(CopyIcon(static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, 0, 0, LR_SHARED))));
  TOwned<TMemoryStream> s(new TMemoryStream);
  icon->SaveToStream(*s);
  return s->Bytes();
}

TEST(PictureTest, LoadFromFileChoosesTheGraphicByExtension) {
  TTempDir dir;
  struct TCase {
    const char16_t* Name;
    std::vector<uint8_t> Bytes;
    const TClassInfo* Class;
    int Width, Height;
  };
  const std::vector<TCase> cases = {
      {u"a.bmp", BmpBytes(5, 4), &TBitmap::StaticClass(), 5, 4},
      {u"b.JPG", JpegBytes(9, 3), &TJPEGImage::StaticClass(), 9, 3},
      {u"c.jpeg", JpegBytes(2, 7), &TJPEGImage::StaticClass(), 2, 7},
      {u"d.Png", PngBytes(6, 6), &TPngImage::StaticClass(), 6, 6},
      {u"e.ico", IcoBytes(), &TIcon::StaticClass(), -1, -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.Name));
    std::u16string path = dir.Write(c.Name, AsText(c.Bytes));
    TOwned<TPicture> picture(new TPicture);
    int changes = 0;
    picture->OnChange = [&](TObject*) { ++changes; };
    ASSERT_NO_THROW(picture->LoadFromFile(path));
    ASSERT_NE(picture->Graphic(), nullptr);
    EXPECT_TRUE(picture->Graphic()->ClassType().InheritsFrom(*c.Class)) << Utf16ToUtf8(picture->Graphic()->ClassName());
    EXPECT_GE(changes, 1);
    if (c.Width > 0) {
      EXPECT_EQ(picture->Width(), c.Width);
      EXPECT_EQ(picture->Height(), c.Height);
    } else {
      EXPECT_GT(picture->Width(), 0);
    }
    // The same bytes through a stream: the kind is told by the first bytes.
    TOwned<TMemoryStream> stream(new TMemoryStream);
    stream->Assign(c.Bytes);
    TOwned<TPicture> sniffed(new TPicture);
    ASSERT_NO_THROW(sniffed->LoadFromStream(*stream));
    EXPECT_EQ(sniffed->Graphic()->ClassName(), picture->Graphic()->ClassName());
  }
}

TEST(PictureTest, BadFilesRaiseAndKeepThePictureAsItWas) {
  TTempDir dir;
  std::u16string good = dir.Write(u"good.bmp", AsText(BmpBytes(3, 3)));
  struct TCase {
    const char* Name;
    std::u16string Path;
    bool OpenError;
    const char16_t* Fragment;
  };
  const std::vector<TCase> cases = {
      {"unknown extension", dir.Write(u"x.gif", "GIF89a"), false, u".gif"},
      {"no extension", dir.Write(u"noext", "BM"), false, u"noext"},
      {"missing file", dir.Path() + u"\\missing.png", true, u"missing.png"},
      {"bad content", dir.Write(u"bad.png", "not a png at all"), false, u"bad.png"},
      {"bitmap named as JPEG", dir.Write(u"liar.jpg", AsText(BmpBytes(2, 2))), false, u"liar.jpg"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TPicture> picture(new TPicture);
    picture->LoadFromFile(good);
    TGraphic* before = picture->Graphic();
    std::u16string message;
    bool openError = false;
    try {
      picture->LoadFromFile(c.Path);
    } catch (const EFOpenError& e) {
      openError = true;
      message = e.Message();
    } catch (const EInvalidGraphic& e) {
      message = e.Message();
    }
    EXPECT_EQ(openError, c.OpenError);
    EXPECT_NE(message.find(c.Fragment), std::u16string::npos) << Utf16ToUtf8(message);
    EXPECT_EQ(picture->Graphic(), before);
    EXPECT_EQ(picture->Width(), 3);
  }
  TOwned<TPicture> picture(new TPicture);
  TOwned<TMemoryStream> junk(new TMemoryStream);
  junk->Assign(std::vector<uint8_t>{1, 2, 3});
  EXPECT_THROW(picture->LoadFromStream(*junk), EInvalidGraphic);
}

TEST(PictureTest, BitmapAssignAndChangeEvents) {
  TOwned<TPicture> picture(new TPicture);
  EXPECT_TRUE(picture->Empty());
  EXPECT_EQ(picture->Width(), 0);
  int changes = 0;
  picture->OnChange = [&](TObject*) { ++changes; };
  TBitmap* bitmap = picture->Bitmap();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(picture->Bitmap(), bitmap);  // made once
  int afterCreate = changes;
  bitmap->SetSize(7, 2);
  EXPECT_GT(changes, afterCreate);  // the graphic's changes reach the picture
  EXPECT_EQ(picture->Width(), 7);

  TOwned<TPicture> other(new TPicture);
  other->Assign(picture.get());
  ASSERT_NE(other->Graphic(), nullptr);
  EXPECT_NE(other->Graphic(), picture->Graphic());  // a copy
  EXPECT_EQ(other->Height(), 2);
  TOwned<TPngImage> png(new TPngImage);
  TOwned<TMemoryStream> s(new TMemoryStream);
  s->Assign(PngBytes(4, 4));
  png->LoadFromStream(*s);
  other->SetGraphic(png.get());
  EXPECT_EQ(other->Graphic()->ClassName(), u"TPngImage");
  // Asking for the bitmap of a PNG picture replaces it by an empty bitmap.
  EXPECT_TRUE(other->Bitmap()->Empty());
  other->Assign(nullptr);
  EXPECT_EQ(other->Graphic(), nullptr);
  TOwned<TBitmap> target(new TBitmap);
  target->Assign(picture.get());
  EXPECT_EQ(target->Width(), 7);
}

}  // namespace
