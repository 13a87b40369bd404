#pragma once
// Base of fonts, brushes and pens: a description that owns the GDI handle made from it.
#include <windows.h>

#include "framework/core/Object.h"
#include "framework/core/Strings.h"
#include "framework/core/Types.h"

class TGraphicsObject : public TPersistent {
  DECLARE_CLASS(TGraphicsObject, TPersistent)
  // Fired after any change, when the new handle can already be asked for.
  TNotifyEvent OnChange;
  // Fired just before the handle is deleted.  The canvas that selected it puts the DC's
  // own object back here: GDI does not delete an object that is still selected.
  TNotifyEvent OnHandleReleasing;

  bool HandleAllocated() const { return HandleValue() != nullptr; }

 protected:
  TGraphicsObject() = default;
  ~TGraphicsObject() override;
  // A change of a value the handle is made from (handleChanges) or not (a font's colour).
  void Changed(bool handleChanges = true);
  // Announces and deletes the handle; the next Handle() makes a new one.
  void ReleaseHandle();
  virtual HGDIOBJ HandleValue() const = 0;
  virtual void DeleteHandle() = 0;
};
