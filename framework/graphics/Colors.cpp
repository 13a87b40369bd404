#include "framework/graphics/Colors.h"

#include <iterator>

#include "framework/core/Unicode.h"

namespace {

struct TColorName {
  TColor Color;
  const char16_t* Name;
};

const TColorName kColorNames[] = {
    {clBlack, u"clBlack"},
    {clMaroon, u"clMaroon"},
    {clGreen, u"clGreen"},
    {clOlive, u"clOlive"},
    {clNavy, u"clNavy"},
    {clPurple, u"clPurple"},
    {clTeal, u"clTeal"},
    {clGray, u"clGray"},
    {clSilver, u"clSilver"},
    {clRed, u"clRed"},
    {clLime, u"clLime"},
    {clYellow, u"clYellow"},
    {clBlue, u"clBlue"},
    {clFuchsia, u"clFuchsia"},
    {clAqua, u"clAqua"},
    {clWhite, u"clWhite"},
    {clNone, u"clNone"},
    {clDefault, u"clDefault"},
    {clScrollBar, u"clScrollBar"},
    {clBackground, u"clBackground"},
    {clActiveCaption, u"clActiveCaption"},
    {clInactiveCaption, u"clInactiveCaption"},
    {clMenu, u"clMenu"},
    {clWindow, u"clWindow"},
    {clWindowFrame, u"clWindowFrame"},
    {clMenuText, u"clMenuText"},
    {clWindowText, u"clWindowText"},
    {clCaptionText, u"clCaptionText"},
    {clActiveBorder, u"clActiveBorder"},
    {clInactiveBorder, u"clInactiveBorder"},
    {clAppWorkSpace, u"clAppWorkSpace"},
    {clHighlight, u"clHighlight"},
    {clHighlightText, u"clHighlightText"},
    {clBtnFace, u"clBtnFace"},
    {clBtnShadow, u"clBtnShadow"},
    {clGrayText, u"clGrayText"},
    {clBtnText, u"clBtnText"},
    {clInactiveCaptionText, u"clInactiveCaptionText"},
    {clBtnHighlight, u"clBtnHighlight"},
    {cl3DDkShadow, u"cl3DDkShadow"},
    {cl3DLight, u"cl3DLight"},
    {clInfoText, u"clInfoText"},
    {clInfoBk, u"clInfoBk"},
    {clHotLight, u"clHotLight"},
    {clGradientActiveCaption, u"clGradientActiveCaption"},
    {clGradientInactiveCaption, u"clGradientInactiveCaption"},
    {clMenuHighlight, u"clMenuHighlight"},
    {clMenuBar, u"clMenuBar"},
};

}  // namespace

COLORREF ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color) & 0x00FFFFFFu;
}

bool IdentToColor(std::u16string_view ident, TColor& color) {
  for (const auto& entry : kColorNames) {
    if (SameTextAscii(ident, entry.Name)) {
      color = entry.Color;
      return true;
    }
  }
  return false;
}

std::u16string ColorToIdent(TColor color) {
  for (const auto& entry : kColorNames)
    if (entry.Color == color) return entry.Name;
  return std::u16string();
}

std::u16string ColorToString(TColor color) {
  std::u16string name = ColorToIdent(color);
  if (!name.empty()) return name;
  return u"$" + IntToHex(static_cast<uint32_t>(color), 8);
}

bool TryStringToColor(std::u16string_view text, TColor& color) {
  std::u16string trimmed = Trim(text);
  if (IdentToColor(trimmed, color)) return true;
  int64_t value = 0;
  if (!TryStrToInt(trimmed, value) || value < INT32_MIN || value > UINT32_MAX) return false;
  color = static_cast<TColor>(static_cast<uint32_t>(value));
  return true;
}
