#pragma once
// The window a view opens for a page that asked for a new window (a link with a target,
// Ctrl+N) when the host did not cancel it: a form with a view of its own, owned by the
// application and freed when it is closed.
#include "framework/forms/CustomForm.h"

class TWebView;

class TBrowserWindow : public TForm {
  DECLARE_CLASS(TBrowserWindow, TForm)
  explicit TBrowserWindow(TComponent* owner);
  // Opens and shows a window with the page at url.
  static TBrowserWindow* Open(const std::u16string& url);
  TWebView* View() const { return view_; }

 private:
  TWebView* view_;
};
