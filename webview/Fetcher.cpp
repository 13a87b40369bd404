#include "webview/Fetcher.h"

#include <wininet.h>

#include <atomic>
#include <cctype>
#include <vector>

#include "framework/core/Unicode.h"
#include "webview/LocalPages.h"
#include "webview/Url.h"

namespace {

// Pages and pictures of a dictionary are small; a stream without end must not eat the memory.
constexpr size_t kMaxBytes = 32u * 1024 * 1024;
constexpr int kMaxStyleSheets = 8;

int32_t StatusOfInternetError(DWORD error) {
  switch (error) {
    case ERROR_INTERNET_CANNOT_CONNECT:
    case ERROR_INTERNET_CONNECTION_ABORTED:
    case ERROR_INTERNET_CONNECTION_RESET: return StatusCannotConnect;
    case ERROR_INTERNET_NAME_NOT_RESOLVED: return StatusNotFound;
    case ERROR_INTERNET_TIMEOUT: return StatusTimeout;
    case ERROR_INTERNET_INVALID_URL: return StatusInvalidUrl;
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME: return StatusUnknownProtocol;
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_CERT_NO_REV:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
    case ERROR_INTERNET_SEC_INVALID_CERT:
    case ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED: return StatusSecurityProblem;
    default: return StatusDownloadFailure;
  }
}

LPCWSTR W(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

class TInternetHandle {
 public:
  explicit TInternetHandle(HINTERNET h = nullptr) : h_(h) {}
  ~TInternetHandle() {
    if (h_ != nullptr) InternetCloseHandle(h_);
  }
  TInternetHandle(const TInternetHandle&) = delete;
  TInternetHandle& operator=(const TInternetHandle&) = delete;
  HINTERNET Get() const { return h_; }

 private:
  HINTERNET h_;
};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (auto& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The value of attribute name inside one tag's text, or "".
std::string AttributeValue(const std::string& tag, const std::string& lowerTag, const char* name) {
  size_t at = 0;
  std::string key = name;
  while ((at = lowerTag.find(key, at)) != std::string::npos) {
    bool wordStart = at > 0 && (std::isspace(static_cast<unsigned char>(lowerTag[at - 1])) || lowerTag[at - 1] == '"' ||
                                lowerTag[at - 1] == '\'');
    size_t i = at + key.size();
    at = i;
    if (!wordStart) continue;
    while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i]))) ++i;
    if (i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i]))) ++i;
    if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
      char quote = tag[i++];
      size_t end = tag.find(quote, i);
      return tag.substr(i, end == std::string::npos ? std::string::npos : end - i);
    }
    size_t end = i;
    while (end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[end])) && tag[end] != '>') ++end;
    return tag.substr(i, end - i);
  }
  return {};
}

// href of each <link rel=stylesheet> in the page.
std::vector<std::string> StyleSheetLinks(std::string_view html) {
  std::vector<std::string> links;
  std::string lower = Lower(html);
  size_t at = 0;
  while ((at = lower.find("<link", at)) != std::string::npos && static_cast<int>(links.size()) < kMaxStyleSheets) {
    size_t end = lower.find('>', at);
    if (end == std::string::npos) break;
    std::string tag(html.substr(at, end - at));
    std::string lowerTag = lower.substr(at, end - at);
    at = end;
    if (Lower(AttributeValue(tag, lowerTag, "rel")).find("stylesheet") == std::string::npos) continue;
    std::string href = AttributeValue(tag, lowerTag, "href");
    if (!href.empty()) links.push_back(href);
  }
  return links;
}

