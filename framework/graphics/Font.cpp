#include "framework/graphics/Font.h"

#include <algorithm>
#include <iterator>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/graphics/Colors.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TFont) {
  p.Text(u"Name", &TFont::Name, &TFont::SetName);
  p.Integer(u"Height", &TFont::Height, &TFont::SetHeight);
  p.Integer(u"Size", &TFont::Size, &TFont::SetSize);
  p.Integer(u"Color", &TFont::Color, &TFont::SetColor);
  p.Set<TFontStyle>(u"Style", &TFont::Style, &TFont::SetStyle);
  p.Integer(u"Charset", &TFont::Charset, &TFont::SetCharset);
  p.Enum<TFontPitch>(u"Pitch", &TFont::Pitch, &TFont::SetPitch);
  p.Enum<TFontQuality>(u"Quality", &TFont::Quality, &TFont::SetQuality);
}

namespace {

const BYTE kPitchValues[] = {DEFAULT_PITCH, VARIABLE_PITCH, FIXED_PITCH};
const BYTE kQualityValues[] = {DEFAULT_QUALITY,          DRAFT_QUALITY,       PROOF_QUALITY,
                               NONANTIALIASED_QUALITY,   ANTIALIASED_QUALITY, CLEARTYPE_QUALITY};
constexpr TFontStyles kAllStyles = fsBold | fsItalic | fsUnderline | fsStrikeOut;

}  // namespace

TFont::TFont() : color_(clWindowText) {}

TFont::~TFont() = default;

void TFont::SetName(const std::u16string& name) {
  if (name == name_ || name.empty()) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, PixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, PixelsPerInch, 72)); }

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  // The colour goes to the DC as the text colour, not into the HFONT.
  Changed(false);
}

void TFont::SetStyle(TFontStyles style) {
  style &= kAllStyles;
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetCharset(BYTE charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == pitch_ || static_cast<size_t>(pitch) >= std::size(kPitchValues)) return;
  pitch_ = pitch;
  Changed();
}

void TFont::SetQuality(TFontQuality quality) {
  if (quality == quality_ || static_cast<size_t>(quality) >= std::size(kQualityValues)) return;
  quality_ = quality;
  Changed();
}

LOGFONTW TFont::LogFont() const {
  LOGFONTW lf{};
  lf.lfHeight = height_;
  lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
  lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = charset_;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = kQualityValues[static_cast<int>(quality_)];
  lf.lfPitchAndFamily = kPitchValues[static_cast<int>(pitch_)] | FF_DONTCARE;
  // LF_FACESIZE includes the terminator; longer names are cut, as GDI would.
  size_t n = std::min<size_t>(name_.size(), LF_FACESIZE - 1);
  std::copy_n(name_.data(), n, reinterpret_cast<char16_t*>(lf.lfFaceName));
  return lf;
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW lf = LogFont();
    handle_.Reset(CreateFontIndirectW(&lf));
    if (!handle_) throw EOutOfResources(u"Cannot create the font " + name_);
  }
  return handle_.Get();
}

void TFont::Assign(const TPersistent* source) {
  const TFont* other = As<TFont>(source);
  if (other == nullptr) return inherited::Assign(source);
  if (other == this) return;
  bool handleChanges = other->name_ != name_ || other->height_ != height_ ||
                       other->style_ != style_ || other->charset_ != charset_ ||
                       other->pitch_ != pitch_ || other->quality_ != quality_;
  bool colorChanges = other->color_ != color_;
  if (!handleChanges && !colorChanges) return;
  name_ = other->name_;
  height_ = other->height_;
  color_ = other->color_;
  style_ = other->style_;
  charset_ = other->charset_;
  pitch_ = other->pitch_;
  quality_ = other->quality_;
  Changed(handleChanges);
}
