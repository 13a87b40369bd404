#include "framework/controls/WinControl.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "framework/controls/ControlProperties.h"
#include "framework/core/Exception.h"
#include "framework/core/Unicode.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "framework/forms/Screen.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Font.h"

namespace {

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

// The control whose window CreateWindowEx is making right now; its first message binds it.
TWinControl* g_creating = nullptr;

// Native procedure behind each framework window class (in a struct: a template
// argument would drop the procedure's calling convention).
struct TNativeProc {
  WNDPROC Proc;
};
std::map<std::u16string, TNativeProc>& ClassProcs() {
  static std::map<std::u16string, TNativeProc> procs;
  return procs;
}

int NextControlId() {
  static int id = 1000;
  return ++id;
}

LPCWSTR W(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

}  // namespace

const std::u16string& ControlAtomName() {
  // On 64-bit the module handle is cut to its low 32 bits, as "%.8X" would print it.
  static const std::u16string name =
      u"ControlOfs" +
      IntToHex(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(ModuleInstance())), 8) +
      IntToHex(GetCurrentThreadId(), 8);
  return name;
}

ATOM ControlAtom() {
  static const ATOM atom = GlobalAddAtomW(W(ControlAtomName()));
  return atom;
}

TControl* ControlFromHandle(HWND window) { return TWinControl::FindControl(window); }

TWinControl* TWinControl::FindControl(HWND window) {
  if (window == nullptr) return nullptr;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropW(window, MAKEINTATOM(ControlAtom())));
}

LRESULT CALLBACK InitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = TWinControl::FindControl(window);
  if (control == nullptr) {
    control = g_creating;
    if (control == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
    g_creating = nullptr;
    control->AttachWindow(window);
  }
  return control->HandleNativeMessage(msg, wParam, lParam);
}

IMPLEMENT_CLASS_WITH_PROPERTIES(TWinControl) {
  p.Integer(u"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
  p.Boolean(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(new TBrush) {
  brush_->SetColor(Color());
}

void TWinControl::BeforeDestruction() {
  Destroying();
  if (TCustomForm* form = ParentForm(); form != nullptr && form != this)
    form->ControlDestroying(this);
  if (handle_ != nullptr) DestroyHandle();
  // A parent takes its children with it, whoever owns them.
  while (!controls_.empty()) controls_.back()->Free();
  TControl::BeforeDestruction();
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return handle_;
}

void TWinControl::HandleNeeded() {
  if (handle_ != nullptr) return;
  if (Parent() != nullptr) Parent()->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND window) {
  if (window == parentWindow_) return;
  parentWindow_ = window;
  if (handle_ != nullptr && Parent() == nullptr) ::SetParent(handle_, window);
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = text_;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if ((ControlStyle() & csAcceptsControls) != 0) p.Style |= WS_CLIPCHILDREN;
  if (visible_) p.Style |= WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (tabStop_) p.Style |= WS_TABSTOP;
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  p.WndParent = Parent() != nullptr ? Parent()->Handle() : parentWindow_;
  p.WinClassName = ClassName();
  p.WindowClass.cbSize = sizeof(WNDCLASSEXW);
  p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  p.WindowClass.lpfnWndProc = DefWindowProcW;
  p.WindowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
}

void TWinControl::CreateSubClass(TCreateParams& p, const char16_t* nativeClass) {
  static bool commonControls = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                              ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)commonControls;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(nullptr, reinterpret_cast<LPCWSTR>(nativeClass), &wc))
    throw EOutOfResources(u"Window class " + std::u16string(nativeClass) + u" is not available");
  p.WindowClass = wc;
  p.WindowClass.style &= ~CS_GLOBALCLASS;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) != 0 && p.WndParent == nullptr)
    throw EInvalidOperation(u"Control '" + Name() + u"' has no parent window");
  auto& procs = ClassProcs();
  auto known = procs.find(p.WinClassName);
  if (known == procs.end()) {
    WNDCLASSEXW wc = p.WindowClass;
    wc.cbSize = sizeof(wc);
    WNDPROC native = wc.lpfnWndProc != nullptr ? wc.lpfnWndProc : DefWindowProcW;
    wc.lpfnWndProc = InitWndProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = W(p.WinClassName);
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      RaiseLastOSError(u"Cannot register window class " + p.WinClassName);
    known = procs.emplace(p.WinClassName, TNativeProc{native}).first;
  }
  defWndProc_ = known->second.Proc;
  g_creating = this;
  try {
    CreateWindowHandle(p);
  } catch (...) {
    g_creating = nullptr;
    throw;
  }
  if (g_creating == this) g_creating = nullptr;
  if (handle_ == nullptr) RaiseLastOSError(u"Error creating window for " + ClassName());
  if (!NativeBackground()) return;
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  HMENU id = (p.Style & WS_CHILD) != 0 ? reinterpret_cast<HMENU>(static_cast<intptr_t>(NextControlId()))
                                       : nullptr;
  HWND window = CreateWindowExW(p.ExStyle, W(p.WinClassName), W(p.Caption), p.Style, p.X, p.Y,
                                p.Width, p.Height, p.WndParent, id, ModuleInstance(), p.Param);
  // The first message has bound it already; a window that took none still gets bound.
  if (window != nullptr && handle_ == nullptr) AttachWindow(window);
}

