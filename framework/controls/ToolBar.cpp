#include "framework/controls/ToolBar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/controls/ControlProperties.h"
#include "framework/controls/ToolButton.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/ImageList.h"
#include "framework/menus/MainMenu.h"
#include "framework/menus/PopupMenu.h"
#include "framework/menus/ShortCut.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TToolBar) {
  PublishColor(p);
  PublishFont(p);
  p.Integer(u"ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth);
  p.Integer(u"ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight);
  p.Object<TImageList>(u"Images", &TToolBar::Images, &TToolBar::SetImages);
  p.Object<TImageList>(u"HotImages", &TToolBar::HotImages, &TToolBar::SetHotImages);
  p.Object<TImageList>(u"DisabledImages", &TToolBar::DisabledImages, &TToolBar::SetDisabledImages);
  p.Boolean(u"Flat", &TToolBar::Flat, &TToolBar::SetFlat);
  p.Boolean(u"Transparent", &TToolBar::Transparent, &TToolBar::SetTransparent);
  p.Boolean(u"ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions);
  p.Boolean(u"List", &TToolBar::List, &TToolBar::SetList);
  p.Boolean(u"Wrapable", &TToolBar::Wrapable, &TToolBar::SetWrapable);
  p.Integer(u"Indent", &TToolBar::Indent, &TToolBar::SetIndent);
  p.Object<TMainMenu>(u"Menu", &TToolBar::Menu, &TToolBar::SetMenu);
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  // The native bar captures the mouse itself; a capture of ours would cancel its click.
  SetControlStyle(csAcceptsControls | csSetCaption | csDoubleClicks);
  SetColor(clBtnFace);
  SetBounds(0, 0, 150, 29);
}

void TToolBar::BeforeDestruction() {
  Destroying();
  if (TMainMenu* menu = menu_.Get()) menu->RemoveChangeListener(this);
  menuButtons_.clear();
  TWinControl::BeforeDestruction();
}

void TToolBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, u"ToolbarWindow32");
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | CCS_TOP;
  if (flat_) p.Style |= TBSTYLE_FLAT;
  if (transparent_) p.Style |= TBSTYLE_TRANSPARENT;
  if (list_) p.Style |= TBSTYLE_LIST;
  if (wrapable_) p.Style |= TBSTYLE_WRAPABLE;
}

void TToolBar::CreateWnd() {
  TWinControl::CreateWnd();
  HWND h = Handle();
  SendMessageW(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(h, TB_SETINDENT, static_cast<WPARAM>(indent_), 0);
  ApplyImages();
  ApplySizes();
  RecreateButtons();
}

void TToolBar::ApplyImages() {
  if (!HandleAllocated()) return;
  HWND h = Handle();
  auto handle = [](TImageList* l) { return reinterpret_cast<LPARAM>(l != nullptr ? l->Handle() : nullptr); };
  SendMessageW(h, TB_SETIMAGELIST, 0, handle(Images()));
  SendMessageW(h, TB_SETHOTIMAGELIST, 0, handle(HotImages()));
  SendMessageW(h, TB_SETDISABLEDIMAGELIST, 0, handle(DisabledImages()));
}

void TToolBar::ApplySizes() {
  if (!HandleAllocated()) return;
  HWND h = Handle();
  TImageList* images = Images();
  SendMessageW(h, TB_SETBITMAPSIZE, 0,
               images != nullptr ? MAKELONG(images->Width(), images->Height()) : MAKELONG(0, 0));
  SendMessageW(h, TB_SETBUTTONSIZE, 0, MAKELONG(buttonWidth_, buttonHeight_));
  // Caption buttons would otherwise grow to their text.
  SendMessageW(h, TB_SETBUTTONWIDTH, 0, MAKELONG(buttonWidth_, buttonWidth_));
}

std::vector<TControl*> TToolBar::Items() const {
  std::vector<TControl*> items;
  for (int i = 0; i < ControlCount(); ++i) items.push_back(Controls(i));
  return items;
}

int TToolBar::ButtonCount() const {
  int n = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (Controls(i)->Is<TToolButton>()) ++n;
  return n;
}

TToolButton* TToolBar::Buttons(int index) const {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = As<TToolButton>(Controls(i)); b != nullptr && index-- == 0) return b;
  return nullptr;
}

