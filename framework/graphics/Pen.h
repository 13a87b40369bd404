#pragma once
// A line: colour, width, dash style and the raster operation it draws with.
#include <windows.h>

#include "framework/core/ClassInfo.h"
#include "framework/graphics/GdiHandle.h"
#include "framework/graphics/GraphicsObject.h"

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
DECLARE_ENUM_NAMES(TPenStyle, u"psSolid", u"psDash", u"psDot", u"psDashDot", u"psDashDotDot",
                   u"psClear", u"psInsideFrame")

enum class TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot,
                      pmMaskPenNot, pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask,
                      pmNotMask, pmXor, pmNotXor };
DECLARE_ENUM_NAMES(TPenMode, u"pmBlack", u"pmWhite", u"pmNop", u"pmNot", u"pmCopy", u"pmNotCopy",
                   u"pmMergePenNot", u"pmMaskPenNot", u"pmMergeNotPen", u"pmMaskNotPen",
                   u"pmMerge", u"pmNotMerge", u"pmMask", u"pmNotMask", u"pmXor", u"pmNotXor")

class TPen : public TGraphicsObject {
  DECLARE_CLASS(TPen, TGraphicsObject)
  TPen() = default;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  // At least 1.
  void SetWidth(int width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  // The raster operation (SetROP2); it goes to the DC, not into the HPEN.
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode);
  int Rop2() const;

  HPEN Handle() const;

  void Assign(const TPersistent* source) override;

 protected:
  ~TPen() override;
  HGDIOBJ HandleValue() const override { return handle_.Get(); }
  void DeleteHandle() override { handle_.Reset(); }

 private:
  TColor color_ = 0x000000;
  int width_ = 1;
  TPenStyle style_ = TPenStyle::psSolid;
  TPenMode mode_ = TPenMode::pmCopy;
  mutable TPenHandle handle_;
};