void TWinControl::AttachWindow(HWND window) {
  handle_ = window;
  SetPropW(window, MAKEINTATOM(ControlAtom()), this);
}

void TWinControl::DetachWindow() {
  if (handle_ == nullptr) return;
  RemovePropW(handle_, MAKEINTATOM(ControlAtom()));
  handle_ = nullptr;
}

void TWinControl::CreateHandle() {
  if (handle_ != nullptr) return;
  SetControlState(ControlState() | csCreating);
  try {
    CreateWnd();
  } catch (...) {
    SetControlState(ControlState() & ~csCreating);
    throw;
  }
  UpdateZOrder();
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = As<TWinControl>(c)) w->CreateHandle();
  SetControlState(ControlState() & ~csCreating);
  Realign();
}

void TWinControl::DestroyHandle() {
  if (handle_ == nullptr) return;
  SetControlState(ControlState() | csDestroyingHandle);
  for (TControl* c : controls_)
    if (auto* w = As<TWinControl>(c)) w->DestroyHandle();
  DestroyWnd();
  SetControlState(ControlState() & ~csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
  // What lives in the window must survive it.
  if (!IsDestroying()) text_ = GetText();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  HWND window = handle_;
  if (window == nullptr) return;
  DestroyWindow(window);
  // WM_NCDESTROY detached it; a window destroyed elsewhere still leaves nothing behind.
  if (handle_ == window) DetachWindow();
}

void TWinControl::RecreateWnd() {
  if (handle_ != nullptr) Perform(CM_RECREATEWND);
}

LRESULT TWinControl::HandleNativeMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  auto life = LifeToken();
  try {
    if (Application != nullptr) Application->PreviewMessage(this, m);
    TControl::WindowProc()(m);
  } catch (const std::exception& e) {
    ::HandleException(e);
  } catch (...) {
    ::HandleException(Exception(u"Unknown error"));
  }
  if (msg == WM_NCDESTROY && life->Alive) DetachWindow();
  return m.Result;
}

