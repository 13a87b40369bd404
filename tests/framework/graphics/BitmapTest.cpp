#include "framework/graphics/Bitmap.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Stream.h"
#include "framework/graphics/Colors.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/TempDir.h"

namespace {

uint32_t Rgb24(int x, int y) { return static_cast<uint32_t>((x * 40) | ((y * 60) << 8) | (0x80 << 16)); }

TBmpFields Valid24() {
  TBmpFields f;
  f.Width = 4;
  f.Height = 3;
  f.Bits = 24;
  f.Pixels = PackRows(4, 3, 24, Rgb24);
  return f;
}

TBmpFields Valid8() {
  TBmpFields f;
  f.Width = 5;
  f.Height = 2;
  f.Bits = 8;
  for (int i = 0; i < 256; ++i)
    f.Palette.push_back(RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 0});
  f.Pixels = PackRows(5, 2, 8, [](int x, int y) { return static_cast<uint32_t>(x * 50 + y); });
  return f;
}

// 8-bit RLE of a 4 x 2 image: an encoded run, an end of line, an absolute run, the end.
std::vector<uint8_t> Rle8Stream() { return {4, 7, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1}; }

TBmpFields ValidRle8() {
  TBmpFields f;
  f.Width = 4;
  f.Height = 2;
  f.Bits = 8;
  f.Compression = BI_RLE8;
  for (int i = 0; i < 256; ++i) f.Palette.push_back(RGBQUAD{static_cast<BYTE>(i), 0, 0, 0});
  f.Pixels = Rle8Stream();
  return f;
}

TBmpFields ValidBitfields16() {
  TBmpFields f;
  f.Width = 3;
  f.Height = 2;
  f.Bits = 16;
  f.Compression = BI_BITFIELDS;
  f.Masks = {0xF800, 0x07E0, 0x001F};
  f.Pixels = PackRows(3, 2, 16, [](int x, int y) { return static_cast<uint32_t>(x * 0x0841 + y * 0xF800); });
  return f;
}

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

struct TBadCase {
  const char* Name;
  std::function<std::vector<uint8_t>()> Build;
  const char16_t* Reason;  // a fragment of the error message
};

