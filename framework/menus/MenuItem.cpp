#include "framework/menus/MenuItem.h"

#include <algorithm>
#include <map>
#include <unordered_set>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/forms/Screen.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/ImageList.h"
#include "framework/menus/Menu.h"
#include "framework/menus/PopupMenu.h"

namespace {

std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> commands;
  return commands;
}

std::unordered_set<const TMenuItem*>& LiveItems() {
  static std::unordered_set<const TMenuItem*> items;
  return items;
}

// Identifiers stay below the system commands (0xF000) and clear of IDOK etc.
UINT AllocateCommand(TMenuItem* item) {
  static UINT next = 0x100;
  auto& commands = Commands();
  for (UINT tries = 0; tries < 0xE000; ++tries) {
    UINT id = next++;
    if (next >= 0xF000) next = 0x100;
    if (commands.emplace(id, item).second) return id;
  }
  throw EOutOfResources(u"Too many menu items");
}

}  // namespace

IMPLEMENT_CLASS_WITH_PROPERTIES(TMenuItem) {
  p.Text(u"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  p.Boolean(u"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked);
  p.Boolean(u"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled);
  p.Boolean(u"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible);
  p.Boolean(u"Default", &TMenuItem::Default, &TMenuItem::SetDefault);
  p.Boolean(u"RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem);
  p.Integer(u"ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut);
  p.Integer(u"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex);
  p.Text(u"Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
  command_ = AllocateCommand(this);
  LiveItems().insert(this);
}

void TMenuItem::BeforeDestruction() {
  Destroying();
  while (!items_.empty()) items_.back()->Free();
  if (parent_ != nullptr) parent_->Remove(this);
  ReleaseHandles();
  Commands().erase(command_);
  LiveItems().erase(this);
  TComponent::BeforeDestruction();
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
  auto it = Commands().find(command);
  return it == Commands().end() ? nullptr : it->second;
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data) {
  auto* item = reinterpret_cast<TMenuItem*>(data);
  return LiveItems().count(item) != 0 ? item : nullptr;
}

TMenuItem* TMenuItem::FindByHandle(HMENU menu) {
  if (menu == nullptr) return nullptr;
  for (const TMenuItem* item : LiveItems())
    if (item->handle_ == menu) return const_cast<TMenuItem*>(item);
  for (const TMenuItem* item : LiveItems())
    if (item->menu_ != nullptr && item->menu_->HandleAllocated() && item->menu_->Handle() == menu)
      return const_cast<TMenuItem*>(item);
  return nullptr;
}

void TMenuItem::SetCaption(const std::u16string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed();
}

void TMenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}

void TMenuItem::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  Changed();
}

void TMenuItem::SetRadioItem(bool v) {
  if (v == radioItem_) return;
  radioItem_ = v;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut s) {
  if (s == shortCut_) return;
  shortCut_ = s;
  Changed();
}

void TMenuItem::SetImageIndex(int i) {
  if (i == imageIndex_) return;
  imageIndex_ = i;
  Changed();
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item == nullptr || item == this) return;
  if (item->parent_ != nullptr) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  item->ReleaseHandles();
  if (!IsDestroying()) Changed();
}

void TMenuItem::Clear() {
  while (!items_.empty()) items_.back()->Free();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_ != nullptr) root = root->parent_;
  return root->menu_;
}

void TMenuItem::Changed() {
  if (IsDestroying()) return;
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
  else ReleaseHandles();
}

HMENU TMenuItem::Handle() {
  if (items_.empty()) return nullptr;
  if (handle_ == nullptr) {
    handle_ = CreatePopupMenu();
    TMenu* menu = GetParentMenu();
    FillMenu(handle_, menu != nullptr && menu->OwnerDraw());
  }
  return handle_;
}

void TMenuItem::ReleaseHandles() {
  // Every native menu is destroyed once, by the item it belongs to: unhook the
  // submenus first, so that destroying this one leaves theirs to their items.
  if (handle_ != nullptr)
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  for (TMenuItem* item : items_) item->ReleaseHandles();
  if (handle_ != nullptr) DestroyMenu(handle_);
  handle_ = nullptr;
}

void TMenuItem::FillMenu(HMENU menu, bool ownerDraw) {
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    std::u16string text = item->caption_;
    std::u16string shortcut = ShortCutToText(item->shortCut_);
    if (!shortcut.empty()) text += u"\t" + shortcut;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_FTYPE | MIIM_STRING;
    mii.wID = item->command_;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    if (item->IsLine()) {
      mii.fType = MFT_SEPARATOR | (ownerDraw ? MFT_OWNERDRAW : 0);
      mii.fMask &= ~MIIM_STRING;
    } else {
      mii.fType = (ownerDraw ? MFT_OWNERDRAW : MFT_STRING) | (item->radioItem_ ? MFT_RADIOCHECK : 0);
      mii.dwTypeData = const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(text.c_str()));
    }
    mii.fState = (item->checked_ ? MFS_CHECKED : 0) | (item->enabled_ ? MFS_ENABLED : MFS_GRAYED) |
                 (item->default_ ? MFS_DEFAULT : 0);
    if (!item->items_.empty()) {
      mii.fMask |= MIIM_SUBMENU;
      mii.hSubMenu = item->Handle();
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mii);
  }
}

