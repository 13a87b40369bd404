#include "webview/ImageCache.h"

#include "framework/core/Stream.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Graphic.h"
#include "framework/graphics/JPEGImage.h"
#include "framework/graphics/PngImage.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/TempDir.h"
#include "webview/Url.h"

namespace {

// A 5x4 picture in each of the three formats, written by the test.
struct TPictures {
  TTempDir Dir;
  std::u16string Bmp, Png, Jpeg;
  TPictures() {
    TOwned<TBitmap> bitmap(new TBitmap(5, 4, TPixelFormat::pf24bit));
    for (int y = 0; y < 4; ++y) {
      uint8_t* row = bitmap->ScanLine(y);
      for (int x = 0; x < 15; ++x) row[x] = 0x80;
    }
    bitmap->Modified();
    Bmp = Dir.Path() + u"\\a.bmp";
    bitmap->SaveToFile(Bmp);
    Png = Dir.Path() + u"\\a.png";
    SavePng(*bitmap, Png);
    TOwned<TJPEGImage> jpeg(new TJPEGImage);
    jpeg->Assign(bitmap.get());
    Jpeg = Dir.Path() + u"\\a.jpg";
    jpeg->SaveToFile(Jpeg);
  }
};

TEST(ImageCacheTest, FilesInEachFormatLoadAtOnce) {
  TPictures pictures;
  TImageCache cache;
  for (const std::u16string& path : {pictures.Bmp, pictures.Png, pictures.Jpeg}) {
    std::u16string url = PathToFileUrl(path);
    cache.Request(url);
    EXPECT_EQ(cache.State(url), TImageState::Ready);
    const TGraphic* image = cache.Image(url);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), 5);
    EXPECT_EQ(image->Height(), 4);
  }
}

TEST(ImageCacheTest, MissingAndBadFilesAreBrokenNotErrors) {
  TTempDir dir;
  std::u16string bad = dir.Write(u"bad.png", "not a picture at all");
  std::u16string gif = dir.Write(u"x.gif", "GIF89a\x01\x00\x01\x00");
  TImageCache cache;
  for (const std::u16string& url : {PathToFileUrl(dir.Path() + u"\\missing.png"), PathToFileUrl(bad),
                                    PathToFileUrl(gif), std::u16string(u"file:///Q:/no/drive.png")}) {
    cache.Request(url);
    EXPECT_EQ(cache.State(url), TImageState::Broken);
    EXPECT_EQ(cache.Image(url), nullptr);
  }
  EXPECT_EQ(cache.State(u"file:///never/asked.png"), TImageState::Unknown);
}

TEST(ImageCacheTest, NetworkImagesWaitForTheirBytes) {
  TPictures pictures;
  TImageCache cache;
  std::u16string url = u"http://example.cn/a.png";
  // Without anyone to fetch them, network images are broken.
  cache.Request(url);
  EXPECT_EQ(cache.State(url), TImageState::Broken);
  cache.Clear();

  std::vector<std::u16string> fetched, arrived;
  cache.FetchRemote = [&](const std::u16string& u) {
    fetched.push_back(u);
    return true;
  };
  cache.OnLoaded = [&](const std::u16string& u) { arrived.push_back(u); };
  cache.Request(url);
  cache.Request(url);
  EXPECT_EQ(fetched, std::vector<std::u16string>{url}) << "asked once";
  EXPECT_EQ(cache.State(url), TImageState::Loading);
  TOwned<TMemoryStream> png(new TMemoryStream);
  png->LoadFromFile(pictures.Png);
  cache.Deliver(url, std::string_view(reinterpret_cast<const char*>(png->Memory()), static_cast<size_t>(png->Size())));
  EXPECT_EQ(cache.State(url), TImageState::Ready);
  EXPECT_EQ(arrived, std::vector<std::u16string>{url});
  // Late deliveries for what is not loading change nothing.
  cache.Deliver(url, "junk");
  EXPECT_EQ(cache.State(url), TImageState::Ready);

  std::u16string lost = u"http://example.cn/lost.png";
  cache.Request(lost);
  cache.Fail(lost);
  EXPECT_EQ(cache.State(lost), TImageState::Broken);
  EXPECT_EQ(arrived.size(), 2u);
}

TEST(ImageCacheTest, BytesThatArriveBrokenLeaveABrokenImage) {
  TImageCache cache;
  cache.FetchRemote = [](const std::u16string&) { return true; };
  cache.Request(u"http://example.cn/x.jpg");
  cache.Deliver(u"http://example.cn/x.jpg", std::string("\xFF\xD8\xFF\xE0truncated", 13));
  EXPECT_EQ(cache.State(u"http://example.cn/x.jpg"), TImageState::Broken);
}

}  // namespace
