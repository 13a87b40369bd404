#pragma once
// A logical font: name, height, style, colour; the HFONT is made on demand.
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/core/ClassInfo.h"
#include "framework/graphics/GdiHandle.h"
#include "framework/graphics/GraphicsObject.h"

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
DECLARE_ENUM_NAMES(TFontStyle, u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut")
// A set of TFontStyle: bit n = element n.
using TFontStyles = uint32_t;
enum : TFontStyles { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

enum class TFontPitch { fpDefault, fpVariable, fpFixed };
DECLARE_ENUM_NAMES(TFontPitch, u"fpDefault", u"fpVariable", u"fpFixed")

enum class TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType };
DECLARE_ENUM_NAMES(TFontQuality, u"fqDefault", u"fqDraft", u"fqProof", u"fqNonAntialiased",
                   u"fqAntialiased", u"fqClearType")

class TFont : public TGraphicsObject {
  DECLARE_CLASS(TFont, TGraphicsObject)
  // Size and Height convert at this resolution, as the program's layouts assume.
  static constexpr int PixelsPerInch = 96;

  TFont();

  const std::u16string& Name() const { return name_; }
  void SetName(const std::u16string& name);
  // LOGFONT height: negative = character height in pixels, positive = cell height.
  int Height() const { return height_; }
  void SetHeight(int height);
  // Points; negative when the height is a cell height.
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE charset);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);
  TFontQuality Quality() const { return quality_; }
  void SetQuality(TFontQuality quality);

  // Made when first asked for, kept until a value it depends on changes.
  HFONT Handle() const;
  // The description the handle is made from.
  LOGFONTW LogFont() const;

  void Assign(const TPersistent* source) override;

 protected:
  ~TFont() override;
  HGDIOBJ HandleValue() const override { return handle_.Get(); }
  void DeleteHandle() override { handle_.Reset(); }

 private:
  std::u16string name_ = u"MS Sans Serif";
  int height_ = -11;
  TColor color_;
  TFontStyles style_ = 0;
  BYTE charset_ = DEFAULT_CHARSET;
  TFontPitch pitch_ = TFontPitch::fpDefault;
  TFontQuality quality_ = TFontQuality::fqDefault;
  mutable TFontHandle handle_;
};
