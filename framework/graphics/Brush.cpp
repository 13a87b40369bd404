#include "framework/graphics/Brush.h"

#include <iterator>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TBrush) {
  p.Integer(u"Color", &TBrush::Color, &TBrush::SetColor);
  p.Enum<TBrushStyle>(u"Style", &TBrush::Style, &TBrush::SetStyle);
  p.Object<TBitmap>(u"Bitmap", &TBrush::Bitmap, &TBrush::SetBitmap);
}

namespace {

// Indexed by TBrushStyle; -1 for the styles that are no hatch.
const int kHatches[] = {-1, -1, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL,
                        HS_CROSS, HS_DIAGCROSS};

}  // namespace

TBrush::~TBrush() = default;

void TBrush::SetColor(TColor color) {
  if (color == color_ && style_ != TBrushStyle::bsClear) return;
  color_ = color;
  if (style_ == TBrushStyle::bsClear) style_ = TBrushStyle::bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_ || static_cast<size_t>(style) >= std::size(kHatches)) return;
  style_ = style;
  Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap) {
  if (bitmap == bitmap_.Get()) return;
  bitmap_ = bitmap;
  Changed();
}

HGDIOBJ TBrush::HandleValue() const {
  return handle_ ? static_cast<HGDIOBJ>(handle_.Get()) : static_cast<HGDIOBJ>(stock_);
}

void TBrush::DeleteHandle() {
  handle_.Reset();
  stock_ = nullptr;
}

HBRUSH TBrush::Handle() const {
  if (HandleValue() != nullptr) return static_cast<HBRUSH>(HandleValue());
  TBitmap* pattern = bitmap_.Get();
  if (pattern != nullptr && !pattern->Empty()) {
    handle_.Reset(CreatePatternBrush(pattern->Handle()));
  } else if (style_ == TBrushStyle::bsClear) {
    stock_ = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return stock_;
  } else if (style_ == TBrushStyle::bsSolid) {
    handle_.Reset(CreateSolidBrush(ColorToRGB(color_)));
  } else {
    handle_.Reset(CreateHatchBrush(kHatches[static_cast<int>(style_)], ColorToRGB(color_)));
  }
  if (!handle_) throw EOutOfResources(u"Cannot create a brush");
  return handle_.Get();
}

void TBrush::Assign(const TPersistent* source) {
  const TBrush* other = As<TBrush>(source);
  if (other == nullptr) return inherited::Assign(source);
  if (other == this) return;
  if (other->color_ == color_ && other->style_ == style_ && other->bitmap_.Get() == bitmap_.Get())
    return;
  color_ = other->color_;
  style_ = other->style_;
  bitmap_ = other->bitmap_.Get();
  Changed();
}