bool TWinControl::NativeBackground() const { return defWndProc_ != nullptr && defWndProc_ != DefWindowProcW; }

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: WMPaint(m); return;
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_SETCURSOR: WMSetCursor(m); return;
    case WM_SETFOCUS: WMFocus(m, true); return;
    case WM_KILLFOCUS: WMFocus(m, false); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); return;
    case WM_SIZE: DefaultHandler(m); Realign(); return;
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_MEASUREITEM:
    case WM_DELETEITEM: case WM_COMPAREITEM: case WM_HSCROLL: case WM_VSCROLL:
    case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORDLG: case WM_CHARTOITEM: case WM_VKEYTOITEM:
      if (ReflectToChild(m)) return;
      break;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: if (DoKeyDown(m)) return; break;
    case WM_KEYUP: case WM_SYSKEYUP: if (DoKeyUp(m)) return; break;
    case WM_CHAR: if (DoKeyPress(m)) return; break;
    case CN_KEYDOWN: case CN_SYSKEYDOWN: CNKeyDown(m); return;
    case CN_CHAR: CNChar(m); return;
    case CN_SYSCHAR: CNSysChar(m); return;
    case CN_CTLCOLORBTN: case CN_CTLCOLOREDIT: case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSCROLLBAR: case CN_CTLCOLORSTATIC: case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLORDLG:
      CNCtlColor(m); return;
    case CM_DIALOGKEY: CMDialogKey(m); return;
    case CM_DIALOGCHAR: CMDialogChar(m); return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_FOCUSCHANGED: Broadcast(m); return;
    case CM_RECREATEWND:
      if (handle_ != nullptr) {
        bool focused = Focused();
        SetControlState(ControlState() | csRecreating);
        DestroyHandle();
        SetControlState(ControlState() & ~csRecreating);
        HandleNeeded();
        if (focused) ::SetFocus(handle_);
      }
      return;
    case CM_VISIBLECHANGED:
      if (handle_ != nullptr)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
      return;
    case CM_ENABLEDCHANGED:
      if (handle_ != nullptr) EnableWindow(handle_, Enabled());
      Invalidate();
      return;
    case CM_COLORCHANGED: {
      brush_->SetColor(Color());
      TMessage n{CM_PARENTCOLORCHANGED, 0, 0, 0};
      for (TControl* c : std::vector<TControl*>(controls_)) c->WindowProc()(n);
      Invalidate();
      return;
    }
    case CM_FONTCHANGED: {
      if (handle_ != nullptr && NativeBackground())
        Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
      TMessage n{CM_PARENTFONTCHANGED, 0, 0, 0};
      for (TControl* c : std::vector<TControl*>(controls_)) c->WindowProc()(n);
      Invalidate();
      return;
    }
    case CM_SHOWHINTCHANGED: {
      TMessage n{CM_PARENTSHOWHINTCHANGED, 0, 0, 0};
      for (TControl* c : std::vector<TControl*>(controls_)) c->WindowProc()(n);
      return;
    }
    case CM_TEXTCHANGED: return;
  }
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL &&
      m.Msg != WM_MOUSEHWHEEL && ForwardToWindowless(m))
    return;
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (handle_ == nullptr) {
    TControl::DefaultHandler(m);
    return;
  }
  // Framework messages mean nothing to the native procedure.
  if (m.Msg >= CM_BASE && m.Msg < 0xC000) return;
  m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

bool TWinControl::ReflectToChild(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_COMMAND: child = reinterpret_cast<HWND>(m.LParam); break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom; break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (dis->CtlType != ODT_MENU) child = dis->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mis->CtlType != ODT_MENU && handle_ != nullptr) child = GetDlgItem(handle_, static_cast<int>(mis->CtlID));
      break;
    }
    case WM_DELETEITEM: child = reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->hwndItem; break;
    case WM_COMPAREITEM: child = reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->hwndItem; break;
    default: child = reinterpret_cast<HWND>(m.LParam); break;
  }
  if (child == nullptr || child == handle_) return false;
  TWinControl* control = FindControl(child);
  if (control == nullptr) return false;
  m.Result = control->Perform(m.Msg + CN_BASE, m.WParam, m.LParam);
  return true;
}

void TWinControl::CNCtlColor(TMessage& m) {
  auto dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  SetBkColor(dc, ColorToRGB(Color()));
  m.Result = reinterpret_cast<LRESULT>(brush_->Handle());
}

// --- children --------------------------------------------------------------------

void TWinControl::InsertControl(TControl* control) {
  if (control->parent_ == this) return;
  controls_.push_back(control);
  control->parent_ = this;
  auto* windowed = As<TWinControl>(control);
  if (windowed != nullptr) InsertTab(windowed);
  if (control->ParentFont()) control->Perform(CM_PARENTFONTCHANGED);
  if (control->ParentColor()) control->Perform(CM_PARENTCOLORCHANGED);
  if (control->ParentShowHint()) control->Perform(CM_PARENTSHOWHINTCHANGED);
  if (windowed != nullptr && handle_ != nullptr) {
    if (windowed->handle_ != nullptr) ::SetParent(windowed->handle_, handle_);
    else windowed->CreateHandle();
  }
  if (control->Align() != TAlign::alNone) Realign();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  control->Invalidate();
  if (captureControl_.Get() == control) captureControl_.Reset();
  if (auto* windowed = As<TWinControl>(control)) {
    if (TCustomForm* form = ParentForm(); form != nullptr) form->ControlDestroying(windowed);
    windowed->DestroyHandle();
    RemoveTab(windowed);
  }
  controls_.erase(std::find(controls_.begin(), controls_.end(), control));
  control->parent_ = nullptr;
  if (control->Align() != TAlign::alNone && !IsDestroying()) Realign();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c != nullptr; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    bool windowed = c->Is<TWinControl>();
    if (windowed && !allowWinControls) continue;
    if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
    if (!c->BoundsRect().Contains(p)) continue;
    TPoint local(p.X - c->Left(), p.Y - c->Top());
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(local.X, local.Y)) != 0) return c;
  }
  return nullptr;
}

