#include "framework/graphics/Icon.h"

#include <functional>
#include <string>
#include <vector>

#include "framework/core/ByteOrder.h"
#include "framework/core/Exception.h"
#include "framework/core/Stream.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Picture.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/graphics/TestImageWriters.h"
#include "tests/harness/Gtest.h"

namespace {

// An 8 x 8, 32-bit icon image: a red square in the middle (2..5), the rest transparent
// by both alpha and mask.
std::vector<uint8_t> IconDib32(int size = 8) {
  std::vector<uint8_t> d;
  AppendLE32(d, 40);
  AppendLE32(d, static_cast<uint32_t>(size));
  AppendLE32(d, static_cast<uint32_t>(2 * size));
  AppendLE16(d, 1);
  AppendLE16(d, 32);
  for (int i = 0; i < 6; ++i) AppendLE32(d, 0);
  auto inside = [size](int x, int y) { return x >= 2 && x < size - 2 && y >= 2 && y < size - 2; };
  for (int row = size - 1; row >= 0; --row)  // bottom-up
    for (int x = 0; x < size; ++x) {
      bool on = inside(x, row);
      d.push_back(0);
      d.push_back(0);
      d.push_back(on ? 255 : 0);
      d.push_back(on ? 255 : 0);
    }
  const int maskStride = ((size + 31) / 32) * 4;
  for (int row = size - 1; row >= 0; --row) {
    std::vector<uint8_t> bits(static_cast<size_t>(maskStride), 0);
    for (int x = 0; x < size; ++x)
      if (!inside(x, row)) bits[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    d.insert(d.end(), bits.begin(), bits.end());
  }
  return d;
}

// A 16 x 16, 4-bit icon image without alpha: blue top half, transparent bottom half.
std::vector<uint8_t> IconDib4() {
  std::vector<uint8_t> d;
  AppendLE32(d, 40);
  AppendLE32(d, 16);
  AppendLE32(d, 32);
  AppendLE16(d, 1);
  AppendLE16(d, 4);
  for (int i = 0; i < 6; ++i) AppendLE32(d, 0);
  for (int i = 0; i < 16; ++i) AppendLE32(d, i == 1 ? 0x0000FF : 0);  // entry 1 blue (B G R 0)
  for (int row = 15; row >= 0; --row)
    for (int b = 0; b < 8; ++b) d.push_back(row < 8 ? 0x11 : 0x00);
  for (int row = 15; row >= 0; --row)
    for (int b = 0; b < 4; ++b) d.push_back(row < 8 ? 0x00 : (b < 2 ? 0xFF : 0x00));
  return d;
}

struct TEntry {
  int Width, Height, Bits;
  std::vector<uint8_t> Data;
  int64_t OffsetOverride = -1;
  int64_t SizeOverride = -1;
};

std::vector<uint8_t> BuildIco(const std::vector<TEntry>& entries, int type = 1, int reserved = 0) {
  std::vector<uint8_t> out;
  AppendLE16(out, static_cast<uint32_t>(reserved));
  AppendLE16(out, static_cast<uint32_t>(type));
  AppendLE16(out, static_cast<uint32_t>(entries.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
  for (const TEntry& e : entries) {
    out.push_back(static_cast<uint8_t>(e.Width));
    out.push_back(static_cast<uint8_t>(e.Height));
    out.push_back(0);
    out.push_back(0);
    AppendLE16(out, 1);
    AppendLE16(out, static_cast<uint32_t>(e.Bits));
    AppendLE32(out, static_cast<uint32_t>(e.SizeOverride >= 0 ? e.SizeOverride : static_cast<int64_t>(e.Data.size())));
    AppendLE32(out, static_cast<uint32_t>(e.OffsetOverride >= 0 ? e.OffsetOverride : offset));
    offset += static_cast<uint32_t>(e.Data.size());
  }
  for (const TEntry& e : entries) out.insert(out.end(), e.Data.begin(), e.Data.end());
  return out;
}

TOwned<TMemoryStream> StreamOf(const std::vector<uint8_t>& bytes) {
  TOwned<TMemoryStream> s(new TMemoryStream);
  s->Assign(bytes);
  return s;
}

std::vector<uint8_t> PngIconImage() {
  TTestPng p;
  p.Width = 24;
  p.Height = 24;
  p.ColorType = 6;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      bool on = x >= 4 && x < 20 && y >= 4 && y < 20;
      p.Rows.insert(p.Rows.end(), {0, static_cast<uint8_t>(on ? 200 : 0), 0, static_cast<uint8_t>(on ? 255 : 0)});
    }
  return WriteTestPng(p);
}

struct TDrawnCase {
  const char* Name;
  std::vector<uint8_t> File;
  int Size;
  TPoint Opaque;
  TColor Color;
  TPoint Clear;
};

TEST(IconTest, LoadsDrawsAndRoundTrips) {
  const std::vector<TDrawnCase> cases = {
      {"32-bit with alpha", BuildIco({{8, 8, 32, IconDib32()}}), 8, {4, 4}, clRed, {0, 0}},
      {"4-bit with mask", BuildIco({{16, 16, 4, IconDib4()}}), 16, {3, 3}, clBlue, {3, 12}},
      {"largest of two entries", BuildIco({{8, 8, 32, IconDib32()}, {16, 16, 4, IconDib4()}}), 16, {3, 3}, clBlue,
       {3, 12}},
      {"PNG-compressed entry", BuildIco({{24, 24, 32, PngIconImage()}}), 24, {10, 10}, RGB(0, 200, 0), {1, 1}},
  };
  for (const TDrawnCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TIcon> icon(new TIcon);
    auto stream = StreamOf(c.File);
    ASSERT_NO_THROW(icon->LoadFromStream(*stream));
    EXPECT_EQ(stream->Position(), static_cast<int64_t>(c.File.size()));
    ASSERT_FALSE(icon->Empty());
    EXPECT_EQ(icon->Width(), c.Size);
    EXPECT_EQ(icon->Height(), c.Size);
    TOwned<TBitmap> dest(SolidBitmap(c.Size, c.Size, clWhite));
    dest->Canvas()->Draw(0, 0, *icon);
    EXPECT_EQ(ColorAt(*dest, c.Opaque.X, c.Opaque.Y), c.Color);
    EXPECT_EQ(ColorAt(*dest, c.Clear.X, c.Clear.Y), clWhite);

    TOwned<TMemoryStream> saved(new TMemoryStream);
    icon->SaveToStream(*saved);
    saved->SetPosition(0);
    TOwned<TIcon> again(new TIcon);
    ASSERT_NO_THROW(again->LoadFromStream(*saved));
    TOwned<TBitmap> redrawn(SolidBitmap(c.Size, c.Size, clWhite));
    redrawn->Canvas()->Draw(0, 0, *again);
    for (int y = 0; y < c.Size; ++y)
      for (int x = 0; x < c.Size; ++x) EXPECT_EQ(ColorAt(*redrawn, x, y), ColorAt(*dest, x, y)) << x << "," << y;
  }
}

TEST(IconTest, MalformedFilesAreRefused) {
  struct TCase {
    const char* Name;
    std::vector<uint8_t> File;
    const char16_t* Reason;
  };
  std::vector<uint8_t> shortDib = IconDib32();
  shortDib.resize(shortDib.size() - 10);
  std::vector<uint8_t> bits3 = IconDib32();
  bits3[14] = 3;
  std::vector<uint8_t> compressed = IconDib32();
  compressed[16] = BI_RLE8;
  std::vector<uint8_t> zeroWidth = IconDib32();
  zeroWidth[4] = 0;
  std::vector<uint8_t> oddHeight = IconDib32();
  oddHeight[8] = 15;
  std::vector<uint8_t> bigTable = IconDib4();
  bigTable[32] = 17;
  std::vector<uint8_t> badPng = PngIconImage();
  badPng[40] ^= 0x55;
  std::vector<uint8_t> truncatedDirectory = BuildIco({{8, 8, 32, IconDib32()}});
  truncatedDirectory.resize(14);
  const std::vector<TCase> cases = {
      {"empty", {}, u"shorter than an icon directory"},
      {"reserved field set", BuildIco({{8, 8, 32, IconDib32()}}, 1, 5), u"not an icon file"},
      {"a cursor", BuildIco({{8, 8, 32, IconDib32()}}, 2), u"not an icon file"},
      {"no entries", BuildIco({}), u"empty"},
      {"directory cut off", truncatedDirectory, u"directory runs past the end"},
      {"image past the end", BuildIco({{8, 8, 32, IconDib32(), -1, 100000}}), u"runs past the end"},
      {"image offset far away", BuildIco({{8, 8, 32, IconDib32(), 0x7FFFFFF0}}), u"runs past the end"},
      {"image overlapping the directory", BuildIco({{8, 8, 32, IconDib32(), 4}}), u"overlaps the directory"},
      {"image header size wrong", BuildIco({{8, 8, 32, std::vector<uint8_t>(60, 0)}}), u"unsupported icon image header"},
      {"image shorter than it needs", BuildIco({{8, 8, 32, shortDib}}), u"shorter than its size needs"},
      {"bit count 3", BuildIco({{8, 8, 32, bits3}}), u"unsupported icon bit count 3"},
      {"compressed image", BuildIco({{8, 8, 32, compressed}}), u"compressed"},
      {"zero width", BuildIco({{8, 8, 32, zeroWidth}}), u"invalid icon image size"},
      {"odd doubled height", BuildIco({{8, 8, 32, oddHeight}}), u"invalid icon image size"},
      {"colour table too big", BuildIco({{16, 16, 4, bigTable}}), u"colour table"},
      {"corrupt PNG entry", BuildIco({{24, 24, 32, badPng}}), u"PNG icon image is bad"},
      {"tiny image", BuildIco({{8, 8, 32, std::vector<uint8_t>(12, 0)}}), u"shorter than its header"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TIcon> icon(new TIcon);
    icon->LoadFromStream(*StreamOf(BuildIco({{8, 8, 32, IconDib32()}})));
    std::u16string message;
    try {
      icon->LoadFromStream(*StreamOf(c.File));
    } catch (const EInvalidGraphic& e) {
      message = e.Message();
    }
    EXPECT_NE(message.find(c.Reason), std::u16string::npos) << Utf16ToUtf8(message);
    EXPECT_TRUE(icon->Empty());
  }
}

TEST(IconTest, HandleOwnershipAndAssign) {
  TOwned<TIcon> icon(new TIcon);
  icon->LoadFromStream(*StreamOf(BuildIco({{8, 8, 32, IconDib32()}})));
  TOwned<TIcon> copy(new TIcon);
  copy->Assign(icon.get());
  EXPECT_NE(copy->Handle(), icon->Handle());
  EXPECT_EQ(copy->Width(), 8);
  HICON released = copy->ReleaseHandle();
  EXPECT_TRUE(copy->Empty());
  copy.reset();
  ICONINFO info{};
  EXPECT_TRUE(GetIconInfo(released, &info));  // still alive: it was given away
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(released);
  EXPECT_THROW(icon->SetWidth(32), EInvalidGraphic);
  EXPECT_NO_THROW(icon->SetWidth(8));

  HICON platform = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, 0, 0, LR_SHARED));
  ASSERT_NE(platform, nullptr);  // IDI_APPLICATION
  TOwned<TIcon> adopted(new TIcon);
  adopted->SetHandle(CopyIcon(platform));
  EXPECT_GT(adopted->Width(), 0);
}

}  // namespace