void TToolBar::RecreateButtons() {
  if (!HandleAllocated() || rebuilding_ || IsDestroying()) return;
  rebuilding_ = true;
  HWND h = Handle();
  while (SendMessageW(h, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageW(h, TB_DELETEBUTTON, 0, 0);
  std::vector<TControl*> items = Items();
  std::vector<std::u16string> texts;
  texts.reserve(items.size());
  std::vector<TBBUTTON> buttons;
  for (size_t i = 0; i < items.size(); ++i) {
    TControl* c = items[i];
    TBBUTTON b{};
    b.idCommand = static_cast<int>(i + 1);
    b.dwData = reinterpret_cast<DWORD_PTR>(c);
    b.iString = -1;
    b.fsState = (c->Enabled() ? TBSTATE_ENABLED : 0) | (c->Visible() ? 0 : TBSTATE_HIDDEN);
    auto* button = As<TToolButton>(c);
    if (button == nullptr || button->Style() == TToolButtonStyle::tbsSeparator ||
        button->Style() == TToolButtonStyle::tbsDivider) {
      b.fsStyle = BTNS_SEP;
      b.iBitmap = c->Width();
    } else {
      static const BYTE styles[] = {BTNS_BUTTON, BTNS_CHECK, BTNS_DROPDOWN};
      b.fsStyle = styles[static_cast<int>(button->Style())];
      if (button->Grouped()) b.fsStyle |= BTNS_GROUP;
      if (button->AutoSize()) b.fsStyle |= BTNS_AUTOSIZE;
      b.iBitmap = button->ImageIndex() >= 0 ? button->ImageIndex() : I_IMAGENONE;
      if (button->Down()) b.fsState |= TBSTATE_CHECKED;
      if (button->Wrap()) b.fsState |= TBSTATE_WRAP;
      if (showCaptions_) {
        texts.push_back(button->Caption());
        b.iString = reinterpret_cast<INT_PTR>(texts.back().c_str());
      }
    }
    buttons.push_back(b);
  }
  if (!buttons.empty())
    SendMessageW(h, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  rebuilding_ = false;
  FitButtonHeight();
  Realign();
  Invalidate();
}

void TToolBar::FitButtonHeight() {
  // The native bar grows a caption button to its text plus padding; take padding away
  // until the button is as high as asked.
  HWND h = Handle();
  for (int tries = 0; tries < 8; ++tries) {
    DWORD size = static_cast<DWORD>(SendMessageW(h, TB_GETBUTTONSIZE, 0, 0));
    int extra = HIWORD(size) - buttonHeight_;
    if (extra <= 0) break;
    DWORD padding = static_cast<DWORD>(SendMessageW(h, TB_GETPADDING, 0, 0));
    int cy = HIWORD(padding);
    if (cy == 0) break;
    SendMessageW(h, TB_SETPADDING, 0, MAKELPARAM(LOWORD(padding), cy > extra ? cy - extra : 0));
    SendMessageW(h, TB_SETBUTTONSIZE, 0, MAKELONG(buttonWidth_, buttonHeight_));
  }
}

TRect TToolBar::ItemRect(const TControl* control) const {
  if (!HandleAllocated()) return control->BoundsRect();
  std::vector<TControl*> items = Items();
  auto it = std::find(items.begin(), items.end(), control);
  if (it == items.end()) return control->BoundsRect();
  RECT r{};
  SendMessageW(const_cast<TToolBar*>(this)->Handle(), TB_GETITEMRECT, static_cast<WPARAM>(it - items.begin()),
               reinterpret_cast<LPARAM>(&r));
  return TRect(r);
}

void TToolBar::AlignControls(TControl* control, TRect& rect) {
  if (!HandleAllocated() || rebuilding_) return;
  for (TControl* c : Items()) {
    TRect r = ItemRect(c);
    if (c->Is<TToolButton>()) c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    else c->SetBounds(r.Left, r.Top, c->Width(), c->Height());
  }
}

void TToolBar::SetButtonWidth(int w) {
  if (w == buttonWidth_) return;
  buttonWidth_ = w;
  ApplySizes();
  RecreateButtons();
}

void TToolBar::SetButtonHeight(int h) {
  if (h == buttonHeight_) return;
  buttonHeight_ = h;
  ApplySizes();
  RecreateButtons();
}

void TToolBar::SetImages(TImageList* images) {
  images_ = images;
  ApplyImages();
  ApplySizes();
  RecreateButtons();
}

void TToolBar::SetHotImages(TImageList* images) {
  hotImages_ = images;
  ApplyImages();
  Invalidate();
}

void TToolBar::SetDisabledImages(TImageList* images) {
  disabledImages_ = images;
  ApplyImages();
  Invalidate();
}

void TToolBar::SetFlat(bool v) {
  if (v == flat_) return;
  flat_ = v;
  RecreateWnd();
}

void TToolBar::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  RecreateWnd();
}

void TToolBar::SetShowCaptions(bool v) {
  if (v == showCaptions_) return;
  showCaptions_ = v;
  RecreateButtons();
}

void TToolBar::SetList(bool v) {
  if (v == list_) return;
  list_ = v;
  RecreateWnd();
}

void TToolBar::SetWrapable(bool v) {
  if (v == wrapable_) return;
  wrapable_ = v;
  RecreateWnd();
}

void TToolBar::SetIndent(int v) {
  if (v == indent_) return;
  indent_ = v;
  if (HandleAllocated()) {
    SendMessageW(Handle(), TB_SETINDENT, static_cast<WPARAM>(v), 0);
    Realign();
  }
}

void TToolBar::SetMenu(TMainMenu* menu) {
  if (menu == menu_.Get()) return;
  if (TMainMenu* old = menu_.Get()) old->RemoveChangeListener(this);
  menu_ = menu;
  if (menu != nullptr) menu->AddChangeListener(this, [this] { BuildMenuButtons(); });
  BuildMenuButtons();
}

void TToolBar::BuildMenuButtons() {
  if (IsDestroying()) return;
  auto old = std::move(menuButtons_);
  menuButtons_.clear();
  for (TToolButton* b : old) b->Free();
  TMainMenu* menu = Menu();
  if (menu != nullptr) {
    TMenuItem* root = menu->Items();
    for (int i = 0; i < root->Count(); ++i) {
      TMenuItem* item = root->Items(i);
      if (!item->Visible()) continue;
      auto* button = new TToolButton(this);
      button->SetGrouped(true);
      button->SetMenuItem(item);
      button->SetParent(this);
      menuButtons_.push_back(button);
    }
    if (!menuButtons_.empty()) SetShowCaptions(true);
  }
  RecreateButtons();
}

namespace {

// While a drop-down of the bar is open: Left and Right move to the neighbouring item.
HHOOK g_menuHook = nullptr;
int g_switchTo = 0;  // -1 previous, +1 next
HMENU g_dropDown = nullptr;

LRESULT CALLBACK MenuFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT)) {
      HMENU current = nullptr;
      UINT flags = 0;
      LastMenuSelect(current, flags);
      bool inDropDown = current == g_dropDown;
      bool opensSubmenu = (flags & MF_POPUP) != 0;
      if (inDropDown && (msg->wParam == VK_LEFT || !opensSubmenu)) {
        g_switchTo = msg->wParam == VK_LEFT ? -1 : 1;
        EndMenu();
        return 1;
      }
    }
  }
  return CallNextHookEx(g_menuHook, code, wParam, lParam);
}

}  // namespace

