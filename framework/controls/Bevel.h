#pragma once
// A windowless lowered or raised frame or line.
#include "framework/controls/GraphicControl.h"

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
  DECLARE_CLASS(TBevel, TGraphicControl)
  explicit TBevel(TComponent* owner);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape s);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle s);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = TBevelShape::bsBox;
  TBevelStyle style_ = TBevelStyle::bsLowered;
};

DECLARE_ENUM_NAMES(TBevelShape, u"bsBox", u"bsFrame", u"bsTopLine", u"bsBottomLine", u"bsLeftLine",
                   u"bsRightLine", u"bsSpacer")
DECLARE_ENUM_NAMES(TBevelStyle, u"bsLowered", u"bsRaised")