void TWinControl::ReorderChild(TControl* control, bool toFront) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  controls_.erase(it);
  controls_.insert(toFront ? controls_.end() : controls_.begin(), control);
  auto* windowed = As<TWinControl>(control);
  if (windowed != nullptr && windowed->handle_ != nullptr)
    SetWindowPos(windowed->handle_, toFront ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  control->Invalidate();
}

void TWinControl::Broadcast(TMessage& m) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    c->WindowProc()(m);
    if (m.Result != 0) return;
  }
}

bool TWinControl::ForwardToWindowless(TMessage& m) {
  TControl* target = nullptr;
  if (Application != nullptr) {
    TControl* captured = Application->CaptureControl();
    if (captured != nullptr && captured != this && captured->Parent() == this) target = captured;
  }
  TPoint p(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
  if (target == nullptr) {
    if (Application != nullptr && Application->CaptureControl() == this) return false;
    target = ControlAtPos(p, false);
  }
  if (target == nullptr) return false;
  m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(p.X - target->Left(), p.Y - target->Top()));
  return true;
}

// --- tab order and focus -----------------------------------------------------------

void TWinControl::InsertTab(TWinControl* child) { tabList_.push_back(child); }

void TWinControl::RemoveTab(TWinControl* child) {
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), child), tabList_.end());
}

