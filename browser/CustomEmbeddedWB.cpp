#include "browser/CustomEmbeddedWB.h"

#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/menus/PopupMenu.h"

namespace {

// DOCHOSTUIFLAG of each TUserInterfaceOption by ordinal (0x8000 belongs to none).
const uint32_t kUserInterfaceFlags[] = {
    0x1,      0x2,      0x4,      0x8,       0x10,      0x20,      0x40,      0x80,
    0x100,    0x200,    0x400,    0x800,     0x1000,    0x2000,    0x4000,    0x10000,
    0x20000,  0x40000,  0x80000,  0x100000,  0x200000,  0x400000,  0x800000,  0x1000000,
    0x2000000, 0x4000000, 0x8000000, 0x10000000, 0x20000000,
};
constexpr int kUserInterfaceOptionCount = static_cast<int>(sizeof(kUserInterfaceFlags) / sizeof(kUserInterfaceFlags[0]));

}  // namespace

uint32_t UserInterfaceOptionFlag(TUserInterfaceOption option) {
  auto i = static_cast<int>(option);
  return i >= 0 && i < kUserInterfaceOptionCount ? kUserInterfaceFlags[i] : 0;
}

uint32_t UserInterfaceFlags(TUserInterfaceOptions options) {
  uint32_t flags = 0;
  for (int i = 0; i < kUserInterfaceOptionCount; ++i)
    if ((options & (1u << i)) != 0) flags += kUserInterfaceFlags[i];
  return flags;
}

IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomEmbeddedWB) {
  p.Text(u"DisableCtrlShortcuts", &TCustomEmbeddedWB::DisableCtrlShortcuts,
         &TCustomEmbeddedWB::SetDisableCtrlShortcuts);
  p.Set<TUserInterfaceOption>(u"UserInterfaceOptions", &TCustomEmbeddedWB::UserInterfaceOptions,
                              &TCustomEmbeddedWB::SetUserInterfaceOptions);
  p.Set<TIEPopupMenu>(u"DisabledPopupMenus", &TCustomEmbeddedWB::DisabledPopupMenus,
                      &TCustomEmbeddedWB::SetDisabledPopupMenus);
}

TCustomEmbeddedWB::TCustomEmbeddedWB(TComponent* owner)
    : TEWB(owner), hostInfoFlags_(UserInterfaceFlags(userInterfaceOptions_)) {
  view_->SetHost(this);
}

void TCustomEmbeddedWB::SetUserInterfaceOptions(TUserInterfaceOptions options) {
  userInterfaceOptions_ = options & ((1u << kUserInterfaceOptionCount) - 1);
  hostInfoFlags_ = UserInterfaceFlags(userInterfaceOptions_);
}

bool TCustomEmbeddedWB::ShowContextMenu(TWebView*, TContextMenuKind kind, TPoint screen) {
  int32_t result = HostNotImplemented;
  auto id = static_cast<uint32_t>(kind);
  if (OnShowContextMenu) OnShowContextMenu(this, id, screen, result);
  if (result == HostNotImplemented) {
    bool suppressed = (disabledPopupMenus_ & SetOf(TIEPopupMenu::rcmAll)) != 0 ||
                      (id < 10 && (disabledPopupMenus_ & (1u << id)) != 0);
    if (suppressed) {
      result = HostOk;
      if (TPopupMenu* menu = PopupMenu()) {
        menu->SetPopupComponent(this);
        menu->Popup(screen.X, screen.Y);
      }
    } else {
      // No filter of the view's own menu is wanted here: the view shows it as it is.
      result = HostFalse;
    }
  }
  return result == HostOk;
}

bool TCustomEmbeddedWB::TranslateAccelerator(TWebView*, const MSG& message) {
  if (!disableCtrlShortcuts_.empty() && message.message == WM_KEYDOWN) {
    bool leftCtrl = GetKeyState(VK_LCONTROL) < 0, rightCtrl = GetKeyState(VK_RCONTROL) < 0;
    bool alt = GetKeyState(VK_MENU) < 0, leftAlt = GetKeyState(VK_LMENU) < 0;
    // The key code of a letter is its upper-case letter: the comparison is exact.
    auto key = static_cast<char16_t>(message.wParam);
    if (((leftCtrl && !alt) || (rightCtrl && !leftAlt)) && disableCtrlShortcuts_.find(key) != std::u16string::npos) {
      if (OnMaskedCtrlChar) OnMaskedCtrlChar(this, key);
      return true;
    }
  }
  int32_t result = HostFalse;
  if (OnTranslateAccelerator) OnTranslateAccelerator(this, message, result);
  return result == HostOk;
}

void TCustomEmbeddedWB::GetHostInfo(TWebView*, TDocHostUIInfo& info) {
  info = TDocHostUIInfo();
  info.cbSize = 20;
  info.dwFlags = hostInfoFlags_;
  info.dwDoubleClick = 0;  // DOCHOSTUIDBLCLK_DEFAULT
  if (OnGetHostInfo) OnGetHostInfo(this, info);
}

void TCustomEmbeddedWB::DestroyWnd() {
  // The view's window survives the pane's: parked on the application's hidden window and
  // taken back by CreateWnd.  Only a pane that goes takes its view's window with it.
  if (!IsDestroying() && view_->HandleAllocated() && Application != nullptr && Application->Handle() != nullptr) {
    view_->SetParentWindow(Application->Handle());
  }
  TEWB::DestroyWnd();
}