std::vector<TBadCase> BadCases() {
  auto with = [](TBmpFields f, const std::function<void(TBmpFields&)>& change) {
    change(f);
    return BuildBmp(f);
  };
  return {
      {"empty data", [] { return std::vector<uint8_t>(); }, u"shorter than a bitmap file header"},
      {"truncated file header", [] { auto b = BuildBmp(Valid24()); b.resize(10); return b; },
       u"shorter than a bitmap file header"},
      {"wrong signature", [=] { return with(Valid24(), [](TBmpFields& f) { f.Signature[1] = 'X'; }); },
       u"signature"},
      {"bfSize past the end", [=] { return with(Valid24(), [](TBmpFields& f) { f.FileSize = 5000; }); },
       u"declares 5000 bytes"},
      {"bfSize impossible", [=] { return with(Valid24(), [](TBmpFields& f) { f.FileSize = 10; }); },
       u"impossible size"},
      {"bfOffBits past the end", [=] { return with(Valid24(), [](TBmpFields& f) { f.OffBits = 4000; }); },
       u"past the end"},
      {"bfOffBits inside the info header", [=] { return with(Valid24(), [](TBmpFields& f) { f.OffBits = 20; }); },
       u"points into the header"},
      {"bfOffBits inside the file header", [=] { return with(Valid24(), [](TBmpFields& f) { f.OffBits = 6; }); },
       u"points into the file header"},
      {"bfOffBits leaves too few pixel bytes",
       [=] { return with(Valid24(), [](TBmpFields& f) { f.OffBits = 14 + 40 + 8; f.SizeImage = 0; }); }, u"shorter than the size needs"},
      {"biSize unknown", [=] { return with(Valid24(), [](TBmpFields& f) { f.HeaderSize = 20; }); },
       u"unsupported bitmap header size 20"},
      {"biSize huge", [=] { return with(Valid24(), [](TBmpFields& f) { f.HeaderSize = 0x7FFFFFF0; }); },
       u"unsupported bitmap header size"},
      {"biSize V5 in a file shorter than that",
       [] {
         auto b = BuildBmp(Valid24());
         PutU32(b, 14, 124);
         return b;
       },
       u"runs past the end of the data"},
      {"zero width", [=] { return with(Valid24(), [](TBmpFields& f) { f.Width = 0; }); }, u"invalid width 0"},
      {"negative width", [=] { return with(Valid24(), [](TBmpFields& f) { f.Width = -4; }); }, u"invalid width -4"},
      {"huge width", [=] { return with(Valid24(), [](TBmpFields& f) { f.Width = 0x40000000; }); }, u"too large"},
      {"zero height", [=] { return with(Valid24(), [](TBmpFields& f) { f.Height = 0; }); }, u"invalid height 0"},
      {"most negative height", [=] { return with(Valid24(), [](TBmpFields& f) { f.Height = INT32_MIN; }); },
       u"invalid height"},
      {"width x height overflow",
       [=] { return with(Valid24(), [](TBmpFields& f) { f.Width = 30000; f.Height = -30000; }); }, u"too large"},
      {"planes 2", [=] { return with(Valid24(), [](TBmpFields& f) { f.Planes = 2; }); }, u"plane count is 2"},
      {"planes 0", [=] { return with(Valid24(), [](TBmpFields& f) { f.Planes = 0; }); }, u"plane count is 0"},
      {"bit count 2", [=] { return with(Valid24(), [](TBmpFields& f) { f.Bits = 2; }); }, u"unsupported bit count 2"},
      {"bit count 0 (embedded JPEG/PNG)", [=] { return with(Valid24(), [](TBmpFields& f) { f.Bits = 0; }); },
       u"unsupported bit count 0"},
      {"bit count 64", [=] { return with(Valid24(), [](TBmpFields& f) { f.Bits = 64; }); }, u"unsupported bit count 64"},
      {"16 bits in a core header",
       [=] { return with(Valid24(), [](TBmpFields& f) { f.HeaderSize = 12; f.Bits = 16; }); }, u"unsupported bit count 16"},
      {"JPEG compression", [=] { return with(Valid24(), [](TBmpFields& f) { f.Compression = BI_JPEG; }); },
       u"unsupported compression 4"},
      {"PNG compression", [=] { return with(Valid24(), [](TBmpFields& f) { f.Compression = BI_PNG; }); },
       u"unsupported compression 5"},
      {"unknown compression", [=] { return with(Valid24(), [](TBmpFields& f) { f.Compression = 99; }); },
       u"unsupported compression 99"},
      {"RLE8 on 24 bits", [=] { return with(Valid24(), [](TBmpFields& f) { f.Compression = BI_RLE8; }); },
       u"does not fit bit count 24"},
      {"bit fields on 24 bits", [=] { return with(Valid24(), [](TBmpFields& f) { f.Compression = BI_BITFIELDS; }); },
       u"bit fields with bit count 24"},
      {"top-down RLE", [=] { return with(ValidRle8(), [](TBmpFields& f) { f.Height = -2; }); },
       u"top-down bitmap cannot be run-length compressed"},
      {"colour table larger than the bit count allows",
       [=] { return with(Valid8(), [](TBmpFields& f) { f.ColorsUsed = 300; }); }, u"colour table of 300 entries"},
      {"colour table larger than the file",
       [=] {
         return with(Valid8(), [](TBmpFields& f) {
           f.Palette.resize(10);
           f.Pixels.clear();
         });
       },
       u"colour table (256 entries) runs past the end"},
      {"huge optional colour table on 24 bits",
       [=] { return with(Valid24(), [](TBmpFields& f) { f.ColorsUsed = 0x40000000; }); }, u"colour table"},
      {"pixel data shorter than width x height needs",
       [=] { return with(Valid24(), [](TBmpFields& f) { f.Pixels.resize(f.Pixels.size() - 2); f.SizeImage = 0; }); },
       u"shorter than the size needs"},
      {"biSizeImage larger than the data",
       [=] { return with(Valid24(), [](TBmpFields& f) { f.SizeImage = 100000; }); }, u"declares 100000 bytes of pixel data"},
      {"bit field masks missing",
       [=] {
         return with(ValidBitfields16(), [](TBmpFields& f) {
           f.Masks.clear();
           f.Pixels.clear();
         });
       },
       u"colour masks run past the end"},
      {"bit field mask zero", [=] { return with(ValidBitfields16(), [](TBmpFields& f) { f.Masks = {0xF800, 0, 0x1F}; }); },
       u"invalid colour masks"},
      {"bit field mask not contiguous",
       [=] { return with(ValidBitfields16(), [](TBmpFields& f) { f.Masks = {0xF800, 0x0500, 0x1F}; }); },
       u"invalid colour masks"},
      {"bit field mask wider than the pixel",
       [=] { return with(ValidBitfields16(), [](TBmpFields& f) { f.Masks = {0x1F800, 0x07E0, 0x1F}; }); },
       u"invalid colour masks"},
      {"bit field masks overlapping",
       [=] { return with(ValidBitfields16(), [](TBmpFields& f) { f.Masks = {0xF800, 0x0FE0, 0x1F}; }); },
       u"overlapping"},
      {"RLE without its size", [=] { return with(ValidRle8(), [](TBmpFields& f) { f.SizeImage = 0; }); },
       u"without its size"},
      {"RLE size larger than the data", [=] { return with(ValidRle8(), [](TBmpFields& f) { f.SizeImage = 500; }); },
       u"shorter than the size needs"},
      {"RLE ending before its end code",
       [=] { return with(ValidRle8(), [](TBmpFields& f) { f.Pixels = {4, 7, 0, 0, 2}; }); },
       u"ends before its end-of-bitmap code"},
      {"RLE absolute run off the end",
       [=] { return with(ValidRle8(), [](TBmpFields& f) { f.Pixels = {0, 9, 1, 2, 3}; }); },
       u"absolute run-length run reaches past the end"},
      {"RLE rows past the last one",
       [=] { return with(ValidRle8(), [](TBmpFields& f) { f.Pixels = {1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 1}; }); },
       u"runs past the last row"},
      {"RLE delta outside the bitmap",
       [=] { return with(ValidRle8(), [](TBmpFields& f) { f.Pixels = {0, 2, 200, 0, 0, 1}; }); },
       u"delta moves outside"},
      {"RLE delta cut off", [=] { return with(ValidRle8(), [](TBmpFields& f) { f.Pixels = {0, 2, 1}; }); },
       u"ends inside a delta"},
      {"RLE4 run past the last row",
       [=] {
         return with(ValidRle8(), [](TBmpFields& f) {
           f.Bits = 4;
           f.Compression = BI_RLE4;
           f.Palette.resize(16);
           f.Pixels = {0, 2, 0, 2, 3, 0x12, 0, 1};
         });
       },
       u"runs past the last row"},
      {"V5 profile outside the file",
       [=] {
         auto b = with(Valid24(), [](TBmpFields& f) { f.HeaderSize = 124; });
         PutU32(b, 14 + 56, 0x4D424544);  // PROFILE_EMBEDDED
         PutU32(b, 14 + 112, 1000);
         PutU32(b, 14 + 116, 64);
         return b;
       },
       u"colour profile runs past the end"},
  };
}

