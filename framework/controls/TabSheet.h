#pragma once
// One page of a page control.
#include "framework/controls/WinControl.h"

class TPageControl;

class TTabSheet : public TWinControl {
  DECLARE_CLASS(TTabSheet, TWinControl)
  explicit TTabSheet(TComponent* owner);

  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* control);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  int PageIndex() const;
  void SetPageIndex(int index);
  // Position among the visible tabs, -1 when the tab is hidden.
  int TabIndex() const;
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int i);
  void WndProc(TMessage& message) override;

 protected:
  void BeforeDestruction() override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int imageIndex_ = -1;
};
