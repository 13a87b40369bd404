#include "framework/menus/PopupMenu.h"

#include "framework/core/Exception.h"
#include "framework/core/Property.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TPopupMenu) {
  p.Boolean(u"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup);
  p.Enum<TPopupAlignment>(u"Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment);
}

namespace {
HMENU g_selectedMenu = nullptr;
UINT g_selectedFlags = 0;
}  // namespace

void LastMenuSelect(HMENU& menu, UINT& flags) {
  menu = g_selectedMenu;
  flags = g_selectedFlags;
}

static LRESULT CALLBACK PopupListProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MENUSELECT) {
    g_selectedMenu = reinterpret_cast<HMENU>(lParam);
    g_selectedFlags = HIWORD(wParam);
  }
  TMessage m{msg, wParam, lParam, 0};
  try {
    if (DispatchMenuMessage(m)) return m.Result;
  } catch (const std::exception& e) {
    ::HandleException(e);
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

HWND PopupListWindow() {
  static HWND window = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PopupListProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = reinterpret_cast<LPCWSTR>(u"TPopupList");
    RegisterClassExW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, reinterpret_cast<LPCWSTR>(u""), WS_POPUP,
                           0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  }();
  return window;
}

void TrackMenu(HMENU menu, UINT flags, int x, int y, const RECT* exclude) {
  TPMPARAMS params{sizeof(params), {}};
  if (exclude != nullptr) params.rcExclude = *exclude;
  TrackPopupMenuEx(menu, flags, x, y, PopupListWindow(), exclude != nullptr ? &params : nullptr);
  // The chosen command was posted to the popup-list window: run it before returning.
  MSG msg;
  while (PeekMessageW(&msg, PopupListWindow(), WM_COMMAND, WM_COMMAND, PM_REMOVE)) DispatchMessageW(&msg);
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  static const UINT align[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  TrackMenu(Handle(), align[static_cast<int>(alignment_)] | TPM_RIGHTBUTTON, x, y);
}
