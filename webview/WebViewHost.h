#pragma once
// What the view asks of whoever hosts it before it acts, and the events it raises.  The
// parameter lists follow the old browser control's (DWebBrowserEvents2, IDocHostUIHandler)
// with its COM types turned into ours.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/core/Object.h"
#include "framework/core/Types.h"

class TWebView;

// The kinds of context menu, numbered as the old control numbered them.
enum class TContextMenuKind : uint32_t {
  Default = 0, Image = 1, Control = 2, Table = 3, TextSelect = 4, Anchor = 5, Unknown = 6,
};

// Host-information flags the view acts on (the old control's DOCHOSTUIFLAG values); the
// others are carried but change nothing here.
enum : uint32_t {
  HostFlagNoTextSelect = 0x1,     // DOCHOSTUIFLAG_DIALOG: no selection with the mouse or Ctrl+A
  HostFlagNoScrollBars = 0x8,     // DOCHOSTUIFLAG_SCROLL_NO
  HostFlagOpenNewWindow = 0x20,   // DOCHOSTUIFLAG_OPENNEWWIN: every link asks for a new window
};

// dwFlags of NewWindow3 (the platform's NWMF values).
enum : uint32_t {
  NewWindowUserInited = 0x2,  // NWMF_USERINITED: a click or a key
  NewWindowFirst = 0x4,       // NWMF_FIRST: the first window of that action
};

// The host information of a document (DOCHOSTUIINFO): cbSize is the old structure's 20.
struct TDocHostUIInfo {
  uint32_t cbSize = 20;
  uint32_t dwFlags = 0;
  uint32_t dwDoubleClick = 0;
  std::u16string pchHostCss;  // applied to every page after the view's own style sheet
  std::u16string pchHostNS;
};

class TWebViewHost {
 public:
  // A context menu of that kind at a screen point: true when the host dealt with it (the
  // view then shows nothing), false for the view's own menu.
  virtual bool ShowContextMenu(TWebView* view, TContextMenuKind kind, TPoint screen) { return false; }
  // A keyboard message before the view acts on it: true swallows it.
  virtual bool TranslateAccelerator(TWebView* view, const MSG& message) { return false; }
  // Asked for each new page.
  virtual void GetHostInfo(TWebView* view, TDocHostUIInfo& info) {}

 protected:
  ~TWebViewHost() = default;
};

// pDisp is the view that navigated (frames are not supported: always the view itself).
using TNavigateComplete2Event = std::function<void(TObject* sender, TObject* pDisp, const std::u16string& URL)>;
// StatusCode: the HTTP status, or a Status* code of NavigationStatus.h.  Cancel = true keeps
// the view's error page away (the view keeps what it showed).
using TNavigateErrorEvent =
    std::function<void(TObject* sender, TObject* pDisp, const std::u16string& URL, const std::u16string& Frame,
                       int32_t StatusCode, bool& Cancel)>;
// Cancel stands for the old control's 16-bit VARIANT_BOOL: true stops the view from opening a
// window of its own.  Setting ppDisp to another view opens the page there instead.
using TNewWindow3Event =
    std::function<void(TObject* sender, TObject*& ppDisp, bool& Cancel, uint32_t dwFlags,
                       const std::u16string& bstrUrlContext, const std::u16string& bstrUrl)>;
