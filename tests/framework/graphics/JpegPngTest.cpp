#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/core/Stream.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/JPEGImage.h"
#include "framework/graphics/PngImage.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/graphics/TestImageWriters.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/TempDir.h"

namespace {

TOwned<TMemoryStream> StreamOf(const std::vector<uint8_t>& bytes) {
  TOwned<TMemoryStream> s(new TMemoryStream);
  s->Assign(bytes);
  return s;
}

// Smooth colours (JPEG keeps them well): R follows x, G follows y, B is fixed.
std::vector<uint8_t> Gradient(int w, int h, int components) {
  std::vector<uint8_t> p;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (components == 1) {
        p.push_back(static_cast<uint8_t>(40 + x * 8));
      } else {
        p.push_back(static_cast<uint8_t>(30 + x * 10));
        p.push_back(static_cast<uint8_t>(200 - y * 8));
        p.push_back(90);
      }
    }
  return p;
}

struct TJpegCase {
  const char* Name;
  int Components;
  bool Progressive;
  int Width, Height;
};

TEST(JpegTest, DecodesWhatLibjpegWroteWithinATolerance) {
  const TJpegCase cases[] = {{"RGB baseline", 3, false, 16, 16},
                             {"RGB progressive", 3, true, 16, 16},
                             {"grey", 1, false, 16, 8},
                             {"odd size", 3, false, 13, 7}};
  for (const TJpegCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<uint8_t> source = Gradient(c.Width, c.Height, c.Components);
    auto stream = StreamOf(WriteTestJpeg(c.Width, c.Height, c.Components, source, 95, c.Progressive));
    TOwned<TJPEGImage> jpeg(new TJPEGImage);
    ASSERT_NO_THROW(jpeg->LoadFromStream(*stream));
    ASSERT_EQ(jpeg->Width(), c.Width);
    ASSERT_EQ(jpeg->Height(), c.Height);
    EXPECT_EQ(jpeg->Bitmap().PixelFormat(), TPixelFormat::pf24bit);
    int worst = 0;
    for (int y = 0; y < c.Height; ++y)
      for (int x = 0; x < c.Width; ++x) {
        TPixel p = jpeg->Bitmap().PixelAt(x, y);
        const uint8_t* s = source.data() + (y * c.Width + x) * c.Components;
        int r = c.Components == 1 ? s[0] : s[0], g = c.Components == 1 ? s[0] : s[1], b = c.Components == 1 ? s[0] : s[2];
        worst = std::max({worst, std::abs(p.R - r), std::abs(p.G - g), std::abs(p.B - b)});
      }
    EXPECT_LE(worst, 10);
    // Drawn through a canvas: the pixels land where they belong.
    TOwned<TBitmap> dest(SolidBitmap(c.Width + 2, c.Height + 2, clWhite));
    dest->Canvas()->Draw(1, 1, *jpeg);
    EXPECT_EQ(ColorAt(*dest, 0, 0), clWhite);
    EXPECT_EQ(ColorAt(*dest, 1, 1), ColorAt(jpeg->Bitmap(), 0, 0));
    EXPECT_EQ(ColorAt(*dest, c.Width, c.Height), ColorAt(jpeg->Bitmap(), c.Width - 1, c.Height - 1));
  }
}

TEST(JpegTest, AdobeCmykComesOutAsRgb) {
  struct TCase {
    uint8_t C, M, Y, K;  // as stored: inverted
    int R, G, B;
  };
  const TCase cases[] = {{255, 0, 0, 255, 255, 0, 0},
                         {0, 255, 0, 255, 0, 255, 0},
                         {255, 255, 255, 255, 255, 255, 255},
                         {255, 255, 255, 0, 0, 0, 0},
                         {128, 255, 255, 255, 128, 255, 255}};
  for (const TCase& c : cases) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 8 * 8; ++i) pixels.insert(pixels.end(), {c.C, c.M, c.Y, c.K});
    TOwned<TJPEGImage> jpeg(new TJPEGImage);
    ASSERT_NO_THROW(jpeg->LoadFromStream(*StreamOf(WriteTestJpeg(8, 8, 4, pixels, 100, false))));
    TPixel p = jpeg->Bitmap().PixelAt(3, 3);
    EXPECT_NEAR(p.R, c.R, 4);
    EXPECT_NEAR(p.G, c.G, 4);
    EXPECT_NEAR(p.B, c.B, 4);
  }
}

