#pragma once
// One item of a menu: a caption, state, shortcut and sub-items, shown by a native menu.
#include <windows.h>

#include <functional>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Strings.h"
#include "framework/core/Types.h"
#include "framework/menus/ShortCut.h"

class TCanvas;
class TMenu;

enum : uint32_t {
  odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16, odDefault = 32,
  odHotLight = 64, odNoAccel = 128,
};
using TOwnerDrawState = uint32_t;

using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, TRect rect, bool selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, TRect rect, TOwnerDrawState state)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
  DECLARE_CLASS(TMenuItem, TComponent)
  explicit TMenuItem(TComponent* owner);

  const std::u16string& Caption() const { return caption_; }
  void SetCaption(const std::u16string& caption);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut s);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int i);
  const std::u16string& Hint() const { return hint_; }
  void SetHint(const std::u16string& hint) { hint_ = hint; }
  // A caption of "-" makes a separator.
  bool IsLine() const { return caption_ == u"-"; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const { return parent_ != nullptr ? parent_->IndexOf(this) : -1; }
  // The menu whose tree holds this item.
  TMenu* GetParentMenu() const;

  // The command identifier that WM_COMMAND carries for this item.
  UINT Command() const { return command_; }
  // The native submenu of an item with sub-items (null without).
  HMENU Handle();

  // What choosing the item does: OnClick.
  virtual void Click();
  // The framework's default rule for owner-drawn items, whatever handler is set.
  void DefaultMeasure(TCanvas* canvas, int& width, int& height);
  void DefaultDraw(TCanvas* canvas, const TRect& rect, TOwnerDrawState state);
  // Measure and draw as the owner-drawn menu asks: the events, else the default.
  void MeasureItem(TCanvas* canvas, int& width, int& height);
  void DrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state);

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  static TMenuItem* FindByCommand(UINT command);
  // A live item, or null for anything else (item data from a native menu).
  static TMenuItem* FromItemData(ULONG_PTR data);
  // The item whose submenu (or the menu whose root) is this native menu.
  static TMenuItem* FindByHandle(HMENU menu);

  // Fills a native menu with the visible sub-items.
  void FillMenu(HMENU menu, bool ownerDraw);
  // Drops the native menus of this item and everything below.
  void ReleaseHandles();
  void SetMenu(TMenu* menu) { menu_ = menu; }

 protected:
  void BeforeDestruction() override;
  void Changed();

 private:
  std::u16string caption_;
  bool checked_ = false, enabled_ = true, visible_ = true, default_ = false, radioItem_ = false;
  TShortCut shortCut_ = scNone;
  int imageIndex_ = -1;
  std::u16string hint_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item of a menu
  UINT command_ = 0;
  HMENU handle_ = nullptr;
};
