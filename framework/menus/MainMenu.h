#pragma once
// A menu bar (shown by a form, or as caption buttons by a tool bar).
#include "framework/menus/Menu.h"

class TMainMenu : public TMenu {
  DECLARE_CLASS(TMainMenu, TMenu)
  using TMenu::TMenu;
  void MenuChanged() override;

 protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }
};