TEST(BitmapLoadTest, MalformedFilesGiveAnEmptyBitmapAndAClearError) {
  for (const TBadCase& c : BadCases()) {
    SCOPED_TRACE(c.Name);
    std::vector<uint8_t> bytes = c.Build();
    TOwned<TMemoryStream> stream(new TMemoryStream);
    stream->Assign(bytes);
    TOwned<TBitmap> bitmap(new TBitmap(2, 2));
    std::u16string message;
    try {
      bitmap->LoadFromStream(*stream);
    } catch (const EInvalidGraphic& e) {
      message = e.Message();
    }
    EXPECT_NE(message.find(c.Reason), std::u16string::npos) << Utf16ToUtf8(message);
    EXPECT_TRUE(bitmap->Empty());
    EXPECT_EQ(bitmap->Handle(), nullptr);
  }
}

// Every prefix of valid files, with the header's own size or one fixed up to match.
TEST(BitmapLoadTest, EveryTruncationIsRefused) {
  for (const TBmpFields& fields : {Valid24(), Valid8(), ValidRle8(), ValidBitfields16()}) {
    std::vector<uint8_t> full = BuildBmp(fields);
    for (size_t length = 0; length < full.size(); ++length) {
      SCOPED_TRACE(length);
      for (bool fixSize : {false, true}) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(length));
        if (fixSize && length >= 6) PutU32(cut, 2, static_cast<uint32_t>(length));
        TOwned<TMemoryStream> stream(new TMemoryStream);
        stream->Assign(cut);
        TOwned<TBitmap> bitmap(new TBitmap);
        bool refused = false;
        try {
          bitmap->LoadFromStream(*stream);
        } catch (const EInvalidGraphic&) {
          refused = true;
        }
        // An RLE stream that lost only its end code still has every row.
        bool complete = fields.Compression == BI_RLE8 && fixSize && length + 2 >= full.size();
        if (!complete) {
          EXPECT_TRUE(refused);
          EXPECT_TRUE(bitmap->Empty());
        }
      }
    }
  }
}

// Header bytes overwritten with patterns that hit the interesting values: whatever
// happens, the answer is a bitmap or EInvalidGraphic, and a loaded one is readable.
TEST(BitmapLoadTest, CorruptedHeadersNeverReadOutOfBounds) {
  const uint32_t values[] = {0, 1, 0xFF, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 40, 12, 124, 3};
  int loaded = 0, refused = 0;
  for (const TBmpFields& fields : {Valid24(), Valid8(), ValidRle8(), ValidBitfields16()}) {
    std::vector<uint8_t> full = BuildBmp(fields);
    for (size_t at = 2; at + 4 <= 14 + 40; at += 2) {
      for (uint32_t v : values) {
        std::vector<uint8_t> bytes = full;
        PutU32(bytes, at, v);
        TOwned<TMemoryStream> stream(new TMemoryStream);
        stream->Assign(bytes);
        TOwned<TBitmap> bitmap(new TBitmap);
        try {
          bitmap->LoadFromStream(*stream);
          ++loaded;
          ASSERT_FALSE(bitmap->Empty());
          for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x) ColorAt(*bitmap, x, y);
        } catch (const EInvalidGraphic&) {
          ++refused;
          EXPECT_TRUE(bitmap->Empty());
        }
      }
    }
  }
  EXPECT_GT(loaded, 0);
  EXPECT_GT(refused, 0);
}

// A valid file of each layout, and the colour every pixel must come out with.
struct TGoodCase {
  const char* Name;
  TBmpFields Fields;
  TPixelFormat Format;
  std::function<TColor(int x, int y)> Expected;  // y counted from the top
  int Tolerance = 0;
};

RGBQUAD Q(int r, int g, int b) { return RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0}; }

