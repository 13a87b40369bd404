#include "framework/graphics/Font.h"

#include <string>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/GdiHandle.h"
#include "framework/graphics/Pen.h"
#include "tests/harness/Gtest.h"

namespace {

TEST(FontTest, Defaults) {
  TOwned<TFont> font(new TFont);
  EXPECT_EQ(font->Name(), u"MS Sans Serif");
  EXPECT_EQ(font->Height(), -11);
  EXPECT_EQ(font->Size(), 8);
  EXPECT_EQ(font->Color(), clWindowText);
  EXPECT_EQ(font->Style(), 0u);
  EXPECT_EQ(font->Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(font->Pitch(), TFontPitch::fpDefault);
  EXPECT_FALSE(font->HandleAllocated());
}

TEST(FontTest, SizeAndHeightConvertAt96PixelsPerInch) {
  struct TCase {
    int Size, Height;
  };
  const TCase toHeight[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {16, -21}, {72, -96}, {0, 0}};
  for (const TCase& c : toHeight) {
    TOwned<TFont> font(new TFont);
    font->SetSize(c.Size);
    EXPECT_EQ(font->Height(), c.Height) << c.Size;
  }
  const TCase toSize[] = {{8, -11}, {9, -12}, {12, -16}, {20, -26}, {-9, 12}, {18, -24}};
  for (const TCase& c : toSize) {
    TOwned<TFont> font(new TFont);
    font->SetHeight(c.Height);
    EXPECT_EQ(font->Size(), c.Size) << c.Height;
  }
}

TEST(FontTest, HandleIsCachedAndRemadeAfterAChange) {
  TOwned<TFont> font(new TFont);
  HFONT first = font->Handle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(font->Handle(), first);
  font->SetColor(clRed);  // the colour is no part of the HFONT
  EXPECT_EQ(font->Handle(), first);
  font->SetHeight(-20);
  EXPECT_EQ(GetObjectType(first), 0u);  // deleted, not leaked
  HFONT second = font->Handle();
  ASSERT_NE(second, nullptr);
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(second, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  EXPECT_EQ(lf.lfHeight, -20);
}

TEST(FontTest, LogFontCarriesEveryValue) {
  struct TCase {
    TFontStyles Style;
    LONG Weight;
    BYTE Italic, Underline, StrikeOut;
  };
  const TCase cases[] = {{0, FW_NORMAL, 0, 0, 0},
                         {fsBold, FW_BOLD, 0, 0, 0},
                         {fsItalic | fsUnderline, FW_NORMAL, 1, 1, 0},
                         {fsBold | fsItalic | fsUnderline | fsStrikeOut, FW_BOLD, 1, 1, 1},
                         {fsStrikeOut | 0x100, FW_NORMAL, 0, 0, 1}};
  for (const TCase& c : cases) {
    TOwned<TFont> font(new TFont);
    font->SetName(u"宋体");
    font->SetStyle(c.Style);
    font->SetCharset(GB2312_CHARSET);
    font->SetPitch(TFontPitch::fpFixed);
    LOGFONTW lf{};
    GetObjectW(font->Handle(), sizeof(lf), &lf);
    EXPECT_EQ(lf.lfWeight, c.Weight);
    EXPECT_EQ(lf.lfItalic, c.Italic);
    EXPECT_EQ(lf.lfUnderline, c.Underline);
    EXPECT_EQ(lf.lfStrikeOut, c.StrikeOut);
    EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
    EXPECT_EQ(lf.lfPitchAndFamily & 3, FIXED_PITCH);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(lf.lfFaceName)), u"宋体");
    EXPECT_EQ(font->Style() & ~(fsBold | fsItalic | fsUnderline | fsStrikeOut), 0u);
  }
}

TEST(FontTest, OnChangeOnlyForRealChangesAndAssignCopiesEverything) {
  TOwned<TFont> font(new TFont);
  int changes = 0;
  font->OnChange = [&](TObject*) { ++changes; };
  font->SetHeight(-11);
  font->SetName(u"MS Sans Serif");
  font->SetStyle(0);
  font->SetColor(clWindowText);
  EXPECT_EQ(changes, 0);
  font->SetStyle(fsBold);
  EXPECT_EQ(changes, 1);

  TOwned<TFont> other(new TFont);
  other->SetName(u"黑体");
  other->SetHeight(-26);
  other->SetColor(clBlue);
  other->SetStyle(fsItalic);
  other->SetCharset(GB2312_CHARSET);
  font->Assign(other.get());
  EXPECT_EQ(changes, 2);  // one notification for the whole copy
  EXPECT_EQ(font->Name(), u"黑体");
  EXPECT_EQ(font->Height(), -26);
  EXPECT_EQ(font->Color(), clBlue);
  EXPECT_EQ(font->Style(), static_cast<TFontStyles>(fsItalic));
  EXPECT_EQ(font->Charset(), GB2312_CHARSET);
  font->Assign(other.get());
  EXPECT_EQ(changes, 2);
  TOwned<TBrush> brush(new TBrush);
  EXPECT_THROW(font->Assign(brush.get()), EConvertError);
}

TEST(FontTest, PublishedPropertiesByName) {
  TOwned<TFont> font(new TFont);
  EXPECT_TRUE(SetStrProp(font.get(), u"Name", u"楷体_GB2312"));
  EXPECT_TRUE(SetOrdProp(font.get(), u"Height", -16));
  EXPECT_TRUE(SetPropText(font.get(), u"Style", u"[fsBold,fsUnderline]"));
  EXPECT_TRUE(SetOrdProp(font.get(), u"Color", clRed));
  EXPECT_TRUE(SetOrdProp(font.get(), u"Charset", GB2312_CHARSET));
  EXPECT_EQ(font->Name(), u"楷体_GB2312");
  EXPECT_EQ(font->Height(), -16);
  EXPECT_EQ(font->Style(), static_cast<TFontStyles>(fsBold | fsUnderline));
  EXPECT_EQ(GetSetProp(font.get(), u"style"), u"[fsBold,fsUnderline]");
  EXPECT_EQ(GetOrdProp(font.get(), u"Size"), 12);
  EXPECT_TRUE(SetOrdProp(font.get(), u"Size", 9));
  EXPECT_EQ(font->Height(), -12);
  EXPECT_EQ(GetOrdProp(font.get(), u"Color"), clRed);
  EXPECT_EQ(GetOrdProp(font.get(), u"Charset"), GB2312_CHARSET);
  EXPECT_EQ(GetEnumProp(font.get(), u"Pitch"), u"fpDefault");
  EXPECT_FALSE(SetPropText(font.get(), u"Style", u"[fsHeavy]"));
}

TEST(ColorsTest, ColorToRGBResolvesSystemColours) {
  struct TCase {
    TColor Color;
    COLORREF Expected;
  };
  const TCase cases[] = {{clRed, RGB(255, 0, 0)},
                         {clNavy, RGB(0, 0, 128)},
                         {0x123456, 0x123456},
                         {clBtnFace, GetSysColor(COLOR_BTNFACE)},
                         {clBtnShadow, GetSysColor(COLOR_BTNSHADOW)},
                         {clBtnHighlight, GetSysColor(COLOR_BTNHIGHLIGHT)},
                         {clWindowText, GetSysColor(COLOR_WINDOWTEXT)},
                         {clActiveCaption, GetSysColor(COLOR_ACTIVECAPTION)},
                         {clInfoBk, GetSysColor(COLOR_INFOBK)},
                         {clNone, 0xFFFFFF},
                         {clDefault, 0}};
  for (const TCase& c : cases) EXPECT_EQ(ColorToRGB(c.Color), c.Expected) << std::hex << c.Color;
  EXPECT_EQ(static_cast<uint32_t>(clBtnFace), 0xFF00000Fu);
  EXPECT_EQ(static_cast<uint32_t>(cl3DDkShadow), 0xFF000015u);
  EXPECT_EQ(static_cast<uint32_t>(clScrollBar), 0xFF000000u);
}

TEST(ColorsTest, NamesAndTextRoundTrip) {
  struct TCase {
    const char16_t* Text;
    bool Valid;
    TColor Color;
    const char16_t* Back;
  };
  const TCase cases[] = {{u"clRed", true, clRed, u"clRed"},
                         {u"clbtnface", true, clBtnFace, u"clBtnFace"},
                         {u"16711935", true, clFuchsia, u"clFuchsia"},
                         {u"$00123456", true, 0x123456, u"$00123456"},
                         {u" clWhite ", true, clWhite, u"clWhite"},
                         {u"clNone", true, clNone, u"clNone"},
                         {u"clPink", false, 0, nullptr},
                         {u"12abc", false, 0, nullptr},
                         {u"", false, 0, nullptr}};
  for (const TCase& c : cases) {
    TColor color = 0;
    EXPECT_EQ(TryStringToColor(c.Text, color), c.Valid) << Utf16ToUtf8(c.Text);
    if (!c.Valid) continue;
    EXPECT_EQ(color, c.Color);
    EXPECT_EQ(ColorToString(color), c.Back);
  }
}

TEST(BrushTest, StylesAndHandles) {
  TOwned<TBrush> brush(new TBrush);
  EXPECT_EQ(brush->Color(), clWhite);
  EXPECT_EQ(brush->Style(), TBrushStyle::bsSolid);
  brush->SetStyle(TBrushStyle::bsClear);
  HBRUSH stock = brush->Handle();
  EXPECT_EQ(stock, GetStockObject(NULL_BRUSH));
  brush->SetColor(clRed);  // a fill colour makes the brush visible again
  EXPECT_EQ(brush->Style(), TBrushStyle::bsSolid);
  EXPECT_EQ(GetObjectType(stock), static_cast<DWORD>(OBJ_BRUSH));  // the stock brush is never deleted
  LOGBRUSH lb{};
  GetObjectW(brush->Handle(), sizeof(lb), &lb);
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(lb.lbColor, RGB(255, 0, 0));
  brush->SetStyle(TBrushStyle::bsDiagCross);
  GetObjectW(brush->Handle(), sizeof(lb), &lb);
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HATCHED));
  EXPECT_EQ(lb.lbHatch, static_cast<ULONG_PTR>(HS_DIAGCROSS));
  EXPECT_TRUE(SetEnumProp(brush.get(), u"Style", u"bsCross"));
  EXPECT_EQ(brush->Style(), TBrushStyle::bsCross);
}

