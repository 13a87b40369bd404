#include "framework/controls/PageControl.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/controls/ControlProperties.h"
#include "framework/controls/TabSheet.h"
#include "framework/forms/CustomForm.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/ImageList.h"

IMPLEMENT_CLASS(TCustomTabControl)
IMPLEMENT_CLASS_WITH_PROPERTIES(TPageControl) {
  PublishFont(p);
  p.Integer(u"TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight);
  p.Integer(u"TabWidth", &TPageControl::TabWidth, &TPageControl::SetTabWidth);
  p.Enum<TTabStyle>(u"Style", &TPageControl::Style, &TPageControl::SetStyle);
  p.Boolean(u"MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine);
  p.Enum<TTabPosition>(u"TabPosition", &TPageControl::TabPosition, &TPageControl::SetTabPosition);
  p.Object<TImageList>(u"Images", &TPageControl::Images, &TPageControl::SetImages);
  p.Boolean(u"HotTrack", &TPageControl::HotTrack, &TPageControl::SetHotTrack);
  p.Integer(u"ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex);
}

// --- tab control ---------------------------------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(csAcceptsControls | csDoubleClicks);
  SetColor(clBtnFace);
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

void TCustomTabControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, u"SysTabControl32");
  static const DWORD styles[] = {TCS_TABS, TCS_BUTTONS, TCS_BUTTONS | TCS_FLATBUTTONS};
  static const DWORD positions[] = {0, TCS_BOTTOM, TCS_VERTICAL, TCS_VERTICAL | TCS_RIGHT};
  p.Style |= WS_CLIPCHILDREN | styles[static_cast<int>(style_)] | positions[static_cast<int>(tabPosition_)];
  if (multiLine_) p.Style |= TCS_MULTILINE;
  if (tabWidth_ > 0) p.Style |= TCS_FIXEDWIDTH;
  if (hotTrack_) p.Style |= TCS_HOTTRACK;
  p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyItemSize();
  if (TImageList* images = Images()) SendMessageW(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images->Handle()));
  UpdateTabItems();
}

void TCustomTabControl::ApplyItemSize() {
  if (!HandleAllocated() || (tabHeight_ <= 0 && tabWidth_ <= 0)) return;
  SendMessageW(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(tabWidth_, tabHeight_));
  Realign();
}

void TCustomTabControl::SetTabHeight(int h) {
  if (h < 0 || h == tabHeight_) return;
  tabHeight_ = h;
  ApplyItemSize();
}

void TCustomTabControl::SetTabWidth(int w) {
  if (w < 0 || w == tabWidth_) return;
  bool styleChanges = (w > 0) != (tabWidth_ > 0);
  tabWidth_ = w;
  if (styleChanges) RecreateWnd();
  else ApplyItemSize();
}

void TCustomTabControl::SetStyle(TTabStyle s) {
  if (s == style_) return;
  style_ = s;
  RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool v) {
  if (v == multiLine_) return;
  multiLine_ = v;
  RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition p) {
  if (p == tabPosition_) return;
  tabPosition_ = p;
  RecreateWnd();
}

void TCustomTabControl::SetHotTrack(bool v) {
  if (v == hotTrack_) return;
  hotTrack_ = v;
  RecreateWnd();
}

void TCustomTabControl::SetImages(TImageList* images) {
  images_ = images;
  if (HandleAllocated())
    SendMessageW(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images != nullptr ? images->Handle() : nullptr));
}

void TCustomTabControl::AdjustClientRect(TRect& rect) const {
  if (!HandleAllocated()) return;
  RECT r = rect.ToRECT();
  SendMessageW(const_cast<TCustomTabControl*>(this)->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  rect = TRect(r);
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    switch (header->code) {
      case TCN_SELCHANGING:
        m.Result = CanChange() ? FALSE : TRUE;
        return;
      case TCN_SELCHANGE:
        TabSelected(static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0)));
        Change();
        return;
    }
    return;
  }
  TWinControl::WndProc(m);
}

// --- page control --------------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

void TPageControl::BeforeDestruction() {
  Destroying();
  activePage_ = nullptr;
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
  pages_.clear();
  TCustomTabControl::BeforeDestruction();
}

