#pragma once
// A container of non-visual components, created like a form.
#include "framework/core/Component.h"
#include "framework/core/Strings.h"

class TDataModule : public TComponent {
  DECLARE_CLASS(TDataModule, TComponent)
  explicit TDataModule(TComponent* owner) : TComponent(owner) {}
  // Runs OnCreate; called once, after loading.
  void DoCreate();
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

 protected:
  void BeforeDestruction() override;
};