std::vector<TGoodCase> GoodCases() {
  std::vector<TGoodCase> cases;
  {
    TBmpFields f;
    f.Width = 13;  // padding bits inside the last byte and a padded row
    f.Height = 3;
    f.Bits = 1;
    f.Palette = {Q(200, 10, 10), Q(10, 200, 10)};
    f.Pixels = PackRows(13, 3, 1, [](int x, int y) { return static_cast<uint32_t>((x + y) % 3 == 0); });
    cases.push_back({"1 bit, bottom-up", f, TPixelFormat::pf1bit, [](int x, int y) {
                       int stored = 2 - y;
                       return (x + stored) % 3 == 0 ? RGB(10, 200, 10) : RGB(200, 10, 10);
                     }});
  }
  {
    TBmpFields f;
    f.Width = 5;
    f.Height = -2;
    f.Bits = 4;
    for (int i = 0; i < 16; ++i) f.Palette.push_back(Q(i * 16, 255 - i * 16, i));
    f.Pixels = PackRows(5, 2, 4, [](int x, int y) { return static_cast<uint32_t>(x * 3 + y); });
    cases.push_back({"4 bit, top-down", f, TPixelFormat::pf4bit, [](int x, int y) {
                       int i = x * 3 + y;
                       return static_cast<COLORREF>(RGB(i * 16, 255 - i * 16, i));
                     }});
  }
  {
    TBmpFields f = Valid8();
    f.ColorsUsed = 0;
    cases.push_back({"8 bit, bottom-up", f, TPixelFormat::pf8bit, [](int x, int y) {
                       int i = x * 50 + (1 - y);
                       return static_cast<COLORREF>(RGB(i / 2, 255 - i, i));
                     }});
  }
  {
    TBmpFields f;
    f.HeaderSize = 12;
    f.Width = 3;
    f.Height = 2;
    f.Bits = 8;
    for (int i = 0; i < 256; ++i) f.Palette.push_back(Q(i, i, 255 - i));
    f.Pixels = PackRows(3, 2, 8, [](int x, int y) { return static_cast<uint32_t>(x + 10 * y); });
    cases.push_back({"8 bit, core header", f, TPixelFormat::pf8bit, [](int x, int y) {
                       int i = x + 10 * (1 - y);
                       return static_cast<COLORREF>(RGB(i, i, 255 - i));
                     }});
  }
  {
    TBmpFields f = Valid8();
    f.ColorsUsed = 3;  // short table: the rest of the entries read as black
    f.Palette.resize(3);
    f.Pixels = PackRows(5, 2, 8, [](int x, int y) { return static_cast<uint32_t>((x + y) % 5); });
    cases.push_back({"8 bit, short colour table", f, TPixelFormat::pf8bit, [](int x, int y) {
                       int i = (x + 1 - y) % 5;
                       return i < 3 ? static_cast<COLORREF>(RGB(i / 2, 255 - i, i)) : RGB(0, 0, 0);
                     }});
  }
  {
    TBmpFields f = ValidRle8();
    cases.push_back({"8 bit RLE", f, TPixelFormat::pf8bit, [](int x, int y) {
                       // Bottom row: a run of 7s; top row: 1, 2, 3, 4.
                       int i = y == 1 ? 7 : x + 1;
                       return static_cast<COLORREF>(RGB(0, 0, i));
                     }});
  }
  {
    TBmpFields f;
    f.Width = 5;
    f.Height = 3;
    f.Bits = 4;
    f.Compression = BI_RLE4;
    for (int i = 0; i < 16; ++i) f.Palette.push_back(Q(i * 10, 0, 0));
    // Row 0: 5 pixels alternating 1,2; row 1: delta right 2 then 3 pixels absolute 3,4,5;
    // row 2: nothing (left at index 0).
    f.Pixels = {5, 0x12, 0, 0, 0, 2, 2, 0, 0, 3, 0x34, 0x50, 0, 0, 0, 1};
    cases.push_back({"4 bit RLE with a delta", f, TPixelFormat::pf4bit, [](int x, int y) {
                       int stored = 2 - y;
                       int i = 0;
                       if (stored == 0) i = x % 2 == 0 ? 1 : 2;
                       if (stored == 1) i = x < 2 ? 0 : x + 1;
                       return static_cast<COLORREF>(RGB(i * 10, 0, 0));
                     }});
  }
  {
    TBmpFields f = ValidBitfields16();
    cases.push_back({"16 bit 5-6-5 bit fields", f, TPixelFormat::pf16bit, [](int x, int y) {
                       unsigned v = static_cast<unsigned>(x * 0x0841 + (1 - y) * 0xF800);
                       unsigned r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
                       return static_cast<COLORREF>(RGB((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)));
                     }});
  }
  {
    TBmpFields f;
    f.Width = 3;
    f.Height = 2;
    f.Bits = 16;
    f.Pixels = PackRows(3, 2, 16, [](int x, int y) { return static_cast<uint32_t>(x * 0x1CE7 + y * 0x7C00); });
    cases.push_back({"16 bit 5-5-5", f, TPixelFormat::pf16bit,
                     [](int x, int y) {
                       unsigned v = static_cast<unsigned>(x * 0x1CE7 + (1 - y) * 0x7C00);
                       unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                       return static_cast<COLORREF>(RGB(r * 255 / 31, g * 255 / 31, b * 255 / 31));
                     },
                     4});
  }
  {
    TBmpFields f = Valid24();
    cases.push_back({"24 bit, bottom-up", f, TPixelFormat::pf24bit, [](int x, int y) {
                       uint32_t v = Rgb24(x, 2 - y);
                       return static_cast<COLORREF>(RGB(v >> 16, (v >> 8) & 0xFF, v & 0xFF));
                     }});
  }
  {
    TBmpFields f = Valid24();
    f.Width = 5;  // 15 bytes a row, padded to 16
    f.Height = -3;
    f.Pixels = PackRows(5, 3, 24, Rgb24);
    cases.push_back({"24 bit, top-down, padded rows", f, TPixelFormat::pf24bit, [](int x, int y) {
                       uint32_t v = Rgb24(x, y);
                       return static_cast<COLORREF>(RGB(v >> 16, (v >> 8) & 0xFF, v & 0xFF));
                     }});
  }
  {
    TBmpFields f;
    f.Width = 2;
    f.Height = 2;
    f.Bits = 32;
    f.Pixels = PackRows(2, 2, 32, [](int x, int y) { return static_cast<uint32_t>(0x11223344u + x * 0x10 + y * 0x1000); });
    cases.push_back({"32 bit", f, TPixelFormat::pf32bit, [](int x, int y) {
                       uint32_t v = 0x11223344u + x * 0x10 + (1 - y) * 0x1000;
                       return static_cast<COLORREF>(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
                     }});
  }
  {
    TBmpFields f;
    f.HeaderSize = 124;
    f.Width = 2;
    f.Height = -2;
    f.Bits = 32;
    f.Compression = BI_BITFIELDS;
    f.Masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    f.AlphaMask = 0xFF000000u;
    f.Pixels = PackRows(2, 2, 32, [](int x, int y) { return static_cast<uint32_t>(0x80FF8040u + x * 2 + y * 0x100); });
    cases.push_back({"32 bit V5 with alpha", f, TPixelFormat::pf32bit, [](int x, int y) {
                       uint32_t v = 0x80FF8040u + x * 2 + y * 0x100;
                       return static_cast<COLORREF>(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
                     }});
  }
  return cases;
}

void ExpectPixels(const TBitmap& bitmap, const TGoodCase& c) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      COLORREF want = static_cast<COLORREF>(c.Expected(x, y));
      COLORREF got = static_cast<COLORREF>(ColorAt(bitmap, x, y));
      bool close = std::abs(GetRValue(want) - GetRValue(got)) <= c.Tolerance &&
                   std::abs(GetGValue(want) - GetGValue(got)) <= c.Tolerance &&
                   std::abs(GetBValue(want) - GetBValue(got)) <= c.Tolerance;
      EXPECT_TRUE(close) << "pixel " << x << "," << y << " want " << std::hex << want << " got " << got;
    }
  }
}

