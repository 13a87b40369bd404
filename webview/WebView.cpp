#include "webview/WebView.h"

#include "framework/core/Property.h"
#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "webview/BrowserWindow.h"
#include "webview/DocumentWindow.h"
#include "webview/GdiContainer.h"
#include "webview/HtmlDocument.h"
#include "webview/LocalPages.h"
#include "webview/TextDecoding.h"
#include "webview/Url.h"

namespace {

constexpr UINT WM_VIEW_COMPLETED = WM_APP + 0x2F1;  // wParam: navigation
constexpr UINT WM_VIEW_LINK = WM_APP + 0x2F2;       // wParam: link
constexpr UINT WM_VIEW_RELAYOUT = WM_APP + 0x2F3;
constexpr UINT_PTR kTimeoutTimer = 1;

bool HasNul(const std::string& bytes) { return bytes.find('\0', 0) < std::min<size_t>(bytes.size(), 8192); }

std::u16string WithoutFragment(const std::u16string& url) { return url.substr(0, url.find(u'#')); }

}  // namespace

IMPLEMENT_CLASS_WITH_PROPERTIES(TWebView) {
  p.Integer(u"Timeout", &TWebView::Timeout, &TWebView::SetTimeout);
}

TWebView::TWebView(TComponent* owner)
    : TWinControl(owner), container_(new TGdiContainer), html_(new THtmlDocument(*container_)) {
  SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
  SetBounds(0, 0, 300, 150);
  SetTabStop(true);
  container_->OnAnchorClick = [this](const std::string& href, const litehtml::element::ptr& anchor) {
    const char* target = anchor ? anchor->get_attr("target") : nullptr;
    AnchorClicked(Utf8ToUtf16(href), target != nullptr ? Utf8ToUtf16(target) : u"");
  };
  container_->Images().FetchRemote = [this](const std::u16string& url) { return FetchImage(url); };
  container_->Images().OnLoaded = [this](const std::u16string&) { ImageArrived(); };
  fetcher_.OnDone = [this](TFetchResult& result) { FetchDone(result); };
  window_ = new TDocumentWindow(this);
}

void TWebView::BeforeDestruction() {
  fetcher_.CancelAll();
  fetcher_.OnDone = nullptr;
  container_->OnAnchorClick = nullptr;
  container_->Images().FetchRemote = nullptr;
  container_->Images().OnLoaded = nullptr;
  window_ = nullptr;
  TWinControl::BeforeDestruction();
}

void TWebView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClassName = u"Shell DocObject View";
  p.Style |= WS_CLIPCHILDREN;
  p.Style &= ~WS_TABSTOP;
  p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TWebView::CreateWnd() {
  TWinControl::CreateWnd();
  fetcher_.SetWindow(Handle());
  if (pending_.Fetch != 0) StartTimer();
}

void TWebView::DestroyWnd() {
  fetcher_.Drain();
  fetcher_.SetWindow(nullptr);
  if (HandleAllocated()) KillTimer(Handle(), kTimeoutTimer);
  TWinControl::DestroyWnd();
}

void TWebView::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_FETCHDONE: fetcher_.Deliver(m.LParam); return;
    case WM_TIMER: if (m.WParam == kTimeoutTimer) { WMTimer(m); return; } break;
    case WM_VIEW_COMPLETED: WMCompleted(m); return;
    case WM_VIEW_LINK: WMLink(m); return;
    case WM_VIEW_RELAYOUT: WMRelayout(m); return;
    case WM_SETFOCUS: WMSetFocus(m); return;
    // The wheel hook of the old control's hosts gives the focus to this window.
    case WM_MOUSEWHEEL: case WM_MOUSEHWHEEL:
      if (window_ != nullptr) m.Result = window_->Perform(m.Msg, m.WParam, m.LParam);
      return;
    case WM_ERASEBKGND: m.Result = 1; return;
  }
  TWinControl::WndProc(m);
}

void TWebView::WMSetFocus(TMessage& m) {
  TWinControl::WndProc(m);
  if (window_ != nullptr && window_->HandleAllocated()) ::SetFocus(window_->Handle());
}

// --- navigation ------------------------------------------------------------------------

void TWebView::Navigate(const std::u16string& address) {
  TUrl url = ParseAddress(address);
  if (!url.Valid()) throw EWebViewError(u"The address \"" + address + u"\" cannot be opened.");
  HandleNeeded();
  Stop();
  uint64_t navigation = ++navigations_;
  if (url.Kind == TUrlKind::Blank) {
    container_->SetStyleSheets({});
    LoadDocument("", u"about:blank");
    location_ = url.Text;
    completions_[navigation] = location_;
    PostMessageW(Handle(), WM_VIEW_COMPLETED, static_cast<WPARAM>(navigation), 0);
    return;
  }
  pending_.Navigation = navigation;
  pending_.Url = url.Text;
  pending_.Fetch = fetcher_.Start(url.Text, TFetchKind::Document, timeoutMs_);
  StartTimer();
}

