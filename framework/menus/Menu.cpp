#include "framework/menus/Menu.h"

#include <algorithm>

#include "framework/core/Property.h"
#include "framework/forms/Screen.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/ImageList.h"
#include "framework/graphics/ScreenDC.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TMenu) {
  p.Boolean(u"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw);
  p.Object<TImageList>(u"Images", &TMenu::Images, &TMenu::SetImages);
  p.Enum<TBiDiMode>(u"BiDiMode", &TMenu::BiDiMode, &TMenu::SetBiDiMode);
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {
  items_->SetMenu(this);
}

void TMenu::BeforeDestruction() {
  Destroying();
  DestroyMenuHandle();
  listeners_.clear();
  TComponent::BeforeDestruction();
}

HMENU TMenu::Handle() {
  if (handle_ == nullptr) {
    handle_ = CreateMenuHandle();
    items_->FillMenu(handle_, ownerDraw_);
  }
  return handle_;
}

void TMenu::DestroyMenuHandle() {
  if (handle_ != nullptr)
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  items_->ReleaseHandles();
  if (handle_ != nullptr) DestroyMenu(handle_);
  handle_ = nullptr;
}

void TMenu::SetOwnerDraw(bool v) {
  if (v == ownerDraw_) return;
  ownerDraw_ = v;
  MenuChanged();
}

void TMenu::SetImages(TImageList* images) {
  images_ = images;
  MenuChanged();
}

void TMenu::SetBiDiMode(TBiDiMode m) {
  if (m == biDiMode_) return;
  biDiMode_ = m;
  MenuChanged();
}

void TMenu::MenuChanged() {
  if (IsDestroying()) return;
  bool had = handle_ != nullptr;
  DestroyMenuHandle();
  if (had) Handle();
  auto listeners = listeners_;
  for (auto& l : listeners) l.second();
}

void TMenu::AddChangeListener(TObject* listener, std::function<void()> callback) {
  RemoveChangeListener(listener);
  listeners_.emplace_back(listener, std::move(callback));
}

void TMenu::RemoveChangeListener(TObject* listener) {
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                  [listener](const auto& l) { return l.first == listener; }),
                   listeners_.end());
}

static TMenuItem* FindIn(TMenuItem* item, UINT command) {
  if (item->Command() == command) return item;
  for (int i = 0; i < item->Count(); ++i)
    if (TMenuItem* found = FindIn(item->Items(i), command)) return found;
  return nullptr;
}

TMenuItem* TMenu::FindItem(UINT command) const { return FindIn(items_, command); }

static bool RunShortCut(TMenuItem* item, TShortCut shortCut) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* child = item->Items(i);
    if (!child->Visible() || !child->Enabled()) continue;
    if (child->ShortCut() == shortCut && child->Count() == 0) {
      child->Click();
      return true;
    }
    if (RunShortCut(child, shortCut)) return true;
  }
  return false;
}

bool TMenu::IsShortCut(WORD key, TShiftState shift) {
  TShortCut s = MakeShortCut(key, shift);
  if ((s & 0xFF) == 0) return false;
  return RunShortCut(items_, s);
}

namespace {

// A canvas bound to a menu's device context for one call.
class TMenuCanvasScope {
 public:
  explicit TMenuCanvasScope(HDC dc, bool bold) : canvas_(new TCanvas) {
    canvas_->SetHandle(dc);
    if (Screen != nullptr) canvas_->Font()->Assign(Screen->MenuFont());
    if (bold) canvas_->Font()->SetStyle(canvas_->Font()->Style() | (1u << static_cast<int>(TFontStyle::fsBold)));
  }
  ~TMenuCanvasScope() { canvas_->SetHandle(nullptr); }
  TCanvas* Get() { return canvas_.get(); }

 private:
  TOwned<TCanvas> canvas_;
};

bool DrawMenuItem(TMessage& m) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (dis->CtlType != ODT_MENU) return false;
  TMenuItem* item = TMenuItem::FromItemData(dis->itemData);
  if (item == nullptr) return false;
  TOwnerDrawState state = 0;
  if (dis->itemState & ODS_SELECTED) state |= odSelected;
  if (dis->itemState & ODS_GRAYED) state |= odGrayed;
  if (dis->itemState & ODS_DISABLED) state |= odDisabled;
  if (dis->itemState & ODS_CHECKED) state |= odChecked;
  if (dis->itemState & ODS_FOCUS) state |= odFocused;
  if (dis->itemState & ODS_DEFAULT) state |= odDefault;
  if (dis->itemState & ODS_HOTLIGHT) state |= odHotLight;
  if (dis->itemState & ODS_NOACCEL) state |= odNoAccel;
  int saved = SaveDC(dis->hDC);
  {
    TMenuCanvasScope canvas(dis->hDC, item->Default());
    item->DrawItem(canvas.Get(), TRect(dis->rcItem), state);
  }
  RestoreDC(dis->hDC, saved);
  m.Result = TRUE;
  return true;
}

bool MeasureMenuItem(TMessage& m) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (mis->CtlType != ODT_MENU) return false;
  TMenuItem* item = TMenuItem::FromItemData(mis->itemData);
  if (item == nullptr) return false;
  TScreenDC dc;
  int saved = SaveDC(dc.Get());
  int width = static_cast<int>(mis->itemWidth), height = static_cast<int>(mis->itemHeight);
  {
    TMenuCanvasScope canvas(dc.Get(), item->Default());
    item->MeasureItem(canvas.Get(), width, height);
  }
  RestoreDC(dc.Get(), saved);
  mis->itemWidth = static_cast<UINT>(std::max(width, 0));
  mis->itemHeight = static_cast<UINT>(std::max(height, 0));
  m.Result = TRUE;
  return true;
}

bool MenuChar(TMessage& m) {
  // Owner-drawn items carry no text for the platform to match the key against.
  TMenuItem* parent = TMenuItem::FindByHandle(reinterpret_cast<HMENU>(m.LParam));
  if (parent == nullptr) return false;
  auto key = static_cast<char16_t>(LOWORD(m.WParam));
  int position = 0;
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (!item->Visible()) continue;
    if (item->Enabled() && IsAccel(key, item->Caption())) {
      m.Result = MAKELRESULT(position, MNC_EXECUTE);
      return true;
    }
    ++position;
  }
  return false;
}

}  // namespace

bool DispatchMenuMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      if (HIWORD(m.WParam) == 0 && m.LParam == 0) {
        if (TMenuItem* item = TMenuItem::FindByCommand(LOWORD(m.WParam))) {
          item->Click();
          m.Result = 0;
          return true;
        }
      }
      return false;
    case WM_DRAWITEM: return DrawMenuItem(m);
    case WM_MEASUREITEM: return MeasureMenuItem(m);
    case WM_MENUCHAR: return MenuChar(m);
    default: return false;
  }
}
