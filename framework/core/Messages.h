#pragma once
// Messages as the framework passes them: the native fields and a result, the bound
// handler type that carries them (a control's WindowProc), and the framework's own
// message numbers.
#include <windows.h>

#include <cstdint>

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

class TObject;

// A handler bound to an object: saved, compared, replaced and restored like a value.
class TWndMethod {
 public:
  using Thunk = void (*)(TObject* target, TMessage& message);
  TWndMethod() = default;
  TWndMethod(TObject* target, Thunk thunk) : target_(target), thunk_(thunk) {}

  // TWndMethod::Of<&TButton::WndProc>(button)
  template <auto Method, class C>
  static TWndMethod Of(C* target) {
    return TWndMethod(target, [](TObject* t, TMessage& m) { (static_cast<C*>(t)->*Method)(m); });
  }

  void operator()(TMessage& message) const { thunk_(target_, message); }
  explicit operator bool() const { return thunk_ != nullptr; }
  TObject* Target() const { return target_; }
  bool operator==(const TWndMethod& o) const { return target_ == o.target_ && thunk_ == o.thunk_; }
  bool operator!=(const TWndMethod& o) const { return !(*this == o); }

 private:
  TObject* target_ = nullptr;
  Thunk thunk_ = nullptr;
};

// Framework messages.  Numbers avoid the skin engine's private messages (0x3401..0x3523,
// 0xBC4A..0xBC4E), 0xB0D0, and WM_USER + 33 (1057).
enum : UINT {
  CM_BASE = 0xB000,
  CM_ACTIVATE = CM_BASE + 0,     // to the application window: the application became active
  CM_DEACTIVATE = CM_BASE + 1,   // to the application window: another application became active
  CM_DIALOGKEY = CM_BASE + 5,    // wParam virtual key, lParam key data; non-zero: handled
  CM_DIALOGCHAR = CM_BASE + 6,   // wParam character, lParam key data; non-zero: handled
  CM_FOCUSCHANGED = CM_BASE + 7, // to a form's controls; lParam the control that has the focus
  CM_PARENTFONTCHANGED = CM_BASE + 8,
  CM_PARENTCOLORCHANGED = CM_BASE + 9,
  CM_HITTEST = CM_BASE + 10,     // windowless control: lParam client point; non-zero: hit
  CM_VISIBLECHANGED = CM_BASE + 11,
  CM_ENABLEDCHANGED = CM_BASE + 12,
  CM_COLORCHANGED = CM_BASE + 13,
  CM_FONTCHANGED = CM_BASE + 14,
  CM_CURSORCHANGED = CM_BASE + 15,
  CM_TEXTCHANGED = CM_BASE + 18,
  CM_MOUSEENTER = CM_BASE + 19,  // lParam: the control that the mouse entered
  CM_MOUSELEAVE = CM_BASE + 20,  // lParam: the control that the mouse left
  CM_MENUCHANGED = CM_BASE + 21, // to a form whose menu changed
  CM_ENTER = CM_BASE + 26,       // a control received the focus within its form
  CM_EXIT = CM_BASE + 27,        // a control lost the focus within its form
  CM_RELEASE = CM_BASE + 33,     // posted by TCustomForm::Release
  CM_SHOWHINTCHANGED = CM_BASE + 34,
  CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
  CM_TABSTOPCHANGED = CM_BASE + 40,
  CM_CONTROLLISTCHANGE = CM_BASE + 44, // wParam control, lParam 1 inserted / 0 removed
  CM_HINTSHOW = CM_BASE + 48,    // lParam THintInfo*; non-zero: no hint
  CM_RECREATEWND = CM_BASE + 51, // re-create the window (sent, handled by TWinControl)
  CM_INVALIDATE = CM_BASE + 52,
  CM_CONTROLCHANGE = CM_BASE + 54,
  CM_BORDERCHANGED = CM_BASE + 59,
  CM_MOUSEWHEEL = CM_BASE + 67,
  CM_LAST = CM_BASE + 0xCF,      // 0xB0D0 stays free

  // Notifications that a parent reflects back to the child control that sent them:
  // CN_BASE + the native message (CN_COMMAND, CN_NOTIFY, CN_CTLCOLOREDIT …).
  CN_BASE = 0xBD00,
  CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM,
  CN_COMMAND = CN_BASE + WM_COMMAND,
  CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM,
  CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
  CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG,
  CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
  CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
  CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX,
  CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR,
  CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
  CN_DELETEITEM = CN_BASE + WM_DELETEITEM,
  CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
  CN_HSCROLL = CN_BASE + WM_HSCROLL,
  CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
  CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY,
  CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM,
  CN_VSCROLL = CN_BASE + WM_VSCROLL,
  CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
  CN_KEYUP = CN_BASE + WM_KEYUP,
  CN_CHAR = CN_BASE + WM_CHAR,
  CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
  CN_SYSCHAR = CN_BASE + WM_SYSCHAR,
  CN_NOTIFY = CN_BASE + WM_NOTIFY,
};

static_assert(CN_NOTIFY != 0xBC4E && CN_BASE + WM_CTLCOLORSTATIC < 0xC000,
              "reflected notifications must stay clear of the skin messages");
