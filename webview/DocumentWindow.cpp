#include "webview/DocumentWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/core/Property.h"
#include "framework/forms/CustomForm.h"
#include "webview/HtmlDocument.h"
#include "webview/WebView.h"

namespace {

enum : UINT { kCopy = 1, kSelectAll = 2 };

// Pixels the pointer may move before a press becomes a drag (and no longer a click).
constexpr int kDragSlop = 3;

}  // namespace

IMPLEMENT_CLASS(TDocumentWindow)

TDocumentWindow::TDocumentWindow(TWebView* view) : TWinControl(view), view_(view) {
  SetControlStyle(ControlStyle() | csOpaque | csCaptureMouse);
  SetTabStop(true);
  SetAlign(TAlign::alClient);
  SetParent(view);
}

void TDocumentWindow::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClassName = u"Internet Explorer_Server";
  p.Style |= WS_VSCROLL | WS_HSCROLL;
  p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
  p.WindowClass.style |= CS_DBLCLKS;
}

void TDocumentWindow::DestroyWnd() {
  buffer_.Reset();
  bufferWidth_ = bufferHeight_ = 0;
  barV_ = barH_ = false;
  TWinControl::DestroyWnd();
}

void TDocumentWindow::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_SIZE: TWinControl::WndProc(m); WMSize(m); return;
    case WM_VSCROLL: WMScroll(m, SB_VERT); return;
    case WM_HSCROLL: WMScroll(m, SB_HORZ); return;
    case WM_MOUSEWHEEL: WMMouseWheel(m, false); return;
    case WM_MOUSEHWHEEL: WMMouseWheel(m, true); return;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: WMLButtonDown(m); TWinControl::WndProc(m); return;
    case WM_MOUSEMOVE: WMMouseMove(m); TWinControl::WndProc(m); return;
    case WM_LBUTTONUP: WMLButtonUp(m); TWinControl::WndProc(m); return;
    case WM_RBUTTONDOWN: if (HandleAllocated()) ::SetFocus(Handle()); break;
    case WM_MOUSELEAVE: WMMouseLeave(m); return;
    case WM_SETCURSOR: WMSetCursor(m); return;
    case WM_CONTEXTMENU: WMContextMenu(m); return;
    case WM_KEYDOWN: WMKeyDown(m); return;
    case WM_GETDLGCODE: WMGetDlgCode(m); return;
    case WM_CAPTURECHANGED: WMCaptureChanged(m); return;
  }
  TWinControl::WndProc(m);
}

// --- layout and scrolling ---------------------------------------------------------------

void TDocumentWindow::DocumentChanged(bool keepScroll) {
  if (!keepScroll) scrollX_ = scrollY_ = 0;
  wheelRest_ = 0;
  dragging_ = false;
  UpdateLayout();
  Invalidate();
}

void TDocumentWindow::UpdateLayout() {
  if (!HandleAllocated() || inLayout_) return;
  THtmlDocument& doc = view_->Document();
  RECT outer;
  GetWindowRect(Handle(), &outer);
  int width = outer.right - outer.left, height = outer.bottom - outer.top;
  bool allowBars = (view_->HostFlags() & HostFlagNoScrollBars) == 0;
  int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
  // Start from the bars of the last layout: a resize rarely changes them, and each try is a
  // whole layout of the page.
  bool needV = allowBars && barV_, needH = allowBars && barH_;
  for (int pass = 0; pass < 3; ++pass) {
    int w = std::max(width - (needV ? cx : 0), 1), h = std::max(height - (needH ? cy : 0), 1);
    doc.Layout(w, h);
    bool v = allowBars && doc.Height() > h, hz = allowBars && doc.Width() > w;
    if (v == needV && hz == needH) break;
    // The third try keeps what the second found: content that fits only without a bar
    // would otherwise make the bars blink.
    if (pass == 2) break;
    needV = v;
    needH = hz;
  }
  inLayout_ = true;
  int clientW = std::max(width - (needV ? cx : 0), 0), clientH = std::max(height - (needH ? cy : 0), 0);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = needV ? doc.Height() - 1 : 0;
  si.nPage = needV ? static_cast<UINT>(clientH) : 0;
  scrollY_ = needV ? std::clamp(scrollY_, 0, std::max(doc.Height() - clientH, 0)) : 0;
  si.nPos = scrollY_;
  SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
  si.nMax = needH ? doc.Width() - 1 : 0;
  si.nPage = needH ? static_cast<UINT>(clientW) : 0;
  scrollX_ = needH ? std::clamp(scrollX_, 0, std::max(doc.Width() - clientW, 0)) : 0;
  si.nPos = scrollX_;
  SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
  barV_ = needV;
  barH_ = needH;
  inLayout_ = false;
}