void TPageControl::InsertPage(TTabSheet* page) {
  if (std::find(pages_.begin(), pages_.end(), page) != pages_.end()) return;
  pages_.push_back(page);
  page->pageControl_ = this;
  page->SetAlign(TAlign::alNone);
  UpdateTabItems();
  Realign();
  if (activePage_ == nullptr && page->TabVisible()) ChangeActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  int oldPosition = page->TabIndex();
  pages_.erase(it);
  page->pageControl_ = nullptr;
  if (page == activePage_) {
    activePage_ = nullptr;
    std::vector<TTabSheet*> visible = VisibleTabs();
    if (!visible.empty() && !IsDestroying())
      ChangeActivePage(oldPosition >= 0 && oldPosition < static_cast<int>(visible.size())
                           ? visible[static_cast<size_t>(oldPosition)]
                           : visible.back());
  }
  if (!IsDestroying()) UpdateTabItems();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  pages_.erase(it);
  index = std::clamp(index, 0, static_cast<int>(pages_.size()));
  pages_.insert(pages_.begin() + index, page);
  UpdateTabItems();
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const {
  std::vector<TTabSheet*> out;
  for (TTabSheet* page : pages_)
    if (page->TabVisible()) out.push_back(page);
  return out;
}

void TPageControl::TabVisibilityChanged(TTabSheet* page, int oldPosition) {
  if (!page->TabVisible() && page == activePage_) {
    // The tab now standing where the hidden one stood takes over, else the last one.
    std::vector<TTabSheet*> visible = VisibleTabs();
    TTabSheet* next = nullptr;
    if (!visible.empty())
      next = oldPosition >= 0 && oldPosition < static_cast<int>(visible.size())
                 ? visible[static_cast<size_t>(oldPosition)]
                 : visible.back();
    UpdateTabItems();
    ChangeActivePage(next);
    return;
  }
  UpdateTabItems();
  if (activePage_ == nullptr && page->TabVisible()) ChangeActivePage(page);
}

void TPageControl::TabCaptionChanged(TTabSheet*) { UpdateTabItems(); }

void TPageControl::WndProc(TMessage& m) {
  if (m.Msg == CM_CONTROLLISTCHANGE) {
    // A sheet given to the control as a child becomes one of its pages.
    auto* page = As<TTabSheet>(reinterpret_cast<TControl*>(m.WParam));
    if (page != nullptr && m.LParam != 0 && page->PageControl() != this) InsertPage(page);
    if (page != nullptr && m.LParam == 0 && page->PageControl() == this) RemovePage(page);
    return;
  }
  TCustomTabControl::WndProc(m);
}

int TPageControl::ActivePageIndex() const {
  return activePage_ != nullptr ? activePage_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? Pages(index) : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page != nullptr && page->PageControl() != this) return;
  ChangeActivePage(page);
}

void TPageControl::ChangeActivePage(TTabSheet* page) {
  if (page == activePage_) {
    SyncSelection();
    return;
  }
  TTabSheet* old = activePage_;
  TCustomForm* form = ParentForm();
  bool focusInOld = false;
  if (old != nullptr && form != nullptr && form->ActiveControl() != nullptr)
    focusInOld = old->ContainsControl(form->ActiveControl());
  activePage_ = page;
  if (page != nullptr) {
    page->BringToFront();
    page->SetVisible(true);
  }
  if (old != nullptr) old->SetVisible(false);
  SyncSelection();
  Realign();
  if (focusInOld && form != nullptr && CanFocus() && HandleAllocated() && form->Active()) SetFocus();
}

void TPageControl::SyncSelection() {
  if (!HandleAllocated()) return;
  int index = activePage_ != nullptr ? activePage_->TabIndex() : -1;
  if (SendMessageW(Handle(), TCM_GETCURSEL, 0, 0) != index)
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TPageControl::UpdateTabItems() {
  if (!HandleAllocated()) return;
  HWND h = Handle();
  SendMessageW(h, TCM_DELETEALLITEMS, 0, 0);
  int index = 0;
  for (TTabSheet* page : pages_) {
    if (!page->TabVisible()) continue;
    std::u16string caption = page->Caption();
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM | TCIF_IMAGE;
    item.pszText = const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(caption.c_str()));
    item.iImage = page->ImageIndex();
    item.lParam = reinterpret_cast<LPARAM>(page);
    SendMessageW(h, TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
  }
  SyncSelection();
  Realign();
  Invalidate();
}

void TPageControl::TabSelected(int index) {
  std::vector<TTabSheet*> visible = VisibleTabs();
  if (index >= 0 && index < static_cast<int>(visible.size())) ChangeActivePage(visible[static_cast<size_t>(index)]);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool forward, bool checkTabVisible) const {
  if (pages_.empty()) return nullptr;
  auto it = std::find(pages_.begin(), pages_.end(), current);
  int n = static_cast<int>(pages_.size());
  int start = it == pages_.end() ? (forward ? n - 1 : 0) : static_cast<int>(it - pages_.begin());
  for (int step = 1; step <= n; ++step) {
    int i = ((start + (forward ? step : -step)) % n + n) % n;
    TTabSheet* page = pages_[static_cast<size_t>(i)];
    if (!checkTabVisible || page->TabVisible()) return page;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool forward) {
  TTabSheet* page = FindNextPage(activePage_, forward, true);
  if (page != nullptr && page != activePage_ && CanChange()) {
    ChangeActivePage(page);
    Change();
  }
}

void TPageControl::AlignControls(TControl* control, TRect& rect) {
  for (TTabSheet* page : pages_) page->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
  TCustomTabControl::AlignControls(control, rect);
}
