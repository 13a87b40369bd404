#pragma once
// An image that a canvas can draw: bitmaps, icons, JPEG and PNG pictures.
#include <string>

#include "framework/core/Object.h"
#include "framework/core/Strings.h"
#include "framework/core/Types.h"

class TCanvas;
class TStream;

class TGraphic : public TPersistent {
  DECLARE_CLASS(TGraphic, TPersistent)
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int width) = 0;
  virtual void SetHeight(int height) = 0;
  virtual bool Empty() const = 0;
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool transparent);

  // Raises EInvalidGraphic for data that is not an image of this kind; the graphic is
  // then empty.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;
  // EFOpenError naming the full path when the file cannot be opened; EInvalidGraphic
  // naming it when its content is bad.
  void LoadFromFile(const std::u16string& fileName);
  void SaveToFile(const std::u16string& fileName) const;

  // An empty graphic of the same class.
  virtual TGraphic* NewEmpty() const = 0;

  // Tells the graphic that its pixels were changed behind its back (through scan lines).
  void Modified() { Changed(); }
  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  TGraphic() = default;
  // Draws the whole graphic into r of the canvas (stretched when sizes differ).
  virtual void Draw(TCanvas& canvas, const TRect& r) const = 0;
  virtual void Changed();
  // Sets the flag without notifying (for Assign, which notifies once at the end).
  void StoreTransparent(bool transparent) { transparent_ = transparent; }

 private:
  bool transparent_ = false;
};