int TWinControl::TabOrder() const {
  if (Parent() == nullptr) return -1;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (Parent() == nullptr) return;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool v) {
  if (v == tabStop_) return;
  tabStop_ = v;
  if (handle_ != nullptr) {
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    SetWindowLongPtrW(handle_, GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

bool TWinControl::CanFocus() const {
  TCustomForm* form = ParentForm();
  if (form == nullptr) return false;
  for (const TControl* c = this; c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ != nullptr && GetFocus() == handle_; }

void TWinControl::SetFocus() {
  TCustomForm* form = ParentForm();
  if (form != nullptr && form != this) {
    form->FocusControl(this);
    return;
  }
  if (::SetFocus(Handle()) == nullptr && GetFocus() != handle_)
    throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
}

void TWinControl::WMFocus(TMessage& m, bool gained) {
  DefaultHandler(m);
  if (!gained) return;
  if (TCustomForm* form = ParentForm(); form != nullptr) form->SetFocusedControl(this);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// --- keyboard ------------------------------------------------------------------------

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char16_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

static TShiftState KeyDataToShift(LPARAM keyData) {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if ((keyData & 0x20000000) != 0) s |= ssAlt;
  return s;
}

bool TWinControl::DoKeyDown(TMessage& m) {
  TCustomForm* form = ParentForm();
  if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyDown(m)) return true;
  if ((ControlStyle() & csNoStdEvents) != 0) return false;
  WORD key = static_cast<WORD>(m.WParam);
  KeyDown(key, KeyDataToShift(m.LParam));
  if (key == 0) return true;
  m.WParam = key;
  return false;
}

bool TWinControl::DoKeyUp(TMessage& m) {
  TCustomForm* form = ParentForm();
  if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyUp(m)) return true;
  if ((ControlStyle() & csNoStdEvents) != 0) return false;
  WORD key = static_cast<WORD>(m.WParam);
  KeyUp(key, KeyDataToShift(m.LParam));
  if (key == 0) return true;
  m.WParam = key;
  return false;
}

bool TWinControl::DoKeyPress(TMessage& m) {
  TCustomForm* form = ParentForm();
  if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyPress(m)) return true;
  if ((ControlStyle() & csNoStdEvents) != 0) return false;
  auto key = static_cast<char16_t>(m.WParam);
  KeyPress(key);
  if (key == 0) return true;
  m.WParam = key;
  return false;
}

void TWinControl::CNKeyDown(TMessage& m) {
  m.Result = 1;
  TCustomForm* form = ParentForm();
  if (form != nullptr && form->IsShortCut(static_cast<WORD>(m.WParam), KeyDataToShift(m.LParam))) return;
  if (m.Msg == CN_KEYDOWN) {
    LRESULT mask = 0;
    switch (m.WParam) {
      case VK_TAB: mask = DLGC_WANTTAB; break;
      case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
      case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    }
    if (mask != 0 && (Perform(WM_GETDLGCODE) & (mask | DLGC_WANTALLKEYS)) == 0 && form != nullptr &&
        form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0)
      return;
  }
  m.Result = 0;
}

void TWinControl::CNChar(TMessage& m) {
  m.Result = 1;
  TCustomForm* form = ParentForm();
  if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0 && form != nullptr &&
      form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
    return;
  m.Result = 0;
}

void TWinControl::CNSysChar(TMessage& m) {
  m.Result = 1;
  TCustomForm* form = ParentForm();
  if (form != nullptr && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) return;
  m.Result = 0;
}

// --- painting ------------------------------------------------------------------------

void TWinControl::WMPaint(TMessage& m) {
  bool hasWindowless = std::any_of(controls_.begin(), controls_.end(),
                                   [](TControl* c) { return !c->Is<TWinControl>(); });
  if (NativeBackground() && !hasWindowless && (ControlState() & csCustomPaint) == 0) {
    DefaultHandler(m);
    return;
  }
  PaintHandler(m);
}

void TWinControl::PaintHandler(TMessage& m) {
  auto dc = reinterpret_cast<HDC>(m.WParam);
  PAINTSTRUCT ps{};
  if (dc == nullptr) dc = BeginPaint(handle_, &ps);
  int saved = SaveDC(dc);
  for (TControl* c : controls_) {
    if (c->Is<TWinControl>() || !c->Visible() || (c->ControlStyle() & csOpaque) == 0) continue;
    ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
  }
  RECT clip;
  if (GetClipBox(dc, &clip) != NULLREGION) PaintWindow(dc);
  RestoreDC(dc, saved);
  PaintControls(dc, nullptr);
  if (m.WParam == 0) EndPaint(handle_, &ps);
  m.Result = 0;
}

void TWinControl::PaintWindow(HDC dc) {
  if (!NativeBackground()) return;
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = controls_.begin();
  if (first != nullptr) {
    auto at = std::find(controls_.begin(), controls_.end(), first);
    if (at != controls_.end()) it = at;
  }
  RECT clip;
  GetClipBox(dc, &clip);
  TRect clipRect(clip);
  for (; it != controls_.end(); ++it) {
    TControl* c = *it;
    if (c->Is<TWinControl>() || !c->Visible()) continue;
    if (!c->BoundsRect().Intersects(clipRect)) continue;
    int saved = SaveDC(dc);
    POINT origin;
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), &origin);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
  if (NativeBackground()) {
    DefaultHandler(m);
    return;
  }
  // As on an unthemed platform, the control's own colour, ParentBackground or not.
  RECT r = ClientRect().ToRECT();
  FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_->Handle());
  m.Result = 1;
}

void TWinControl::SetParentBackground(bool v) {
  uint32_t style = ControlStyle();
  if (((style & csParentBackground) != 0) == v) return;
  SetControlStyle(v ? (style | csParentBackground) : (style & ~csParentBackground));
  Invalidate();
}

void TWinControl::WMSetCursor(TMessage& m) {
  if (reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT) {
    TCursor cursor = Screen != nullptr ? Screen->Cursor() : TCursor{crDefault};
    if (cursor == crDefault) {
      POINT pt;
      GetCursorPos(&pt);
      ::ScreenToClient(handle_, &pt);
      TControl* c = ControlAtPos(TPoint(pt.x, pt.y), false);
      cursor = c != nullptr ? c->Cursor() : TCursor{crDefault};
      if (cursor == crDefault) cursor = Cursor();
    }
    if (cursor != crDefault && Screen != nullptr) {
      ::SetCursor(Screen->Cursors(cursor));
      m.Result = 1;
      return;
    }
  }
  DefaultHandler(m);
}

void TWinControl::Invalidate() {
  if (handle_ != nullptr) ::InvalidateRect(handle_, nullptr, (ControlStyle() & csOpaque) == 0);
}