TEST(JpegTest, CorruptOrTruncatedDataIsEInvalidGraphic) {
  const std::vector<uint8_t> good = WriteTestJpeg(16, 16, 3, Gradient(16, 16, 3), 90, false);
  // Start of frame: FF C0, length, precision, height, width.
  size_t sof = 0;
  for (size_t i = 0; i + 1 < good.size(); ++i)
    if (good[i] == 0xFF && good[i + 1] == 0xC0) {
      sof = i;
      break;
    }
  ASSERT_GT(sof, 0u);
  struct TCase {
    const char* Name;
    std::function<std::vector<uint8_t>()> Build;
  };
  const std::vector<TCase> cases = {
      {"empty", [] { return std::vector<uint8_t>(); }},
      {"not a JPEG", [] { return std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', 0, 0}; }},
      {"only the start marker", [] { return std::vector<uint8_t>{0xFF, 0xD8}; }},
      {"cut in the header", [&] { return std::vector<uint8_t>(good.begin(), good.begin() + 40); }},
      {"cut in the scan", [&] { return std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(good.size() * 3 / 4)); }},
      {"missing end marker", [&] { return std::vector<uint8_t>(good.begin(), good.end() - 2); }},
      {"zero width", [&] {
         auto b = good;
         b[sof + 7] = 0;
         b[sof + 8] = 0;
         return b;
       }},
      {"huge size claimed", [&] {
         auto b = good;
         b[sof + 5] = b[sof + 7] = 0xFF;
         b[sof + 6] = b[sof + 8] = 0xD0;
         return b;
       }},
      {"bad marker length", [&] {
         auto b = good;
         b[sof + 2] = 0;
         b[sof + 3] = 1;
         return b;
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto stream = StreamOf(c.Build());
    TOwned<TJPEGImage> jpeg(new TJPEGImage);
    jpeg->LoadFromStream(*StreamOf(good));
    EXPECT_THROW(jpeg->LoadFromStream(*stream), EInvalidGraphic);
    EXPECT_TRUE(jpeg->Empty());
  }
}

// Bytes changed inside the compressed data may or may not be detectable; what
// matters is that each load ends in a picture of the right size or EInvalidGraphic.
TEST(JpegTest, ScrambledScanDataNeverCrashes) {
  const std::vector<uint8_t> good = WriteTestJpeg(16, 16, 3, Gradient(16, 16, 3), 90, false);
  int refused = 0, decoded = 0;
  for (size_t at = good.size() / 2; at + 2 < good.size(); at += 3) {
    std::vector<uint8_t> bytes = good;
    bytes[at] ^= 0x5A;
    bytes[at + 1] = 0xFF;
    TOwned<TJPEGImage> jpeg(new TJPEGImage);
    try {
      jpeg->LoadFromStream(*StreamOf(bytes));
      ++decoded;
      EXPECT_EQ(jpeg->Width(), 16);
    } catch (const EInvalidGraphic&) {
      ++refused;
    }
  }
  EXPECT_GT(refused + decoded, 0);
  EXPECT_GT(refused, 0);
}

TEST(JpegTest, SavesItsOwnBytesOrEncodesAnAssignedBitmap) {
  const std::vector<uint8_t> file = WriteTestJpeg(8, 8, 3, Gradient(8, 8, 3), 80, false);
  TOwned<TJPEGImage> jpeg(new TJPEGImage);
  jpeg->LoadFromStream(*StreamOf(file));
  TOwned<TMemoryStream> saved(new TMemoryStream);
  jpeg->SaveToStream(*saved);
  EXPECT_EQ(saved->Bytes(), file);

  TOwned<TBitmap> bitmap(SolidBitmap(10, 6, clRed));
  jpeg->Assign(bitmap.get());
  jpeg->SetCompressionQuality(95);
  TOwned<TMemoryStream> encoded(new TMemoryStream);
  jpeg->SaveToStream(*encoded);
  encoded->SetPosition(0);
  TOwned<TJPEGImage> again(new TJPEGImage);
  again->LoadFromStream(*encoded);
  ASSERT_EQ(again->Width(), 10);
  TPixel p = again->Bitmap().PixelAt(5, 3);
  EXPECT_GE(p.R, 245);
  EXPECT_LE(p.G, 10);
  EXPECT_LE(p.B, 10);
  TOwned<TBitmap> back(new TBitmap);
  back->Assign(again.get());
  EXPECT_EQ(back->Width(), 10);
  EXPECT_EQ(back->PixelFormat(), TPixelFormat::pf24bit);
}

// ---- PNG ----

struct TPngCase {
  const char* Name;
  TTestPng Png;
  std::function<TPixel(int x, int y)> Expected;  // straight RGBA
};

TPixel Px(int r, int g, int b, int a) {
  TPixel p;
  p.R = static_cast<uint8_t>(r);
  p.G = static_cast<uint8_t>(g);
  p.B = static_cast<uint8_t>(b);
  p.A = static_cast<uint8_t>(a);
  return p;
}

std::vector<TPngCase> PngCases() {
  std::vector<TPngCase> cases;
  auto rows = [](int w, int h, int bytesPerPixel, const std::function<std::vector<uint8_t>(int, int)>& pixel) {
    std::vector<uint8_t> out;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        std::vector<uint8_t> v = pixel(x, y);
        out.insert(out.end(), v.begin(), v.begin() + bytesPerPixel);
      }
    return out;
  };
  {
    TTestPng p;
    p.Width = 5;
    p.Height = 3;
    p.ColorType = 6;
    p.Rows = rows(5, 3, 4, [](int x, int y) {
      return std::vector<uint8_t>{static_cast<uint8_t>(x * 50), static_cast<uint8_t>(y * 80), 200,
                                  static_cast<uint8_t>(x * 60)};
    });
    cases.push_back({"RGBA", p, [](int x, int y) { return Px(x * 50, y * 80, 200, x * 60); }});
  }
  {
    TTestPng p;
    p.Width = 4;
    p.Height = 4;
    p.ColorType = 2;
    p.Rows = rows(4, 4, 3, [](int x, int y) {
      return std::vector<uint8_t>{static_cast<uint8_t>(x * 60), 7, static_cast<uint8_t>(y * 60)};
    });
    cases.push_back({"RGB", p, [](int x, int y) { return Px(x * 60, 7, y * 60, 255); }});
  }
  {
    TTestPng p;
    p.Width = 3;
    p.Height = 2;
    p.ColorType = 0;
    p.Rows = rows(3, 2, 1, [](int x, int y) { return std::vector<uint8_t>{static_cast<uint8_t>(x * 100 + y)}; });
    cases.push_back({"grey", p, [](int x, int y) { return Px(x * 100 + y, x * 100 + y, x * 100 + y, 255); }});
  }
  {
    TTestPng p;
    p.Width = 3;
    p.Height = 1;
    p.ColorType = 4;
    p.Rows = {10, 0, 128, 128, 250, 255};
    cases.push_back({"grey + alpha", p, [](int x, int) {
                       const int v[3][2] = {{10, 0}, {128, 128}, {250, 255}};
                       return Px(v[x][0], v[x][0], v[x][0], v[x][1]);
                     }});
  }
  {
    TTestPng p;
    p.Width = 4;
    p.Height = 2;
    p.ColorType = 3;
    p.Palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    p.Alpha = {255, 100};
    p.Rows = {0, 1, 2, 0, 2, 2, 1, 1};
    cases.push_back({"palette with tRNS", p, [](int x, int y) {
                       const int index[2][4] = {{0, 1, 2, 0}, {2, 2, 1, 1}};
                       const int i = index[y][x];
                       const int alpha[3] = {255, 100, 255};
                       return Px(i == 0 ? 255 : 0, i == 1 ? 255 : 0, i == 2 ? 255 : 0, alpha[i]);
                     }});
  }
  {
    TTestPng p;
    p.Width = 10;
    p.Height = 2;
    p.ColorType = 0;
    p.BitDepth = 1;
    p.Rows = {0xA5, 0x80, 0x0F, 0xC0};  // 10 pixels a row, padded to two bytes
    cases.push_back({"1-bit grey", p, [](int x, int y) {
                       const unsigned row[2] = {0xA580, 0x0FC0};
                       int v = (row[y] >> (15 - x)) & 1 ? 255 : 0;
                       return Px(v, v, v, 255);
                     }});
  }
  {
    TTestPng p;
    p.Width = 2;
    p.Height = 2;
    p.ColorType = 2;
    p.BitDepth = 16;
    p.Rows = {0xFF, 0x00, 0x80, 0x00, 0x00, 0xFF, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC,
              0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    cases.push_back({"16-bit RGB", p, [](int x, int y) {
                       const int v[2][2][3] = {{{0xFF, 0x80, 0x00}, {0x12, 0x56, 0x9A}}, {{0, 0, 0}, {255, 255, 255}}};
                       return Px(v[y][x][0], v[y][x][1], v[y][x][2], 255);
                     }});
  }
  {
    TTestPng p;
    p.Width = 9;
    p.Height = 9;
    p.ColorType = 2;
    p.Interlaced = true;
    p.Rows = rows(9, 9, 3, [](int x, int y) {
      return std::vector<uint8_t>{static_cast<uint8_t>(x * 28), static_cast<uint8_t>(y * 28),
                                  static_cast<uint8_t>((x * y) & 0xFF)};
    });
    cases.push_back({"interlaced", p, [](int x, int y) { return Px(x * 28, y * 28, (x * y) & 0xFF, 255); }});
  }
  return cases;
}

TEST(PngTest, DecodesEveryColourTypeExactly) {
  for (const TPngCase& c : PngCases()) {
    SCOPED_TRACE(c.Name);
    std::vector<uint8_t> file = WriteTestPng(c.Png);
    ASSERT_FALSE(file.empty());
    auto stream = StreamOf(file);
    TOwned<TPngImage> png(new TPngImage);
    ASSERT_NO_THROW(png->LoadFromStream(*stream));
    EXPECT_EQ(stream->Position(), static_cast<int64_t>(file.size()));
    ASSERT_EQ(png->Width(), c.Png.Width);
    ASSERT_EQ(png->Height(), c.Png.Height);
    EXPECT_EQ(png->Bitmap()->PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(png->Bitmap()->AlphaFormat(), TAlphaFormat::afDefined);
    for (int y = 0; y < c.Png.Height; ++y)
      for (int x = 0; x < c.Png.Width; ++x) {
        TPixel got = png->Bitmap()->PixelAt(x, y), want = c.Expected(x, y);
        EXPECT_TRUE(got.SameColor(want) && got.A == want.A)
            << x << "," << y << " got " << int(got.R) << " " << int(got.G) << " " << int(got.B) << " " << int(got.A);
      }
  }
}

TEST(PngTest, WriteThenReadGivesTheSamePixels) {
  for (const TPngCase& c : PngCases()) {
    SCOPED_TRACE(c.Name);
    TOwned<TPngImage> png(new TPngImage);
    png->LoadFromStream(*StreamOf(WriteTestPng(c.Png)));
    TOwned<TMemoryStream> saved(new TMemoryStream);
    png->SaveToStream(*saved);
    saved->SetPosition(0);
    TOwned<TPngImage> again(new TPngImage);
    ASSERT_NO_THROW(again->LoadFromStream(*saved));
    ASSERT_EQ(again->Width(), png->Width());
    for (int y = 0; y < png->Height(); ++y)
      for (int x = 0; x < png->Width(); ++x) {
        TPixel a = png->Bitmap()->PixelAt(x, y), b = again->Bitmap()->PixelAt(x, y);
        EXPECT_TRUE(a.SameColor(b) && a.A == b.A) << x << "," << y;
      }
  }
}

TEST(PngTest, SavePngOfAGdiCaptureIsOpaque) {
  // GDI leaves 0 in the fourth byte of what it paints into a 32-bit DIB.
  TOwned<TBitmap> capture(SolidBitmap(6, 4, clBlue, TPixelFormat::pf32bit));
  capture->Canvas()->Brush()->SetColor(clYellow);
  capture->Canvas()->FillRect(TRect(0, 0, 3, 2));
  EXPECT_EQ(capture->PixelAt(0, 0).A, 0);
  TTempDir dir;
  std::u16string path = dir.Path() + u"\\capture.png";
  SavePng(*capture, path);
  TOwned<TPngImage> png(new TPngImage);
  png->LoadFromFile(path);
  ASSERT_EQ(png->Width(), 6);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      TPixel p = png->Bitmap()->PixelAt(x, y);
      EXPECT_EQ(p.A, 255);
      EXPECT_EQ(static_cast<TColor>(RGB(p.R, p.G, p.B)), x < 3 && y < 2 ? clYellow : clBlue);
    }
  // Other formats are written opaque too.
  TOwned<TBitmap> paletted(SolidBitmap(3, 3, clRed, TPixelFormat::pf8bit));
  TOwned<TMemoryStream> out(new TMemoryStream);
  SavePngToStream(*paletted, *out);
  out->SetPosition(0);
  TOwned<TPngImage> back(new TPngImage);
  back->LoadFromStream(*out);
  EXPECT_EQ(back->Bitmap()->PixelAt(1, 1).A, 255);
  EXPECT_EQ(back->Bitmap()->PixelAt(1, 1).R, 255);
  TOwned<TBitmap> empty(new TBitmap);
  EXPECT_THROW(SavePngToStream(*empty, *out), EInvalidGraphic);
}

TEST(PngTest, AlphaIsBlendedWhenDrawn) {
  TTestPng p;
  p.Width = 3;
  p.Height = 1;
  p.ColorType = 6;
  p.Rows = {255, 0, 0, 255, 255, 0, 0, 128, 255, 0, 0, 0};
  TOwned<TPngImage> png(new TPngImage);
  png->LoadFromStream(*StreamOf(WriteTestPng(p)));
  TOwned<TBitmap> dest(SolidBitmap(3, 1, clWhite));
  dest->Canvas()->Draw(0, 0, *png);
  EXPECT_EQ(ColorAt(*dest, 0, 0), clRed);
  TPixel half = dest->PixelAt(1, 0);
  EXPECT_EQ(half.R, 255);
  EXPECT_NEAR(half.G, 127, 2);
  EXPECT_EQ(ColorAt(*dest, 2, 0), clWhite);
}

TEST(PngTest, CorruptOrTruncatedDataIsEInvalidGraphic) {
  TTestPng p = PngCases()[0].Png;
  const std::vector<uint8_t> good = WriteTestPng(p);
  // The chunk layout: 8-byte signature, then length, type, data, CRC.
  auto chunkAt = [&](const char* type) -> size_t {
    for (size_t i = 8; i + 8 <= good.size();) {
      uint32_t length = (good[i] << 24) | (good[i + 1] << 16) | (good[i + 2] << 8) | good[i + 3];
      if (std::equal(type, type + 4, good.begin() + static_cast<long>(i) + 4)) return i;
      i += 12 + length;
    }
    return 0;
  };
  const size_t ihdr = chunkAt("IHDR"), idat = chunkAt("IDAT"), iend = chunkAt("IEND");
  ASSERT_GT(idat, 0u);
  ASSERT_GT(iend, 0u);
  auto withCrc = [](std::vector<uint8_t> b, size_t chunk) {
    uint32_t length = (b[chunk] << 24) | (b[chunk + 1] << 16) | (b[chunk + 2] << 8) | b[chunk + 3];
    uint32_t crc = PngCrc(b.data() + chunk + 4, length + 4);
    for (int i = 0; i < 4; ++i) b[chunk + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    return b;
  };
  struct TCase {
    const char* Name;
    std::vector<uint8_t> Bytes;
  };
  std::vector<TCase> cases = {
      {"empty", {}},
      {"signature only", std::vector<uint8_t>(good.begin(), good.begin() + 8)},
      {"wrong signature", [&] { auto b = good; b[1] = 'Q'; return b; }()},
      {"cut in IHDR", std::vector<uint8_t>(good.begin(), good.begin() + 20)},
      {"cut in IDAT", std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(idat + 12))},
      {"no IEND", std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(iend))},
      {"IDAT byte changed (CRC)", [&] { auto b = good; b[idat + 10] ^= 0x40; return b; }()},
      {"IHDR CRC wrong", [&] { auto b = good; b[ihdr + 8 + 13] ^= 1; return b; }()},
      {"IDAT not zlib (CRC fixed)", [&] {
         auto b = good;
         b[idat + 8] = 0x12;
         b[idat + 9] = 0x34;
         return withCrc(b, idat);
       }()},
      {"width 0 (CRC fixed)", [&] {
         auto b = good;
         for (int i = 0; i < 4; ++i) b[ihdr + 8 + i] = 0;
         return withCrc(b, ihdr);
       }()},
      {"huge size claimed (CRC fixed)", [&] {
         auto b = good;
         b[ihdr + 8] = 0x00;
         b[ihdr + 9] = 0x10;  // 1048576 x 1048576
         b[ihdr + 12] = 0x00;
         b[ihdr + 13] = 0x10;
         return withCrc(b, ihdr);
       }()},
      {"bad bit depth (CRC fixed)", [&] {
         auto b = good;
         b[ihdr + 8 + 8] = 7;
         return withCrc(b, ihdr);
       }()},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TPngImage> png(new TPngImage);
    png->LoadFromStream(*StreamOf(good));
    EXPECT_THROW(png->LoadFromStream(*StreamOf(c.Bytes)), EInvalidGraphic);
    EXPECT_TRUE(png->Empty());
  }
  // Every prefix of the file.
  for (size_t n = 0; n < good.size(); ++n) {
    TOwned<TPngImage> png(new TPngImage);
    EXPECT_THROW(png->LoadFromStream(*StreamOf(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(n)))),
                 EInvalidGraphic)
        << n;
  }
}

TEST(PngTest, TwoPngsInOneStreamAndAssignment) {
  std::vector<TPngCase> cases = PngCases();
  std::vector<uint8_t> a = WriteTestPng(cases[0].Png), b = WriteTestPng(cases[1].Png);
  std::vector<uint8_t> both = a;
  both.insert(both.end(), b.begin(), b.end());
  auto stream = StreamOf(both);
  TOwned<TPngImage> first(new TPngImage), second(new TPngImage);
  first->LoadFromStream(*stream);
  EXPECT_EQ(stream->Position(), static_cast<int64_t>(a.size()));
  second->LoadFromStream(*stream);
  EXPECT_EQ(second->Width(), cases[1].Png.Width);

  TOwned<TBitmap> bitmap(new TBitmap);
  bitmap->Assign(first.get());
  EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(bitmap->AlphaFormat(), TAlphaFormat::afDefined);
  EXPECT_EQ(bitmap->PixelAt(4, 2).A, first->Bitmap()->PixelAt(4, 2).A);
  TOwned<TPngImage> copy(new TPngImage);
  copy->Assign(bitmap.get());
  EXPECT_EQ(copy->Bitmap()->PixelAt(3, 1).A, 180);
  int changes = 0;
  copy->OnChange = [&](TObject*) { ++changes; };
  copy->Assign(second.get());
  EXPECT_GE(changes, 1);
  EXPECT_EQ(copy->Width(), 4);
}

}  // namespace