void TWebView::Stop() {
  if (pending_.Fetch != 0) fetcher_.Cancel(pending_.Fetch);
  pending_ = TPending();
  StopTimer();
}

void TWebView::SetTimeout(int milliseconds) { timeoutMs_ = milliseconds > 0 ? milliseconds : 1; }

void TWebView::StartTimer() {
  if (HandleAllocated()) SetTimer(Handle(), kTimeoutTimer, static_cast<UINT>(timeoutMs_), nullptr);
}

void TWebView::StopTimer() {
  if (HandleAllocated()) KillTimer(Handle(), kTimeoutTimer);
}

void TWebView::WMTimer(TMessage&) {
  StopTimer();
  if (pending_.Fetch == 0) return;
  std::u16string url = pending_.Url;
  fetcher_.Cancel(pending_.Fetch);
  pending_ = TPending();
  Fail(url, StatusTimeout);
}

void TWebView::WMCompleted(TMessage& m) {
  auto it = completions_.find(static_cast<uint64_t>(m.WParam));
  if (it == completions_.end()) return;
  std::u16string url = it->second;
  completions_.erase(it);
  Complete(url);
}

void TWebView::FetchDone(TFetchResult& result) {
  if (result.Kind == TFetchKind::Resource) {
    auto it = imageFetches_.find(result.Id);
    if (it == imageFetches_.end()) return;
    std::u16string url = it->second;
    imageFetches_.erase(it);
    if (result.Ok) container_->Images().Deliver(url, result.Bytes);
    else container_->Images().Fail(url);
    return;
  }
  if (result.Id != pending_.Fetch || pending_.Fetch == 0) return;
  TPending pending = pending_;
  pending_ = TPending();
  StopTimer();
  if (!result.Ok) {
    Fail(pending.Url, result.Status != 0 ? result.Status : StatusDownloadFailure);
    return;
  }
  ShowFetched(pending, result);
}

void TWebView::ShowFetched(const TPending& pending, TFetchResult& result) {
  TUrl parsed = ParseAddress(pending.Url);
  bool network = parsed.Kind == TUrlKind::Http || parsed.Kind == TUrlKind::Https || parsed.Kind == TUrlKind::Ftp;
  std::u16string base = network && !result.FinalUrl.empty() ? result.FinalUrl : pending.Url;
  std::string page;
  switch (ShapeOfContent(result.ContentType)) {
    case TContentShape::Html: page = DecodeDocument(result.Bytes, result.ContentType); break;
    case TContentShape::Image:
      container_->Images().Store(base, result.Bytes);
      page = ImagePage(base);
      break;
    case TContentShape::Unknown:
      if (HasNul(result.Bytes)) {
        Fail(pending.Url, StatusDownloadFailure);
        return;
      }
      [[fallthrough]];
    case TContentShape::Text: page = TextPage(DecodeDocument(result.Bytes, result.ContentType)); break;
  }
  std::map<std::u16string, std::string> sheets;
  for (auto& [address, bytes] : result.StyleSheets) sheets[address] = DecodeDocument(bytes);
  container_->SetStyleSheets(std::move(sheets));
  LoadDocument(page, base);
  container_->SetStyleSheets({});
  location_ = network ? base : pending.Url;
  Complete(location_);
}

void TWebView::Fail(const std::u16string& url, int32_t status) {
  bool cancel = false;
  auto life = LifeToken();
  if (OnNavigateError) OnNavigateError(this, this, url, u"", status, cancel);
  if (!life->Alive || cancel) return;
  container_->SetStyleSheets({});
  LoadDocument(ErrorPage(url, status), u"about:blank");
  location_ = url;
}

void TWebView::Complete(const std::u16string& url) {
  if (OnNavigateComplete2) OnNavigateComplete2(this, this, url);
}

// --- documents -------------------------------------------------------------------------

void TWebView::LoadDocument(const std::string& utf8, const std::u16string& baseUrl) {
  TDocHostUIInfo info;
  if (host_ != nullptr) host_->GetHostInfo(this, info);
  hostFlags_ = info.dwFlags;
  html_->Load(utf8, baseUrl, Utf16ToUtf8(info.pchHostCss));
  hasDocument_ = true;
  if (window_ != nullptr) window_->DocumentChanged(false);
}

void TWebView::LoadFromString(const std::u16string& html, const std::u16string& baseUrl) {
  Stop();
  container_->SetStyleSheets({});
  LoadDocument(Utf16ToUtf8(html), baseUrl);
  location_ = baseUrl.empty() ? u"about:blank" : baseUrl;
}

void TWebView::LoadFromStream(TStream& stream, const std::u16string& baseUrl) {
  std::vector<uint8_t> bytes = stream.ReadRest();
  Stop();
  container_->SetStyleSheets({});
  LoadDocument(DecodeDocument(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())), baseUrl);
  location_ = baseUrl.empty() ? u"about:blank" : baseUrl;
}

std::u16string TWebView::LocationName() const {
  std::u16string title = html_->Title();
  return title.empty() ? location_ : title;
}