bool ReadInternet(HINTERNET session, const std::u16string& url, const std::function<bool()>& cancelled,
                  TFetchResult& result) {
  TInternetHandle request(InternetOpenUrlW(session, W(url), u"Accept: */*\r\n", static_cast<DWORD>(-1),
                                           INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                                               INTERNET_FLAG_PRAGMA_NOCACHE,
                                           0));
  if (request.Get() == nullptr) {
    result.Status = StatusOfInternetError(GetLastError());
    return false;
  }
  DWORD code = 0, length = sizeof(code);
  if (HttpQueryInfoW(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &length, nullptr)) {
    result.Status = static_cast<int32_t>(code);
    if (code >= 400) return false;
  }
  WCHAR text[2048];
  length = sizeof(text);
  if (HttpQueryInfoW(request.Get(), HTTP_QUERY_CONTENT_TYPE, text, &length, nullptr))
    result.ContentType.assign(reinterpret_cast<const char16_t*>(text), length / sizeof(WCHAR));
  length = sizeof(text);
  if (InternetQueryOptionW(request.Get(), INTERNET_OPTION_URL, text, &length))
    result.FinalUrl = reinterpret_cast<const char16_t*>(text);
  char buffer[16384];
  for (;;) {
    if (cancelled()) {
      result.Status = StatusDownloadFailure;
      return false;
    }
    DWORD got = 0;
    if (!InternetReadFile(request.Get(), buffer, sizeof(buffer), &got)) {
      result.Status = StatusOfInternetError(GetLastError());
      return false;
    }
    if (got == 0) break;
    result.Bytes.append(buffer, got);
    if (result.Bytes.size() > kMaxBytes) break;
  }
  return true;
}

void FetchInternet(const std::u16string& url, TFetchKind kind, int timeoutMs, const std::function<bool()>& cancelled,
                   TFetchResult& result) {
  TInternetHandle session(InternetOpenW(u"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1) Qinghe",
                                        INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (session.Get() == nullptr) {
    result.Status = StatusDownloadFailure;
    return;
  }
  DWORD timeout = static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 20000);
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT})
    InternetSetOptionW(session.Get(), option, &timeout, sizeof(timeout));
  result.Ok = ReadInternet(session.Get(), url, cancelled, result);
  if (!result.Ok || kind != TFetchKind::Document) return;
  if (ShapeOfContent(result.ContentType) != TContentShape::Html) return;
  // Style sheets come along, so that the page never waits on the user-interface thread.
  for (const std::string& href : StyleSheetLinks(result.Bytes)) {
    if (cancelled()) return;
    std::u16string address = ResolveUrl(Utf8ToUtf16(href), result.FinalUrl);
    if (address.empty() || result.StyleSheets.count(address) != 0) continue;
    TFetchResult sheet;
    if (ReadInternet(session.Get(), address, cancelled, sheet)) result.StyleSheets[address] = std::move(sheet.Bytes);
  }
}

void FetchFile(const std::u16string& path, TFetchKind kind, TFetchResult& result) {
  DWORD attributes = GetFileAttributesW(W(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    result.Status = StatusNotFound;
    return;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    if (kind != TFetchKind::Document) {
      result.Status = StatusNotFound;
      return;
    }
    result.Bytes = FolderListingPage(path);
    result.ContentType = u"text/html; charset=utf-8";
    result.Ok = true;
    return;
  }
  HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    result.Status = StatusNotFound;
    return;
  }
  char buffer[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof(buffer), &got, nullptr) != FALSE) && got > 0) {
    result.Bytes.append(buffer, got);
    if (result.Bytes.size() > kMaxBytes) break;
  }
  CloseHandle(file);
  if (!ok) {
    result.Status = StatusDownloadFailure;
    return;
  }
  result.ContentType = ContentTypeOfFile(path);
  result.Ok = true;
}

}  // namespace

void RunFetch(const std::u16string& url, TFetchKind kind, int timeoutMs, const std::function<bool()>& cancelled,
              TFetchResult& result) {
  result.Url = url;
  result.FinalUrl = url;
  result.Kind = kind;
  TUrl parsed = ParseAddress(url);
  switch (parsed.Kind) {
    case TUrlKind::File: FetchFile(parsed.Path, kind, result); break;
    case TUrlKind::Http:
    case TUrlKind::Https:
    case TUrlKind::Ftp: FetchInternet(parsed.Text, kind, timeoutMs, cancelled, result); break;
    default: result.Status = StatusUnknownProtocol; break;
  }
}

struct TFetcher::TShared {
  std::mutex Lock;
  HWND Window = nullptr;
  std::map<uint64_t, std::shared_ptr<std::atomic<bool>>> Live;
};

