#include "framework/graphics/GraphicsObject.h"

#include "framework/core/Property.h"

IMPLEMENT_CLASS(TGraphicsObject)

TGraphicsObject::~TGraphicsObject() = default;

void TGraphicsObject::Changed(bool handleChanges) {
  if (handleChanges) ReleaseHandle();
  if (OnChange) OnChange(this);
}

void TGraphicsObject::ReleaseHandle() {
  if (!HandleAllocated()) return;
  if (OnHandleReleasing) OnHandleReleasing(this);
  DeleteHandle();
}