void TDocumentWindow::ClampScroll() {
  TRect client = ClientRect();
  THtmlDocument& doc = view_->Document();
  scrollX_ = std::clamp(scrollX_, 0, std::max(doc.Width() - client.Width(), 0));
  scrollY_ = std::clamp(scrollY_, 0, std::max(doc.Height() - client.Height(), 0));
}

void TDocumentWindow::ScrollTo(int x, int y) {
  int oldX = scrollX_, oldY = scrollY_;
  scrollX_ = x;
  scrollY_ = y;
  ClampScroll();
  if (scrollX_ == oldX && scrollY_ == oldY) return;
  if (HandleAllocated()) {
    SetScrollPos(Handle(), SB_HORZ, scrollX_, TRUE);
    SetScrollPos(Handle(), SB_VERT, scrollY_, TRUE);
  }
  Invalidate();
}

void TDocumentWindow::WMSize(TMessage&) {
  if (inLayout_) return;
  UpdateLayout();
  Invalidate();
}

void TDocumentWindow::WMScroll(TMessage& m, int bar) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(Handle(), bar, &si);
  int pos = bar == SB_VERT ? scrollY_ : scrollX_;
  int page = static_cast<int>(si.nPage);
  switch (LOWORD(m.WParam)) {
    case SB_LINEUP: pos -= LineHeight(); break;
    case SB_LINEDOWN: pos += LineHeight(); break;
    case SB_PAGEUP: pos -= std::max(page - LineHeight(), LineHeight()); break;
    case SB_PAGEDOWN: pos += std::max(page - LineHeight(), LineHeight()); break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: break;
  }
  if (bar == SB_VERT) ScrollTo(scrollX_, pos);
  else ScrollTo(pos, scrollY_);
  m.Result = 0;
}

void TDocumentWindow::WMMouseWheel(TMessage& m, bool horizontal) {
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  if (lines == 0 || lines > 100) lines = 3;
  wheelRest_ += GET_WHEEL_DELTA_WPARAM(m.WParam);
  int notches = wheelRest_ / WHEEL_DELTA;
  wheelRest_ -= notches * WHEEL_DELTA;
  // 19 pixels: one line of the default 16-pixel text.
  int by = notches * static_cast<int>(lines) * 19;
  if (horizontal) ScrollTo(scrollX_ + by, scrollY_);
  else ScrollTo(scrollX_, scrollY_ - by);
  m.Result = 0;
}

// --- painting ------------------------------------------------------------------------------

void TDocumentWindow::WMPaint(TMessage& m) {
  PAINTSTRUCT ps{};
  HDC dc = m.WParam != 0 ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  RECT area = m.WParam != 0 ? client : ps.rcPaint;
  int w = client.right, h = client.bottom;
  if (w > 0 && h > 0) {
    if (!buffer_ || bufferWidth_ < w || bufferHeight_ < h) {
      bufferWidth_ = std::max(w, bufferWidth_);
      bufferHeight_ = std::max(h, bufferHeight_);
      buffer_.Reset(CreateCompatibleBitmap(dc, bufferWidth_, bufferHeight_));
    }
    TScopedMemoryDC memory(buffer_.Get(), dc);
    view_->PaintPage(memory.Get(), TRect(area), scrollX_, scrollY_);
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory.Get(), area.left, area.top,
           SRCCOPY);
  }
  if (m.WParam == 0) EndPaint(Handle(), &ps);
  m.Result = 0;
}

// --- mouse ---------------------------------------------------------------------------------

bool TDocumentWindow::Selectable() const { return (view_->HostFlags() & HostFlagNoTextSelect) == 0; }