TEST(PenTest, ValuesReachTheHandleAndTheMode) {
  struct TCase {
    TPenStyle Style;
    UINT Expected;
  };
  const TCase cases[] = {{TPenStyle::psSolid, PS_SOLID}, {TPenStyle::psDash, PS_DASH},
                         {TPenStyle::psDot, PS_DOT},     {TPenStyle::psClear, PS_NULL},
                         {TPenStyle::psInsideFrame, PS_INSIDEFRAME}};
  for (const TCase& c : cases) {
    TOwned<TPen> pen(new TPen);
    pen->SetStyle(c.Style);
    pen->SetColor(clGreen);
    LOGPEN lp{};
    GetObjectW(pen->Handle(), sizeof(lp), &lp);
    EXPECT_EQ(lp.lopnStyle, c.Expected);
    // The platform keeps no colour for a null pen.
    if (c.Style != TPenStyle::psClear) {
      EXPECT_EQ(lp.lopnColor, RGB(0, 128, 0));
    }
  }
  TOwned<TPen> pen(new TPen);
  pen->SetWidth(0);
  EXPECT_EQ(pen->Width(), 1);
  pen->SetWidth(4);
  LOGPEN lp{};
  GetObjectW(pen->Handle(), sizeof(lp), &lp);
  EXPECT_EQ(lp.lopnWidth.x, 4);
  HPEN before = pen->Handle();
  pen->SetMode(TPenMode::pmXor);
  EXPECT_EQ(pen->Handle(), before);  // the mode goes to the DC
  EXPECT_EQ(pen->Rop2(), R2_XORPEN);
  EXPECT_TRUE(SetEnumProp(pen.get(), u"Mode", u"pmNotXor"));
  EXPECT_EQ(pen->Rop2(), R2_NOTXORPEN);
}

}  // namespace
