#pragma once
// A fill: solid colour, hatch, a bitmap pattern, or nothing (bsClear).
#include <windows.h>

#include "framework/core/ClassInfo.h"
#include "framework/core/Object.h"
#include "framework/graphics/GdiHandle.h"
#include "framework/graphics/GraphicsObject.h"

class TBitmap;

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
                         bsCross, bsDiagCross };
DECLARE_ENUM_NAMES(TBrushStyle, u"bsSolid", u"bsClear", u"bsHorizontal", u"bsVertical",
                   u"bsFDiagonal", u"bsBDiagonal", u"bsCross", u"bsDiagCross")

class TBrush : public TGraphicsObject {
  DECLARE_CLASS(TBrush, TGraphicsObject)
  TBrush() = default;

  TColor Color() const { return color_; }
  // A colour makes a solid brush of a clear one, as a fill colour is meant to be seen.
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  // A pattern taken from the bitmap when the handle is made (GDI copies it); the brush
  // does not own the bitmap and forgets it when the bitmap is destroyed.
  TBitmap* Bitmap() const { return bitmap_.Get(); }
  void SetBitmap(TBitmap* bitmap);

  // bsClear gives the stock NULL_BRUSH, which is never deleted.
  HBRUSH Handle() const;

  void Assign(const TPersistent* source) override;

 protected:
  ~TBrush() override;
  HGDIOBJ HandleValue() const override;
  void DeleteHandle() override;

 private:
  TColor color_ = 0xFFFFFF;
  TBrushStyle style_ = TBrushStyle::bsSolid;
  TWeakRef<TBitmap> bitmap_;
  mutable TBrushHandle handle_;
  mutable HBRUSH stock_ = nullptr;
};
