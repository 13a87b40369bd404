#include "framework/menus/MainMenu.h"

#include "framework/core/Property.h"
#include "framework/forms/CustomForm.h"

IMPLEMENT_CLASS(TMainMenu)

void TMainMenu::MenuChanged() {
  TMenu::MenuChanged();
  if (auto* form = As<TCustomForm>(Owner()); form != nullptr && form->Menu() == this) form->MenuChanged();
}