void TToolBar::TrackMenu(TToolButton* button) {
  if (tracking_ || button == nullptr) return;
  TMenuItem* item = button->MenuItem();
  if (item == nullptr) return;
  if (item->Count() == 0) {
    item->Click();
    return;
  }
  tracking_ = true;
  auto life = LifeToken();
  std::vector<TControl*> items = Items();
  for (;;) {
    auto at = std::find(items.begin(), items.end(), button);
    int id = static_cast<int>(at - items.begin()) + 1;
    HWND h = Handle();
    SendMessageW(h, TB_PRESSBUTTON, static_cast<WPARAM>(id), TRUE);
    TRect r = ItemRect(button);
    RECT screen = r.ToRECT();
    MapWindowPoints(h, HWND_DESKTOP, reinterpret_cast<POINT*>(&screen), 2);
    g_switchTo = 0;
    g_dropDown = item->Handle();
    g_menuHook = SetWindowsHookExW(WH_MSGFILTER, MenuFilter, nullptr, GetCurrentThreadId());
    ::TrackMenu(g_dropDown, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON, screen.left,
                screen.bottom, &screen);
    if (g_menuHook != nullptr) UnhookWindowsHookEx(g_menuHook);
    g_menuHook = nullptr;
    g_dropDown = nullptr;
    if (!life->Alive) return;
    SendMessageW(h, TB_PRESSBUTTON, static_cast<WPARAM>(id), FALSE);
    if (g_switchTo == 0) break;
    // Next (or previous) caption button that drops a menu down.
    std::vector<TToolButton*> candidates;
    for (TControl* c : items)
      if (auto* b = As<TToolButton>(c); b != nullptr && b->Visible() && b->MenuItem() != nullptr &&
                                         b->MenuItem()->Count() > 0)
        candidates.push_back(b);
    auto pos = std::find(candidates.begin(), candidates.end(), button);
    if (candidates.empty() || pos == candidates.end()) break;
    int n = static_cast<int>(candidates.size());
    int next = ((static_cast<int>(pos - candidates.begin()) + g_switchTo) % n + n) % n;
    button = candidates[static_cast<size_t>(next)];
    item = button->MenuItem();
  }
  tracking_ = false;
}

