#pragma once
// Downloads off the user-interface thread: one small worker thread per request, WinINet in
// blocking mode inside it, the result posted to a window.  The window hands the message
// back to Deliver, so everything the view does with a result happens on its own thread.
// A request that is cancelled (or outlived by its window) is dropped when it ends; the
// worker itself stops at its own timeouts.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "webview/NavigationStatus.h"

// Posted to the window; lParam carries the result, which only Deliver may take.
constexpr UINT WM_FETCHDONE = WM_APP + 0x2F0;

enum class TFetchKind {
  Document,    // a page: a file, a folder (as a listing page) or a network address; style sheets come along
  Resource,    // an image or a style sheet: bytes only
};

struct TFetchResult {
  uint64_t Id = 0;
  TFetchKind Kind = TFetchKind::Document;
  std::u16string Url;       // as requested
  std::u16string FinalUrl;  // after redirections
  bool Ok = false;
  int32_t Status = 0;       // HTTP status when there was one, else 0 or a Status* code
  std::string Bytes;
  std::u16string ContentType;  // "text/html; charset=…", "image/png" …
  // Style sheets named by <link rel=stylesheet> of a network page (absolute address -> bytes).
  std::map<std::u16string, std::string> StyleSheets;
};

class TFetcher {
 public:
  TFetcher();
  ~TFetcher();
  TFetcher(const TFetcher&) = delete;
  TFetcher& operator=(const TFetcher&) = delete;

  // Where results go; a window re-created under a new handle is set again.
  void SetWindow(HWND window);
  // Starts a request for an absolute address (file:, http:, https:, ftp:).
  uint64_t Start(const std::u16string& url, TFetchKind kind, int timeoutMs);
  void Cancel(uint64_t id);
  void CancelAll();
  bool Pending(uint64_t id) const;
  int PendingCount() const;
  // For the window's WM_FETCHDONE: calls OnDone with the result of a request still wanted.
  void Deliver(LPARAM lParam);
  // Frees results still queued for the window (before the window goes).
  void Drain();

  std::function<void(TFetchResult& result)> OnDone;

  // What the workers share with the fetcher: the window and the requests still wanted.
  struct TShared;

 private:
  std::shared_ptr<TShared> shared_;
  uint64_t nextId_ = 1;
};

// The work of one request, on whatever thread calls it (the workers do; tests may too).
void RunFetch(const std::u16string& url, TFetchKind kind, int timeoutMs, const std::function<bool()>& cancelled,
              TFetchResult& result);
