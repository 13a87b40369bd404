#include "framework/graphics/Pen.h"

#include <iterator>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/graphics/Colors.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TPen) {
  p.Integer(u"Color", &TPen::Color, &TPen::SetColor);
  p.Integer(u"Width", &TPen::Width, &TPen::SetWidth);
  p.Enum<TPenStyle>(u"Style", &TPen::Style, &TPen::SetStyle);
  p.Enum<TPenMode>(u"Mode", &TPen::Mode, &TPen::SetMode);
}

namespace {

const int kPenStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL,
                          PS_INSIDEFRAME};
const int kRop2[] = {R2_BLACK,       R2_WHITE,       R2_NOP,      R2_NOT,       R2_COPYPEN,
                     R2_NOTCOPYPEN,  R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN,
                     R2_MASKNOTPEN,  R2_MERGEPEN,    R2_NOTMERGEPEN, R2_MASKPEN,
                     R2_NOTMASKPEN,  R2_XORPEN,      R2_NOTXORPEN};

}  // namespace

TPen::~TPen() = default;

void TPen::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TPen::SetWidth(int width) {
  if (width < 1) width = 1;
  if (width == width_) return;
  width_ = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == style_ || static_cast<size_t>(style) >= std::size(kPenStyles)) return;
  style_ = style;
  Changed();
}

void TPen::SetMode(TPenMode mode) {
  if (mode == mode_ || static_cast<size_t>(mode) >= std::size(kRop2)) return;
  mode_ = mode;
  Changed(false);
}

int TPen::Rop2() const { return kRop2[static_cast<int>(mode_)]; }

HPEN TPen::Handle() const {
  if (!handle_) {
    handle_.Reset(CreatePen(kPenStyles[static_cast<int>(style_)], width_, ColorToRGB(color_)));
    if (!handle_) throw EOutOfResources(u"Cannot create a pen");
  }
  return handle_.Get();
}

void TPen::Assign(const TPersistent* source) {
  const TPen* other = As<TPen>(source);
  if (other == nullptr) return inherited::Assign(source);
  if (other == this) return;
  bool handleChanges = other->color_ != color_ || other->width_ != width_ || other->style_ != style_;
  if (!handleChanges && other->mode_ == mode_) return;
  color_ = other->color_;
  width_ = other->width_;
  style_ = other->style_;
  mode_ = other->mode_;
  Changed(handleChanges);
}
