#pragma once
// TCustomEmbeddedWB: the document host.  It answers the view's questions (context menu,
// keys, host information) from its options and optional events, and keeps the view's
// window alive when the pane's own window is destroyed and made again.
#include <cstdint>
#include <functional>
#include <string>

#include "browser/EWB.h"
#include "framework/core/ClassInfo.h"

enum class TUserInterfaceOption {
  DisableTextSelect, DisableHelpMenu, DontUse3DBorders, DontUseScrollBars, PostponeScriptUntilActive,
  ForceOpenNewWindow, Reserved_OFFSCREEN, ForceFlatScrollBars, InsertDivTagOnEditMode, ActivateUIOnlyOnDocClick,
  ConsultBeforeRetrievingBehavior, CheckFontSupportsCodePage, DisableSubmitUrlInUTF8, EnableSubmitUrlInUTF8,
  EnablesFormsAutoComplete, ForceSameWindowNavigation, EmableImeLocalLanguages, EnableThemes, DisableThemes,
  DisablePicsRatings, DisableFrameSetBorder, DisablesAutoNameSpaceCorrection, DisableLocalFileAccess,
  DisableUntrustedProtocol, CheckNavigationDelegatedToHost, EnableRedirectNotification, EnableDomWindlessControls,
  EnableWindowedControls, ForceUserActivationOnActiveXJava,
};
DECLARE_ENUM_NAMES(TUserInterfaceOption, u"DisableTextSelect", u"DisableHelpMenu", u"DontUse3DBorders",
                   u"DontUseScrollBars", u"PostponeScriptUntilActive", u"ForceOpenNewWindow", u"Reserved_OFFSCREEN",
                   u"ForceFlatScrollBars", u"InsertDivTagOnEditMode", u"ActivateUIOnlyOnDocClick",
                   u"ConsultBeforeRetrievingBehavior", u"CheckFontSupportsCodePage", u"DisableSubmitUrlInUTF8",
                   u"EnableSubmitUrlInUTF8", u"EnablesFormsAutoComplete", u"ForceSameWindowNavigation",
                   u"EmableImeLocalLanguages", u"EnableThemes", u"DisableThemes", u"DisablePicsRatings",
                   u"DisableFrameSetBorder", u"DisablesAutoNameSpaceCorrection", u"DisableLocalFileAccess",
                   u"DisableUntrustedProtocol", u"CheckNavigationDelegatedToHost", u"EnableRedirectNotification",
                   u"EnableDomWindlessControls", u"EnableWindowedControls", u"ForceUserActivationOnActiveXJava")
// A set of TUserInterfaceOption: bit n = member n.
using TUserInterfaceOptions = uint32_t;

enum class TIEPopupMenu {
  rcmDefault, rcmImage, rcmControl, rcmTable, rcmSelText, rcmAnchor, rcmUnKnown, rcmImageArt, rcmImgDynSrc,
  rcmDebug, rcmAll,
};
DECLARE_ENUM_NAMES(TIEPopupMenu, u"rcmDefault", u"rcmImage", u"rcmControl", u"rcmTable", u"rcmSelText",
                   u"rcmAnchor", u"rcmUnKnown", u"rcmImageArt", u"rcmImgDynSrc", u"rcmDebug", u"rcmAll")
using TIEPopupMenus = uint32_t;

template <class E>
constexpr uint32_t SetOf(E member) {
  return 1u << static_cast<unsigned>(member);
}

// The host-information flag (DOCHOSTUIFLAG value) of each member, by ordinal.
uint32_t UserInterfaceOptionFlag(TUserInterfaceOption option);
// The flags of all members of the set, summed (the empty set gives 0).
uint32_t UserInterfaceFlags(TUserInterfaceOptions options);

// Results of the host's answers, as the old interfaces had them.
enum : int32_t { HostOk = 0, HostFalse = 1, HostNotImplemented = static_cast<int32_t>(0x80004001) };

// Result starts as HostNotImplemented; HostOk: the host showed (or suppressed) the menu,
// HostFalse: the view shows its standard menu.
using TShowContextMenuEvent =
    std::function<void(TObject* sender, uint32_t dwID, TPoint ppt, int32_t& Result)>;
// Result starts as HostFalse; HostOk swallows the key.
using TTranslateAcceleratorEvent = std::function<void(TObject* sender, const MSG& lpMsg, int32_t& Result)>;
using TMaskedCtrlCharEvent = std::function<void(TObject* sender, char16_t MCharCode)>;
using TGetHostInfoEvent = std::function<void(TObject* sender, TDocHostUIInfo& pInfo)>;

class TCustomEmbeddedWB : public TEWB, public TWebViewHost {
  DECLARE_CLASS(TCustomEmbeddedWB, TEWB)
  explicit TCustomEmbeddedWB(TComponent* owner);

  // Letters: a key-down of Ctrl plus one of them is swallowed before the view sees it.
  const std::u16string& DisableCtrlShortcuts() const { return disableCtrlShortcuts_; }
  void SetDisableCtrlShortcuts(const std::u16string& letters) { disableCtrlShortcuts_ = letters; }
  TUserInterfaceOptions UserInterfaceOptions() const { return userInterfaceOptions_; }
  void SetUserInterfaceOptions(TUserInterfaceOptions options);
  // The flags handed over in the host information, kept up to date with the options.
  uint32_t HostInfoFlags() const { return hostInfoFlags_; }
  TIEPopupMenus DisabledPopupMenus() const { return disabledPopupMenus_; }
  void SetDisabledPopupMenus(TIEPopupMenus menus) { disabledPopupMenus_ = menus; }

  // The view's questions.
  bool ShowContextMenu(TWebView* view, TContextMenuKind kind, TPoint screen) override;
  bool TranslateAccelerator(TWebView* view, const MSG& message) override;
  void GetHostInfo(TWebView* view, TDocHostUIInfo& info) override;

  TShowContextMenuEvent OnShowContextMenu;
  TTranslateAcceleratorEvent OnTranslateAccelerator;
  TMaskedCtrlCharEvent OnMaskedCtrlChar;
  TGetHostInfoEvent OnGetHostInfo;

 protected:
  void DestroyWnd() override;

 private:
  std::u16string disableCtrlShortcuts_ = u"N";
  TUserInterfaceOptions userInterfaceOptions_ =
      SetOf(TUserInterfaceOption::EnablesFormsAutoComplete) | SetOf(TUserInterfaceOption::EnableThemes);
  uint32_t hostInfoFlags_;
  TIEPopupMenus disabledPopupMenus_ = 0;
};
