#pragma once
// A list of same-sized images over a native image list (HIMAGELIST): controls take
// its Handle(), painters draw its images enabled or greyed.
#include <windows.h>
#include <commctrl.h>

#include "framework/core/Component.h"
#include "framework/core/Strings.h"
#include "framework/core/Types.h"
#include "framework/graphics/GdiHandle.h"

class TBitmap;
class TCanvas;
class TIcon;

class TImageList : public TComponent {
  DECLARE_CLASS(TImageList, TComponent)
  explicit TImageList(TComponent* owner);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // A new size empties the list (the native list holds one size).
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  void SetSize(int width, int height);
  int Count() const;

  // Made when first needed.
  HIMAGELIST Handle() const;

  // A strip wider than Width adds Width/Width-sized images, left to right.  mask is
  // monochrome in effect: white (light) pixels are transparent; null: all opaque.
  // Answers the index of the first image added; EInvalidOperation when it fails.
  int Add(const TBitmap& image, const TBitmap* mask);
  // Pixels of maskColor are transparent.  The caller's bitmap is not touched.
  int AddMasked(const TBitmap& image, TColor maskColor);
  int AddIcon(const TIcon& icon);
  void Delete(int index);
  void Clear();

  // Disabled images are drawn greyed (a washed-out grey of their own shape).
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
  // The image over the bitmap's brush colour, as a pf24bit bitmap of the list's size.
  void GetBitmap(int index, TBitmap& bitmap) const;

  TNotifyEvent OnChange;

 protected:
  ~TImageList() override;
  void Changed();

 private:
  void CheckIndex(int index) const;
  void DrawDisabled(TCanvas& canvas, int x, int y, int index) const;

  int width_ = 16;
  int height_ = 16;
  mutable TImageListHandle handle_;
};
