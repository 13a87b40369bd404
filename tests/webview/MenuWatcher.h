#pragma once
// While alive: every popup menu this thread tracks is recorded (its item texts) and closed
// at once, so a test can ask whether a right-click showed a menu and which one.
// Header-only: the browser tests use it too.
#include <windows.h>

#include <string>
#include <vector>

class TMenuWatcher {
 public:
  TMenuWatcher() {
    Current() = this;
    hook_ = SetWindowsHookExW(WH_MSGFILTER, Hook, nullptr, GetCurrentThreadId());
    created_ = SetWindowsHookExW(WH_CBT, Created, nullptr, GetCurrentThreadId());
  }
  ~TMenuWatcher() {
    UnhookWindowsHookEx(hook_);
    UnhookWindowsHookEx(created_);
    if (Current() == this) Current() = nullptr;
  }
  TMenuWatcher(const TMenuWatcher&) = delete;
  TMenuWatcher& operator=(const TMenuWatcher&) = delete;

  // One entry per menu shown: the texts of its items (separators as "").
  const std::vector<std::vector<std::u16string>>& Menus() const { return menus_; }
  // The state of each item of the last menu (MF_GRAYED …), in order.
  const std::vector<UINT>& LastStates() const { return states_; }

 private:
  static TMenuWatcher*& Current() {
    static TMenuWatcher* current = nullptr;
    return current;
  }
  // A menu window is made for each menu tracked: the next menu message is a new menu's.
  static LRESULT CALLBACK Created(int code, WPARAM wParam, LPARAM lParam) {
    TMenuWatcher* self = Current();
    if (self != nullptr && code == HCBT_CREATEWND) {
      WCHAR name[16] = {};
      GetClassNameW(reinterpret_cast<HWND>(wParam), name, 16);
      if (std::u16string(reinterpret_cast<const char16_t*>(name)) == u"#32768") self->pending_ = true;
    }
    return CallNextHookEx(self != nullptr ? self->created_ : nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    TMenuWatcher* self = Current();
    if (self != nullptr && code == MSGF_MENU && self->pending_ && !self->closing_) {
      self->pending_ = false;
      HWND window = FindWindowW(u"#32768", nullptr);
      // MN_GETHMENU: the menu a menu window shows.
      HMENU menu = window != nullptr ? reinterpret_cast<HMENU>(SendMessageW(window, 0x01E1, 0, 0)) : nullptr;
      std::vector<std::u16string> items;
      self->states_.clear();
      for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
        WCHAR text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        items.emplace_back(reinterpret_cast<const char16_t*>(text));
        self->states_.push_back(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION));
      }
      self->menus_.push_back(items);
      self->closing_ = true;
      EndMenu();
      self->closing_ = false;
    }
    return CallNextHookEx(self != nullptr ? self->hook_ : nullptr, code, wParam, lParam);
  }

  HHOOK hook_;
  HHOOK created_;
  bool pending_ = false;
  bool closing_ = false;
  std::vector<std::vector<std::u16string>> menus_;
  std::vector<UINT> states_;
};