TEST(BitmapLoadTest, ValidFilesLoadEveryPixelAndRoundTrip) {
  for (const TGoodCase& c : GoodCases()) {
    SCOPED_TRACE(c.Name);
    TOwned<TMemoryStream> stream(new TMemoryStream);
    stream->Assign(BuildBmp(c.Fields));
    TOwned<TBitmap> bitmap(new TBitmap);
    ASSERT_NO_THROW(bitmap->LoadFromStream(*stream));
    EXPECT_EQ(stream->Position(), stream->Size());
    EXPECT_EQ(bitmap->Width(), c.Fields.Width);
    EXPECT_EQ(bitmap->Height(), std::abs(c.Fields.Height));
    EXPECT_EQ(bitmap->PixelFormat(), c.Format);
    ExpectPixels(*bitmap, c);
    // GDI reads the same colours out of the DIB section (orientation, palette).
    if (c.Format != TPixelFormat::pf16bit) {
      for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x)
          EXPECT_EQ(bitmap->Canvas()->Pixels(x, y), ColorAt(*bitmap, x, y)) << x << "," << y;
    }

    TOwned<TMemoryStream> saved(new TMemoryStream);
    bitmap->SaveToStream(*saved);
    saved->SetPosition(0);
    TOwned<TBitmap> again(new TBitmap);
    ASSERT_NO_THROW(again->LoadFromStream(*saved));
    EXPECT_EQ(again->PixelFormat(), bitmap->PixelFormat());
    EXPECT_EQ(again->AlphaFormat(), bitmap->AlphaFormat());
    ASSERT_EQ(again->Width(), bitmap->Width());
    ASSERT_EQ(again->Height(), bitmap->Height());
    const int bits = BitsPerPixel(bitmap->PixelFormat());
    for (int y = 0; y < bitmap->Height(); ++y) {
      const uint8_t* a = static_cast<const TBitmap&>(*bitmap).ScanLine(y);
      const uint8_t* b = static_cast<const TBitmap&>(*again).ScanLine(y);
      for (int x = 0; x < bitmap->Width(); ++x) {
        if (bits < 8) {
          EXPECT_EQ(ReadIndex(a, x, bits), ReadIndex(b, x, bits));
        } else {
          EXPECT_EQ(0, std::memcmp(a + x * bits / 8, b + x * bits / 8, static_cast<size_t>(bits / 8)));
        }
      }
    }
  }
}

TEST(BitmapLoadTest, V5AlphaMaskMeansDefinedAlphaAndPlain32BitIgnoresIt) {
  for (const TGoodCase& c : GoodCases()) {
    if (c.Format != TPixelFormat::pf32bit) continue;
    TOwned<TMemoryStream> stream(new TMemoryStream);
    stream->Assign(BuildBmp(c.Fields));
    TOwned<TBitmap> bitmap(new TBitmap);
    bitmap->LoadFromStream(*stream);
    TAlphaFormat want = c.Fields.AlphaMask != 0 ? TAlphaFormat::afDefined : TAlphaFormat::afIgnored;
    EXPECT_EQ(bitmap->AlphaFormat(), want) << c.Name;
    // The fourth byte is kept as stored either way.
    EXPECT_EQ(bitmap->PixelAt(0, 0).A, c.Fields.AlphaMask != 0 ? 0x80 : 0x11) << c.Name;
  }
}

TEST(BitmapLoadTest, BitmapsBackToBackInOneStreamLoadOneAfterTheOther) {
  std::vector<uint8_t> first = BuildBmp(Valid24()), second = BuildBmp(Valid8());
  std::vector<uint8_t> both = first;
  both.insert(both.end(), second.begin(), second.end());
  both.push_back(0x5A);
  TOwned<TMemoryStream> stream(new TMemoryStream);
  stream->Assign(both);
  TOwned<TBitmap> a(new TBitmap), b(new TBitmap);
  a->LoadFromStream(*stream);
  EXPECT_EQ(stream->Position(), static_cast<int64_t>(first.size()));
  b->LoadFromStream(*stream);
  EXPECT_EQ(stream->Position(), static_cast<int64_t>(first.size() + second.size()));
  EXPECT_EQ(a->Width(), 4);
  EXPECT_EQ(b->Width(), 5);
  EXPECT_EQ(b->PixelFormat(), TPixelFormat::pf8bit);
}

TEST(BitmapLoadTest, LoadFromFileNamesTheFullPath) {
  TTempDir dir;
  std::u16string missing = dir.Path() + u"\\missing.bmp";
  try {
    TOwned<TBitmap> bitmap(new TBitmap);
    bitmap->LoadFromFile(missing);
    ADD_FAILURE() << "no error";
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find(missing), std::u16string::npos) << Utf16ToUtf8(e.Message());
  }
  std::u16string bad = dir.Write(u"bad.bmp", "BM not really");
  try {
    TOwned<TBitmap> bitmap(new TBitmap);
    bitmap->LoadFromFile(bad);
    ADD_FAILURE() << "no error";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message().find(u"bad.bmp"), std::u16string::npos) << Utf16ToUtf8(e.Message());
  }
  std::vector<uint8_t> good = BuildBmp(Valid24());
  std::u16string path = dir.Write(u"good.bmp", std::string(good.begin(), good.end()));
  TOwned<TBitmap> bitmap(new TBitmap);
  bitmap->LoadFromFile(path);
  EXPECT_EQ(bitmap->Width(), 4);
}

