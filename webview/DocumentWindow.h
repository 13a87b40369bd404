#pragma once
// The window of a TWebView that shows the page (class "Internet Explorer_Server"): painting
// through a back buffer, the window's own scroll bars (WS_VSCROLL / WS_HSCROLL with
// SetScrollInfo, so that a skin can take them over), the wheel, the reading keys, the hand
// over links, selection with the mouse, Ctrl+A / Ctrl+C and the context menu.  The host is
// asked about keys and the menu before the view acts.
#include "framework/controls/WinControl.h"
#include "framework/graphics/GdiHandle.h"
#include "webview/WebViewHost.h"

class TCustomForm;
class TWebView;

class TDocumentWindow : public TWinControl {
  DECLARE_CLASS(TDocumentWindow, TWinControl)
  explicit TDocumentWindow(TWebView* view);

  // The page changed (a new one, or the same one laid out anew).
  void DocumentChanged(bool keepScroll);
  TPoint ScrollPosition() const { return TPoint(scrollX_, scrollY_); }
  void ScrollTo(int x, int y);
  // The page scrolled by whole lines and pages, as the keys do it.
  int LineHeight() const { return 40; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  void CNKeyDown(TMessage& m) override;

 private:
  void WMPaint(TMessage& m) override;
  void WMSize(TMessage& m);
  void WMScroll(TMessage& m, int bar);
  void WMMouseWheel(TMessage& m, bool horizontal);
  void WMLButtonDown(TMessage& m);
  void WMMouseMove(TMessage& m);
  void WMLButtonUp(TMessage& m);
  void WMMouseLeave(TMessage& m);
  void WMSetCursor(TMessage& m);
  void WMContextMenu(TMessage& m);
  void WMKeyDown(TMessage& m);
  void WMGetDlgCode(TMessage& m);
  void WMCaptureChanged(TMessage& m);

  void UpdateLayout();
  void UpdateCursor(int x, int y);
  void ClampScroll();
  bool Selectable() const;
  TPoint ToDocument(int x, int y) const { return TPoint(x + scrollX_, y + scrollY_); }
  void ShowStandardMenu(TPoint screen);
  TCustomForm* HostForm() const;

  TWebView* view_;
  int scrollX_ = 0, scrollY_ = 0;
  int wheelRest_ = 0;
  bool barV_ = false, barH_ = false;
  bool inLayout_ = false;
  bool dragging_ = false, dragMoved_ = false;
  TPoint dragStart_;
  bool tracking_ = false;
  bool hostAsked_ = false;
  TBitmapHandle buffer_;
  int bufferWidth_ = 0, bufferHeight_ = 0;
};
