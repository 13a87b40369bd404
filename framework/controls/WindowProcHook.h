#pragma once
// Puts a handler in front of a control's WindowProc and takes it out again.  Hooks may
// be removed in any order: a hook that is no longer the front one unlinks itself from
// the chain without dropping the hooks installed after it.
#include <vector>

#include "framework/controls/Control.h"

class TWindowProcHook {
 public:
  TWindowProcHook(TControl* control, TWndMethod handler);
  ~TWindowProcHook();
  TWindowProcHook(const TWindowProcHook&) = delete;
  TWindowProcHook& operator=(const TWindowProcHook&) = delete;

  // The handler that was in front before this hook (what the hook passes messages on to).
  TWndMethod Previous() const { return previous_; }
  void CallPrevious(TMessage& message) const { previous_(message); }
  TControl* Control() const { return control_.Get(); }
  // Takes the hook out now (the destructor then does nothing).
  void Remove();

 private:
  TWeakRef<TControl> control_;
  const TControl* key_;
  TWndMethod handler_;
  TWndMethod previous_;
  bool installed_ = false;
};