// comctl32 carries the standard tool bar bitmaps as resources; the platform's own
// loader must see the same pixels as ours.
TEST(BitmapLoadTest, ResourceBitmapMatchesThePlatformLoader) {
  HMODULE comctl = GetModuleHandleW(u"comctl32.dll");
  if (comctl == nullptr) comctl = LoadLibraryW(u"comctl32.dll");
  ASSERT_NE(comctl, nullptr);
  const int kStdSmallColor = 120;
  TOwned<TBitmap> bitmap(new TBitmap);
  ASSERT_NO_THROW(bitmap->LoadFromResourceID(comctl, kStdSmallColor));
  ASSERT_FALSE(bitmap->Empty());
  HBITMAP platform = static_cast<HBITMAP>(
      LoadImageW(comctl, MAKEINTRESOURCEW(kStdSmallColor), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(platform, nullptr);
  BITMAP info{};
  GetObjectW(platform, sizeof(info), &info);
  EXPECT_EQ(bitmap->Width(), info.bmWidth);
  EXPECT_EQ(bitmap->Height(), info.bmHeight);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, platform);
  int differences = 0;
  for (int y = 0; y < bitmap->Height(); ++y)
    for (int x = 0; x < bitmap->Width(); ++x)
      if (static_cast<COLORREF>(ColorAt(*bitmap, x, y)) != GetPixel(dc, x, y)) ++differences;
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(platform);
  EXPECT_EQ(differences, 0);

  TOwned<TBitmap> missing(new TBitmap(3, 3));
  EXPECT_THROW(missing->LoadFromResourceName(comctl, u"NO_SUCH_BITMAP"), EInvalidGraphic);
  EXPECT_TRUE(missing->Empty());
}

// ---- size, format, assignment, transparency ----

TEST(BitmapTest, SetSizeKeepsTheTopLeftContent) {
  struct TCase {
    TPixelFormat Format;
    int NewWidth, NewHeight;
  };
  const TCase cases[] = {{TPixelFormat::pf24bit, 7, 9},  {TPixelFormat::pf24bit, 3, 2},
                         {TPixelFormat::pf32bit, 10, 3}, {TPixelFormat::pf8bit, 2, 8},
                         {TPixelFormat::pf4bit, 9, 9},   {TPixelFormat::pf1bit, 11, 4},
                         {TPixelFormat::pf16bit, 6, 6}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Format));
    TOwned<TBitmap> bitmap(new TBitmap(5, 5, c.Format));
    FillPattern(*bitmap);
    std::vector<TColor> before;
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) before.push_back(ColorAt(*bitmap, x, y));
    bitmap->SetSize(c.NewWidth, c.NewHeight);
    ASSERT_EQ(bitmap->Width(), c.NewWidth);
    ASSERT_EQ(bitmap->Height(), c.NewHeight);
    for (int y = 0; y < std::min(5, c.NewHeight); ++y)
      for (int x = 0; x < std::min(5, c.NewWidth); ++x)
        EXPECT_EQ(ColorAt(*bitmap, x, y), before[static_cast<size_t>(y * 5 + x)]) << x << "," << y;
    for (int y = 0; y < c.NewHeight; ++y)
      for (int x = 0; x < c.NewWidth; ++x)
        if (x >= 5 || y >= 5) {
          EXPECT_EQ(ColorAt(*bitmap, x, y), clBlack) << x << "," << y;
        }
  }
}

TEST(BitmapTest, WidthAndHeightSettersAndEmptiness) {
  TOwned<TBitmap> bitmap(new TBitmap);
  EXPECT_TRUE(bitmap->Empty());
  bitmap->SetWidth(6);
  EXPECT_TRUE(bitmap->Empty());
  EXPECT_EQ(bitmap->Handle(), nullptr);
  bitmap->SetHeight(4);
  EXPECT_FALSE(bitmap->Empty());
  EXPECT_NE(bitmap->Handle(), nullptr);
  EXPECT_EQ(bitmap->ScanLineSize(), 20);
  EXPECT_THROW(bitmap->ScanLine(4), EInvalidGraphic);
  EXPECT_THROW(bitmap->ScanLine(-1), EInvalidGraphic);
  bitmap->SetHeight(0);
  EXPECT_TRUE(bitmap->Empty());
  EXPECT_EQ(bitmap->Handle(), nullptr);
}

TEST(BitmapTest, ScanLineIsCountedFromTheTop) {
  TOwned<TBitmap> bitmap(new TBitmap(3, 4, TPixelFormat::pf24bit));
  bitmap->Canvas()->SetPixels(1, 0, clRed);
  bitmap->Canvas()->SetPixels(2, 3, clBlue);
  const uint8_t* top = bitmap->ScanLine(0);
  EXPECT_EQ(top[3 * 1 + 2], 0xFF);  // B, G, R: red
  const uint8_t* bottom = bitmap->ScanLine(3);
  EXPECT_EQ(bottom[3 * 2 + 0], 0xFF);
  // And writing through a scan line is what GDI sees.
  bitmap->ScanLine(2)[0] = 0x00;
  bitmap->ScanLine(2)[1] = 0xFF;
  bitmap->ScanLine(2)[2] = 0x00;
  bitmap->Modified();
  EXPECT_EQ(bitmap->Canvas()->Pixels(0, 2), clLime);
}

