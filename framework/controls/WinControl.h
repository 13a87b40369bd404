#pragma once
// TWinControl: a control with a window of its own.  The window is created on demand,
// registered under the framework class name (superclassing the native class where one
// exists), and carries a window property that leads back to the control.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/controls/Control.h"
#include "framework/graphics/Brush.h"

class TBrush;

struct TCreateParams {
  std::u16string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  // Registered under this name; lpfnWndProc is the native procedure that the
  // framework's own handling falls back to.
  std::u16string WinClassName;
  WNDCLASSEXW WindowClass{};
};

using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char16_t& key)>;

class TWinControl : public TControl {
  DECLARE_CLASS(TWinControl, TControl)
  explicit TWinControl(TComponent* owner);

  // Creates the window when there is none yet (and the parent's before it).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Raises EOutOfResources when the window cannot be created.
  void HandleNeeded();
  // Destroys and creates the window again, keeping the control's state.
  void RecreateWnd();
  // For a top-level control whose parent is a window outside the framework.
  HWND ParentWindow() const { return parentWindow_; }
  void SetParentWindow(HWND window);

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;
  // The windowless or (optionally) windowed child at a client point, topmost first.
  TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = false) const;
  // Sends a message to every child until one answers non-zero.
  void Broadcast(TMessage& message);
  // Moves a child to the top (or the bottom) of the z-order of its siblings.
  void ReorderChild(TControl* control, bool toFront);

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  // Every windowed control below this one, in tab order, nested ones after their parent.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  // Paints the windowless children into dc (client coordinates), starting at first.
  void PaintControls(HDC dc, TControl* first);
  bool ParentBackground() const { return (ControlStyle() & csParentBackground) != 0; }
  void SetParentBackground(bool v);
  TBrush* Brush() const { return brush_.get(); }
  WNDPROC DefWndProc() const { return defWndProc_; }

  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();
  void Realign();

  void SetBounds(int left, int top, int width, int height) override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  bool Showing() const override;
  void SetParent(TWinControl* parent) override;

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // The control of a window of this process, or null.
  static TWinControl* FindControl(HWND window);

 protected:
  void BeforeDestruction() override;
  virtual void CreateParams(TCreateParams& params);
  // Takes the native class's procedure, styles and extra bytes (superclassing).
  void CreateSubClass(TCreateParams& params, const char16_t* nativeClass);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void CreateHandle();
  void DestroyHandle();
  // The part of the client area that aligned children fill.
  virtual void AdjustClientRect(TRect& rect) const {}
  virtual void AlignControls(TControl* control, TRect& rect);
  virtual void PaintWindow(HDC dc);
  void PaintHandler(TMessage& message);
  void BoundsChanged() override;
  void FontChanged() override;
  std::u16string GetText() const override;

  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void KeyPress(char16_t& key);
  virtual void DoEnter();
  virtual void DoExit();
  // Answer true when the key was taken (the message goes no further).
  bool DoKeyDown(TMessage& m);
  bool DoKeyUp(TMessage& m);
  bool DoKeyPress(TMessage& m);

  // Handlers the subclasses extend.
  virtual void CNKeyDown(TMessage& m);
  virtual void CNChar(TMessage& m);
  virtual void CNSysChar(TMessage& m);
  virtual void CMDialogKey(TMessage& m) { Broadcast(m); }
  virtual void CMDialogChar(TMessage& m) { Broadcast(m); }
  virtual void WMEraseBkgnd(TMessage& m);
  virtual void WMPaint(TMessage& m);
  // Background brush colour for the WM_CTLCOLOR answers.
  virtual void CNCtlColor(TMessage& m);
  bool NativeBackground() const;

 private:
  friend LRESULT CALLBACK InitWndProc(HWND, UINT, WPARAM, LPARAM);
  void AttachWindow(HWND window);
  void DetachWindow();
  LRESULT HandleNativeMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  bool ReflectToChild(TMessage& m);
  bool ForwardToWindowless(TMessage& m);
  void WMSetCursor(TMessage& m);
  void WMFocus(TMessage& m, bool gained);
  void WMWindowPosChanged(TMessage& m);
  void UpdateBoundsFromWindow();
  void UpdateZOrder();
  void AlignChildren();
  void InsertTab(TWinControl* child);
  void RemoveTab(TWinControl* child);

  HWND handle_ = nullptr;
  HWND parentWindow_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  bool tabStop_ = false;
  TOwned<TBrush> brush_;
  int alignDisabled_ = 0;
  bool alignPending_ = false;
  TWeakRef<TControl> captureControl_;
};

// The control of any framework window of this process (window property lookup).
TControl* ControlFromHandle(HWND window);
// Name of the global atom under which every framework window carries its control:
// "ControlOfs" + module instance + thread id, 8 upper-case hex digits each.
const std::u16string& ControlAtomName();
ATOM ControlAtom();