void TDocumentWindow::WMLButtonDown(TMessage& m) {
  if (HandleAllocated() && GetFocus() != Handle()) ::SetFocus(Handle());
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  TPoint d = ToDocument(x, y);
  THtmlDocument& doc = view_->Document();
  dragging_ = true;
  dragMoved_ = false;
  dragStart_ = TPoint(x, y);
  bool hadSelection = doc.HasSelection();
  if (Selectable()) {
    if ((m.WParam & MK_SHIFT) != 0 && hadSelection) doc.ExtendSelection(d.X, d.Y);
    else doc.StartSelection(d.X, d.Y);
  }
  if (doc.LButtonDown(d.X, d.Y, x, y) || hadSelection) Invalidate();
}

void TDocumentWindow::WMMouseMove(TMessage& m) {
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  THtmlDocument& doc = view_->Document();
  if (!tracking_ && HandleAllocated()) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
    tracking_ = TrackMouseEvent(&tme) != FALSE;
  }
  if (dragging_ && (m.WParam & MK_LBUTTON) != 0) {
    if (std::abs(x - dragStart_.X) > kDragSlop || std::abs(y - dragStart_.Y) > kDragSlop) dragMoved_ = true;
    if (dragMoved_ && Selectable()) {
      // Dragging past the edge scrolls the page along.
      TRect client = ClientRect();
      if (y < 0) ScrollTo(scrollX_, scrollY_ + y);
      else if (y > client.Bottom) ScrollTo(scrollX_, scrollY_ + (y - client.Bottom));
      TPoint d = ToDocument(x, y);
      doc.ExtendSelection(d.X, d.Y);
      Invalidate();
    }
  }
  UpdateCursor(x, y);
}

void TDocumentWindow::UpdateCursor(int x, int y) {
  TPoint d = ToDocument(x, y);
  if (view_->Document().MouseMove(d.X, d.Y, x, y)) Invalidate();
  bool hand = view_->Document().Container().Cursor() == "pointer";
  ::SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
}

void TDocumentWindow::WMLButtonUp(TMessage& m) {
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  THtmlDocument& doc = view_->Document();
  // The capture may have gone already (WM_CAPTURECHANGED): the move decides.
  bool dragged = dragMoved_;
  dragging_ = dragMoved_ = false;
  TPoint d = ToDocument(x, y);
  if (dragged) {
    // A drag selects; it does not follow the link it started on.
    if (doc.MouseLeave()) Invalidate();
    return;
  }
  if (doc.HasSelection()) doc.ClearSelection();
  // A link click posts itself to the view; the page is not changed in here.
  if (doc.LButtonUp(d.X, d.Y, x, y)) Invalidate();
}

void TDocumentWindow::WMCaptureChanged(TMessage& m) {
  dragging_ = false;
  TWinControl::WndProc(m);
}

void TDocumentWindow::WMMouseLeave(TMessage&) {
  tracking_ = false;
  if (view_->Document().MouseLeave()) Invalidate();
}

void TDocumentWindow::WMSetCursor(TMessage& m) {
  if (reinterpret_cast<HWND>(m.WParam) == Handle() && LOWORD(m.LParam) == HTCLIENT) {
    // WM_SETCURSOR comes before the WM_MOUSEMOVE of the same move: ask the page now.
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(Handle(), &p);
    UpdateCursor(p.x, p.y);
    m.Result = 1;
    return;
  }
  TWinControl::WndProc(m);
}

// --- context menu ----------------------------------------------------------------------------

void TDocumentWindow::WMContextMenu(TMessage& m) {
  TPoint screen(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  if (m.LParam == -1) screen = ClientToScreen(TPoint(0, 0));
  TPoint client = ScreenToClient(screen);
  TPoint d = ToDocument(client.X, client.Y);
  THtmlDocument::THit hit = view_->Document().HitTest(d.X, d.Y, client.X, client.Y);
  TContextMenuKind kind = hit.InSelection      ? TContextMenuKind::TextSelect
                          : !hit.Link.empty()  ? TContextMenuKind::Anchor
                          : !hit.Image.empty() ? TContextMenuKind::Image
                                               : TContextMenuKind::Default;
  m.Result = 1;
  auto life = LifeToken();
  if (view_->AskHostContextMenu(kind, screen) || !life->Alive) return;
  ShowStandardMenu(screen);
}

void TDocumentWindow::ShowStandardMenu(TPoint screen) {
  HMENU menu = CreatePopupMenu();
  bool selection = view_->Document().HasSelection();
  AppendMenuW(menu, MF_STRING | (selection ? 0 : MF_GRAYED), kCopy, u"复制(&C)\tCtrl+C");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING | (Selectable() ? 0 : MF_GRAYED), kSelectAll, u"全选(&A)\tCtrl+A");
  auto life = LifeToken();
  UINT command = static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.X,
                                                    screen.Y, Handle(), nullptr));
  DestroyMenu(menu);
  if (!life->Alive) return;
  if (command == kCopy) view_->CopySelection();
  if (command == kSelectAll) view_->SelectAll();
}

