#include "framework/forms/CustomForm.h"

#include <algorithm>

#include "framework/controls/ControlProperties.h"
#include "framework/core/Exception.h"
#include "framework/forms/Application.h"
#include "framework/forms/Screen.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Font.h"
#include "framework/menus/MainMenu.h"
#include "framework/menus/Menu.h"
#include "framework/menus/PopupMenu.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomForm) {
  PublishCaption(p);
  PublishColor(p);
  PublishFont(p);
  p.Enum<TFormBorderStyle>(u"BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle);
  p.Set<TBorderIcon>(u"BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons);
  p.Enum<TPosition>(u"Position", &TCustomForm::Position, &TCustomForm::SetPosition);
  p.Enum<TFormStyle>(u"FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle);
  p.Enum<TWindowState>(u"WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState);
  p.Object<TMainMenu>(u"Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
  p.Boolean(u"KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview);
  p.Boolean(u"AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll);
  p.Integer(u"ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth);
  p.Integer(u"ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight);
}
IMPLEMENT_CLASS(TForm)

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner) {
  visible_ = false;
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetColor(clBtnFace);
  SetParentFont(false);
  Font()->SetName(u"MS Sans Serif");
  Font()->SetHeight(-11);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
  if (Screen != nullptr) Screen->AddForm(this);
}

void TCustomForm::BeforeDestruction() {
  Destroying();
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (const std::exception& e) {
      ::HandleException(e);
    }
  }
  if (Screen != nullptr) {
    Screen->RemoveForm(this);
    if (Screen->ActiveForm() == this) Screen->SetActiveForm(nullptr);
  }
  TScrollingWinControl::BeforeDestruction();
}

bool TCustomForm::IsMainForm() const { return Application != nullptr && Application->MainForm() == this; }

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(uint32_t icons) {
  if (icons == borderIcons_) return;
  borderIcons_ = icons;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (style == formStyle_) return;
  formStyle_ = style;
  if (HandleAllocated())
    SetWindowPos(Handle(), style == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const {
  if (!HandleAllocated()) return windowState_;
  HWND h = const_cast<TCustomForm*>(this)->Handle();
  if (IsIconic(h)) return TWindowState::wsMinimized;
  if (IsZoomed(h)) return TWindowState::wsMaximized;
  return TWindowState::wsNormal;
}

void TCustomForm::SetWindowState(TWindowState state) {
  windowState_ = state;
  if (!HandleAllocated() || !Visible()) return;
  static const int commands[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
  ShowWindow(Handle(), commands[static_cast<int>(state)]);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_.Get()) return;
  menu_ = menu;
  if (HandleAllocated()) {
    ::SetMenu(Handle(), menu != nullptr ? menu->Handle() : nullptr);
    Perform(CM_MENUCHANGED);
  }
}

void TCustomForm::MenuChanged() {
  if (!HandleAllocated()) return;
  if (TMainMenu* menu = Menu()) {
    if (GetMenu(Handle()) != menu->Handle()) ::SetMenu(Handle(), menu->Handle());
    DrawMenuBar(Handle());
  }
  Perform(CM_MENUCHANGED);
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TScrollingWinControl::CreateParams(p);
  if (Parent() != nullptr) return;
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (!Enabled()) p.Style |= WS_DISABLED;
  p.ExStyle = 0;
  bool caption = true;
  switch (borderStyle_) {
    case TFormBorderStyle::bsNone:
      p.Style |= WS_POPUP;
      caption = false;
      break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow:
      p.Style |= WS_CAPTION | WS_BORDER;
      break;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin:
      p.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case TFormBorderStyle::bsDialog:
      p.Style |= WS_POPUP | WS_CAPTION;
      p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (caption) {
    if ((borderIcons_ & biSystemMenuBit) != 0) p.Style |= WS_SYSMENU;
    bool dialog = borderStyle_ == TFormBorderStyle::bsDialog ||
                  borderStyle_ == TFormBorderStyle::bsToolWindow ||
                  borderStyle_ == TFormBorderStyle::bsSizeToolWin;
    if (!dialog && (borderIcons_ & biMinimizeBit) != 0) p.Style |= WS_MINIMIZEBOX;
    if (!dialog && (borderIcons_ & biMaximizeBit) != 0) p.Style |= WS_MAXIMIZEBOX;
  }
  if (borderStyle_ == TFormBorderStyle::bsToolWindow || borderStyle_ == TFormBorderStyle::bsSizeToolWin)
    p.ExStyle |= WS_EX_TOOLWINDOW;
  if (formStyle_ == TFormStyle::fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
  // The hidden application window owns every form; the main form still gets the
  // taskbar button.
  if (Application != nullptr) p.WndParent = Application->Handle();
  if (IsMainForm()) p.ExStyle |= WS_EX_APPWINDOW;
  p.WindowClass.style = CS_DBLCLKS;
  p.WindowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), reinterpret_cast<LPCWSTR>(u"MAINICON"));
  PlaceWindow(p);
}

void TCustomForm::PlaceWindow(TCreateParams& p) const {
  // Client size set before the window exists is honoured for the final style.
  if (clientWidth_ >= 0 && clientHeight_ >= 0) {
    RECT r{0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&r, p.Style, Menu() != nullptr, p.ExStyle);
    p.Width = r.right - r.left;
    p.Height = r.bottom - r.top;
  }
  int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  switch (position_) {
    case TPosition::poScreenCenter:
      p.X = (screenW - p.Width) / 2;
      p.Y = (screenH - p.Height) / 2;
      break;
    case TPosition::poDesktopCenter:
      p.X = GetSystemMetrics(SM_XVIRTUALSCREEN) + (GetSystemMetrics(SM_CXVIRTUALSCREEN) - p.Width) / 2;
      p.Y = GetSystemMetrics(SM_YVIRTUALSCREEN) + (GetSystemMetrics(SM_CYVIRTUALSCREEN) - p.Height) / 2;
      break;
    case TPosition::poMainFormCenter:
    case TPosition::poOwnerFormCenter:
      if (Application != nullptr && Application->MainForm() != nullptr && Application->MainForm() != this) {
        TCustomForm* main = Application->MainForm();
        p.X = main->Left() + (main->Width() - p.Width) / 2;
        p.Y = main->Top() + (main->Height() - p.Height) / 2;
      } else {
        p.X = (screenW - p.Width) / 2;
        p.Y = (screenH - p.Height) / 2;
      }
      break;
    case TPosition::poDefault:
    case TPosition::poDefaultPosOnly:
      p.X = CW_USEDEFAULT;
      p.Y = CW_USEDEFAULT;
      break;
    default:
      break;
  }
}

void TCustomForm::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  clientWidth_ = clientHeight_ = -1;
  if (TMainMenu* menu = Menu()) {
    ::SetMenu(Handle(), menu->Handle());
    Perform(CM_MENUCHANGED);
  }
}

void TCustomForm::SetClientSize(int width, int height) {
  if (!HandleAllocated()) {
    // The frame is known once the style is: keep the wish until the window is made.
    clientWidth_ = width;
    clientHeight_ = height;
    TCreateParams p;
    CreateParams(p);
    SetBounds(p.X == CW_USEDEFAULT ? Left() : p.X, p.Y == CW_USEDEFAULT ? Top() : p.Y, p.Width, p.Height);
    clientWidth_ = width;
    clientHeight_ = height;
    return;
  }
  RECT r{0, 0, width, height};
  HWND h = Handle();
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)), GetMenu(h) != nullptr,
                     static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)));
  SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void TCustomForm::DoCreate() {
  try {
    if (OnCreate) OnCreate(this);
  } catch (const std::exception& e) {
    ::HandleException(e);
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) {
    BringWindowToTop(Handle());
  }
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case WM_ACTIVATE: WMActivate(m); return;
    case WM_ACTIVATEAPP:
      if (Application != nullptr) Application->Activate(m.WParam != 0);
      break;
    case WM_CLOSE: Close(); return;
    case CM_RELEASE:
      if (Application != nullptr) Application->ReleaseForm(this);
      return;
    case WM_COMMAND:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
    case WM_MENUSELECT:
      if (DispatchMenuMessage(m)) return;
      break;
    case WM_DRAWITEM:
      if (reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->CtlType == ODT_MENU && DispatchMenuMessage(m)) return;
      break;
    case WM_MEASUREITEM:
      if (reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlType == ODT_MENU && DispatchMenuMessage(m)) return;
      break;
  }
  TScrollingWinControl::WndProc(m);
}

void TCustomForm::CMVisibleChanged(TMessage& m) {
  if (Parent() != nullptr) {
    TScrollingWinControl::WndProc(m);
    return;
  }
  if (Visible()) {
    formState_ |= fsVisible;
    try {
      if (OnShow) OnShow(this);
    } catch (const std::exception& e) {
      ::HandleException(e);
    }
    HWND h = Handle();
    static const int commands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    bool first = (formState_ & fsShown) == 0;
    formState_ |= fsShown;
    ShowWindow(h, first ? commands[static_cast<int>(windowState_)] : SW_SHOW);
  } else {
    formState_ &= ~fsVisible;
    try {
      if (OnHide) OnHide(this);
    } catch (const std::exception& e) {
      ::HandleException(e);
    }
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  }
}

void TCustomForm::WMActivate(TMessage& m) {
  SetActive(LOWORD(m.WParam) != WA_INACTIVE);
  m.Result = 0;
}

void TCustomForm::SetActive(bool active) {
  active_ = active;
  if (active) {
    if (Screen != nullptr) Screen->SetActiveForm(this);
    TWinControl* target = ActiveControl();
    if (target == nullptr || !target->CanFocus()) {
      std::vector<TWinControl*> list;
      GetTabOrderList(list);
      target = nullptr;
      for (TWinControl* c : list)
        if (c->TabStop() && c->CanFocus()) {
          target = c;
          break;
        }
    }
    if (target != nullptr && target->HandleAllocated()) ::SetFocus(target->Handle());
    else if (HandleAllocated()) ::SetFocus(Handle());
    try {
      if (OnActivate) OnActivate(this);
    } catch (const std::exception& e) {
      ::HandleException(e);
    }
  } else {
    try {
      if (OnDeactivate) OnDeactivate(this);
    } catch (const std::exception& e) {
      ::HandleException(e);
    }
  }
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control != nullptr && (!ContainsControl(control) || !control->CanFocus()))
    throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
  FocusControl(control);
}

void TCustomForm::FocusControl(TWinControl* control) {
  activeControl_ = control;
  if (control != nullptr && active_ && control->HandleAllocated() && control->CanFocus())
    ::SetFocus(control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  TWinControl* previous = focusedControl_.Get();
  if (control == this) control = nullptr;
  if (previous == control) return;
  focusedControl_ = control;
  if (control != nullptr) activeControl_ = control;
  if (previous != nullptr) previous->Perform(CM_EXIT);
  if (control != nullptr && focusedControl_.Get() == control) control->Perform(CM_ENTER);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlDestroying(TWinControl* control) {
  if (TWinControl* a = activeControl_.Get(); a != nullptr && control->ContainsControl(a)) activeControl_.Reset();
  if (TWinControl* f = focusedControl_.Get(); f != nullptr && control->ContainsControl(f)) focusedControl_.Reset();
}

void TCustomForm::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return;
  auto at = std::find(list.begin(), list.end(), current);
  int n = static_cast<int>(list.size());
  int start = at == list.end() ? (forward ? n - 1 : 0) : static_cast<int>(at - list.begin());
  for (int step = 1; step <= n; ++step) {
    int i = ((start + (forward ? step : -step)) % n + n) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if ((!checkTabStop || c->TabStop()) && c->CanFocus()) {
      c->SetFocus();
      return;
    }
  }
}

void TCustomForm::CMDialogKey(TMessage& m) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (m.WParam) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(ActiveControl(), GetKeyState(VK_SHIFT) >= 0, true);
          m.Result = 1;
          return;
        }
        break;
    }
  }
  TScrollingWinControl::CMDialogKey(m);
}

