#pragma once
// The small pop-up that shows a control's hint.
#include "framework/controls/CustomControl.h"

class THintWindow : public TCustomControl {
  DECLARE_CLASS(THintWindow, TCustomControl)
  explicit THintWindow(TComponent* owner);
  // The rectangle (origin 0, 0) that the text needs, wrapped at maxWidth pixels.
  virtual TRect CalcHintRect(int maxWidth, const std::u16string& text);
  // Shows text at rect (screen coordinates), kept on the screen, without activating.
  virtual void ActivateHint(TRect rect, const std::u16string& text);
  void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void WndProc(TMessage& message) override;
};
