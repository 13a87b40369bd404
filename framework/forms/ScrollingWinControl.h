#pragma once
// A container that could scroll its contents.  Only the AutoScroll switch is kept:
// nothing in this system scrolls a form.
#include "framework/controls/WinControl.h"

class TScrollingWinControl : public TWinControl {
  DECLARE_CLASS(TScrollingWinControl, TWinControl)
  using TWinControl::TWinControl;
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v) { autoScroll_ = v; }

 private:
  bool autoScroll_ = false;
};
