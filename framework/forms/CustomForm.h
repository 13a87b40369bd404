#pragma once
// Forms: top-level windows with a border style, a position, a menu, a focused control,
// closing and modal display.
#include <functional>

#include "framework/forms/ScrollingWinControl.h"
#include "framework/menus/MainMenu.h"

class TMainMenu;
class TMenu;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
enum : uint32_t { biSystemMenuBit = 1, biMinimizeBit = 2, biMaximizeBit = 4, biHelpBit = 8 };
enum class TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
// FormState bits.
enum : uint32_t { fsCreating = 1, fsVisible = 2, fsShowing = 4, fsModal = 8, fsActivated = 16, fsShown = 32 };

enum : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TCustomForm : public TScrollingWinControl {
  DECLARE_CLASS(TCustomForm, TScrollingWinControl)
  explicit TCustomForm(TComponent* owner);

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  uint32_t BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(uint32_t icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle style);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  TMainMenu* Menu() const { return menu_.Get(); }
  void SetMenu(TMainMenu* menu);
  // Called by the menu when its items changed.
  void MenuChanged();
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  uint32_t FormState() const { return formState_; }
  bool Active() const { return active_; }

  TWinControl* ActiveControl() const { return activeControl_.Get(); }
  // Raises EInvalidOperation for a control that cannot take the focus.
  void SetActiveControl(TWinControl* control);
  // Focus bookkeeping, called by the controls.
  void FocusControl(TWinControl* control);
  void SetFocusedControl(TWinControl* control);
  void ControlDestroying(TWinControl* control);
  // Moves the focus to the next (or previous) control in tab order.
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);
  // A key with its shift state that is a shortcut of one of the form's menus runs it.
  bool IsShortCut(WORD key, TShiftState shift);

  void SetClientSize(int width, int height) override;
  void Show();
  void Hide() { SetVisible(false); }
  void Close();
  bool CloseQuery();
  // Frees the form once its handlers have returned (posted).
  void Release();
  int ShowModal();
  // Runs OnCreate; called once, after loading.
  void DoCreate();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // Used by the controls' key handling when KeyPreview is on.
  using TWinControl::DoKeyDown;
  using TWinControl::DoKeyPress;
  using TWinControl::DoKeyUp;

 protected:
  void BeforeDestruction() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void CMDialogKey(TMessage& m) override;
  bool IsMainForm() const;

 private:
  void CMVisibleChanged(TMessage& m);
  void WMActivate(TMessage& m);
  void SetActive(bool active);
  void PlaceWindow(TCreateParams& params) const;
  void SizeToClient();
  void CloseModal();

  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  uint32_t borderIcons_ = biSystemMenuBit | biMinimizeBit | biMaximizeBit;
  TPosition position_ = TPosition::poDesigned;
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  TWindowState windowState_ = TWindowState::wsNormal;
  TWeakRef<TMainMenu> menu_;
  bool keyPreview_ = false;
  int modalResult_ = mrNone;
  uint32_t formState_ = 0;
  bool active_ = false;
  TWeakRef<TWinControl> activeControl_;
  TWeakRef<TWinControl> focusedControl_;
  int clientWidth_ = -1, clientHeight_ = -1;
};

class TForm : public TCustomForm {
  DECLARE_CLASS(TForm, TCustomForm)
  using TCustomForm::TCustomForm;
};

DECLARE_ENUM_NAMES(TFormBorderStyle, u"bsNone", u"bsSingle", u"bsSizeable", u"bsDialog",
                   u"bsToolWindow", u"bsSizeToolWin")
DECLARE_ENUM_NAMES(TBorderIcon, u"biSystemMenu", u"biMinimize", u"biMaximize", u"biHelp")
DECLARE_ENUM_NAMES(TPosition, u"poDesigned", u"poDefault", u"poDefaultPosOnly", u"poDefaultSizeOnly",
                   u"poScreenCenter", u"poDesktopCenter", u"poMainFormCenter", u"poOwnerFormCenter")
DECLARE_ENUM_NAMES(TFormStyle, u"fsNormal", u"fsMDIChild", u"fsMDIForm", u"fsStayOnTop")
DECLARE_ENUM_NAMES(TWindowState, u"wsNormal", u"wsMinimized", u"wsMaximized")
