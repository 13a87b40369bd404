#include "framework/graphics/Graphic.h"

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Stream.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TGraphic) {
  p.Integer(u"Width", &TGraphic::Width, &TGraphic::SetWidth);
  p.Integer(u"Height", &TGraphic::Height, &TGraphic::SetHeight);
  p.Boolean(u"Transparent", &TGraphic::Transparent, &TGraphic::SetTransparent);
}

void TGraphic::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed();
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const std::u16string& fileName) {
  TOwned<TFileStream> file(new TFileStream(fileName, fmOpenRead | fmShareDenyNone));
  try {
    LoadFromStream(*file);
  } catch (const EInvalidGraphic& e) {
    throw EInvalidGraphic(e.Message() + u" (file \"" + ExpandFileName(fileName) + u"\")");
  } catch (const EReadError& e) {
    throw EInvalidGraphic(e.Message() + u" (file \"" + ExpandFileName(fileName) + u"\")");
  }
}

void TGraphic::SaveToFile(const std::u16string& fileName) const {
  TOwned<TFileStream> file(new TFileStream(fileName, fmCreate));
  SaveToStream(*file);
}