void TToolBar::CMDialogChar(TMessage& m) {
  // Alt + the accelerator of a caption button opens its menu.
  if ((m.LParam & 0x20000000) != 0) {
    for (TToolButton* b : menuButtons_) {
      if (b->Visible() && b->Enabled() && IsAccel(static_cast<char16_t>(m.WParam), b->Caption())) {
        TrackMenu(b);
        m.Result = 1;
        return;
      }
    }
  }
  TWinControl::CMDialogChar(m);
}

void TToolBar::CNNotify(TMessage& m) {
  auto* header = reinterpret_cast<NMHDR*>(m.LParam);
  if (header->code == TBN_DROPDOWN) {
    auto* tb = reinterpret_cast<NMTOOLBARW*>(m.LParam);
    std::vector<TControl*> items = Items();
    int index = tb->iItem - 1;
    if (index >= 0 && index < static_cast<int>(items.size()))
      if (auto* b = As<TToolButton>(items[static_cast<size_t>(index)])) b->Click();
    m.Result = TBDDRET_DEFAULT;
    return;
  }
  m.Result = 0;
}

void TToolBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND: {
      std::vector<TControl*> items = Items();
      int index = static_cast<int>(LOWORD(m.WParam)) - 1;
      if (index >= 0 && index < static_cast<int>(items.size()))
        if (auto* b = As<TToolButton>(items[static_cast<size_t>(index)])) {
          if (b->Style() == TToolButtonStyle::tbsCheck)
            b->SetDown(SendMessageW(Handle(), TB_ISBUTTONCHECKED, LOWORD(m.WParam), 0) != 0);
          b->Click();
        }
      return;
    }
    case CN_NOTIFY: CNNotify(m); return;
    case CM_CONTROLLISTCHANGE: RecreateButtons(); return;
    case WM_SIZE: DefaultHandler(m); Realign(); return;
    case WM_LBUTTONDOWN: {
      // A caption button of the menu drops down on the press, as a menu bar does.
      POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      int index = static_cast<int>(SendMessageW(Handle(), TB_HITTEST, 0, reinterpret_cast<LPARAM>(&p)));
      std::vector<TControl*> items = Items();
      if (index >= 0 && index < static_cast<int>(items.size()))
        if (auto* b = As<TToolButton>(items[static_cast<size_t>(index)]);
            b != nullptr && b->Enabled() && b->MenuItem() != nullptr && b->MenuItem()->Count() > 0) {
          TrackMenu(b);
          return;
        }
      TControl::WndProc(m);
      return;
    }
  }
  // The native bar handles the mouse over its buttons; the windowless tool buttons only
  // mirror them.
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
    TControl::WndProc(m);
    return;
  }
  TWinControl::WndProc(m);
}
