#pragma once
// The screen's DC for the length of a scope, for measuring text in a font; the DC gets
// its own font back and is released when the scope ends.
#include <windows.h>

class TScreenDC {
 public:
  explicit TScreenDC(HFONT font = nullptr) : dc_(GetDC(nullptr)) {
    if (font != nullptr) old_ = SelectObject(dc_, font);
  }
  ~TScreenDC() {
    if (old_ != nullptr) SelectObject(dc_, old_);
    ReleaseDC(nullptr, dc_);
  }
  TScreenDC(const TScreenDC&) = delete;
  TScreenDC& operator=(const TScreenDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};
