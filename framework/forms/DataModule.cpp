#include "framework/forms/DataModule.h"

#include "framework/core/Exception.h"
#include "framework/core/Property.h"

IMPLEMENT_CLASS(TDataModule)

void TDataModule::DoCreate() {
  try {
    if (OnCreate) OnCreate(this);
  } catch (const std::exception& e) {
    ::HandleException(e);
  }
}

void TDataModule::BeforeDestruction() {
  Destroying();
  try {
    if (OnDestroy) OnDestroy(this);
  } catch (const std::exception& e) {
    ::HandleException(e);
  }
  TComponent::BeforeDestruction();
}
