#pragma once
// TWebView: the HTML view.  Its window (class "Shell DocObject View") holds the document
// window (class "Internet Explorer_Server") that draws the page, scrolls and takes the
// focus and input; code written against the old control's window classes finds ours.
//
// Documents come from text, "about:blank", file addresses and Windows paths (a folder
// shows as a listing page) and http/https/ftp.  Loads run on worker threads and report back
// through the window; every event is raised on the user-interface thread from the message
// loop, never from inside Navigate.  A load that has no answer after Timeout() ends with
// NavigateError (StatusTimeout).
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "framework/controls/WinControl.h"
#include "framework/core/Exception.h"
#include "webview/Fetcher.h"
#include "webview/WebViewHost.h"

class TDocumentWindow;
class TGdiContainer;
class THtmlDocument;
class TStream;

DECLARE_EXCEPTION(EWebViewError, Exception)

class TWebView : public TWinControl {
  DECLARE_CLASS(TWebView, TWinControl)
  explicit TWebView(TComponent* owner);

  // Goes to an address.  Raises EWebViewError, naming it, for an address the view cannot
  // open (blank, control characters, a scheme other than about, file, http, https, ftp);
  // everything else reports through NavigateComplete2 or NavigateError.  about: pages are
  // there at once (their NavigateComplete2 still comes from the message loop).
  void Navigate(const std::u16string& address);
  // Ends the load in progress without an event.
  void Stop();
  // Replaces the page by markup text, at once and without events; a load in progress ends.
  // Relative references resolve against baseUrl (none for about:blank).
  void LoadFromString(const std::u16string& html, const std::u16string& baseUrl = u"about:blank");
  // Bytes as a file would give them (byte-order mark, <meta> charset, UTF-8, else GBK).
  void LoadFromStream(TStream& stream, const std::u16string& baseUrl = u"about:blank");

  // False until the first navigation or load (the old control's empty Document).
  bool HasDocument() const { return hasDocument_; }
  THtmlDocument& Document() { return *html_; }
  const std::u16string& LocationURL() const { return location_; }
  std::u16string LocationName() const;
  // A page or an image of it is still loading.
  bool Busy() const;
  int Timeout() const { return timeoutMs_; }
  void SetTimeout(int milliseconds);

  TWebViewHost* Host() const { return host_; }
  void SetHost(TWebViewHost* host) { host_ = host; }
  // The flags of the host's last GetHostInfo (HostFlag* values).
  uint32_t HostFlags() const { return hostFlags_; }

  void SelectAll();
  // The selection as Unicode text on the clipboard; false when nothing is selected.
  bool CopySelection();
  std::u16string SelectedText();
  TPoint ScrollPosition() const;
  void ScrollTo(int x, int y);
  // The document window ("Internet Explorer_Server").
  TDocumentWindow* DocumentWindow() const { return window_; }
  // Draws the page into dc at its current layout, scrolled by (scrollX, scrollY), without the
  // window (for pictures of whole pages).
  void PaintPage(HDC dc, const TRect& area, int scrollX, int scrollY);
  // Lays the page out for a width (normally the window does this).
  void LayoutPage(int width, int height);

  // Asks for a window with url (a link with a target, Ctrl+N): NewWindow3 first; unless it is
  // cancelled or the host named a view, the view opens a window of its own with the page.
  void RequestNewWindow(const std::u16string& url, uint32_t flags);

  TNavigateComplete2Event OnNavigateComplete2;
  TNavigateErrorEvent OnNavigateError;
  TNewWindow3Event OnNewWindow3;

  // For the document window.
  bool AskHostAccelerator(const MSG& message);
  bool AskHostContextMenu(TContextMenuKind kind, TPoint screen);

 protected:
  void BeforeDestruction() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

 private:
  struct TPending {
    uint64_t Navigation = 0;
    uint64_t Fetch = 0;
    std::u16string Url;
  };
  struct TLink {
    std::u16string Url;
    std::u16string Target;
  };
  void WMFetchDone(TMessage& m);
  void WMTimer(TMessage& m);
  void WMCompleted(TMessage& m);
  void WMLink(TMessage& m);
  void WMSetFocus(TMessage& m);
  void WMRelayout(TMessage& m);
  void AnchorClicked(const std::u16string& href, const std::u16string& target);
  void FetchDone(TFetchResult& result);
  void ShowFetched(const TPending& pending, TFetchResult& result);
  void Fail(const std::u16string& url, int32_t status);
  void Complete(const std::u16string& url);
  void LoadDocument(const std::string& utf8, const std::u16string& baseUrl);
  void StartTimer();
  void StopTimer();
  bool FetchImage(const std::u16string& url);
  void ImageArrived();
  void FollowLink(const TLink& link);

  std::unique_ptr<TGdiContainer> container_;
  std::unique_ptr<THtmlDocument> html_;
  TFetcher fetcher_;
  TDocumentWindow* window_ = nullptr;
  TWebViewHost* host_ = nullptr;
  uint32_t hostFlags_ = 0;
  bool hasDocument_ = false;
  std::u16string location_;
  std::u16string title_;
  int timeoutMs_ = 20000;
  uint64_t navigations_ = 0;
  TPending pending_;
  std::map<uint64_t, std::u16string> imageFetches_;
  std::map<uint64_t, TLink> links_;
  uint64_t nextLink_ = 1;
  std::map<uint64_t, std::u16string> completions_;
  bool relayoutPosted_ = false;
};
