#pragma once
// Menus: a tree of items behind a native menu, owner-drawn on request.
#include <windows.h>

#include <functional>
#include <vector>

#include "framework/controls/Control.h"
#include "framework/core/Component.h"
#include "framework/core/Messages.h"
#include "framework/menus/MenuItem.h"
#include "framework/graphics/ImageList.h"

class TImageList;

class TMenu : public TComponent {
  DECLARE_CLASS(TMenu, TComponent)
  explicit TMenu(TComponent* owner);

  TMenuItem* Items() const { return items_; }
  HMENU Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v);
  TImageList* Images() const { return images_.Get(); }
  void SetImages(TImageList* images);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode m);
  // The enabled item with this shortcut runs; true when there was one.
  bool IsShortCut(WORD key, TShiftState shift);
  // An item of the tree by its command identifier.
  TMenuItem* FindItem(UINT command) const;
  // Called when any item of the tree changed: rebuilds the native menu.
  virtual void MenuChanged();
  // Others (a tool bar showing this menu) hear of every change.
  void AddChangeListener(TObject* listener, std::function<void()> callback);
  void RemoveChangeListener(TObject* listener);

 protected:
  void BeforeDestruction() override;
  virtual HMENU CreateMenuHandle() = 0;
  void DestroyMenuHandle();

 private:
  TMenuItem* items_;
  HMENU handle_ = nullptr;
  bool ownerDraw_ = false;
  TWeakRef<TImageList> images_;
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
  std::vector<std::pair<TObject*, std::function<void()>>> listeners_;
};

// Routes WM_COMMAND, WM_DRAWITEM, WM_MEASUREITEM and WM_MENUCHAR of menus to the items;
// true when the message was a menu's.
bool DispatchMenuMessage(TMessage& message);