void TMenuItem::Click() {
  if (!enabled_) return;
  if (OnClick) OnClick(this);
}

void TMenuItem::DefaultMeasure(TCanvas* canvas, int& width, int& height) {
  if (IsLine()) {
    width = 0;
    height = GetSystemMetrics(SM_CYMENU) / 2;
    return;
  }
  std::u16string text = StripHotkey(caption_);
  std::u16string shortcut = ShortCutToText(shortCut_);
  int textWidth = canvas->TextWidth(text);
  if (!shortcut.empty()) textWidth += canvas->TextWidth(shortcut) + 24;
  int imageWidth = 16, imageHeight = 16;
  TMenu* menu = GetParentMenu();
  if (menu != nullptr && menu->Images() != nullptr) {
    imageWidth = menu->Images()->Width();
    imageHeight = menu->Images()->Height();
  }
  bool topLevel = parent_ != nullptr && parent_->parent_ == nullptr && menu != nullptr &&
                  !menu->Is<TPopupMenu>();
  width = topLevel ? textWidth + 8 : textWidth + imageWidth + 24;
  height = std::max(canvas->TextHeight(u"W") + 6, imageHeight + 4);
}

void TMenuItem::DefaultDraw(TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
  bool selected = (state & odSelected) != 0;
  bool disabled = (state & (odDisabled | odGrayed)) != 0 || !enabled_;
  canvas->Brush()->SetColor(selected ? clHighlight : clMenu);
  canvas->FillRect(rect);
  if (IsLine()) {
    RECT line{rect.Left, rect.Top + rect.Height() / 2 - 1, rect.Right, rect.Top + rect.Height() / 2 + 1};
    DrawEdge(canvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  TMenu* menu = GetParentMenu();
  int imageWidth = menu != nullptr && menu->Images() != nullptr ? menu->Images()->Width() : 16;
  bool topLevel = parent_ != nullptr && parent_->parent_ == nullptr && menu != nullptr &&
                  !menu->Is<TPopupMenu>();
  if (!topLevel) {
    if (menu != nullptr && menu->Images() != nullptr && imageIndex_ >= 0) {
      int y = rect.Top + (rect.Height() - menu->Images()->Height()) / 2;
      menu->Images()->Draw(*canvas, rect.Left + 2, y, imageIndex_, !disabled);
    } else if (checked_) {
      RECT check{rect.Left + 2, rect.Top + (rect.Height() - 14) / 2, rect.Left + 16,
                 rect.Top + (rect.Height() - 14) / 2 + 14};
      DrawFrameControl(canvas->Handle(), &check, DFC_MENU, radioItem_ ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }
  }
  canvas->Brush()->SetStyle(TBrushStyle::bsClear);
  canvas->Font()->SetColor(selected ? clHighlightText : disabled ? clGrayText : clMenuText);
  TRect textRect = rect;
  textRect.Left += topLevel ? 4 : imageWidth + 8;
  textRect.Right -= 8;
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | ((state & odNoAccel) ? DT_HIDEPREFIX : 0);
  if (topLevel) flags |= DT_CENTER;
  canvas->DrawText(caption_, textRect, flags);
  std::u16string shortcut = ShortCutToText(shortCut_);
  if (!shortcut.empty()) canvas->DrawText(shortcut, textRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
  else DefaultMeasure(canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
  if (OnAdvancedDrawItem) OnAdvancedDrawItem(this, canvas, rect, state);
  else if (OnDrawItem) OnDrawItem(this, canvas, rect, (state & odSelected) != 0);
  else DefaultDraw(canvas, rect, state);
}