void TWinControl::Update() {
  if (handle_ != nullptr) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

bool TWinControl::Showing() const {
  if (handle_ == nullptr || !visible_) return false;
  return IsWindowVisible(handle_) != FALSE;
}

void TWinControl::SetParent(TWinControl* parent) { TControl::SetParent(parent); }

void TWinControl::FontChanged() { TControl::FontChanged(); }

std::u16string TWinControl::GetText() const { return TControl::GetText(); }

// --- bounds and alignment --------------------------------------------------------------

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (handle_ == nullptr) {
    TControl::SetBounds(left, top, width, height);
    return;
  }
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  // WM_WINDOWPOSCHANGED took the new values; a window the platform refused to move
  // keeps its own, and the control follows it.
  UpdateBoundsFromWindow();
  RequestAlign();
}

void TWinControl::BoundsChanged() {}

void TWinControl::WMWindowPosChanged(TMessage& m) {
  int oldWidth = width_, oldHeight = height_;
  UpdateBoundsFromWindow();
  DefaultHandler(m);
  if (width_ != oldWidth || height_ != oldHeight) Resize();
}

void TWinControl::UpdateBoundsFromWindow() {
  if (handle_ == nullptr) return;
  RECT r;
  GetWindowRect(handle_, &r);
  HWND parent = GetAncestor(handle_, GA_PARENT);
  if ((GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD) != 0 && parent != nullptr)
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
}

void TWinControl::UpdateZOrder() {
  // Siblings created earlier lie below: the window goes on top of the last one before it.
  if (Parent() == nullptr || handle_ == nullptr) return;
  HWND after = HWND_TOP;
  for (TControl* c : Parent()->controls_) {
    if (c == this) break;
    if (auto* w = As<TWinControl>(c); w != nullptr && w->handle_ != nullptr) after = w->handle_;
  }
  if (after == HWND_TOP) {
    SetWindowPos(handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  // SetWindowPos places a window below hWndInsertAfter; go below the next one up instead.
  HWND above = GetWindow(after, GW_HWNDPREV);
  SetWindowPos(handle_, above != nullptr ? above : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TRect TWinControl::ClientRect() const {
  if (handle_ == nullptr) return TControl::ClientRect();
  RECT r;
  GetClientRect(handle_, &r);
  return TRect(r);
}

TPoint TWinControl::ClientOrigin() const {
  if (handle_ == nullptr) return TControl::ClientOrigin();
  POINT p{0, 0};
  ::ClientToScreen(handle_, &p);
  return TPoint(p.x, p.y);
}

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() {
  if (alignDisabled_ > 0 || (ControlState() & (csAligning | csCreating)) != 0 || IsDestroying()) {
    alignPending_ = true;
    return;
  }
  alignPending_ = false;
  SetControlState(ControlState() | csAligning);
  TRect r = ClientRect();
  AdjustClientRect(r);
  AlignControls(nullptr, r);
  SetControlState(ControlState() & ~csAligning);
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
  static const TAlign order[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                                 TAlign::alClient};
  for (TAlign align : order) {
    std::vector<TControl*> group;
    for (TControl* c : controls_)
      if (c->Align() == align && c->Visible()) group.push_back(c);
    // Earlier position first along the alignment edge; ties keep the list order.
    std::stable_sort(group.begin(), group.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case TAlign::alTop: return a->Top() < b->Top();
        case TAlign::alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case TAlign::alLeft: return a->Left() < b->Left();
        case TAlign::alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
      }
    });
    for (TControl* c : group) {
      int w = c->Width(), h = c->Height();
      switch (align) {
        case TAlign::alTop:
          c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
          rect.Top += c->Height();
          break;
        case TAlign::alBottom:
          c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
          rect.Bottom -= c->Height();
          break;
        case TAlign::alLeft:
          c->SetBounds(rect.Left, rect.Top, w, rect.Height());
          rect.Left += c->Width();
          break;
        case TAlign::alRight:
          c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
          rect.Right -= c->Width();
          break;
        default:
          c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
          break;
      }
      if (rect.Bottom < rect.Top) rect.Bottom = rect.Top;
      if (rect.Right < rect.Left) rect.Right = rect.Left;
    }
  }
}