namespace {

struct TJob {
  std::shared_ptr<TFetcher::TShared> Shared;
  uint64_t Id = 0;
  std::u16string Url;
  TFetchKind Kind = TFetchKind::Document;
  int Timeout = 0;
  std::shared_ptr<std::atomic<bool>> Cancelled;
};

void Post(TJob& job, std::unique_ptr<TFetchResult> result) {
  std::lock_guard<std::mutex> lock(job.Shared->Lock);
  if (job.Cancelled->load() || job.Shared->Window == nullptr) return;
  if (PostMessageW(job.Shared->Window, WM_FETCHDONE, 0, reinterpret_cast<LPARAM>(result.get()))) result.release();
}

DWORD WINAPI Worker(void* parameter) {
  std::unique_ptr<TJob> job(static_cast<TJob*>(parameter));
  auto result = std::make_unique<TFetchResult>();
  result->Id = job->Id;
  try {
    RunFetch(job->Url, job->Kind, job->Timeout, [&job] { return job->Cancelled->load(); }, *result);
  } catch (const std::exception&) {
    result->Ok = false;
    result->Status = StatusDownloadFailure;
  }
  Post(*job, std::move(result));
  return 0;
}

}  // namespace

TFetcher::TFetcher() : shared_(std::make_shared<TShared>()) {}

TFetcher::~TFetcher() {
  CancelAll();
  std::lock_guard<std::mutex> lock(shared_->Lock);
  shared_->Window = nullptr;
}

void TFetcher::SetWindow(HWND window) {
  std::lock_guard<std::mutex> lock(shared_->Lock);
  shared_->Window = window;
}

uint64_t TFetcher::Start(const std::u16string& url, TFetchKind kind, int timeoutMs) {
  auto job = std::make_unique<TJob>();
  job->Shared = shared_;
  job->Id = nextId_++;
  job->Url = url;
  job->Kind = kind;
  job->Timeout = timeoutMs;
  job->Cancelled = std::make_shared<std::atomic<bool>>(false);
  uint64_t id = job->Id;
  {
    std::lock_guard<std::mutex> lock(shared_->Lock);
    shared_->Live[id] = job->Cancelled;
  }
  // A Win32 thread: WinINet and PostMessage need the platform's own threads.
  HANDLE thread = CreateThread(nullptr, 1024 * 1024, Worker, job.get(), STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread != nullptr) {
    job.release();
    CloseHandle(thread);
  } else {
    auto result = std::make_unique<TFetchResult>();
    result->Id = id;
    result->Url = result->FinalUrl = url;
    result->Kind = kind;
    result->Status = StatusDownloadFailure;
    Post(*job, std::move(result));
  }
  return id;
}

void TFetcher::Cancel(uint64_t id) {
  std::lock_guard<std::mutex> lock(shared_->Lock);
  auto it = shared_->Live.find(id);
  if (it == shared_->Live.end()) return;
  it->second->store(true);
  shared_->Live.erase(it);
}

void TFetcher::CancelAll() {
  std::lock_guard<std::mutex> lock(shared_->Lock);
  for (auto& [id, flag] : shared_->Live) flag->store(true);
  shared_->Live.clear();
}

bool TFetcher::Pending(uint64_t id) const {
  std::lock_guard<std::mutex> lock(shared_->Lock);
  return shared_->Live.count(id) != 0;
}

int TFetcher::PendingCount() const {
  std::lock_guard<std::mutex> lock(shared_->Lock);
  return static_cast<int>(shared_->Live.size());
}

void TFetcher::Deliver(LPARAM lParam) {
  std::unique_ptr<TFetchResult> result(reinterpret_cast<TFetchResult*>(lParam));
  if (!result) return;
  {
    std::lock_guard<std::mutex> lock(shared_->Lock);
    auto it = shared_->Live.find(result->Id);
    if (it == shared_->Live.end()) return;
    shared_->Live.erase(it);
  }
  if (OnDone) OnDone(*result);
}

void TFetcher::Drain() {
  HWND window;
  {
    std::lock_guard<std::mutex> lock(shared_->Lock);
    window = shared_->Window;
  }
  if (window == nullptr) return;
  MSG msg;
  while (PeekMessageW(&msg, window, WM_FETCHDONE, WM_FETCHDONE, PM_REMOVE))
    delete reinterpret_cast<TFetchResult*>(msg.lParam);
}
