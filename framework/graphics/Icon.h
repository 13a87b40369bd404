#pragma once
// An icon (HICON) owned by the graphic, read from and written to .ico data.
#include <windows.h>

#include <string>

#include "framework/graphics/GdiHandle.h"
#include "framework/graphics/Graphic.h"

class TIcon : public TGraphic {
  DECLARE_CLASS(TIcon, TGraphic)
  TIcon();

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // An icon keeps its size: asking for another one raises EInvalidGraphic.
  void SetWidth(int width) override;
  void SetHeight(int height) override;
  bool Empty() const override { return !handle_; }

  HICON Handle() const { return handle_.Get(); }
  // Takes ownership of icon (null empties the graphic).
  void SetHandle(HICON icon);
  // Gives the icon away; the caller destroys it.
  HICON ReleaseHandle();

  // An .ico file: its largest image is taken.  Every directory entry and image header
  // is checked against the data first; bad data raises EInvalidGraphic and leaves the
  // icon empty.  The stream is left after the last image the directory names.
  void LoadFromStream(TStream& stream) override;
  // One 32-bit image with its mask.
  void SaveToStream(TStream& stream) const override;
  void LoadFromResourceName(HINSTANCE instance, const std::u16string& name);
  void LoadFromResourceID(HINSTANCE instance, int id);
  void Assign(const TPersistent* source) override;
  TGraphic* NewEmpty() const override { return new TIcon; }

 protected:
  ~TIcon() override;
  void Draw(TCanvas& canvas, const TRect& r) const override;

 private:
  void Adopt(HICON icon);
  void LoadResource(HINSTANCE instance, LPCWSTR name, const std::u16string& shown);

  TIconHandle handle_;
  int width_ = 0;
  int height_ = 0;
};
