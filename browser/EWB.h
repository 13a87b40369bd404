#pragma once
// TEWB: the window control that wraps the browser.  The old one sited the platform's
// WebBrowser ActiveX control by class identifier; this one hosts our HTML view (TWebView)
// in the same place: the view is created with the pane, its window is made when the pane's
// window is first made, and it fills the pane.  The old control's identifiers are kept as
// data: what is said in terms of them still holds for the events the pane raises.
#include <cstdint>
#include <functional>
#include <string>

#include "framework/controls/WinControl.h"
#include "webview/WebView.h"

// One event of DWebBrowserEvents2, by dispatch identifier.
struct TEWBEvent {
  int32_t DispId;
  const char16_t* Name;
  bool Raised;  // whether this pane raises it
};

struct TEWBControlData {
  const char16_t* ClassID;           // the WebBrowser control
  const char16_t* DefaultInterface;  // IWebBrowser2
  const char16_t* EventInterface;    // DWebBrowserEvents2
  // The 34 events surfaced, in the order the old wrapper listed them.
  const TEWBEvent* Events;
  int EventCount;
};

using TWebBrowserOnVisibleEvent = std::function<void(TObject* sender, bool Visible)>;

class TEWB : public TWinControl {
  DECLARE_CLASS(TEWB, TWinControl)
  explicit TEWB(TComponent* owner);

  static const TEWBControlData& ControlData();
  // The event of a dispatch identifier, or null.
  static const TEWBEvent* FindEvent(int32_t dispId);

  // IWebBrowser2.Navigate with empty flags, target frame, post data and headers.  An
  // address the view rejects raises EWebViewError to the caller; the pane's window is made
  // first when it has none.
  void Navigate(const std::u16string& url);
  // IWebBrowser2.Navigate2 with 0 for flags, target frame, post data and headers.
  void Navigate2(const std::u16string& url);
  void Stop();
  // The browser object: the view.  Events name it as pDisp.
  TWebView* DefaultInterface() const { return view_; }
  // Empty (false) until the first navigation or load.
  bool HasDocument() const { return view_->HasDocument(); }
  std::u16string LocationURL() const { return view_->LocationURL(); }
  std::u16string LocationName() const { return view_->LocationName(); }
  bool Busy() const { return view_->Busy(); }

  // The events of DWebBrowserEvents2 this pane raises, sender = the pane.
  TNavigateComplete2Event OnNavigateComplete2;
  TNavigateErrorEvent OnNavigateError;
  TNewWindow3Event OnNewWindow3;
  // Raised when the pane is shown or hidden.
  TWebBrowserOnVisibleEvent OnVisible;

 protected:
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void Resize() override;
  void FitView();

  TWebView* view_;
};
