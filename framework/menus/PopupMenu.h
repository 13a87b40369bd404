#pragma once
// A context menu, tracked with the framework's popup-list window as owner so that its
// commands and owner-draw messages reach the items.
#include "framework/menus/Menu.h"

enum class TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
  DECLARE_CLASS(TPopupMenu, TMenu)
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  // Shows the menu at a screen point; returns when it closes (the chosen item has run).
  virtual void Popup(int x, int y);
  TComponent* PopupComponent() const { return popupComponent_.Get(); }
  void SetPopupComponent(TComponent* c) { popupComponent_ = c; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment a) { alignment_ = a; }
  TNotifyEvent OnPopup;

 protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }

 private:
  TWeakRef<TComponent> popupComponent_;
  bool autoPopup_ = true;
  TPopupAlignment alignment_ = TPopupAlignment::paLeft;
};

// The hidden window that owns every menu the framework tracks.
HWND PopupListWindow();
// Tracks a native menu with that window as owner; answers after the menu closed and the
// chosen item (if any) has run.
void TrackMenu(HMENU menu, UINT flags, int x, int y, const RECT* exclude = nullptr);

// The menu and item flags of the last WM_MENUSELECT of a tracked menu.
void LastMenuSelect(HMENU& menu, UINT& flags);

DECLARE_ENUM_NAMES(TPopupAlignment, u"paLeft", u"paRight", u"paCenter")