bool TCustomForm::IsShortCut(WORD key, TShiftState shift) {
  if (TMainMenu* menu = Menu(); menu != nullptr && menu->IsShortCut(key, shift)) return true;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* menu = As<TMenu>(Components(i)); menu != nullptr && menu->IsShortCut(key, shift)) return true;
  return false;
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if ((formState_ & fsModal) != 0) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (IsMainForm()) {
    if (Application != nullptr) Application->Terminate();
    return;
  }
  switch (action) {
    case TCloseAction::caHide: Hide(); break;
    case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); break;
    case TCloseAction::caFree: Release(); break;
    default: break;
  }
}

void TCustomForm::Release() {
  if (HandleAllocated()) PostMessageW(Handle(), CM_RELEASE, 0, 0);
  else if (Application != nullptr) Application->ReleaseForm(this);
}

void TCustomForm::CloseModal() {
  TCloseAction action = TCloseAction::caHide;
  if (!CloseQuery()) {
    modalResult_ = mrNone;
    return;
  }
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) modalResult_ = mrNone;
}

namespace {
struct DisabledWindows {
  HWND except;
  std::vector<HWND> windows;
};
BOOL CALLBACK DisableOther(HWND window, LPARAM data) {
  auto* d = reinterpret_cast<DisabledWindows*>(data);
  if (window != d->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    d->windows.push_back(window);
  }
  return TRUE;
}
}  // namespace

int TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || (formState_ & fsModal) != 0)
    throw EInvalidOperation(u"Cannot make a visible window modal");
  if (GetCapture() != nullptr) ReleaseCapture();
  HWND previousActive = GetActiveWindow();
  DisabledWindows disabled{Handle(), {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOther, reinterpret_cast<LPARAM>(&disabled));
  formState_ |= fsModal;
  modalResult_ = mrNone;
  auto life = LifeToken();
  try {
    Show();
    if (Application != nullptr) Application->EnterLoop();
    while (life->Alive) {
      if (Application != nullptr) {
        Application->HandleMessage();
        if (Application->Terminated()) modalResult_ = mrCancel;
      }
      if (modalResult_ != mrNone) {
        CloseModal();
        if (modalResult_ != mrNone) break;
      }
    }
    if (Application != nullptr) Application->LeaveLoop();
  } catch (...) {
    if (Application != nullptr) Application->LeaveLoop();
    for (HWND w : disabled.windows) EnableWindow(w, TRUE);
    if (life->Alive) formState_ &= ~fsModal;
    throw;
  }
  for (HWND w : disabled.windows) EnableWindow(w, TRUE);
  if (!life->Alive) return mrCancel;
  Hide();
  formState_ &= ~fsModal;
  if (previousActive != nullptr && IsWindow(previousActive)) SetActiveWindow(previousActive);
  return modalResult_;
}
