#pragma once
// Holds one graphic of any kind; picks the kind from a file's extension or a stream's
// first bytes.
#include <string>

#include "framework/core/Object.h"
#include "framework/core/Strings.h"
#include "framework/graphics/Graphic.h"

class TBitmap;
class TIcon;
class TStream;

class TPicture : public TPersistent {
  DECLARE_CLASS(TPicture, TPersistent)
  TPicture();

  // Null while the picture is empty.
  TGraphic* Graphic() const { return graphic_.get(); }
  // Holds a copy of graphic (of the same class); null empties the picture.
  void SetGraphic(const TGraphic* graphic);
  // The graphic as a bitmap: a graphic of another kind is replaced by an empty bitmap.
  TBitmap* Bitmap();
  TIcon* Icon();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  bool Empty() const { return !graphic_ || graphic_->Empty(); }

  // .bmp, .jpg, .jpeg, .png, .ico (any case).  A bad or unknown file raises (EFOpenError
  // or EInvalidGraphic naming it) and leaves the picture as it was.
  void LoadFromFile(const std::u16string& fileName);
  void SaveToFile(const std::u16string& fileName) const;
  // The kind is told by the first bytes (BM, JPEG SOI, PNG signature, icon directory).
  void LoadFromStream(TStream& stream);
  // A graphic of the class registered for the extension, or null.
  static TGraphic* CreateGraphicForExtension(const std::u16string& extension);

  // From a picture or any graphic; null empties the picture.
  void Assign(const TPersistent* source) override;
  TNotifyEvent OnChange;

 protected:
  ~TPicture() override;
  void AssignTo(TPersistent* dest) const override;

 private:
  void Take(TGraphic* graphic);
  void Changed();

  TOwned<TGraphic> graphic_;
};
