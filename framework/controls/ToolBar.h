#pragma once
// A tool bar over the native "ToolbarWindow32" class.  Its tool buttons become native
// buttons; any other child control sits over a separator as wide as itself.  Given a
// menu, the tool bar shows its top-level items as caption buttons that drop the items'
// submenus down.
#include <vector>

#include "framework/controls/WinControl.h"
#include "framework/graphics/ImageList.h"
#include "framework/menus/MainMenu.h"

class TImageList;
class TMainMenu;
class TMenuItem;
class TToolButton;

class TToolBar : public TWinControl {
  DECLARE_CLASS(TToolBar, TWinControl)
  explicit TToolBar(TComponent* owner);

  int ButtonCount() const;
  TToolButton* Buttons(int index) const;
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int w);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int h);
  TImageList* Images() const { return images_.Get(); }
  void SetImages(TImageList* images);
  TImageList* HotImages() const { return hotImages_.Get(); }
  void SetHotImages(TImageList* images);
  TImageList* DisabledImages() const { return disabledImages_.Get(); }
  void SetDisabledImages(TImageList* images);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool v);
  bool List() const { return list_; }
  void SetList(bool v);
  bool Wrapable() const { return wrapable_; }
  void SetWrapable(bool v);
  int Indent() const { return indent_; }
  void SetIndent(int v);
  TMainMenu* Menu() const { return menu_.Get(); }
  // One caption button per top-level item, rebuilt whenever the menu changes.
  void SetMenu(TMainMenu* menu);

  // Drops down the submenu of a button's menu item (or runs an item without one).
  void TrackMenu(TToolButton* button);
  // Rebuilds the native buttons from the child controls.
  void RecreateButtons();
  // Where a child stands on the bar (client coordinates).
  TRect ItemRect(const TControl* control) const;
  void WndProc(TMessage& message) override;

 protected:
  void BeforeDestruction() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void CMDialogChar(TMessage& m) override;
  void ApplyImages();
  void ApplySizes();
  void BuildMenuButtons();
  void FitButtonHeight();
  std::vector<TControl*> Items() const;

 private:
  void CNNotify(TMessage& m);
  int buttonWidth_ = 23, buttonHeight_ = 22;
  TWeakRef<TImageList> images_, hotImages_, disabledImages_;
  bool flat_ = false, transparent_ = false, showCaptions_ = false, list_ = false, wrapable_ = true;
  int indent_ = 0;
  TWeakRef<TMainMenu> menu_;
  std::vector<TToolButton*> menuButtons_;
  bool rebuilding_ = false;
  bool tracking_ = false;
};