TEST(BitmapTest, PixelFormatConversionsKeepColoursThatFit) {
  struct TCase {
    TPixelFormat From, To;
    TColor Colors[4];
  };
  const TCase cases[] = {
      {TPixelFormat::pf24bit, TPixelFormat::pf32bit, {clRed, clLime, 0x123456, 0x654321}},
      {TPixelFormat::pf32bit, TPixelFormat::pf24bit, {clRed, clLime, 0x123456, 0x654321}},
      {TPixelFormat::pf24bit, TPixelFormat::pf8bit, {clRed, clWhite, clBlack, clNavy}},
      {TPixelFormat::pf24bit, TPixelFormat::pf4bit, {clRed, clTeal, clSilver, clYellow}},
      {TPixelFormat::pf24bit, TPixelFormat::pf1bit, {clBlack, clWhite, clWhite, clBlack}},
      {TPixelFormat::pf24bit, TPixelFormat::pf16bit, {clRed, clFuchsia, clWhite, clBlue}},
      {TPixelFormat::pf8bit, TPixelFormat::pf24bit, {clRed, clWhite, clBlack, clNavy}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.To));
    TOwned<TBitmap> bitmap(new TBitmap(2, 2, c.From));
    for (int i = 0; i < 4; ++i) bitmap->Canvas()->SetPixels(i % 2, i / 2, c.Colors[i]);
    bitmap->SetPixelFormat(c.To);
    EXPECT_EQ(bitmap->PixelFormat(), c.To);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ColorAt(*bitmap, i % 2, i / 2), c.Colors[i]) << i;
  }
  TOwned<TBitmap> gray(new TBitmap(1, 1, TPixelFormat::pf24bit));
  gray->Canvas()->SetPixels(0, 0, RGB(40, 40, 40));
  gray->SetPixelFormat(TPixelFormat::pf1bit);
  EXPECT_EQ(ColorAt(*gray, 0, 0), clBlack);  // the nearer of black and white
}

TEST(BitmapTest, SetPaletteRecoloursIndexedPixels) {
  TOwned<TBitmap> bitmap(SolidBitmap(3, 2, clBlack, TPixelFormat::pf8bit));
  bitmap->Canvas()->SetPixels(1, 1, clWhite);
  const int white = ReadIndex(bitmap->ScanLine(1), 1, 8);
  std::vector<RGBQUAD> palette = bitmap->Palette();
  ASSERT_EQ(palette.size(), 256u);
  palette[0] = RGBQUAD{0, 0, 255, 0};         // black becomes red
  palette[static_cast<size_t>(white)] = RGBQUAD{255, 0, 0, 0};  // white becomes blue
  bitmap->SetPalette(palette);
  EXPECT_EQ(ColorAt(*bitmap, 0, 0), clRed);
  EXPECT_EQ(ColorAt(*bitmap, 1, 1), clBlue);
  EXPECT_EQ(bitmap->Canvas()->Pixels(0, 0), clRed);  // GDI sees the new table
  EXPECT_EQ(bitmap->Canvas()->Pixels(1, 1), clBlue);
  TOwned<TBitmap> rgb(new TBitmap(2, 2));
  rgb->SetPalette(palette);  // no table to set
  EXPECT_TRUE(rgb->Palette().empty());
}

TEST(BitmapTest, AssignIsADeepCopy) {
  TOwned<TBitmap> source(new TBitmap(4, 3, TPixelFormat::pf8bit));
  FillPattern(*source);
  source->SetTransparent(true);
  source->SetTransparentColor(clFuchsia);
  TOwned<TBitmap> copy(new TBitmap(9, 9, TPixelFormat::pf24bit));
  copy->Assign(source.get());
  EXPECT_EQ(copy->Width(), 4);
  EXPECT_EQ(copy->Height(), 3);
  EXPECT_EQ(copy->PixelFormat(), TPixelFormat::pf8bit);
  EXPECT_TRUE(copy->Transparent());
  EXPECT_EQ(copy->TransparentColor(), clFuchsia);
  EXPECT_EQ(copy->TransparentMode(), TTransparentMode::tmFixed);
  EXPECT_NE(copy->Handle(), source->Handle());
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(ColorAt(*copy, x, y), ColorAt(*source, x, y));
  // Changing the source afterwards leaves the copy alone.
  TColor before = ColorAt(*copy, 0, 0);
  source->Canvas()->SetPixels(0, 0, clRed);
  EXPECT_EQ(ColorAt(*copy, 0, 0), before);
  copy->Assign(nullptr);
  EXPECT_TRUE(copy->Empty());
}

TEST(BitmapTest, TransparentColorModes) {
  TOwned<TBitmap> bitmap(new TBitmap(3, 3));
  FillPattern(*bitmap);
  bitmap->Canvas()->SetPixels(0, 2, clFuchsia);
  EXPECT_EQ(bitmap->TransparentMode(), TTransparentMode::tmAuto);
  EXPECT_EQ(bitmap->TransparentColor(), clFuchsia);  // the bottom-left pixel
  bitmap->Canvas()->SetPixels(0, 2, clAqua);
  EXPECT_EQ(bitmap->TransparentColor(), clAqua);
  bitmap->SetTransparentColor(clRed);
  EXPECT_EQ(bitmap->TransparentMode(), TTransparentMode::tmFixed);
  EXPECT_EQ(bitmap->TransparentColor(), clRed);
  bitmap->SetTransparentMode(TTransparentMode::tmAuto);
  EXPECT_EQ(bitmap->TransparentColor(), clAqua);
  bitmap->SetTransparentColor(clRed);
  bitmap->SetTransparentColor(clDefault);
  EXPECT_EQ(bitmap->TransparentMode(), TTransparentMode::tmAuto);
}

TEST(BitmapTest, MaskMarksTheTransparentColourWhite) {
  for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit, TPixelFormat::pf8bit,
                              TPixelFormat::pf16bit}) {
    SCOPED_TRACE(static_cast<int>(format));
    TOwned<TBitmap> bitmap(SolidBitmap(5, 4, clBlue, format));
    const TPoint keyed[] = {{0, 0}, {4, 3}, {2, 1}};
    for (const TPoint& p : keyed) bitmap->Canvas()->SetPixels(p.X, p.Y, clFuchsia);
    bitmap->SetTransparentColor(clFuchsia);
    HBITMAP mask = bitmap->MaskHandle();
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask, bitmap->MaskHandle());  // kept while nothing changes
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    int white = 0;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) {
        bool isKeyed = false;
        for (const TPoint& p : keyed) isKeyed |= p.X == x && p.Y == y;
        COLORREF c = GetPixel(dc, x, y);
        EXPECT_EQ(c, isKeyed ? RGB(255, 255, 255) : RGB(0, 0, 0)) << x << "," << y;
        white += c != 0;
      }
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_EQ(white, 3);

    bitmap->Mask(clFuchsia);
    EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf1bit);
    EXPECT_EQ(ColorAt(*bitmap, 2, 1), clWhite);
    EXPECT_EQ(ColorAt(*bitmap, 1, 1), clBlack);
  }
}