bool TWebView::Busy() const { return pending_.Fetch != 0 || !imageFetches_.empty(); }

bool TWebView::FetchImage(const std::u16string& url) {
  if (!HandleAllocated()) return false;
  imageFetches_[fetcher_.Start(url, TFetchKind::Resource, timeoutMs_)] = url;
  return true;
}

void TWebView::ImageArrived() {
  // Several pictures of one page arrive together: one layout for all of them.
  if (relayoutPosted_ || !HandleAllocated()) return;
  relayoutPosted_ = PostMessageW(Handle(), WM_VIEW_RELAYOUT, 0, 0) != FALSE;
}

void TWebView::WMRelayout(TMessage&) {
  relayoutPosted_ = false;
  html_->Relayout();
  if (window_ != nullptr) window_->DocumentChanged(true);
}

void TWebView::PaintPage(HDC dc, const TRect& area, int scrollX, int scrollY) {
  TDrawTarget target;
  target.DC = dc;
  html_->Draw(target, scrollX, scrollY, area);
}

void TWebView::LayoutPage(int width, int height) { html_->Layout(width, height); }

// --- reading -------------------------------------------------------------------------------

void TWebView::SelectAll() {
  if ((hostFlags_ & HostFlagNoTextSelect) != 0) return;
  html_->SelectAll();
  if (window_ != nullptr) window_->Invalidate();
}

std::u16string TWebView::SelectedText() { return html_->SelectedText(); }

bool TWebView::CopySelection() {
  std::u16string text = html_->SelectedText();
  if (text.empty()) return false;
  HWND owner = window_ != nullptr && window_->HandleAllocated() ? window_->Handle() : nullptr;
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool done = false;
  if (memory != nullptr) {
    if (void* p = GlobalLock(memory)) {
      std::memcpy(p, text.c_str(), bytes);
      GlobalUnlock(memory);
      done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!done) GlobalFree(memory);
  }
  CloseClipboard();
  return done;
}

TPoint TWebView::ScrollPosition() const { return window_ != nullptr ? window_->ScrollPosition() : TPoint(); }

void TWebView::ScrollTo(int x, int y) {
  if (window_ != nullptr) window_->ScrollTo(x, y);
}

// --- links and windows ---------------------------------------------------------------------

void TWebView::AnchorClicked(const std::u16string& href, const std::u16string& target) {
  // The engine is inside its own mouse handling: the page must not change under it.
  if (!HandleAllocated()) return;
  uint64_t id = nextLink_++;
  links_[id] = TLink{href, target};
  PostMessageW(Handle(), WM_VIEW_LINK, static_cast<WPARAM>(id), 0);
}

void TWebView::WMLink(TMessage& m) {
  auto it = links_.find(static_cast<uint64_t>(m.WParam));
  if (it == links_.end()) return;
  TLink link = it->second;
  links_.erase(it);
  FollowLink(link);
}

void TWebView::FollowLink(const TLink& link) {
  std::u16string href = Trim(link.Url);
  auto scrollToFragment = [this](const std::u16string& name) {
    int y = html_->AnchorTop(PercentDecode(name));
    if (y >= 0) ScrollTo(0, y);
  };
  if (!href.empty() && href[0] == u'#') {
    scrollToFragment(href.substr(1));
    return;
  }
  std::u16string url = ResolveUrl(href, container_->BaseUrl());
  if (url.empty()) url = href;
  size_t hash = url.find(u'#');
  std::u16string target = LowerAscii(Trim(link.Target));
  bool newWindow = (hostFlags_ & HostFlagOpenNewWindow) != 0 ||
                   (!target.empty() && target != u"_self" && target != u"_top" && target != u"_parent");
  if (newWindow) {
    RequestNewWindow(url, NewWindowUserInited | NewWindowFirst);
    return;
  }
  if (hash != std::u16string::npos && WithoutFragment(url) == WithoutFragment(location_)) {
    scrollToFragment(url.substr(hash + 1));
    return;
  }
  try {
    Navigate(url);
  } catch (const EWebViewError&) {
    // mailto:, javascript: and the like: nothing this view can show.
  }
}

void TWebView::RequestNewWindow(const std::u16string& url, uint32_t flags) {
  TObject* where = nullptr;
  bool cancel = false;
  auto life = LifeToken();
  if (OnNewWindow3) OnNewWindow3(this, where, cancel, flags, location_, url);
  if (!life->Alive || cancel) return;
  if (auto* other = As<TWebView>(where)) {
    try {
      other->Navigate(url);
    } catch (const EWebViewError&) {
    }
    return;
  }
  TBrowserWindow::Open(url);
}

bool TWebView::AskHostAccelerator(const MSG& message) {
  return host_ != nullptr && host_->TranslateAccelerator(this, message);
}

bool TWebView::AskHostContextMenu(TContextMenuKind kind, TPoint screen) {
  return host_ != nullptr && host_->ShowContextMenu(this, kind, screen);
}