// --- keyboard ------------------------------------------------------------------------------

TCustomForm* TDocumentWindow::HostForm() const {
  if (TCustomForm* form = ParentForm()) return form;
  // A view parked in a pane has no framework parent: the form is the one around the pane.
  for (HWND w = view_->HandleAllocated() ? GetAncestor(view_->Handle(), GA_PARENT) : nullptr;
       w != nullptr; w = GetAncestor(w, GA_PARENT)) {
    TWinControl* control = TWinControl::FindControl(w);
    if (control == nullptr) continue;
    if (auto* form = As<TCustomForm>(control)) return form;
    if (TCustomForm* form = control->ParentForm()) return form;
  }
  return nullptr;
}

void TDocumentWindow::CNKeyDown(TMessage& m) {
  MSG msg{};
  msg.hwnd = Handle();
  msg.message = m.Msg - CN_BASE;
  msg.wParam = m.WParam;
  msg.lParam = m.LParam;
  msg.time = static_cast<DWORD>(GetMessageTime());
  auto life = LifeToken();
  if (view_->AskHostAccelerator(msg)) {
    m.Result = 1;
    return;
  }
  if (!life->Alive) return;
  hostAsked_ = true;
  m.Result = 0;
  TCustomForm* form = HostForm();
  if (form == nullptr) return;
  if (form->IsShortCut(static_cast<WORD>(m.WParam), KeyboardShiftState())) {
    hostAsked_ = false;
    m.Result = 1;
    return;
  }
  // Tab and Escape are the form's (focus, the cancel button); Enter stays with the page.
  bool dialogKey = m.WParam == VK_TAB || m.WParam == VK_ESCAPE;
  if (m.Msg == CN_KEYDOWN && dialogKey && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0) {
    hostAsked_ = false;
    m.Result = 1;
  }
}

void TDocumentWindow::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TDocumentWindow::WMKeyDown(TMessage& m) {
  // Keys sent straight to the window did not pass the message loop's CN_KEYDOWN.
  bool asked = hostAsked_;
  hostAsked_ = false;
  if (!asked) {
    MSG msg{Handle(), WM_KEYDOWN, m.WParam, m.LParam, static_cast<DWORD>(GetMessageTime()), {}};
    if (view_->AskHostAccelerator(msg)) return;
  }
  if (DoKeyDown(m)) return;
  TShiftState shift = KeyboardShiftState();
  bool ctrl = (shift & ssCtrl) != 0 && (shift & ssAlt) == 0;
  TRect client = ClientRect();
  int page = std::max(client.Height() - LineHeight(), LineHeight());
  switch (m.WParam) {
    case VK_UP: ScrollTo(scrollX_, scrollY_ - LineHeight()); break;
    case VK_DOWN: ScrollTo(scrollX_, scrollY_ + LineHeight()); break;
    case VK_LEFT: ScrollTo(scrollX_ - LineHeight(), scrollY_); break;
    case VK_RIGHT: ScrollTo(scrollX_ + LineHeight(), scrollY_); break;
    case VK_PRIOR: ScrollTo(scrollX_, scrollY_ - page); break;
    case VK_NEXT: ScrollTo(scrollX_, scrollY_ + page); break;
    case VK_SPACE: ScrollTo(scrollX_, scrollY_ + ((shift & ssShift) != 0 ? -page : page)); break;
    case VK_HOME: ScrollTo(0, 0); break;
    case VK_END: ScrollTo(0, view_->Document().Height()); break;
    case 'A': if (ctrl) view_->SelectAll(); break;
    case 'C': if (ctrl) view_->CopySelection(); break;
    case VK_INSERT: if (ctrl) view_->CopySelection(); break;
    // The old control's Ctrl+N: the page in a new window.
    case 'N': if (ctrl) view_->RequestNewWindow(view_->LocationURL(), NewWindowUserInited | NewWindowFirst); break;
    default: DefaultHandler(m); return;
  }
  m.Result = 0;
}
