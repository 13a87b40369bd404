#include "webview/BrowserWindow.h"

#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "webview/LocalPages.h"
#include "webview/WebView.h"

IMPLEMENT_CLASS(TBrowserWindow)

TBrowserWindow::TBrowserWindow(TComponent* owner) : TForm(owner), view_(new TWebView(this)) {
  SetBounds(60, 60, 800, 600);
  SetCaption(u"青禾词典");
  view_->SetParent(this);
  view_->SetAlign(TAlign::alClient);
  OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
  view_->OnNavigateComplete2 = [this](TObject*, TObject*, const std::u16string&) { SetCaption(view_->LocationName()); };
}

TBrowserWindow* TBrowserWindow::Open(const std::u16string& url) {
  auto* window = new TBrowserWindow(Application);
  window->Show();
  try {
    window->View()->Navigate(url);
  } catch (const EWebViewError&) {
    window->View()->LoadFromString(u"<p>" + HtmlEscape(url) + u"</p>");
  }
  return window;
}