// Whoever takes the canvas's handle may draw behind its back: the mask follows.
TEST(BitmapTest, MaskFollowsDrawingThroughTheRawHandleAndScanLines) {
  TOwned<TBitmap> glyph(SolidBitmap(4, 1, clBlue));
  glyph->SetTransparent(true);
  glyph->SetTransparentColor(clFuchsia);
  TOwned<TBitmap> dest(SolidBitmap(4, 1, clWhite));
  dest->Canvas()->Draw(0, 0, *glyph);  // mask made: nothing transparent
  EXPECT_EQ(ColorAt(*dest, 0, 0), clBlue);

  HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
  RECT r{0, 0, 1, 1};
  FillRect(glyph->Canvas()->Handle(), &r, magenta);
  DeleteObject(magenta);
  dest->Canvas()->Brush()->SetColor(clWhite);
  dest->Canvas()->FillRect(TRect(0, 0, 4, 1));
  dest->Canvas()->Draw(0, 0, *glyph);
  EXPECT_EQ(ColorAt(*dest, 0, 0), clWhite);
  EXPECT_EQ(ColorAt(*dest, 3, 0), clBlue);
  uint8_t* row = glyph->ScanLine(0);
  row[3 * 3] = 0xFF;  // pixel 3 magenta too (B, G, R)
  row[3 * 3 + 1] = 0x00;
  row[3 * 3 + 2] = 0xFF;
  dest->Canvas()->Brush()->SetColor(clWhite);
  dest->Canvas()->FillRect(TRect(0, 0, 4, 1));
  dest->Canvas()->Draw(0, 0, *glyph);
  const TColor expected[4] = {clWhite, clBlue, clBlue, clWhite};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(ColorAt(*dest, x, 0), expected[x]) << x;
}

TEST(BitmapTest, PublishedProperties) {
  TOwned<TBitmap> bitmap(new TBitmap);
  EXPECT_TRUE(SetOrdProp(bitmap.get(), u"Width", 12));
  EXPECT_TRUE(SetOrdProp(bitmap.get(), u"Height", 7));
  EXPECT_TRUE(SetPropText(bitmap.get(), u"Transparent", u"True"));
  EXPECT_TRUE(SetOrdProp(bitmap.get(), u"transparentcolor", 16711935));
  EXPECT_TRUE(SetEnumProp(bitmap.get(), u"PixelFormat", u"pf32bit"));
  EXPECT_EQ(bitmap->Width(), 12);
  EXPECT_EQ(bitmap->Height(), 7);
  EXPECT_TRUE(bitmap->Transparent());
  EXPECT_EQ(bitmap->TransparentColor(), clFuchsia);
  EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(GetEnumProp(bitmap.get(), u"TransparentMode"), u"tmFixed");
  EXPECT_EQ(GetOrdProp(bitmap.get(), u"Height"), 7);
  EXPECT_EQ(GetOrdProp(bitmap.get(), u"NoSuchThing"), -1);
}

TEST(BitmapTest, OnChangeFiresForDrawingAndSizeButNotForSameValues) {
  TOwned<TBitmap> bitmap(new TBitmap(4, 4));
  int changes = 0;
  bitmap->OnChange = [&](TObject*) { ++changes; };
  bitmap->SetSize(4, 4);
  bitmap->SetPixelFormat(TPixelFormat::pf24bit);
  bitmap->SetTransparent(false);
  EXPECT_EQ(changes, 0);
  bitmap->Canvas()->FillRect(TRect(0, 0, 2, 2));
  EXPECT_EQ(changes, 1);
  bitmap->SetSize(5, 4);
  EXPECT_EQ(changes, 2);
  bitmap->SetTransparent(true);
  EXPECT_EQ(changes, 3);
}

TEST(BitmapTest, CanvasSurvivesResizesAndMemoryContextsAreReleased) {
  FreeMemoryContexts();
  const int before = MemoryContextCount();
  TOwned<TBitmap> bitmap(SolidBitmap(4, 4, clRed));
  EXPECT_EQ(MemoryContextCount(), before + 1);
  bitmap->SetSize(8, 8);  // the DC swaps to the new DIB
  bitmap->Canvas()->Brush()->SetColor(clLime);
  bitmap->Canvas()->FillRect(TRect(6, 6, 8, 8));
  EXPECT_EQ(ColorAt(*bitmap, 7, 7), clLime);
  EXPECT_EQ(ColorAt(*bitmap, 0, 0), clRed);

  TOwned<TBitmap> locked(SolidBitmap(2, 2, clBlue));
  locked->Canvas()->Lock();
  FreeMemoryContexts();
  EXPECT_EQ(MemoryContextCount(), before + 1);  // only the locked one stays
  EXPECT_TRUE(locked->Canvas()->HandleAllocated());
  EXPECT_FALSE(locked->Dormant());
  locked->Canvas()->Unlock();
  EXPECT_TRUE(locked->Dormant());
  EXPECT_EQ(MemoryContextCount(), before);
  // Drawing again makes a new DC.
  bitmap->Canvas()->FillRect(TRect(0, 0, 1, 1));
  EXPECT_EQ(ColorAt(*bitmap, 0, 0), clLime);
  EXPECT_EQ(MemoryContextCount(), before + 1);
  // A dormant bitmap can be selected into another DC.
  bitmap->Dormant();
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap->Handle());
  EXPECT_NE(old, nullptr);
  SelectObject(dc, old);
  DeleteDC(dc);
}

}  // namespace
